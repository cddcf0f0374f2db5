// The command dispatch and the report, with operations that only record how they were run.
#include "ferrundel_cli.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::wstring kBanner = L"Ferrundel (c) 2026 Korvel-Projekt";
const std::wstring kUsage1 = L">> Nicht genug Parameter";
const std::wstring kUsage2 = L">> /add, /del und /verify gefolgt vom absoluten Dateipfad";

struct Recorder {
  bool answer = true;
  std::vector<std::wstring> runs;  // "add:path", "del:path", "verify:path"

  CatalogOperations Operations() {
    return CatalogOperations{
        [this](const std::wstring& p) { return Run(L"add:", p); },
        [this](const std::wstring& p) { return Run(L"del:", p); },
        [this](const std::wstring& p) { return Run(L"verify:", p); },
    };
  }
  bool Run(const wchar_t* what, const std::wstring& path) {
    runs.push_back(what + path);
    return answer;
  }
};

std::string Show(const std::vector<std::wstring>& texts) {
  std::string shown;
  for (const std::wstring& t : texts) shown += testing::PrintToString(t) + "\n";
  return shown;
}

TEST(FerrundelCommands, RunTheOperationOfTheCommandAndReportItsResult) {
  struct Row {
    std::vector<std::wstring> arguments;
    bool answer;
    std::vector<std::wstring> runs;
    std::wstring line;  // the line between banner and empty line; none when empty
  };
  const Row rows[] = {
      {{L"/add", L"C:\\k.cat"}, true, {L"add:C:\\k.cat"}, L">> Erfolgreich!"},
      {{L"/add", L"C:\\k.cat"}, false, {L"add:C:\\k.cat"}, L">> Fehlgeschlagen: C:\\k.cat"},
      {{L"/add", L" rel\\k.cat "}, false, {L"add: rel\\k.cat "}, L">> Fehlgeschlagen:  rel\\k.cat "},
      {{L"/del", L"C:\\x\\k.cat"}, true, {L"del:C:\\x\\k.cat"}, L">> Erfolgreich!"},
      {{L"/del", L"C:\\x\\k.cat"}, false, {L"del:C:\\x\\k.cat"}, L">> Fehlgeschlagen"},
      {{L"/verify", L"C:\\p.exe"}, true, {L"verify:C:\\p.exe"}, L">> Datei ist Digital Signiert"},
      {{L"/verify", L"C:\\p.exe"}, false, {L"verify:C:\\p.exe"}, L">> Datei ist NICHT Digital Signiert!"},
      // Any mix of capitals is the same command.
      {{L"/VERIFY", L"a"}, true, {L"verify:a"}, L">> Datei ist Digital Signiert"},
      {{L"/Add", L"a"}, true, {L"add:a"}, L">> Erfolgreich!"},
      {{L"/dEL", L"a"}, false, {L"del:a"}, L">> Fehlgeschlagen"},
      // Only the first two arguments count.
      {{L"/add", L"a.cat", L"/del", L"b"}, false, {L"add:a.cat"}, L">> Fehlgeschlagen: a.cat"},
      // Anything else is no command: nothing runs and nothing is said.
      {{L"-verify", L"x"}, true, {}, L""},
      {{L"verify", L"x"}, true, {}, L""},
      {{L"/verify ", L"x"}, true, {}, L""},
      {{L"/verif", L"x"}, true, {}, L""},
      {{L"/addx", L"x"}, true, {}, L""},
      {{L"", L"x"}, true, {}, L""},
  };
  for (const Row& row : rows) {
    Recorder recorder;
    recorder.answer = row.answer;
    std::vector<std::wstring> expected{kBanner};
    if (!row.line.empty()) expected.push_back(row.line);
    expected.emplace_back();
    EXPECT_EQ(Show(RunFerrundel(row.arguments, recorder.Operations())), Show(expected)) << Show(row.arguments);
    EXPECT_EQ(recorder.runs, row.runs) << Show(row.arguments);
  }
}

TEST(FerrundelCommands, WithoutCommandOrPathTheUsageIsShownAndNothingRuns) {
  const std::vector<std::vector<std::wstring>> cases = {{}, {L"/add"}, {L"/verify"}, {L"-x"}, {L""}};
  for (const auto& arguments : cases) {
    Recorder recorder;
    EXPECT_EQ(Show(RunFerrundel(arguments, recorder.Operations())), Show({kBanner, kUsage1, kUsage2, L""}))
        << Show(arguments);
    EXPECT_TRUE(recorder.runs.empty()) << Show(arguments);
  }
}

TEST(FerrundelReport, EndsEachLineWithCrLfInTheAnsiCodePage) {
  ASSERT_EQ(GetACP(), 1252u) << "the test runs for a German user";
  struct Row {
    std::vector<std::wstring> lines;
    std::string bytes;
  };
  const Row rows[] = {
      {{}, ""},
      {{L""}, "\r\n"},
      {{L"a", L"", L"b"}, "a\r\n\r\nb\r\n"},
      {{L">> Fehlgeschlagen: C:\\\x00e4\x00f6\x00fc\x00df.cat"}, ">> Fehlgeschlagen: C:\\\xe4\xf6\xfc\xdf.cat\r\n"},
      // Characters Windows-1252 lacks become its default character.
      {{L"C:\\\x0d15\x0d3e\\\x4e2d.cat"}, "C:\\??\\?.cat\r\n"},
      {{L"\x20ac \x0152"}, "\x80 \x8c\r\n"},
      // No look-alikes either: a macron a, a Polish l, a fullwidth A, a division slash.
      {{L"C:\\\x0101\x0142\xff21\x2215x.cat"}, "C:\\????x.cat\r\n"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(EncodeReport(row.lines), row.bytes) << Show(row.lines);
  }
}

}  // namespace
