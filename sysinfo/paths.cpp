#include "paths.h"

#include "platform.h"

namespace {
std::u16string appStartPath;
}

const std::u16string& AppStartPath() { return appStartPath; }

void InitAppStartPath() {
  const std::u16string program = Platform::Current().ModuleFileName();
  const std::size_t cut = program.find_last_of(u"\\:");
  // A program file the system cannot name, or names without a directory, leaves the path empty
  // rather than "\", which would make the package search walk the root of the current drive.
  std::u16string directory = cut == std::u16string::npos ? std::u16string() : program.substr(0, cut + 1);
  if (!directory.empty() && directory.back() != u'\\') directory += u'\\';
  appStartPath = std::move(directory);
}

std::u16string TrimText(const std::u16string& text) {
  std::size_t first = 0, last = text.size();
  while (first < last && text[first] <= u' ') ++first;
  while (last > first && text[last - 1] <= u' ') --last;
  return text.substr(first, last - first);
}

std::u16string ExpandEnvironment(const std::u16string& source) {
  return TrimText(Platform::Current().ExpandVariables(source));
}

bool IsWow64() { return Platform::Current().IsWow64(); }
