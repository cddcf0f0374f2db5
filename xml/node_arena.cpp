#include "node_arena.h"

#include <new>

namespace xmllite {

void* NodeArena::TakeSlow(std::size_t size, std::size_t alignment) {
  if (alignment > alignof(std::max_align_t)) throw std::bad_alloc();
  if (size > nextBlockSize_ / 4) {
    // A block of its own, placed behind the newest one so that the room left there stays in use.
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
  const std::size_t room = nextBlockSize_;
  Block* const block = static_cast<Block*>(::operator new(sizeof(Block) + room));
  block->next = blocks_;
  blocks_ = block;
  next_ = reinterpret_cast<char*>(block + 1);
  end_ = next_ + room;
  if (nextBlockSize_ < kBlockSize) nextBlockSize_ *= 2;
  // A new block is aligned for anything: the piece starts at its beginning.
  void* const piece = next_;
  next_ += size;
  return piece;
}

void NodeArena::Release() noexcept {
  while (blocks_) {
    Block* const next = blocks_->next;
    ::operator delete(blocks_);
    blocks_ = next;
  }
  next_ = end_ = nullptr;
  nextBlockSize_ = kFirstBlockSize;
}

}  // namespace xmllite
