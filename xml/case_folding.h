// Comparison of names without regard to case, as the system's locale maps letters.
#pragma once

#include <string>
#include <string_view>

namespace xmllite {

// Lower-cases through Platform::Current().LowerCase. That mapping (CharLowerBuffW) works code
// unit by code unit and keeps the length, so the folder asks the system once for the ASCII range
// and maps pure-ASCII names from that table; other names still go to the system each time.
class CaseFolder {
public:
  std::u16string Lower(std::u16string_view text);
  // True when both texts are equal once lower-cased.
  bool Equal(std::u16string_view a, std::u16string_view b);

private:
  static bool IsAscii(std::u16string_view text);
  static bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
  void LoadTable();

  bool tableLoaded_ = false;
  char16_t table_[128] = {};
};

}  // namespace xmllite
