#include "selection_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>

#include "errors.h"
#include "fake_platform.h"

namespace {

struct Package {
  std::u16string id;
  std::u16string name;
  std::u16string prereq;
  bool checked = true;
  int commands = 1;
  std::u16string group = u"";
  std::u16string desc = u"";
};

// Adds a package's rows the way the package loader does: each detail row is added and then
// checked (which runs the rules), and the package's main row, unless a row of that name exists,
// takes the state of the detail row just added.
void AddPackage(SelectionLists& lists, const Package& p) {
  const int group = lists.GetGroupID(p.group);
  const std::u16string caption = u"50;" + p.group + u";" + p.id;
  for (int c = 0; c < p.commands; ++c) {
    const std::array<std::u16string, kSubItemCount> items{p.name + u" #" + std::u16string(1, char16_t(u'1' + c)), p.id, u"c:\\x.exe",
                                                          u"", p.desc, p.prereq, u"0"};
    const int d = lists.InstallListDetail.AddRow(caption, group, items);
    lists.InstallListDetail.SetChecked(d, p.checked);
    if (SelectionLists::GetListItemIDX(&lists.InstallList, p.name) == -1) {
      const int m = lists.InstallList.AddRow(caption, group, {p.name, p.id, u"c:\\x.exe", u"", p.desc, p.prereq, u"0"});
      lists.InstallList.SetChecked(m, lists.InstallListDetail.Checked(d));
    }
  }
}

std::u16string Marks(const ListView& view) {
  std::u16string out;
  for (int i = 0; i < view.Count(); ++i) out += view.Checked(i) ? u'x' : u'.';
  return out;
}

std::vector<int> RowsWithId(const ListView& view, const std::u16string& id) {
  std::vector<int> rows;
  for (int i = 0; i < view.Count(); ++i)
    if (view.Row(i).Id() == id) rows.push_back(i);
  return rows;
}

class SelectionRulesTest : public ::testing::Test {
protected:
  FakePlatform machine;
  ScopedPlatform scoped{machine};
  SelectionLists lists;

  void Load(const std::vector<Package>& packages) {
    for (const Package& p : packages) AddPackage(lists, p);
    lists.InstallListDetail.SortByCaption();
    lists.InstallList.SortByCaption();
    lists.InstallListDetailItemChecked(-1);
  }
  bool DetailChecked(const std::u16string& id) {
    for (int i : RowsWithId(lists.InstallListDetail, id))
      if (!lists.InstallListDetail.Checked(i)) return false;
    return true;
  }
  bool DetailUnchecked(const std::u16string& id) {
    for (int i : RowsWithId(lists.InstallListDetail, id))
      if (lists.InstallListDetail.Checked(i)) return false;
    return true;
  }
  bool MainChecked(const std::u16string& id) { return lists.InstallList.Checked(RowsWithId(lists.InstallList, id).at(0)); }
};

TEST_F(SelectionRulesTest, CheckingACommandChecksItsPrerequisiteAndTheMainRowsFollow) {
  Load({{u"b", u"B", u"", false, 2}, {u"a", u"A", u"b", false, 2}, {u"c", u"C", u"", false, 1}});
  ASSERT_FALSE(lists.InstallEnabled());
  lists.InstallListDetail.SetChecked(RowsWithId(lists.InstallListDetail, u"a")[1], true);
  EXPECT_TRUE(DetailChecked(u"b"));
  // The other command of A keeps its state.
  EXPECT_FALSE(lists.InstallListDetail.Checked(RowsWithId(lists.InstallListDetail, u"a")[0]));
  EXPECT_TRUE(MainChecked(u"a"));
  EXPECT_TRUE(MainChecked(u"b"));
  EXPECT_FALSE(MainChecked(u"c"));
  EXPECT_TRUE(lists.InstallEnabled());
}

TEST_F(SelectionRulesTest, UncheckingAPrerequisiteUnchecksEverythingThatNeedsItTransitively) {
  Load({{u"base", u"Base", u""}, {u"mid", u"Mid", u"base", true, 2}, {u"top", u"Top", u"mid"}, {u"free", u"Free", u""}});
  lists.InstallListDetail.SetChecked(RowsWithId(lists.InstallListDetail, u"base")[0], false);
  EXPECT_TRUE(DetailUnchecked(u"mid"));
  EXPECT_TRUE(DetailUnchecked(u"top"));
  EXPECT_TRUE(DetailChecked(u"free"));
  EXPECT_EQ(Marks(lists.InstallList), u".x..");  // base, free, mid, top sorted by id
  EXPECT_EQ(lists.InstallList.Row(3).Id(), u"top");
  EXPECT_FALSE(MainChecked(u"base"));
  EXPECT_TRUE(MainChecked(u"free"));
}

TEST_F(SelectionRulesTest, AMainRowIsCheckedWhenAnyOfItsCommandsIs) {
  Load({{u"p", u"P", u"", false, 3}});
  lists.InstallListDetail.SetChecked(2, true);
  EXPECT_EQ(Marks(lists.InstallListDetail), u"..x");
  EXPECT_EQ(Marks(lists.InstallList), u"x");
  lists.InstallListDetail.SetChecked(2, false);
  EXPECT_EQ(Marks(lists.InstallList), u".");
}

TEST_F(SelectionRulesTest, TwoMainRowsWithOneIdFollowTheLaterOneAndTheDetailViewMovesBoth) {
  Load({{u"dup", u"First", u"", true, 1}, {u"dup", u"Second", u"", true, 1}});
  ASSERT_EQ(lists.InstallList.Count(), 2);
  // Unchecking the later main row: every detail row takes its state.
  lists.InstallList.SetChecked(1, false);
  EXPECT_EQ(Marks(lists.InstallListDetail), u"..");
  EXPECT_EQ(Marks(lists.InstallList), u"x.");
  // Unchecking the earlier one and rechecking it: the later main row still decides.
  lists.InstallList.SetChecked(0, false);
  lists.InstallList.SetChecked(0, true);
  EXPECT_EQ(Marks(lists.InstallListDetail), u"..");
  // A change in the detail view gives both main rows the same state.
  lists.InstallListDetail.SetChecked(0, true);
  EXPECT_EQ(Marks(lists.InstallList), u"xx");
}

TEST_F(SelectionRulesTest, ASecondPackageOfTheSameNameGetsNoMainRow) {
  Load({{u"one", u"Runtime", u""}, {u"two", u"RUNTIME", u"", true, 2}});
  EXPECT_EQ(lists.InstallList.Count(), 1);
  EXPECT_EQ(lists.InstallListDetail.Count(), 3);
  EXPECT_EQ(lists.InstallList.Row(0).Id(), u"one");
}

TEST_F(SelectionRulesTest, InstallButtonFollowsTheRuleOfEachView) {
  Load({{u"a", u"A", u""}, {u"b", u"B", u""}});
  ASSERT_TRUE(lists.InstallEnabled());
  // The main view counts matching pairs, checked or not.
  lists.InstallList.SetChecked(0, false);
  lists.InstallList.SetChecked(1, false);
  EXPECT_EQ(Marks(lists.InstallListDetail), u"..");
  EXPECT_TRUE(lists.InstallEnabled());
  // The detail view counts checked rows.
  lists.InstallListDetail.SetChecked(0, true);
  EXPECT_TRUE(lists.InstallEnabled());
  lists.InstallListDetail.SetChecked(0, false);
  EXPECT_FALSE(lists.InstallEnabled());
}

TEST_F(SelectionRulesTest, MainRowsWithoutCommandsDoNotEnableInstalling) {
  // A main row whose id no detail row carries (only possible through another package's name).
  lists.InstallList.AddRow(u"50;;lonely", -1, {u"Lonely", u"lonely", u"", u"", u"", u"", u"0"});
  lists.InstallList.SetChecked(0, true);
  EXPECT_FALSE(lists.InstallEnabled());
  EXPECT_EQ(lists.InstallListDetail.Count(), 0);
}

TEST_F(SelectionRulesTest, ChkAllOffAndOnMovesEveryRowThatSharesAnId) {
  Load({{u"a", u"A", u"", true, 2}, {u"b", u"B", u"a", false, 1}, {u"c", u"C", u"", true, 1}});
  lists.chk_allClick(false);
  EXPECT_EQ(Marks(lists.InstallList), u"...");
  EXPECT_EQ(Marks(lists.InstallListDetail), u"....");
  EXPECT_FALSE(lists.ChkAllChecked());
  lists.chk_allClick(true);
  EXPECT_EQ(Marks(lists.InstallList), u"xxx");
  EXPECT_EQ(Marks(lists.InstallListDetail), u"xxxx");
}

TEST_F(SelectionRulesTest, AMainViewChangeResetsCommandsTheUserMixedInOtherPackages) {
  Load({{u"a", u"A", u"", true, 2}, {u"b", u"B", u"", true, 1}});
  lists.InstallListDetail.SetChecked(0, false);  // one command of A off; A's main row stays checked
  ASSERT_EQ(Marks(lists.InstallListDetail), u".xx");
  ASSERT_EQ(Marks(lists.InstallList), u"xx");
  lists.InstallList.SetChecked(1, false);  // B off in the main view: A's commands follow A again
  EXPECT_EQ(Marks(lists.InstallListDetail), u"xx.");
}

TEST_F(SelectionRulesTest, EveryHandledChangeStopsTheCountdownAndDisablesPause) {
  Load({{u"a", u"A", u""}});
  std::vector<ControlChange> seen;
  lists.SubscribeControls([&](ControlChange c) { seen.push_back(c); });
  lists.SetPauseEnabled(true);
  const auto before = lists.StopCountdownRequests();
  lists.InstallList.SetChecked(0, false);
  EXPECT_FALSE(lists.PauseEnabled());
  EXPECT_GT(lists.StopCountdownRequests(), before);
  EXPECT_NE(std::find(seen.begin(), seen.end(), ControlChange::StopCountdown), seen.end());
  EXPECT_NE(std::find(seen.begin(), seen.end(), ControlChange::PauseEnabled), seen.end());
}

TEST_F(SelectionRulesTest, ChangesOfRowsWithoutCaptionAreIgnored) {
  lists.InstallListDetail.AddRow(u"", -1, {u"X", u"x", u"", u"", u"", u"", u"0"});
  lists.InstallList.AddRow(u"", -1, {u"X", u"x", u"", u"", u"", u"", u"0"});
  lists.InstallListDetail.SetChecked(0, true);
  lists.InstallList.SetChecked(0, true);
  lists.InstallList.SetChecked(0, false);
  EXPECT_TRUE(lists.InstallListDetail.Checked(0));  // no mirroring happened
  EXPECT_EQ(lists.StopCountdownRequests(), 0u);
  EXPECT_FALSE(lists.InstallEnabled());
}

TEST_F(SelectionRulesTest, CyclesSelfReferencesAndEmptyIdsEnd) {
  Load({{u"a", u"A", u"b", false}, {u"b", u"B", u"a", false}, {u"self", u"Self", u"self", false},
        {u"", u"NoId", u"", false}, {u"plain", u"Plain", u"", false}});
  lists.InstallListDetail.SetChecked(RowsWithId(lists.InstallListDetail, u"a")[0], true);
  EXPECT_TRUE(DetailChecked(u"a"));
  EXPECT_TRUE(DetailChecked(u"b"));
  lists.InstallList.SetChecked(RowsWithId(lists.InstallList, u"self")[0], true);
  EXPECT_TRUE(DetailChecked(u"self"));
  // An empty prereq names nothing: checking a package without one leaves the id-less one alone.
  lists.InstallListDetail.SetChecked(RowsWithId(lists.InstallListDetail, u"plain")[0], true);
  EXPECT_TRUE(DetailUnchecked(u""));
  lists.InstallList.SetChecked(RowsWithId(lists.InstallList, u"b")[0], false);
  EXPECT_TRUE(DetailUnchecked(u"a"));
  EXPECT_TRUE(DetailUnchecked(u"b"));
  EXPECT_TRUE(DetailChecked(u"plain"));
}

TEST_F(SelectionRulesTest, LongPrerequisiteChainsDoNotExhaustTheStack) {
  std::vector<Package> chain;
  for (int i = 0; i < 20000; ++i) {
    const std::u16string id = FromUtf8("p" + std::to_string(i));
    chain.push_back({id, id, i == 0 ? u"" : FromUtf8("p" + std::to_string(i - 1)), false});
  }
  Load(chain);
  lists.InstallList.SetChecked(RowsWithId(lists.InstallList, u"p19999")[0], true);
  EXPECT_EQ(lists.InstallListDetail.CheckedCount(), 20000);
  lists.InstallList.SetChecked(RowsWithId(lists.InstallList, u"p0")[0], false);
  EXPECT_EQ(lists.InstallListDetail.CheckedCount(), 0);
  EXPECT_EQ(lists.InstallList.CheckedCount(), 0);
}

TEST_F(SelectionRulesTest, TheGuardReopensWhenAnObserverFails) {
  Load({{u"a", u"A", u""}, {u"b", u"B", u"a"}});
  bool fail = true;
  lists.InstallListDetail.Subscribe([&](ListView&, const ListEvent& e) {
    if (fail && e.Kind == ListChange::CheckChanged) throw std::runtime_error("view gone");
  });
  EXPECT_THROW(lists.InstallList.SetChecked(0, false), std::runtime_error);
  EXPECT_TRUE(lists.CheckEventsEnabled);
  fail = false;
  lists.InstallList.SetChecked(0, true);
  lists.InstallList.SetChecked(0, false);
  EXPECT_TRUE(DetailUnchecked(u"b"));
}

TEST_F(SelectionRulesTest, ApplyPrereqGivesOneTargetItsStateAndFollowsFromIt) {
  Load({{u"a", u"A", u"", false}, {u"b", u"B", u"a", false}, {u"c", u"C", u"b", false}});
  lists.CheckEventsEnabled = false;  // as inside a handler
  lists.InstallList.SetChecked(2, true);  // c
  lists.ApplyPrereq(0, 2, lists.InstallList);  // a is not c's prereq: nothing
  EXPECT_EQ(Marks(lists.InstallList), u"..x");
  lists.ApplyPrereq(1, 2, lists.InstallList);  // b is: checked, and from b on a as well
  EXPECT_EQ(Marks(lists.InstallList), u"xxx");
  lists.ApplyPrereq(-1, 2, lists.InstallList);
  lists.ApplyPrereq(1, 7, lists.InstallList);
  EXPECT_EQ(Marks(lists.InstallList), u"xxx");
}

TEST_F(SelectionRulesTest, RowsAddedAfterSortingTakeTheirPlaceAndFollowTheRules) {
  Load({{u"a", u"A", u"", false}, {u"c", u"C", u"", false}});
  // A package loaded late sorts between the two; checking it checks its prerequisite.
  AddPackage(lists, {u"b", u"B", u"c", true});
  EXPECT_EQ(lists.InstallList.Row(1).Id(), u"b");
  EXPECT_EQ(lists.InstallListDetail.Row(1).Id(), u"b");
  EXPECT_EQ(Marks(lists.InstallListDetail), u".xx");
  EXPECT_EQ(Marks(lists.InstallList), u".xx");
  lists.InstallList.SetChecked(2, false);  // c off: b needs it
  EXPECT_EQ(Marks(lists.InstallListDetail), u"...");
  EXPECT_EQ(SelectionLists::GetListItemIDX(&lists.InstallList, u"c"), 2);
}

TEST_F(SelectionRulesTest, GroupsAreSharedByNumberAndAnEmptyNameHasNone) {
  const struct {
    std::u16string name;
    int expected;
  } rows[] = {{u"Runtimes", 0}, {u"Tools", 1}, {u"", -1}, {u"Runtimes", 0}, {u"runtimes", 2}};
  for (const auto& row : rows) EXPECT_EQ(lists.GetGroupID(row.name), row.expected) << ToUtf8(row.name);
  ASSERT_EQ(lists.InstallList.GroupCount(), 3);
  for (int g = 0; g < 3; ++g) EXPECT_EQ(lists.InstallList.GroupHeader(g), lists.InstallListDetail.GroupHeader(g));
  EXPECT_EQ(SelectionLists::GetListItemIDX(nullptr, u"x"), -1);
}

TEST_F(SelectionRulesTest, AClickShowsTheDescriptionOfTheSelectedRow) {
  Load({{u"a", u"A", u"", true, 1, u"", u"Laufzeit"}, {u"b", u"B", u""}});
  EXPECT_EQ(SelectionLists::InstallListClick(lists.InstallList, 0), std::optional<std::u16string>(u"Laufzeit"));
  EXPECT_EQ(SelectionLists::InstallListClick(lists.InstallListDetail, 1), std::optional<std::u16string>(u""));
  EXPECT_EQ(SelectionLists::InstallListClick(lists.InstallList, -1), std::nullopt);
}

// ---- The indexed rules against a direct reading of them, on random small lists ----

struct RefRow {
  std::u16string caption, name, id, prereq;
  bool checked = false;
};

// Walks every row on every step, exactly as the rules read; recursion without a visit guard, so
// only acyclic data may be given to it.
class Reference {
public:
  std::vector<RefRow> main, detail;
  bool guard = true;
  bool install = false;

  void Set(bool isMain, int i, bool state) {
    RefRow& r = (isMain ? main : detail)[static_cast<std::size_t>(i)];
    if (r.checked == state) return;
    r.checked = state;
    if (isMain) MainChecked(i); else DetailChecked(i);
  }
  void Apply(bool isMain, int target, int changed) {
    auto& v = isMain ? main : detail;
    const RefRow t = v[static_cast<std::size_t>(target)], c = v[static_cast<std::size_t>(changed)];
    if (!c.prereq.empty() && t.id == c.prereq && c.checked) Set(isMain, target, true);
    else if (!c.id.empty() && t.prereq == c.id && !c.checked) Set(isMain, target, false);
    else return;
    for (std::size_t r = 0; r < v.size(); ++r) Apply(isMain, static_cast<int>(r), target);
  }
  void MainChecked(int row) {
    if (!guard) return;
    guard = false;
    for (std::size_t r = 0; r < main.size(); ++r) Apply(true, static_cast<int>(r), row);
    int counter = 0;
    for (auto& m : main)
      for (std::size_t d = 0; d < detail.size(); ++d)
        if (detail[d].id == m.id) { ++counter; Set(false, static_cast<int>(d), m.checked); }
    install = counter > 0;
    guard = true;
  }
  void DetailChecked(int row) {
    if (!guard) return;
    guard = false;
    if (row >= 0)
      for (std::size_t r = 0; r < detail.size(); ++r) Apply(false, static_cast<int>(r), row);
    int counter = 0;
    for (auto& d : detail) counter += d.checked ? 1 : 0;
    for (std::size_t m = 0; m < main.size(); ++m) {
      bool any = false, checked = false;
      for (auto& d : detail)
        if (FakeLower16(d.id) == FakeLower16(main[m].id)) { any = true; checked = checked || d.checked; }
      if (any) Set(true, static_cast<int>(m), checked);
    }
    guard = true;
    install = counter > 0;
  }
  static std::u16string FakeLower16(std::u16string s) {
    for (auto& c : s) c = FakeLower(c);
    return s;
  }
};

TEST_F(SelectionRulesTest, IndexedRulesAgreeWithADirectReadingOnRandomLists) {
  std::mt19937 random(20261211);
  const std::u16string ids[] = {u"a", u"A", u"b", u"c", u"C", u"d", u"e"};
  for (int round = 0; round < 300; ++round) {
    SelectionLists model;
    Reference ref;
    const int packages = 1 + static_cast<int>(random() % 7);
    // Room made beforehand, for fewer or more packages than come, changes nothing.
    if (round % 2 == 1) model.Reserve(static_cast<int>(random() % 10));
    for (int p = 0; p < packages; ++p) {
      Package pkg;
      pkg.id = ids[random() % 7];
      // Prerequisites point to letters later in the alphabet only (case aside), so no cycles.
      const std::u16string later[] = {u"", u"b", u"c", u"d", u"e", u"x"};
      pkg.prereq = later[random() % 6];
      if (!pkg.prereq.empty() && Reference::FakeLower16(pkg.prereq) <= Reference::FakeLower16(pkg.id)) pkg.prereq.clear();
      pkg.name = ids[random() % 7] + u"n";
      pkg.checked = random() % 2 == 0;
      pkg.commands = 1 + static_cast<int>(random() % 3);
      AddPackage(model, pkg);
      // The same loading steps on the reference.
      for (int c = 0; c < pkg.commands; ++c) {
        ref.detail.push_back({u"50;;" + pkg.id, pkg.name, pkg.id, pkg.prereq, false});
        ref.Set(false, static_cast<int>(ref.detail.size()) - 1, pkg.checked);
        bool named = false;
        for (auto& m : ref.main) named = named || Reference::FakeLower16(m.name) == Reference::FakeLower16(pkg.name);
        if (!named) {
          ref.main.push_back({u"50;;" + pkg.id, pkg.name, pkg.id, pkg.prereq, false});
          ref.Set(true, static_cast<int>(ref.main.size()) - 1, ref.detail.back().checked);
        }
      }
    }
    auto sortRef = [&](std::vector<RefRow>& rows) {
      std::stable_sort(rows.begin(), rows.end(),
                       [&](const RefRow& x, const RefRow& y) { return machine.CompareStrings(x.caption, y.caption) < 0; });
    };
    model.InstallListDetail.SortByCaption();
    model.InstallList.SortByCaption();
    sortRef(ref.detail);
    sortRef(ref.main);
    model.InstallListDetailItemChecked(-1);
    ref.DetailChecked(-1);
    for (int step = 0; step < 12; ++step) {
      const int kind = static_cast<int>(random() % 5);
      const bool state = random() % 2 == 0;
      std::string what;
      if (kind == 0) {
        model.chk_allClick(state);
        for (std::size_t m = 0; m < ref.main.size(); ++m) ref.Set(true, static_cast<int>(m), state);
        what = "chk_all";
      } else if (kind <= 2) {
        const int m = static_cast<int>(random() % ref.main.size());
        model.InstallList.SetChecked(m, state);
        ref.Set(true, m, state);
        what = "main " + std::to_string(m);
      } else {
        const int d = static_cast<int>(random() % ref.detail.size());
        model.InstallListDetail.SetChecked(d, state);
        ref.Set(false, d, state);
        what = "detail " + std::to_string(d);
      }
      std::u16string refMain, refDetail;
      for (auto& r : ref.main) refMain += r.checked ? u'x' : u'.';
      for (auto& r : ref.detail) refDetail += r.checked ? u'x' : u'.';
      ASSERT_EQ(ToUtf8(Marks(model.InstallList)), ToUtf8(refMain)) << "round " << round << " step " << step << " " << what;
      ASSERT_EQ(ToUtf8(Marks(model.InstallListDetail)), ToUtf8(refDetail)) << "round " << round << " step " << step << " " << what;
      ASSERT_EQ(model.InstallEnabled(), ref.install) << "round " << round << " step " << step << " " << what;
    }
  }
}

}  // namespace
