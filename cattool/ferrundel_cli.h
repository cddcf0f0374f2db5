// The command line and console report of Ferrundel.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The three operations the commands run, each given the path argument unchanged.
struct CatalogOperations {
  std::function<bool(const std::wstring&)> addCatalog;
  std::function<bool(const std::wstring&)> deleteCatalog;
  std::function<bool(const std::wstring&)> isSigned;
};

// The operations on the process-wide trust library binding.
CatalogOperations SystemCatalogOperations();

// Runs the command given by `arguments` (those after the program name; only the first two
// count) and returns the report, one text per line without line ends: the banner, then the
// usage lines when the command or the path is missing, else the result line of a known
// command (nothing for an unknown one), and last an empty line. The command is matched
// after locale-aware lowercasing. An operation runs only for its own command.
std::vector<std::wstring> RunFerrundel(const std::vector<std::wstring>& arguments, const CatalogOperations& operations);

// The report as the console gets it: each line in the ANSI code page, characters it lacks
// replaced by its default character (never by a look-alike), and ended with CR LF.
std::string EncodeReport(const std::vector<std::wstring>& lines);

// Writes `bytes` to the standard output handle as they are. Does nothing when the process
// has no standard output or the writing fails.
void WriteStandardOutput(const std::string& bytes);
