// A stand-in "version.dll" planted beside a program: when any process loads it, it leaves the
// file "planted-version-loaded" in its own folder.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(instance, path, MAX_PATH);
    while (n > 0 && path[n - 1] != L'\\') --n;
    lstrcpyW(path + n, L"planted-version-loaded");
    HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  }
  return TRUE;
}
