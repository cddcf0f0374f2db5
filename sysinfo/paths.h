// The program's directory, environment expansion and the WOW64 test.
#pragma once

#include <string>

// The directory of the running program file with a trailing backslash ("D:\Setup\", "D:\" for a
// program in a drive's root). Empty before InitAppStartPath has run, and when the system cannot
// name the program file.
const std::u16string& AppStartPath();
// Start-up step: sets AppStartPath from the program file's full path.
void InitAppStartPath();

// Removes every code unit up to and including U+0020 from both ends.
std::u16string TrimText(const std::u16string& text);

// source with every "%name%" of a defined environment variable replaced by its value, then
// trimmed. Undefined variables stay as written. Empty when the system fails or when the result
// would need more than 32767 code units.
std::u16string ExpandEnvironment(const std::u16string& source);

// True when the program is a 32-bit process on 64-bit Windows; false in the 64-bit build and
// whenever the system cannot tell. Asks the system afresh on every call.
bool IsWow64();
