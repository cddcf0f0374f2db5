// The writer: the exact text of a tree, and reading that text back.
#include <gtest/gtest.h>

#include <random>

#include "XMLLibLite.h"
#include "fake_platform.h"
#include "tree_dump.h"

using xmltest::DumpChildren;
using xmltest::Read;

namespace {

class XmlWriter : public ::testing::Test {
protected:
  FakePlatform os;
  ScopedPlatform scope{os};
};

std::u16string Written(const std::u16string& text) {
  TXMLFile file;
  file.LoadFromText(text);
  return file.SaveToText();
}

TEST_F(XmlWriter, WritesEachNodeInItsForm) {
  struct Row {
    const char* Label;
    std::u16string Text;
    std::u16string Expected;
  };
  const Row rows[] = {
      {"empty document", u"", u""},
      {"empty element", u"<a/>", u"<a/>\r\n"},
      {"start and end tag become the empty form", u"<a></a>", u"<a/>\r\n"},
      {"text on one line", u"<a>  t  </a>", u"<a>t</a>\r\n"},
      {"attributes in double quotes", u"<a x=\"1\" y=\"\"/>", u"<a x=\"1\" y=\"\"/>\r\n"},
      {"apostrophes are kept", u"<a x='1'/>", u"<a x='1'/>\r\n"},
      {"unquoted values gain double quotes", u"<a x=1/>", u"<a x=\"1\"/>\r\n"},
      {"nameless attribute", u"<a  some words />", u"<a \"some words\"/>\r\n"},
      {"children indented by one TAB per level", u"<a><b><c/></b><d/></a>",
       u"<a>\r\n\t<b>\r\n\t\t<c/>\r\n\t</b>\r\n\t<d/>\r\n</a>\r\n"},
      {"text with children goes on its own line before the end tag", u"<a>t<b/></a>",
       u"<a>\r\n\t<b/>\r\nt</a>\r\n"},
      {"quoted element text keeps its quotes", u"<a>'q'</a>", u"<a>'q'</a>\r\n"},
      {"declaration", u"<?xml version=\"1.0\"?>", u"<?xml version=\"1.0\"?>\r\n"},
      {"comment gains ! and quotes", u"<!-- note -->", u"<!-- \"note --\"!>\r\n"},
      {"doctype", u"<!DOCTYPE root>", u"<!DOCTYPE \"root\"!>\r\n"},
      {"top-level nodes are concatenated", u"<a/><b>x</b>", u"<a/>\r\n<b>x</b>\r\n"},
      {"references unchanged", u"<a t=\"&amp;\">&lt;</a>", u"<a t=\"&amp;\">&lt;</a>\r\n"},
      {"end tag uses the name as written", u"<a\t>x</a>", u"<a>x</a\t>\r\n"},
      {"a top-level text keeps its own line breaks", u"<a>x\ny\rz</a>", u"<a>x\ny\rz</a>\r\n"},
      {"nested line breaks become CR LF with the indentation", u"<r><a>x\ny\rz\r\nw</a></r>",
       u"<r>\r\n\t<a>x\r\n\ty\r\n\tz\r\n\tw</a>\r\n</r>\r\n"},
      {"empty lines are indented too", u"<r><s><a>x\n\ny</a></s></r>",
       u"<r>\r\n\t<s>\r\n\t\t<a>x\r\n\t\t\r\n\t\ty</a>\r\n\t</s>\r\n</r>\r\n"},
      {"CR CR LF is two line ends", u"<r><a>x\r\r\ny</a></r>", u"<r>\r\n\t<a>x\r\n\t\r\n\ty</a>\r\n</r>\r\n"},
      {"line breaks in attribute values", u"<r><a v=\"1\n2\"/></r>", u"<r>\r\n\t<a v=\"1\r\n\t2\"/>\r\n</r>\r\n"},
  };
  for (const Row& row : rows) EXPECT_EQ(Written(row.Text), row.Expected) << "row: " << row.Label;
}

TEST_F(XmlWriter, WritesANodeWithParentAtDepthZero) {
  TXMLFile file;
  file.LoadFromText(u"<r><a><b>x\ny</b></a></r>");
  TXMLNode* a = file.Document.Children.Get(0)->Children.Get(0);
  EXPECT_EQ(a->ToText(), u"<a>\r\n\t<b>x\r\n\ty</b>\r\n</a>\r\n");
}

TEST_F(XmlWriter, WritingMarksAttributeValuesQuoted) {
  TXMLFile file;
  file.LoadFromText(u"<a x=1/>");
  TXMLNode& a = *file.Document.Children.Get(0);
  file.SaveToText();
  EXPECT_EQ(a.Attributes.Get(0)->Value.GetText(), u"1") << "a fetch clears the mark";
  EXPECT_EQ(a.Attributes.ValueOf(u"x"), u"1");
}

// The text a parent writes for its children, done the long way: every line of every child's
// text is split out and indented again at every level.
std::u16string Reference(TXMLNode& node);

std::u16string IndentLines(const std::u16string& text) {
  std::u16string out, line;
  std::size_t i = 0;
  bool any = false;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      out += u"\t" + line + u"\r\n";
      line.clear();
      i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
      any = false;
      continue;
    }
    line += c;
    any = true;
    ++i;
  }
  if (any) out += u"\t" + line + u"\r\n";
  return out;
}

std::u16string TrimCopy(const std::u16string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] <= u' ') ++b;
  while (e > b && s[e - 1] <= u' ') --e;
  return s.substr(b, e - b);
}

std::u16string Reference(TXMLNode& node) {
  if (!node.Parent()) {
    std::u16string out;
    for (int i = 0; i < node.ChildCount(); ++i) out += Reference(*node.Children.Get(i));
    return out;
  }
  const std::u16string head = u"<" + node.Kind + TrimCopy(node.Name + u" " + node.Attributes.ToText());
  const std::u16string body = TrimCopy(node.Value.GetText());
  if (!node.Kind.empty()) return head + node.Kind + u">\r\n";
  if (!node.HasChildren() && body.empty()) return head + u"/>\r\n";
  if (!node.HasChildren()) return head + u">" + body + u"</" + node.Name + u">\r\n";
  std::u16string out = head + u">\r\n";
  for (int i = 0; i < node.ChildCount(); ++i) out += IndentLines(Reference(*node.Children.Get(i)));
  return out + body + u"</" + node.Name + u">\r\n";
}

// Random trees with the awkward parts the writer has to get right: line breaks of every kind in
// names, values and text, white space at the ends, special nodes, nameless attributes.
void Grow(TXMLNode& parent, std::mt19937& rng, int depth) {
  static const std::u16string pieces[] = {u"a", u"b c", u"\r", u"\n", u"\r\n", u"\t", u" ", u"'", u"x\r", u"\ny"};
  const auto text = [&rng](int maxPieces) {
    std::u16string s;
    const int n = static_cast<int>(rng() % (maxPieces + 1));
    for (int i = 0; i < n; ++i) s += pieces[rng() % std::size(pieces)];
    return s;
  };
  const int children = depth > 4 ? 0 : static_cast<int>(rng() % 4);
  for (int i = 0; i < children; ++i) {
    TXMLNode& node = TXMLNode::Create(parent);
    node.Name = u"n" + text(2);
    if (rng() % 6 == 0) node.Kind = rng() % 2 ? u"?" : u"!";
    for (int k = static_cast<int>(rng() % 3); k > 0; --k) node.Attributes.Add(rng() % 4 ? u"k" + text(1) : u"", text(3));
    node.Value.SetText(text(4));
    Grow(node, rng, depth + 1);
  }
}

TEST_F(XmlWriter, IndentsExactlyLikeReIndentingEveryLevel) {
  std::mt19937 rng(20261211);
  for (int round = 0; round < 300; ++round) {
    TXMLNode root;
    Grow(root, rng, 0);
    EXPECT_EQ(root.ToText(), Reference(root)) << "round " << round;
    if (root.HasChildren()) {
      TXMLNode& first = *root.Children.Get(0);
      EXPECT_EQ(first.ToText(), Reference(first)) << "round " << round << ", first node alone";
    }
  }
}

TEST_F(XmlWriter, ReadingTheTextGivesBackTheSameTree) {
  const std::u16string documents[] = {
      u"<package id=\"p\" priority=\"100\" name=\"Laufzeit für Werkzeuge\" checked=\"1\">"
      u"<check type=\"file\" condition=\"notexist\" path=\"%programfiles%\\R\\r.txt\"/>"
      u"<install><cmd path=\"%package%\\r.msi\" param=\"/qn\"/></install></package>",
      u"<?xml version='1.0'?><settings RebootWhenFinish=\"1\"><timer>10</timer><!-- c --></settings>",
      u"<a>'quoted text'<b x='1' y=\"2\" \"free\"/>after<c>inner</c></a><second/>",
      u"<a><b><c><d><e>deep</e></d></c></b></a>",
      u"<a Größe=\"ÄÖÜ\">ß</a>",
  };
  for (const auto& text : documents) {
    const std::string label = ToUtf8(text);
    const std::string tree = Read(text);
    const std::u16string once = Written(text);
    EXPECT_EQ(Read(once), tree) << label;
    EXPECT_EQ(Written(once), once) << label;
  }
}

TEST_F(XmlWriter, RoundTripDiffersOnlyWhereDocumented) {
  // An unquoted value comes back quoted (its text unchanged); shown through the raw value.
  TXMLFile file;
  file.LoadFromText(Written(u"<a x=1/>"));
  TXMLAttribute& x = *file.Document.Children.Get(0)->Attributes.Get(0);
  EXPECT_EQ(x.Value.Text, u"1");
  EXPECT_EQ(x.Value.QuoteChar, u'"');

  // Text spanning lines gains one TAB per level with every cycle.
  std::u16string text = u"<r><a>x\r\ny</a></r>";
  text = Written(text);
  EXPECT_EQ(Read(text), "r{a(x\\r\\n\\ty)}");
  text = Written(text);
  EXPECT_EQ(Read(text), "r{a(x\\r\\n\\t\\ty)}");
}

TEST_F(XmlWriter, SpecialNodesComeBackAsTheSameTree) {
  for (const std::u16string text : {u"<!-- note -->", u"<?pi a=\"1\" b='2'?>", u"<!DOCTYPE x>", u"<!x!>"}) {
    const std::u16string once = Written(text);
    EXPECT_EQ(Read(once), Read(text)) << ToUtf8(text) << " written as " << ToUtf8(once);
  }
}

}  // namespace
