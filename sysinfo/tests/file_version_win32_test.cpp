#include <gtest/gtest.h>

#include "errors.h"
#include "file_version.h"
#include "version.h"
#include "win32_test_files.h"

namespace {

TEST(FileVersionOnWindows, ReadsTheVersionResourceOfRealFiles) {
  const std::u16string dir = U16(ProgramDirectory()) + u"version_fixtures\\";
  struct Row {
    std::u16string name;
    std::u16string expected;
  };
  const Row rows[] = {
      {u"product_above.dll", u"9.0.0.1"},  // "10.0.0.1" is the smaller text
      {u"product_greater.dll", u"7.0"},
      {u"product_below.dll", u"6.0.1"},
      {u"tagged.dll", u"6.1.7601.17514 (win7sp1_rtm.101119-1850)"},
      {u"german.dll", u"2.0"},
      {u"file_only.dll", u"3.0"},
      {u"corpol.dll", u"0.9"},
      {u"CORPOL.DLL", u"02003.00001.02600.02180"},  // the same file, but not the name as written
      {u"not_corpol.dll", u"02003.00001.02600.02180"},
      {u"plain.dll", u""},
      {u"missing.dll", u""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ToUtf8(FileVersionText(dir + row.name)), ToUtf8(row.expected)) << ToUtf8(row.name);
  }
  EXPECT_EQ(ToUtf8(FileVersionText(dir)), "") << "a directory";
  EXPECT_EQ(ToUtf8(FileVersionText(u"")), "") << "no path";
}

TEST(FileVersionOnWindows, SystemLibrariesParseToTheirVersion) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  TVersion version;
  version.Parse(FileVersionText(U16(system) + u"\\kernel32.dll"));
  EXPECT_NE(ToUtf8(version.ToHex()), "") << "kernel32.dll has a version resource";
}

}  // namespace
