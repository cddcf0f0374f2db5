// Reader -> writer -> reader on arbitrary bytes. The bytes are taken as a file and decoded by
// ReadTextFile (byte-order marks, UTF-8, UTF-16 and the ANSI code page of the fake machine).
//
// For every input: reading and writing never fail; the written text is empty exactly when the
// document has no node and otherwise ends with CR LF; parent links are consistent.
// When the first tree stays within what the format can carry (names and attribute values free of
// markup characters, quotes and white space where they would change the reading, no repeated or
// nameless attributes, no line breaks in values or text), reading the written text gives the same
// tree again and writing that gives the same text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "XMLLibLite.h"
#include "errors.h"
#include "fake_platform.h"

namespace {

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "xml_fuzzer: %s\n", what);
    std::abort();
  }
}

bool SafeNameUnit(char16_t c) {
  return c > u' ' && c != u'<' && c != u'>' && c != u'"' && c != u'\'' && c != u'/' && c != u'=' && c != u'?' &&
         c != u'!';
}

bool SafeName(const std::u16string& name) {
  if (name.empty()) return false;
  for (char16_t c : name) {
    if (!SafeNameUnit(c)) return false;
  }
  return true;
}

bool NoLineBreakOrMarkup(const std::u16string& text) {
  for (char16_t c : text) {
    if (c == u'\r' || c == u'\n' || c == u'<' || c == u'>') return false;
  }
  return true;
}

// Whether a node's own parts survive writing and reading unchanged.
bool CarriesOver(TXMLNode& node) {
  if (!SafeName(node.Name)) return false;
  for (int i = 0; i < node.Attributes.Count(); ++i) {
    TXMLAttribute* a = node.Attributes.Get(i);
    if (!SafeName(a->Name) || !NoLineBreakOrMarkup(a->Value.Text)) return false;
    for (char16_t c : a->Value.Text) {
      if (c == u'"' || c == u'\'') return false;
    }
    const std::u16string lower = Platform::Current().LowerCase(a->Name);
    for (int k = 0; k < i; ++k) {
      if (Platform::Current().LowerCase(node.Attributes.Get(k)->Name) == lower) return false;
    }
  }
  return NoLineBreakOrMarkup(node.Value.Text);
}

struct Shape {
  bool Clean = true;
  std::size_t MaxDepth = 0;
  std::size_t Nodes = 0;
};

// Walks the tree without recursion, checking parent links on the way.
Shape Inspect(TXMLNode& root) {
  Shape shape;
  std::vector<std::pair<TXMLNode*, std::size_t>> stack{{&root, 0}};
  while (!stack.empty()) {
    auto [node, depth] = stack.back();
    stack.pop_back();
    shape.MaxDepth = std::max(shape.MaxDepth, depth);
    if (node != &root) {
      ++shape.Nodes;
      if (!CarriesOver(*node)) shape.Clean = false;
      if (!node->Kind.empty()) Require(!node->HasChildren(), "a special node has children");
    }
    Require(node->Children.Owner() == node, "child list owner");
    for (int i = 0; i < node->ChildCount(); ++i) {
      TXMLNode* child = node->Children.Get(i);
      Require(child && child->Parent() == node, "parent link");
      stack.push_back({child, depth + 1});
    }
  }
  return shape;
}

// The tree as one comparable string (children in order), built without recursion.
std::u16string Picture(TXMLNode& root) {
  std::u16string out;
  std::vector<std::pair<TXMLNode*, bool>> stack;
  for (int i = root.ChildCount() - 1; i >= 0; --i) stack.push_back({root.Children.Get(i), false});
  while (!stack.empty()) {
    auto [node, closing] = stack.back();
    stack.pop_back();
    if (closing) {
      out += u'}';
      continue;
    }
    out += u'{' + node->Kind + u'|' + node->Name + u'|';
    for (int i = 0; i < node->Attributes.Count(); ++i) {
      TXMLAttribute* a = node->Attributes.Get(i);
      out += a->Name + u'=' + a->Value.QuoteChar + a->Value.Text + u'|';
    }
    out += node->Value.GetText() + u'|';
    stack.push_back({node, true});
    for (int i = node->ChildCount() - 1; i >= 0; --i) stack.push_back({node->Children.Get(i), false});
  }
  return out;
}

FakePlatform& Machine() {
  static FakePlatform machine;
  static ScopedPlatform scope(machine);
  return machine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 20)) return 0;
  FakePlatform& machine = Machine();
  machine.AddFile(u"C:\\Fuzz\\input.xml", std::string(reinterpret_cast<const char*>(data), size));
  const std::u16string text = ReadTextFile(u"C:\\Fuzz\\input.xml");

  TXMLFile first;
  const bool any = first.LoadFromText(text);
  Require(any == first.Document.HasChildren(), "LoadFromText result");
  const Shape shape = Inspect(first.Document);
  // Every line is indented once per level, so the text grows with depth times size: leave
  // writing out for inputs whose text would run into gigabytes.
  if (shape.MaxDepth * (text.size() + 1) > 50'000'000) return 0;

  const std::u16string written = first.SaveToText();
  Require(written.empty() == !any, "written text is empty exactly for an empty document");
  Require(written.empty() || (written.size() >= 2 && written.compare(written.size() - 2, 2, u"\r\n") == 0),
          "written text ends with CR LF");

  TXMLFile second;
  second.LoadFromText(written);
  const Shape again = Inspect(second.Document);
  if (shape.Clean) {
    Require(Picture(second.Document) == Picture(first.Document), "round trip changed the tree");
    Require(again.Nodes == shape.Nodes, "round trip changed the node count");
    Require(second.SaveToText() == written, "second writing differs");
  }

  // Lookups on whatever the input named.
  if (TXMLNode* top = first.Document.Children.Get(0)) {
    if (TXMLAttribute* a = top->Attributes.Get(0)) {
      Require(top->Attributes.Find(a->Name) != nullptr, "Find of an attribute's own name");
      top->Attributes.ValueOf(a->Name, u"default");
    }
    Require(first.Document.Children.Find(top->Name) != nullptr, "Find of a node's own name");
    top->Children.Delete(-1);
    top->Children.Delete(top->ChildCount());
    top->Children.Delete(0);
  }
  return 0;
}
