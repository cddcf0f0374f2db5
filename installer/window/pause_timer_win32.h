// The Windows host of TPauseTimer: a hidden message window of its own that receives system
// timer 1 and turns each WM_TIMER into a tick of the timer.
#pragma once

#include <windows.h>

#include <memory>

#include "pause_timer.h"

class WindowTimerHost : public PauseTimerHost {
public:
  // Creates the hidden window (its class is registered once per process). Raises
  // EOutOfResources when the window cannot be created.
  WindowTimerHost();
  // Kills the timer and destroys the window.
  ~WindowTimerHost() override;

  std::uint32_t TickCount() override;
  void KillTimer() override;
  bool SetTimer(std::uint32_t milliseconds) override;
  void Attach(TPauseTimer& timer) override;

  HWND WindowHandle() const { return window_; }

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
  TPauseTimer* timer_ = nullptr;
};

// A pause timer on a hidden window of the calling thread; its ticks arrive through that
// thread's message loop.
std::unique_ptr<TPauseTimer> CreatePauseTimer();
