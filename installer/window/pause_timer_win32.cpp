#include "pause_timer_win32.h"

#include "errors.h"
#include "funktionen.h"

namespace {

constexpr UINT_PTR kTimerId = 1;
const wchar_t kClassName[] = L"KorvelPauseTimerWindow";

}  // namespace

WindowTimerHost::WindowTimerHost() {
  static const ATOM registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &WindowTimerHost::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass);
  }();
  if (!registered) throw EOutOfResources(u"Timer Error");
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window_) throw EOutOfResources(u"Timer Error");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WindowTimerHost::~WindowTimerHost() {
  ::KillTimer(window_, kTimerId);
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

std::uint32_t WindowTimerHost::TickCount() { return GetTickCount(); }

void WindowTimerHost::KillTimer() { ::KillTimer(window_, kTimerId); }

bool WindowTimerHost::SetTimer(std::uint32_t milliseconds) {
  return ::SetTimer(window_, kTimerId, milliseconds, nullptr) != 0;
}

void WindowTimerHost::Attach(TPauseTimer& timer) { timer_ = &timer; }

LRESULT CALLBACK WindowTimerHost::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    auto* host = reinterpret_cast<WindowTimerHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (host && host->timer_) {
      try {
        host->timer_->DoTimer();
      } catch (const std::exception& error) {
        ReportException(error);
      }
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::unique_ptr<TPauseTimer> CreatePauseTimer() { return std::make_unique<TPauseTimer>(std::make_unique<WindowTimerHost>()); }
