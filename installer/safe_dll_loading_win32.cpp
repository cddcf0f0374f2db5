#include "safe_dll_loading_win32.h"

#include <windows.h>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

void RestrictDllSearch() {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  // Windows 8, or 7 with KB2533623.
  if (auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(
          reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))) {
    set(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  SetDllDirectoryW(L"");
  SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
}
