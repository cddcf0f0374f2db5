// Splitting a command line into arguments, the way Windows programs traditionally take them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits `commandLine` into its arguments, the program name included as the first one.
// Any code unit up to U+0020 separates arguments; a double-quoted stretch may hold such
// code units and loses its quotes; a quote left open runs to the end of the text; an empty
// pair of quotes standing where an argument would begin is skipped like white space.
// Never fails: an empty or blank text yields no arguments.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);
