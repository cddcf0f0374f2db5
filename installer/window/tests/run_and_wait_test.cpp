#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

#include "errors.h"
#include "funktionen.h"
#include "install_run.h"
#include "pause_timer_win32.h"
#include "run_system_win32.h"
#include "win32_test_support.h"

namespace {

// Points the helper's record at a file of a scratch directory for the test's lifetime.
class RecordedRun : public ::testing::Test {
protected:
  ScratchDirectory scratch{L"run"};
  std::wstring record = scratch.Path() + L"record.txt";

  void SetUp() override { SetEnvironmentVariableW(L"KORVEL_HELPER_RECORD", record.c_str()); }
  void TearDown() override {
    SetEnvironmentVariableW(L"KORVEL_HELPER_RECORD", nullptr);
    SetProcessCreator(nullptr);
    SetApplicationTerminating(false);
  }
  // Command line, priority class, new process group: the helper's three lines.
  std::vector<std::string> Recorded() {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileBytes(record));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::u16string Helper() { return BuildCommand(U16(HelperPath())); }
};

TEST_F(RecordedRun, ExitCodesComeBackUnchangedInBothWaitingModes) {
  const std::uint32_t codes[] = {0, 18, 3010, 1603, 0xC0000005u};
  for (const int mode : {0, 1}) {
    for (const std::uint32_t code : codes) {
      EXPECT_EQ(RunAndWait(Helper(), FromUtf8(std::to_string(code)), kShowNormal, mode), code)
          << "exit code " << code << ", mode " << mode;
    }
  }
}

TEST_F(RecordedRun, TheCommandLineIsCommandBlankParametersEvenWhenTheyAreEmpty) {
  const struct {
    std::u16string parameters;
    std::u16string expected;
  } rows[] = {{u"", u" "}, {u"3010 0", u" 3010 0"}, {u"/q  /norestart", u" /q  /norestart"}};
  for (const auto& row : rows) {
    DeleteFileW(record.c_str());
    RunAndWait(Helper(), row.parameters, kShowNormal, 0);
    const auto lines = Recorded();
    ASSERT_FALSE(lines.empty()) << "parameters \"" << ToUtf8(row.parameters) << "\"";
    EXPECT_EQ(lines[0], ToUtf8(Helper() + row.expected)) << "parameters \"" << ToUtf8(row.parameters) << "\"";
  }
}

TEST_F(RecordedRun, ProgramsStartInANewProcessGroupAtBelowNormalPriority) {
  struct Seen {
    int calls = 0;
    DWORD flags = 0;
    DWORD startupFlags = 0;
    WORD show = 0;
    std::wstring line;
  } seen;
  SetProcessCreator([&](wchar_t* line, DWORD flags, STARTUPINFOW& startup, PROCESS_INFORMATION& process) {
    ++seen.calls;
    seen.flags = flags;
    seen.startupFlags = startup.dwFlags;
    seen.show = startup.wShowWindow;
    seen.line = line;
    return CreateProcessWithSystem(line, flags, startup, process);
  });
  EXPECT_EQ(RunAndWait(Helper(), u"7", kShowHide, 0), 7u);
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.flags, 0x4200u);
  EXPECT_EQ(seen.startupFlags, static_cast<DWORD>(STARTF_USESHOWWINDOW));
  EXPECT_EQ(seen.show, 0);
  EXPECT_EQ(U16(seen.line), Helper() + u" 7");
  // Wine does not give the child a priority class, but it does keep the process group.
  const auto lines = Recorded();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], "1");

  // The helper can tell: started without the flag, it reports no new group.
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring line = L"\"" + HelperPath() + L"\"";
  ASSERT_TRUE(CreateProcessWithSystem(line.data(), 0, startup, info));
  UniqueHandle process(info.hProcess), thread(info.hThread);
  WaitForSingleObject(process.get(), INFINITE);
  const auto plain = Recorded();
  ASSERT_EQ(plain.size(), 3u);
  EXPECT_EQ(plain[2], "0");
}

TEST_F(RecordedRun, APathWithBlanksRunsQuoted) {
  const std::wstring folder = scratch.Path() + L"My Tools\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring copy = folder + L"exit with.exe";
  ASSERT_TRUE(CopyFileW(HelperPath().c_str(), copy.c_str(), FALSE));
  EXPECT_EQ(RunAndWait(BuildCommand(U16(copy)), u"5", kShowNormal, 0), 5u);
  const auto lines = Recorded();
  ASSERT_FALSE(lines.empty());
  std::u16string expected = u"\"";
  expected += U16(copy);
  expected += u"\" 5";
  EXPECT_EQ(lines[0], ToUtf8(expected));
}

TEST_F(RecordedRun, AProgramThatCannotStartIsAFailureWithItsSystemError) {
  const std::u16string missing = U16(scratch.Path()) + u"no-such-setup.exe";
  EXPECT_EQ(RunAndWait(missing, u"", kShowNormal, 0), 0x80070002u);
  EXPECT_EQ(RunAndWait(missing, u"", kShowNormal, 1), 0x80070002u);
  EXPECT_EQ(ToUtf8(GetResultText(RunAndWait(missing, u"", kShowNormal, 0), RunTexts{})),
            "Fehlgeschlagen. Fehlercode: 2147942402 (0x80070002)");
}

TEST_F(RecordedRun, WindowTimersFireWhileWaitingWithMessagesButNotWhilePolling) {
  for (const int mode : {0, 1}) {
    auto timer = CreatePauseTimer();
    int ticks = 0;
    timer->SetInterval(20);
    timer->SetOnTimer([&](TPauseTimer&) { ++ticks; });
    EXPECT_EQ(RunAndWait(Helper(), u"0 600", kShowNormal, mode), 0u) << "mode " << mode;
    if (mode == 0) EXPECT_GT(ticks, 0) << "no timer message was handled while waiting";
    else EXPECT_EQ(ticks, 0) << "the polling wait handled timer messages";
  }
}

TEST_F(RecordedRun, AQuitDuringTheWaitEndsItWithTheProgramsRealExitCode) {
  auto timer = CreatePauseTimer();
  timer->SetInterval(50);
  timer->SetOnTimer([](TPauseTimer& sender) {
    sender.SetEnabled(false);
    PostQuitMessage(0);
  });
  EXPECT_EQ(RunAndWait(Helper(), u"42 500", kShowNormal, 0), 42u);
  EXPECT_TRUE(ApplicationTerminating());
}

TEST_F(RecordedRun, AWaitThatBeginsWhileTerminatingReturnsZeroAfterTheProgramEnded) {
  SetApplicationTerminating(true);
  EXPECT_EQ(RunAndWait(Helper(), u"42 300", kShowNormal, 0), 0u);
  // The program did run, and it has ended: its record is complete and no longer held.
  EXPECT_EQ(Recorded().size(), 3u);
  EXPECT_TRUE(DeleteFileW(record.c_str()));
  // The polling mode does not look at termination.
  EXPECT_EQ(RunAndWait(Helper(), u"42", kShowNormal, 1), 42u);
}

// A window with a fixed list of rows and a log pane kept as plain text.
class ListWindow : public RunWindow, public LogPane {
public:
  std::vector<RunRow> Rows;
  std::vector<std::u16string> Groups;
  std::u16string Log;
  int RowCount() override { return static_cast<int>(Rows.size()); }
  RunRow Row(int index) override { return Rows.at(static_cast<std::size_t>(index)); }
  std::u16string GroupHeader(int group) override { return Groups.at(static_cast<std::size_t>(group)); }
  void DisableControls() override {}
  void StopCountdown() override {}
  void BringToFront() override {}
  void ShowCommandLine(const std::u16string&) override {}
  void ShowError(const std::u16string& caption, const std::u16string& text) override {
    Log += u"[" + caption + u": " + text + u"]";
  }
  int MeasureText(const std::u16string& text) override { return static_cast<int>(text.size()) * 100; }
  bool RebootWhenFinish() override { return false; }
  void Clear() override { Log.clear(); }
  void AddLogText(const std::u16string& text) override { Log += text; }
  void AddLogHeader(const std::u16string& text) override { Log += text; }
  std::u16string PlainText() override { return Log; }
};

TEST_F(RecordedRun, ARunOfRealProgramsLogsEachResultSavesTheLogAndEndsTheApplication) {
  const std::u16string helper = U16(HelperPath());
  const std::u16string missing = U16(scratch.Path()) + u"missing setup.exe";
  ListWindow window;
  window.Groups = {u"Laufzeitbibliotheken", u"Werkzeuge"};
  window.Rows = {RunRow{true, 0, u"Erfolg", helper, u"0", u"0"},
                 RunRow{true, 0, u"Neustart", helper, u"3010", u"0"},
                 RunRow{false, 0, u"Abgewählt", helper, u"5", u"0"},
                 RunRow{true, 1, u"Fehler", helper, u"1603", u"0"},
                 RunRow{true, 1, u"Fehlt", missing, u"/q", u"0"}};
  const std::u16string drive = U16(scratch.Path().substr(0, scratch.Path().size() - 1));
  Win32RunSystem system([&](const std::u16string& path) {
    std::u16string out = path;
    const std::u16string variable = u"%systemdrive%";
    if (out.rfind(variable, 0) == 0) out.replace(0, variable.size(), drive);
    return out;
  });
  RunInstallation(window, window, system, RunTexts{});

  const std::u16string expected = u"Laufzeitbibliotheken\r\n"
                                  u"Erfolg: \tFertig\r\n"
                                  u"Neustart: \tFertig (Reboot required)\r\n"
                                  u"\r\n"
                                  u"Werkzeuge\r\n"
                                  u"Fehler: \tFehlgeschlagen. Fehlercode: 1603 (0x00000643)\r\n"
                                  u"Fehlt: \tFehlgeschlagen. Fehlercode: 2147942402 (0x80070002)\r\n";
  EXPECT_EQ(ToUtf8(window.Log), ToUtf8(expected));
  EXPECT_EQ(ReadFileBytes(scratch.Path() + L"ZebLog.txt"), ToUtf8(expected));  // all of it is ASCII
  // The run's last step asks the application to end.
  EXPECT_FALSE(ApplicationTerminating());
  ProcessMessages();
  EXPECT_TRUE(ApplicationTerminating());
}

TEST(ShellThread, WakesTheWaiterWithAnEmptyMessageWhenTheProcessEnds) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring line = L"\"" + HelperPath() + L"\" 0 200";
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
  UniqueHandle process(info.hProcess), thread(info.hThread);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
  {
    TShellThread watcher;
    watcher.ProcessHandle = process.get();
    watcher.WaiterThreadID = GetCurrentThreadId();
    EXPECT_FALSE(watcher.ProcessEnded);
    watcher.Start();
    // Only the watcher posts to this thread; wait for its message, for 20 seconds at most.
    bool woken = false;
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (!woken && GetTickCount64() < deadline) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_POSTMESSAGE);
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_NULL && message.hwnd == nullptr && message.wParam == 0 && message.lParam == 0) {
          woken = true;
        }
      }
    }
    ASSERT_TRUE(woken) << "no WM_NULL arrived";
    EXPECT_TRUE(watcher.ProcessEnded);
  }
  EXPECT_EQ(WaitForSingleObject(process.get(), 0), WAIT_OBJECT_0);
}

TEST(ErrorCodeHexOfTheSystem, ZeroShowsTheLastSystemError) {
  SetLastError(0);
  EXPECT_EQ(ToUtf8(ErrorCodeHex(0)), "00000000");
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"C:\\no such file.bin"));
  EXPECT_EQ(ToUtf8(ErrorCodeHex(0)), "80070002");
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(ToUtf8(ErrorCodeHex(0)), "80070005");
  EXPECT_EQ(ToUtf8(ErrorCodeHex(255)), "000000FF");
}

}  // namespace
