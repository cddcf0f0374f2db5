// The reader: XML text to nodes (TXMLNode::Parse) and attribute text to attributes
// (TXMLAttributeList::Parse). Both make one pass over their text and copy only the pieces
// they keep.
#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "XMLLibLite.h"
#include "arena_text.h"
#include "case_folding.h"
#include "node_arena.h"
#include "text_util.h"

using xmllite::CaseFolder;
using xmllite::Trim;

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

// Number of code units equal to c in [from, n).
std::size_t CountOf(const char16_t* data, std::size_t from, std::size_t n, char16_t c) {
  std::size_t count = 0, i = from;
#if defined(__SSE2__)
  // Each 16-bit lane counts its matches (a match compares as -1); lanes are summed before
  // they could overflow.
  const __m128i vc = _mm_set1_epi16(static_cast<short>(c));
  while (i + 8 <= n) {
    __m128i lanes = _mm_setzero_si128();
    for (unsigned round = 0; round < 0x8000 && i + 8 <= n; ++round, i += 8) {
      lanes = _mm_sub_epi16(lanes, _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), vc));
    }
    alignas(16) std::uint16_t sums[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(sums), lanes);
    for (std::uint16_t sum : sums) count += sum;
  }
#endif
  for (; i < n; ++i) count += data[i] == c;
  return count;
}

}  // namespace

// Adds the pairs of one attribute text to a list, merging repeated names. Small lists are
// searched directly; once a list grows past a handful of names an index by lower-cased name
// keeps a tag with very many attributes linear. Texts are kept in arena, or on the heap when it
// is nullptr.
class AttributeMerger {
public:
  AttributeMerger(TXMLAttributeList& list, CaseFolder& folder, xmllite::NodeArena* arena)
      : list_(list), folder_(folder), arena_(arena) {}

  void Parse(std::u16string_view text);

private:
  static constexpr std::size_t kIndexFrom = 16;
  static constexpr std::size_t kPending = 16;  // pairs collected before the list grows

  void Complete(std::u16string_view name, std::u16string_view raw);
  int Lookup(std::u16string_view name);
  int LookupIndexed(std::u16string_view name);  // Lookup of a list with many names

  TXMLAttributeList& list_;
  CaseFolder& folder_;
  xmllite::NodeArena* arena_;
  // Lower-cased name -> first position; made only for a list that grows past kIndexFrom.
  std::optional<std::unordered_map<std::u16string, int>> index_;
};

void AttributeMerger::Parse(std::u16string_view text) {
  const char16_t* const data = text.data();
  const std::size_t n = text.size();
  // The name: spaces before it are skipped; everything else up to "=" belongs to it, quotes,
  // TABs and line breaks included.
  std::size_t i = 0;
  while (i < n && data[i] == u' ') ++i;
  std::size_t equals = FindEither(data, i, n, u'=', u'=');
  if (equals == n) {
    // No "=" anywhere (the skipped spaces hold none either).
    if (n != 0) {
      // As Add does, with the text kept in the arena.
      list_.items_.reserve(list_.items_.size() + 1);
      list_.items_.emplace_back(&list_).Value.SetText(Trim(text), arena_);
    }
    return;
  }
  // The pairs of a usual tag are collected first, so that the list grows once by exactly their
  // number. A tag with more pairs than that makes room for every "=" still to come instead.
  struct Pair {  // left uninitialised: only the first count are set
    const char16_t* name;
    std::size_t nameSize;
    const char16_t* raw;
    std::size_t rawSize;
  };
  Pair pending[kPending];
  std::size_t count = 0;
  bool counted = false;
  for (;;) {
    const std::u16string_view name(data + i, equals - i);
    i = equals + 1;
    // Nothing can complete a pair without a name: all that follows would only ever be value.
    if (name.empty()) break;
    // Further "=" before the value are dropped.
    while (i < n && data[i] == u'=') ++i;
    if (i == n) break;
    const char16_t first = data[i];
    std::size_t end;
    if (first == u'"' || first == u'\'') {
      // A quoted value ends at the next quote of either kind.
      end = FindEither(data, i + 1, n, u'"', u'\'');
      if (end == n) break;  // unterminated: dropped
      ++end;
    } else {
      end = i + 1;  // an unquoted value is one code unit long
    }
    const std::u16string_view raw(data + i, end - i);
    i = end;
    if (counted) {
      Complete(name, raw);
    } else if (count < kPending) {
      pending[count++] = {name.data(), name.size(), raw.data(), raw.size()};
    } else {
      list_.items_.reserve(list_.items_.size() + count + 1 + CountOf(data, i, n, u'='));
      for (std::size_t k = 0; k < count; ++k) Complete({pending[k].name, pending[k].nameSize}, {pending[k].raw, pending[k].rawSize});
      Complete(name, raw);
      count = 0;
      counted = true;
    }
    while (i < n && data[i] == u' ') ++i;
    if (i == n) break;
    equals = FindEither(data, i, n, u'=', u'=');
    if (equals == n) break;  // a name without "=": dropped
  }
  if (count == 0) return;
  list_.items_.reserve(list_.items_.size() + count);
  for (std::size_t k = 0; k < count; ++k) Complete({pending[k].name, pending[k].nameSize}, {pending[k].raw, pending[k].rawSize});
}

inline int AttributeMerger::Lookup(std::u16string_view name) {
  auto& items = list_.items_;
  if (!index_ && items.size() < kIndexFrom) {
    for (std::size_t k = 0; k < items.size(); ++k) {
      // Lower-casing keeps the length: names of another length never match.
      if (items[k].Name.size() == name.size() && folder_.Equal(items[k].Name, name)) return static_cast<int>(k);
    }
    return -1;
  }
  return LookupIndexed(name);
}

int AttributeMerger::LookupIndexed(std::u16string_view name) {
  auto& items = list_.items_;
  if (!index_) {
    index_.emplace();
    for (std::size_t k = 0; k < items.size(); ++k) index_->emplace(folder_.Lower(items[k].Name), static_cast<int>(k));
  }
  const auto hit = index_->find(folder_.Lower(name));
  return hit == index_->end() ? -1 : hit->second;
}

void AttributeMerger::Complete(std::u16string_view name, std::u16string_view raw) {
  const int existing = Lookup(name);
  if (existing >= 0) {
    list_.items_[existing].Value.SetText(raw, arena_);
    return;
  }
  // As Add does, with the texts kept in the arena.
  TXMLAttribute& added = list_.items_.emplace_back(&list_);
  added.Name.Keep(Trim(name), arena_);
  added.Value.SetText(Trim(raw), arena_);
  if (index_) index_->emplace(folder_.Lower(added.Name), static_cast<int>(list_.items_.size() - 1));
}

void TXMLAttributeList::Parse(std::u16string_view text) {
  if (text.empty()) return;
  CaseFolder folder;
  AttributeMerger(*this, folder, nullptr).Parse(text);
}


void TXMLNode::Parse(std::u16string_view text, TXMLNode& root) {
  const std::size_t length = text.size();
  CaseFolder folder;
  xmllite::NodeArena* arena = nullptr;  // taken on the first node: an empty read makes none
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
        if (!segment.empty()) current->Value.SetText(segment, current == &root ? nullptr : arena);
        current = current == &root ? nullptr : current->parent_;
      }
      continue;
    }

    TXMLNode* parent = current ? current : &root;
    // Texts of the nodes made here go to the arena; root, which may belong to none, keeps its
    // own on the heap.
    if (current && !segment.empty()) current->Value.SetText(segment, current == &root ? nullptr : arena);
    // "<>", and a special tag with nothing but its kind ("<?>", "<!!>", "<?/>"), name nothing
    // and make no node.
    if (tag.empty() && (close == open + 1 || !kind.empty())) continue;

    const std::size_t space = FindEither(tag.data(), 0, tag.size(), u' ', u' ');
    const std::u16string_view name = tag.substr(0, space);
    const std::u16string_view attributes = space == tag.size() ? std::u16string_view() : tag.substr(space + 1);

    if (!arena) arena = &root.TreeArena();
    TXMLNode& node = *new (arena->TakeNode(sizeof(TXMLNode), alignof(TXMLNode))) TXMLNode(arena);
    parent->Children.Adopt(&node);
    node.Name.Keep(name, arena);
    if (!kind.empty()) node.Kind.KeepStatic(kind.front() == u'?' ? std::u16string_view(u"?") : std::u16string_view(u"!"));
    if (!attributes.empty()) AttributeMerger(node.Attributes, folder, arena).Parse(attributes);
    current = closed ? parent : &node;
  }
}
