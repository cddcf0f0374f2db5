// The version text of a file, read from its version resource.
#pragma once

#include <string>

// The raw version text of the file at path: of the "ProductVersion" and "FileVersion" texts of
// the resource's first translation, the one that is greater in ordinal order (equal texts give
// the product version). A file named exactly "corpol.dll" whose file version reads
// "02003.00001.02600.02180" gives its product version, because that file version is known to be
// meaningless. Empty for an empty path, a directory, a missing file, or a file without version
// resource.
std::u16string FileVersionText(const std::u16string& path);
