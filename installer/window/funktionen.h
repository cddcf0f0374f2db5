// Process and control utilities of the Windows side: starting a program and waiting for it
// while the window stays responsive, the application's termination state and message steps,
// enabling whole trees of controls, and error codes as hexadecimal text.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "unique_handle.h"

// ---- Application state and message handling (main thread) ----

// True once the application has been asked to end: a WM_QUIT went through HandleMessage or
// ProcessMessages, or the window said so with SetApplicationTerminating.
bool ApplicationTerminating();
// The main window sets this when it closes; tests clear it again.
void SetApplicationTerminating(bool terminating);
// Handles one message of the calling thread's queue; when none is waiting, sleeps until one
// arrives. A WM_QUIT is consumed and marks the application as terminating.
void HandleMessage();
// Handles every message that is waiting, then returns; never sleeps.
void ProcessMessages();

// Reports an error that no caller can take (an error inside a timer tick, for instance). The
// default shows its message in a message box captioned "Fehler"; the main
// window may install its own with SetExceptionReporter (an empty one restores the default).
void ReportException(const std::exception& error);
void SetExceptionReporter(std::function<void(const std::exception&)> reporter);

// ---- Starting programs ----

// The call that creates the process: CreateProcessW with no application name, the given
// command line and creation flags, no security attributes, no inherited handles, the caller's
// environment and current directory. Tests install their own to see the arguments; an empty
// one restores the system's.
using ProcessCreator =
    std::function<BOOL(wchar_t* commandLine, DWORD creationFlags, STARTUPINFOW& startup, PROCESS_INFORMATION& process)>;
BOOL CreateProcessWithSystem(wchar_t* commandLine, DWORD creationFlags, STARTUPINFOW& startup,
                             PROCESS_INFORMATION& process);
void SetProcessCreator(ProcessCreator creator);

// Creation flags of every started program: a new process group at below-normal priority.
inline constexpr DWORD kRunCreationFlags = CREATE_NEW_PROCESS_GROUP | BELOW_NORMAL_PRIORITY_CLASS;  // 0x4200

// Watches one process on a thread of its own. Created suspended; Start lets it run. When the
// process has ended it sets ProcessEnded and posts WM_NULL to WaiterThreadID, so that a waiter
// asleep in HandleMessage wakes up at once. Destruction waits until the thread has ended,
// which is when the process has ended.
class TShellThread {
public:
  // Raises KorvelError of kind "EThread" when the system refuses the thread.
  TShellThread();
  ~TShellThread();
  TShellThread(const TShellThread&) = delete;
  TShellThread& operator=(const TShellThread&) = delete;

  void Start();

  HANDLE ProcessHandle = nullptr;  // not owned; set before Start
  DWORD WaiterThreadID = 0;        // set before Start
  std::atomic<bool> ProcessEnded{false};

protected:
  void Execute();

private:
  static DWORD WINAPI ThreadMain(void* self);
  UniqueHandle thread_;
  bool started_ = false;
};

// Starts command + " " + parameters (the blank is there even for empty parameters) with the
// show-window value, a new process group and below-normal priority, and waits until it ends.
// waitMode 0 handles window messages meanwhile and looks at ApplicationTerminating; any other
// value polls every 10 ms and handles nothing. Returns the exit code, unchanged. A command
// that cannot be started gives its system error as a result code (0x8007xxxx, see
// ResultFromSystemError), never 0. A wait that begins while the application is terminating
// returns 0 once the program has ended.
std::uint32_t RunAndWait(const std::u16string& command, const std::u16string& parameters, std::uint16_t showWindow,
                         int waitMode);

// ---- Controls ----

// Gives control and every window below it the enabled state, children before their parents.
// With a class filter only windows of that class match: the class name compared without regard
// to case, or a class derived from it (one that the system reports as based on it, or that
// shares its window procedure, as a superclassed skinned control does). Windows of other
// classes keep their state but their children are still visited. Nothing happens for no window.
void SetControlsEnabled(HWND control, bool enabled, const wchar_t* classFilter = nullptr);

// ---- Error codes ----

// code as 8 upper-case hexadecimal digits; a code of 0 shows the calling thread's last system
// error as a result code (error 5 gives "80070005"), eight zeros when there is none.
std::u16string ErrorCodeHex(std::uint32_t code);
