// The start-up sequence on the in-memory machine: a host that records what the windows would do,
// a package loader that adds rows to the real selection lists, a settings element in memory.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "errors.h"
#include "fake_platform.h"
#include "selection_rules.h"
#include "start_up.h"

namespace {

std::string Narrow(const std::u16string& s) { return ToUtf8(s); }

// FakePlatform that also writes each message box into the shared event log.
class LoggingPlatform : public FakePlatform {
public:
  explicit LoggingPlatform(std::vector<std::string>& events) : events_(events) {}
  int ShowMessage(WindowRef owner, const std::u16string& text, const std::u16string& caption,
                  std::uint32_t style) override {
    events_.push_back("box " + Narrow(caption) + ": " + Narrow(text));
    return FakePlatform::ShowMessage(owner, text, caption, style);
  }

private:
  std::vector<std::string>& events_;
};

struct Package {
  std::u16string Id, Name, Group, Priority, Prereq;
  bool Checked;
  int Commands = 1;
};

class RecordingHost : public StartUpHost {
public:
  RecordingHost(SelectionLists& lists, std::vector<std::string>& events) : lists_(lists), events_(events) {}

  std::map<std::u16string, Package> Packages;  // path -> what the loader adds
  std::vector<std::u16string> Found;
  std::u16string FailingPath;
  bool Enabled = false;  // the countdown timer
  bool Paused = false;

  void DisableItemTooltips() override { events_.push_back("tooltips off"); }
  void SetClientSize(int width, int height) override {
    events_.push_back("client " + std::to_string(width) + "x" + std::to_string(height));
  }
  void FillWorkArea() override { events_.push_back("work area"); }
  void SetCaption(const std::u16string& caption) override { events_.push_back("caption " + Narrow(caption)); }
  std::vector<std::u16string> FindPackageFiles(const std::u16string& start) override {
    events_.push_back("find " + Narrow(start));
    return Found;
  }
  void SetProgressMaximum(int maximum) override { events_.push_back("progress max " + std::to_string(maximum)); }
  void SetProgress(int position) override { events_.push_back("progress " + std::to_string(position)); }
  void LoadPackage(const std::u16string& path) override {
    events_.push_back("load " + Narrow(path));
    if (path == FailingPath) throw EFOpenError(u"kaputt");
    const Package& p = Packages.at(path);
    const int group = lists_.GetGroupID(p.Group);
    const std::u16string caption = p.Priority + u";" + p.Group + u";" + p.Id;
    for (int c = 0; c < p.Commands; ++c) {
      const int row = lists_.InstallListDetail.AddRow(caption, group, {p.Name, p.Id, u"C:\\x.exe", u"", u"", p.Prereq, u"0"});
      lists_.InstallListDetail.SetChecked(row, p.Checked);
    }
    if (SelectionLists::GetListItemIDX(&lists_.InstallList, p.Name) < 0) {
      const int row = lists_.InstallList.AddRow(caption, group, {p.Name, p.Id, u"C:\\x.exe", u"", u"", p.Prereq, u"0"});
      lists_.InstallList.SetChecked(row, p.Checked);
    }
  }
  void LoadTranslations() override { events_.push_back("translations"); }
  void StartCountdown() override {
    events_.push_back("countdown armed");
    Enabled = true;
  }
  void PauseClick() override {
    events_.push_back("pause click");
    if (Paused) {
      Paused = false;
      Enabled = true;
    } else if (Enabled) {
      Paused = true;
      Enabled = false;
    }
  }
  bool CountdownEnabled() override { return Enabled; }
  void SetCountdownEnabled(bool enabled) override {
    events_.push_back(enabled ? "countdown on" : "countdown off");
    Enabled = enabled;
  }
  void ShowMainWindow() override { events_.push_back("show"); }
  void Terminate() override { events_.push_back("terminate"); }
  WindowRef LoadScreenWindow() override { return 0x77; }
  std::u16string MessageText(const std::u16string& key) override {
    if (key == u"msg_err") return u"Fehler";
    if (key == u"msg_err_noelements") return u"Alle Elemente sind schon aktuell!";
    return u"?" + key;
  }

private:
  SelectionLists& lists_;
  std::vector<std::string>& events_;
};

struct Child {
  std::u16string Name;
  std::map<std::u16string, std::u16string> Attributes;
};

class MemorySettings : public StartUpSettings {
public:
  std::map<std::u16string, std::u16string> Attributes;
  std::vector<Child> Children;

  std::u16string ValueOf(const std::u16string& a, const std::u16string& fallback) const override {
    auto it = Attributes.find(a);
    return it == Attributes.end() ? fallback : it->second;
  }
  std::size_t ChildCount() const override { return Children.size(); }
  std::u16string ChildName(std::size_t i) const override { return i < Children.size() ? Children[i].Name : u""; }
  std::u16string ChildValueOf(std::size_t i, const std::u16string& a, const std::u16string& fallback) const override {
    if (i >= Children.size()) return fallback;
    auto it = Children[i].Attributes.find(a);
    return it == Children[i].Attributes.end() ? fallback : it->second;
  }
};

class StartUpTest : public ::testing::Test {
protected:
  StartUpTest() : platform(events), scope(platform), host(lists, events) {
    options.AppStartPath = u"C:\\Setup\\";
  }

  // Two packages in two groups; "viewer" needs "runtime".
  void OfferPackages(bool runtimeChecked, bool viewerChecked) {
    host.Found = {u"C:\\Setup\\viewer\\package.xml", u"C:\\Setup\\runtime\\package.xml"};
    host.Packages[host.Found[0]] = {u"viewer", u"Betrachter", u"Werkzeuge", u"50", u"runtime", viewerChecked, 2};
    host.Packages[host.Found[1]] = {u"runtime", u"Laufzeit", u"Laufzeiten", u"10", u"", runtimeChecked};
  }

  bool Has(const std::string& event) const { return std::find(events.begin(), events.end(), event) != events.end(); }
  std::ptrdiff_t At(const std::string& event) const {
    auto it = std::find(events.begin(), events.end(), event);
    return it == events.end() ? -1 : it - events.begin();
  }
  void Run() { StartUp(lists, host, options, seconds); }

  std::vector<std::string> events;
  LoggingPlatform platform;
  ScopedPlatform scope;
  SelectionLists lists;
  RecordingHost host;
  StartUpOptions options;
  std::int16_t seconds = 30;
};

TEST_F(StartUpTest, SilentWithoutPackagesEndsWithoutBoxOrWindow) {
  options.SilentMode = true;
  Run();
  EXPECT_TRUE(platform.Messages.empty());
  EXPECT_TRUE(Has("terminate"));
  EXPECT_FALSE(Has("show"));
  EXPECT_FALSE(Has("countdown armed"));
}

TEST_F(StartUpTest, WithoutPackagesOneInformationBoxOwnedByTheLoadScreenThenTheEnd) {
  Run();
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_EQ(platform.Messages[0].Caption, u"Fehler");
  EXPECT_EQ(platform.Messages[0].Text, u"Alle Elemente sind schon aktuell!");
  EXPECT_EQ(platform.Messages[0].Style, 0x40u);
  EXPECT_EQ(platform.Messages[0].Owner, 0x77u);
  EXPECT_LT(At("box Fehler: Alle Elemente sind schon aktuell!"), At("terminate"));
  EXPECT_FALSE(Has("show"));
}

TEST_F(StartUpTest, TheNoItemsBoxUsesTheTranslatedTexts) {
  // The texts are read after the translations were loaded, not copied before.
  struct TranslatingHost : RecordingHost {
    using RecordingHost::RecordingHost;
    bool translated = false;
    void LoadTranslations() override { translated = true; }
    std::u16string MessageText(const std::u16string& key) override {
      return translated ? u"EN " + key : RecordingHost::MessageText(key);
    }
  } translating(lists, events);
  StartUp(lists, translating, options, seconds);
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_EQ(platform.Messages[0].Caption, u"EN msg_err");
  EXPECT_EQ(platform.Messages[0].Text, u"EN msg_err_noelements");
}

TEST_F(StartUpTest, AllRowsUncheckedShowsTheWindowWithTheCountdownPausedAndBothButtonsOff) {
  OfferPackages(false, false);
  Run();
  EXPECT_TRUE(Has("show"));
  EXPECT_LT(At("countdown armed"), At("pause click"));
  EXPECT_LT(At("pause click"), At("show"));
  EXPECT_TRUE(host.Paused);
  EXPECT_FALSE(host.Enabled);
  EXPECT_FALSE(lists.InstallEnabled());
  EXPECT_FALSE(lists.PauseEnabled());
  EXPECT_FALSE(Has("terminate"));
  EXPECT_TRUE(platform.Messages.empty());
}

TEST_F(StartUpTest, ACheckedRowShowsTheWindowWithTheCountdownRunning) {
  OfferPackages(true, false);
  Run();
  EXPECT_TRUE(Has("show"));
  EXPECT_FALSE(Has("pause click"));
  EXPECT_TRUE(host.Enabled);
  EXPECT_TRUE(lists.InstallEnabled());
  EXPECT_TRUE(lists.PauseEnabled());
}

TEST_F(StartUpTest, LoadsEveryFileInOrderThenSortsBothViewsAndSynchronisesTheMainView) {
  OfferPackages(false, true);  // a detail row of viewer checked
  Run();
  const std::vector<std::string> expected = {"tooltips off", "client 980x700", "find C:\\Setup\\", "progress max 1",
                                             "load C:\\Setup\\viewer\\package.xml", "progress 0",
                                             "load C:\\Setup\\runtime\\package.xml", "progress 1", "translations",
                                             "countdown armed", "show"};
  EXPECT_EQ(events, expected);
  ASSERT_EQ(lists.InstallList.Count(), 2);
  EXPECT_EQ(lists.InstallList.Row(0).Id(), u"runtime");  // "10;..." sorts before "50;..."
  EXPECT_EQ(lists.InstallListDetail.Row(0).Id(), u"runtime");
  EXPECT_TRUE(lists.InstallList.Checked(1));
  EXPECT_TRUE(lists.InstallEnabled());
}

TEST_F(StartUpTest, APackageThatFailsToLoadIsSkippedAndTheOthersAreOffered) {
  OfferPackages(true, true);
  host.FailingPath = host.Found[0];
  Run();
  EXPECT_TRUE(Has("load C:\\Setup\\runtime\\package.xml"));
  EXPECT_TRUE(Has("progress 1"));
  EXPECT_EQ(lists.InstallListDetail.Count(), 1);
  EXPECT_TRUE(Has("show"));
}

TEST_F(StartUpTest, RegistryAndWindowSizeFollowTheSetupFlag) {
  struct Row {
    const char* name;
    std::optional<std::int32_t> flag;
    std::optional<std::int32_t> flagAfter;
    bool sized, filled;
  };
  const Row rows[] = {
      {"key without the value", std::nullopt, std::nullopt, true, false},
      {"flag 0", 0, 0, true, false},
      {"flag 1 is reset and fills the work area", 1, 0, false, true},
      {"flag 2 neither sizes nor fills", 2, 2, false, false},
      {"flag -1 neither sizes nor fills", -1, -1, false, false},
  };
  for (const Row& row : rows) {
    events.clear();
    platform.MachineKeys = {u"SYSTEM\\Setup", u"Software\\Microsoft\\PCHealth\\ErrorReporting\\DW",
                            u"Software\\Microsoft\\PCHealth\\ErrorReporting\\DW\\DWNoFileCollection"};
    platform.MachineValues.clear();
    platform.MachineValues[u"Software\\Microsoft\\PCHealth\\ErrorReporting\\DW\\DWNoFileCollection\\x"] = 5;
    if (row.flag) platform.MachineValues[u"SYSTEM\\Setup\\SystemSetupInProgress"] = *row.flag;
    options.SilentMode = true;
    Run();
    EXPECT_EQ(platform.ReadMachineInteger(u"SYSTEM\\Setup", u"SystemSetupInProgress"), row.flagAfter) << row.name;
    EXPECT_EQ(Has("client 980x700"), row.sized) << row.name;
    EXPECT_EQ(Has("work area"), row.filled) << row.name;
    EXPECT_EQ(platform.MachineKeys, std::vector<std::u16string>{u"SYSTEM\\Setup"}) << row.name << ": DW tree deleted";
    EXPECT_EQ(platform.MachineValues.count(u"Software\\Microsoft\\PCHealth\\ErrorReporting\\DW\\DWNoFileCollection\\x"),
              0u) << row.name;
  }
}

TEST_F(StartUpTest, TheWorkAreaNeedsMaximizedToBeExactlyOne) {
  struct Row {
    const char* name;
    std::optional<std::u16string> maximized;
    bool filled;
  };
  const Row rows[] = {{"absent", std::nullopt, false}, {"1", u"1", true},     {"true", u"true", false},
                      {"empty", u"", false},            {" 1", u" 1", false}, {"0", u"0", false}};
  for (const Row& row : rows) {
    events.clear();
    MemorySettings settings;
    if (row.maximized) settings.Attributes[u"maximized"] = *row.maximized;
    options.Settings = &settings;
    options.SilentMode = true;
    Run();
    EXPECT_TRUE(Has("client 980x700")) << row.name;
    EXPECT_EQ(Has("work area"), row.filled) << row.name;
  }
}

TEST_F(StartUpTest, CaptionIsTheSettingsTitleWithTheSuffixAndStaysWithoutSettings) {
  options.SilentMode = true;
  Run();
  for (const auto& e : events) EXPECT_NE(e.rfind("caption", 0), 0u) << "no settings, but " << e;

  MemorySettings untitled;
  options.Settings = &untitled;
  events.clear();
  Run();
  EXPECT_TRUE(Has("caption Korvel (korvel.example.org)"));

  MemorySettings titled;
  titled.Attributes[u"title"] = u"Updates Büro";
  options.Settings = &titled;
  events.clear();
  Run();
  EXPECT_TRUE(Has("caption Updates Büro (korvel.example.org)"));
}

TEST_F(StartUpTest, DebugBoxesComeBeforeTheSearchAndAfterTheDecision) {
  OfferPackages(true, true);
  options.DebugMode = true;
  Run();
  const auto step1 = At("box Korvel: Init Step 1 passed! AppStartPath = C:\\Setup\\");
  const auto step2 = At("box Korvel: Init Step 2 Passed");
  ASSERT_GE(step1, 0);
  ASSERT_GE(step2, 0);
  EXPECT_LT(step1, At("find C:\\Setup\\"));
  EXPECT_LT(At("show"), step2);
  ASSERT_EQ(platform.Messages.size(), 2u);
  EXPECT_EQ(platform.Messages[0].Style, 0u) << "plain box: OK, no icon";
  EXPECT_EQ(platform.Messages[1].Style, 0u);
}

TEST_F(StartUpTest, DebugStepTwoComesAfterTheNoItemsBox) {
  options.DebugMode = true;
  Run();
  EXPECT_LT(At("box Fehler: Alle Elemente sind schon aktuell!"), At("box Korvel: Init Step 2 Passed"));
}

TEST_F(StartUpTest, WithoutDebugNoDebugBoxes) {
  OfferPackages(true, true);
  Run();
  EXPECT_TRUE(platform.Messages.empty());
}

TEST_F(StartUpTest, SetElementsPreselectMainRowsByExactIdAndStopTheCountdown) {
  struct Row {
    const char* name;
    std::map<std::u16string, std::u16string> set;
    bool runtimeChecked;
  };
  const Row rows[] = {
      {"checked 1", {{u"component", u"runtime"}, {u"checked", u"1"}}, true},
      {"no checked attribute unchecks", {{u"component", u"runtime"}}, false},
      {"checked true unchecks", {{u"component", u"runtime"}, {u"checked", u"true"}}, false},
      {"id compared with case", {{u"component", u"Runtime"}, {u"checked", u"0"}}, true},
      {"empty component does nothing", {{u"component", u""}, {u"checked", u"0"}}, true},
  };
  for (const Row& row : rows) {
    SelectionLists fresh;
    RecordingHost freshHost(fresh, events);
    OfferPackages(true, false);
    freshHost.Found = host.Found;
    freshHost.Packages = host.Packages;
    MemorySettings settings;
    settings.Children.push_back({u"SET", row.set});
    options.Settings = &settings;
    StartUp(fresh, freshHost, options, seconds);
    const int runtimeRow = fresh.InstallList.Row(0).Id() == u"runtime" ? 0 : 1;
    EXPECT_EQ(fresh.InstallList.Checked(runtimeRow), row.runtimeChecked) << row.name;
    // The detail view follows the main view through the rules.
    EXPECT_EQ(fresh.InstallListDetail.Checked(0), row.runtimeChecked) << row.name;
  }
}

TEST_F(StartUpTest, APreselectionThatChangesAMarkStopsTheCountdownForGood) {
  OfferPackages(true, false);
  MemorySettings settings;
  settings.Children.push_back({u"set", {{u"component", u"viewer"}, {u"checked", u"1"}}});
  options.Settings = &settings;
  const auto stopsBefore = lists.StopCountdownRequests();
  Run();
  EXPECT_GT(lists.StopCountdownRequests(), stopsBefore);
  EXPECT_FALSE(lists.PauseEnabled());
}

TEST_F(StartUpTest, TimerElementsComeAfterEverySetAndTheLastOneDecides) {
  OfferPackages(true, false);
  MemorySettings settings;
  settings.Children.push_back({u"Timer", {{u"enabled", u"0"}, {u"value", u"5"}}});
  settings.Children.push_back({u"set", {{u"component", u"viewer"}, {u"checked", u"1"}}});
  settings.Children.push_back({u"timer", {{u"value", u"12"}}});
  options.Settings = &settings;
  Run();
  EXPECT_TRUE(host.Enabled) << "the last timer element has no enabled attribute: on";
  EXPECT_TRUE(lists.PauseEnabled()) << "the pause button follows the timer, after the set stopped it";
  EXPECT_EQ(seconds, 12);
  EXPECT_LT(At("countdown off"), At("countdown on"));
}

TEST_F(StartUpTest, TimerValueConversion) {
  struct Row {
    const char* name;
    std::optional<std::u16string> value;
    std::int16_t expected;
  };
  const Row rows[] = {
      {"absent keeps the count", std::nullopt, 30}, {"10", u"10", 10},        {"$1E", u"$1E", 30},
      {"0x14", u"0x14", 20},                        {"70000 wraps", u"70000", 4464},
      {"-5", u"-5", -5},                            {"blanks before", u"  7", 7},
      {"not a number keeps", u"zehn", 30},          {"trailing blank keeps", u"7 ", 30},
      {"empty keeps", u"", 30},
  };
  for (const Row& row : rows) {
    seconds = 30;
    MemorySettings settings;
    Child timer{u"timer", {}};
    if (row.value) timer.Attributes[u"value"] = *row.value;
    settings.Children.push_back(timer);
    options.Settings = &settings;
    options.SilentMode = true;
    Run();
    EXPECT_EQ(seconds, row.expected) << row.name;
  }
}

TEST_F(StartUpTest, TimerDisabledStopsTheCountdownAndDisablesPause) {
  OfferPackages(true, true);
  MemorySettings settings;
  settings.Children.push_back({u"timer", {{u"enabled", u"0"}}});
  options.Settings = &settings;
  Run();
  EXPECT_FALSE(host.Enabled);
  EXPECT_FALSE(lists.PauseEnabled());
  EXPECT_TRUE(lists.InstallEnabled());
}

}  // namespace
