#include "list_model.h"

#include <algorithm>
#include <stdexcept>

#include "platform.h"

const char16_t* SubItemCaption(SubItem item) {
  static const char16_t* const kCaptions[kSubItemCount] = {u"Name", u"id", u"path", u"param", u"desc", u"prereq", u"debug"};
  const int i = static_cast<int>(item);
  return (i >= 0 && i < kSubItemCount) ? kCaptions[i] : u"";
}

const ListRow& ListView::Row(int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("list row index out of range");
  return rows_[static_cast<std::size_t>(index)];
}

int ListView::AddRow(const std::u16string& caption, int group, const std::array<std::u16string, kSubItemCount>& subItems) {
  ListRow row;
  row.Caption = caption;
  row.Group = group;
  row.SubItems = subItems;
  std::size_t at = rows_.size();
  if (sorted_) {
    Platform& platform = Platform::Current();
    // After the last row that does not compare greater, so equal captions keep their order.
    const auto it = std::upper_bound(rows_.begin(), rows_.end(), row, [&](const ListRow& a, const ListRow& b) {
      return platform.CompareStrings(a.Caption, b.Caption) < 0;
    });
    at = static_cast<std::size_t>(it - rows_.begin());
  }
  const std::u16string lowered = Platform::Current().LowerCase(row.Name());
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
  if (at == rows_.size() - 1 && !nameIndexStale_) {
    nameIndex_.emplace(lowered, static_cast<int>(at));  // keeps an earlier row with that name
  } else {
    nameIndexStale_ = true;
  }
  Notify(ListChange::RowAdded, static_cast<int>(at));
  return static_cast<int>(at);
}

void ListView::SetChecked(int index, bool checked) {
  Row(index);  // range check
  ListRow& row = rows_[static_cast<std::size_t>(index)];
  if (row.Checked == checked) return;
  row.Checked = checked;
  checkedCount_ += checked ? 1 : -1;
  Notify(ListChange::CheckChanged, index);
}

void ListView::SetSubItem(int index, SubItem item, const std::u16string& text) {
  Row(index);
  const int i = static_cast<int>(item);
  if (i < 0 || i >= kSubItemCount) throw std::out_of_range("sub-item out of range");
  std::u16string& slot = rows_[static_cast<std::size_t>(index)].SubItems[static_cast<std::size_t>(i)];
  if (slot == text) return;
  slot = text;
  if (item == SubItem::Name) nameIndexStale_ = true;
  Notify(ListChange::TextChanged, index);
}

void ListView::SortByCaption() {
  Platform& platform = Platform::Current();
  // Sorts positions over a compact copy of the captions, so that each row moves only once.
  std::vector<std::u16string> captions;
  captions.reserve(rows_.size());
  for (const ListRow& row : rows_) captions.push_back(row.Caption);
  std::vector<int> order(rows_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return platform.CompareStrings(captions[static_cast<std::size_t>(a)], captions[static_cast<std::size_t>(b)]) < 0;
  });
  std::vector<ListRow> sorted;
  sorted.reserve(rows_.size());
  for (int i : order) sorted.push_back(std::move(rows_[static_cast<std::size_t>(i)]));
  rows_ = std::move(sorted);
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
  for (std::size_t i = 0; i < rows_.size(); ++i) nameIndex_.emplace(platform.LowerCase(rows_[i].Name()), static_cast<int>(i));
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
