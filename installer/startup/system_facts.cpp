#include "system_facts.h"

#include "md5.h"
#include "file_search.h"
#include "file_version.h"
#include "os_info.h"
#include "paths.h"
#include "platform.h"
#include "version.h"

std::u16string ApplicationPath() { return AppStartPath(); }

std::u16string SystemArchName() { return CurrentOS().ArchName(); }

std::u16string SystemVersionHex() { return CurrentOS().Version.ToHex(); }

std::u16string SystemVersionText() { return CurrentOS().Version.ToString(); }

std::u16string VersionHex(const std::u16string& text) {
  TVersion version;
  version.Parse(text);
  return version.ToHex();
}

std::u16string FileVersionOf(const std::u16string& path) { return FileVersionText(path); }

std::u16string FileDigestHex(const std::u16string& path) { return DigestHex(FileMD5(path)); }

std::u16string ExpandEnvironmentText(const std::u16string& text) { return ExpandEnvironment(text); }

bool RunsOnWow64() { return IsWow64(); }

std::uint32_t UserLanguageID() { return static_cast<std::uint32_t>(UserLanguage().LanguageID); }

std::vector<std::u16string> FilesBelow(const std::u16string& start, bool recursive, const std::u16string& mask) {
  std::vector<std::u16string> files;
  FindFiles(start, recursive, files, mask);
  return files;
}
