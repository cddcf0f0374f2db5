// The file search that finds package descriptions and translation files below the program's
// directory.
#pragma once

#include <string>
#include <vector>

// Appends to results the full path (directory, the subdirectories walked through, the name as
// the file system reports it) of every file in directory whose name matches mask without regard
// to case, and, when recursive, of every such file in the directories below it. Entries come in
// the order the file system lists them, each subdirectory's files at the place where the
// subdirectory is listed. Directories are never reported or matched. Hidden and system entries
// count like any other. Directories that do not exist or cannot be read contribute nothing.
// Links to directories (junctions, symbolic links) are followed, but every directory is searched
// at most once, so a link back into the tree cannot make the search go round forever. An empty
// directory does nothing; results is never cleared or sorted.
void FindFiles(const std::u16string& directory, bool recursive, std::vector<std::u16string>& results,
               const std::u16string& mask);

// The step of FindFiles: searches directory (ending with a backslash) for names matching
// lowerMask, a mask already in lower case. Walks the tree without recursion, however deep it is.
void SearchDirectory(const std::u16string& directory, bool recursive, std::vector<std::u16string>& results,
                     const std::u16string& lowerMask);

// True when the whole name matches the whole mask: "*" matches any run of characters, the empty
// one too, "?" exactly one character, every other character only itself. With ignoreCase both
// are first put in lower case with the system's locale-aware mapping.
bool WildcardMatch(const std::u16string& name, const std::u16string& mask, bool ignoreCase);
