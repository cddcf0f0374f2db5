// A stand-in installer for the example packages and the scenario tests.
//   example_setup.exe [/exit N] [/record FILE] [/sleep MS]
// /record appends one line to FILE: the program's full path, its command line, its priority
// class, the show-window value it was started with and whether C:\ZebLog.txt exists yet, so
// tests can see what Korvel started, how and when; without /record the environment variable
// EXAMPLE_SETUP_RECORD names the file. /exit gives the exit code.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  unsigned long exitCode = 0;
  const wchar_t* record = nullptr;
  unsigned long sleep = 0;
  for (int i = 1; argv && i + 1 < argc; ++i) {
    if (_wcsicmp(argv[i], L"/exit") == 0) exitCode = std::wcstoul(argv[++i], nullptr, 0);
    else if (_wcsicmp(argv[i], L"/record") == 0) record = argv[++i];
    else if (_wcsicmp(argv[i], L"/sleep") == 0) sleep = std::wcstoul(argv[++i], nullptr, 0);
  }
  // A stand-in started under another name (as shutdown.exe, say) gets no /record of its own.
  wchar_t fromEnvironment[MAX_PATH];
  if (!record && GetEnvironmentVariableW(L"EXAMPLE_SETUP_RECORD", fromEnvironment, MAX_PATH) > 0) {
    record = fromEnvironment;
  }
  if (record) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);
    const DWORD log = GetFileAttributesW(L"C:\\ZebLog.txt");
    std::wstring line = std::wstring(self) + L"|" + GetCommandLineW() + L"|" +
                        std::to_wstring(GetPriorityClass(GetCurrentProcess())) + L"|show " +
                        std::to_wstring(startup.wShowWindow) + L"|log " +
                        (log != INVALID_FILE_ATTRIBUTES ? L"present" : L"absent") + L"\r\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), n, nullptr, nullptr);
    HANDLE file = CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
      CloseHandle(file);
    }
  }
  if (sleep) Sleep(sleep);
  if (argv) LocalFree(argv);
  return static_cast<int>(exitCode);
}
