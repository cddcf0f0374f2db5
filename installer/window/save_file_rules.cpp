#include "save_file_rules.h"

#include "errors.h"
#include "platform.h"

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

std::size_t LastComponentStart(const std::u16string& name) {
  const std::size_t cut = name.find_last_of(u"\\/:");
  return cut == std::u16string::npos ? 0 : cut + 1;
}

std::u16string WithBackslash(std::u16string directory) {
  if (!directory.empty() && !IsSeparator(directory.back())) directory += u'\\';
  return directory;
}

}  // namespace

std::u16string LogDirectoryOf(const std::u16string& fileName, const std::u16string& currentDirectory) {
  const std::u16string directory = fileName.substr(0, LastComponentStart(fileName));
  if (directory.empty()) return WithBackslash(currentDirectory);
  const bool hasDrive = directory.size() >= 2 && directory[1] == u':' && IsDriveLetter(directory[0]);
  if (hasDrive || IsSeparator(directory[0])) return directory;
  // A relative folder would otherwise have its first letter taken for a drive.
  return WithBackslash(currentDirectory) + directory;
}

std::u16string DriveRootOf(const std::u16string& directory) {
  if (directory.empty() || IsSeparator(directory[0])) return {};
  return std::u16string(1, directory[0]) + u":\\";
}

bool IsWritableDriveType(std::uint32_t driveType) {
  return driveType == 2 || driveType == 3 || driveType == 4 || driveType == 6;
}

std::u16string CandidateFileName(const std::u16string& fileName, int number) {
  if (number < 0) return fileName;
  const std::size_t dot = fileName.rfind(u'.');
  const bool hasExtension = dot != std::u16string::npos && dot >= LastComponentStart(fileName);
  const std::u16string base = hasExtension ? fileName.substr(0, dot) : fileName;
  const std::u16string ext = hasExtension ? fileName.substr(dot) : std::u16string();
  return base + u"(" + FromUtf8(std::to_string(number)) + u")" + ext;
}

std::optional<EncodedText> EncodeLogText(const std::string& ansiText, std::uint8_t encoding, Platform& platform) {
  switch (encoding) {
    case 0:
      return EncodedText{{}, ansiText};
    case 1:
      return EncodedText{"\xEF\xBB\xBF", ToUtf8(platform.AnsiToUnicode(ansiText))};
    case 2: {
      const std::u16string wide = platform.AnsiToUnicode(ansiText);
      std::string bytes;
      bytes.reserve(wide.size() * 2);
      for (const char16_t unit : wide) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
      }
      return EncodedText{"\xFF\xFE", bytes};
    }
    default:
      return std::nullopt;
  }
}
