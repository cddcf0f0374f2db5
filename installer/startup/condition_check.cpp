#include "condition_check.h"

#include "XMLLibLite.h"
#include "errors.h"
#include "platform.h"
#include "run_options.h"
#include "system_facts.h"

namespace {

// The comparison an operator names, on two versions' hexadecimal forms (ordinal order, in which
// the empty form of 0.0.0.0 is the lowest). Nothing for an unknown operator.
bool Compare(const std::u16string& op, const std::u16string& left, const std::u16string& right, bool& known) {
  known = true;
  if (op == u"<=") return left <= right;
  if (op == u">=") return left >= right;
  if (op == u"=") return left == right;
  if (op == u"<") return left < right;
  if (op == u">") return left > right;
  known = false;
  return false;
}

bool CompareVersions(const std::u16string& op, const std::u16string& left, const std::u16string& right) {
  bool known = false;
  const bool result = Compare(op, left, right, known);
  return known && result;
}

bool EvaluateOS(const std::u16string& condition, const std::u16string& value, const std::u16string& debug) {
  if (value == u"*") return true;
  const bool result = CompareVersions(condition, SystemVersionHex(), VersionHex(value));
  if (debug != u"0" || RunOptions.DebugMode)
    ShowDebugBox(u"OS\r\nist: " + SystemVersionText() + u"\r\nsoll: " + value);
  return result;
}

bool EvaluateFile(const std::u16string& condition, const std::u16string& value, const std::u16string& debug,
                  const std::u16string& path, const std::u16string& arch) {
  Platform& platform = Platform::Current();
  if (arch != u"*" && platform.LowerCase(arch) != platform.LowerCase(SystemArchName())) return true;
  if (condition == u"exist") return platform.FileExists(path);
  if (condition == u"notexist") return !platform.FileExists(path);
  if (condition == u"md5") return platform.LowerCase(FileDigestHex(path)) == platform.LowerCase(value);
  const std::u16string right = VersionHex(value);
  const std::u16string versionText = FileVersionOf(path);
  const bool result = versionText != u"0.0.0.0" && CompareVersions(condition, VersionHex(versionText), right);
  if (debug != u"0" || RunOptions.DebugMode)
    ShowDebugBox(path + u"\r\nist: " + versionText + u"\r\nsoll: " + value);
  return result;
}

}  // namespace

void ShowDebugBox(const std::u16string& text) { Platform::Current().ShowMessage(0, text, u"Korvel", 0); }

bool EvaluateCheck(TXMLNode* node) {
  Platform& platform = Platform::Current();
  if (node == nullptr || platform.LowerCase(node->Name) != u"check") return false;
  auto read = [&](std::u16string_view name, std::u16string_view fallback) {
    return platform.LowerCase(node->Attributes.ValueOf(name, fallback));
  };
  const std::u16string type = read(u"type", u"");
  const std::u16string condition = read(u"condition", u"");
  const std::u16string value = read(u"value", u"");
  const std::u16string debug = read(u"debug", u"0");
  const std::u16string arch = read(u"arch", u"*");
  try {
    const std::u16string path = ExpandEnvironmentText(read(u"path", u""));
    if (type == u"os") return EvaluateOS(condition, value, debug);
    if (type == u"file") return EvaluateFile(condition, value, debug, path, arch);
  } catch (const KorvelError& error) {
    // A file that cannot be read (locked, access denied) proves nothing: the check fails and
    // loading goes on.
    if (RunOptions.DebugMode) ShowDebugBox(error.Kind() + u": " + error.Message());
  }
  return false;
}
