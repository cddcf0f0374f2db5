// A stand-in for an installer in the process tests:
//   exit_with [CODE [MILLISECONDS]]
// sleeps for MILLISECONDS (default 0), then exits with CODE (default 0; decimal, or hexadecimal
// with 0x). When the environment names a file in KORVEL_HELPER_RECORD, it first writes three
// lines there: its command line exactly as it received it, its priority class in hexadecimal,
// and 1 or 0 for whether it was started in a new process group.
#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdlib>
#include <string>

namespace {

// The start of the process parameters block, far enough to reach the console flags. Bit 0 of
// those is set for a process created with CREATE_NEW_PROCESS_GROUP (its Ctrl+C is ignored).
struct ProcessParametersHead {
  ULONG MaximumLength;
  ULONG Length;
  ULONG Flags;
  ULONG DebugFlags;
  HANDLE ConsoleHandle;
  ULONG ConsoleFlags;
};

bool InNewProcessGroup() {
  // Reading the thread block through the gs segment looks like an out-of-bounds read to GCC.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
  const PEB* peb = NtCurrentTeb()->ProcessEnvironmentBlock;
#pragma GCC diagnostic pop
  const auto* parameters = reinterpret_cast<const ProcessParametersHead*>(peb->ProcessParameters);
  return parameters && (parameters->ConsoleFlags & 1) != 0;
}

std::string Utf8(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<std::size_t>(n - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

void Record(const wchar_t* path) {
  char priority[16];
  wsprintfA(priority, "%lx", GetPriorityClass(GetCurrentProcess()));
  const std::string text = Utf8(GetCommandLineW()) + "\n" + priority + "\n" + (InNewProcessGroup() ? "1" : "0") + "\n";
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  wchar_t record[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"KORVEL_HELPER_RECORD", record, MAX_PATH);
  if (n > 0 && n < MAX_PATH) Record(record);
  const unsigned long code = argc > 1 ? wcstoul(argv[1], nullptr, 0) : 0;
  const unsigned long milliseconds = argc > 2 ? wcstoul(argv[2], nullptr, 0) : 0;
  if (milliseconds) Sleep(milliseconds);
  ExitProcess(static_cast<UINT>(code));
}
