#include "funktionen.h"

#include <memory>
#include <vector>

#include "error_code_hex.h"
#include "errors.h"
#include "win32_text.h"

namespace {

bool terminating = false;
std::function<void(const std::exception&)> exceptionReporter;
ProcessCreator processCreator;

bool ClassMatches(HWND window, const wchar_t* filter) {
  if (!filter) return true;
  wchar_t name[256];
  if (GetClassNameW(window, name, 256) && lstrcmpiW(name, filter) == 0) return true;
  // A class built on the filter's (a skinned button on the system's button, say) reports the
  // class it derives from here on Windows, or shares its window procedure.
  if (RealGetWindowClassW(window, name, 256) && lstrcmpiW(name, filter) == 0) return true;
  WNDCLASSEXW base{};
  base.cbSize = sizeof(base);
  const bool known = GetClassInfoExW(nullptr, filter, &base) ||
                     GetClassInfoExW(GetModuleHandleW(nullptr), filter, &base);
  return known && reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC)) == base.lpfnWndProc;
}

}  // namespace

bool ApplicationTerminating() { return terminating; }

void SetApplicationTerminating(bool value) { terminating = value; }

void HandleMessage() {
  MSG message;
  if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      terminating = true;
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  } else {
    WaitMessage();
  }
}

void ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      terminating = true;
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void ReportException(const std::exception& error) {
  if (exceptionReporter) {
    exceptionReporter(error);
    return;
  }
  const KorvelError* korvel = dynamic_cast<const KorvelError*>(&error);
  const std::u16string text = korvel ? korvel->Message() : FromUtf8(error.what());
  MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()), L"Fehler", MB_OK | MB_ICONERROR);
}

void SetExceptionReporter(std::function<void(const std::exception&)> reporter) {
  exceptionReporter = std::move(reporter);
}

BOOL CreateProcessWithSystem(wchar_t* commandLine, DWORD creationFlags, STARTUPINFOW& startup,
                             PROCESS_INFORMATION& process) {
  return CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, creationFlags, nullptr, nullptr, &startup,
                        &process);
}

void SetProcessCreator(ProcessCreator creator) { processCreator = std::move(creator); }

TShellThread::TShellThread() {
  thread_.reset(CreateThread(nullptr, 0, &TShellThread::ThreadMain, this, CREATE_SUSPENDED, nullptr));
  if (!thread_) throw KorvelError(u"EThread", u"Fehler beim Erzeugen des Threads: " + SystemErrorText(GetLastError()));
}

TShellThread::~TShellThread() {
  // A watcher that never started has no process to wait for: with no handle its body ends at once.
  if (!started_) {
    ProcessHandle = nullptr;
    ResumeThread(thread_.get());
  }
  WaitForSingleObject(thread_.get(), INFINITE);
}

void TShellThread::Start() {
  if (started_) return;
  started_ = true;
  ResumeThread(thread_.get());
}

DWORD WINAPI TShellThread::ThreadMain(void* self) {
  static_cast<TShellThread*>(self)->Execute();
  return 0;
}

void TShellThread::Execute() {
  if (ProcessHandle) WaitForSingleObject(ProcessHandle, INFINITE);
  ProcessEnded = true;
  if (WaiterThreadID) PostThreadMessageW(WaiterThreadID, WM_NULL, 0, 0);
}

std::uint32_t RunAndWait(const std::u16string& command, const std::u16string& parameters, std::uint16_t showWindow,
                         int waitMode) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showWindow;

  const std::u16string line = command + u" " + parameters;
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::vector<wchar_t> commandLine(line.begin(), line.end());
  commandLine.push_back(L'\0');

  PROCESS_INFORMATION info{};
  const BOOL created = processCreator ? processCreator(commandLine.data(), kRunCreationFlags, startup, info)
                                      : CreateProcessWithSystem(commandLine.data(), kRunCreationFlags, startup, info);
  if (!created) {
    // A program that never ran has not succeeded: its system error becomes the result.
    const DWORD error = GetLastError();
    return error != 0 ? ResultFromSystemError(error) : static_cast<std::uint32_t>(E_FAIL);
  }
  // Declared in this order, the thread handle is closed before the process handle, and both
  // only after the watcher is gone.
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);

  auto watcher = std::make_unique<TShellThread>();
  watcher->ProcessHandle = process.get();
  watcher->ProcessEnded = false;
  watcher->WaiterThreadID = GetCurrentThreadId();
  watcher->Start();

  if (waitMode == 0) {
    for (;;) {
      if (ApplicationTerminating()) return 0;
      HandleMessage();
      if (ApplicationTerminating() || watcher->ProcessEnded) break;
    }
  } else {
    do {
      Sleep(10);
    } while (!watcher->ProcessEnded);
  }
  watcher.reset();

  DWORD exitCode = 0;
  GetExitCodeProcess(process.get(), &exitCode);
  return exitCode;
}

void SetControlsEnabled(HWND control, bool enabled, const wchar_t* classFilter) {
  if (!control) return;
  for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SetControlsEnabled(child, enabled, classFilter);
  }
  if (ClassMatches(control, classFilter)) EnableWindow(control, enabled ? TRUE : FALSE);
}

std::u16string ErrorCodeHex(std::uint32_t code) { return FormatErrorCodeHex(code, code != 0 ? 0 : GetLastError()); }
