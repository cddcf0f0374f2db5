// The program's first act: DLLs loaded by name come from the system directory only, never from
// the program's folder (where a download folder may hold a planted version.dll) or the current
// directory.
#pragma once

// Restricts the default DLL search to the system directory where the system knows how
// (SetDefaultDllDirectories, looked up at run time), removes the current directory from the
// legacy search order and switches on the safe search mode. Silent where a call is missing.
void RestrictDllSearch();
