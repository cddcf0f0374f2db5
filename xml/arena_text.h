// How the reader keeps texts: copied into the arena of the document that the node holding
// them belongs to. Inline, as the reader keeps a few texts for every tag.
#pragma once

#include <cstring>

#include "XMLLibLite.h"
#include "node_arena.h"

namespace xmllite {

// memcpy for the short pieces the reader keeps, without a call: fixed-size copies that
// overlap where the length is not a multiple of their size, never touching a unit outside
// either range.
inline void CopyUnits(char16_t* to, const char16_t* from, std::size_t n) {
  char* const t = reinterpret_cast<char*>(to);
  const char* const f = reinterpret_cast<const char*>(from);
  const std::size_t bytes = n * sizeof(char16_t);
  if (bytes >= 16) {
    if (bytes > 64) {
      std::memcpy(t, f, bytes);
      return;
    }
    char head[16], tail[16];
    for (std::size_t at = 0; at + 16 < bytes; at += 16) {
      std::memcpy(head, f + at, 16);
      std::memcpy(t + at, head, 16);
    }
    std::memcpy(tail, f + bytes - 16, 16);
    std::memcpy(t + bytes - 16, tail, 16);
  } else if (bytes >= 8) {
    char head[8], tail[8];
    std::memcpy(head, f, 8);
    std::memcpy(tail, f + bytes - 8, 8);
    std::memcpy(t, head, 8);
    std::memcpy(t + bytes - 8, tail, 8);
  } else if (bytes >= 4) {
    char head[4], tail[4];
    std::memcpy(head, f, 4);
    std::memcpy(tail, f + bytes - 4, 4);
    std::memcpy(t, head, 4);
    std::memcpy(t + bytes - 4, tail, 4);
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
