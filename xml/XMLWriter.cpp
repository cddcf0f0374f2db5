// The writer: a node and its subtree to text (TXMLNode::ToText), attributes to the attribute
// text of a tag (TXMLAttributeList::ToText).
//
// A node's text is defined level by level: a parent writes each line of each child's text
// behind one more TAB, where a line ends at CR LF, at a lone CR or at a lone LF, and every line
// written ends with CR LF. Doing that literally re-splits the same text once per level. The
// writer instead walks the tree with an explicit stack and writes every piece once, at the
// depth of the node it belongs to, through a sink that applies the indentation and line-end
// rule on the fly. The bytes are the same.
#include "XMLLibLite.h"
#include "text_util.h"

using xmllite::IsTrimmed;
using xmllite::Trim;
using xmllite::TrimLeft;

namespace {

// Appends text at a given depth. At depth 0 text goes out unchanged: the node whose ToText was
// called writes its own lines as they are. Deeper, each line break (CR LF, CR or LF) becomes
// CR LF and each line, empty ones included, starts with depth TABs.
class IndentingSink {
public:
  explicit IndentingSink(std::u16string& out) : out_(out) {}

  void SetDepth(std::size_t depth) { depth_ = depth; }

  void Put(std::u16string_view text) {
    if (depth_ == 0) {
      out_.append(text);
      return;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char16_t c = text[i];
      if (pendingCr_) {
        pendingCr_ = false;
        EndLine();
        if (c == u'\n') continue;
      }
      if (c == u'\r') {
        pendingCr_ = true;
      } else if (c == u'\n') {
        EndLine();
      } else {
        // Copy the run of ordinary code units in one go.
        std::size_t end = i + 1;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
        StartLine();
        out_.append(text.substr(i, end - i));
        i = end - 1;
      }
    }
  }

  // Every piece the writer puts ends a line with CR LF; a pending CR is settled here so the
  // next piece, perhaps at another depth, starts on a fresh line.
  void PutLineEnd() {
    if (depth_ == 0) {
      out_.append(u"\r\n");
      return;
    }
    if (pendingCr_) {
      // "...\r" + "\r\n": the lone CR ended one line, the CR LF ends an empty one.
      pendingCr_ = false;
      EndLine();
    }
    EndLine();
  }

private:
  void StartLine() {
    if (atLineStart_) {
      out_.append(depth_, u'\t');
      atLineStart_ = false;
    }
  }
  void EndLine() {
    StartLine();
    out_.append(u"\r\n");
    atLineStart_ = true;
  }

  std::u16string& out_;
  std::size_t depth_ = 0;
  bool atLineStart_ = true;
  bool pendingCr_ = false;
};

// "<" + Kind + trimmed (Name + " " + attribute text), without building the concatenation.
void PutHead(IndentingSink& sink, TXMLNode& node) {
  sink.Put(u"<");
  sink.Put(node.Kind);
  const std::u16string attributes = node.Attributes.ToText();  // already trimmed
  const std::u16string_view name = node.Name;
  if (Trim(name).empty()) {
    sink.Put(attributes);
  } else if (attributes.empty()) {
    sink.Put(Trim(name));
  } else {
    sink.Put(TrimLeft(name));
    sink.Put(u" ");
    sink.Put(attributes);
  }
}

void PutEndTag(IndentingSink& sink, const TXMLNode& node, std::u16string_view body) {
  sink.Put(body);
  sink.Put(u"</");
  sink.Put(node.Name);
  sink.Put(u">");
  sink.PutLineEnd();
}

struct Step {
  TXMLNode* Node;
  std::size_t Depth;
  bool Closing;  // write the body and end tag of a node whose children are done
};

void WriteTree(TXMLNode& top, std::u16string& out) {
  IndentingSink sink(out);
  std::vector<Step> stack;
  const auto pushChildren = [&stack](TXMLNode& node, std::size_t depth) {
    for (int i = node.ChildCount() - 1; i >= 0; --i) stack.push_back({node.Children.Get(i), depth, false});
  };
  if (top.Parent()) {
    stack.push_back({&top, 0, false});
  } else {
    pushChildren(top, 0);
  }
  while (!stack.empty()) {
    const Step step = stack.back();
    stack.pop_back();
    TXMLNode& node = *step.Node;
    sink.SetDepth(step.Depth);
    const std::u16string bodyText = node.Value.GetText();
    const std::u16string_view body = Trim(bodyText);
    if (step.Closing) {
      PutEndTag(sink, node, body);
      continue;
    }
    PutHead(sink, node);
    if (!node.Kind.empty()) {
      sink.Put(node.Kind);
      sink.Put(u">");
      sink.PutLineEnd();
    } else if (!node.HasChildren() && body.empty()) {
      sink.Put(u"/>");
      sink.PutLineEnd();
    } else if (!node.HasChildren()) {
      sink.Put(u">");
      PutEndTag(sink, node, body);
    } else {
      sink.Put(u">");
      sink.PutLineEnd();
      stack.push_back({&node, step.Depth, true});
      pushChildren(node, step.Depth + 1);
    }
  }
}

}  // namespace

std::u16string TXMLAttributeList::ToText() {
  std::u16string out;
  for (TXMLAttribute& attribute : items_) {
    attribute.Value.Quoted = true;
    out += u' ';
    if (!attribute.Name.empty()) {
      out += attribute.Name;
      out += u'=';
    }
    out += attribute.Value.QuoteChar;
    out += attribute.Value.Text;
    out += attribute.Value.QuoteChar;
  }
  const std::u16string_view trimmed = Trim(out);
  if (trimmed.size() == out.size()) return out;
  return std::u16string(trimmed);
}

std::u16string TXMLNode::ToText() {
  std::u16string out;
  WriteTree(*this, out);
  return out;
}
