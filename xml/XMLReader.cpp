// The reader: XML text to nodes (TXMLNode::Parse) and attribute text to attributes
// (TXMLAttributeList::Parse). Both make one pass over their text and copy only the pieces
// they keep.
#include <algorithm>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "XMLLibLite.h"
#include "case_folding.h"
#include "text_util.h"

using xmllite::CaseFolder;
using xmllite::Trim;

// Adds the pairs of one attribute text to a list, merging repeated names. Small lists are
// searched directly; once a list grows past a handful of names an index by lower-cased name
// keeps a tag with very many attributes linear.
class AttributeMerger {
public:
  AttributeMerger(TXMLAttributeList& list, CaseFolder& folder) : list_(list), folder_(folder) {}

  void Parse(std::u16string_view text);

private:
  static constexpr std::size_t kIndexFrom = 16;

  void Complete(std::u16string_view name, std::u16string_view raw);
  int Lookup(std::u16string_view name);

  TXMLAttributeList& list_;
  CaseFolder& folder_;
  std::unordered_map<std::u16string, int> index_;  // lower-cased name -> first position
};

void AttributeMerger::Parse(std::u16string_view text) {
  const std::size_t n = text.size();
  if (n == 0) return;
  if (text.find(u'=') == std::u16string_view::npos) {
    list_.Add(std::u16string_view(), text);
    return;
  }
  // Every pair needs an "=": room for that many at most, so the list grows once.
  const auto equals = static_cast<std::size_t>(std::count(text.begin(), text.end(), u'='));
  list_.items_.reserve(list_.items_.size() + equals);
  std::size_t i = 0;
  while (i < n) {
    // The name: spaces before it are skipped; everything else up to "=" belongs to it, quotes,
    // TABs and line breaks included.
    while (i < n && text[i] == u' ') ++i;
    const std::size_t nameStart = i;
    while (i < n && text[i] != u'=') ++i;
    if (i == n) return;  // a name without "=": dropped
    const std::u16string_view name = text.substr(nameStart, i - nameStart);
    ++i;
    // Nothing can complete a pair without a name: all that follows would only ever be value.
    if (name.empty()) return;
    // Further "=" before the value are dropped.
    while (i < n && text[i] == u'=') ++i;
    if (i == n) return;
    const char16_t first = text[i];
    std::size_t end;
    if (first == u'"' || first == u'\'') {
      // A quoted value ends at the next quote of either kind.
      end = i + 1;
      while (end < n && text[end] != u'"' && text[end] != u'\'') ++end;
      if (end == n) return;  // unterminated: dropped
      ++end;
    } else {
      end = i + 1;  // an unquoted value is one code unit long
    }
    Complete(name, text.substr(i, end - i));
    i = end;
  }
}

int AttributeMerger::Lookup(std::u16string_view name) {
  auto& items = list_.items_;
  if (index_.empty() && items.size() < kIndexFrom) {
    for (std::size_t k = 0; k < items.size(); ++k) {
      if (folder_.Equal(items[k].Name, name)) return static_cast<int>(k);
    }
    return -1;
  }
  if (index_.empty()) {
    for (std::size_t k = 0; k < items.size(); ++k) index_.emplace(folder_.Lower(items[k].Name), static_cast<int>(k));
  }
  const auto hit = index_.find(folder_.Lower(name));
  return hit == index_.end() ? -1 : hit->second;
}

void AttributeMerger::Complete(std::u16string_view name, std::u16string_view raw) {
  const int existing = Lookup(name);
  if (existing >= 0) {
    list_.items_[existing].Value.SetText(raw);
    return;
  }
  const int added = list_.Add(name, raw);
  if (!index_.empty()) index_.emplace(folder_.Lower(list_.items_[added].Name), added);
}

void TXMLAttributeList::Parse(std::u16string_view text) {
  if (text.empty()) return;
  CaseFolder folder;
  AttributeMerger(*this, folder).Parse(text);
}

namespace {

// Scanning for "<", ">" and '"' is most of the reader's own work. Where SSE2 is there (every
// 64-bit build) eight code units are tested at a time; the loops below finish the rest.
#if defined(__SSE2__)
// Offset of the first of the next eight code units equal to a or b, or 8 when none is.
inline unsigned FirstOfEight(const char16_t* p, __m128i a, __m128i b) {
  const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(units, a), _mm_cmpeq_epi16(units, b)));
  return mask == 0 ? 8u : static_cast<unsigned>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
}
#endif

// Position of the first a or b at or after from, or n.
std::size_t FindEither(const char16_t* data, std::size_t from, std::size_t n, char16_t a, char16_t b) {
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi16(static_cast<short>(a)), vb = _mm_set1_epi16(static_cast<short>(b));
  while (i + 8 <= n) {
    const unsigned k = FirstOfEight(data + i, va, vb);
    if (k < 8) return i + k;
    i += 8;
  }
#endif
  for (; i < n; ++i) {
    if (data[i] == a || data[i] == b) return i;
  }
  return n;
}

// Position of the first ">" at or after from that lies outside double quotes (a tag starts
// outside; every '"' switches), or npos when the text ends first.
std::size_t FindTagEnd(std::u16string_view text, std::size_t from) {
  const char16_t* data = text.data();
  const std::size_t n = text.size();
  std::size_t i = from;
  for (;;) {
    i = FindEither(data, i, n, u'>', u'"');
    if (i == n) return std::u16string_view::npos;
    if (data[i] == u'>') return i;
    // A quoted stretch: the next '"' closes it, whatever lies between.
    i = FindEither(data, i + 1, n, u'"', u'"');
    if (i == n) return std::u16string_view::npos;
    ++i;
  }
}

std::size_t FindOpen(std::u16string_view text, std::size_t from) {
  const std::size_t at = FindEither(text.data(), from, text.size(), u'<', u'<');
  return at == text.size() ? std::u16string_view::npos : at;
}

}  // namespace

void TXMLNode::Parse(std::u16string_view text, TXMLNode& root) {
  const std::size_t length = text.size();
  CaseFolder folder;
  TXMLNode* current = nullptr;
  std::size_t next = 0;  // first code unit not yet consumed
  while (next < length) {
    // Text up to the next "<". A "<" as the last code unit starts no tag.
    const std::size_t open = FindOpen(text, next);
    if (open == std::u16string_view::npos || open + 1 >= length) break;
    const std::u16string_view segment = Trim(text.substr(next, open - next));

    const std::size_t close = FindTagEnd(text, open + 1);
    if (close == std::u16string_view::npos) break;  // unfinished tag: dropped with its text
    next = close + 1;
    std::u16string_view tag = text.substr(open + 1, close - open - 1);

    std::u16string_view kind;
    if (!tag.empty() && (tag.front() == u'?' || tag.front() == u'!')) {
      kind = tag.substr(0, 1);
      tag.remove_prefix(1);
      if (!tag.empty() && tag.back() == kind.front()) tag.remove_suffix(1);
    }
    bool closed = !kind.empty();
    if (!tag.empty() && tag.back() == u'/') {
      tag.remove_suffix(1);
      closed = true;
    }

    if (!closed && !tag.empty() && tag.front() == u'/') {
      // An end tag closes the current element whatever name it gives. Text before it with no
      // element open has nowhere to go and is dropped.
      if (current) {
        if (!segment.empty()) current->Value.SetText(segment);
        current = current == &root ? nullptr : current->parent_;
      }
      continue;
    }

    TXMLNode* parent = current ? current : &root;
    if (current && !segment.empty()) current->Value.SetText(segment);
    // "<>", and a special tag with nothing but its kind ("<?>", "<!!>", "<?/>"), name nothing
    // and make no node.
    if (tag.empty() && (close == open + 1 || !kind.empty())) continue;

    const std::size_t space = tag.find(u' ');
    const std::u16string_view name = space == std::u16string_view::npos ? tag : tag.substr(0, space);
    const std::u16string_view attributes =
        space == std::u16string_view::npos ? std::u16string_view() : tag.substr(space + 1);

    TXMLNode& node = Create(*parent);
    node.Name.assign(name);
    node.Kind.assign(kind);
    if (!attributes.empty()) AttributeMerger(node.Attributes, folder).Parse(attributes);
    current = closed ? parent : &node;
  }
}
