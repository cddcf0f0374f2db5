#include "case_folding.h"

#include "platform.h"

namespace xmllite {

bool CaseFolder::IsAscii(std::u16string_view text) {
  for (char16_t c : text) {
    if (c >= 128) return false;
  }
  return true;
}

void CaseFolder::LoadTable() {
  std::u16string ascii(128, u'\0');
  for (int i = 0; i < 128; ++i) ascii[i] = static_cast<char16_t>(i);
  const std::u16string lower = Platform::Current().LowerCase(ascii);
  for (int i = 0; i < 128; ++i) table_[i] = i < static_cast<int>(lower.size()) ? lower[i] : static_cast<char16_t>(i);
  tableLoaded_ = true;
}

std::u16string CaseFolder::Lower(std::u16string_view text) {
  if (!IsAscii(text)) return Platform::Current().LowerCase(std::u16string(text));
  if (!tableLoaded_) LoadTable();
  std::u16string out(text);
  for (char16_t& c : out) c = table_[c];
  return out;
}

bool CaseFolder::Equal(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  // Two different ASCII code units that are not the capital and small form of one letter have
  // different lower cases in every locale: such a pair settles the question without asking the
  // system (which would cost a call and the table for each document read).
  bool same = true;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char16_t x = a[i], y = b[i];
    if (x == y) continue;
    same = false;
    if (x < 128 && y < 128 && !(IsAsciiLetter(x) && (x | 0x20) == (y | 0x20))) return false;
  }
  if (same) return true;
  if (IsAscii(a) && IsAscii(b)) {
    if (!tableLoaded_) LoadTable();
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (table_[a[i]] != table_[b[i]]) return false;
    }
    return true;
  }
  return Lower(a) == Lower(b);
}

}  // namespace xmllite
