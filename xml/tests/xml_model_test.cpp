// The document model: values, attribute and node lists, nodes and files.
#include <gtest/gtest.h>

#include "XMLLibLite.h"
#include "errors.h"
#include "fake_platform.h"
#include "tree_dump.h"

namespace {

class XmlModel : public ::testing::Test {
protected:
  FakePlatform os;
  ScopedPlatform scope{os};
};

TEST(XmlValue, SetTextRecognisesEnclosingQuotes) {
  struct Row {
    std::u16string Raw;
    std::u16string Text;
    char16_t QuoteChar;
    bool Quoted;
    std::u16string Shown;
  };
  const Row rows[] = {
      {u"", u"", u'"', false, u""},
      {u"plain", u"plain", u'"', false, u"plain"},
      {u"\"dq\"", u"dq", u'"', true, u"\"dq\""},
      {u"'sq'", u"sq", u'\'', true, u"'sq'"},
      {u"\"", u"", u'"', true, u"\"\""},
      {u"'", u"", u'\'', true, u"''"},
      {u"\"open", u"ope", u'"', true, u"\"ope\""},   // the last code unit goes whatever it is
      {u"'mixed\"", u"mixed", u'\'', true, u"'mixed'"},
      {u"in\"side\"", u"in\"side\"", u'"', false, u"in\"side\""},
      {u" \"lead\"", u" \"lead\"", u'"', false, u" \"lead\""},
  };
  for (const Row& row : rows) {
    TXMLValue value;
    value.SetText(u"'previous'");
    value.SetText(row.Raw);
    const std::string label = ToUtf8(row.Raw);
    EXPECT_EQ(value.Text, row.Text) << "raw: " << label;
    EXPECT_EQ(value.QuoteChar, row.QuoteChar) << "raw: " << label;
    EXPECT_EQ(value.Quoted, row.Quoted) << "raw: " << label;
    EXPECT_EQ(value.GetText(), row.Shown) << "raw: " << label;
  }
}

TEST(XmlValue, StartsEmptyAndUnquoted) {
  TXMLValue value;
  EXPECT_EQ(value.Text, u"");
  EXPECT_FALSE(value.Quoted);
  EXPECT_EQ(value.QuoteChar, u'"');
}

TEST_F(XmlModel, AttributeListAddTrimsAndAppends) {
  TXMLAttributeList list;
  EXPECT_EQ(list.Add(u"  id\t", u" 'x' "), 0);
  EXPECT_EQ(list.Add(u"id", u"2"), 1) << "Add does not merge";
  ASSERT_EQ(list.Count(), 2);
  TXMLAttribute* first = list.Get(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Name, u"id");
  EXPECT_EQ(first->Value.Text, u"x");
  EXPECT_EQ(first->Value.QuoteChar, u'\'');
  EXPECT_EQ(first->Owner(), &list);
  EXPECT_EQ(list.ValueOf(u"ID"), u"x") << "the first of two equal names";
}

TEST_F(XmlModel, OutOfRangeYieldsNothingAndDoesNothing) {
  TXMLAttributeList attributes(u"a=\"1\" b=\"2\"");
  for (int index : {-1, 2, 1000, -2147483647 - 1}) {
    EXPECT_EQ(attributes.Get(index), nullptr) << "index " << index;
    attributes.Delete(index);
    EXPECT_EQ(attributes.Count(), 2) << "index " << index;
  }
  EXPECT_EQ(attributes.Find(u"c"), nullptr);
  EXPECT_EQ(attributes.IndexOf(u"c", true), -1);

  TXMLNode node;
  TXMLNode::Create(node).Name.push_back(u'x');
  for (int index : {-1, 1, 1000}) {
    EXPECT_EQ(node.Children.Get(index), nullptr) << "index " << index;
    node.Children.Delete(index);
    EXPECT_EQ(node.ChildCount(), 1) << "index " << index;
  }
  EXPECT_EQ(node.Children.Find(u"y"), nullptr);
  EXPECT_EQ(node.Children.IndexOf(u"y", false), -1);
}

TEST_F(XmlModel, LookupsIgnoreCaseOnlyWhenAsked) {
  struct Row {
    std::u16string Written;
    std::u16string Asked;
    bool Exact;  // IndexOf without IgnoreCase finds it
    bool Found;  // Find / IndexOf with IgnoreCase finds it
  };
  const Row rows[] = {
      {u"PATH", u"path", false, true},
      {u"path", u"PATH", false, true},
      {u"Path", u"Path", true, true},
      {u"Größe", u"GRÖßE", false, true},
      {u"Ärger", u"ärger", false, true},
      {u"path", u" path", false, false},  // the asked name is not trimmed
      {u"path", u"pat", false, false},
  };
  for (const Row& row : rows) {
    const std::string label = ToUtf8(row.Written) + " asked as " + ToUtf8(row.Asked);
    TXMLAttributeList attributes;
    attributes.Add(u"other", u"0");
    attributes.Add(row.Written, u"'v'");
    EXPECT_EQ(attributes.IndexOf(row.Asked, false), row.Exact ? 1 : -1) << label;
    EXPECT_EQ(attributes.IndexOf(row.Asked, true), row.Found ? 1 : -1) << label;
    EXPECT_EQ(attributes.ValueOf(row.Asked, u"default"), row.Found ? u"v" : u"default") << label;

    TXMLNode node;
    TXMLNode::Create(node).Name = u"other";
    TXMLNode::Create(node).Name = row.Written;
    EXPECT_EQ(node.Children.IndexOf(row.Asked, false), row.Exact ? 1 : -1) << label;
    EXPECT_EQ(node.Children.Find(row.Asked), row.Found ? node.Children.Get(1) : nullptr) << label;
  }
}

TEST_F(XmlModel, ValueOfGivesTheDefaultOnlyForAnAbsentAttribute) {
  TXMLAttributeList attributes(u"empty=\"\" quoted='q' bare=1 spaced= \"x\"");
  EXPECT_EQ(attributes.ValueOf(u"empty", u"d"), u"");
  EXPECT_EQ(attributes.ValueOf(u"quoted", u"d"), u"q");
  EXPECT_EQ(attributes.ValueOf(u"bare", u"d"), u"1");
  EXPECT_EQ(attributes.ValueOf(u"spaced", u"d"), u"");
  EXPECT_EQ(attributes.ValueOf(u"missing", u"d"), u"d");
  EXPECT_EQ(attributes.ValueOf(u"missing"), u"");
}

TEST_F(XmlModel, FetchingCopiesKeepQuotesIntoTheValue) {
  TXMLAttributeList attributes(u"a='1'");
  ASSERT_EQ(attributes.ToText(), u"a='1'");
  // Writing marked the value quoted; a fetch undoes that.
  EXPECT_EQ(attributes.Get(0)->Value.GetText(), u"1");
  attributes.KeepQuotes = true;
  EXPECT_EQ(attributes.Find(u"A")->Value.GetText(), u"'1'");
  EXPECT_EQ(attributes.ValueOf(u"a"), u"'1'");
  attributes.KeepQuotes = false;
  EXPECT_EQ(attributes.ValueOf(u"a"), u"1");
}

TEST_F(XmlModel, DeleteAndClearRemoveTheRightEntries) {
  TXMLAttributeList attributes(u"a=\"1\" b=\"2\" c=\"3\"");
  attributes.Delete(1);
  ASSERT_EQ(attributes.Count(), 2);
  EXPECT_EQ(attributes.Get(1)->Name, u"c");
  attributes.Clear();
  EXPECT_EQ(attributes.Count(), 0);

  TXMLFile file;
  file.LoadFromText(u"<r><a><x/></a><b/><c/></r>");
  TXMLNode& r = *file.Document.Children.Get(0);
  r.Children.Delete(0);
  EXPECT_EQ(xmltest::DumpNode(r), "r{b,c}");
  r.Children.Clear();
  EXPECT_FALSE(r.HasChildren());
  EXPECT_EQ(file.SaveToText(), u"<r/>\r\n");
}

TEST_F(XmlModel, NodeClearEmptiesEverything) {
  TXMLFile file;
  file.LoadFromText(u"<?x a=\"1\"?>");
  TXMLNode& node = *file.Document.Children.Get(0);
  node.Value.SetText(u"'t'");
  TXMLNode::Create(node);
  node.Clear();
  EXPECT_EQ(node.Name, u"");
  EXPECT_EQ(node.Kind, u"");
  EXPECT_EQ(node.Attributes.Count(), 0);
  EXPECT_EQ(node.ChildCount(), 0);
  EXPECT_EQ(node.Value.GetText(), u"");
  EXPECT_EQ(node.Value.QuoteChar, u'"');
}

TEST_F(XmlModel, CreateAttachesTheNodeToItsParent) {
  TXMLNode root;
  TXMLNode& a = TXMLNode::Create(root);
  TXMLNode& b = TXMLNode::Create(root);
  EXPECT_EQ(root.ChildCount(), 2);
  EXPECT_EQ(root.Children.Get(0), &a);
  EXPECT_EQ(root.Children.Get(1), &b);
  EXPECT_EQ(a.Parent(), &root);

  auto loose = std::make_unique<TXMLNode>();
  TXMLNode* raw = loose.get();
  EXPECT_EQ(loose->Parent(), nullptr);
  EXPECT_EQ(a.Children.Add(std::move(loose)), 0);
  EXPECT_EQ(raw->Parent(), &a);
  EXPECT_EQ(a.Children.Add(nullptr), -1);
  EXPECT_EQ(a.ChildCount(), 1);
}

TEST_F(XmlModel, AFileWithoutNameIsEmpty) {
  TXMLFile file;
  EXPECT_EQ(file.Document.ChildCount(), 0);
  EXPECT_EQ(file.SaveToText(), u"");
  EXPECT_EQ(file.Document.Parent(), nullptr);
}

TEST_F(XmlModel, AMissingFileLeavesTheDocumentAsItWas) {
  TXMLFile missing(u"C:\\Setup\\nothing.xml");
  EXPECT_EQ(missing.SaveToText(), u"");

  os.AddFile(u"C:\\Setup\\first.xml", "<first a=\"1\"/>");
  TXMLFile file(u"C:\\Setup\\first.xml");
  ASSERT_EQ(file.Document.ChildCount(), 1);
  EXPECT_FALSE(file.LoadFromFile(u"C:\\Setup\\second.xml"));
  EXPECT_EQ(xmltest::DumpChildren(file.Document), "first[a=\"1\"]");
  EXPECT_TRUE(file.LoadFromFile(u"c:\\setup\\FIRST.xml"));
}

TEST_F(XmlModel, LoadFromFileOfAnEmptyDocumentReportsNoNode) {
  os.AddFile(u"C:\\Setup\\a.xml", "<a/>");
  os.AddFile(u"C:\\Setup\\blank.xml", "   ");
  TXMLFile file(u"C:\\Setup\\a.xml");
  EXPECT_FALSE(file.LoadFromFile(u"C:\\Setup\\blank.xml"));
  EXPECT_EQ(file.Document.ChildCount(), 0) << "an existing file replaces the tree even when empty";
}

TEST_F(XmlModel, AnUnreadableFileRaisesItsOpenError) {
  os.AddFile(u"C:\\Setup\\locked.xml", "<a/>");
  os.LockForWriting(u"C:\\Setup\\locked.xml");
  TXMLFile file;
  file.LoadFromText(u"<old/>");
  EXPECT_THROW(file.LoadFromFile(u"C:\\Setup\\locked.xml"), EFOpenError);
  EXPECT_THROW(TXMLFile{u"C:\\Setup\\locked.xml"}, EFOpenError);
}

TEST_F(XmlModel, TheFirstTopLevelNodeMayBeADeclaration) {
  TXMLFile file;
  file.LoadFromText(u"<?xml version=\"1.0\"?>\r\n<package id=\"p\"/>");
  ASSERT_EQ(file.Document.ChildCount(), 2);
  TXMLNode* first = file.Document.Children.Get(0);
  EXPECT_EQ(first->Kind, u"?");
  EXPECT_EQ(first->Name, u"xml");
  EXPECT_FALSE(first->HasChildren());
  EXPECT_EQ(file.Document.Children.Get(1)->Attributes.ValueOf(u"ID"), u"p");
}

}  // namespace
