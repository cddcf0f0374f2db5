#include <gtest/gtest.h>

#include "errors.h"
#include "md5.h"
#include "win32_test_files.h"

namespace {

std::string Pattern(std::size_t n) {
  std::string bytes(n, '\0');
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
  return bytes;
}

// True when the file can be opened for writing with no sharing at all: no other handle to it
// is open anywhere.
bool NobodyHasItOpen(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

TEST(DigestOnWindows, DigestsRealFiles) {
  const std::wstring dir = FreshFolder(L"md5");
  struct Row {
    std::string bytes;
    std::u16string digest;
  };
  const Row rows[] = {
      {"", u"D41D8CD98F00B204E9800998ECF8427E"},
      {"abc", u"900150983CD24FB0D6963F7D28E17F72"},
      {Pattern(4095), u"53DE317667CA40D9642E2D859BFBFD16"},
      {Pattern(4096), u"D105289F5617C241F52A191C6B2FC809"},
      {Pattern(4097), u"C7CFB8A6D3D4929F9035E0918250B62D"},
  };
  for (const Row& row : rows) {
    const std::wstring path = dir + L"file.bin";
    ASSERT_TRUE(WriteBytes(path, row.bytes));
    EXPECT_EQ(ToUtf8(DigestHex(FileMD5(U16(path)))), ToUtf8(row.digest)) << row.bytes.size() << " bytes";
    EXPECT_TRUE(NobodyHasItOpen(path)) << "a handle stayed open after " << row.bytes.size() << " bytes";
  }
}

TEST(DigestOnWindows, SharesTheFileWithReaders) {
  const std::wstring path = FreshFolder(L"md5-reader") + L"read.bin";
  ASSERT_TRUE(WriteBytes(path, "abc"));
  HANDLE reader = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ToUtf8(DigestHex(FileMD5(U16(path)))), "900150983CD24FB0D6963F7D28E17F72");
  CloseHandle(reader);
}

TEST(DigestOnWindows, RefusesAFileThatIsOpenForWriting) {
  const std::wstring path = FreshFolder(L"md5-writer") + L"Locked File.bin";
  ASSERT_TRUE(WriteBytes(path, "abc"));
  HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  const std::u16string prefix = u"Datei " + U16(path) + u" kann nicht geöffnet werden. ";
  try {
    FileMD5(U16(path));
    ADD_FAILURE() << "no error while another handle writes the file";
  } catch (const EFOpenError& error) {
    EXPECT_EQ(ToUtf8(error.Message().substr(0, prefix.size())), ToUtf8(prefix));
    EXPECT_GT(error.Message().size(), prefix.size()) << "the system's text is missing";
  }
  CloseHandle(writer);
  EXPECT_TRUE(NobodyHasItOpen(path)) << "the refused open left a handle";
  EXPECT_EQ(ToUtf8(DigestHex(FileMD5(U16(path)))), "900150983CD24FB0D6963F7D28E17F72");
}

TEST(DigestOnWindows, RefusesMissingFilesAndDirectories) {
  const std::wstring dir = FreshFolder(L"md5-missing");
  for (const std::wstring& path : {dir + L"missing.bin", dir}) {
    const std::u16string prefix = u"Datei " + U16(path) + u" kann nicht geöffnet werden. ";
    try {
      FileMD5(U16(path));
      ADD_FAILURE() << "no error for " << ToUtf8(U16(path));
    } catch (const EFOpenError& error) {
      EXPECT_EQ(ToUtf8(error.Message().substr(0, prefix.size())), ToUtf8(prefix));
    }
  }
}

}  // namespace
