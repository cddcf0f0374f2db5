#include <gtest/gtest.h>

#include "errors.h"
#include "paths.h"
#include "win32_test_files.h"

namespace {

std::u16string Variable(const wchar_t* name) {
  wchar_t value[32768];
  const DWORD n = GetEnvironmentVariableW(name, value, 32768);
  return U16(std::wstring(value, n < 32768 ? n : 0));
}

TEST(EnvironmentOnWindows, ExpandsFromTheProcessEnvironment) {
  const std::u16string windir = Variable(L"windir");
  ASSERT_FALSE(windir.empty());
  const std::pair<std::u16string, std::u16string> rows[] = {
      {u"", u""},
      {u"  %windir%  ", windir},
      {u"%WinDir%\\system32\\Korvel.XML", windir + u"\\system32\\Korvel.XML"},
      {u"%systemdrive%\\ZebLog.txt", Variable(L"SystemDrive") + u"\\ZebLog.txt"},
      {u"%korvel_no_such_variable%\\setup.exe", u"%korvel_no_such_variable%\\setup.exe"},
      {u"100% sicher", u"100% sicher"},
  };
  for (const auto& [source, expected] : rows) {
    EXPECT_EQ(ToUtf8(ExpandEnvironment(source)), ToUtf8(expected)) << "source \"" << ToUtf8(source) << "\"";
  }
}

TEST(EnvironmentOnWindows, ResultsAboveTheLimitAreEmpty) {
  // The system expands into at most 32767 code units, the NUL included: a text of 32766 is
  // the longest that comes back whole; a longer one must not come back cut short.
  ASSERT_TRUE(SetEnvironmentVariableW(L"KORVEL_LONG", std::wstring(32000, L'x').c_str()));
  struct Row {
    std::size_t tail;
    std::size_t expectedLength;
  };
  const Row rows[] = {{0, 32000}, {766, 32766}, {767, 0}, {768, 0}, {5000, 0}};
  for (const Row& row : rows) {
    const std::u16string source = u"%KORVEL_LONG%" + std::u16string(row.tail, u'y');
    const std::u16string result = ExpandEnvironment(source);
    EXPECT_EQ(result.size(), row.expectedLength) << "32000 + " << row.tail << " code units";
    if (row.expectedLength) {
      EXPECT_EQ(result.find_first_not_of(u"xy"), std::u16string::npos);
    }
  }
  EXPECT_EQ(ExpandEnvironment(u"%KORVEL_LONG%%KORVEL_LONG%"), u"");
  SetEnvironmentVariableW(L"KORVEL_LONG", nullptr);
}

TEST(EnvironmentOnWindows, ProgramFilesIsTheNativeFolderInThe64BitBuild) {
  // Not WOW64, so the package loader leaves "%programfiles%" alone, and it already names the
  // native folder, the one a 32-bit build reaches through "%programw6432%".
  EXPECT_FALSE(IsWow64());
  const std::u16string native = ExpandEnvironment(u"%ProgramW6432%");
  ASSERT_NE(ToUtf8(native), "%ProgramW6432%");
  EXPECT_EQ(ToUtf8(ExpandEnvironment(u"%programfiles%")), ToUtf8(native));
  EXPECT_EQ(ToUtf8(ExpandEnvironment(u"%commonprogramfiles%")), ToUtf8(ExpandEnvironment(u"%CommonProgramW6432%")));
}

TEST(EnvironmentOnWindows, ProgramDirectoryIsTheTestProgramsFolder) {
  InitAppStartPath();
  EXPECT_EQ(ToUtf8(AppStartPath()), ToUtf8(U16(ProgramDirectory())));
}

}  // namespace
