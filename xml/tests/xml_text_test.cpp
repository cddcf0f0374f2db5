// XMLText, the string type of names and texts: it must read, compare, convert and change like a
// std::u16string, and a copy or move must never lean on the document it came from.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "XMLLibLite.h"
#include "errors.h"
#include "fake_platform.h"

namespace {

// The same text held in each way a tree can hold it: read (in the document's arena), assigned
// by a caller (heap), and a read kind (static storage).
class XmlTextPlaces : public ::testing::Test {
protected:
  FakePlatform os;
  ScopedPlatform scope{os};
  TXMLFile file;

  TXMLNode& Read(const std::u16string& text) {
    EXPECT_TRUE(file.LoadFromText(text));
    return *file.Document.Children.Get(0);
  }
};

TEST(XmlText, ReadsComparesAndConvertsLikeAString) {
  struct Row {
    const char* Label;
    std::u16string Text;
  };
  const Row rows[] = {
      {"empty", u""},
      {"short", u"id"},
      {"longer than a small string", u"%programfiles%\\Vendor\\app.exe"},
      {"zero inside", std::u16string(u"a\0b", 3)},
      {"beyond the basic plane", u"\xD83D\xDE00 x"},
  };
  for (const Row& row : rows) {
    XMLText text;
    text = row.Text;
    EXPECT_EQ(text.size(), row.Text.size()) << row.Label;
    EXPECT_EQ(text.empty(), row.Text.empty()) << row.Label;
    EXPECT_TRUE(text == row.Text) << row.Label;
    EXPECT_TRUE(row.Text == text) << row.Label;
    EXPECT_TRUE(text == std::u16string_view(row.Text)) << row.Label;
    EXPECT_FALSE(text != row.Text) << row.Label;
    EXPECT_EQ(std::u16string(text), row.Text) << row.Label;
    EXPECT_EQ(std::u16string_view(text), row.Text) << row.Label;
    EXPECT_EQ(std::u16string(text.begin(), text.end()), row.Text) << row.Label;
    EXPECT_TRUE(text != row.Text + u"x") << row.Label;
    EXPECT_TRUE(text < row.Text + u"x") << row.Label;
    EXPECT_EQ(text + u"|" + text, row.Text + u"|" + row.Text) << row.Label;
    EXPECT_EQ(u'<' + text + u'>', u"<" + row.Text + u">") << row.Label;
    const XMLText copy = text;
    EXPECT_EQ(copy, text) << row.Label;
  }
  const XMLText name = u"name";
  EXPECT_TRUE(name == u"name");
  EXPECT_FALSE(name == u"Name");
  EXPECT_EQ(name[0], u'n');
  EXPECT_EQ(name.front(), u'n');
  EXPECT_EQ(name.back(), u'e');
  EXPECT_EQ(name.find(u'm'), 2u);
  EXPECT_EQ(name.find(u"x"), XMLText::npos);
  EXPECT_EQ(name.substr(1, 2), u"am");
}

TEST(XmlText, ChangesLikeAString) {
  XMLText text;
  for (char16_t c = u'a'; c <= u'z'; ++c) text.push_back(c);
  EXPECT_EQ(text, u"abcdefghijklmnopqrstuvwxyz");
  text += u"-";
  text += std::u16string(u"0123456789");
  text += u'!';
  EXPECT_EQ(text, u"abcdefghijklmnopqrstuvwxyz-0123456789!");
  // Assigning or appending a piece of the text itself.
  text = std::u16string_view(text).substr(26, 11);
  EXPECT_EQ(text, u"-0123456789");
  text.append(std::u16string_view(text).substr(1, 3));
  EXPECT_EQ(text, u"-0123456789012");
  text += text;
  EXPECT_EQ(text, u"-0123456789012-0123456789012");
  text.clear();
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(text, u"");
}

TEST(XmlText, PrintsAsQuotedUtf8) {
  std::ostringstream out;
  PrintTo(XMLText(u"Pr\u00FCfung"), &out);
  EXPECT_EQ(out.str(), "\"Pr\xC3\xBC" "fung\"");
  EXPECT_EQ(::testing::PrintToString(XMLText(u"x")), "\"x\"");
}

TEST_F(XmlTextPlaces, CopiesAndMovesOfReadTextsOutliveTheirDocument) {
  const std::u16string longName = u"description-of-a-package";
  TXMLNode& node = Read(u"<" + longName + u" path=\"%package%\\setup.exe\">Installiert alles</" + longName +
                        u"><?xml version='1.0'?>");
  TXMLNode& declaration = *file.Document.Children.Get(1);
  XMLText copied = node.Name;
  XMLText moved = std::move(node.Attributes.Get(0)->Value.Text);
  XMLText assigned;
  assigned = std::move(node.Value.Text);
  XMLText kind = std::move(declaration.Kind);
  std::vector<XMLText> grown;
  grown.push_back(std::move(node.Attributes.Get(0)->Name));
  for (int i = 0; i < 20; ++i) grown.push_back(XMLText(u"filler"));  // moves what it holds

  // Reloading returns every block of the document; the sanitize build sees any text that still
  // lies in one.
  ASSERT_TRUE(file.LoadFromText(u"<other with=\"different texts in the same places\"/>"));
  EXPECT_EQ(copied, longName);
  EXPECT_EQ(moved, u"%package%\\setup.exe");
  EXPECT_EQ(assigned, u"Installiert alles");
  EXPECT_EQ(kind, u"?");
  EXPECT_EQ(grown.front(), u"path");
}

TEST_F(XmlTextPlaces, TextsAssignedToReadNodesAreTheirsUntilReloaded) {
  TXMLNode& node = Read(u"<a x=\"1\"><b/></a>");
  node.Name = u"renamed with a longer name";
  node.Name.push_back(u'!');
  node.Attributes.Get(0)->Value.SetText(u"'a value assigned after reading'");
  node.Attributes.Add(u"added", u"\"by the caller\"");
  node.Children.Get(0)->Value.SetText(u"text given to a read node");
  TXMLNode::Create(node).Name = u"made by the caller";
  node.Attributes.Delete(0);  // moves the added attribute within the read node's array
  EXPECT_EQ(node.Name, u"renamed with a longer name!");
  EXPECT_EQ(node.Attributes.ValueOf(u"added"), u"by the caller");
  EXPECT_EQ(node.Children.Get(0)->Value.Text, u"text given to a read node");
  EXPECT_EQ(node.Children.Get(1)->Name, u"made by the caller");
  ASSERT_TRUE(file.LoadFromText(u"<c/>"));  // frees all of it
  EXPECT_EQ(file.Document.Children.Get(0)->Name, u"c");
}

TEST_F(XmlTextPlaces, TheRootsOwnTextOutlivesTheNodesReadIntoIt) {
  // Text between top-level nodes goes to the document node, which is not in the arena: it must
  // stay valid when the read nodes, and with them the arena, are gone.
  Read(u"<a/>between the top-level nodes<b/>");
  EXPECT_EQ(file.Document.Value.Text, u"between the top-level nodes");
  file.Document.Children.Clear();
  EXPECT_EQ(file.Document.Value.Text, u"between the top-level nodes");
}

TEST_F(XmlTextPlaces, TextsOfEverySizeAreReadWhole) {
  // Texts from a few code units up to several blocks of the arena, one after another and mixed
  // with small ones, so that each way of finding room is taken.
  for (const std::size_t size : {1u, 7u, 8u, 100u, 16384u, 16385u, 40000u, 70000u, 200000u}) {
    const std::u16string big(size, u'v');
    std::u16string text = u"<r>";
    for (int i = 0; i < 3; ++i) text += u"<e n=\"" + big + u"\" s=\"1\">" + big + u"</e>";
    text += u"</r>";
    TXMLNode& root = Read(text);
    ASSERT_EQ(root.ChildCount(), 3) << "size " << size;
    for (int i = 0; i < 3; ++i) {
      TXMLNode& e = *root.Children.Get(i);
      EXPECT_EQ(e.Attributes.ValueOf(u"n").size(), size) << "size " << size;
      EXPECT_TRUE(e.Attributes.ValueOf(u"n") == big) << "size " << size;
      EXPECT_EQ(e.Attributes.ValueOf(u"s"), u"1") << "size " << size;
      EXPECT_TRUE(e.Value.Text == big) << "size " << size;
    }
  }
}

}  // namespace
