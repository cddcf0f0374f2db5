#include "message_table.h"

namespace {

struct Entry {
  const char16_t* Key;
  const char16_t* Default;
};

constexpr Entry kEntries[kMessageCount] = {
    {u"msg_all", u"Alle"},
    {u"msg_pause", u"Pause"},
    {u"msg_inst", u"Installieren"},
    {u"msg_fin", u"Fertig"},
    {u"msg_err", u"Fehler"},
    {u"msg_err_failed", u"Fehlgeschlagen. Fehlercode:"},
    {u"msg_err_noelements", u"Alle Elemente sind schon aktuell!"},
};

}  // namespace

void TMessageTable::SetDefaults() {
  for (int i = 0; i < kMessageCount; ++i) texts_[static_cast<std::size_t>(i)] = kEntries[i].Default;
}

void TMessageTable::Clear() {
  for (auto& text : texts_) text.clear();
}

bool TMessageTable::Replace(const std::u16string& key, const std::u16string& text) {
  for (int i = 0; i < kMessageCount; ++i) {
    if (key == kEntries[i].Key) {
      texts_[static_cast<std::size_t>(i)] = text;
      return true;
    }
  }
  return false;
}

const char16_t* TMessageTable::KeyName(MessageKey key) {
  const int i = static_cast<int>(key);
  return i >= 0 && i < kMessageCount ? kEntries[i].Key : u"";
}

const char16_t* TMessageTable::DefaultText(MessageKey key) {
  const int i = static_cast<int>(key);
  return i >= 0 && i < kMessageCount ? kEntries[i].Default : u"";
}

TMessageTable& MessageTable() {
  static TMessageTable table;
  return table;
}

void InitMessageTable() { MessageTable().SetDefaults(); }

void FinalizeMessageTable() { MessageTable().Clear(); }
