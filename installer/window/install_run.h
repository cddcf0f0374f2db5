// The installation run: every checked row of the detail view is started in turn, its result is
// written to the log pane, the pane is saved as the installation log, the machine restarts when
// asked to, and the program ends.
//
// The logic here is portable. It meets the window, the log pane and the system through three
// small interfaces, which the main window implements with its controls and with RunAndWait,
// SaveTextFile and the application object.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The texts of the message table that the run reads. The window fills them from its message
// table when the run starts; the defaults are the built-in German ones.
struct RunTexts {
  std::u16string Finished = u"Fertig";                            // "msg_fin"
  std::u16string FailedPrefix = u"Fehlgeschlagen. Fehlercode:";   // "msg_err_failed"
};

// Width of the name column in the log pane, in pixels.
inline constexpr int StatusColumnWidth = 262;

// Status text of one command's exit code: the success text for 0 and 18, the success text and
// " (Reboot required)" for 3010, otherwise the failure prefix, " ", the code in unsigned decimal
// and " (0x", its eight hexadecimal digits, ")".
std::u16string GetResultText(std::uint32_t exitCode, const RunTexts& texts);

// The command that starts path: quoted when it contains a blank, and behind "msiexec.exe /i "
// when the extension of its last component is ".msi" in any letter case. An empty path stays
// empty.
std::u16string BuildCommand(const std::u16string& path);

// caption with as many blanks appended as it takes for the text plus the letter "t" to measure
// at least StatusColumnWidth pixels, then a tab. measure gives the width of a text in pixels.
// Stops adding blanks as soon as a blank no longer widens the text, so a font in which a blank
// measures nothing cannot keep it going.
std::u16string PadCaption(const std::u16string& caption, const std::function<int(const std::u16string&)>& measure);

// One row of the detail view, as the run reads it.
struct RunRow {
  bool Checked = false;
  int Group = -1;  // -1: no group
  std::u16string Name;
  std::u16string Path;
  std::u16string Param;
  std::u16string Debug;  // "1": show the command line before it runs
};

// The main window as the run sees it.
class RunWindow {
public:
  virtual ~RunWindow() = default;
  virtual int RowCount() = 0;
  virtual RunRow Row(int index) = 0;
  // Header of the detail view's group at position group. Raises a KorvelError (the list-index
  // error) when there is no such position.
  virtual std::u16string GroupHeader(int group) = 0;
  // Disables the left panel and everything in it; the log pane stays usable.
  virtual void DisableControls() = 0;
  // Stops the countdown for good.
  virtual void StopCountdown() = 0;
  virtual void BringToFront() = 0;
  // Shows text in a simple modal dialog and returns when the user has closed it.
  virtual void ShowCommandLine(const std::u16string& text) = 0;
  // Shows a failed row: an error message box with this caption and text, owned by the window.
  virtual void ShowError(const std::u16string& caption, const std::u16string& text) = 0;
  // Width in pixels of text in the window's font.
  virtual int MeasureText(const std::u16string& text) = 0;
  virtual bool RebootWhenFinish() = 0;
};

// The rich-text log pane.
class LogPane {
public:
  virtual ~LogPane() = default;
  virtual void Clear() = 0;
  virtual void AddLogText(const std::u16string& text) = 0;    // plain, black
  virtual void AddLogHeader(const std::u16string& text) = 0;  // bold, underlined, blue
  virtual std::u16string PlainText() = 0;
};

// What the run asks of the system and of the application object.
class RunSystem {
public:
  virtual ~RunSystem() = default;
  // Starts command + " " + parameters and waits for it; see RunAndWait.
  virtual std::uint32_t RunAndWait(const std::u16string& command, const std::u16string& parameters,
                                   std::uint16_t showWindow, int waitMode) = 0;
  // True once the application has been asked to end.
  virtual bool Terminating() = 0;
  virtual std::u16string ExpandEnvironment(const std::u16string& path) = 0;
  // SaveTextFile of the log file writer; may raise its file-creation error.
  virtual bool SaveTextFile(const std::u16string& fileName, const std::u16string& text, int alternatives,
                            std::uint8_t encoding) = 0;
  virtual void ProcessMessages() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // Asks the application to end.
  virtual void Terminate() = 0;
};

inline constexpr std::uint16_t kShowHide = 0;        // SW_HIDE
inline constexpr std::uint16_t kShowNormal = 1;      // SW_SHOWNORMAL
inline constexpr int kWaitHandlingMessages = 0;

// The whole run (the install button's click action). A failure on one row is shown through
// RunWindow::ShowError and the run goes on with the next row; a failure while saving the log
// is not caught and leaves the run before the restart and the end of the program.
void RunInstallation(RunWindow& window, LogPane& log, RunSystem& system, const RunTexts& texts);
