// A Win32 list-view control (report style, check boxes, group view) that mirrors one ListView of
// the model. The model is the truth: rows, groups and check marks flow from it into the control.
// A user's click on a check box goes the other way, as ListView::SetChecked, so that the check
// rules run exactly as for every other change; the mirroring that follows does not loop back.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "list_model.h"

// One column of a view: caption, width and the range the user may drag it to (design pixels;
// maxWidth 0: no upper limit).
struct ListColumn {
  const wchar_t* Caption;
  int Width;
  int MinWidth;
  int MaxWidth;
};

// The eight columns of the main view and of the detail view.
extern const ListColumn kMainViewColumns[8];
extern const ListColumn kDetailViewColumns[8];

// Display group of rows without a group (group number -1). The model has no such group; without
// one, a group view would hide those rows although they are offered and may be checked.
inline constexpr int kUngroupedDisplayGroup = 0x7FFF;

class ListViewMirror {
public:
  // Configures the control (extended styles, group view, columns scaled by scale(design pixels))
  // and shows the model's current rows and groups in it.
  ListViewMirror(HWND control, ListView& model, const ListColumn (&columns)[8], int (*scale)(HWND, int));
  ~ListViewMirror();
  ListViewMirror(const ListViewMirror&) = delete;
  ListViewMirror& operator=(const ListViewMirror&) = delete;

  HWND Handle() const { return control_; }
  ListView& Model() const { return model_; }

  // LVN_ITEMCHANGED of the control: a check box the user changed becomes a change of the model.
  void OnItemChanged(const NMLISTVIEW& change);
  // HDN_ITEMCHANGING of the control's header: a width outside the column's range is refused and
  // the nearest allowed width taken instead. True when the change is refused.
  bool OnColumnResizing(NMHEADERW& change);
  // Index of the selected row, -1 when none.
  int SelectedRow() const;

private:
  void OnModelChange(const ListEvent& event);
  void InsertRow(int index);
  void UpdateTexts(int index);
  void ShowCheck(int index);
  void Rebuild();
  void AddGroup(int number);
  void RenameGroup(int number);
  void EnsureUngroupedGroup();
  int DisplayGroup(int group);

  HWND control_;
  ListView& model_;
  const ListColumn (&columns_)[8];
  int (*scale_)(HWND, int);
  int token_ = 0;
  int mirroring_ = 0;  // above 0 while the control is being changed from the model
  bool ungroupedShown_ = false;
};
