// Reads one package description ("package.xml") and adds its rows to the selection lists.
#pragma once

#include <string>

class SelectionLists;

// Loads the package description at fileName (a full path): rewrites its placeholders, evaluates
// the package's checks and each command's architecture, file and checks, and adds a detail row
// per listed command and a main row per new package name to lists (each row's check state is
// set after it is added, which runs the lists' rules). A missing, unreadable or empty file, a
// failing package check or a package without "install" adds nothing.
void LoadPackage(const std::u16string& fileName, SelectionLists& lists);

// text with every occurrence of pattern, found without regard to case (the system's lower-case
// mapping), replaced by replacement, left to right; the replacement itself is not searched again.
// An empty pattern changes nothing.
std::u16string ReplaceIgnoringCase(const std::u16string& text, const std::u16string& pattern,
                                   const std::u16string& replacement);
