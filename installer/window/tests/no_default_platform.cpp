// The native build has no program platform of its own: Platform::Current() raises until a test
// installs its FakePlatform. Weak, so that a definition in the platform library wins.
#include "platform.h"

#ifndef _WIN32
__attribute__((weak)) Platform* DefaultPlatform() { return nullptr; }
#endif
