#include "selection_rules.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <unordered_map>
#include <utility>

#include "platform.h"
#include "row_list.h"

// Look-ups and counters over both views, kept current from the views' notifications, so that a
// check change costs time in proportion to the rows it affects rather than to the whole lists.
//
// Ids and prereqs share one key space (a prereq names an id, exact comparison); the mirroring
// from the detail view to the main view compares ids without regard to case and has its own keys.
// Per key the row lists are in index order, which the rules rely on ("the later main row wins").
//
// Candidates: the mirroring steps only revisit keys that a change touched since the last
// mirroring in that direction. Every change of a row marks its keys; a key that was not marked is
// still in the state the last mirroring left it in, so skipping it gives the same outcome as
// walking every row.
struct SelectionLists::Index {
  struct ExactKey {
    RowList MainIds, DetailIds;          // rows whose "id" is this key
    RowList MainPrereqs, DetailPrereqs;  // rows whose "prereq" is this key
    int DetailChecked = 0;               // checked rows among DetailIds
    bool Candidate = false;              // awaiting the main -> detail mirroring
  };
  struct LowerKey {
    RowList MainRows;  // main rows whose lowered "id" is this key
    int DetailCount = 0, DetailChecked = 0;
    bool Candidate = false;  // awaiting the detail -> main mirroring
  };
  struct RowKeys {
    int Id = -1, Lower = -1, Prereq = -1;  // Prereq -1: empty, names nothing
    bool Captioned = false;                // the row's caption is not empty (it never changes)
  };

  std::unordered_map<std::u16string, int> exactLookup, lowerLookup;
  std::vector<ExactKey> exact;
  std::vector<std::u16string> exactText;  // the text of each exact key
  std::vector<LowerKey> lower;
  std::vector<RowKeys> mainKeys, detailKeys;
  std::vector<int> mainCandidates, detailCandidates;
  long long pairs = 0;  // matching (main, detail) pairs by exact id
  std::vector<std::uint32_t> mainVisit, detailVisit;
  std::uint32_t walk = 0;

  void Reserve(std::size_t mainRows, std::size_t detailRows) {
    const std::size_t keys = mainRows + 1;  // ids of the packages, and the empty one
    exactLookup.reserve(keys);
    lowerLookup.reserve(keys);
    exact.reserve(keys);
    exactText.reserve(keys);
    lower.reserve(keys);
    mainKeys.reserve(mainRows);
    detailKeys.reserve(detailRows);
    mainVisit.reserve(mainRows);
    detailVisit.reserve(detailRows);
  }

  int Exact(const std::u16string& text) {
    const auto [it, added] = exactLookup.emplace(text, static_cast<int>(exact.size()));
    if (added) {
      exact.emplace_back();
      exactText.push_back(text);
    }
    return it->second;
  }
  int Lower(const std::u16string& text) {
    const auto [it, added] = lowerLookup.emplace(Platform::Current().LowerCase(text), static_cast<int>(lower.size()));
    if (added) lower.emplace_back();
    return it->second;
  }

  void MarkExact(int key) {
    if (key < 0 || exact[static_cast<std::size_t>(key)].Candidate) return;
    exact[static_cast<std::size_t>(key)].Candidate = true;
    mainCandidates.push_back(key);
  }
  void MarkLower(int key) {
    if (key < 0 || lower[static_cast<std::size_t>(key)].Candidate) return;
    lower[static_cast<std::size_t>(key)].Candidate = true;
    detailCandidates.push_back(key);
  }

  // Registers the row at index (the last one of its view).
  void Append(const ListView& view, bool isMain, int index) {
    const ListRow& row = view.Row(index);
    RowKeys keys;
    keys.Id = Exact(row.Id());
    keys.Lower = Lower(row.Id());
    keys.Prereq = row.Prereq().empty() ? -1 : Exact(row.Prereq());
    keys.Captioned = !row.Caption.empty();
    ExactKey& id = exact[static_cast<std::size_t>(keys.Id)];
    LowerKey& low = lower[static_cast<std::size_t>(keys.Lower)];
    if (isMain) {
      id.MainIds.push_back(index);
      low.MainRows.push_back(index);
      pairs += static_cast<long long>(id.DetailIds.size());
      if (keys.Prereq >= 0) exact[static_cast<std::size_t>(keys.Prereq)].MainPrereqs.push_back(index);
      mainKeys.push_back(keys);
      mainVisit.push_back(0);
    } else {
      id.DetailIds.push_back(index);
      pairs += static_cast<long long>(id.MainIds.size());
      low.DetailCount += 1;
      if (row.Checked) {
        id.DetailChecked += 1;
        low.DetailChecked += 1;
      }
      if (keys.Prereq >= 0) exact[static_cast<std::size_t>(keys.Prereq)].DetailPrereqs.push_back(index);
      detailKeys.push_back(keys);
      detailVisit.push_back(0);
    }
    MarkExact(keys.Id);
    MarkLower(keys.Lower);
  }

  void Rebuild(const ListView& main, const ListView& detail) {
    exactLookup.clear();
    lowerLookup.clear();
    exact.clear();
    exactText.clear();
    lower.clear();
    mainKeys.clear();
    detailKeys.clear();
    mainCandidates.clear();
    detailCandidates.clear();
    mainVisit.clear();
    detailVisit.clear();
    pairs = 0;
    walk = 0;
    for (int i = 0; i < main.Count(); ++i) Append(main, true, i);
    for (int i = 0; i < detail.Count(); ++i) Append(detail, false, i);
  }

  // Carries the per-row keys of one view along a sort (order: old index of each row) and refills
  // that view's row lists in the new index order. Counters do not change with the order; which
  // main row of an id comes last may, so every key is looked at again by the next mirroring.
  void Reorder(const ListView& view, bool isMain, const ListView& main, const ListView& detail) {
    auto& keys = isMain ? mainKeys : detailKeys;
    const std::vector<int>& order = view.LastOrder();
    if (order.size() != keys.size()) {
      Rebuild(main, detail);
      return;
    }
    std::vector<RowKeys> moved(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i) moved[i] = keys[static_cast<std::size_t>(order[i])];
    keys = std::move(moved);
    for (ExactKey& entry : exact) {
      (isMain ? entry.MainIds : entry.DetailIds).clear();
      (isMain ? entry.MainPrereqs : entry.DetailPrereqs).clear();
    }
    if (isMain)
      for (LowerKey& entry : lower) entry.MainRows.clear();
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const int row = static_cast<int>(i);
      const RowKeys& k = keys[i];
      ExactKey& id = exact[static_cast<std::size_t>(k.Id)];
      (isMain ? id.MainIds : id.DetailIds).push_back(row);
      if (k.Prereq >= 0) {
        ExactKey& prereq = exact[static_cast<std::size_t>(k.Prereq)];
        (isMain ? prereq.MainPrereqs : prereq.DetailPrereqs).push_back(row);
      }
      if (isMain) lower[static_cast<std::size_t>(k.Lower)].MainRows.push_back(row);
    }
    std::fill(mainVisit.begin(), mainVisit.end(), 0u);
    std::fill(detailVisit.begin(), detailVisit.end(), 0u);
    walk = 0;
    for (std::size_t key = 0; key < exact.size(); ++key) MarkExact(static_cast<int>(key));
    for (std::size_t key = 0; key < lower.size(); ++key) MarkLower(static_cast<int>(key));
  }

  // True when the row's id or prereq no longer is what the index holds for it.
  bool KeysChanged(const ListView& view, bool isMain, int index) const {
    const auto& keys = isMain ? mainKeys : detailKeys;
    if (index < 0 || static_cast<std::size_t>(index) >= keys.size()) return true;
    const RowKeys& k = keys[static_cast<std::size_t>(index)];
    const ListRow& row = view.Row(index);
    if (exactText[static_cast<std::size_t>(k.Id)] != row.Id()) return true;
    if (k.Prereq < 0) return !row.Prereq().empty();
    return exactText[static_cast<std::size_t>(k.Prereq)] != row.Prereq();
  }

  std::uint32_t NextWalk() {
    if (++walk == 0) {  // wrapped: forget every old mark
      std::fill(mainVisit.begin(), mainVisit.end(), 0u);
      std::fill(detailVisit.begin(), detailVisit.end(), 0u);
      walk = 1;
    }
    return walk;
  }

  // Gives every row reachable from the rows on the stack the state state: when checking, along
  // "prereq" -> "id" links (what they need); when unchecking, along "id" -> "prereq" links (what
  // needs them). Iterative, so long chains cannot exhaust the stack; a row is handled at most
  // once per walk, so cycles end.
  void Spread(ListView& view, bool isMain, bool state, std::uint32_t mark, std::vector<int>& stack) {
    auto& keys = isMain ? mainKeys : detailKeys;
    auto& visit = isMain ? mainVisit : detailVisit;
    std::vector<int> found;
    while (!stack.empty()) {
      const int from = stack.back();
      stack.pop_back();
      if (from < 0 || static_cast<std::size_t>(from) >= keys.size()) continue;
      const RowKeys k = keys[static_cast<std::size_t>(from)];
      const int key = state ? k.Prereq : k.Id;
      if (key < 0) continue;
      const ExactKey& entry = exact[static_cast<std::size_t>(key)];
      const RowList& targets =
          state ? (isMain ? entry.MainIds : entry.DetailIds) : (isMain ? entry.MainPrereqs : entry.DetailPrereqs);
      found.clear();
      for (int target : targets) {
        if (static_cast<std::size_t>(target) < visit.size() && visit[static_cast<std::size_t>(target)] != mark) {
          visit[static_cast<std::size_t>(target)] = mark;
          found.push_back(target);
        }
      }
      for (int target : found) view.SetChecked(target, state);
      // The first target's followers come next, as in a depth-first walk.
      for (auto it = found.rbegin(); it != found.rend(); ++it) stack.push_back(*it);
    }
  }
};

namespace {

// Closes the guard for the lifetime of a handler and reopens it on every way out.
class GuardClosed {
public:
  explicit GuardClosed(bool& guard) : guard_(guard) { guard_ = false; }
  ~GuardClosed() { guard_ = true; }
  GuardClosed(const GuardClosed&) = delete;
  GuardClosed& operator=(const GuardClosed&) = delete;

private:
  bool& guard_;
};

// Runs its action when the scope is left by an exception.
class KeepMarkedOnFailure {
public:
  explicit KeepMarkedOnFailure(std::function<void()> action) : action_(std::move(action)), exceptions_(std::uncaught_exceptions()) {}
  ~KeepMarkedOnFailure() {
    if (std::uncaught_exceptions() > exceptions_) action_();
  }
  KeepMarkedOnFailure(const KeepMarkedOnFailure&) = delete;
  KeepMarkedOnFailure& operator=(const KeepMarkedOnFailure&) = delete;

private:
  std::function<void()> action_;
  int exceptions_;
};

bool InRange(const ListView& view, int index) { return index >= 0 && index < view.Count(); }

}  // namespace

SelectionLists::SelectionLists() : index_(std::make_unique<Index>()) {
  // Subscribed before anyone else can be: the index is current before any other observer runs.
  InstallList.Subscribe([this](ListView&, const ListEvent& event) { OnMainChange(event); });
  InstallListDetail.Subscribe([this](ListView&, const ListEvent& event) { OnDetailChange(event); });
}

SelectionLists::~SelectionLists() = default;

void SelectionLists::OnMainChange(const ListEvent& event) {
  Index& ix = *index_;
  switch (event.Kind) {
    case ListChange::RowAdded:
      if (event.Index == InstallList.Count() - 1 && static_cast<int>(ix.mainKeys.size()) == event.Index)
        ix.Append(InstallList, true, event.Index);
      else
        ix.Rebuild(InstallList, InstallListDetail);
      break;
    case ListChange::Reordered:
      ix.Reorder(InstallList, true, InstallList, InstallListDetail);
      break;
    case ListChange::TextChanged:
      if (ix.KeysChanged(InstallList, true, event.Index)) ix.Rebuild(InstallList, InstallListDetail);
      break;
    case ListChange::CheckChanged: {
      const Index::RowKeys& keys = ix.mainKeys[static_cast<std::size_t>(event.Index)];
      ix.MarkExact(keys.Id);
      ix.MarkLower(keys.Lower);
      InstallListItemChecked(event.Index);
      break;
    }
    case ListChange::GroupAdded:
    case ListChange::GroupRenamed:
      break;
  }
}

void SelectionLists::OnDetailChange(const ListEvent& event) {
  Index& ix = *index_;
  switch (event.Kind) {
    case ListChange::RowAdded:
      if (event.Index == InstallListDetail.Count() - 1 && static_cast<int>(ix.detailKeys.size()) == event.Index)
        ix.Append(InstallListDetail, false, event.Index);
      else
        ix.Rebuild(InstallList, InstallListDetail);
      break;
    case ListChange::Reordered:
      ix.Reorder(InstallListDetail, false, InstallList, InstallListDetail);
      break;
    case ListChange::TextChanged:
      if (ix.KeysChanged(InstallListDetail, false, event.Index)) ix.Rebuild(InstallList, InstallListDetail);
      break;
    case ListChange::CheckChanged: {
      const Index::RowKeys& keys = ix.detailKeys[static_cast<std::size_t>(event.Index)];
      const int delta = InstallListDetail.Checked(event.Index) ? 1 : -1;
      ix.exact[static_cast<std::size_t>(keys.Id)].DetailChecked += delta;
      ix.lower[static_cast<std::size_t>(keys.Lower)].DetailChecked += delta;
      ix.MarkExact(keys.Id);
      ix.MarkLower(keys.Lower);
      InstallListDetailItemChecked(event.Index);
      break;
    }
    case ListChange::GroupAdded:
    case ListChange::GroupRenamed:
      break;
  }
}

void SelectionLists::Reserve(int packages) {
  if (packages <= 0) return;
  const auto rows = static_cast<std::size_t>(packages);
  InstallList.Reserve(rows);
  InstallListDetail.Reserve(rows);
  index_->Reserve(rows, rows);
}

int SelectionLists::GetGroupID(const std::u16string& name) {
  if (name.empty()) return -1;
  const int found = InstallListDetail.FindGroup(name);
  if (found >= 0) return found;
  const int number = InstallListDetail.AddGroup(name);
  InstallList.AddGroup(name);
  return number;
}

int SelectionLists::GetListItemIDX(const ListView* view, const std::u16string& text) {
  return view == nullptr ? -1 : view->FindByName(text);
}

void SelectionLists::WalkPrereq(ListView& view, int changed, bool isMain) {
  Index& ix = *index_;
  const std::uint32_t walk = ix.NextWalk();
  (isMain ? ix.mainVisit : ix.detailVisit)[static_cast<std::size_t>(changed)] = walk;
  std::vector<int> stack{changed};
  ix.Spread(view, isMain, view.Checked(changed), walk, stack);
}

void SelectionLists::ApplyPrereq(int target, int changed, ListView& view) {
  const bool isMain = &view == &InstallList;
  if (!isMain && &view != &InstallListDetail) return;
  if (!InRange(view, target) || !InRange(view, changed)) return;
  const ListRow& t = view.Row(target);
  const ListRow& c = view.Row(changed);
  const bool state = c.Checked;
  const bool links = state ? (!c.Prereq().empty() && t.Id() == c.Prereq()) : (!c.Id().empty() && t.Prereq() == c.Id());
  if (!links) return;
  Index& ix = *index_;
  const std::uint32_t walk = ix.NextWalk();
  auto& visit = isMain ? ix.mainVisit : ix.detailVisit;
  visit[static_cast<std::size_t>(changed)] = walk;
  visit[static_cast<std::size_t>(target)] = walk;
  view.SetChecked(target, state);
  std::vector<int> stack{target};
  ix.Spread(view, isMain, state, walk, stack);
}

void SelectionLists::InstallListItemChecked(int row) {
  if (!CheckEventsEnabled || !InRange(InstallList, row)) return;
  Index& ix = *index_;
  if (static_cast<std::size_t>(row) < ix.mainKeys.size() ? !ix.mainKeys[static_cast<std::size_t>(row)].Captioned
                                                          : InstallList.Row(row).Caption.empty())
    return;
  {
    GuardClosed guard(CheckEventsEnabled);
    WalkPrereq(InstallList, row, true);
    // Every detail row takes the state of the last main row (in index order) with its id.
    std::vector<int> keys;
    keys.swap(ix.mainCandidates);
    for (int key : keys) ix.exact[static_cast<std::size_t>(key)].Candidate = false;
    // Should an observer fail half-way, the keys stay marked so that a later change redoes them.
    KeepMarkedOnFailure keep([&] { for (int key : keys) ix.MarkExact(key); });
    for (int key : keys) {
      if (static_cast<std::size_t>(key) >= ix.exact.size()) continue;
      const Index::ExactKey& entry = ix.exact[static_cast<std::size_t>(key)];
      if (entry.MainIds.empty()) continue;
      const bool state = InstallList.Checked(entry.MainIds.back());
      const std::size_t mismatched =
          state ? entry.DetailIds.size() - static_cast<std::size_t>(entry.DetailChecked) : static_cast<std::size_t>(entry.DetailChecked);
      if (mismatched == 0) continue;
      const std::vector<int> rows(entry.DetailIds.begin(), entry.DetailIds.end());
      for (int d : rows) InstallListDetail.SetChecked(d, state);
    }
    // What the loop changed is in step now.
    for (int key : ix.mainCandidates) ix.exact[static_cast<std::size_t>(key)].Candidate = false;
    ix.mainCandidates.clear();
    // The counter counts matching pairs, checked or not.
    SetInstallEnabled(ix.pairs > 0);
    if (pauseEnabled_) SetPauseEnabled(false);
    StopCountdown();
  }
}

void SelectionLists::InstallListDetailItemChecked(int row) {
  if (!CheckEventsEnabled) return;
  if (row != -1 && !InRange(InstallListDetail, row)) return;
  Index& ix = *index_;
  if (row != -1 && (static_cast<std::size_t>(row) < ix.detailKeys.size() ? !ix.detailKeys[static_cast<std::size_t>(row)].Captioned
                                                                         : InstallListDetail.Row(row).Caption.empty()))
    return;
  int counter = 0;
  {
    GuardClosed guard(CheckEventsEnabled);
    if (row >= 0) WalkPrereq(InstallListDetail, row, false);
    counter = InstallListDetail.CheckedCount();
    // Main rows follow the detail rows of their id (without regard to case): checked when any is
    // checked, unchecked when all are unchecked, unchanged when there are none.
    std::vector<int> keys;
    keys.swap(ix.detailCandidates);
    for (int key : keys) ix.lower[static_cast<std::size_t>(key)].Candidate = false;
    KeepMarkedOnFailure keep([&] { for (int key : keys) ix.MarkLower(key); });
    for (int key : keys) {
      if (static_cast<std::size_t>(key) >= ix.lower.size()) continue;
      const Index::LowerKey& entry = ix.lower[static_cast<std::size_t>(key)];
      if (entry.DetailCount == 0) continue;
      const bool state = entry.DetailChecked > 0;
      const std::vector<int> rows(entry.MainRows.begin(), entry.MainRows.end());
      for (int m : rows) InstallList.SetChecked(m, state);
    }
    for (int key : ix.detailCandidates) ix.lower[static_cast<std::size_t>(key)].Candidate = false;
    ix.detailCandidates.clear();
  }
  SetInstallEnabled(counter > 0);
  if (pauseEnabled_) SetPauseEnabled(false);
  StopCountdown();
}

void SelectionLists::chk_allClick(bool checked) {
  chkAllChecked_ = checked;
  for (int i = 0; i < InstallList.Count(); ++i) InstallList.SetChecked(i, checked);
}

std::optional<std::u16string> SelectionLists::InstallListClick(const ListView& view, int selected) {
  if (!InRange(view, selected)) return std::nullopt;
  return view.Row(selected).Desc();
}

void SelectionLists::SetPauseEnabled(bool enabled) {
  if (pauseEnabled_ == enabled) return;
  pauseEnabled_ = enabled;
  NotifyControls(ControlChange::PauseEnabled);
}

void SelectionLists::SetInstallEnabled(bool enabled) {
  if (installEnabled_ == enabled) return;
  installEnabled_ = enabled;
  NotifyControls(ControlChange::InstallEnabled);
}

void SelectionLists::StopCountdown() {
  ++stopRequests_;
  NotifyControls(ControlChange::StopCountdown);
}

void SelectionLists::SetCaptions(const std::u16string& chkAll, const std::u16string& install, const std::u16string& pause) {
  chkAllCaption_ = chkAll;
  installCaption_ = install;
  pauseCaption_ = pause;
  NotifyControls(ControlChange::CaptionsChanged);
}

int SelectionLists::SubscribeControls(ControlListener listener) {
  const int token = nextToken_++;
  controlListeners_.push_back({token, std::move(listener)});
  return token;
}

void SelectionLists::UnsubscribeControls(int token) {
  std::erase_if(controlListeners_, [token](const ControlSubscription& s) { return s.Token == token; });
}

void SelectionLists::NotifyControls(ControlChange change) {
  for (std::size_t i = 0; i < controlListeners_.size(); ++i) {
    ControlListener callback = controlListeners_[i].Callback;
    callback(change);
  }
}
