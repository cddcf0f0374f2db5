// The memory a document's reader takes its nodes from.
#pragma once

#include <cstddef>
#include <memory_resource>

namespace xmllite {

// A monotonic arena for the nodes the reader creates under one top node, together with their
// child and attribute arrays. Nodes are carved one after another from large blocks, so a tree
// costs a few allocations instead of several per node, and its nodes lie in text order.
//
// Destroying a node runs its destructor and hands nothing back: the memory stays in the arena.
// The arena counts the nodes it holds; when the last one goes (a document is cleared or
// reloaded), it returns all its blocks at once, so a document loaded many times in turn does
// not grow. The arena itself belongs to the top node of its tree (the node without parent), an
// ancestor of every node it holds, and so outlives them all.
class NodeArena {
public:
  NodeArena() = default;
  NodeArena(const NodeArena&) = delete;
  NodeArena& operator=(const NodeArena&) = delete;

  std::pmr::memory_resource* Resource() { return &memory_; }

  // Room for one node; the caller constructs it there and calls NodeGone once it is destroyed.
  void* TakeNode(std::size_t size, std::size_t alignment) {
    void* room = memory_.allocate(size, alignment);
    ++live_;
    return room;
  }
  // A node of this arena was destroyed; the last one returns every block.
  void NodeGone() {
    if (--live_ == 0) memory_.release();
  }

private:
  std::pmr::monotonic_buffer_resource memory_{std::size_t{16} << 10};
  std::size_t live_ = 0;
};

}  // namespace xmllite
