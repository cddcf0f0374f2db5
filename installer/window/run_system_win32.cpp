#include "run_system_win32.h"

#include <windows.h>

#include "funktionen.h"
#include "save_file.h"

void TerminateApplication() { PostQuitMessage(0); }

std::uint32_t Win32RunSystem::RunAndWait(const std::u16string& command, const std::u16string& parameters,
                                         std::uint16_t showWindow, int waitMode) {
  return ::RunAndWait(command, parameters, showWindow, waitMode);
}

bool Win32RunSystem::Terminating() { return ApplicationTerminating(); }

bool Win32RunSystem::SaveTextFile(const std::u16string& fileName, const std::u16string& text, int alternatives,
                                  std::uint8_t encoding) {
  return ::SaveTextFile(fileName, text, alternatives, encoding);
}

void Win32RunSystem::ProcessMessages() { ::ProcessMessages(); }

void Win32RunSystem::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }
