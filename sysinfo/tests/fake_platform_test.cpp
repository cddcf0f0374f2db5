#include <gtest/gtest.h>

#include "errors.h"
#include "fake_platform.h"

TEST(FakePlatform, FilesAreFoundWithoutRegardToCaseAndDirectoriesAreNotFiles) {
  FakePlatform fake;
  fake.AddFile(u"C:\\Setup\\Tools\\Package.XML", "<p/>");
  EXPECT_TRUE(fake.FileExists(u"c:\\setup\\tools\\package.xml"));
  EXPECT_FALSE(fake.FileExists(u"C:\\Setup\\Tools"));
  EXPECT_TRUE(fake.DirectoryExists(u"C:\\SETUP\\tools\\"));
  auto entries = fake.ListDirectory(u"C:\\Setup\\Tools\\");
  ASSERT_TRUE(entries);
  ASSERT_EQ(entries->size(), 3u);
  EXPECT_EQ((*entries)[2].Name, u"Package.XML");
  EXPECT_FALSE(fake.ListDirectory(u"C:\\Nowhere\\"));
}

TEST(FakePlatform, OpenReadRefusesMissingAndWriteLockedFiles) {
  FakePlatform fake;
  fake.AddFile(u"C:\\a.bin", "abc");
  fake.LockForWriting(u"C:\\a.bin");
  try {
    fake.OpenRead(u"C:\\a.bin");
    FAIL() << "expected EFOpenError";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message().rfind(u"Datei C:\\a.bin kann nicht geöffnet werden. ", 0), 0u);
  }
  EXPECT_THROW(fake.OpenRead(u"C:\\missing.bin"), EFOpenError);
}

TEST(FakePlatform, ExpansionKeepsUnknownVariablesAsWritten) {
  FakePlatform fake;
  EXPECT_EQ(fake.ExpandVariables(u"%SystemDrive%\\ZebLog.txt"), u"C:\\ZebLog.txt");
  EXPECT_EQ(fake.ExpandVariables(u"%nosuch%\\x.exe"), u"%nosuch%\\x.exe");
  EXPECT_EQ(fake.ExpandVariables(u"100% of %windir%"), u"100% of C:\\Windows");
}

TEST(FakePlatform, AnsiIsWindows1252WithQuestionMarkForTheRest) {
  FakePlatform fake;
  EXPECT_EQ(fake.AnsiToUnicode("\xE4\x80"), u"ä€");
  EXPECT_EQ(fake.UnicodeToAnsi(u"ä€中"), "\xE4\x80?");
  EXPECT_EQ(fake.LowerCase(u"ÄÖÜ ABC Ł"), u"äöü abc ł");
}
