// A small program to sign: the tests only need some PE image.
int wmain() { return 0; }
