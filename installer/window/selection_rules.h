// The two selection lists of the main window and the rules that move their check marks.
//
// SelectionLists owns the main view InstallList (one row per package name) and the detail view
// InstallListDetail (one row per installer command). It subscribes to both views: every check
// change, whoever makes it (the user through the Win32 view, the package loader, the settings'
// preselections, chk_all, the rules themselves), runs the matching handler while the guard
// CheckEventsEnabled is open. The handlers keep prerequisites checked, mirror the marks between
// the views, drive the install and pause buttons and stop the countdown. The window and the
// countdown follow the outputs here (state plus ControlChange notifications); they hold no rules.
//
// A prerequisite link is the "prereq" text of one row naming the "id" of others (exact
// comparison). Checking a row checks what it needs, and so on down the chain; unchecking a row
// unchecks every row that needs it, directly or indirectly. An empty "prereq" names nothing.
// Each walk visits a row at most once, so cycles and self-references end.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "list_model.h"

// Outputs of the rules that the window (and the countdown) follow.
enum class ControlChange {
  InstallEnabled,   // InstallEnabled() changed
  PauseEnabled,     // PauseEnabled() changed
  StopCountdown,    // the countdown must stop (CountdownTimer.Enabled false); sent on every handled change
  CaptionsChanged,  // ChkAllCaption/InstallCaption/PauseCaption changed
};

class SelectionLists {
public:
  using ControlListener = std::function<void(ControlChange change)>;

  SelectionLists();
  ~SelectionLists();
  SelectionLists(const SelectionLists&) = delete;
  SelectionLists& operator=(const SelectionLists&) = delete;

  ListView InstallList;        // main view
  ListView InstallListDetail;  // detail view

  // Open while no handler is at work. The handlers close it while they change marks themselves
  // and reopen it on every path, also when a step fails.
  bool CheckEventsEnabled = true;

  // ---- Used by the package loader ----
  // Makes room for the rows of about packages packages before they are loaded (one row each in
  // either view; more simply grow), so the lists and their look-ups do not move while they fill.
  // Changes nothing visible.
  void Reserve(int packages);
  // -1 for an empty name; otherwise the number of the group with that header (exact, looked up in
  // the detail view), creating it in both views (detail view first) on its first use. The number
  // is the same in both views and is the group's position in each.
  int GetGroupID(const std::u16string& name);
  // Index of the first row of view whose "Name" equals text without regard to case; -1 when
  // none, or when view is null.
  static int GetListItemIDX(const ListView* view, const std::u16string& text);

  // ---- The rules ----
  // The prerequisite step for one target row of view after a change of row changed (indices of
  // view; -1 or out of range: nothing happens). If target's id is changed's prereq and changed
  // is checked, target is checked; else if target's prereq is changed's id and changed is
  // unchecked, target is unchecked; then the same step runs for every row with the target as
  // the changed row. Rows already handled within this call are not handled again.
  void ApplyPrereq(int target, int changed, ListView& view);
  // Handler of the main view's check changes (row -1: none; ignored then, and for a row with an
  // empty caption, and while the guard is closed).
  void InstallListItemChecked(int row);
  // Handler of the detail view's check changes; row -1 synchronises everything (start-up).
  void InstallListDetailItemChecked(int row);
  // The check box "all": every main row takes checked, in index order; each change runs the rules.
  void chk_allClick(bool checked);
  bool ChkAllChecked() const { return chkAllChecked_; }
  // A click on a row of view with selected the selected row (-1: none). Returns the new text of
  // the log pane (the row's "desc", possibly empty) or nothing when no row is selected.
  static std::optional<std::u16string> InstallListClick(const ListView& view, int selected);

  // ---- Outputs ----
  bool InstallEnabled() const { return installEnabled_; }
  bool PauseEnabled() const { return pauseEnabled_; }
  // Start-up and the countdown set the pause button's state; a handled check change clears it.
  void SetPauseEnabled(bool enabled);
  // Captions of chk_all, btnInstall and btnPause as the translations set them (design texts
  // until then: "Alles", "Installieren", "Pause").
  const std::u16string& ChkAllCaption() const { return chkAllCaption_; }
  const std::u16string& InstallCaption() const { return installCaption_; }
  const std::u16string& PauseCaption() const { return pauseCaption_; }
  void SetCaptions(const std::u16string& chkAll, const std::u16string& install, const std::u16string& pause);
  // Number of times the rules asked to stop the countdown.
  std::uint64_t StopCountdownRequests() const { return stopRequests_; }

  int SubscribeControls(ControlListener listener);
  void UnsubscribeControls(int token);

private:
  struct Index;  // id/prereq look-ups and counters kept up to date from the notifications

  void OnMainChange(const ListEvent& event);
  void OnDetailChange(const ListEvent& event);
  void WalkPrereq(ListView& view, int changed, bool isMain);
  void SetInstallEnabled(bool enabled);
  void StopCountdown();
  void NotifyControls(ControlChange change);

  std::unique_ptr<Index> index_;
  bool installEnabled_ = false;
  bool pauseEnabled_ = false;
  bool chkAllChecked_ = true;
  std::u16string chkAllCaption_ = u"Alles";
  std::u16string installCaption_ = u"Installieren";
  std::u16string pauseCaption_ = u"Pause";
  std::uint64_t stopRequests_ = 0;
  struct ControlSubscription {
    int Token;
    ControlListener Callback;
  };
  std::vector<ControlSubscription> controlListeners_;
  int nextToken_ = 1;
};
