#include "list_model.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "errors.h"
#include "fake_platform.h"

namespace {

std::array<std::u16string, kSubItemCount> Items(const std::u16string& name, const std::u16string& id = u"") {
  return {name, id, u"", u"", u"", u"", u"0"};
}

class ListViewTest : public ::testing::Test {
protected:
  FakePlatform machine;
  ScopedPlatform scoped{machine};
  ListView view;
};

TEST_F(ListViewTest, ReportsCheckChangesOnlyWhenTheStateChanges) {
  std::vector<std::pair<ListChange, int>> seen;
  view.Subscribe([&](ListView&, const ListEvent& e) { seen.emplace_back(e.Kind, e.Index); });
  view.AddRow(u"50;;a", -1, Items(u"A"));
  view.SetChecked(0, false);  // already unchecked
  view.SetChecked(0, true);
  view.SetChecked(0, true);
  view.SetChecked(0, false);
  const std::vector<std::pair<ListChange, int>> expected{
      {ListChange::RowAdded, 0}, {ListChange::CheckChanged, 0}, {ListChange::CheckChanged, 0}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(view.CheckedCount(), 0);
}

TEST_F(ListViewTest, NestedChangesReachEveryListener) {
  view.AddRow(u"a", -1, Items(u"A"));
  view.AddRow(u"b", -1, Items(u"B"));
  // The first listener checks row 1 whenever row 0 gets checked; the second must see both.
  view.Subscribe([](ListView& v, const ListEvent& e) {
    if (e.Kind == ListChange::CheckChanged && e.Index == 0) v.SetChecked(1, v.Checked(0));
  });
  std::vector<int> checkedRows;
  view.Subscribe([&](ListView&, const ListEvent& e) {
    if (e.Kind == ListChange::CheckChanged) checkedRows.push_back(e.Index);
  });
  view.SetChecked(0, true);
  EXPECT_EQ(checkedRows, (std::vector<int>{1, 0}));
  EXPECT_EQ(view.CheckedCount(), 2);
}

TEST_F(ListViewTest, UnsubscribedListenersHearNothing) {
  int calls = 0;
  const int token = view.Subscribe([&](ListView&, const ListEvent&) { ++calls; });
  view.Unsubscribe(token);
  view.AddRow(u"a", -1, Items(u"A"));
  EXPECT_EQ(calls, 0);
}

TEST_F(ListViewTest, SortsByCaptionKeepingEqualCaptionsInLoadOrder) {
  // Priorities compare as text: 100 before 50 before 9.
  view.AddRow(u"50;G;b", -1, Items(u"first b"));
  view.AddRow(u"9;G;a", -1, Items(u"nine"));
  view.AddRow(u"100;G;z", -1, Items(u"hundred"));
  view.AddRow(u"50;G;b", -1, Items(u"second b"));
  view.AddRow(u"50;G;a", -1, Items(u"a"));
  view.SortByCaption();
  std::vector<std::u16string> names;
  for (int i = 0; i < view.Count(); ++i) names.push_back(view.Row(i).Name());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"hundred", u"a", u"first b", u"second b", u"nine"}));
  // A row added afterwards goes to its sorted place, after equal captions.
  EXPECT_EQ(view.AddRow(u"50;G;b", -1, Items(u"third b")), 4);
  EXPECT_EQ(view.Row(3).Name(), u"second b");
}

TEST_F(ListViewTest, FindsRowsByNameWithoutRegardToCase) {
  view.AddRow(u"2", -1, Items(u"Visual Ärger"));
  view.AddRow(u"1", -1, Items(u"visual ärger"));
  view.AddRow(u"3", -1, Items(u"Other"));
  const struct {
    std::u16string text;
    int expected;
  } rows[] = {{u"VISUAL ÄRGER", 0}, {u"visual ärger", 0}, {u"other", 2}, {u"Othe", -1}, {u"", -1}};
  for (const auto& row : rows) EXPECT_EQ(view.FindByName(row.text), row.expected) << ToUtf8(row.text);
  view.SortByCaption();  // the first row by index is now "visual ärger"
  EXPECT_EQ(view.FindByName(u"Visual ärger"), 0);
  EXPECT_EQ(view.Row(0).Caption, u"1");
  view.SetSubItem(0, SubItem::Name, u"renamed");
  EXPECT_EQ(view.FindByName(u"visual ärger"), 1);
}

TEST_F(ListViewTest, GroupsAreNumberedByPositionAndFoundByExactHeader) {
  EXPECT_EQ(view.AddGroup(u"Runtimes"), 0);
  EXPECT_EQ(view.AddGroup(u"Tools"), 1);
  EXPECT_EQ(view.FindGroup(u"Tools"), 1);
  EXPECT_EQ(view.FindGroup(u"tools"), -1);
  view.SetGroupHeader(0, u"Laufzeit");
  EXPECT_EQ(view.FindGroup(u"Runtimes"), -1);
  EXPECT_EQ(view.FindGroup(u"Laufzeit"), 0);
  EXPECT_EQ(view.GroupHeader(0), u"Laufzeit");
  EXPECT_THROW(view.GroupHeader(-1), std::out_of_range);
  EXPECT_THROW(view.GroupHeader(2), std::out_of_range);
  EXPECT_THROW(view.SetGroupHeader(5, u"x"), std::out_of_range);
}

TEST_F(ListViewTest, RefusesRowIndicesOutOfRange) {
  view.AddRow(u"a", -1, Items(u"A"));
  EXPECT_THROW(view.Row(1), std::out_of_range);
  EXPECT_THROW(view.SetChecked(-1, true), std::out_of_range);
  EXPECT_THROW(view.SetSubItem(3, SubItem::Desc, u"x"), std::out_of_range);
}

}  // namespace
