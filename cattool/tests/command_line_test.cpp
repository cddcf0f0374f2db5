#include "command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Show(const std::vector<std::wstring>& arguments) {
  std::string text;
  for (const std::wstring& a : arguments) {
    text += '[';
    for (wchar_t c : a) text += c < 0x80 ? static_cast<char>(c) : '?';
    text += ']';
  }
  return text;
}

TEST(SplitCommandLine, TakesArgumentsTheWindowsWay) {
  struct Row {
    const wchar_t* line;
    std::vector<std::wstring> expected;
  };
  const Row rows[] = {
      {L"", {}},
      {L"   \t ", {}},
      {L"tool.exe", {L"tool.exe"}},
      {L"tool.exe /add x.cat", {L"tool.exe", L"/add", L"x.cat"}},
      {L"  tool.exe\t/add\r\nx.cat  ", {L"tool.exe", L"/add", L"x.cat"}},
      // Every code unit up to U+0020 separates, control characters included.
      {L"a\x01" L"b\x1f" L"c", {L"a", L"b", L"c"}},
      {L"\"C:\\Program Files\\tool.exe\" /verify \"C:\\a b\\c d.exe\"",
       {L"C:\\Program Files\\tool.exe", L"/verify", L"C:\\a b\\c d.exe"}},
      // Without quotes a path with blanks falls apart into words.
      {L"t /verify C:\\a b\\c.exe", {L"t", L"/verify", L"C:\\a", L"b\\c.exe"}},
      // A quoted stretch joins the text around it into one argument.
      {L"t /ver\"if\"y pre\"fix suf\"fix", {L"t", L"/verify", L"prefix suffix"}},
      // Empty quote pairs where an argument would start count as white space.
      {L"t \"\" /del \"\" x.cat", {L"t", L"/del", L"x.cat"}},
      {L"t \"\"\"\"/del", {L"t", L"/del"}},
      {L"t \"\"", {L"t"}},
      // Inside an argument an empty pair is an empty quoted stretch.
      {L"t a\"\"b", {L"t", L"ab"}},
      // A quote left open runs to the end of the line.
      {L"t /add \"C:\\open end", {L"t", L"/add", L"C:\\open end"}},
      {L"t \"", {L"t", L""}},
      {L"t a\"", {L"t", L"a"}},
      // Backslashes are plain characters, also before a quote.
      {L"t \"C:\\dir\\\" next", {L"t", L"C:\\dir\\", L"next"}},
      {L"t \x00e4\x0d15\xd83d\xde00", {L"t", L"\x00e4\x0d15\xd83d\xde00"}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Show(SplitCommandLine(row.line)), Show(row.expected)) << "line: " << testing::PrintToString(std::wstring(row.line));
    EXPECT_EQ(SplitCommandLine(row.line), row.expected) << "line: " << testing::PrintToString(std::wstring(row.line));
  }
}

TEST(SplitCommandLine, StopsAtTheEndOfTheViewNotAtAnEmbeddedTerminator) {
  const std::wstring text = L"t a\0b c";  // only "t a" is in the literal's std::wstring
  const std::wstring_view withNul(L"t a\0b c", 7);
  EXPECT_EQ(SplitCommandLine(text), (std::vector<std::wstring>{L"t", L"a"}));
  EXPECT_EQ(SplitCommandLine(withNul), (std::vector<std::wstring>{L"t", L"a", L"b", L"c"}));
  EXPECT_EQ(SplitCommandLine(withNul.substr(0, 4)), (std::vector<std::wstring>{L"t", L"a"}));
}

}  // namespace
