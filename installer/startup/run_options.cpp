#include "run_options.h"

#include "integer_text.h"
#include "paths.h"

TRunOptions RunOptions;

void ReadSwitches(const std::vector<std::u16string>& arguments, TRunOptions& options) {
  for (const std::u16string& argument : arguments) {
    std::u16string lowered = argument;
    for (char16_t& c : lowered)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    lowered = TrimText(lowered);
    if (lowered == u"/debug") options.DebugMode = true;
    if (lowered == u"/silent") options.SilentMode = true;
  }
}

std::int16_t CountdownFromText(const std::u16string& text, std::int16_t previous) {
  const std::optional<std::int32_t> value = ParseInteger(text, HexNumbers::SignedValue);
  if (!value) return previous;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(*value) & 0xFFFFu));
}

std::u16string DecimalText(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}
