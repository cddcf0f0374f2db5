// XMLText: the string type of the names, kinds and texts of a document tree.
#pragma once

#include <compare>
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace xmllite {
class NodeArena;
}

// A run of UTF-16 code units that reads like a std::u16string: it converts to std::u16string
// and std::u16string_view, compares with both and with const char16_t*, is assigned from any of
// them, and can be appended to. Concatenating it with other text yields a std::u16string.
//
// Its characters live in one of three places:
//  - on the heap, owned by the text: whatever a caller assigns, appends or copies in;
//  - in the arena of the document a node belongs to: the reader copies what it keeps there, so
//    a document costs a few allocations instead of one per name and value. Such characters live
//    as long as the node that holds the text;
//  - in static storage (the reader's kinds "?" and "!").
// Copying and moving never hand arena characters on: a copy, or the target of a move from an
// arena text, gets a heap array of its own, so every XMLText outside the tree stays valid on
// its own. Heap arrays are moved as they are.
//
// A pointer from data() or a view stays valid until the text changes or is destroyed, as with
// std::u16string. The characters are not zero-terminated.
class XMLText {
public:
  using value_type = char16_t;
  using size_type = std::size_t;
  using const_iterator = const char16_t*;
  static constexpr size_type npos = std::u16string_view::npos;

  XMLText() noexcept = default;
  XMLText(std::u16string_view text) { assign(text); }              // NOLINT: implicit by design
  XMLText(const char16_t* text) { assign(std::u16string_view(text)); }  // NOLINT
  XMLText(const XMLText& other) { assign(other.View()); }
  XMLText(XMLText&& other) { TakeFrom(other); }
  ~XMLText() { Release(); }

  XMLText& operator=(const XMLText& other) { return assign(other.View()); }
  XMLText& operator=(XMLText&& other);
  XMLText& operator=(std::u16string_view text) { return assign(text); }
  XMLText& operator=(const std::u16string& text) { return assign(std::u16string_view(text)); }
  XMLText& operator=(const char16_t* text) { return assign(std::u16string_view(text)); }

  // Replaces the characters with a heap copy of text (text may point into this text).
  XMLText& assign(std::u16string_view text);
  XMLText& append(std::u16string_view text);
  XMLText& operator+=(std::u16string_view text) { return append(text); }
  XMLText& operator+=(const std::u16string& text) { return append(text); }
  XMLText& operator+=(const char16_t* text) { return append(text); }
  XMLText& operator+=(const XMLText& text) { return append(text.View()); }
  XMLText& operator+=(char16_t c) { return append(std::u16string_view(&c, 1)); }
  void push_back(char16_t c) { append(std::u16string_view(&c, 1)); }
  void clear() noexcept {
    Release();
    Reset();
  }

  const char16_t* data() const noexcept { return data_; }
  size_type size() const noexcept { return sizeAndPlace_ >> kPlaceBits; }
  size_type length() const noexcept { return size(); }
  bool empty() const noexcept { return size() == 0; }
  char16_t operator[](size_type i) const noexcept { return data_[i]; }
  const_iterator begin() const noexcept { return data_; }
  const_iterator end() const noexcept { return data_ + size(); }
  char16_t front() const noexcept { return data_[0]; }
  char16_t back() const noexcept { return data_[size() - 1]; }
  size_type find(std::u16string_view text, size_type from = 0) const noexcept { return View().find(text, from); }
  size_type find(char16_t c, size_type from = 0) const noexcept { return View().find(c, from); }
  std::u16string substr(size_type from = 0, size_type count = npos) const {
    return std::u16string(View().substr(from, count));
  }

  std::u16string_view View() const noexcept { return {data_, size()}; }
  std::u16string str() const { return std::u16string(data_, size()); }
  operator std::u16string_view() const noexcept { return View(); }  // NOLINT: implicit by design
  operator std::u16string() const { return str(); }                // NOLINT

  friend bool operator==(const XMLText& a, const XMLText& b) noexcept { return a.View() == b.View(); }
  friend bool operator==(const XMLText& a, std::u16string_view b) noexcept { return a.View() == b; }
  friend bool operator==(const XMLText& a, const std::u16string& b) noexcept {
    return a.View() == std::u16string_view(b);
  }
  friend bool operator==(const XMLText& a, const char16_t* b) noexcept { return a.View() == std::u16string_view(b); }
  friend std::strong_ordering operator<=>(const XMLText& a, const XMLText& b) noexcept { return a.View() <=> b.View(); }
  friend std::strong_ordering operator<=>(const XMLText& a, std::u16string_view b) noexcept { return a.View() <=> b; }
  friend std::strong_ordering operator<=>(const XMLText& a, const std::u16string& b) noexcept {
    return a.View() <=> std::u16string_view(b);
  }
  friend std::strong_ordering operator<=>(const XMLText& a, const char16_t* b) noexcept {
    return a.View() <=> std::u16string_view(b);
  }

  friend std::u16string operator+(const XMLText& a, const XMLText& b) { return Join(a.View(), b.View()); }
  friend std::u16string operator+(const XMLText& a, std::u16string_view b) { return Join(a.View(), b); }
  friend std::u16string operator+(std::u16string_view a, const XMLText& b) { return Join(a, b.View()); }
  friend std::u16string operator+(const XMLText& a, const std::u16string& b) { return Join(a.View(), b); }
  friend std::u16string operator+(const std::u16string& a, const XMLText& b) { return Join(a, b.View()); }
  friend std::u16string operator+(std::u16string&& a, const XMLText& b) { return std::move(a.append(b.View())); }
  friend std::u16string operator+(const XMLText& a, const char16_t* b) { return Join(a.View(), b); }
  friend std::u16string operator+(const char16_t* a, const XMLText& b) { return Join(a, b.View()); }
  friend std::u16string operator+(const XMLText& a, char16_t b) { return Join(a.View(), {&b, 1}); }
  friend std::u16string operator+(char16_t a, const XMLText& b) { return Join({&a, 1}, b.View()); }

private:
  friend class TXMLNode;
  friend class TXMLValue;
  friend class TXMLAttributeList;
  friend class AttributeMerger;

  // Where the characters are: the low bits of sizeAndPlace_.
  enum Place : std::size_t { kBorrowed = 0, kHeap = 1, kArena = 2 };
  static constexpr unsigned kPlaceBits = 2;

  // The reader's texts: copied into arena (which must outlive this text's node), or to the heap
  // when arena is nullptr.
  void Keep(std::u16string_view text, xmllite::NodeArena* arena);
  // Characters of static storage, not copied.
  void KeepStatic(std::u16string_view text) noexcept {
    Release();
    Set(text.data(), text.size(), kBorrowed);
  }

  static std::u16string Join(std::u16string_view a, std::u16string_view b);
  // The room of a heap array for size code units, which grows by doubling when appended to.
  static size_type HeapRoom(size_type size) noexcept;

  Place Where() const noexcept { return static_cast<Place>(sizeAndPlace_ & ((size_type{1} << kPlaceBits) - 1)); }
  void Set(const char16_t* data, size_type size, Place place) noexcept {
    data_ = data;
    sizeAndPlace_ = (size << kPlaceBits) | place;
  }
  void Release() noexcept {
    if (Where() == kHeap) delete[] data_;
  }
  void Reset() noexcept { Set(u"", 0, kBorrowed); }
  void TakeFrom(XMLText& other);

  const char16_t* data_ = u"";
  // The length shifted left by kPlaceBits, with the Place in the low bits (two words in all,
  // as a tree holds very many texts).
  size_type sizeAndPlace_ = 0;
};

// Prints the text as UTF-8 in double quotes (for test frameworks that look for PrintTo).
void PrintTo(const XMLText& text, std::ostream* out);
