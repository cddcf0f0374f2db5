// Real files for the Windows-side tests: a fresh folder below the temporary directory.
#pragma once

#include <windows.h>

#include <string>

inline std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

// The directory of the test program, with a trailing backslash.
inline std::wstring ProgramDirectory() {
  wchar_t path[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

// A new empty folder below %TEMP%, with a trailing backslash, named after the test.
inline std::wstring FreshFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"korvel-" + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

inline bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}
