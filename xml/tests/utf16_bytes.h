// The bytes of a text written as UTF-16, for building text files in tests.
#pragma once

#include <string>

namespace xmltest {

// Two bytes per code unit, little-endian or big-endian; no byte-order mark.
inline std::string Utf16Bytes(const std::u16string& text, bool bigEndian) {
  std::string out;
  for (char16_t c : text) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  }
  return out;
}

}  // namespace xmltest
