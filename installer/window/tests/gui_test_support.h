// Helpers of the tests that drive the real windows under Wine: a message pump with a time limit,
// clicks on list-view check boxes and rows, and a thread that answers message boxes.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace gui_test {

inline std::wstring Text(HWND window) {
  wchar_t buffer[1024];
  const int n = GetWindowTextW(window, buffer, 1024);
  return std::wstring(buffer, n > 0 ? n : 0);
}

inline std::string Narrow(const std::wstring& s) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// Handles the thread's messages for about milliseconds.
inline void Pump(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  MSG message;
  while (std::chrono::steady_clock::now() < end) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  }
}

// Removes a WM_QUIT that a test's termination request left in the queue.
inline bool TakeQuitMessage() {
  MSG message;
  return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

// A mouse click at a point of window's client area, as the user makes it.
inline void ClickAt(HWND window, POINT p) {
  const LPARAM at = MAKELPARAM(p.x, p.y);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(window, WM_LBUTTONUP, 0, at);
  Pump(30);
}

// The point of row's check box in a list view, found by hit-testing along the row; x -1 when the
// control reports none.
inline POINT CheckBoxPoint(HWND view, int row) {
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  ListView_GetItemRect(view, row, &bounds, LVIR_BOUNDS);
  const int y = (bounds.top + bounds.bottom) / 2;
  for (int x = bounds.left; x < bounds.left + 60; ++x) {
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    if (ListView_SubItemHitTest(view, &hit) == row && (hit.flags & LVHT_ONITEMSTATEICON)) return hit.pt;
  }
  return {-1, -1};
}

// A row's label (the "Name" column), away from the check box.
inline POINT LabelPoint(HWND view, int row) {
  RECT r{};
  ListView_GetSubItemRect(view, row, 1, LVIR_LABEL, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline bool Checked(HWND view, int row) { return ListView_GetCheckState(view, row) != 0; }

// A message box as the user saw it.
struct SeenBox {
  std::wstring Caption;
  std::wstring Text;
  bool OwnerVisible;  // whether the window named at construction was visible at that moment
};

// Watches for message boxes of this process on a thread of its own, records each one and
// answers it with OK (or closes it), so that a modal box cannot hang a test.
class BoxAnswerer {
public:
  explicit BoxAnswerer(std::function<HWND()> watched = {}) : watched_(std::move(watched)) {
    thread_ = std::thread([this] { Run(); });
  }
  ~BoxAnswerer() {
    stop_ = true;
    thread_.join();
  }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  std::vector<SeenBox> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

private:
  static BOOL CALLBACK Visit(HWND window, LPARAM self) {
    auto* me = reinterpret_cast<BoxAnswerer*>(self);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t cls[32];
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || !GetClassNameW(window, cls, 32) ||
        lstrcmpW(cls, L"#32770") != 0) {
      return TRUE;
    }
    if (std::find(me->answered_.begin(), me->answered_.end(), window) != me->answered_.end()) return TRUE;
    wchar_t text[1024] = L"";
    GetDlgItemTextW(window, 0xFFFF, text, 1024);
    HWND owner = me->watched_ ? me->watched_() : nullptr;
    {
      std::lock_guard<std::mutex> lock(me->mutex_);
      me->seen_.push_back({Text(window), text, owner && IsWindowVisible(owner)});
    }
    me->answered_.push_back(window);
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
  }
  void Run() {
    while (!stop_) {
      EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
      Sleep(20);
    }
  }

  std::function<HWND()> watched_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenBox> seen_;
  std::vector<HWND> answered_;
  std::thread thread_;
};

}  // namespace gui_test
