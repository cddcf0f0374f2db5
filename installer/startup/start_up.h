// StartUp: what the load screen does while the main window is being created. It prepares the
// registry, sizes and captions the main window, finds and loads every package, sorts both lists,
// brings the check marks into their first consistent state, applies translations, then either
// shows the window with the countdown armed (or paused when nothing is checked) or tells the user
// that nothing needs installing and ends the program, and finally applies the settings file's
// preselections and countdown settings.
//
// The sequence is portable. It drives the two selection lists (selection_rules.h) directly, the
// registry and the debug boxes through the platform seam, and everything that needs a real window,
// the package loader or the countdown timer through a StartUpHost.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform.h"

class SelectionLists;

// Read-only view of the settings file's element: its attributes and its children's names and
// attributes, children addressed by position in document order. Attribute names are found without
// regard to case; a default is returned only when the attribute is absent.
class StartUpSettings {
public:
  virtual ~StartUpSettings() = default;
  virtual std::u16string ValueOf(const std::u16string& attribute, const std::u16string& fallback) const = 0;
  virtual std::size_t ChildCount() const = 0;
  // Name of child i as written; empty for a position past the end.
  virtual std::u16string ChildName(std::size_t i) const = 0;
  virtual std::u16string ChildValueOf(std::size_t i, const std::u16string& attribute,
                                      const std::u16string& fallback) const = 0;
};

// Everything StartUp needs that is not portable: the two windows, the loader, the countdown.
class StartUpHost {
public:
  virtual ~StartUpHost() = default;
  // Sends LVM_SETTOOLTIPS (0, 0) to the main view, then to the detail view.
  virtual void DisableItemTooltips() = 0;
  // Client height first, then client width, of the main window.
  virtual void SetClientSize(int width, int height) = 0;
  // The main window's bounds become the work area of the monitor nearest to it.
  virtual void FillWorkArea() = 0;
  virtual void SetCaption(const std::u16string& caption) = 0;
  // Full paths of every "package.xml" below startDirectory, in discovery order.
  virtual std::vector<std::u16string> FindPackageFiles(const std::u16string& startDirectory) = 0;
  virtual void SetProgressMaximum(int maximum) = 0;
  virtual void SetProgress(int position) = 0;
  // Loads one package description into the two lists. A failure may be raised.
  virtual void LoadPackage(const std::u16string& path) = 0;
  // User texts, descriptions, group names and the captions of chk_all, btnInstall and btnPause.
  virtual void LoadTranslations() = 0;
  // The countdown: tick handler TimerFinish of the main window, then enabled.
  virtual void StartCountdown() = 0;
  // The pause button's click action (pause a running countdown, resume a paused one).
  virtual void PauseClick() = 0;
  virtual bool CountdownEnabled() = 0;
  virtual void SetCountdownEnabled(bool enabled) = 0;
  virtual void ShowMainWindow() = 0;
  // Asks the application to end; the main window is never shown then.
  virtual void Terminate() = 0;
  // The load screen's window: owner of the message boxes shown here.
  virtual WindowRef LoadScreenWindow() = 0;
  // A user text of the message table ("msg_err", "msg_err_noelements"), as translated.
  virtual std::u16string MessageText(const std::u16string& key) = 0;
};

struct StartUpOptions {
  std::u16string AppStartPath;  // program directory, with its trailing backslash
  bool DebugMode = false;
  bool SilentMode = false;
  const StartUpSettings* Settings = nullptr;  // the settings element, or nothing
};

// Registry keys and values that every start changes.
inline constexpr char16_t kErrorReportingKey[] = u"Software\\Microsoft\\PCHealth\\ErrorReporting\\DW";
inline constexpr char16_t kSetupKey[] = u"SYSTEM\\Setup";
inline constexpr char16_t kSetupInProgressValue[] = u"SystemSetupInProgress";

// Design client size of the main window after start-up, when it does not take the work area.
inline constexpr int kStartClientWidth = 980;
inline constexpr int kStartClientHeight = 700;

// Fixed text after the settings' "title" in the window caption.
inline constexpr char16_t kCaptionSuffix[] = u" (korvel.example.org)";
// Caption of the debug boxes: the application title.
inline constexpr char16_t kApplicationTitle[] = u"Korvel";

// Deletes the error-reporting key tree and resets "SystemSetupInProgress" from 1 to 0. Returns the
// setup flag: the value read (0 when the key or the value is missing).
std::int32_t PrepareRegistry();

// The whole start-up sequence. countdownSeconds is the process-wide countdown, which a "timer"
// element may change (CountdownFromText: a value that is no number keeps the current one). A
// failure of one package's loading skips that package; the others are still loaded.
void StartUp(SelectionLists& lists, StartUpHost& host, const StartUpOptions& options, std::int16_t& countdownSeconds);
