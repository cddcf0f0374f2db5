#include "version.h"

#include "integer_text.h"

#include <array>

std::vector<std::u16string> SplitQuoted(const std::u16string& text, char16_t separator) {
  std::vector<std::u16string> pieces;
  if (text.empty()) return pieces;
  std::u16string current;
  bool quoted = false;
  for (char16_t c : text) {
    if (c == u'"') quoted = !quoted;
    if (c == separator && !quoted) {
      pieces.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  pieces.push_back(std::move(current));
  return pieces;
}

std::int32_t ReadVersionNumber(const std::u16string& piece) {
  return ParseInteger(piece, HexNumbers::Pattern32).value_or(0);
}

void TVersion::Parse(const std::u16string& text) {
  const std::vector<std::u16string> words = SplitQuoted(text, u' ');
  const std::vector<std::u16string> parts = SplitQuoted(words.size() >= 2 ? words[0] : text, u'.');
  std::array<std::uint16_t, 4> fields{};
  for (std::size_t i = 0; i < fields.size() && i < parts.size(); ++i) {
    fields[i] = static_cast<std::uint16_t>(static_cast<std::uint32_t>(ReadVersionNumber(parts[i])) & 0xFFFF);
  }
  Major = fields[0];
  Minor = fields[1];
  Release = fields[2];
  Build = fields[3];
}

std::u16string TVersion::ToString() const {
  std::u16string out;
  for (std::uint16_t field : {Major, Minor, Release, Build}) {
    if (!out.empty()) out += u'.';
    std::u16string digits;
    std::uint32_t v = field;
    do {
      digits.insert(digits.begin(), static_cast<char16_t>(u'0' + v % 10));
      v /= 10;
    } while (v);
    out += digits;
  }
  return out;
}

std::u16string TVersion::ToHex() const {
  if (Major == 0 && Minor == 0 && Release == 0 && Build == 0) return {};
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string out;
  for (std::uint16_t field : {Major, Minor, Release, Build}) {
    for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(field >> shift) & 0xF];
  }
  return out;
}

int CompareVersions(const TVersion& a, const TVersion& b) { return a.ToHex().compare(b.ToHex()); }
