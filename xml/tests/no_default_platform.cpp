// The native build has no platform of its own: tests, the fuzzer and the benchmark install a
// FakePlatform. Weak, so a real definition elsewhere wins.
#include "platform.h"

__attribute__((weak)) Platform* DefaultPlatform() { return nullptr; }
