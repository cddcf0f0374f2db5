#include <windows.h>

#include <algorithm>
#include <vector>

#include "errors.h"
#include "win32_text.h"
#include "platform.h"
#include "save_file.h"
#include "save_file_rules.h"
#include "unique_handle.h"

namespace {


std::u16string CurrentDirectory() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n == 0) return {};
    if (n < buffer.size()) return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), n);
    buffer.resize(n);
  }
}

// Every missing directory along path, outermost first. Failures show up when the file is created.
void CreateDirectories(const std::u16string& directory) {
  for (std::size_t i = 1; i < directory.size(); ++i) {
    if (directory[i] == u'\\' || directory[i] == u'/') CreateDirectoryW(W(directory.substr(0, i)), nullptr);
  }
  CreateDirectoryW(W(directory), nullptr);
}

// Writes all of bytes; returns how many were written.
std::size_t WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 0x10000000));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) break;
    done += written;
  }
  return done;
}

}  // namespace

bool SaveTextFile(const std::u16string& fileName, const std::u16string& text, int alternatives, std::uint8_t encoding) {
  const std::uint64_t now = GetUTCFileTime();
  return WriteTextFile(fileName, Platform::Current().UnicodeToAnsi(text), now, alternatives, encoding);
}

bool WriteTextFile(const std::u16string& fileName, const std::string& ansiText, std::uint64_t fileTime,
                   int alternatives, std::uint8_t encoding) {
  if (fileName.empty() || ansiText.empty()) return false;

  const std::u16string directory = LogDirectoryOf(fileName, CurrentDirectory());
  const std::u16string root = DriveRootOf(directory);
  if (!root.empty() && !IsWritableDriveType(GetDriveTypeW(W(root)))) return false;
  CreateDirectories(directory);

  std::u16string chosen;
  for (int number = -1; number < alternatives; ++number) {
    const std::u16string candidate = CandidateFileName(fileName, number);
    if (!IsFileInUse(candidate)) {
      chosen = candidate;
      break;
    }
  }
  if (chosen.empty()) return false;

  UniqueHandle file(CreateFileW(W(chosen), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    throw EFCreateError(u"Datei " + chosen + u" kann nicht erstellt werden. " + SystemErrorText(GetLastError()));
  }

  bool written = false;
  if (const auto encoded = EncodeLogText(ansiText, encoding, Platform::Current())) {
    WriteAll(file.get(), encoded->ByteOrderMark);
    written = WriteAll(file.get(), encoded->Text) > 0;
  }

  FILETIME stamp;
  stamp.dwLowDateTime = static_cast<DWORD>(fileTime & 0xFFFFFFFFu);
  stamp.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
  SetFileTime(file.get(), &stamp, &stamp, &stamp);
  return written;
}

bool IsFileInUse(const std::u16string& fileName) {
  const DWORD attributes = GetFileAttributesW(W(fileName));
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  UniqueHandle file(CreateFileW(W(fileName), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  return !file;
}

std::uint64_t GetUTCFileTime() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}
