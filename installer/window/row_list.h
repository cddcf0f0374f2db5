// RowList: a short list of row indices that keeps its first two entries inside itself.
//
// The check rules keep, per id, the rows that carry it or name it as their prerequisite. Most ids
// name one or two rows, so with the entries inline an id's lists sit next to its counters in one
// compact array, and a check change reads no scattered heap blocks; only longer lists take one.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

class RowList {
public:
  RowList() = default;
  RowList(RowList&& other) noexcept : size_(other.size_), capacity_(other.capacity_), storage_(other.storage_) {
    other.size_ = 0;
    other.capacity_ = kInline;
  }
  RowList& operator=(RowList&& other) noexcept {
    if (this != &other) {
      Release();
      size_ = std::exchange(other.size_, 0);
      capacity_ = std::exchange(other.capacity_, kInline);
      storage_ = other.storage_;
    }
    return *this;
  }
  RowList(const RowList&) = delete;
  RowList& operator=(const RowList&) = delete;
  ~RowList() { Release(); }

  void push_back(int row) {
    if (size_ == capacity_) Grow();
    data()[size_++] = row;
  }
  // Empties the list; a heap block is kept for the next entries.
  void clear() { size_ = 0; }

  const int* begin() const { return data(); }
  const int* end() const { return data() + size_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  int back() const { return data()[size_ - 1]; }

private:
  static constexpr std::uint32_t kInline = 2;

  bool OnHeap() const { return capacity_ > kInline; }
  int* data() { return OnHeap() ? storage_.heap : storage_.local; }
  const int* data() const { return OnHeap() ? storage_.heap : storage_.local; }
  void Release() {
    if (OnHeap()) delete[] storage_.heap;
  }
  void Grow() {
    const std::uint32_t capacity = std::max(capacity_ * 2, size_ + 1);
    int* block = new int[capacity];
    std::copy(begin(), end(), block);
    Release();
    storage_.heap = block;
    capacity_ = capacity;
  }

  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = kInline;
  union Storage {
    int local[kInline];
    int* heap;
  } storage_{};
};
