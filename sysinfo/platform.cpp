#include "platform.h"

#include <stdexcept>

namespace {
Platform* installed = nullptr;
}

Platform& Platform::Current() {
  if (installed) return *installed;
  if (Platform* own = DefaultPlatform()) return *own;
  throw std::logic_error("no platform installed");
}

void Platform::Install(Platform* platform) { installed = platform; }

ScopedPlatform::ScopedPlatform(Platform& platform) : previous_(installed) { installed = &platform; }

ScopedPlatform::~ScopedPlatform() { installed = previous_; }

#ifndef _WIN32
// The native build has no program platform: Current() raises until a test installs one.
Platform* DefaultPlatform() { return nullptr; }
#endif
