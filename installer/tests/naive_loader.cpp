// Loads "version.dll" by name with the ordinary search order, program folder first: the control
// case that shows a planted DLL would be found by a program that does not guard against it.
#include <windows.h>

int wmain() { return LoadLibraryW(L"version.dll") ? 0 : 1; }
