// The reader: which tree a text gives, for well-formed and for broken input.
#include <gtest/gtest.h>

#include "XMLLibLite.h"
#include "fake_platform.h"
#include "tree_dump.h"

using xmltest::DumpChildren;
using xmltest::Read;

namespace {

struct Case {
  const char* Label;
  std::u16string Text;
  std::string Tree;
};

class XmlReader : public ::testing::Test {
protected:
  FakePlatform os;
  ScopedPlatform scope{os};

  void Check(const std::vector<Case>& cases) {
    for (const Case& c : cases) EXPECT_EQ(Read(c.Text), c.Tree) << "row: " << c.Label;
  }
};

TEST_F(XmlReader, BuildsElementsAttributesAndText) {
  Check({
      {"empty text", u"", ""},
      {"no tag at all", u"just some words", ""},
      {"empty element", u"<a/>", "a"},
      {"start and end tag", u"<a></a>", "a"},
      {"element text is trimmed", u"<a>  hello world \r\n</a>", "a(hello world)"},
      {"line breaks inside text stay", u"<a>one\r\n  two</a>", "a(one\\r\\n  two)"},
      {"nesting in text order", u"<a><b/><c><d/></c></a>", "a{b,c{d}}"},
      {"attributes in order", u"<a id=\"x\" n='y'/>", "a[id=\"x\",n='y']"},
      {"names keep their case", u"<Package ID=\"1\"/>", "Package[ID=\"1\"]"},
      {"text before a child goes to the parent", u"<a>one<b/></a>", "a(one){b}"},
      {"the last text in an element wins", u"<a>one<b/>two</a>", "a(two){b}"},
      {"white space only changes nothing", u"<a>one<b/>  \r\n </a>", "a(one){b}"},
      {"text before the first tag is dropped", u"lead<a/>", "a"},
      {"text after the last tag is dropped", u"<a/>tail", "a"},
      {"a lone < at the end is ignored", u"<a>x<", "a"},
      {"quoted text keeps its quotes", u"<a>\"quoted\"</a>", "a(\"quoted\")"},
      {"apostrophe-quoted text", u"<a>'it'</a>", "a('it')"},
      {"references stay undecoded", u"<a t=\"&amp;&#228;\">&lt;x&gt;</a>", "a[t=\"&amp;&#228;\"](&lt;x&gt;)"},
      {"a namespace prefix is part of the name", u"<ns:a ns:b=\"1\"/>", "ns:a[ns:b=\"1\"]"},
      {"\">\" inside double quotes stays in the tag", u"<a x=\"1>2\"/>", "a[x=\"1>2\"]"},
      {"a space before \">\" ends the name", u"<a ></a>", "a"},
      {"two top-level elements", u"<a/><b/>", "a,b"},
  });
}

TEST_F(XmlReader, ReadsSpecialNodesAsClosedNodesOfTheirKind) {
  Check({
      {"declaration", u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><root/>",
       "?xml[version=\"1.0\",encoding=\"UTF-8\"],root"},
      {"processing instruction inside an element", u"<a><?pi data?></a>", "a{?pi[=\"data\"]}"},
      {"comment", u"<!-- note --><a/>", "!--[=\"note --\"],a"},
      {"doctype", u"<!DOCTYPE root><root/>", "!DOCTYPE[=\"root\"],root"},
      {"a repeated kind before > is dropped", u"<!x!>", "!x"},
      {"special nodes never take children", u"<?x?><a/>", "?x,a"},
      {"comment with > ends there; the rest is text", u"<a><!-- x > y --></a>", "a(y -->){!--[=\"x\"]}"},
      {"an unpaired quote in a comment runs on to the next > after the next quote",
       u"<a><!-- say \"hi --><b/>\" --><c/></a>", "a{!--[=\"say \"hi --><b/>\" --\"],c}"},
  });
}

TEST_F(XmlReader, ToleratesUnbalancedTags) {
  Check({
      {"an end tag with another name closes all the same", u"<a><b></x><c/></a>", "a{b,c}"},
      {"a missing end tag nests what follows", u"<a><b><c/>", "a{b{c}}"},
      {"end tags too many at the top", u"<a/></x></y><b/>", "a,b"},
      {"text before an end tag with no element open is dropped", u"hello</x><b/>", "b"},
      {"text between top-level elements is not an element's", u"<a/>between<b/>", "a,b"},
      {"a closing element tag goes back to the top", u"<a></a>t<b>u</b>", "a,b(u)"},
  });
}

// Inputs whose handling the reader decides itself: never a crash or a read past the end.
TEST_F(XmlReader, DecidesBrokenTagsSafely) {
  Check({
      {"empty tag makes no node", u"<a><>x</a>", "a(x)"},
      {"empty tag at the top", u"<><a/>", "a"},
      {"kind alone", u"<?><a/>", "a"},
      {"kind twice", u"<!!><a/>", "a"},
      {"question marks twice", u"<?\?><a/>", "a"},
      {"kind and slash", u"<?/><a/>", "a"},
      {"unfinished tag at the end is dropped", u"<a><b x=\"1\"", "a"},
      {"unfinished tag drops the text before it", u"<a>text<b", "a"},
      {"odd number of double quotes swallows the rest", u"<a x=\"1/><b/><c/>", ""},
      {"odd quotes inside an element", u"<r><a x=\"1/><b/><c/></r>", "r"},
      {"a single <", u"<", ""},
      {"a single < with text after", u"<a", ""},
      {"apostrophes do not protect >", u"<a x='1>2'/>", "a"},
  });
}

TEST_F(XmlReader, SplitsTheNameAtTheFirstSpaceOnly) {
  Check({
      {"TAB after the name", u"<a\tx=\"1\" y=\"2\"/>", "a\\tx=\"1\"[y=\"2\"]"},
      {"line break after the name", u"<a\r\nx=\"1\"/>", "a\\r\\nx=\"1\""},
      {"name is not trimmed", u"<a\t>t</a>", "a\\t(t)"},
  });
}

TEST_F(XmlReader, ReadsAttributeTextByItsOwnRules) {
  Check({
      {"TAB and line breaks between pairs", u"<a x=\"1\"\ty=\"2\"\r\n z=\"3\"/>", "a[x=\"1\",y=\"2\",z=\"3\"]"},
      {"empty quoted value", u"<a x=\"\"/>", "a[x=\"\"]"},
      {"unquoted one-character value", u"<a checked=1/>", "a[checked=\"1\"]"},
      {"unquoted longer value is cut and feeds the next name", u"<a x=12 y=\"3\"/>", "a[x=\"1\",2 y=\"3\"]"},
      {"unquoted longer value at the end is cut", u"<a x=12/>", "a[x=\"1\"]"},
      {"space after = gives an empty value", u"<a x= \"1\" y=\"2\"/>", "a[x=\"\",\"1\" y=\"2\"]"},
      {"= inside a quoted value", u"<a x=\"p=q\"/>", "a[x=\"p=q\"]"},
      {"apostrophe ends a double-quoted value", u"<a x=\"it's\" y=\"2\"/>", "a[x=\"it\",s\" y=\"2\"]"},
      {"double quote ends an apostrophe-quoted value", u"<a x='say\"hi' y='2\"'/>", "a[x='say',hi' y='2']"},
      {"repeated name keeps the first place and the last value", u"<a x=\"1\" y=\"2\" X=\"3\"/>",
       "a[x=\"3\",y=\"2\"]"},
      {"repeat after a TAB is not recognised", u"<a x=\"1\"\tx=\"2\"/>", "a[x=\"1\",x=\"2\"]"},
      {"repeat with a space before = is not recognised", u"<a x=\"1\" x =\"2\"/>", "a[x=\"1\",x=\"2\"]"},
      {"no = at all: one nameless attribute", u"<a  some words  />", "a[=\"some words\"]"},
      {"quoted text without =", u"<a 'w'/>", "a[='w']"},
      {"doubled = is dropped", u"<a x==\"1\"/>", "a[x=\"1\"]"},
      {"pair without value is dropped", u"<a x=\"1\" y=/>", "a[x=\"1\"]"},
      {"unterminated value is dropped", u"<a x=\"1\" y=\"2/>", ""},
      {"a value without a name drops the rest", u"<a =\"1\" y=\"2\"/>", "a"},
  });
}

TEST_F(XmlReader, LoadFromTextSaysWhetherItFoundANode) {
  TXMLFile file;
  EXPECT_FALSE(file.LoadFromText(u""));
  EXPECT_FALSE(file.LoadFromText(u"no markup here"));
  EXPECT_TRUE(file.LoadFromText(u"<a/>"));
  EXPECT_FALSE(file.LoadFromText(u"<>"));
  EXPECT_EQ(file.Document.ChildCount(), 0) << "a load replaces the previous tree";
}

TEST_F(XmlReader, ParseAppendsBelowTheRootWithoutClearingIt) {
  TXMLNode root;
  TXMLNode::Parse(u"<a/>", root);
  TXMLNode::Parse(u"<b/>", root);
  EXPECT_EQ(DumpChildren(root), "a,b");
}

TEST_F(XmlReader, TextBetweenTopLevelNodesGoesToTheRootValue) {
  TXMLNode root;
  TXMLNode::Parse(u"<a/> between <b/>", root);
  EXPECT_EQ(root.Value.Text, u"between");
}

// An end tag too many never climbs out of the node being read into.
TEST_F(XmlReader, ExtraEndTagsStayInsideTheRoot) {
  TXMLNode document;
  TXMLNode& inner = TXMLNode::Create(document);
  TXMLNode::Parse(u"<a/></x></y><b/>", inner);
  EXPECT_EQ(DumpChildren(document), "{a,b}");
  EXPECT_EQ(inner.ChildCount(), 2);
}

TEST_F(XmlReader, BuildsParentLinks) {
  TXMLFile file;
  file.LoadFromText(u"<a><b><c/></b></a>");
  TXMLNode* a = file.Document.Children.Get(0);
  ASSERT_NE(a, nullptr);
  TXMLNode* b = a->Children.Get(0);
  ASSERT_NE(b, nullptr);
  TXMLNode* c = b->Children.Get(0);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Parent(), b);
  EXPECT_EQ(b->Parent(), a);
  EXPECT_EQ(a->Parent(), &file.Document);
  EXPECT_EQ(file.Document.Parent(), nullptr);
  EXPECT_EQ(a->Children.Owner(), a);
}

TEST_F(XmlReader, MergesRepeatedNamesInATagWithManyAttributes) {
  // Enough attributes that a lookup by index is worth it; repeats in any case merge.
  std::u16string tag = u"<a";
  for (int i = 0; i < 200; ++i) tag += u" n" + FromUtf8(std::to_string(i)) + u"=\"" + FromUtf8(std::to_string(i)) + u"\"";
  tag += u" N7=\"late\" n199=\"end\" n200=\"new\"/>";
  TXMLFile file;
  file.LoadFromText(tag);
  TXMLNode* a = file.Document.Children.Get(0);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Attributes.Count(), 201);
  EXPECT_EQ(a->Attributes.ValueOf(u"n7"), u"late");
  EXPECT_EQ(a->Attributes.IndexOf(u"n7", false), 7);
  EXPECT_EQ(a->Attributes.ValueOf(u"N199"), u"end");
  EXPECT_EQ(a->Attributes.IndexOf(u"n200", false), 200);
}

TEST_F(XmlReader, MergesARepeatWhereverItStandsAmongThePairs) {
  // Tags of about as many pairs as the reader collects before it builds them, each ending with
  // a repeat of the first name in capitals and a repeat of the last one.
  for (const int pairs : {1, 2, 15, 16, 17, 18, 31, 32, 33}) {
    std::u16string tag = u"<a";
    for (int i = 0; i < pairs; ++i) tag += u" k" + FromUtf8(std::to_string(i)) + u"='" + FromUtf8(std::to_string(i)) + u"'";
    const std::u16string last = u"k" + FromUtf8(std::to_string(pairs - 1));
    tag += u" K0='first again' " + last + u"='last again'/>";
    TXMLFile file;
    file.LoadFromText(tag);
    TXMLNode* a = file.Document.Children.Get(0);
    ASSERT_NE(a, nullptr) << pairs << " pairs";
    EXPECT_EQ(a->Attributes.Count(), pairs) << pairs << " pairs";
    EXPECT_EQ(a->Attributes.Get(0)->Name, u"k0") << pairs << " pairs";
    EXPECT_EQ(a->Attributes.ValueOf(u"k0"), pairs == 1 ? u"last again" : u"first again") << pairs << " pairs";
    EXPECT_EQ(a->Attributes.IndexOf(last, false), pairs - 1) << pairs << " pairs";
    EXPECT_EQ(a->Attributes.ValueOf(last), u"last again") << pairs << " pairs";
    if (pairs > 2) {
      EXPECT_EQ(a->Attributes.ValueOf(u"k1"), u"1") << pairs << " pairs";
    }
  }
}

TEST_F(XmlReader, ComparesRepeatedNamesWithTheSystemsLowerCase) {
  TXMLFile file;
  file.LoadFromText(u"<a Größe=\"1\" GRÖSSE=\"2\" größe=\"3\"/>");
  TXMLNode* a = file.Document.Children.Get(0);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(xmltest::DumpNode(*a), "a[Größe=\"3\",GRÖSSE=\"2\"]");
}

}  // namespace
