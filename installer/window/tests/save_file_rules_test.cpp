#include <gtest/gtest.h>

#include "errors.h"
#include "fake_platform.h"
#include "save_file_rules.h"

namespace {

struct DirectoryRow {
  std::u16string fileName;
  std::u16string expectedDirectory;
  std::u16string expectedRoot;
};

TEST(LogFileRules, DirectoryAndCheckedDriveOfAName) {
  const std::u16string current = u"D:\\Work";
  const DirectoryRow rows[] = {
      {u"C:\\ZebLog.txt", u"C:\\", u"C:\\"},
      {u"C:\\Logs\\Korvel\\ZebLog.txt", u"C:\\Logs\\Korvel\\", u"C:\\"},
      {u"ZebLog.txt", u"D:\\Work\\", u"D:\\"},
      {u"logs\\ZebLog.txt", u"D:\\Work\\logs\\", u"D:\\"},  // not the drive "l:"
      {u"\\\\server\\share\\ZebLog.txt", u"\\\\server\\share\\", u""},
      {u"\\Logs\\ZebLog.txt", u"\\Logs\\", u""},
      {u"E:ZebLog.txt", u"E:", u"E:\\"},
  };
  for (const DirectoryRow& row : rows) {
    const std::u16string directory = LogDirectoryOf(row.fileName, current);
    EXPECT_EQ(ToUtf8(directory), ToUtf8(row.expectedDirectory)) << ToUtf8(row.fileName);
    EXPECT_EQ(ToUtf8(DriveRootOf(directory)), ToUtf8(row.expectedRoot)) << ToUtf8(row.fileName);
  }
  EXPECT_EQ(ToUtf8(LogDirectoryOf(u"x.txt", u"C:\\")), "C:\\");
}

TEST(LogFileRules, OnlyRemovableFixedNetworkAndRamDrivesAreWritten) {
  const struct {
    std::uint32_t type;
    bool writable;
  } rows[] = {{0, false}, {1, false}, {2, true}, {3, true}, {4, true}, {5, false}, {6, true}, {7, false}, {0xFFFFFFFF, false}};
  for (const auto& row : rows) EXPECT_EQ(IsWritableDriveType(row.type), row.writable) << "drive type " << row.type;
}

struct CandidateRow {
  std::u16string fileName;
  int number;
  std::u16string expected;
};

TEST(LogFileRules, AlternativeNamesCarryTheirNumberBeforeTheExtension) {
  const CandidateRow rows[] = {
      {u"C:\\ZebLog.txt", -1, u"C:\\ZebLog.txt"},
      {u"C:\\ZebLog.txt", 0, u"C:\\ZebLog(0).txt"},
      {u"C:\\ZebLog.txt", 2, u"C:\\ZebLog(2).txt"},
      {u"C:\\Logs\\log", 0, u"C:\\Logs\\log(0)"},
      {u"C:\\Logs.old\\log", 1, u"C:\\Logs.old\\log(1)"},
      {u"C:\\a.b.txt", 0, u"C:\\a.b(0).txt"},
      {u"C:\\ZebLog.txt", 12, u"C:\\ZebLog(12).txt"},
  };
  for (const CandidateRow& row : rows) {
    EXPECT_EQ(ToUtf8(CandidateFileName(row.fileName, row.number)), ToUtf8(row.expected))
        << ToUtf8(row.fileName) << " number " << row.number;
  }
}

std::string Bytes(const std::optional<EncodedText>& encoded) {
  return encoded ? encoded->ByteOrderMark + encoded->Text : std::string("<nothing>");
}

TEST(LogFileRules, ThreeEncodingsOfTheAnsiText) {
  FakePlatform fake;  // Windows-1252
  const struct {
    std::string ansi;
    std::uint8_t encoding;
    std::string expected;
  } rows[] = {
      {"abc", 0, "abc"},
      {"abc", 1, "\xEF\xBB\xBF" "abc"},
      {"abc", 2, std::string("\xFF\xFE" "a\0b\0c\0", 8)},
      {"\xE4\x80", 0, "\xE4\x80"},
      {"\xE4\x80", 1, "\xEF\xBB\xBF" "\xC3\xA4" "\xE2\x82\xAC"},
      {"\xE4\x80", 2, std::string("\xFF\xFE\xE4\x00\xAC\x20", 6)},
      {"abc", 3, "<nothing>"},
      {"abc", 255, "<nothing>"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Bytes(EncodeLogText(row.ansi, row.encoding, fake)), row.expected)
        << "encoding " << int(row.encoding) << " of " << row.ansi;
  }
}

}  // namespace
