// ReadTextFile: encodings chosen by the byte-order mark, through the fake machine's files.
#include <gtest/gtest.h>

#include "XMLLibLite.h"
#include "errors.h"
#include "fake_platform.h"
#include "utf16_bytes.h"

namespace {

using xmltest::Utf16Bytes;

class XmlTextFile : public ::testing::Test {
protected:
  FakePlatform os;
  ScopedPlatform scope{os};
};

const std::u16string kUmlauts = u"<a name=\"Größe für Ärger\" note=\"€\"/>";
// Its UTF-8 bytes read one by one as Windows-1252: C3 9F gives Ã Ÿ, C3 84 gives Ã „, E2 82 AC â ‚ ¬.
const std::u16string kUmlautsAsAnsi = u"<a name=\"GrÃ¶Ã\u0178e fÃ¼r Ã\u201Erger\" note=\"â\u201A¬\"/>";

TEST_F(XmlTextFile, DecodesByTheByteOrderMark) {
  struct Row {
    const char* Label;
    std::string Bytes;
    std::u16string Text;
  };
  const std::string utf8 = ToUtf8(kUmlauts);
  const Row rows[] = {
      {"UTF-16 little-endian", "\xFF\xFE" + Utf16Bytes(kUmlauts, false), kUmlauts},
      {"UTF-16 big-endian", "\xFE\xFF" + Utf16Bytes(kUmlauts, true), kUmlauts},
      {"UTF-8", "\xEF\xBB\xBF" + utf8, kUmlauts},
      {"UTF-16 outside the BMP", "\xFF\xFE" + Utf16Bytes(u"<a v=\"\U0001F600\"/>", false), u"<a v=\"\U0001F600\"/>"},
      // Without a mark the same UTF-8 bytes are taken as the ANSI code page (Windows-1252 here).
      {"no mark: ANSI", utf8, kUmlautsAsAnsi},
      {"ANSI umlauts", "<a n=\"\xE4\xF6\xFC\x80\"/>", u"<a n=\"äöü€\"/>"},
      {"empty file", "", u""},
      {"mark only", "\xEF\xBB\xBF", u""},
      {"UTF-16 mark only", "\xFF\xFE", u""},
      {"half a UTF-16 code unit at the end", std::string("\xFF\xFE" "a\x00" "b", 5), u"a\uFFFD"},
      {"malformed UTF-8", "\xEF\xBB\xBF" "a\xC3(", u"a\uFFFD("},
      {"mark is only a mark at the start", "a\xEF\xBB\xBF", u"a\u00EF\u00BB\u00BF"},
      {"a declaration names no encoding that counts",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\xC3\xA4", u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>Ã¤"},
  };
  for (const Row& row : rows) {
    os.AddFile(u"C:\\Data\\file.xml", row.Bytes);
    EXPECT_EQ(ReadTextFile(u"C:\\Data\\file.xml"), row.Text) << "row: " << row.Label;
  }
}

TEST_F(XmlTextFile, AMissingFileIsEmptyText) {
  EXPECT_EQ(ReadTextFile(u"C:\\Data\\none.xml"), u"");
  os.AddDirectory(u"C:\\Data\\folder.xml");
  EXPECT_EQ(ReadTextFile(u"C:\\Data\\folder.xml"), u"");
}

TEST_F(XmlTextFile, AFileThatCannotBeOpenedRaises) {
  os.AddFile(u"C:\\Data\\locked.xml", "<a/>");
  os.LockForWriting(u"C:\\Data\\locked.xml");
  EXPECT_THROW(ReadTextFile(u"C:\\Data\\locked.xml"), EFOpenError);
}

TEST_F(XmlTextFile, UmlautsInAttributesReadThroughTheDocument) {
  os.AddFile(u"C:\\Setup\\with-mark.xml", "\xEF\xBB\xBF" + ToUtf8(kUmlauts));
  os.AddFile(u"C:\\Setup\\without-mark.xml", ToUtf8(kUmlauts));
  TXMLFile withMark(u"C:\\Setup\\with-mark.xml");
  ASSERT_EQ(withMark.Document.ChildCount(), 1);
  EXPECT_EQ(withMark.Document.Children.Get(0)->Attributes.ValueOf(u"NAME"), u"Größe für Ärger");
  TXMLFile withoutMark(u"C:\\Setup\\without-mark.xml");
  ASSERT_EQ(withoutMark.Document.ChildCount(), 1);
  EXPECT_EQ(withoutMark.Document.Children.Get(0)->Attributes.ValueOf(u"name"), u"GrÃ¶Ã\u0178e fÃ¼r Ã\u201Erger");
}

TEST_F(XmlTextFile, ALargeDocumentLoads) {
  // About 50 MB of UTF-8 in many packages' worth of elements.
  std::string bytes = "\xEF\xBB\xBF<catalog>";
  const std::string item =
      "<package id=\"runtime\" priority=\"100\" name=\"Laufzeit f\xC3\xBCr Werkzeuge\" checked=\"1\">"
      "<check type=\"file\" condition=\"notexist\" path=\"%programfiles%\\R\\r.txt\"/>"
      "<install><cmd path=\"%package%\\runtime.msi\" param=\"/qn\"/></install></package>\r\n";
  const std::size_t count = 50u * 1024 * 1024 / item.size() + 1;
  bytes.reserve(count * item.size() + 32);
  for (std::size_t i = 0; i < count; ++i) bytes += item;
  bytes += "</catalog>";
  os.AddFile(u"C:\\Data\\big.xml", bytes);
  bytes.clear();
  bytes.shrink_to_fit();

  TXMLFile file(u"C:\\Data\\big.xml");
  ASSERT_EQ(file.Document.ChildCount(), 1);
  TXMLNode& catalog = *file.Document.Children.Get(0);
  ASSERT_EQ(catalog.ChildCount(), static_cast<int>(count));
  TXMLNode& last = *catalog.Children.Get(catalog.ChildCount() - 1);
  EXPECT_EQ(last.Attributes.ValueOf(u"name"), u"Laufzeit für Werkzeuge");
  EXPECT_EQ(last.Children.Find(u"install")->Children.Get(0)->Attributes.ValueOf(u"param"), u"/qn");
}

}  // namespace
