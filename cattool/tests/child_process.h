// Runs a program of the tests and collects what it writes to standard output.
#pragma once

#include <windows.h>

#include <string>

struct ChildResult {
  bool started = false;
  DWORD exitCode = 0;
  std::string output;  // the bytes written to standard output, as they came
};

// Starts `program` with the command line `"program" arguments` (the arguments as written,
// quotes included), captures its standard output through a pipe and waits up to a minute
// for it to end. `started` is false when it could not be started or did not end in time.
ChildResult RunChild(const std::wstring& program, const std::wstring& arguments);

// The directory of the running test program, ending with a backslash.
std::wstring TestProgramDirectory();
