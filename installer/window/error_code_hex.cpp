#include "error_code_hex.h"

std::uint32_t ResultFromSystemError(std::uint32_t error) {
  if (error == 0) return 0;
  return 0x80070000u | (error & 0xFFFFu);
}

std::u16string FormatErrorCodeHex(std::uint32_t code, std::uint32_t lastError) {
  const std::uint32_t value = code != 0 ? code : ResultFromSystemError(lastError);
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text(8, u'0');
  for (int i = 7, shift = 0; i >= 0; --i, shift += 4) text[static_cast<std::size_t>(i)] = kDigits[(value >> shift) & 0xF];
  return text;
}
