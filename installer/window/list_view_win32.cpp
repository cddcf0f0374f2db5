#include "list_view_win32.h"

#include <string>

namespace {

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// State image 1 is the empty box, 2 the checked one; 0 means no box yet (an item being inserted).
constexpr UINT StateImage(UINT state) { return (state & LVIS_STATEIMAGEMASK) >> 12; }

// Holds the control's change notifications off the model while the control follows it.
class MirrorScope {
public:
  explicit MirrorScope(int& depth) : depth_(depth) { ++depth_; }
  ~MirrorScope() { --depth_; }
  MirrorScope(const MirrorScope&) = delete;
  MirrorScope& operator=(const MirrorScope&) = delete;

private:
  int& depth_;
};

}  // namespace

const ListColumn kMainViewColumns[8] = {
    {L"", 25, 25, 25},     {L"Name", 300, 300, 0}, {L"id", 0, 0, 0},    {L"path", 0, 0, 0},
    {L"param", 0, 0, 0},   {L"desc", 0, 0, 0},     {L"prereq", 0, 0, 0}, {L"debug", 0, 0, 0},
};
const ListColumn kDetailViewColumns[8] = {
    {L"", 25, 25, 25},     {L"Name", 300, 300, 0}, {L"id", 25, 0, 0},     {L"path", 50, 0, 0},
    {L"param", 50, 0, 0},  {L"desc", 50, 0, 0},    {L"prereq", 50, 0, 0}, {L"debug", 50, 0, 0},
};

ListViewMirror::ListViewMirror(HWND control, ListView& model, const ListColumn (&columns)[8], int (*scale)(HWND, int))
    : control_(control), model_(model), columns_(columns), scale_(scale) {
  MirrorScope scope(mirroring_);
  ListView_SetExtendedListViewStyle(control_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  ListView_EnableGroupView(control_, TRUE);
  for (int i = 0; i < 8; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(columns_[i].Caption);
    column.cx = scale_(control_, columns_[i].Width);
    column.iSubItem = i;
    ListView_InsertColumn(control_, i, &column);
  }
  for (int g = 0; g < model_.GroupCount(); ++g) AddGroup(g);
  for (int r = 0; r < model_.Count(); ++r) InsertRow(r);
  token_ = model_.Subscribe([this](ListView&, const ListEvent& event) { OnModelChange(event); });
}

ListViewMirror::~ListViewMirror() { model_.Unsubscribe(token_); }

void ListViewMirror::OnModelChange(const ListEvent& event) {
  MirrorScope scope(mirroring_);
  switch (event.Kind) {
    case ListChange::RowAdded: InsertRow(event.Index); break;
    case ListChange::CheckChanged: ShowCheck(event.Index); break;
    case ListChange::TextChanged: UpdateTexts(event.Index); break;
    case ListChange::Reordered: Rebuild(); break;
    case ListChange::GroupAdded: AddGroup(event.Index); break;
    case ListChange::GroupRenamed: RenameGroup(event.Index); break;
  }
}

int ListViewMirror::DisplayGroup(int group) {
  if (group >= 0 && group < model_.GroupCount()) return group;
  EnsureUngroupedGroup();
  return kUngroupedDisplayGroup;
}

void ListViewMirror::EnsureUngroupedGroup() {
  if (ungroupedShown_) return;
  LVGROUP info{};
  info.cbSize = sizeof(info);
  info.mask = LVGF_HEADER | LVGF_GROUPID;
  info.pszHeader = const_cast<wchar_t*>(L"");
  info.iGroupId = kUngroupedDisplayGroup;
  ListView_InsertGroup(control_, -1, &info);
  ungroupedShown_ = true;
}

void ListViewMirror::InsertRow(int index) {
  const ListRow& row = model_.Row(index);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_GROUPID;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(W(row.Caption));
  item.iGroupId = DisplayGroup(row.Group);
  ListView_InsertItem(control_, &item);
  UpdateTexts(index);
  ShowCheck(index);
}

void ListViewMirror::UpdateTexts(int index) {
  const ListRow& row = model_.Row(index);
  ListView_SetItemText(control_, index, 0, const_cast<wchar_t*>(W(row.Caption)));
  for (int i = 0; i < kSubItemCount; ++i) {
    ListView_SetItemText(control_, index, i + 1, const_cast<wchar_t*>(W(row.SubItems[i])));
  }
}

void ListViewMirror::ShowCheck(int index) { ListView_SetCheckState(control_, index, model_.Checked(index)); }

void ListViewMirror::Rebuild() {
  SendMessageW(control_, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(control_);
  for (int r = 0; r < model_.Count(); ++r) InsertRow(r);
  SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control_, nullptr, TRUE);
}

void ListViewMirror::AddGroup(int number) {
  LVGROUP info{};
  info.cbSize = sizeof(info);
  info.mask = LVGF_HEADER | LVGF_GROUPID;
  info.pszHeader = const_cast<wchar_t*>(W(model_.GroupHeader(number)));
  info.iGroupId = number;
  // Before the display group of ungrouped rows, which stays last.
  const int position = ungroupedShown_ ? static_cast<int>(ListView_GetGroupCount(control_)) - 1 : -1;
  ListView_InsertGroup(control_, position, &info);
}

void ListViewMirror::RenameGroup(int number) {
  LVGROUP info{};
  info.cbSize = sizeof(info);
  info.mask = LVGF_HEADER;
  info.pszHeader = const_cast<wchar_t*>(W(model_.GroupHeader(number)));
  ListView_SetGroupInfo(control_, number, &info);
}

void ListViewMirror::OnItemChanged(const NMLISTVIEW& change) {
  if (mirroring_ > 0 || !(change.uChanged & LVIF_STATE)) return;
  const UINT before = StateImage(change.uOldState), after = StateImage(change.uNewState);
  if (before == 0 || after == 0 || before == after) return;
  if (change.iItem < 0 || change.iItem >= model_.Count()) return;
  model_.SetChecked(change.iItem, after == 2);
  // Whatever the rules made of the click, the control shows the model.
  MirrorScope scope(mirroring_);
  ShowCheck(change.iItem);
}

bool ListViewMirror::OnColumnResizing(NMHEADERW& change) {
  if (!change.pitem || !(change.pitem->mask & HDI_WIDTH) || change.iItem < 0 || change.iItem >= 8) return false;
  const ListColumn& column = columns_[change.iItem];
  const int minWidth = scale_(control_, column.MinWidth);
  const int maxWidth = column.MaxWidth > 0 ? scale_(control_, column.MaxWidth) : 0;
  int width = change.pitem->cxy;
  if (width < minWidth) width = minWidth;
  if (maxWidth > 0 && width > maxWidth) width = maxWidth;
  if (width == change.pitem->cxy) return false;
  // Refuse the drag and take the nearest allowed width instead (that change is in range).
  ListView_SetColumnWidth(control_, change.iItem, width);
  return true;
}

int ListViewMirror::SelectedRow() const { return ListView_GetNextItem(control_, -1, LVNI_SELECTED); }
