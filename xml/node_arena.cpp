#include "node_arena.h"

#include <new>

namespace xmllite {

void* NodeArena::TakeSlow(std::size_t size, std::size_t alignment, bool text) {
  if (alignment > alignof(std::max_align_t)) throw std::bad_alloc();
  if (size > nextBlockSize_ / 4) {
    // A block of its own, placed behind the newest one (the list only serves to free them all).
    if (size > static_cast<std::size_t>(-1) - sizeof(Block)) throw std::bad_alloc();
    Block* const own = static_cast<Block*>(::operator new(sizeof(Block) + size));
    if (blocks_) {
      own->next = blocks_->next;
      blocks_->next = own;
    } else {
      own->next = nullptr;
      blocks_ = own;
    }
    return own + 1;
  }
  const std::size_t bytes = nextBlockSize_;
  Block* const block = static_cast<Block*>(::operator new(sizeof(Block) + bytes));
  block->next = blocks_;
  blocks_ = block;
  low_ = reinterpret_cast<char*>(block + 1);
  high_ = low_ + bytes;
  if (nextBlockSize_ < kBlockSize) nextBlockSize_ *= 2;
  // A new block is aligned for anything at both ends (size is a multiple of alignment).
  if (text) {
    high_ -= size;
    return high_;
  }
  void* const piece = low_;
  low_ += size;
  return piece;
}

void NodeArena::Release() noexcept {
  while (blocks_) {
    Block* const next = blocks_->next;
    ::operator delete(blocks_);
    blocks_ = next;
  }
  low_ = high_ = nullptr;
  nextBlockSize_ = kFirstBlockSize;
}

}  // namespace xmllite
