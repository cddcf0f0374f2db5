// frmGUI: the main window. Standard Win32 controls (common controls 6) that mirror the selection
// lists of the model and hold no rules of their own:
//
//   LeftPanel (left, 370 wide, minimum 370)      sSplitter1 (8)   Log (read-only rich edit)
//     sPageControl1 with the pages "Installation" (InstallList) and "Detailliert"
//     (InstallListDetail); chk_all over the tab row; btnInstall and btnPause at the bottom;
//     the invisible label Ghost that the installation run measures text with.
//
// Positions are design pixels at 96 dpi, scaled to the screen's resolution. The window is a
// resizable tool window, created hidden; its creation runs FormCreate, which the program uses to
// run the load screen's start-up sequence.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "countdown.h"
#include "install_run.h"
#include "list_view_win32.h"
#include "selection_rules.h"

class TfrmGUI;

// What the window is given by the program (or by a test).
struct GuiEnvironment {
  TPauseTimer* Countdown = nullptr;          // CountdownTimer
  std::int16_t* CountdownSeconds = nullptr;  // the seconds the countdown still shows
  // The user text of a message table key ("msg_pause", "msg_fin", "msg_err_failed", ...).
  std::function<std::u16string(const std::u16string& key)> MessageText;
  // The window's creation handler: the program runs the load screen's start-up here.
  std::function<void(TfrmGUI& form)> FormCreate;
  // What the installation run asks of the system and of the application.
  RunSystem* System = nullptr;
  bool RebootWhenFinish = false;
  // Asks the application to end (closing the window does too). Default: WM_QUIT for the loop.
  std::function<void()> Terminate;
};

// Design pixels (96 dpi) in the resolution of window's screen.
int ScaleDesign(HWND window, int designPixels);

// Control identifiers (WM_COMMAND / WM_NOTIFY).
enum ControlId : int {
  kIdPageControl = 101,
  kIdInstallList = 102,
  kIdInstallListDetail = 103,
  kIdChkAll = 104,
  kIdBtnInstall = 105,
  kIdBtnPause = 106,
  kIdGhost = 107,
  kIdLog = 108,
};

class TfrmGUI final : public CountdownWindow, public RunWindow, public LogPane {
public:
  static constexpr const wchar_t* kClassName = L"TfrmGUI";
  static constexpr const wchar_t* kDesignCaption = L"Korvel (korvel.example.org)";
  static constexpr int kDesignClientWidth = 600;
  static constexpr int kDesignClientHeight = 426;
  static constexpr int kPanelMinWidth = 370;
  static constexpr int kSplitterWidth = 8;

  // Creates the window, hidden; FormCreate has run when this returns. Raises a KorvelError
  // when the system refuses the window.
  explicit TfrmGUI(GuiEnvironment environment);
  ~TfrmGUI() override;
  TfrmGUI(const TfrmGUI&) = delete;
  TfrmGUI& operator=(const TfrmGUI&) = delete;

  HWND Handle() const { return window_; }
  SelectionLists Lists;  // the model of InstallList and InstallListDetail

  // The controls.
  HWND LeftPanel = nullptr, sPageControl1 = nullptr, InstallList = nullptr, InstallListDetail = nullptr,
       chk_all = nullptr, btnInstall = nullptr, btnPause = nullptr, Ghost = nullptr, sSplitter1 = nullptr,
       Log = nullptr;

  // ---- Handlers ----
  void chk_allClick();
  void InstallListClick(HWND view);
  void btnInstallClick();
  void btnPauseClick();
  void TimerFinish();

  // ---- What start-up does with the window ----
  void DisableItemTooltips();
  void SetClientSize(int width, int height);  // design pixels: height first, then width
  void FillWorkArea();
  void SetCaption(const std::u16string& caption);
  // Shows the window, centred on its monitor's work area, in front.
  void ShowForm();
  // Asks the application to end. A request made while the window is being created (start-up
  // found nothing to install) is carried out when the creation is complete, so that no modal box
  // of the start-up is closed by it.
  void RequestTermination();
  bool TerminationRequested() const { return terminationRequested_; }

  int PanelWidth() const { return panelWidth_; }
  // Moves the splitter: the panel becomes width pixels wide, within its limits.
  void SetPanelWidth(int width);

  // ---- CountdownWindow ----
  void SetPauseCaption(const std::u16string& caption) override;
  void InstallClick() override { btnInstallClick(); }

  // ---- RunWindow ----
  int RowCount() override;
  RunRow Row(int index) override;
  std::u16string GroupHeader(int group) override;
  void DisableControls() override;
  void StopCountdown() override;
  void BringToFront() override;
  void ShowCommandLine(const std::u16string& text) override;
  void ShowError(const std::u16string& caption, const std::u16string& text) override;
  int MeasureText(const std::u16string& text) override;
  bool RebootWhenFinish() override { return env_.RebootWhenFinish; }

  // ---- LogPane ----
  void Clear() override;
  void AddLogText(const std::u16string& text) override;
  void AddLogHeader(const std::u16string& text) override;
  std::u16string PlainText() override;

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SplitterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  void OnCreate();
  void OnSize();
  LRESULT OnNotify(const NMHDR& header);
  void OnCommand(int id, int code);
  void OnGetMinMaxInfo(MINMAXINFO& info);
  void OnClose();
  void OnControlChange(ControlChange change);
  void OnSplitterMouse(UINT message, int x);

  void CreateControls();
  void Layout();
  void ShowPage(int page);
  void AppendLog(const std::u16string& text, bool header);
  std::u16string Message(const std::u16string& key, const std::u16string& fallback) const;

  GuiEnvironment env_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr, logFont_ = nullptr;
  std::unique_ptr<ListViewMirror> mainMirror_, detailMirror_;
  int controlsToken_ = 0;
  int panelWidth_ = 0;
  int splitterGrab_ = -1;
  bool creating_ = false;
  bool terminationRequested_ = false;  // x inside the splitter where the drag began; -1 when not dragging
};
