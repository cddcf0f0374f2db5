// The start-up sequence with the real windows, the real registry of the Wine prefix and message
// boxes that a second thread reads and answers.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <optional>

#include "XMLLibLite.h"
#include "errors.h"
#include "gui_test_support.h"
#include "load_screen_win32.h"
#include "main_window_win32.h"
#include "message_table.h"
#include "pause_timer_win32.h"
#include "xml_settings.h"

using namespace gui_test;

namespace {

constexpr wchar_t kSetupKey[] = L"SYSTEM\\Setup";
constexpr wchar_t kDwKey[] = L"Software\\Microsoft\\PCHealth\\ErrorReporting\\DW";

void WriteSetupFlag(DWORD value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSetupKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"SystemSetupInProgress", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  RegCloseKey(key);
}

std::optional<DWORD> ReadSetupFlag() {
  DWORD value = 0, size = sizeof(value);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kSetupKey, L"SystemSetupInProgress", RRF_RT_REG_DWORD, nullptr, &value,
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

bool KeyExists(const wchar_t* subkey) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void CreateKey(const std::wstring& subkey) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

RECT WorkArea(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor.rcWork;
}

std::u16string Message(const std::u16string& key) {
  for (int i = 0; i < kMessageCount; ++i) {
    const auto id = static_cast<MessageKey>(i);
    if (key == TMessageTable::KeyName(id)) return MessageTable().Text(id);
  }
  return {};
}

class StartUpWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    InitMessageTable();
    WriteSetupFlag(0);
    timer = CreatePauseTimer();
    timer->SetEnabled(false);
    load.Options.AppStartPath = u"C:\\Setup\\";
    load.Countdown = timer.get();
    load.CountdownSeconds = &seconds;
    load.MessageText = Message;
    load.FindPackageFiles = [this](const std::u16string&) { return files; };
    load.LoadPackage = [this](const std::u16string& path, SelectionLists& lists) {
      const int group = lists.GetGroupID(u"Werkzeuge");
      const bool checked = path.find(u"checked") != std::u16string::npos;
      const std::u16string id = path.substr(0, path.find(u'.'));
      const std::array<std::u16string, kSubItemCount> items{u"Paket " + id, id, u"C:\\x.exe", u"", u"", u"", u"0"};
      lists.InstallListDetail.SetChecked(lists.InstallListDetail.AddRow(u"50;Werkzeuge;" + id, group, items), checked);
      lists.InstallList.SetChecked(lists.InstallList.AddRow(u"50;Werkzeuge;" + id, group, items), checked);
    };
  }
  void TearDown() override {
    form.reset();
    timer.reset();
    TakeQuitMessage();
    FinalizeMessageTable();
  }

  void UseSettings(const char16_t* xml) {
    document = std::make_unique<TXMLFile>();
    ASSERT_TRUE(document->LoadFromText(xml));
    settings = std::make_unique<XmlSettings>(*document->Document.Children.Get(0));
    load.Options.Settings = settings.get();
  }

  // Creates the main window, whose creation runs the start-up; boxes are answered meanwhile.
  std::vector<SeenBox> Start() {
    BoxAnswerer answerer([] { return FindWindowW(TfrmGUI::kClassName, nullptr); });
    GuiEnvironment env;
    env.Countdown = timer.get();
    env.CountdownSeconds = &seconds;
    env.MessageText = Message;
    env.Terminate = [this] { terminations++; };
    env.FormCreate = [this](TfrmGUI& f) { RunLoadScreen(f, load); };
    form = std::make_unique<TfrmGUI>(env);
    Pump(100);
    return answerer.Seen();
  }

  std::int16_t seconds = 30;
  std::unique_ptr<TPauseTimer> timer;
  LoadScreenServices load;
  std::vector<std::u16string> files;
  std::unique_ptr<TXMLFile> document;
  std::unique_ptr<XmlSettings> settings;
  int terminations = 0;
  std::unique_ptr<TfrmGUI> form;
};

TEST_F(StartUpWindowTest, SilentWithoutPackagesShowsNothingAndEnds) {
  load.Options.SilentMode = true;
  const auto boxes = Start();
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(terminations, 1);
  EXPECT_FALSE(timer->Enabled());
}

TEST_F(StartUpWindowTest, WithoutPackagesOneInformationBoxThenTheEnd) {
  const auto boxes = Start();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Caption, L"Fehler");
  EXPECT_EQ(boxes[0].Text, L"Alle Elemente sind schon aktuell!");
  EXPECT_FALSE(boxes[0].OwnerVisible);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(terminations, 1);
}

TEST_F(StartUpWindowTest, AllRowsUncheckedShowsTheWindowWithTheCountdownPausedAndButtonsOff) {
  files = {u"a.xml", u"b.xml"};
  const auto boxes = Start();
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(terminations, 0);
  EXPECT_TRUE(timer->Paused());
  EXPECT_FALSE(timer->Enabled());
  EXPECT_FALSE(IsWindowEnabled(form->btnInstall));
  EXPECT_FALSE(IsWindowEnabled(form->btnPause));
  EXPECT_EQ(ListView_GetItemCount(form->InstallList), 2);
}

TEST_F(StartUpWindowTest, ACheckedRowShowsTheWindowWithTheCountdownRunning) {
  files = {u"a.xml", u"b-checked.xml"};
  Start();
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(timer->Enabled());
  EXPECT_TRUE(IsWindowEnabled(form->btnInstall));
  EXPECT_TRUE(IsWindowEnabled(form->btnPause));
}

TEST_F(StartUpWindowTest, SetupInProgressIsResetAndTheWindowTakesTheWorkArea) {
  WriteSetupFlag(1);
  CreateKey(std::wstring(kDwKey) + L"\\DWNoFileCollection");
  files = {u"a-checked.xml"};
  Start();
  EXPECT_EQ(ReadSetupFlag(), std::optional<DWORD>(0));
  EXPECT_FALSE(KeyExists(kDwKey)) << "the error-reporting key tree is deleted";
  RECT bounds;
  GetWindowRect(form->Handle(), &bounds);
  const RECT work = WorkArea(form->Handle());
  EXPECT_EQ(bounds.left, work.left);
  EXPECT_EQ(bounds.top, work.top);
  EXPECT_EQ(bounds.right, work.right);
  EXPECT_EQ(bounds.bottom, work.bottom);
}

TEST_F(StartUpWindowTest, TheWindowSizeFollowsMaximizedExactly) {
  struct Row {
    const char* name;
    const char16_t* xml;
    bool workArea;
  };
  const Row rows[] = {
      {"no settings", nullptr, false},
      {"maximized true", u"<settings maximized=\"true\"/>", false},
      {"maximized 0", u"<settings maximized=\"0\"/>", false},
      {"maximized 1", u"<settings MAXIMIZED=\"1\"/>", true},
  };
  files = {u"a-checked.xml"};
  for (const Row& row : rows) {
    form.reset();
    load.Options.Settings = nullptr;
    if (row.xml) UseSettings(row.xml);
    Start();
    RECT client, bounds;
    GetClientRect(form->Handle(), &client);
    GetWindowRect(form->Handle(), &bounds);
    const RECT work = WorkArea(form->Handle());
    if (row.workArea) {
      EXPECT_EQ(bounds.right - bounds.left, work.right - work.left) << row.name;
      EXPECT_EQ(bounds.bottom - bounds.top, work.bottom - work.top) << row.name;
    } else {
      EXPECT_EQ(client.right, 980) << row.name;
      EXPECT_EQ(client.bottom, 700) << row.name;
    }
  }
}

TEST_F(StartUpWindowTest, CaptionIsTheDesignCaptionOrTheSettingsTitleWithTheSuffix) {
  files = {u"a-checked.xml"};
  Start();
  EXPECT_EQ(Text(form->Handle()), TfrmGUI::kDesignCaption);
  form.reset();
  UseSettings(u"<settings title=\"Updates B\u00fcro\"/>");
  Start();
  EXPECT_EQ(Text(form->Handle()), L"Updates B\u00fcro (korvel.example.org)");
}

TEST_F(StartUpWindowTest, ASetWithoutCheckedUnchecksTheRowAndStopsTheCountdown) {
  files = {u"a-checked.xml", u"b-checked.xml"};
  UseSettings(u"<settings><set component=\"b-checked\"/></settings>");
  Start();
  ASSERT_EQ(ListView_GetItemCount(form->InstallList), 2);
  EXPECT_TRUE(Checked(form->InstallList, 0));
  EXPECT_FALSE(Checked(form->InstallList, 1));
  EXPECT_FALSE(Checked(form->InstallListDetail, 1));
  EXPECT_FALSE(timer->Enabled());
  EXPECT_FALSE(IsWindowEnabled(form->btnPause));
}

TEST_F(StartUpWindowTest, ATimerElementSetsTheCountAndCanSwitchTheCountdownOff) {
  files = {u"a-checked.xml"};
  UseSettings(u"<settings><timer value=\"$1E\" enabled=\"0\"/></settings>");
  seconds = 12;
  Start();
  EXPECT_EQ(seconds, 30);
  EXPECT_FALSE(timer->Enabled());
  EXPECT_FALSE(IsWindowEnabled(form->btnPause));
  EXPECT_TRUE(IsWindowEnabled(form->btnInstall));
}

TEST_F(StartUpWindowTest, DebugBoxesComeInOrderAroundTheDecision) {
  load.Options.DebugMode = true;
  files = {u"a-checked.xml"};
  auto boxes = Start();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].Caption, L"Korvel");
  EXPECT_EQ(boxes[0].Text, L"Init Step 1 passed! AppStartPath = C:\\Setup\\");
  EXPECT_FALSE(boxes[0].OwnerVisible);
  EXPECT_EQ(boxes[1].Caption, L"Korvel");
  EXPECT_EQ(boxes[1].Text, L"Init Step 2 Passed");
  EXPECT_TRUE(boxes[1].OwnerVisible) << "step 2 comes after the window is shown";

  form.reset();
  files.clear();
  boxes = Start();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].Text, L"Init Step 1 passed! AppStartPath = C:\\Setup\\");
  EXPECT_EQ(boxes[1].Text, L"Alle Elemente sind schon aktuell!");
  EXPECT_EQ(boxes[2].Text, L"Init Step 2 Passed");
  EXPECT_EQ(terminations, 1);
}

}  // namespace
