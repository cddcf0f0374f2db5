#include "command_line.h"

namespace {

bool IsBlank(wchar_t c) { return c <= L' '; }

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine) {
  std::vector<std::wstring> arguments;
  size_t i = 0;
  const size_t n = commandLine.size();
  for (;;) {
    // White space and empty quote pairs in front of an argument count for nothing.
    for (;;) {
      while (i < n && IsBlank(commandLine[i])) ++i;
      if (i + 1 < n && commandLine[i] == L'"' && commandLine[i + 1] == L'"') {
        i += 2;
      } else {
        break;
      }
    }
    if (i >= n) break;

    std::wstring argument;
    while (i < n && !IsBlank(commandLine[i])) {
      if (commandLine[i] == L'"') {
        ++i;
        while (i < n && commandLine[i] != L'"') argument += commandLine[i++];
        if (i < n) ++i;  // the closing quote
      } else {
        argument += commandLine[i++];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}
