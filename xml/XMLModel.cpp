// The document model: values, attributes, node lists, nodes and the file.
#include "XMLLibLite.h"

#include <limits>

#include "arena_text.h"
#include "case_folding.h"
#include "node_arena.h"
#include "platform.h"
#include "text_util.h"

using xmllite::CaseFolder;
using xmllite::Trim;

namespace {

bool ValidIndex(int index, std::size_t count) {
  return index >= 0 && static_cast<std::size_t>(index) < count;
}

int IndexFromSize(std::size_t size) {
  return size > static_cast<std::size_t>(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                                           : static_cast<int>(size);
}

}  // namespace

// ---- TXMLValue ----

void TXMLValue::SetText(std::u16string_view raw) { SetText(raw, nullptr); }

std::u16string TXMLValue::GetText() const {
  if (!Quoted) return Text;
  std::u16string out;
  out.reserve(Text.size() + 2);
  out += QuoteChar;
  out += Text;
  out += QuoteChar;
  return out;
}

// ---- TXMLAttribute ----

TXMLAttribute::TXMLAttribute(TXMLAttributeList* owner, std::u16string name, std::u16string_view raw)
    : Name(std::u16string_view(name)), owner_(owner) {
  Value.SetText(raw);
}

// ---- TXMLAttributeList ----

TXMLAttributeList::TXMLAttributeList(std::u16string_view text) { Parse(text); }

TXMLAttributeList::TXMLAttributeList(std::pmr::memory_resource* memory) : items_(memory) {}

TXMLAttributeList::~TXMLAttributeList() = default;

int TXMLAttributeList::Add(std::u16string_view name, std::u16string_view raw) {
  TXMLAttribute& added = items_.emplace_back(this);
  added.Name.assign(Trim(name));
  added.Value.SetText(Trim(raw));
  return IndexFromSize(items_.size() - 1);
}

void TXMLAttributeList::Delete(int index) {
  if (!ValidIndex(index, items_.size())) return;
  items_.erase(items_.begin() + index);
}

void TXMLAttributeList::Clear() {
  while (!items_.empty()) items_.pop_back();
}

int TXMLAttributeList::Count() const { return IndexFromSize(items_.size()); }

int TXMLAttributeList::IndexOf(std::u16string_view name, bool ignoreCase) const {
  CaseFolder folder;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const std::u16string_view candidate = items_[i].Name;
    if (ignoreCase ? folder.Equal(candidate, name) : candidate == name) return IndexFromSize(i);
  }
  return -1;
}

TXMLAttribute* TXMLAttributeList::Get(int index) {
  if (!ValidIndex(index, items_.size())) return nullptr;
  TXMLAttribute* attribute = &items_[index];
  attribute->Value.Quoted = KeepQuotes;
  return attribute;
}

TXMLAttribute* TXMLAttributeList::Find(std::u16string_view name) { return Get(IndexOf(name, true)); }

std::u16string TXMLAttributeList::ValueOf(std::u16string_view name, std::u16string_view defaultValue) {
  if (const TXMLAttribute* attribute = Find(name)) return attribute->Value.GetText();
  return std::u16string(defaultValue);
}

// ---- TXMLNodeList ----

TXMLNodeList::TXMLNodeList(TXMLNode* owner, std::uint8_t mode) : owner_(owner), mode_(mode) {}

TXMLNodeList::~TXMLNodeList() { Clear(); }

int TXMLNodeList::Add(std::unique_ptr<TXMLNode> node) {
  if (!node) return -1;
  // Most elements have a few children: start with room for some rather than growing 1, 2, 4.
  if (items_.capacity() == 0) items_.reserve(4);
  items_.push_back(node.get());  // if this throws, node still owns and frees it
  node.release()->parent_ = owner_;
  return IndexFromSize(items_.size() - 1);
}

void TXMLNodeList::Adopt(TXMLNode* node) {
  node->parent_ = owner_;
  if (items_.capacity() == 0) items_.reserve(4);
  try {
    items_.push_back(node);
  } catch (...) {
    Free(node);
    throw;
  }
}

int TXMLNodeList::Count() const { return IndexFromSize(items_.size()); }

void TXMLNodeList::Delete(int index) {
  if (!ValidIndex(index, items_.size())) return;
  TXMLNode* const node = items_[index];
  items_.erase(items_.begin() + index);
  DestroySubtree(node);
}

void TXMLNodeList::Clear() {
  while (!items_.empty()) {
    TXMLNode* const node = items_.back();
    items_.pop_back();
    DestroySubtree(node);
  }
  items_.shrink_to_fit();
}

TXMLNode* TXMLNodeList::Get(int index) const { return ValidIndex(index, items_.size()) ? items_[index] : nullptr; }

int TXMLNodeList::IndexOf(std::u16string_view name, bool ignoreCase) const {
  CaseFolder folder;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const std::u16string_view candidate = items_[i]->Name;
    if (ignoreCase ? folder.Equal(candidate, name) : candidate == name) return IndexFromSize(i);
  }
  return -1;
}

TXMLNode* TXMLNodeList::Find(std::u16string_view name) const { return Get(IndexOf(name, true)); }

// Walks down to the last leaf, frees it and climbs back through the parent links, so the
// tree itself is the work list: no recursion and no extra memory, whatever the shape.
void TXMLNodeList::DestroySubtree(TXMLNode* top) {
  TXMLNode* node = top;
  while (node) {
    std::vector<TXMLNode*>& children = node->Children.items_;
    if (!children.empty()) {
      TXMLNode* const child = children.back();
      children.pop_back();
      node = child;
      continue;
    }
    TXMLNode* const up = node == top ? nullptr : node->parent_;
    Free(node);
    node = up;
  }
}

void TXMLNodeList::Free(TXMLNode* node) {
  if (xmllite::NodeArena* const home = node->home_) {
    node->~TXMLNode();
    home->NodeGone();
  } else {
    delete node;
  }
}

// ---- TXMLNode ----

TXMLNode::TXMLNode() : Children(this, 0) {}

TXMLNode::TXMLNode(xmllite::NodeArena* arena)
    : Children(this, 0), Attributes(arena->Resource()), home_(arena) {}

xmllite::NodeArena& TXMLNode::TreeArena() {
  TXMLNode* top = this;
  while (top->parent_) top = top->parent_;
  if (!top->arena_) top->arena_ = std::make_unique<xmllite::NodeArena>();
  return *top->arena_;
}

TXMLNode& TXMLNode::Create(TXMLNode& parent) {
  auto node = std::make_unique<TXMLNode>();
  TXMLNode& created = *node;
  parent.Children.Add(std::move(node));
  return created;
}

// Attributes, then the children (and with them every descendant, some of which may live in
// this node's own arena, which goes only after them), then the value.
TXMLNode::~TXMLNode() {
  Attributes.Clear();
  Children.Clear();
}

void TXMLNode::Clear() {
  Name.clear();
  Kind.clear();
  Attributes.Clear();
  Children.Clear();
  Value.SetText({});
}

bool TXMLNode::HasChildren() const { return ChildCount() > 0; }

int TXMLNode::ChildCount() const { return Children.Count(); }

bool TXMLNode::LoadFromFile(const std::u16string& fileName) {
  if (!Platform::Current().FileExists(fileName)) return false;
  return LoadFromText(ReadTextFile(fileName));
}

bool TXMLNode::LoadFromText(std::u16string_view text) {
  Clear();
  Parse(text, *this);
  return ChildCount() != 0;
}

// ---- TXMLFile ----

TXMLFile::TXMLFile(const std::u16string& fileName) {
  if (!fileName.empty()) LoadFromFile(fileName);
}

bool TXMLFile::LoadFromFile(const std::u16string& fileName) { return Document.LoadFromFile(fileName); }

bool TXMLFile::LoadFromText(std::u16string_view text) { return Document.LoadFromText(text); }

std::u16string TXMLFile::SaveToText() { return Document.ToText(); }
