#include "package_loader.h"

#include <utility>
#include <vector>

#include "XMLLibLite.h"
#include "condition_check.h"
#include "errors.h"
#include "platform.h"
#include "selection_rules.h"
#include "system_facts.h"

std::u16string ReplaceIgnoringCase(const std::u16string& text, const std::u16string& pattern,
                                   const std::u16string& replacement) {
  if (pattern.empty() || text.size() < pattern.size()) return text;
  Platform& platform = Platform::Current();
  // The system's mapping keeps the length, so positions in the lowered text are positions in text.
  std::u16string lowered = platform.LowerCase(text);
  std::u16string needle = platform.LowerCase(pattern);
  if (lowered.size() != text.size() || needle.size() != pattern.size()) {
    // A mapping that changed lengths would misplace every position: fall back to ASCII letters.
    auto ascii = [](std::u16string s) {
      for (char16_t& c : s)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
      return s;
    };
    lowered = ascii(text);
    needle = ascii(pattern);
  }
  std::size_t at = lowered.find(needle);
  if (at == std::u16string::npos) return text;
  std::u16string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (; at != std::u16string::npos; at = lowered.find(needle, from)) {
    out.append(text, from, at - from);
    out += replacement;
    from = at + needle.size();
  }
  out.append(text, from, std::u16string::npos);
  return out;
}

namespace {

std::u16string DirectoryOf(const std::u16string& fileName) {
  const std::size_t slash = fileName.find_last_of(u"\\/:");
  return slash == std::u16string::npos ? std::u16string() : fileName.substr(0, slash + 1);
}

std::u16string Lowered(TXMLNode* node) { return Platform::Current().LowerCase(node->Name); }

// All checks that are children of node hold; evaluation stops at the first that does not.
bool ChecksHold(TXMLNode* node) {
  for (int i = 0; i < node->ChildCount(); ++i) {
    TXMLNode* child = node->Children.Get(i);
    if (Lowered(child) == u"check" && !EvaluateCheck(child)) return false;
  }
  return true;
}

}  // namespace

void LoadPackage(const std::u16string& fileName, SelectionLists& lists) {
  Platform& platform = Platform::Current();
  if (!platform.FileExists(fileName)) return;
  TXMLFile document;
  std::u16string text;
  try {
    document.LoadFromFile(fileName);
    text = document.SaveToText();
  } catch (const KorvelError&) {
    return;  // a description that cannot be read names nothing to install
  }
  if (text.empty()) return;

  // Placeholders, in this order, on the serialised text. Variables come from the document as
  // loaded, so a value is inserted as written.
  TXMLNode* package = document.Document.Children.Get(0);
  std::vector<std::pair<std::u16string, std::u16string>> variables;
  for (int i = 0; i < package->ChildCount(); ++i) {
    TXMLNode* child = package->Children.Get(i);
    if (Lowered(child) != u"variable") continue;
    std::u16string name = child->Attributes.ValueOf(u"name", u"");
    std::u16string value = child->Attributes.ValueOf(u"value", u"");
    if (!name.empty() && !value.empty()) variables.emplace_back(std::move(name), std::move(value));
  }
  for (const auto& [name, value] : variables) text = ReplaceIgnoringCase(text, u"%" + name + u"%", value);
  if (RunsOnWow64()) {
    text = ReplaceIgnoringCase(text, u"%programfiles%", u"%programw6432%");
    text = ReplaceIgnoringCase(text, u"%commonprogramfiles%", u"%commonprogramw6432%");
  }
  const std::u16string directory = DirectoryOf(fileName);
  const std::u16string arch = SystemArchName();
  text = ReplaceIgnoringCase(text, u"%app%\\", ApplicationPath());
  text = ReplaceIgnoringCase(text, u"%package%\\", directory);
  text = ReplaceIgnoringCase(text, u"%arch%", arch);
  document.LoadFromText(text);
  package = document.Document.Children.Get(0);
  if (package == nullptr) return;

  // Package checks; the last "install" element holds the commands.
  bool verdict = true;
  TXMLNode* install = nullptr;
  for (int i = 0; i < package->ChildCount(); ++i) {
    TXMLNode* child = package->Children.Get(i);
    const std::u16string name = Lowered(child);
    if (name == u"install") install = child;
    if (verdict && name == u"check") verdict = EvaluateCheck(child);
  }
  if (!verdict || install == nullptr) return;

  const std::u16string loweredArch = platform.LowerCase(arch);
  for (int i = 0; i < install->ChildCount(); ++i) {
    TXMLNode* cmd = install->Children.Get(i);
    if (Lowered(cmd) != u"cmd") continue;
    const std::u16string debug = platform.LowerCase(cmd->Attributes.ValueOf(u"debug", u"0"));
    const std::u16string cmdArch = platform.LowerCase(cmd->Attributes.ValueOf(u"arch", u"*"));
    std::u16string path = platform.LowerCase(cmd->Attributes.ValueOf(u"path", u""));
    const std::u16string param = cmd->Attributes.ValueOf(u"param", u"");
    std::u16string cmdName = cmd->Attributes.ValueOf(u"name", u"");
    if (path.find(u'%') != std::u16string::npos) path = ExpandEnvironmentText(path);
    if (path.find(u':') == std::u16string::npos) path = directory + path;

    bool listed = cmdArch == u"*" || cmdArch == loweredArch;
    if (listed) listed = platform.FileExists(path);
    if (listed) listed = ChecksHold(cmd);
    if (!listed) continue;

    TXMLAttributeList& a = package->Attributes;
    const std::u16string id = a.ValueOf(u"id", u"");
    const std::u16string priority = a.ValueOf(u"priority", u"50");
    const std::u16string packageName = a.ValueOf(u"name", u"");
    const std::u16string checked = a.ValueOf(u"checked", u"1");
    const std::u16string group = a.ValueOf(u"group", u"");
    const std::u16string desc = a.ValueOf(u"desc", u"");
    const std::u16string prereq = a.ValueOf(u"prereq", u"");
    const int groupNumber = lists.GetGroupID(group);
    if (cmdName.empty()) cmdName = packageName;
    const std::u16string caption = priority + u";" + group + u";" + id;

    const int detail = lists.InstallListDetail.AddRow(caption, groupNumber, {cmdName, id, path, param, desc, prereq, debug});
    lists.InstallListDetail.SetChecked(detail, checked == u"1");
    if (SelectionLists::GetListItemIDX(&lists.InstallList, packageName) == -1) {
      const bool state = lists.InstallListDetail.Checked(detail);
      const int main = lists.InstallList.AddRow(caption, groupNumber, {packageName, id, path, param, desc, prereq, debug});
      lists.InstallList.SetChecked(main, state);
    }
  }
}
