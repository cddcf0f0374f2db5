// Small text helpers shared by the reader and the writer.
#pragma once

#include <string_view>

namespace xmllite {

// Everything up to and including U+0020 counts as white space when trimming: the space, TAB,
// CR, LF and every other control character.
constexpr bool IsTrimmed(char16_t c) { return c <= u' '; }

constexpr std::u16string_view TrimLeft(std::u16string_view s) {
  std::size_t b = 0;
  while (b < s.size() && IsTrimmed(s[b])) ++b;
  return s.substr(b);
}

constexpr std::u16string_view TrimRight(std::u16string_view s) {
  std::size_t e = s.size();
  while (e > 0 && IsTrimmed(s[e - 1])) --e;
  return s.substr(0, e);
}

constexpr std::u16string_view Trim(std::u16string_view s) { return TrimRight(TrimLeft(s)); }

}  // namespace xmllite
