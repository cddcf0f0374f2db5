// The real main window under Wine, driven with window messages as a user drives it: clicks on
// check boxes and rows, the check box "all", the buttons, the splitter.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>
#include <windowsx.h>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "errors.h"
#include "funktionen.h"
#include "gui_test_support.h"
#include "load_screen_win32.h"
#include "main_window_win32.h"
#include "pause_timer_win32.h"

using namespace gui_test;

namespace {

struct Package {
  std::u16string Id, Name, Group, Priority, Prereq, Desc;
  bool Checked;
  int Commands;
};

// Loaded in this order: groups "Werkzeuge" (0) and "Laufzeiten" (1). After sorting, both views
// hold runtime, tools, viewer (the detail view viewer twice).
const Package kPackages[] = {
    {u"viewer", u"Betrachter", u"Werkzeuge", u"50", u"runtime", u"Ein Betrachter", false, 2},
    {u"runtime", u"Laufzeit", u"Laufzeiten", u"10", u"", u"Laufzeitbibliotheken", false, 1},
    {u"tools", u"Werkzeuge", u"Werkzeuge", u"40", u"", u"", true, 1},
};
enum MainRow { kRuntime = 0, kTools = 1, kViewer = 2 };

void LoadTestPackage(const std::u16string& path, SelectionLists& lists) {
  for (const Package& p : kPackages) {
    if (path != p.Id) continue;
    const int group = lists.GetGroupID(p.Group);
    const std::u16string caption = p.Priority + u";" + p.Group + u";" + p.Id;
    for (int c = 0; c < p.Commands; ++c) {
      const std::u16string name = p.Commands > 1 ? p.Name + u" " + FromUtf8(std::to_string(c + 1)) : p.Name;
      const int row = lists.InstallListDetail.AddRow(
          caption, group, {name, p.Id, u"C:\\pkg\\" + p.Id + u".exe", u"/q", p.Desc, p.Prereq, u"0"});
      lists.InstallListDetail.SetChecked(row, p.Checked);
    }
    const int row = lists.InstallList.AddRow(caption, group,
                                             {p.Name, p.Id, u"C:\\pkg\\" + p.Id + u".exe", u"/q", p.Desc, p.Prereq, u"0"});
    lists.InstallList.SetChecked(row, p.Checked);
  }
}

// The system of the installation run, recorded instead of carried out.
class RecordingSystem : public RunSystem {
public:
  std::vector<std::u16string> Started;
  std::u16string SavedText;
  bool Terminated = false;
  std::uint32_t RunAndWait(const std::u16string& command, const std::u16string&, std::uint16_t, int) override {
    Started.push_back(command);
    return 0;
  }
  bool Terminating() override { return false; }
  std::u16string ExpandEnvironment(const std::u16string& path) override { return path; }
  bool SaveTextFile(const std::u16string&, const std::u16string& text, int, std::uint8_t) override {
    SavedText = text;
    return true;
  }
  void ProcessMessages() override {}
  void Sleep(std::uint32_t) override {}
  void Terminate() override { Terminated = true; }
};

std::u16string Message(const std::u16string& key) {
  static const std::map<std::u16string, std::u16string> texts = {
      {u"msg_pause", u"Pause"}, {u"msg_fin", u"Fertig"}, {u"msg_err_failed", u"Fehlgeschlagen. Fehlercode:"}};
  auto it = texts.find(key);
  return it == texts.end() ? u"" : it->second;
}

// Records the group messages that the list-view controls of this thread receive: the controls are
// subclassed as they are created (a CBT hook), before the window puts anything into them.
struct ViewLog {
  std::vector<std::pair<int, std::wstring>> Groups;  // LVM_INSERTGROUP: number, header
  std::vector<int> RowGroups;                         // LVM_INSERTITEM: the group of each row
};
std::map<HWND, ViewLog>& ViewLogs() {
  static std::map<HWND, ViewLog> logs;
  return logs;
}
// The views that received LVM_SETTOOLTIPS with both parameters 0, in the order they received it.
std::vector<HWND>& TooltipsCleared() {
  static std::vector<HWND> views;
  return views;
}
std::map<HWND, WNDPROC>& OriginalProcs() {
  static std::map<HWND, WNDPROC> procs;
  return procs;
}

LRESULT CALLBACK RecordingViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ViewLog& log = ViewLogs()[window];
  if (message == LVM_INSERTGROUP) {
    const auto* group = reinterpret_cast<const LVGROUP*>(lParam);
    log.Groups.emplace_back(group->iGroupId, group->pszHeader ? group->pszHeader : L"");
  } else if (message == LVM_INSERTITEMW) {
    const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
    const int at = std::min<int>(item->iItem, static_cast<int>(log.RowGroups.size()));
    log.RowGroups.insert(log.RowGroups.begin() + at, (item->mask & LVIF_GROUPID) ? item->iGroupId : -2);
  } else if (message == LVM_SETTOOLTIPS && wParam == 0 && lParam == 0) {
    TooltipsCleared().push_back(window);
  } else if (message == LVM_DELETEALLITEMS) {
    log.RowGroups.clear();
  }
  return CallWindowProcW(OriginalProcs()[window], window, message, wParam, lParam);
}

LRESULT CALLBACK SubclassListViews(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    const wchar_t* cls = create->lpcs->lpszClass;
    if (!IS_INTRESOURCE(cls) && lstrcmpiW(cls, WC_LISTVIEWW) == 0) {
      HWND view = reinterpret_cast<HWND>(wParam);
      ViewLogs()[view] = {};
      OriginalProcs()[view] = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingViewProc)));
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class MainWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    timer = CreatePauseTimer();
    timer->SetEnabled(false);
    load.Options.AppStartPath = u"C:\\Setup\\";
    load.Countdown = timer.get();
    load.CountdownSeconds = &seconds;
    load.FindPackageFiles = [](const std::u16string&) {
      return std::vector<std::u16string>{u"viewer", u"runtime", u"tools"};
    };
    load.LoadPackage = LoadTestPackage;
    load.MessageText = Message;
    GuiEnvironment env;
    env.Countdown = timer.get();
    env.CountdownSeconds = &seconds;
    env.MessageText = Message;
    env.System = &system;
    env.Terminate = [this] { terminated = true; };
    env.FormCreate = [this](TfrmGUI& form) { RunLoadScreen(form, load); };
    TooltipsCleared().clear();
    HHOOK hook = SetWindowsHookExW(WH_CBT, SubclassListViews, nullptr, GetCurrentThreadId());
    form = std::make_unique<TfrmGUI>(env);
    UnhookWindowsHookEx(hook);
    Pump(50);
  }
  void TearDown() override {
    form.reset();
    timer.reset();
    TakeQuitMessage();
  }

  void ClickCheck(HWND view, int row) {
    const POINT p = CheckBoxPoint(view, row);
    ASSERT_GE(p.x, 0) << "no check box found on row " << row;
    ClickAt(view, p);
  }
  void ShowDetailPage() {
    TabCtrl_SetCurFocus(form->sPageControl1, 1);
    Pump(30);
  }
  // Check marks of a view's control, as text: "1" checked, "0" not.
  static std::string Marks(HWND view) {
    std::string marks;
    for (int i = 0; i < ListView_GetItemCount(view); ++i) marks += Checked(view, i) ? '1' : '0';
    return marks;
  }

  std::int16_t seconds = 300;
  std::unique_ptr<TPauseTimer> timer;
  RecordingSystem system;
  LoadScreenServices load;
  bool terminated = false;
  std::unique_ptr<TfrmGUI> form;
};

TEST_F(MainWindowTest, ShowsTheModelsRowsChecksAndButtonsAtStart) {
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_FALSE(terminated);
  ASSERT_EQ(ListView_GetItemCount(form->InstallList), 3);
  ASSERT_EQ(ListView_GetItemCount(form->InstallListDetail), 4);
  wchar_t text[64];
  ListView_GetItemText(form->InstallList, kRuntime, 1, text, 64);
  EXPECT_STREQ(text, L"Laufzeit");
  ListView_GetItemText(form->InstallList, kRuntime, 0, text, 64);
  EXPECT_STREQ(text, L"10;Laufzeiten;runtime");
  ListView_GetItemText(form->InstallListDetail, 3, 1, text, 64);
  EXPECT_STREQ(text, L"Betrachter 2");
  EXPECT_EQ(Marks(form->InstallList), "010");
  EXPECT_EQ(Marks(form->InstallListDetail), "0100");
  EXPECT_TRUE(IsWindowEnabled(form->btnInstall));
  EXPECT_TRUE(IsWindowEnabled(form->btnPause));
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(Button_GetCheck(form->chk_all), BST_CHECKED);
}

TEST_F(MainWindowTest, StartUpSendsSetTooltipsWithNoWindowToTheMainViewThenTheDetailView) {
  // Wine's list view keeps its tooltip whatever it is told, so what counts is what it was told.
  const std::vector<HWND> expected = {form->InstallList, form->InstallListDetail};
  EXPECT_EQ(TooltipsCleared(), expected);
}

TEST_F(MainWindowTest, GroupsHaveTheSameNumbersInBothViews) {
  // What each list-view control was told: its groups, and each row's group.
  for (HWND view : {form->InstallList, form->InstallListDetail}) {
    const ViewLog& told = ViewLogs()[view];
    const std::vector<std::pair<int, std::wstring>> groups = {{0, L"Werkzeuge"}, {1, L"Laufzeiten"}};
    EXPECT_EQ(told.Groups, groups);
    const ListView& model = view == form->InstallList ? form->Lists.InstallList : form->Lists.InstallListDetail;
    ASSERT_EQ(static_cast<int>(told.RowGroups.size()), model.Count());
    for (int row = 0; row < model.Count(); ++row) EXPECT_EQ(told.RowGroups[row], model.Row(row).Group) << "row " << row;
    // Where the control keeps groups itself (Windows; Wine's list view ignores them), ask it too.
    if (ListView_GetGroupCount(view) > 0) {
      for (const auto& [number, header] : groups) {
        wchar_t text[64] = L"";
        LVGROUP info{};
        info.cbSize = sizeof(info);
        info.mask = LVGF_HEADER;
        info.pszHeader = text;
        info.cchHeader = 64;
        EXPECT_EQ(ListView_GetGroupInfo(view, number, &info), number);
        EXPECT_EQ(std::wstring(text), header);
      }
    }
  }
  EXPECT_EQ(ViewLogs()[form->InstallList].Groups, ViewLogs()[form->InstallListDetail].Groups);
}

TEST_F(MainWindowTest, ACheckInTheDetailViewChecksItsPrerequisiteAndTheMainRowsAndStopsTheCountdown) {
  Pump(1200);  // a tick has shown the count
  const std::wstring caption = Text(form->btnPause);
  ASSERT_EQ(caption.rfind(L"Pause (", 0), 0u) << Narrow(caption);
  ShowDetailPage();
  ClickCheck(form->InstallListDetail, 2);  // viewer, first command
  EXPECT_EQ(Marks(form->InstallListDetail), "1110") << "runtime follows, viewer's second command keeps its state";
  EXPECT_EQ(Marks(form->InstallList), "111");
  EXPECT_TRUE(form->Lists.InstallListDetail.Checked(2));
  EXPECT_FALSE(timer->Enabled());
  EXPECT_FALSE(IsWindowEnabled(form->btnPause));
  EXPECT_TRUE(IsWindowEnabled(form->btnInstall));
  Pump(1200);
  EXPECT_EQ(Text(form->btnPause), caption) << "the countdown no longer ticks";
}

TEST_F(MainWindowTest, ACheckInTheMainViewMovesTheDetailViewAndRowsThatNeedIt) {
  ClickCheck(form->InstallList, kViewer);
  EXPECT_EQ(Marks(form->InstallList), "111");
  EXPECT_EQ(Marks(form->InstallListDetail), "1111");
  ClickCheck(form->InstallList, kRuntime);  // off: viewer needs it
  EXPECT_EQ(Marks(form->InstallList), "010");
  EXPECT_EQ(Marks(form->InstallListDetail), "0100");
  EXPECT_TRUE(IsWindowEnabled(form->btnInstall));
  EXPECT_FALSE(IsWindowEnabled(form->btnPause));
  EXPECT_FALSE(timer->Enabled());
}

TEST_F(MainWindowTest, UncheckingTheLastDetailRowDisablesInstall) {
  ShowDetailPage();
  ClickCheck(form->InstallListDetail, kTools);
  EXPECT_EQ(Marks(form->InstallListDetail), "0000");
  EXPECT_EQ(Marks(form->InstallList), "000");
  EXPECT_FALSE(IsWindowEnabled(form->btnInstall));
  EXPECT_FALSE(IsWindowEnabled(form->btnPause));
}

TEST_F(MainWindowTest, CheckBoxAllUnchecksAndRechecksEveryRow) {
  SendMessageW(form->chk_all, BM_CLICK, 0, 0);
  Pump(30);
  EXPECT_EQ(Button_GetCheck(form->chk_all), BST_UNCHECKED);
  EXPECT_EQ(Marks(form->InstallList), "000");
  EXPECT_EQ(Marks(form->InstallListDetail), "0000");
  EXPECT_TRUE(IsWindowEnabled(form->btnInstall)) << "main rows with detail rows keep install enabled";
  EXPECT_FALSE(timer->Enabled());
  SendMessageW(form->chk_all, BM_CLICK, 0, 0);
  Pump(30);
  EXPECT_EQ(Marks(form->InstallList), "111");
  EXPECT_EQ(Marks(form->InstallListDetail), "1111");
  EXPECT_TRUE(IsWindowEnabled(form->btnInstall));
}

TEST_F(MainWindowTest, AClickOnARowShowsItsDescriptionInTheLog) {
  SetWindowTextW(form->Log, L"alt");
  ClickAt(form->InstallList, LabelPoint(form->InstallList, kRuntime));
  EXPECT_EQ(Text(form->Log), L"Laufzeitbibliotheken");
  EXPECT_EQ(Marks(form->InstallList), "010") << "a click on the label is no check change";
  ClickAt(form->InstallList, LabelPoint(form->InstallList, kTools));
  EXPECT_EQ(Text(form->Log), L"") << "an empty description empties the pane";
  ShowDetailPage();
  ClickAt(form->InstallListDetail, LabelPoint(form->InstallListDetail, 3));
  EXPECT_EQ(Text(form->Log), L"Ein Betrachter");
  EXPECT_TRUE(timer->Enabled()) << "clicking a row does not stop the countdown";
}

TEST_F(MainWindowTest, ThePauseButtonPausesAndResumesTheCountdown) {
  SendMessageW(form->btnPause, BM_CLICK, 0, 0);
  EXPECT_FALSE(timer->Enabled());
  EXPECT_TRUE(timer->Paused());
  SendMessageW(form->btnPause, BM_CLICK, 0, 0);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_FALSE(timer->Paused());
}

TEST_F(MainWindowTest, TheCountdownCountsDownOnThePauseButton) {
  Pump(2300);
  EXPECT_LE(seconds, 298);
  EXPECT_EQ(Text(form->btnPause), L"Pause (" + std::to_wstring(seconds + 1) + L")");
}

TEST_F(MainWindowTest, TheInstallButtonRunsTheCheckedRowsIntoTheLogAndEnds) {
  ClickCheck(form->InstallList, kViewer);
  SendMessageW(form->btnInstall, BM_CLICK, 0, 0);
  ASSERT_EQ(system.Started.size(), 4u);
  EXPECT_EQ(system.Started[0], u"C:\\pkg\\runtime.exe");
  EXPECT_TRUE(system.Terminated);
  EXPECT_FALSE(IsWindowEnabled(form->LeftPanel));
  EXPECT_FALSE(IsWindowEnabled(form->InstallList));
  const std::u16string& log = system.SavedText;
  EXPECT_NE(log.find(u"Laufzeiten\r\n"), std::u16string::npos) << ToUtf8(log);
  EXPECT_NE(log.find(u"Werkzeuge\r\n"), std::u16string::npos) << ToUtf8(log);
  EXPECT_NE(log.find(u"Betrachter 2"), std::u16string::npos) << ToUtf8(log);
  EXPECT_NE(log.find(u"\tFertig\r\n"), std::u16string::npos) << ToUtf8(log);
  // The group header is bold, underlined and blue; the result line is plain.
  const std::wstring text = Text(form->Log);
  const int header = static_cast<int>(text.find(L"Laufzeiten"));
  ASSERT_GE(header, 0);
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  SendMessageW(form->Log, EM_SETSEL, header, header + 3);
  SendMessageW(form->Log, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  EXPECT_TRUE(format.dwEffects & CFE_BOLD);
  EXPECT_TRUE(format.dwEffects & CFE_UNDERLINE);
  EXPECT_EQ(format.crTextColor, RGB(0, 0, 255));
  const int result = static_cast<int>(text.find(L"Fertig"));
  SendMessageW(form->Log, EM_SETSEL, result, result + 3);
  SendMessageW(form->Log, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  EXPECT_FALSE(format.dwEffects & CFE_BOLD);
}

TEST_F(MainWindowTest, TheSplitterMovesThePanelEdgeButNotBelowItsMinimum) {
  RECT client;
  GetClientRect(form->Handle(), &client);
  ASSERT_EQ(client.right, 980);
  ASSERT_EQ(client.bottom, 700);
  ASSERT_EQ(form->PanelWidth(), 370);
  auto drag = [&](int dx) {
    SendMessageW(form->sSplitter1, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
    SendMessageW(form->sSplitter1, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(2 + dx), 10));
    SendMessageW(form->sSplitter1, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(2 + dx), 10));
  };
  drag(100);
  EXPECT_EQ(form->PanelWidth(), 470);
  RECT log;
  GetWindowRect(form->Log, &log);
  MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&log), 2);
  EXPECT_EQ(log.left, 478);
  EXPECT_EQ(log.right, 980);
  drag(-300);
  EXPECT_EQ(form->PanelWidth(), 370);
  drag(5000);
  EXPECT_EQ(form->PanelWidth(), 980 - 8 - 30) << "the log pane keeps a sliver";
}

TEST_F(MainWindowTest, ButtonsKeepTheirDistanceToTheBottomWhenTheWindowGrows) {
  form->SetClientSize(900, 600);
  RECT button;
  GetWindowRect(form->btnInstall, &button);
  MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&button), 2);
  EXPECT_EQ(button.left, 30);
  EXPECT_EQ(button.top, 600 - 46);
  EXPECT_EQ(button.bottom - button.top, 28);
  RECT pages;
  GetWindowRect(form->sPageControl1, &pages);
  EXPECT_EQ(pages.bottom - pages.top, 600 - 61);
}

TEST_F(MainWindowTest, ClosingTheWindowHidesItAndEndsTheProgramButKeepsTheControls) {
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(terminated);
  EXPECT_TRUE(IsWindow(form->Handle())) << "a run in progress may still write to the log";
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST_F(MainWindowTest, RowsWithoutAGroupAreShownInAGroupOfTheirOwn) {
  form->Lists.InstallList.AddRow(u"99;;loose", -1, {u"Ohne Gruppe", u"loose", u"", u"", u"", u"", u"0"});
  const ViewLog& told = ViewLogs()[form->InstallList];
  ASSERT_EQ(told.RowGroups.size(), 4u);
  EXPECT_EQ(told.RowGroups[3], kUngroupedDisplayGroup);
  EXPECT_EQ(told.Groups.back(), std::make_pair(kUngroupedDisplayGroup, std::wstring()));
  EXPECT_EQ(ListView_GetItemCount(form->InstallList), 4);
  // A group created afterwards keeps its number, before the display group.
  form->Lists.GetGroupID(u"Neu");
  EXPECT_EQ(ViewLogs()[form->InstallList].Groups.back(), std::make_pair(2, std::wstring(L"Neu")));
}

TEST(MainWindowStart, AStartUpThatFailsIsReportedAndEndsTheProgramInsteadOfLeavingItInvisible) {
  std::vector<std::string> reported;
  SetExceptionReporter([&](const std::exception& error) { reported.push_back(error.what()); });
  bool terminated = false;
  GuiEnvironment env;
  env.Terminate = [&] { terminated = true; };
  env.FormCreate = [](TfrmGUI&) { throw std::runtime_error("kaputt"); };
  {
    TfrmGUI form(env);
    EXPECT_EQ(reported, std::vector<std::string>{"kaputt"});
    EXPECT_TRUE(form.TerminationRequested());
    EXPECT_TRUE(terminated);
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
  }
  SetExceptionReporter({});
  TakeQuitMessage();
}

}  // namespace
