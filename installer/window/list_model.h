// The rows and groups of one selection list: the main view (one row per package) or the detail
// view (one row per installer command). Portable: the Win32 list-view control is only a mirror of
// a ListView and follows its notifications.
//
// A ListView owns its rows and its groups for its whole life. Rows are addressed by index; the
// index order is the order the user sees and the order the installation run walks. Nothing here
// knows the check rules: they subscribe to the notifications like any other observer
// (selection_rules.h).
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

// The seven sub-items of a row, in column order after the caption.
enum class SubItem : int { Name = 0, Id = 1, Path = 2, Param = 3, Desc = 4, Prereq = 5, Debug = 6 };
inline constexpr int kSubItemCount = 7;

// Column captions of the sub-items: "Name", "id", "path", "param", "desc", "prereq", "debug".
const char16_t* SubItemCaption(SubItem item);

struct ListRow {
  std::u16string Caption;  // sort key: priority ";" group ";" id
  int Group = -1;          // position in the view's group list; -1: no group
  std::array<std::u16string, kSubItemCount> SubItems;
  bool Checked = false;

  const std::u16string& Text(SubItem item) const { return SubItems[static_cast<int>(item)]; }
  const std::u16string& Name() const { return Text(SubItem::Name); }
  const std::u16string& Id() const { return Text(SubItem::Id); }
  const std::u16string& Path() const { return Text(SubItem::Path); }
  const std::u16string& Param() const { return Text(SubItem::Param); }
  const std::u16string& Desc() const { return Text(SubItem::Desc); }
  const std::u16string& Prereq() const { return Text(SubItem::Prereq); }
  const std::u16string& Debug() const { return Text(SubItem::Debug); }
};

// What changed in a view. Index is the row (or group) concerned; -1 for whole-view changes.
enum class ListChange {
  RowAdded,       // a row was inserted at Index (rows after it moved down by one)
  CheckChanged,   // the check state of row Index changed (only real changes are reported)
  TextChanged,    // a caption or sub-item of row Index changed
  Reordered,      // the rows were sorted; every index may now name another row
  GroupAdded,     // group Index was appended
  GroupRenamed,   // the header of group Index changed
};

struct ListEvent {
  ListChange Kind;
  int Index;
};

class ListView {
public:
  using Listener = std::function<void(ListView& view, const ListEvent& event)>;

  ListView() = default;
  ListView(const ListView&) = delete;
  ListView& operator=(const ListView&) = delete;

  // ---- Rows ----
  int Count() const { return static_cast<int>(rows_.size()); }
  // The row at index; raises std::out_of_range outside 0..Count()-1.
  const ListRow& Row(int index) const;
  // Raises std::out_of_range outside 0..Count()-1.
  bool Checked(int index) const;
  // Appends an unchecked row (or inserts it at its sorted place once SortByCaption has been
  // called) and returns its index. Reports RowAdded; a new row is unchecked, so no CheckChanged.
  int AddRow(std::u16string caption, int group, std::array<std::u16string, kSubItemCount> subItems);
  // Makes room for rows rows in all, so that adding that many moves nothing; no visible change.
  void Reserve(std::size_t rows);
  // Sets the check state. Reports CheckChanged only when the state really changes, to every
  // listener, whoever made the change. Out-of-range indices raise std::out_of_range.
  void SetChecked(int index, bool checked);
  // Replaces one sub-item's text; reports TextChanged when it differs.
  void SetSubItem(int index, SubItem item, const std::u16string& text);
  // Number of checked rows, kept up to date on every change.
  int CheckedCount() const { return checkedCount_; }

  // ---- Sorting ----
  // Sorts the rows by caption with the system's string comparison (Platform::CompareStrings,
  // lstrcmpW on Windows). Stable: rows with equal captions keep their order. From then on the
  // view stays sorted: AddRow inserts after the last row that does not compare greater.
  void SortByCaption();
  bool Sorted() const { return sorted_; }
  // After the latest SortByCaption: for each row, the index it had before that sort. Empty
  // before the first sort; observers of Reordered use it to carry their per-row data along.
  const std::vector<int>& LastOrder() const { return lastOrder_; }

  // ---- Groups ----
  // A group's number is its position in the list. Groups are never removed.
  int GroupCount() const { return static_cast<int>(groups_.size()); }
  // Header of group number; raises std::out_of_range for a number that is no position
  // (-1 included), as the run relies on for rows without a group.
  const std::u16string& GroupHeader(int number) const;
  // Appends a group and returns its number.
  int AddGroup(const std::u16string& header);
  // Renames group number; raises std::out_of_range for a number that is no position.
  void SetGroupHeader(int number, const std::u16string& header);
  // Number of the first group whose header equals header exactly; -1 when none does.
  int FindGroup(const std::u16string& header) const;

  // ---- Look-ups ----
  // Index of the first row whose "Name" equals text without regard to case (both lowered with
  // Platform::LowerCase); -1 when none.
  int FindByName(const std::u16string& text) const;

  // ---- Notifications ----
  // Listeners are called synchronously, in subscription order, also for changes that a listener
  // makes while being notified (nested). Returns a token for Unsubscribe.
  int Subscribe(Listener listener);
  void Unsubscribe(int token);

private:
  void Notify(ListChange kind, int index);
  ListRow& At(int index) const { return rows_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(index)])]; }
  void RebuildNameIndex() const;

  // Check states live apart from the rows, where the rules can reach them without touching the
  // rows' texts; Row() copies a row's state into it when it is read.
  // rows_ holds the rows in the order they were added and never moves them, not even when it
  // grows; slots_ gives, per index, the row's place in rows_, so a sort moves integers rather
  // than rows.
  mutable std::deque<ListRow> rows_;
  std::vector<int> slots_;
  std::vector<char> checks_;  // per index
  // lowered "Name" -> first row; rebuilt on demand after rows moved or were renamed
  mutable std::unordered_map<std::u16string, int> nameIndex_;
  mutable bool nameIndexStale_ = false;
  std::vector<int> lastOrder_;
  std::vector<std::u16string> groups_;
  std::unordered_map<std::u16string, int> groupIndex_;  // header -> first group
  bool sorted_ = false;
  int checkedCount_ = 0;
  struct Subscription {
    int Token;
    Listener Callback;
  };
  std::vector<Subscription> listeners_;
  int nextToken_ = 1;
};
