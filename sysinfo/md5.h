// MD5 digests of files and streams (RFC 1321), and their text form.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform.h"

using Digest = std::array<std::uint8_t, 16>;

// The digest of the file at path. The file is opened for reading and shared with readers only,
// so the open fails while another process has it open for writing. Raises EFOpenError ("Datei
// <path> kann nicht geöffnet werden. <system text>") when the file cannot be opened, and
// EReadError when a read fails; the file is closed again on every path.
Digest FileMD5(const std::u16string& path);

// The digest of the whole stream from offset 0 to its size, read in blocks of 4096 bytes,
// whatever its position on entry; the position is restored on return, also when a read raises
// (the error then goes on to the caller). Reading stops at the first empty read or as soon as
// the bytes read add up to the size the stream reported at the start.
Digest StreamMD5(ReadStream& stream);

// 32 characters: each byte as two upper-case hexadecimal digits, first byte first.
std::u16string DigestHex(const Digest& digest);
