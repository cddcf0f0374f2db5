// The memory a document's reader takes its nodes and texts from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory_resource>

namespace xmllite {

// A monotonic arena for the nodes the reader creates under one top node, together with their
// attribute arrays and the texts they keep. Everything is carved one piece after another from
// blocks, so a tree costs a few allocations instead of several per node. Nodes fill each block
// from its start and texts from its end: the nodes lie close together in text order, which
// keeps walking the tree (destroying it, above all) quick.
//
// Blocks start small (kFirstBlockSize), since most documents are a few kilobytes, and double up
// to a modest size (kBlockSize), so that the heap serves and reuses them: blocks above the C
// library's threshold for mapping memory from the system would come back as fresh pages, to be
// faulted in again, with every document. A piece larger than a quarter of a block gets a block
// of its own.
//
// Destroying a node runs its destructor and hands nothing back: the memory stays in the arena.
// The arena counts the nodes it holds; when the last one goes (a document is cleared or
// reloaded), it returns all its blocks at once, so a document loaded many times in turn does
// not grow. The arena itself belongs to the top node of its tree (the node without parent), an
// ancestor of every node it holds, and so outlives them all. A text in the arena belongs to a
// node of the arena and lives no longer than that node.
class NodeArena final : public std::pmr::memory_resource {
public:
  static constexpr std::size_t kFirstBlockSize = std::size_t{4} << 10;
  static constexpr std::size_t kBlockSize = std::size_t{64} << 10;

  NodeArena() = default;
  NodeArena(const NodeArena&) = delete;
  NodeArena& operator=(const NodeArena&) = delete;
  ~NodeArena() override { Release(); }

  std::pmr::memory_resource* Resource() { return this; }

  // Room for one node; the caller constructs it there and calls NodeGone once it is destroyed.
  void* TakeNode(std::size_t size, std::size_t alignment) {
    void* room = Take(size, alignment);
    ++live_;
    return room;
  }
  // A node of this arena was destroyed; the last one returns every block.
  void NodeGone() {
    if (--live_ == 0) Release();
  }
  // Room for a text of units code units (units > 0) that a node of this arena keeps.
  char16_t* TakeText(std::size_t units) {
    const std::size_t bytes = units * sizeof(char16_t);
    if (bytes <= static_cast<std::size_t>(high_ - low_)) {
      high_ -= bytes;
      return reinterpret_cast<char16_t*>(high_);
    }
    return static_cast<char16_t*>(TakeSlow(bytes, alignof(char16_t), true));
  }

private:
  // The head of every block; the room follows it.
  struct alignas(alignof(std::max_align_t)) Block {
    Block* next;
  };

  // Nodes (with their attribute arrays) fill the newest block from its start, texts from its end,
  // so that the nodes lie close together for walking the tree, and a small document still needs
  // one block only. alignment is a power of two no larger than that of std::max_align_t.
  void* Take(std::size_t size, std::size_t alignment) {
    const std::uintptr_t at = (reinterpret_cast<std::uintptr_t>(low_) + (alignment - 1)) & ~(std::uintptr_t{alignment} - 1);
    if (low_ != nullptr && at + size <= reinterpret_cast<std::uintptr_t>(high_)) {
      low_ = reinterpret_cast<char*>(at + size);
      return reinterpret_cast<void*>(at);
    }
    return TakeSlow(size, alignment, false);
  }
  // A piece from a new block (its start, or its end for a text), or from a block of its own.
  void* TakeSlow(std::size_t size, std::size_t alignment, bool text);
  void Release() noexcept;

  void* do_allocate(std::size_t bytes, std::size_t alignment) override { return Take(bytes, alignment); }
  void do_deallocate(void*, std::size_t, std::size_t) override {}
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

  Block* blocks_ = nullptr;  // the newest first
  char* low_ = nullptr;      // the free room of the newest ordinary block: [low_, high_)
  char* high_ = nullptr;
  std::size_t nextBlockSize_ = kFirstBlockSize;
  std::size_t live_ = 0;
};

}  // namespace xmllite
