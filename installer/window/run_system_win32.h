// The installation run's system on Windows: RunAndWait, the application's termination state
// and message steps, and the log file writer.
#pragma once

#include <functional>
#include <string>

#include "install_run.h"

// Ends the application the way closing its main window does: a WM_QUIT for the main thread's
// message loop, which marks it as terminating when handled.
void TerminateApplication();

class Win32RunSystem : public RunSystem {
public:
  // expand turns "%systemdrive%\ZebLog.txt" into the log file's path (the environment
  // expansion of the system utilities).
  explicit Win32RunSystem(std::function<std::u16string(const std::u16string&)> expand) : expand_(std::move(expand)) {}

  std::uint32_t RunAndWait(const std::u16string& command, const std::u16string& parameters, std::uint16_t showWindow,
                           int waitMode) override;
  bool Terminating() override;
  std::u16string ExpandEnvironment(const std::u16string& path) override { return expand_(path); }
  bool SaveTextFile(const std::u16string& fileName, const std::u16string& text, int alternatives,
                    std::uint8_t encoding) override;
  void ProcessMessages() override;
  void Sleep(std::uint32_t milliseconds) override;
  void Terminate() override { TerminateApplication(); }

private:
  std::function<std::u16string(const std::u16string&)> expand_;
};
