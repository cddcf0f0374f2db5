// frmLoad: the load screen. A small tool window with a progress gauge that is never shown; it
// exists while StartUp runs, owns the message boxes of the start-up and carries out, on the main
// window, what StartUp asks of the windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "main_window_win32.h"
#include "start_up.h"

// What the load screen is given by the program (or by a test).
struct LoadScreenServices {
  StartUpOptions Options;
  TPauseTimer* Countdown = nullptr;          // CountdownTimer
  std::int16_t* CountdownSeconds = nullptr;  // the countdown's seconds, which a "timer" element sets
  // Every "package.xml" below a directory, in discovery order.
  std::function<std::vector<std::u16string>(const std::u16string& startDirectory)> FindPackageFiles;
  // Loads one package description into the lists of the main window.
  std::function<void(const std::u16string& path, SelectionLists& lists)> LoadPackage;
  // Translation files: user texts, descriptions, group names and the three captions.
  std::function<void(SelectionLists& lists)> LoadTranslations;
  std::function<std::u16string(const std::u16string& key)> MessageText;
};

class TfrmLoad final : public StartUpHost {
public:
  static constexpr const wchar_t* kClassName = L"TfrmLoad";

  // Creates the load screen, hidden. Raises a KorvelError when the system refuses the window.
  TfrmLoad(TfrmGUI& form, LoadScreenServices services);
  ~TfrmLoad() override;
  TfrmLoad(const TfrmLoad&) = delete;
  TfrmLoad& operator=(const TfrmLoad&) = delete;

  // The start-up sequence on the main window.
  void StartUp();

  HWND Handle() const { return window_; }
  HWND sGauge1 = nullptr;

  // ---- StartUpHost ----
  void DisableItemTooltips() override { form_.DisableItemTooltips(); }
  void SetClientSize(int width, int height) override { form_.SetClientSize(width, height); }
  void FillWorkArea() override { form_.FillWorkArea(); }
  void SetCaption(const std::u16string& caption) override { form_.SetCaption(caption); }
  std::vector<std::u16string> FindPackageFiles(const std::u16string& startDirectory) override;
  void SetProgressMaximum(int maximum) override;
  void SetProgress(int position) override;
  void LoadPackage(const std::u16string& path) override;
  void LoadTranslations() override;
  void StartCountdown() override;
  void PauseClick() override { form_.btnPauseClick(); }
  bool CountdownEnabled() override;
  void SetCountdownEnabled(bool enabled) override;
  void ShowMainWindow() override { form_.ShowForm(); }
  void Terminate() override { form_.RequestTermination(); }
  WindowRef LoadScreenWindow() override { return reinterpret_cast<WindowRef>(window_); }
  std::u16string MessageText(const std::u16string& key) override;

private:
  TfrmGUI& form_;
  LoadScreenServices services_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
};

// Runs the start-up of the main window: creates the load screen, runs StartUp on it and destroys
// it again. This is the main window's creation handler in the program.
void RunLoadScreen(TfrmGUI& form, const LoadScreenServices& services);
