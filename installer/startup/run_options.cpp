#include "run_options.h"

TRunOptions RunOptions;

namespace {

std::u16string Trimmed(const std::u16string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] <= u' ') ++begin;
  while (end > begin && text[end - 1] <= u' ') --end;
  return text.substr(begin, end - begin);
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

void ReadSwitches(const std::vector<std::u16string>& arguments, TRunOptions& options) {
  for (const std::u16string& argument : arguments) {
    std::u16string lowered = argument;
    for (char16_t& c : lowered)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    lowered = Trimmed(lowered);
    if (lowered == u"/debug") options.DebugMode = true;
    if (lowered == u"/silent") options.SilentMode = true;
  }
}

std::optional<std::int32_t> ParseInteger(const std::u16string& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = HexDigit(text[i]);
    if (digit < 0 || digit >= base) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > 2147483648LL) return std::nullopt;  // stops growing long before overflow
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int16_t CountdownFromText(const std::u16string& text, std::int16_t previous) {
  const std::optional<std::int32_t> value = ParseInteger(text);
  if (!value) return previous;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(*value) & 0xFFFFu));
}

std::u16string DecimalText(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}
