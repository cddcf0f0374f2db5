// What the loaders ask of the running system, in the loaders' own terms. A thin layer over the
// system-information library, so that the loaders read as plain rules.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The program's directory, ending with a backslash.
std::u16string ApplicationPath();
// The running system's architecture name: "x86", "x64", "IA64" or "Unbekannt".
std::u16string SystemArchName();
// The running system's reference version, as hexadecimal form and as dotted text.
std::u16string SystemVersionHex();
std::u16string SystemVersionText();
// The hexadecimal form of a version text (empty for 0.0.0.0).
std::u16string VersionHex(const std::u16string& text);
// The version text of a file's version resource; empty when there is none.
std::u16string FileVersionOf(const std::u16string& path);
// The MD5 digest of a file as 32 upper-case hexadecimal digits. Raises EFOpenError when the
// file cannot be opened.
std::u16string FileDigestHex(const std::u16string& path);
// Environment references expanded, the result trimmed.
std::u16string ExpandEnvironmentText(const std::u16string& text);
// True for a 32-bit process on 64-bit Windows.
bool RunsOnWow64();
// The user's language identifier.
std::uint32_t UserLanguageID();
// Full paths of the files below start whose names match mask, in the file system's order.
std::vector<std::u16string> FilesBelow(const std::u16string& start, bool recursive, const std::u16string& mask);
