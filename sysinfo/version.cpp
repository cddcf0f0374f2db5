#include "version.h"

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

namespace {

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

std::int32_t ReadVersionNumber(const std::u16string& piece) {
  std::size_t i = 0;
  const std::size_t n = piece.size();
  while (i < n && piece[i] == u' ') ++i;
  bool negative = false;
  if (i < n && (piece[i] == u'+' || piece[i] == u'-')) negative = piece[i++] == u'-';

  std::size_t digits = i;
  bool hex = false;
  if (i < n && (piece[i] == u'$' || piece[i] == u'x' || piece[i] == u'X')) {
    hex = true;
    digits = i + 1;
  } else if (i + 1 < n && piece[i] == u'0' && (piece[i + 1] == u'x' || piece[i + 1] == u'X')) {
    hex = true;
    digits = i + 2;
  }
  if (digits >= n) return 0;

  std::uint32_t magnitude = 0;
  if (hex) {
    if (n - digits > 8) return 0;
    for (std::size_t k = digits; k < n; ++k) {
      const int d = HexDigit(piece[k]);
      if (d < 0) return 0;
      magnitude = (magnitude << 4) | static_cast<std::uint32_t>(d);
    }
  } else {
    const std::uint64_t limit = negative ? 2147483648ULL : 2147483647ULL;
    std::uint64_t value = 0;
    for (std::size_t k = digits; k < n; ++k) {
      if (piece[k] < u'0' || piece[k] > u'9') return 0;
      value = value * 10 + static_cast<std::uint64_t>(piece[k] - u'0');
      if (value > limit) return 0;
    }
    magnitude = static_cast<std::uint32_t>(value);
  }
  if (negative) magnitude = 0u - magnitude;
  return static_cast<std::int32_t>(magnitude);
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
