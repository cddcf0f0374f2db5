#include "list_model.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform.h"

const char16_t* SubItemCaption(SubItem item) {
  static const char16_t* const kCaptions[kSubItemCount] = {u"Name", u"id", u"path", u"param", u"desc", u"prereq", u"debug"};
  const int i = static_cast<int>(item);
  return (i >= 0 && i < kSubItemCount) ? kCaptions[i] : u"";
}

const ListRow& ListView::Row(int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("list row index out of range");
  ListRow& row = At(index);
  row.Checked = checks_[static_cast<std::size_t>(index)] != 0;
  return row;
}

bool ListView::Checked(int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("list row index out of range");
  return checks_[static_cast<std::size_t>(index)] != 0;
}

int ListView::AddRow(std::u16string caption, int group, std::array<std::u16string, kSubItemCount> subItems) {
  ListRow row;
  row.Caption = std::move(caption);
  row.Group = group;
  row.SubItems = std::move(subItems);
  std::size_t at = rows_.size();
  if (sorted_) {
    Platform& platform = Platform::Current();
    // After the last row that does not compare greater, so equal captions keep their order.
    const auto it = std::upper_bound(slots_.begin(), slots_.end(), row.Caption, [&](const std::u16string& caption, int slot) {
      return platform.CompareStrings(caption, rows_[static_cast<std::size_t>(slot)].Caption) < 0;
    });
    at = static_cast<std::size_t>(it - slots_.begin());
  }
  const std::u16string lowered = Platform::Current().LowerCase(row.Name());
  row.Checked = false;
  slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(at), static_cast<int>(rows_.size()));
  rows_.push_back(std::move(row));
  checks_.insert(checks_.begin() + static_cast<std::ptrdiff_t>(at), 0);
  if (at == rows_.size() - 1 && !nameIndexStale_) {
    nameIndex_.emplace(lowered, static_cast<int>(at));  // keeps an earlier row with that name
  } else {
    nameIndexStale_ = true;
  }
  Notify(ListChange::RowAdded, static_cast<int>(at));
  return static_cast<int>(at);
}

void ListView::Reserve(std::size_t rows) {
  slots_.reserve(rows);
  checks_.reserve(rows);
  nameIndex_.reserve(rows);
}

void ListView::SetChecked(int index, bool checked) {
  if (index < 0 || index >= Count()) throw std::out_of_range("list row index out of range");
  char& state = checks_[static_cast<std::size_t>(index)];
  if ((state != 0) == checked) return;
  state = checked ? 1 : 0;
  checkedCount_ += checked ? 1 : -1;
  Notify(ListChange::CheckChanged, index);
}

void ListView::SetSubItem(int index, SubItem item, const std::u16string& text) {
  Row(index);
  const int i = static_cast<int>(item);
  if (i < 0 || i >= kSubItemCount) throw std::out_of_range("sub-item out of range");
  std::u16string& slot = At(index).SubItems[static_cast<std::size_t>(i)];
  if (slot == text) return;
  slot = text;
  if (item == SubItem::Name) nameIndexStale_ = true;
  Notify(ListChange::TextChanged, index);
}

void ListView::SortByCaption() {
  Platform& platform = Platform::Current();
  // Sorts positions by the captions where they are; the rows themselves do not move.
  std::vector<const std::u16string*> captions;
  captions.reserve(slots_.size());
  for (int slot : slots_) captions.push_back(&rows_[static_cast<std::size_t>(slot)].Caption);
  std::vector<int> order(slots_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return platform.CompareStrings(*captions[static_cast<std::size_t>(a)], *captions[static_cast<std::size_t>(b)]) < 0;
  });
  std::vector<int> sortedSlots;
  std::vector<char> sortedChecks;
  sortedSlots.reserve(slots_.size());
  sortedChecks.reserve(checks_.size());
  for (int i : order) {
    sortedSlots.push_back(slots_[static_cast<std::size_t>(i)]);
    sortedChecks.push_back(checks_[static_cast<std::size_t>(i)]);
  }
  slots_ = std::move(sortedSlots);
  checks_ = std::move(sortedChecks);
  lastOrder_ = std::move(order);
  sorted_ = true;
  nameIndexStale_ = true;
  Notify(ListChange::Reordered, -1);
}

const std::u16string& ListView::GroupHeader(int number) const {
  if (number < 0 || number >= GroupCount()) throw std::out_of_range("list group index out of range");
  return groups_[static_cast<std::size_t>(number)];
}

int ListView::AddGroup(const std::u16string& header) {
  groups_.push_back(header);
  const int number = GroupCount() - 1;
  groupIndex_.emplace(header, number);
  Notify(ListChange::GroupAdded, number);
  return number;
}

void ListView::SetGroupHeader(int number, const std::u16string& header) {
  GroupHeader(number);  // range check
  std::u16string& slot = groups_[static_cast<std::size_t>(number)];
  if (slot == header) return;
  slot = header;
  groupIndex_.clear();
  for (int i = 0; i < GroupCount(); ++i) groupIndex_.emplace(groups_[static_cast<std::size_t>(i)], i);
  Notify(ListChange::GroupRenamed, number);
}

int ListView::FindGroup(const std::u16string& header) const {
  const auto it = groupIndex_.find(header);
  return it == groupIndex_.end() ? -1 : it->second;
}

int ListView::FindByName(const std::u16string& text) const {
  if (nameIndexStale_) RebuildNameIndex();
  const auto it = nameIndex_.find(Platform::Current().LowerCase(text));
  return it == nameIndex_.end() ? -1 : it->second;
}

void ListView::RebuildNameIndex() const {
  nameIndexStale_ = false;
  nameIndex_.clear();
  Platform& platform = Platform::Current();
  for (int i = 0; i < Count(); ++i) nameIndex_.emplace(platform.LowerCase(At(i).Name()), i);
}

int ListView::Subscribe(Listener listener) {
  const int token = nextToken_++;
  listeners_.push_back({token, std::move(listener)});
  return token;
}

void ListView::Unsubscribe(int token) {
  std::erase_if(listeners_, [token](const Subscription& s) { return s.Token == token; });
}

void ListView::Notify(ListChange kind, int index) {
  const ListEvent event{kind, index};
  // By position and with a copy of the callback: a listener may subscribe or unsubscribe while
  // being notified.
  for (std::size_t i = 0; i < listeners_.size(); ++i) {
    Listener callback = listeners_[i].Callback;
    callback(*this, event);
  }
}
