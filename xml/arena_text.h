// How the reader keeps texts: copied into the arena of the document that the node holding
// them belongs to. Inline, as the reader keeps a few texts for every tag.
#pragma once

#include <cstring>

#include "XMLLibLite.h"
#include "node_arena.h"

namespace xmllite {

// Copies the first and the last size bytes of a piece of bytes bytes (size <= bytes <= 2 * size),
// which together cover all of it, in fixed-size steps that the compiler turns into moves.
template <std::size_t size>
inline void CopyEnds(char* to, const char* from, std::size_t bytes) {
  char head[size], tail[size];
  std::memcpy(head, from, size);
  std::memcpy(tail, from + bytes - size, size);
  std::memcpy(to, head, size);
  std::memcpy(to + bytes - size, tail, size);
}

// memcpy for the short pieces the reader keeps, without a call: fixed-size copies that
// overlap where the length is not a multiple of their size, never touching a unit outside
// either range.
inline void CopyUnits(char16_t* to, const char16_t* from, std::size_t n) {
  char* const t = reinterpret_cast<char*>(to);
  const char* const f = reinterpret_cast<const char*>(from);
  const std::size_t bytes = n * sizeof(char16_t);
  if (bytes > 64) {
    std::memcpy(t, f, bytes);
  } else if (bytes >= 16) {
    std::size_t at = 0;
    for (; bytes - at > 32; at += 16) std::memcpy(t + at, f + at, 16);
    CopyEnds<16>(t + at, f + at, bytes - at);
  } else if (bytes >= 8) {
    CopyEnds<8>(t, f, bytes);
  } else if (bytes >= 4) {
    CopyEnds<4>(t, f, bytes);
  } else if (bytes == 2) {
    std::memcpy(t, f, 2);
  }
}

}  // namespace xmllite

inline void XMLText::Keep(std::u16string_view text, xmllite::NodeArena* arena) {
  if (!arena) {
    assign(text);
    return;
  }
  if (text.empty()) {
    clear();
    return;
  }
  char16_t* copy = arena->TakeText(text.size());
  xmllite::CopyUnits(copy, text.data(), text.size());
  Release();
  Set(copy, text.size(), kArena);
}

inline void TXMLValue::SetText(std::u16string_view raw, xmllite::NodeArena* arena) {
  if (!raw.empty() && (raw.front() == u'"' || raw.front() == u'\'')) {
    Quoted = true;
    QuoteChar = raw.front();
    Text.Keep(raw.size() >= 2 ? raw.substr(1, raw.size() - 2) : std::u16string_view(), arena);
  } else {
    Quoted = false;
    QuoteChar = u'"';
    Text.Keep(raw, arena);
  }
}
