#include <windows.h>

#include <string>

#include "unique_handle.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

UniqueLibrary LoadSystemLibrary(const wchar_t* name) {
  // The flag is understood where AddDllDirectory exists (Windows 8, or 7 with KB2533623).
  if (GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory")) {
    if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return UniqueLibrary(module);
  }
  wchar_t directory[MAX_PATH];
  const UINT n = GetSystemDirectoryW(directory, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return UniqueLibrary();
  std::wstring path(directory, n);
  path += L'\\';
  path += name;
  return UniqueLibrary(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}
