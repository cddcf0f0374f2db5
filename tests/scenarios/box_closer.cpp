// Test aid: waits for a top-level window with the given caption, records its caption and the
// text of its static controls (a message box's text) in a file, then presses its default button.
//   box_closer.exe CAPTION OUTFILE [TIMEOUT_MS] [COUNT]
// COUNT boxes are closed in turn (default 1); each is appended to OUTFILE as "caption|text".
#include <windows.h>

#include <string>

namespace {

struct Search {
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK FindTop(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  wchar_t text[512];
  GetWindowTextW(window, text, 512);
  wchar_t cls[64];
  GetClassNameW(window, cls, 64);
  if (IsWindowVisible(window) && wcscmp(text, search->caption) == 0 && wcscmp(cls, L"#32770") == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectStatic(HWND window, LPARAM param) {
  auto* text = reinterpret_cast<std::wstring*>(param);
  wchar_t cls[64];
  GetClassNameW(window, cls, 64);
  if (_wcsicmp(cls, L"Static") == 0) {
    wchar_t buffer[2048];
    if (GetWindowTextW(window, buffer, 2048) > 0) *text += buffer;
  }
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const DWORD timeout = argc > 3 ? wcstoul(argv[3], nullptr, 10) : 60000;
  const int count = argc > 4 ? _wtoi(argv[4]) : 1;
  for (int i = 0; i < count; ++i) {
    Search search{argv[1], nullptr};
    const DWORD start = GetTickCount();
    while (!search.found) {
      EnumWindows(FindTop, reinterpret_cast<LPARAM>(&search));
      if (search.found) break;
      if (GetTickCount() - start > timeout) return 1;
      Sleep(100);
    }
    std::wstring text;
    EnumChildWindows(search.found, CollectStatic, reinterpret_cast<LPARAM>(&text));
    std::wstring line = std::wstring(argv[1]) + L"|" + text + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, bytes.data(), n, nullptr, nullptr);
    bytes.pop_back();
    HANDLE file = CreateFileW(argv[2], FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written;
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
      CloseHandle(file);
    }
    Sleep(200);
    SendMessageW(search.found, WM_COMMAND, IDOK, 0);
    Sleep(300);
  }
  return 0;
}
