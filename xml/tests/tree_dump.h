// A compact one-line picture of a tree, for comparing trees in table tests:
//   node      = Kind Name [attributes] (text) {children}
//   attribute = Name=QuoteChar Text QuoteChar
// Attributes show the quote they were read with; text shows Value.GetText (quotes included when
// the element text was quoted). Line breaks and TABs in names and text appear as \r \n \t.
#pragma once

#include <string>

#include "XMLLibLite.h"
#include "errors.h"

namespace xmltest {

inline std::string Visible(const std::u16string& text) {
  std::string out;
  for (char c : ToUtf8(text)) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else out += c;
  }
  return out;
}

inline std::string DumpNode(TXMLNode& node);

inline std::string DumpChildren(TXMLNode& node) {
  std::string out;
  for (int i = 0; i < node.ChildCount(); ++i) {
    if (i > 0) out += ",";
    out += DumpNode(*node.Children.Get(i));
  }
  return out;
}

inline std::string DumpNode(TXMLNode& node) {
  std::string out = Visible(node.Kind + node.Name);
  if (node.Attributes.Count() > 0) {
    out += "[";
    for (int i = 0; i < node.Attributes.Count(); ++i) {
      TXMLAttribute* a = node.Attributes.Get(i);
      if (i > 0) out += ",";
      out += Visible(a->Name + u"=" + a->Value.QuoteChar + a->Value.Text + a->Value.QuoteChar);
    }
    out += "]";
  }
  const std::u16string text = node.Value.GetText();
  if (!text.empty()) out += "(" + Visible(text) + ")";
  if (node.HasChildren()) out += "{" + DumpChildren(node) + "}";
  return out;
}

// The top-level nodes of a text as read into a fresh document.
inline std::string Read(const std::u16string& text) {
  TXMLFile file;
  file.LoadFromText(text);
  return DumpChildren(file.Document);
}

}  // namespace xmltest
