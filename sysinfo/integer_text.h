// Integers written as text, in the one syntax that version texts, locale codes and the settings
// file share: optional leading blanks (U+0020 only), an optional "+" or "-", then decimal
// digits, or hexadecimal digits in either case after "$", "x", "X", "0x" or "0X". Nothing may
// follow, and the empty text is not a number.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

enum class HexNumbers {
  // Like a decimal number: its value must lie in the signed 32-bit range ($80000000 is none).
  SignedValue,
  // One to eight digits taken as a 32-bit pattern ($FFFFFFFF is -1).
  Pattern32,
};

// The number, or nothing. Decimal numbers must lie in the signed 32-bit range.
std::optional<std::int32_t> ParseInteger(std::u16string_view text, HexNumbers hex);
