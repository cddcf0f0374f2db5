// Four-part version numbers, as package descriptions write them and as Korvel compares them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TVersion {
public:
  std::uint16_t Major = 0;
  std::uint16_t Minor = 0;
  std::uint16_t Release = 0;
  std::uint16_t Build = 0;

  // Sets all four parts from a version text such as "6.1.7601.17514". Only the text before the
  // first blank counts; the parts are separated by full stops, missing parts and parts beyond
  // the fourth are ignored, and a part that is not a number (ReadVersionNumber) is 0. Never fails.
  void Parse(const std::u16string& text);
  // The four parts in decimal joined by "." ("1.2.0.0").
  std::u16string ToString() const;
  // Sixteen upper-case hexadecimal digits, four per part ("000600011DB1446A"); the empty text
  // for 0.0.0.0. Versions are ordered by the ordinal order of these texts.
  std::u16string ToHex() const;
};

// Ordinal comparison of the ToHex texts: negative, 0 or positive. 0.0.0.0 is below every other
// version; 1.2 and 1.2.0.0 are equal.
int CompareVersions(const TVersion& a, const TVersion& b);
inline bool operator==(const TVersion& a, const TVersion& b) { return CompareVersions(a, b) == 0; }
inline bool operator<(const TVersion& a, const TVersion& b) { return CompareVersions(a, b) < 0; }

// A number as version texts and locale codes write it: optional leading blanks, an optional
// "+" or "-", then decimal digits within the 32-bit signed range, or one to eight hexadecimal
// digits after "$", "x", "X", "0x" or "0X" taken as a 32-bit pattern. Anything else, trailing
// blanks included, is not a number and yields 0.
std::int32_t ReadVersionNumber(const std::u16string& piece);

// Splits text at separator, except inside double quotes (which stay in the piece). Every piece
// is kept, empty ones too; an empty text gives no pieces.
std::vector<std::u16string> SplitQuoted(const std::u16string& text, char16_t separator);
