// The rules of the log file writer that do not touch the disk: which directory a name lies
// in, which drives are written to, which names are tried, and the bytes of each encoding.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class Platform;

// The directory of fileName with its trailing backslash ("C:\" for a file in a drive's root).
// A name without a directory part lies in currentDirectory; a relative directory part is taken
// below currentDirectory as well. currentDirectory may lack its trailing backslash.
std::u16string LogDirectoryOf(const std::u16string& fileName, const std::u16string& currentDirectory);

// The drive root whose type decides whether directory may be written: its first letter, ":"
// and "\". Empty for directories that start with a backslash (UNC and rooted paths), which
// are not checked.
std::u16string DriveRootOf(const std::u16string& directory);

// True for the drive types that are written to: removable (2), fixed (3), network (4) and RAM
// disk (6). Unknown (0), no root directory (1), CD (5) and anything above 6 are refused.
bool IsWritableDriveType(std::uint32_t driveType);

// The names the writer tries, in order: fileName itself (number -1), then base "(0)" ext,
// base "(1)" ext and so on, where ext is the extension of the last component with its dot
// (empty when it has none) and base the name without it. A writer allowed n alternatives tries
// the numbers -1 to n-1: none at all for a negative n.
std::u16string CandidateFileName(const std::u16string& fileName, int number);

struct EncodedText {
  std::string ByteOrderMark;
  std::string Text;
};

// The bytes of ansiText in an encoding: 0 the ANSI bytes as they are; 1 UTF-8 behind EF BB BF;
// 2 UTF-16 little-endian behind FF FE. UTF-8 and UTF-16 are decoded from the ANSI bytes with
// the platform's code page. Nothing for any other encoding.
std::optional<EncodedText> EncodeLogText(const std::string& ansiText, std::uint8_t encoding, Platform& platform);
