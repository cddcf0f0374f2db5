#include "xml_text.h"

#include <cstring>
#include <ostream>
#include <stdexcept>

#include "errors.h"

XMLText::size_type XMLText::HeapRoom(size_type size) noexcept {
  size_type room = 8;
  while (room < size) room *= 2;
  return room;
}

XMLText& XMLText::assign(std::u16string_view text) {
  if (text.size() > (npos >> (kPlaceBits + 1))) throw std::length_error("XMLText too long");
  // A fresh array first: text may lie in the old one.
  char16_t* copy = text.empty() ? nullptr : new char16_t[HeapRoom(text.size())];
  if (copy) std::memcpy(copy, text.data(), text.size() * sizeof(char16_t));
  Release();
  if (copy) {
    Set(copy, text.size(), kHeap);
  } else {
    Reset();
  }
  return *this;
}

XMLText& XMLText::append(std::u16string_view text) {
  if (text.empty()) return *this;
  const size_type size = this->size();
  if (text.size() > (npos >> (kPlaceBits + 1)) - size) throw std::length_error("XMLText too long");
  const size_type total = size + text.size();
  if (Where() == kHeap && total <= HeapRoom(size)) {
    // Room left in the own array; text cannot overlap the part written to.
    std::memmove(const_cast<char16_t*>(data_) + size, text.data(), text.size() * sizeof(char16_t));
    Set(data_, total, kHeap);
    return *this;
  }
  char16_t* grown = new char16_t[HeapRoom(total)];
  std::memcpy(grown, data_, size * sizeof(char16_t));
  std::memcpy(grown + size, text.data(), text.size() * sizeof(char16_t));
  Release();
  Set(grown, total, kHeap);
  return *this;
}

void XMLText::TakeFrom(XMLText& other) {
  if (other.Where() == kArena) {
    // Arena characters stay with the tree: the new owner gets a copy of its own.
    assign(other.View());
    return;
  }
  data_ = other.data_;
  sizeAndPlace_ = other.sizeAndPlace_;
  other.Reset();
}

XMLText& XMLText::operator=(XMLText&& other) {
  if (this == &other) return *this;
  if (other.Where() == kArena) return assign(other.View());
  Release();
  TakeFrom(other);
  return *this;
}

std::u16string XMLText::Join(std::u16string_view a, std::u16string_view b) {
  std::u16string out;
  out.reserve(a.size() + b.size());
  out.append(a);
  out.append(b);
  return out;
}

void PrintTo(const XMLText& text, std::ostream* out) { *out << '"' << ToUtf8(text.str()) << '"'; }
