#include "integer_text.h"

namespace {

int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return 99;
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::u16string_view text, HexNumbers hex) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  int base = 10;
  if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    base = 16;
    i += 1;
  } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  const std::u16string_view digits = text.substr(i);
  if (digits.empty()) return std::nullopt;

  if (base == 16 && hex == HexNumbers::Pattern32) {
    if (digits.size() > 8) return std::nullopt;
    std::uint32_t pattern = 0;
    for (char16_t c : digits) {
      if (DigitValue(c) >= 16) return std::nullopt;
      pattern = (pattern << 4) | static_cast<std::uint32_t>(DigitValue(c));
    }
    return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
  }

  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t magnitude = 0;
  for (char16_t c : digits) {
    if (DigitValue(c) >= base) return std::nullopt;
    magnitude = magnitude * base + DigitValue(c);
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}
