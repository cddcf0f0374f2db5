// Process-wide options of the installer: two command-line switches, the restart flag of the
// settings file and the countdown's length.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TRunOptions {
  bool DebugMode = false;         // "/debug": debug boxes at start-up and for checks
  bool SilentMode = false;        // "/silent": no box when there is nothing to install
  bool RebootWhenFinish = false;  // settings attribute "RebootWhenFinish" exactly "1"
  std::int16_t CountdownSeconds = 30;
};

// The options of this process. Plain data with constant initial values; tests reset it with
// RunOptions = TRunOptions{}.
extern TRunOptions RunOptions;

// Sets DebugMode and SilentMode from the arguments (program at position 0 included): an
// argument counts when, with ASCII letters lowered and code units up to U+0020 trimmed from
// both ends, it is "/debug" or "/silent". Other arguments are ignored; nothing is ever cleared.
void ReadSwitches(const std::vector<std::u16string>& arguments, TRunOptions& options);

// The countdown that the "value" text of a "timer" element gives: the low 16 bits of its number
// as a signed value (70000 gives 4464). A text that is no number keeps previous.
std::int16_t CountdownFromText(const std::u16string& text, std::int16_t previous);

// The decimal text of a number, as the timer's "value" default.
std::u16string DecimalText(std::int64_t value);
