#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <vector>

#include "errors.h"
#include "install_run.h"

namespace {

// The window, the log pane and the system of one run, recording what the run does to them.
class FakeRun : public RunWindow, public LogPane, public RunSystem {
public:
  std::vector<RunRow> Rows;
  std::vector<std::u16string> Groups;
  std::map<std::u16string, std::uint32_t> ExitCodes;  // by command
  bool Reboot = false;
  bool SaveRaises = false;
  // Set while the command of this name runs, as when the window is closed during it.
  std::u16string TerminateDuring;

  std::vector<std::string> Events;
  std::u16string Log;           // plain text of the pane
  std::u16string Headers;       // the parts added as headers
  std::vector<std::u16string> Started;  // "command|parameters|show"
  bool Terminated = false;

  // RunWindow
  int RowCount() override { return static_cast<int>(Rows.size()); }
  RunRow Row(int index) override { return Rows.at(static_cast<std::size_t>(index)); }
  std::u16string GroupHeader(int group) override {
    if (group < 0 || group >= static_cast<int>(Groups.size())) {
      throw KorvelError(u"EListError", u"Listenindex überschreitet das Maximum (" + FromUtf8(std::to_string(group)) + u")");
    }
    return Groups[static_cast<std::size_t>(group)];
  }
  void DisableControls() override { Events.push_back("disable"); }
  void StopCountdown() override { Events.push_back("stop countdown"); }
  void BringToFront() override { Events.push_back("front"); }
  void ShowCommandLine(const std::u16string& text) override { Events.push_back("show " + ToUtf8(text)); }
  void ShowError(const std::u16string& caption, const std::u16string& text) override {
    Events.push_back("error box " + ToUtf8(caption) + ": " + ToUtf8(text));
  }
  int MeasureText(const std::u16string& text) override { return static_cast<int>(text.size()) * 50; }
  bool RebootWhenFinish() override { return Reboot; }

  // LogPane
  void Clear() override {
    Log.clear();
    Events.push_back("clear");
  }
  void AddLogText(const std::u16string& text) override { Log += text; }
  void AddLogHeader(const std::u16string& text) override {
    Log += text;
    Headers += text;
  }
  std::u16string PlainText() override { return Log; }

  // RunSystem
  std::uint32_t RunAndWait(const std::u16string& command, const std::u16string& parameters, std::uint16_t showWindow,
                           int waitMode) override {
    Started.push_back(command + u"|" + parameters + u"|" + FromUtf8(std::to_string(showWindow)));
    Events.push_back("run " + ToUtf8(command) + " mode " + std::to_string(waitMode));
    if (!TerminateDuring.empty() && command.find(TerminateDuring) != std::u16string::npos) Terminated = true;
    const auto found = ExitCodes.find(command);
    return found == ExitCodes.end() ? 0 : found->second;
  }
  bool Terminating() override { return Terminated; }
  std::u16string ExpandEnvironment(const std::u16string& path) override {
    std::u16string out = path;
    const std::u16string variable = u"%systemdrive%";
    if (out.rfind(variable, 0) == 0) out.replace(0, variable.size(), u"C:");
    return out;
  }
  bool SaveTextFile(const std::u16string& fileName, const std::u16string& text, int alternatives,
                    std::uint8_t encoding) override {
    Events.push_back("save " + ToUtf8(fileName) + " alternatives " + std::to_string(alternatives) + " encoding " +
                     std::to_string(encoding));
    SavedText = text;
    if (SaveRaises) throw KorvelError(u"EFCreateError", u"Datei C:\\ZebLog.txt kann nicht erstellt werden.");
    return true;
  }
  void ProcessMessages() override { Events.push_back("process messages"); }
  void Sleep(std::uint32_t milliseconds) override { Events.push_back("sleep " + std::to_string(milliseconds)); }
  void Terminate() override { Events.push_back("terminate"); }

  std::u16string SavedText;
};

// With every letter 100 pixels wide, names of 2 letters or more need no blanks.
const std::u16string kTab = u"\t";

RunRow Checked(int group, std::u16string name, std::u16string path, std::u16string param = u"") {
  return RunRow{true, group, std::move(name), std::move(path), std::move(param), u"0"};
}

TEST(InstallRun, WritesOneHeaderPerGroupWithAnEmptyLineBetweenGroups) {
  FakeRun run;
  run.Groups = {u"Runtimes", u"Tools"};
  run.Rows = {Checked(0, u"VC 2010", u"C:\\P\\vc2010.exe", u"/q"),
              Checked(0, u"VC 2013", u"C:\\P\\vc2013.exe"),
              RunRow{false, 0, u"Skipped", u"C:\\P\\skipped.exe", u"", u"0"},
              Checked(0, u"VC 2015", u"C:\\P\\vc2015.exe"),
              Checked(1, u"Zip", u"C:\\P\\zip.msi", u"/qn")};
  run.ExitCodes[u"C:\\P\\vc2013.exe"] = 3010;
  run.ExitCodes[u"msiexec.exe /i C:\\P\\zip.msi"] = 1603;
  RunInstallation(run, run, run, RunTexts{});

  EXPECT_EQ(ToUtf8(run.Log), ToUtf8(u"Runtimes\r\n"
                                    u"VC 2010: \tFertig\r\n"
                                    u"VC 2013: \tFertig (Reboot required)\r\n"
                                    u"VC 2015: \tFertig\r\n"
                                    u"\r\n"
                                    u"Tools\r\n"
                                    u"Zip: \tFehlgeschlagen. Fehlercode: 1603 (0x00000643)\r\n"));
  EXPECT_EQ(ToUtf8(run.Headers), "Runtimes\r\nTools\r\n");
  const std::vector<std::u16string> started = {u"C:\\P\\vc2010.exe|/q|1", u"C:\\P\\vc2013.exe||1",
                                               u"C:\\P\\vc2015.exe||1", u"msiexec.exe /i C:\\P\\zip.msi|/qn|1"};
  EXPECT_EQ(run.Started, started);
}

TEST(InstallRun, AGroupThatReturnsAfterAnotherGetsItsHeaderAgain) {
  FakeRun run;
  run.Groups = {u"A", u"B"};
  run.Rows = {Checked(0, u"a1", u"a1.exe"), Checked(1, u"b1", u"b1.exe"), Checked(0, u"a2", u"a2.exe")};
  RunInstallation(run, run, run, RunTexts{});
  EXPECT_EQ(ToUtf8(run.Headers), "A\r\nB\r\nA\r\n");
}

TEST(InstallRun, DisablesStopsClearsThenRunsSavesAndEnds) {
  FakeRun run;
  run.Groups = {u"G"};
  run.Rows = {Checked(0, u"One", u"C:\\one.exe")};
  run.Log = u"description of the clicked row";
  RunInstallation(run, run, run, RunTexts{});
  const std::vector<std::string> expected = {"disable", "stop countdown", "clear", "front", "run C:\\one.exe mode 0",
                                             "front", "save C:\\ZebLog.txt alternatives 3 encoding 0",
                                             "process messages", "sleep 2000", "terminate"};
  EXPECT_EQ(run.Events, expected);
  EXPECT_EQ(ToUtf8(run.SavedText), "G\r\nOne: \tFertig\r\n");
}

TEST(InstallRun, RestartsHiddenAfterSavingWhenAskedTo) {
  FakeRun run;
  run.Reboot = true;
  RunInstallation(run, run, run, RunTexts{});
  ASSERT_EQ(run.Started.size(), 1u);
  EXPECT_EQ(run.Started[0], u"shutdown.exe|-r -f -t 0|0");
  const std::vector<std::string> tail(run.Events.end() - 5, run.Events.end());
  const std::vector<std::string> expected = {"save C:\\ZebLog.txt alternatives 3 encoding 0",
                                             "run shutdown.exe mode 0", "process messages", "sleep 2000", "terminate"};
  EXPECT_EQ(tail, expected);
}

TEST(InstallRun, ShowsTheCommandLineOnlyForDebugRows) {
  FakeRun run;
  run.Groups = {u"G"};
  RunRow shown = Checked(0, u"Shown", u"C:\\My Tools\\setup.exe", u"/s");
  shown.Debug = u"1";
  RunRow notShown = Checked(0, u"Hidden", u"C:\\setup2.exe", u"/s");
  notShown.Debug = u"true";
  run.Rows = {shown, notShown};
  RunInstallation(run, run, run, RunTexts{});
  std::vector<std::string> shownTexts;
  for (const std::string& event : run.Events) {
    if (event.rfind("show ", 0) == 0) shownTexts.push_back(event);
  }
  EXPECT_EQ(shownTexts, std::vector<std::string>{"show \"C:\\My Tools\\setup.exe\" /s"});
}

TEST(InstallRun, AFailingRowIsReportedAndTheRunGoesOn) {
  FakeRun run;
  run.Groups = {u"G"};
  run.Rows = {Checked(0, u"First", u"first.exe"), Checked(7, u"Broken", u"broken.exe"),
              Checked(0, u"Last", u"last.exe")};
  RunInstallation(run, run, run, RunTexts{});
  int boxes = 0;
  for (const std::string& event : run.Events) {
    if (event.rfind("error box ", 0) == 0) {
      ++boxes;
      EXPECT_EQ(event, "error box Fehler: EListError error raised, with message : "
                       "Listenindex überschreitet das Maximum (7)");
    }
  }
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(ToUtf8(run.Log), "G\r\nFirst: \tFertig\r\nLast: \tFertig\r\n");
  EXPECT_EQ(run.Started.size(), 2u);
}

TEST(InstallRun, ARowWithoutAGroupIsInstalledWithoutAHeader) {
  FakeRun run;
  run.Groups = {u"G"};
  run.Rows = {Checked(-1, u"Loose", u"loose.exe"), Checked(0, u"Grouped", u"grouped.exe")};
  RunInstallation(run, run, run, RunTexts{});
  EXPECT_EQ(ToUtf8(run.Log), "Loose: \tFertig\r\nG\r\nGrouped: \tFertig\r\n");
  EXPECT_EQ(run.Started.size(), 2u);
}

TEST(InstallRun, ACommandThatCouldNotStartIsLoggedAsAFailure) {
  FakeRun run;
  run.Groups = {u"G"};
  run.Rows = {Checked(0, u"Gone", u"C:\\missing.exe")};
  run.ExitCodes[u"C:\\missing.exe"] = 0x80070002u;
  RunInstallation(run, run, run, RunTexts{});
  EXPECT_EQ(ToUtf8(run.Log), "G\r\nGone: \tFehlgeschlagen. Fehlercode: 2147942402 (0x80070002)\r\n");
}

TEST(InstallRun, TerminatingSkipsTheRemainingRowsButStillSavesAndEnds) {
  FakeRun run;
  run.Groups = {u"G"};
  run.Rows = {Checked(0, u"First", u"first.exe"), Checked(0, u"Second", u"second.exe"),
              Checked(0, u"Third", u"third.exe")};
  run.TerminateDuring = u"first.exe";
  run.Reboot = true;
  RunInstallation(run, run, run, RunTexts{});
  EXPECT_EQ(ToUtf8(run.Log), "G\r\nFirst: \tFertig\r\n");
  const std::vector<std::u16string> started = {u"first.exe||1", u"shutdown.exe|-r -f -t 0|0"};
  EXPECT_EQ(run.Started, started);
  EXPECT_EQ(run.Events.back(), "terminate");
}

TEST(InstallRun, AFailureWhileSavingLeavesTheRunBeforeRestartAndEnd) {
  FakeRun run;
  run.Reboot = true;
  run.SaveRaises = true;
  EXPECT_THROW(RunInstallation(run, run, run, RunTexts{}), KorvelError);
  EXPECT_TRUE(run.Started.empty());
  EXPECT_EQ(run.Events.back(), "save C:\\ZebLog.txt alternatives 3 encoding 0");
}

TEST(InstallRun, ShortNamesArePaddedBeforeTheirStatus) {
  FakeRun run;
  run.Groups = {u"G"};
  run.Rows = {Checked(0, u"x", u"x.exe")};  // "x: t" measures 200 pixels, "x:   t" 300
  RunInstallation(run, run, run, RunTexts{});
  EXPECT_EQ(ToUtf8(run.Log), "G\r\nx:   \tFertig\r\n");
}

}  // namespace
