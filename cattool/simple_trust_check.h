// uSimpleTrustCheck: the tool's catalog and signature operations on the Windows trust
// services. Nothing here prints or throws; every failure of the system is a false result.
//
// Each operation takes the trust library's entry points, by default the process-wide
// binding made at start-up. An operation whose entry points are not all bound returns false
// without calling any of them. Each acquires its own catalog administrator context and
// releases it, and every catalog context and file handle it obtained, before it returns.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "trust_library.h"

// Adds the catalog file `fileName` (used as given) to the system catalog database, under
// its file name part. True when the database accepted it; false for a missing or invalid
// file, a refused catalog or an unbound entry point.
bool AddCatalogFile(const std::wstring& fileName, const TrustEntryPoints& trust = BoundTrustEntryPoints());

// Removes from the database the catalog named like the file name part of `fileName`; any
// directory in front is ignored. True when the database reports success.
bool DeleteCatalogFile(const std::wstring& fileName, const TrustEntryPoints& trust = BoundTrustEntryPoints());

// True when the file's signature is trusted: through the first catalog of the database that
// lists the file's hash when there is one (and then through that catalog alone), otherwise
// through the signature embedded in the file. False for a path that names no file (without
// any call into the trust library), a file that cannot be opened, or any trust error. When
// the hash cannot be computed, the file is judged by its embedded signature.
bool IsDigitallySigned(const std::wstring& fileName, const TrustEntryPoints& trust = BoundTrustEntryPoints());

// The file name part of `path`: the text after its last backslash or colon, the whole text
// when it has neither, empty when it ends with one.
std::wstring CatalogNameOf(std::wstring_view path);

// The hash as the catalog database tags its members: two uppercase hexadecimal digits per
// byte, in byte order, without separators. Empty for an empty hash.
std::wstring MemberTagOf(const BYTE* hash, size_t size);
