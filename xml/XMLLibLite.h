// XMLLibLite: the small XML library through which Korvel reads its settings file, the package
// descriptions and the translation files.
//
// A document is a tree of TXMLNode objects. Ownership runs strictly downwards:
//   TXMLFile owns its Document node;
//   a TXMLNode owns its Children list, its Value and its Attributes list;
//   a TXMLNodeList owns every node it holds (destroying a node destroys its whole subtree);
//   a TXMLAttributeList owns its attributes, and a TXMLAttribute owns its Value.
// Parent() and Owner() are back references and own nothing. A node pointer handed out by Get,
// Find or Create stays valid until the node is deleted through its list (Delete, Clear,
// LoadFromText, LoadFromFile) or its owner is destroyed; an attribute pointer until its list
// changes.
//
// Memory: the nodes that Parse (and so LoadFromText and LoadFromFile) creates, with their
// attribute arrays and the names and texts it reads, come from an arena that belongs to the top
// node of the tree (the node without parent, such as TXMLFile::Document); their child arrays are
// on the heap. Deleting such a node (Delete, Clear) runs its destructor, so what it holds on the
// heap and its subtree are freed at once, but its room in the arena stays there until the last
// node of the arena is gone: clearing or reloading the document, or destroying the top node,
// gives all of it back. Nodes made by Create or passed to Add are
// ordinary heap objects and are freed when deleted; both kinds may be mixed in one tree.
//
// Out of range, the library yields nothing and does nothing: Get returns nullptr, Delete with a
// bad index changes nothing, IndexOf returns -1, Find returns nullptr, ValueOf returns its
// default. The reader never fails on malformed text (it builds whatever tree its rules give, see
// Parse); the writer cannot fail. Only file access raises: LoadFromFile and ReadTextFile pass on
// the EFOpenError or EReadError of the platform unchanged.
//
// Names, kinds and texts are XMLText (xml_text.h), which reads, compares and converts like a
// std::u16string. The reader keeps the texts of the nodes it creates in their arena; texts
// assigned by a caller live on the heap. A copy or a move of a text is always a text of its own.
//
// Case-insensitive lookups lower-case both sides with the system's locale-aware mapping
// (Platform::Current().LowerCase) and then compare code unit by code unit.
//
// Every tree is destroyed, read and written without recursion, so the depth of a document is
// limited only by memory. Note that the writer indents each line with one TAB per level, so the
// text of a deeply nested document grows with the square of its depth.
//
// The library keeps no global state; a tree belongs to one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

#include "xml_text.h"

class TXMLAttributeList;
class TXMLNode;
namespace xmllite {
class NodeArena;
}

// A value as written in a tag or as element text, remembering its enclosing quotes.
class TXMLValue {
public:
  XMLText Text;             // without enclosing quotes
  char16_t QuoteChar = u'"';  // the quote it was written with; '"' when none
  bool Quoted = false;      // whether GetText encloses Text in QuoteChar

  // Empty Raw: Text empty, Quoted false, QuoteChar '"'.
  // Raw starting with '"' or '\'': Quoted true, QuoteChar that character, Text = Raw without its
  //   first and its last code unit (the last one is dropped whatever it is; a Raw of one code
  //   unit gives empty Text).
  // Otherwise: Quoted false, QuoteChar '"', Text = Raw unchanged.
  void SetText(std::u16string_view raw);
  // QuoteChar + Text + QuoteChar when Quoted, else Text.
  std::u16string GetText() const;

private:
  friend class AttributeMerger;
  friend class TXMLAttributeList;
  friend class TXMLNode;
  // SetText with Text kept in arena (the heap when nullptr).
  void SetText(std::u16string_view raw, xmllite::NodeArena* arena);
};

// One name="value" pair of a tag.
class TXMLAttribute {
public:
  // Stores owner and name unchanged and gives the value SetText(raw).
  TXMLAttribute(TXMLAttributeList* owner, std::u16string name, std::u16string_view raw);
  // An attribute with empty name and value.
  explicit TXMLAttribute(TXMLAttributeList* owner) : owner_(owner) {}
  TXMLAttribute(const TXMLAttribute&) = delete;
  TXMLAttribute& operator=(const TXMLAttribute&) = delete;
  // The list keeps its attributes by value and moves them when it changes.
  TXMLAttribute(TXMLAttribute&&) = default;
  TXMLAttribute& operator=(TXMLAttribute&&) = default;

  TXMLAttributeList* Owner() const { return owner_; }  // back reference

  XMLText Name;         // trimmed when added through TXMLAttributeList::Add
  TXMLValue Value;      // owned

private:
  TXMLAttributeList* owner_;
};

// The attributes of one tag, in the order they were written. Owns its attributes, which it
// keeps by value: a pointer from Get or Find stays valid until the list changes (Add, Delete,
// Clear, Parse) or is destroyed.
class TXMLAttributeList {
public:
  // Starts empty, then reads text with Parse. Nodes create their list with empty text.
  explicit TXMLAttributeList(std::u16string_view text = {});
  TXMLAttributeList(const TXMLAttributeList&) = delete;
  TXMLAttributeList& operator=(const TXMLAttributeList&) = delete;
  ~TXMLAttributeList();

  // Copied into Value.Quoted of every attribute fetched by Get or Find. Nothing in Korvel sets
  // it, so fetched values read without their quotes.
  bool KeepQuotes = false;

  // Trims name and raw, appends a new attribute and returns its index. Does not look for an
  // attribute of the same name.
  int Add(std::u16string_view name, std::u16string_view raw);
  // Frees and removes the attribute at index; nothing when index is out of range.
  void Delete(int index);
  // Deletes every attribute, from the last to the first.
  void Clear();
  int Count() const;
  // Index of the first attribute whose Name equals name (not trimmed), or -1. With ignoreCase
  // both sides are lower-cased by the system first.
  int IndexOf(std::u16string_view name, bool ignoreCase) const;
  // The attribute at index with Value.Quoted set to KeepQuotes; nullptr when index is outside
  // 0 to Count() - 1.
  TXMLAttribute* Get(int index);
  // Get(IndexOf(name, true)): the first attribute of that name ignoring case, or nullptr.
  TXMLAttribute* Find(std::u16string_view name);
  // The value of Find(name) without quotes, or defaultValue when there is no such attribute.
  // An attribute written with an empty value yields the empty text, not the default.
  std::u16string ValueOf(std::u16string_view name, std::u16string_view defaultValue = {});

  // Adds the attributes of the attribute text of a tag (what follows the element name):
  //  - empty text adds nothing;
  //  - text without any "=" becomes one attribute with an empty name and the whole (trimmed)
  //    text as its raw value;
  //  - otherwise pairs are read as name "=" value: leading spaces before a name are skipped;
  //    a value is either one code unit, or a quote ('"' or '\'') and everything up to the next
  //    quote of either kind; further "=" right after the first are dropped. A pair that does
  //    not complete by the end of the text is dropped.
  //  - a name already in the list (ignoring case, compared as written, untrimmed) gets the new
  //    value in its old place; other names are appended with Add.
  void Parse(std::u16string_view text);
  // " name=" + quoted value for every attribute (" " + quoted value for an empty name), the
  // whole trimmed. Sets Value.Quoted of every attribute to true, a lasting change that the next
  // Get or Find undoes. Values are written with their QuoteChar and are not escaped.
  std::u16string ToText();

private:
  friend class AttributeMerger;
  friend class TXMLNode;
  // A list whose attribute array comes from memory (a node's arena).
  explicit TXMLAttributeList(std::pmr::memory_resource* memory);

  std::pmr::vector<TXMLAttribute> items_;
};

// The children of one node, in text order. Owns every node it holds.
class TXMLNodeList {
public:
  // mode says what an index out of range yields; every list in Korvel uses 0 (nothing), and
  // no other value is defined: Get yields nothing out of range whatever the mode.
  explicit TXMLNodeList(TXMLNode* owner, std::uint8_t mode = 0);
  TXMLNodeList(const TXMLNodeList&) = delete;
  TXMLNodeList& operator=(const TXMLNodeList&) = delete;
  // Frees every node and its subtree (iteratively, whatever the depth).
  ~TXMLNodeList();

  TXMLNode* Owner() const { return owner_; }  // back reference
  std::uint8_t Mode() const { return mode_; }

  // Takes the node, appends it, makes Owner() its parent and returns its index; -1 and nothing
  // else for a null node. The node must not be an ancestor of Owner().
  int Add(std::unique_ptr<TXMLNode> node);
  int Count() const;
  // Frees the node at index with its subtree and removes it; nothing when out of range.
  void Delete(int index);
  // Deletes every node, from the last to the first.
  void Clear();
  // The node at index; nullptr when index is outside 0 to Count() - 1.
  TXMLNode* Get(int index) const;
  // As TXMLAttributeList::IndexOf, against the nodes' Name.
  int IndexOf(std::u16string_view name, bool ignoreCase) const;
  // Get(IndexOf(name, true)): the first child of that name ignoring case, or nullptr.
  TXMLNode* Find(std::u16string_view name) const;

private:
  friend class TXMLNode;
  // Appends a node that was built in place and belongs to this list from now on.
  void Adopt(TXMLNode* node);
  // Frees a node and its subtree without recursion.
  static void DestroySubtree(TXMLNode* top);
  // Frees one node whose children are gone: back to its arena or to the heap.
  static void Free(TXMLNode* node);

  TXMLNode* owner_;
  std::uint8_t mode_;
  // Owned, each freed through Free. The array is on the heap even for read nodes: it grows as
  // children come, and an arena would keep every outgrown copy.
  std::vector<TXMLNode*> items_;
};

// An element, a special node (Kind "?" or "!") or the document node of a TXMLFile.
class TXMLNode {
public:
  // A node without parent, such as the document node.
  TXMLNode();
  // Creates a node already attached: appended to parent.Children, which owns it.
  static TXMLNode& Create(TXMLNode& parent);
  TXMLNode(const TXMLNode&) = delete;
  TXMLNode& operator=(const TXMLNode&) = delete;
  ~TXMLNode();

  XMLText Name;  // as written: case kept, not trimmed; empty for the document node
  // Empty for an element; "?" for a declaration or processing instruction; "!" for a comment,
  // document type declaration or other markup declaration.
  XMLText Kind;
  TXMLNodeList Children;        // owned
  TXMLValue Value;              // owned: the element's text content
  TXMLAttributeList Attributes; // owned

  TXMLNode* Parent() const { return parent_; }  // back reference; nullptr for a document node

  // Name and Kind empty, no attributes, no children, empty value.
  void Clear();
  bool HasChildren() const;  // ChildCount() > 0
  int ChildCount() const;    // Children.Count()

  // False, with the node left exactly as it was, when no file of that name exists. Otherwise
  // LoadFromText(ReadTextFile(fileName)). Open and read errors of an existing file propagate.
  bool LoadFromFile(const std::u16string& fileName);
  // Clear, then Parse(text, *this); true when the text gave at least one top-level node.
  // text must not point into this node's own tree, which Clear frees first.
  bool LoadFromText(std::u16string_view text);

  // Reads text and appends what it finds below root (top-level nodes become root's children);
  // root is not cleared. Tolerant and never failing:
  //  - text outside tags is trimmed; it becomes the Value of the element that is current when
  //    the next tag follows (the last non-empty piece wins); text before the first tag, after
  //    the last tag, or before any tag while no element is open is discarded;
  //  - a tag runs to the first ">" outside double quotes; a tag starting with "?" or "!" is a
  //    closed special node of that Kind (a repeat of the kind before ">" is dropped); a tag
  //    ending in "/" is closed;
  //  - an end tag closes the current element whatever its name; one end tag too many leaves no
  //    element open, and never reaches above root;
  //  - a start tag's name runs to its first space (U+0020), the rest is its attribute text;
  //  - a tag that is empty, or empty once its kind character(s) are removed ("<>", "<?>",
  //    "<!!>"), yields no node;
  //  - a tag with no closing ">" by the end of the text ends reading: it and the text before
  //    it are dropped, like text after the last tag.
  // No entity references, CDATA or namespaces are interpreted.
  static void Parse(std::u16string_view text, TXMLNode& root);
  // The text of this node and its subtree; for a node without parent the concatenated text of
  // its children. Lines end with CR LF and each level below this node is indented by one more
  // TAB. Nothing is escaped. Calls Attributes.ToText of every node written.
  std::u16string ToText();

private:
  friend class TXMLNodeList;
  // A node built in place in arena (by the reader).
  explicit TXMLNode(xmllite::NodeArena* arena);
  // The arena for nodes read into this node's tree: that of its top node, made on first use.
  xmllite::NodeArena& TreeArena();

  TXMLNode* parent_ = nullptr;
  xmllite::NodeArena* home_ = nullptr;            // the arena this node lives in; nullptr: heap
  std::unique_ptr<xmllite::NodeArena> arena_;     // top nodes only: the arena of their tree
};

// A whole document.
class TXMLFile {
public:
  // Creates an empty Document; loads fileName when it is not empty (a missing file leaves the
  // document empty; open and read errors of an existing file propagate).
  explicit TXMLFile(const std::u16string& fileName = {});
  TXMLFile(const TXMLFile&) = delete;
  TXMLFile& operator=(const TXMLFile&) = delete;

  TXMLNode Document;  // owned; its children are the top-level nodes in text order

  bool LoadFromFile(const std::u16string& fileName);  // Document.LoadFromFile
  bool LoadFromText(std::u16string_view text);        // Document.LoadFromText
  // The concatenated text of every top-level node (Document.ToText); empty exactly when the
  // document has no node.
  std::u16string SaveToText();
};

// The whole content of a text file, decoded by its byte-order mark: FF FE UTF-16 little-endian,
// FE FF UTF-16 big-endian, EF BB BF UTF-8, anything else the system's ANSI code page. The mark
// is not part of the result. Empty when the file does not exist. Malformed UTF-8 and a trailing
// odd byte of UTF-16 become U+FFFD. An encoding named inside the text plays no part. Open and
// read errors of an existing file propagate (EFOpenError, EReadError).
std::u16string ReadTextFile(const std::u16string& fileName);
