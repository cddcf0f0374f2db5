#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "errors.h"
#include "platform.h"

TEST(Win32Platform, SeesRealFilesAndDirectories) {
  Platform& os = Platform::Current();
  const std::u16string windir = os.ExpandVariables(u"%windir%");
  ASSERT_FALSE(windir.empty());
  EXPECT_TRUE(os.DirectoryExists(windir));
  EXPECT_FALSE(os.FileExists(windir));
  EXPECT_TRUE(os.FileExists(windir + u"\\system32\\kernel32.dll"));
  auto entries = os.ListDirectory(windir + u"\\");
  ASSERT_TRUE(entries);
  EXPECT_FALSE(entries->empty());
  EXPECT_FALSE(os.ListDirectory(u"C:\\no such directory\\"));
}

TEST(Win32Platform, ConvertsTextInTheAnsiCodePage) {
  Platform& os = Platform::Current();
  EXPECT_EQ(os.AnsiToUnicode("abc"), u"abc");
  EXPECT_EQ(os.UnicodeToAnsi(u"abc"), "abc");
  EXPECT_EQ(os.LowerCase(u"ABC"), u"abc");
  EXPECT_LT(os.CompareStrings(u"100;a", u"50;a"), 0);
}

TEST(Win32Platform, OpenReadOfAMissingFileRaisesTheFileOpenError) {
  EXPECT_THROW(Platform::Current().OpenRead(u"C:\\no such file.bin"), EFOpenError);
}
