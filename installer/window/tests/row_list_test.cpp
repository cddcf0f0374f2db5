#include "row_list.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::vector<int> Contents(const RowList& list) { return {list.begin(), list.end()}; }

RowList Filled(int count) {
  RowList list;
  for (int i = 0; i < count; ++i) list.push_back(10 * i);
  return list;
}

std::vector<int> Expected(int count) {
  std::vector<int> rows;
  for (int i = 0; i < count; ++i) rows.push_back(10 * i);
  return rows;
}

// Lengths on both sides of the inline room, and ones that grow the heap block more than once.
const int kLengths[] = {0, 1, 2, 3, 4, 5, 17};

TEST(RowListTest, KeepsEveryEntryInOrder) {
  for (int count : kLengths) {
    const RowList list = Filled(count);
    EXPECT_EQ(Contents(list), Expected(count)) << "length " << count;
    EXPECT_EQ(list.size(), static_cast<std::size_t>(count)) << "length " << count;
    EXPECT_EQ(list.empty(), count == 0) << "length " << count;
    if (count > 0) {
      EXPECT_EQ(list.back(), 10 * (count - 1)) << "length " << count;
    }
  }
}

TEST(RowListTest, MovingHandsOverTheEntriesAndEmptiesTheSource) {
  for (int count : kLengths) {
    RowList source = Filled(count);
    RowList constructed(std::move(source));
    EXPECT_EQ(Contents(constructed), Expected(count)) << "length " << count;
    EXPECT_TRUE(source.empty()) << "length " << count;
    source.push_back(7);  // a moved-from list is usable again
    EXPECT_EQ(Contents(source), std::vector<int>{7}) << "length " << count;

    RowList assigned = Filled(5);  // on the heap before the assignment: its block is freed
    assigned = std::move(constructed);
    EXPECT_EQ(Contents(assigned), Expected(count)) << "length " << count;
    EXPECT_TRUE(constructed.empty()) << "length " << count;
  }
}

TEST(RowListTest, ClearedListsTakeNewEntries) {
  for (int count : kLengths) {
    RowList list = Filled(count);
    list.clear();
    EXPECT_TRUE(list.empty()) << "length " << count;
    for (int i = 0; i < 3; ++i) list.push_back(i + 1);
    EXPECT_EQ(Contents(list), (std::vector<int>{1, 2, 3})) << "length " << count;
  }
}

}  // namespace
