#include "translations.h"

#include <unordered_map>
#include <vector>

#include "XMLLibLite.h"
#include "errors.h"
#include "message_table.h"
#include "platform.h"
#include "run_options.h"
#include "selection_rules.h"
#include "settings.h"
#include "system_facts.h"

namespace {

// Rows of a view by lowered id, in index order.
std::unordered_map<std::u16string, std::vector<int>> RowsByLoweredId(const ListView& view) {
  Platform& platform = Platform::Current();
  std::unordered_map<std::u16string, std::vector<int>> rows;
  for (int i = 0; i < view.Count(); ++i) rows[platform.LowerCase(view.Row(i).Id())].push_back(i);
  return rows;
}

bool IsItem(TXMLNode* node) { return Platform::Current().LowerCase(node->Name) == u"item"; }

void ApplyMessages(TXMLNode* messages) {
  Platform& platform = Platform::Current();
  for (int i = 0; i < messages->ChildCount(); ++i) {
    TXMLNode* item = messages->Children.Get(i);
    if (!IsItem(item)) continue;
    const std::u16string id = platform.LowerCase(item->Attributes.ValueOf(u"id", u""));
    if (id.empty()) continue;
    const std::u16string value = item->Attributes.ValueOf(u"value", u"");
    if (value.empty()) continue;
    MessageTable().Replace(id, value);
  }
}

void ApplyComponents(TXMLNode* components, SelectionLists& lists) {
  Platform& platform = Platform::Current();
  const auto mainRows = RowsByLoweredId(lists.InstallList);
  const auto detailRows = RowsByLoweredId(lists.InstallListDetail);
  for (int i = 0; i < components->ChildCount(); ++i) {
    TXMLNode* item = components->Children.Get(i);
    if (!IsItem(item)) continue;
    const std::u16string id = platform.LowerCase(item->Attributes.ValueOf(u"id", u""));
    if (id.empty()) continue;
    const std::u16string desc = item->Value.GetText();
    const std::u16string group = item->Attributes.ValueOf(u"group", u"");
    if (const auto found = mainRows.find(id); found != mainRows.end()) {
      for (int row : found->second) {
        const int number = lists.InstallList.Row(row).Group;
        // A row without a group keeps having none; the group numbers agree in both views.
        if (!group.empty() && number >= 0) {
          if (number < lists.InstallList.GroupCount()) lists.InstallList.SetGroupHeader(number, group);
          if (number < lists.InstallListDetail.GroupCount()) lists.InstallListDetail.SetGroupHeader(number, group);
        }
        if (!desc.empty()) lists.InstallList.SetSubItem(row, SubItem::Desc, desc);
      }
    }
    if (desc.empty()) continue;
    if (const auto found = detailRows.find(id); found != detailRows.end())
      for (int row : found->second) lists.InstallListDetail.SetSubItem(row, SubItem::Desc, desc);
  }
}

}  // namespace

void LoadTranslations(SelectionLists& lists) {
  const std::u16string language = DecimalText(UserLanguageID());
  TXMLFile& document = TranslationDocument();
  for (const std::u16string& file : FilesBelow(ApplicationPath() + u"translation", false, u"*.xml")) {
    try {
      if (!document.LoadFromFile(file)) continue;
    } catch (const KorvelError&) {
      continue;  // unreadable: not a translation
    }
    TXMLNode* root = document.Document.Children.Get(0);
    if (root == nullptr) continue;
    if (root->Attributes.ValueOf(u"type", u"") != u"translation") continue;
    if (root->Attributes.ValueOf(u"lcid", u"") != language) continue;
    if (TXMLNode* messages = root->Children.Find(u"messages")) ApplyMessages(messages);
    if (TXMLNode* components = root->Children.Find(u"components")) ApplyComponents(components, lists);
  }
  const TMessageTable& texts = MessageTable();
  lists.SetCaptions(texts.Text(MessageKey::All), texts.Text(MessageKey::Inst), texts.Text(MessageKey::Pause));
}
