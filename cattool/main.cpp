// Ferrundel: adds a security catalog to the Windows catalog database, removes one from it,
// or tells whether a file is digitally signed.
//   Ferrundel /add <catalog file> | /del <catalog file> | /verify <file>
#include <windows.h>

#include "command_line.h"
#include "ferrundel_cli.h"
#include "trust_library.h"

int wmain() {
  // Before anything can load a DLL: nothing from the program's folder or the current one.
  RestrictDllSearchToSystemDirectory();
  BindTrustLibrary();

  // The C runtime's own splitting differs on empty quote pairs, so the raw line is split here.
  std::vector<std::wstring> arguments = SplitCommandLine(GetCommandLineW());
  if (!arguments.empty()) arguments.erase(arguments.begin());
  WriteStandardOutput(EncodeReport(RunFerrundel(arguments, SystemCatalogOperations())));

  ReleaseTrustLibrary();
  return 0;
}
