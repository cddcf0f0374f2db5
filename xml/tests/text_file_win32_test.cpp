// ReadTextFile and TXMLFile on real files, through the Win32 platform.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "XMLLibLite.h"
#include "errors.h"
#include "platform.h"
#include "utf16_bytes.h"

namespace {

using xmltest::Utf16Bytes;

std::u16string U(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }
const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

class XmlTextFileWin32 : public ::testing::Test {
protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1];
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    directory_ = U(temp) + u"korvel-xml-" + U(std::to_wstring(GetCurrentProcessId())) + u"\\";
    CreateDirectoryW(W(directory_), nullptr);
  }
  void TearDown() override {
    for (const auto& file : written_) DeleteFileW(W(file));
    RemoveDirectoryW(W(directory_));
  }

  std::u16string Write(const std::u16string& name, const std::string& bytes) {
    const std::u16string path = directory_ + name;
    HANDLE file = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << "cannot create the test file";
    DWORD done = 0;
    EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr));
    CloseHandle(file);
    written_.push_back(path);
    return path;
  }

  std::u16string directory_;
  std::vector<std::u16string> written_;
};

const std::u16string kDocument = u"<package id=\"p\" name=\"Größe für Ärger\"/>";

TEST_F(XmlTextFileWin32, ReadsEachByteOrderMark) {
  struct Row {
    const char* Label;
    std::u16string Name;
    std::string Bytes;
  };
  const Row rows[] = {
      {"UTF-16 little-endian", u"le.xml", "\xFF\xFE" + Utf16Bytes(kDocument, false)},
      {"UTF-16 big-endian", u"be.xml", "\xFE\xFF" + Utf16Bytes(kDocument, true)},
      {"UTF-8", u"utf8.xml", "\xEF\xBB\xBF" + ToUtf8(kDocument)},
  };
  for (const Row& row : rows) {
    const std::u16string path = Write(row.Name, row.Bytes);
    EXPECT_EQ(ReadTextFile(path), kDocument) << "row: " << row.Label;
    TXMLFile file(path);
    ASSERT_EQ(file.Document.ChildCount(), 1) << "row: " << row.Label;
    EXPECT_EQ(file.Document.Children.Get(0)->Attributes.ValueOf(u"NAME"), u"Größe für Ärger") << "row: " << row.Label;
  }
}

TEST_F(XmlTextFileWin32, ReadsTextWithoutAMarkInTheAnsiCodePage) {
  // Latin-1 bytes for the umlauts: in a Western code page they are the umlauts themselves.
  const std::u16string path = Write(u"ansi.xml", "<a n=\"\xC4\xD6\xDC\xE4\xF6\xFC\xDF\"/>");
  const std::u16string text = ReadTextFile(path);
  if (GetACP() == 1252) {
    EXPECT_EQ(text, u"<a n=\"ÄÖÜäöüß\"/>");
  } else {
    EXPECT_EQ(text.size(), 18u) << "one character per byte in a single-byte code page";
  }
  // The UTF-8 bytes of the same document, without the mark, are not taken as UTF-8.
  const std::u16string utf8 = Write(u"utf8-nomark.xml", ToUtf8(kDocument));
  EXPECT_NE(ReadTextFile(utf8), kDocument);
  if (GetACP() == 1252) {
    EXPECT_EQ(ReadTextFile(utf8).substr(22, 4), u"GrÃ¶");
  }
}

TEST_F(XmlTextFileWin32, MissingAndLockedFiles) {
  EXPECT_EQ(ReadTextFile(directory_ + u"missing.xml"), u"");
  TXMLFile file;
  file.LoadFromText(u"<kept/>");
  EXPECT_FALSE(file.LoadFromFile(directory_ + u"missing.xml"));
  EXPECT_EQ(file.Document.Children.Get(0)->Name, u"kept");

  const std::u16string path = Write(u"locked.xml", "<a/>");
  HANDLE writer = CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_THROW(ReadTextFile(path), EFOpenError);
  EXPECT_THROW(file.LoadFromFile(path), EFOpenError);
  CloseHandle(writer);
  EXPECT_TRUE(file.LoadFromFile(path));
}

}  // namespace
