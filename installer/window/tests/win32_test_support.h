// Small helpers of the Windows-side tests: the helper program beside the test, a scratch
// directory, and a message pump that gives up after a while instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

inline std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }
inline const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// The directory of the running test program, with its backslash.
inline std::wstring ProgramDirectory() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory(path, n);
  return directory.substr(0, directory.find_last_of(L'\\') + 1);
}

inline std::wstring HelperPath() { return ProgramDirectory() + L"exit_with.exe"; }

// A fresh directory below the temporary folder, removed with its files at the end.
class ScratchDirectory {
public:
  explicit ScratchDirectory(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"korvel-" + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchDirectory() { Remove(path_); }
  const std::wstring& Path() const { return path_; }

private:
  static void Remove(const std::wstring& directory) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((directory + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Remove(directory + name + L"\\");
        else DeleteFileW((directory + name).c_str());
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(directory.c_str());
  }
  std::wstring path_;
};

inline std::string ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

// Handles this thread's messages until done() holds; false when 20 seconds pass first.
inline bool PumpUntil(const std::function<bool()>& done) {
  const ULONGLONG deadline = GetTickCount64() + 20000;
  while (!done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
}
