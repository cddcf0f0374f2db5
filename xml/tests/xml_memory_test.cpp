// Trees whose nodes come partly from the reader's arena and partly from the heap: every way of
// mixing, deleting and reloading them must leave a sound tree (the sanitize build checks that
// nothing is freed twice, used after it is freed, or leaked).
#include <gtest/gtest.h>

#include <memory>

#include "XMLLibLite.h"
#include "fake_platform.h"
#include "tree_dump.h"

namespace {

using xmltest::DumpChildren;

class XmlMemory : public ::testing::Test {
protected:
  FakePlatform os;
  ScopedPlatform scope{os};
};

TEST_F(XmlMemory, HeapAndReadNodesMixInOneTree) {
  TXMLFile file;
  ASSERT_TRUE(file.LoadFromText(u"<a><b x=\"1\"/><c/></a>"));
  TXMLNode& a = *file.Document.Children.Get(0);

  // A heap node among read ones, and read nodes below a heap node.
  TXMLNode& made = TXMLNode::Create(a);
  made.Name = u"made";
  TXMLNode::Parse(u"<inner y='2'><leaf/></inner>", made);
  auto adopted = std::make_unique<TXMLNode>();
  adopted->Name = u"adopted";
  TXMLNode::Parse(u"<own/>", *adopted);  // read into a tree of its own, then handed over
  a.Children.Add(std::move(adopted));
  EXPECT_EQ(DumpChildren(file.Document),
            "a{b[x=\"1\"],c,made{inner[y='2']{leaf}},adopted{own}}");

  a.Children.Delete(1);  // c: a read node
  a.Children.Delete(1);  // made: a heap node with read nodes below
  EXPECT_EQ(DumpChildren(file.Document), "a{b[x=\"1\"],adopted{own}}");

  // Reading more into a tree that has lost nodes, then reloading it, then once more.
  TXMLNode::Parse(u"<d>text</d>", a);
  EXPECT_EQ(DumpChildren(file.Document), "a{b[x=\"1\"],adopted{own},d(text)}");
  ASSERT_TRUE(file.LoadFromText(u"<z/>"));
  EXPECT_EQ(DumpChildren(file.Document), "z");
  ASSERT_TRUE(file.LoadFromText(u"<y><w/></y>"));
  EXPECT_EQ(DumpChildren(file.Document), "y{w}");
  EXPECT_FALSE(file.LoadFromText(u"nothing"));
  EXPECT_EQ(file.SaveToText(), u"");
}

TEST_F(XmlMemory, NodesOutliveReloadsOfOtherDocuments) {
  // Each document keeps its own nodes: reloading one leaves pointers into another valid.
  TXMLFile first, second;
  ASSERT_TRUE(first.LoadFromText(u"<keep name=\"first\"/>"));
  TXMLNode* kept = first.Document.Children.Get(0);
  for (int round = 0; round < 3; ++round) ASSERT_TRUE(second.LoadFromText(u"<other/><other/>"));
  EXPECT_EQ(kept->Attributes.ValueOf(u"name"), u"first");
  EXPECT_EQ(second.Document.ChildCount(), 2);
}

TEST_F(XmlMemory, ADocumentNodeDestroyedWithReadNodesFreesThem) {
  auto standalone = std::make_unique<TXMLNode>();
  TXMLNode::Parse(u"<p><q><r/></q></p>", *standalone);
  TXMLNode* q = standalone->Children.Get(0)->Children.Get(0);
  TXMLNode::Parse(u"<s/>", *q);  // reading below an inner node uses the tree's arena
  EXPECT_EQ(DumpChildren(*standalone), "p{q{r,s}}");
  standalone.reset();  // all of them go with it
}

}  // namespace
