#include "ferrundel_cli.h"

#include <algorithm>
#include <climits>

#include "simple_trust_check.h"

namespace {

constexpr wchar_t kBanner[] = L"Ferrundel (c) 2026 Korvel-Projekt";

std::wstring LowerCase(std::wstring text) {
  if (!text.empty() && text.size() <= ULONG_MAX) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

}  // namespace

CatalogOperations SystemCatalogOperations() {
  return CatalogOperations{
      [](const std::wstring& path) { return AddCatalogFile(path); },
      [](const std::wstring& path) { return DeleteCatalogFile(path); },
      [](const std::wstring& path) { return IsDigitallySigned(path); },
  };
}

std::vector<std::wstring> RunFerrundel(const std::vector<std::wstring>& arguments, const CatalogOperations& operations) {
  std::vector<std::wstring> lines{kBanner};
  if (arguments.size() < 2) {
    lines.emplace_back(L">> Nicht genug Parameter");
    lines.emplace_back(L">> /add, /del und /verify gefolgt vom absoluten Dateipfad");
  } else {
    const std::wstring command = LowerCase(arguments[0]);
    const std::wstring& path = arguments[1];
    if (command == L"/add") {
      lines.push_back(operations.addCatalog(path) ? L">> Erfolgreich!" : L">> Fehlgeschlagen: " + path);
    } else if (command == L"/del") {
      lines.emplace_back(operations.deleteCatalog(path) ? L">> Erfolgreich!" : L">> Fehlgeschlagen");
    } else if (command == L"/verify") {
      lines.emplace_back(operations.isSigned(path) ? L">> Datei ist Digital Signiert"
                                                   : L">> Datei ist NICHT Digital Signiert!");
    }
  }
  lines.emplace_back();
  return lines;
}

std::string EncodeReport(const std::vector<std::wstring>& lines) {
  // Without best fit: a character the code page lacks becomes its default character instead
  // of a look-alike ("\x0101" would print as "a", a fraction slash as a real one).
  constexpr DWORD kFlags = WC_NO_BEST_FIT_CHARS;
  std::string bytes;
  for (const std::wstring& line : lines) {
    if (!line.empty() && line.size() <= INT_MAX) {
      const int length = static_cast<int>(line.size());
      const int needed = WideCharToMultiByte(CP_ACP, kFlags, line.data(), length, nullptr, 0, nullptr, nullptr);
      if (needed > 0) {
        const size_t start = bytes.size();
        bytes.resize(start + static_cast<size_t>(needed));
        const int written =
            WideCharToMultiByte(CP_ACP, kFlags, line.data(), length, bytes.data() + start, needed, nullptr, nullptr);
        bytes.resize(start + static_cast<size_t>(written > 0 ? written : 0));
      }
    }
    bytes += "\r\n";
  }
  return bytes;
}

void WriteStandardOutput(const std::string& bytes) {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return;
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 64 * 1024));
    DWORD written = 0;
    if (!WriteFile(output, bytes.data() + done, chunk, &written, nullptr) || written == 0) return;
    done += written;
  }
}
