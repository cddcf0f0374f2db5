// Test aid: follows the captions of a window's buttons while the program runs.
//   caption_watcher.exe TITLE_PREFIX BUTTON_PREFIX OUTFILE [TIMEOUT_MS]
// Waits for a visible top-level window whose caption starts with TITLE_PREFIX, then records
// every distinct caption of its buttons that start with BUTTON_PREFIX, one per line, until the
// window goes away.
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Search {
  const wchar_t* prefix;
  HWND found;
};

bool StartsWith(const wchar_t* text, const wchar_t* prefix) { return wcsncmp(text, prefix, wcslen(prefix)) == 0; }

BOOL CALLBACK FindTop(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  wchar_t text[512];
  GetWindowTextW(window, text, 512);
  if (IsWindowVisible(window) && StartsWith(text, search->prefix)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct Buttons {
  const wchar_t* prefix;
  std::vector<std::wstring> texts;
};

BOOL CALLBACK CollectButtons(HWND window, LPARAM param) {
  auto* buttons = reinterpret_cast<Buttons*>(param);
  wchar_t cls[64], text[256];
  GetClassNameW(window, cls, 64);
  if (_wcsicmp(cls, L"Button") == 0 && GetWindowTextW(window, text, 256) > 0 && StartsWith(text, buttons->prefix)) {
    buttons->texts.push_back(text);
  }
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  const DWORD timeout = argc > 4 ? wcstoul(argv[4], nullptr, 10) : 60000;
  Search search{argv[1], nullptr};
  const DWORD start = GetTickCount();
  while (!search.found) {
    EnumWindows(FindTop, reinterpret_cast<LPARAM>(&search));
    if (search.found) break;
    if (GetTickCount() - start > timeout) return 1;
    Sleep(20);
  }
  std::wstring seen, last;
  while (IsWindow(search.found) && GetTickCount() - start < timeout) {
    Buttons buttons{argv[2], {}};
    EnumChildWindows(search.found, CollectButtons, reinterpret_cast<LPARAM>(&buttons));
    for (const std::wstring& text : buttons.texts) {
      if (text != last) {
        seen += text + L"\n";
        last = text;
      }
    }
    Sleep(20);
  }
  const int n = WideCharToMultiByte(CP_UTF8, 0, seen.c_str(), static_cast<int>(seen.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, seen.c_str(), static_cast<int>(seen.size()), bytes.data(), n, nullptr, nullptr);
  HANDLE file = CreateFileW(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return 0;
}
