#include "child_process.h"

#include <vector>

namespace {

struct Handle {
  HANDLE h = nullptr;
  ~Handle() { Close(); }
  void Close() {
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    h = nullptr;
  }
};

}  // namespace

ChildResult RunChild(const std::wstring& program, const std::wstring& arguments) {
  ChildResult result;
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  Handle readEnd, writeEnd;
  if (!CreatePipe(&readEnd.h, &writeEnd.h, &inherit, 0)) return result;
  SetHandleInformation(readEnd.h, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = writeEnd.h;
  startup.hStdError = writeEnd.h;
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return result;
  }
  Handle processHandle{process.hProcess}, threadHandle{process.hThread};
  writeEnd.Close();  // the child holds the only write end now: reading ends when it exits

  // Polls instead of blocking in ReadFile: a child that hangs, or a crash handler that
  // inherited the pipe, must end in a failed run, not a stuck test.
  const auto drain = [&] {
    DWORD available = 0;
    while (PeekNamedPipe(readEnd.h, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      char buffer[4096];
      DWORD got = 0;
      if (!ReadFile(readEnd.h, buffer, sizeof(buffer), &got, nullptr) || got == 0) return;
      result.output.append(buffer, got);
    }
  };
  const ULONGLONG deadline = GetTickCount64() + 60000;
  for (;;) {
    drain();
    if (WaitForSingleObject(processHandle.h, 20) == WAIT_OBJECT_0) break;
    if (GetTickCount64() > deadline) {
      TerminateProcess(processHandle.h, 1);
      return result;
    }
  }
  drain();
  GetExitCodeProcess(processHandle.h, &result.exitCode);
  result.started = true;
  return result;
}

std::wstring TestProgramDirectory() {
  std::vector<wchar_t> path(32768);
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  std::wstring directory(path.data(), n);
  return directory.substr(0, directory.find_last_of(L'\\') + 1);
}
