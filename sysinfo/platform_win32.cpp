// The real platform: each operation of the seam as the Win32 call that performs it.
#include <windows.h>

#include <algorithm>
#include <shellapi.h>

#include "errors.h"
#include "platform.h"
#include "unique_handle.h"
#include "win32_text.h"

namespace {

class FileReadStream : public ReadStream {
public:
  FileReadStream(UniqueHandle handle, std::u16string path) : handle_(std::move(handle)), path_(std::move(path)) {}
  std::uint64_t Size() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_.get(), &size)) Fail();
    return static_cast<std::uint64_t>(size.QuadPart);
  }
  std::uint64_t Position() override {
    LARGE_INTEGER zero{}, position{};
    if (!SetFilePointerEx(handle_.get(), zero, &position, FILE_CURRENT)) Fail();
    return static_cast<std::uint64_t>(position.QuadPart);
  }
  void Seek(std::uint64_t offset) override {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(handle_.get(), to, nullptr, FILE_BEGIN)) Fail();
  }
  std::size_t Read(void* buffer, std::size_t count) override {
    DWORD read = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 0x40000000));
    if (!ReadFile(handle_.get(), buffer, chunk, &read, nullptr)) Fail();
    return read;
  }

private:
  [[noreturn]] void Fail() {
    throw EReadError(u"Lesefehler in " + path_ + u". " + SystemErrorText(GetLastError()));
  }
  UniqueHandle handle_;
  std::u16string path_;
};

class RegistryKey {
public:
  RegistryKey(const std::u16string& subkey, REGSAM access) {
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(subkey), 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY get() const { return key_; }

private:
  HKEY key_ = nullptr;
};

class Win32Platform : public Platform {
public:
  bool FileExists(const std::u16string& path) override {
    const DWORD attributes = GetFileAttributesW(W(path));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool DirectoryExists(const std::u16string& path) override {
    const DWORD attributes = GetFileAttributesW(W(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::unique_ptr<ReadStream> OpenRead(const std::u16string& path) override {
    UniqueHandle handle(CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
      throw EFOpenError(u"Datei " + path + u" kann nicht geöffnet werden. " + SystemErrorText(GetLastError()));
    }
    return std::make_unique<FileReadStream>(std::move(handle), path);
  }

  std::optional<std::vector<DirectoryEntry>> ListDirectory(const std::u16string& directory) override {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW(W(directory + u"*"), &data));
    if (!find) return std::nullopt;
    std::vector<DirectoryEntry> entries;
    do {
      entries.push_back({U(data.cFileName), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                         (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileW(find.get(), &data));
    return entries;
  }

  std::u16string DirectoryIdentity(const std::u16string& path) override {
    UniqueHandle handle(CreateFileW(W(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return {};
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle.get(), &info)) return {};
    const auto number = [](std::uint64_t n) { return FromUtf8(std::to_string(n)); };
    return number(info.dwVolumeSerialNumber) + u":" +
           number((static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
  }

  VersionStrings ReadVersionStrings(const std::u16string& path) override;

  std::u16string ExpandVariables(const std::u16string& source) override {
    std::vector<wchar_t> buffer(0x8000, 0);
    const DWORD n = ExpandEnvironmentStringsW(W(source), buffer.data(), static_cast<DWORD>(buffer.size()));
    // n counts the terminating NUL; a result that did not fit reports a larger n and leaves
    // the buffer's content undefined, so it yields nothing. The system expands into at most
    // 32767 units, NUL included, whatever the buffer: a text of 32767 units comes back cut
    // short while n still claims it fit, so n must stay below the buffer's size.
    if (n == 0 || n >= buffer.size() || buffer[n - 1] != L'\0') return {};
    return U(buffer.data(), n - 1);
  }

  std::u16string ModuleFileName() override {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
      const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
      if (n == 0) return {};
      if (n < buffer.size()) return U(buffer.data(), n);
      buffer.resize(buffer.size() * 2);
    }
  }

  std::vector<std::u16string> CommandLineArguments() override {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::u16string> result;
    if (!arguments) return result;
    for (int i = 0; i < count; ++i) result.push_back(U(arguments[i]));
    LocalFree(arguments);
    return result;
  }

  bool IsWow64() override;
  bool HoldKernelLibrary() override;
  void ReleaseKernelLibrary() override { kernel_.reset(); }
  bool DisableFileSystemRedirection() override;

  SystemVersion QuerySystemVersion() override {
    SystemVersion result;
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(info);  // 284, the extended record
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
      result = {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.wServicePackMajor,
                info.wProductType};
    } else {
      OSVERSIONINFOW basic{};
      basic.dwOSVersionInfoSize = sizeof(basic);
      if (GetVersionExW(&basic)) result = {basic.dwMajorVersion, basic.dwMinorVersion, basic.dwBuildNumber, 0, 0};
    }
#pragma GCC diagnostic pop
    return result;
  }

  std::uint8_t NativeProcessorArchitecture() override;

  std::u16string LocaleDefaultLanguage(std::uint32_t locale) override {
    const int n = GetLocaleInfoW(locale, LOCALE_IDEFAULTLANGUAGE, nullptr, 0);
    if (n <= 0) return {};
    std::vector<wchar_t> buffer(n);
    const int got = GetLocaleInfoW(locale, LOCALE_IDEFAULTLANGUAGE, buffer.data(), n);
    if (got <= 0) return {};
    return U(buffer.data(), got - 1);
  }

  std::u16string LowerCase(const std::u16string& text) override {
    std::u16string out(text);
    if (!out.empty()) CharLowerBuffW(reinterpret_cast<wchar_t*>(out.data()), static_cast<DWORD>(out.size()));
    return out;
  }

  int CompareStrings(const std::u16string& a, const std::u16string& b) override { return lstrcmpW(W(a), W(b)); }

  std::u16string AnsiToUnicode(const std::string& bytes) override {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return {};
    std::u16string out(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                        reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
  }

  std::string UnicodeToAnsi(const std::u16string& text) override {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, W(text), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, W(text), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
  }

  void DeleteMachineKeyTree(const std::u16string& subkey) override {
    RegistryKey key(subkey, KEY_ALL_ACCESS);
    if (!key.get()) return;
    RegDeleteTreeW(key.get(), nullptr);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, W(subkey));
  }

  std::optional<std::int32_t> ReadMachineInteger(const std::u16string& subkey, const std::u16string& name) override {
    RegistryKey key(subkey, KEY_ALL_ACCESS);
    if (!key.get()) return std::nullopt;
    DWORD type = 0, value = 0, size = sizeof(value);
    if (RegQueryValueExW(key.get(), W(name), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value)) {
      return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
  }

  bool WriteMachineInteger(const std::u16string& subkey, const std::u16string& name, std::int32_t value) override {
    RegistryKey key(subkey, KEY_ALL_ACCESS);
    if (!key.get()) return false;
    const DWORD data = static_cast<DWORD>(value);
    return RegSetValueExW(key.get(), W(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data)) ==
           ERROR_SUCCESS;
  }

  int ShowMessage(WindowRef owner, const std::u16string& text, const std::u16string& caption,
                  std::uint32_t style) override {
    return MessageBoxW(reinterpret_cast<HWND>(owner), W(text), W(caption), style);
  }

  std::uint32_t TickCount() override { return GetTickCount(); }

  std::uint64_t UtcFileTime() override {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  }

private:
  UniqueLibrary kernel_;                   // held from start-up to exit
  void* redirectionCell_ = nullptr;        // never handed back: redirection stays off
};

}  // namespace

Platform* DefaultPlatform() {
  static Win32Platform platform;
  return &platform;
}

bool Win32Platform::IsWow64() {
  UniqueLibrary kernel(LoadSystemLibrary(L"kernel32.dll"));
  if (!kernel) return false;
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  const auto isWow64Process =
      reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(GetProcAddress(kernel.get(), "IsWow64Process")));
  if (!isWow64Process) return false;
  BOOL flag = FALSE;
  return isWow64Process(GetCurrentProcess(), &flag) && flag;
}

bool Win32Platform::HoldKernelLibrary() {
  if (!kernel_) kernel_ = LoadSystemLibrary(L"kernel32.dll");
  return static_cast<bool>(kernel_);
}

bool Win32Platform::DisableFileSystemRedirection() {
  // Only the module that is already loaded: this step must not load anything itself.
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (!kernel) return false;
  using DisableFn = BOOL(WINAPI*)(PVOID*);
  const auto disable = reinterpret_cast<DisableFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")));
  if (!disable) return false;
  return disable(&redirectionCell_) != FALSE;
}

std::uint8_t Win32Platform::NativeProcessorArchitecture() {
  SYSTEM_INFO info{};
  using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
  // GetNativeSystemInfo is missing before Windows XP; look it up in the held kernel library.
  const HMODULE kernel = kernel_ ? kernel_.get() : GetModuleHandleW(L"kernel32.dll");
  const auto getNative = reinterpret_cast<GetNativeSystemInfoFn>(
      reinterpret_cast<void*>(kernel ? GetProcAddress(kernel, "GetNativeSystemInfo") : nullptr));
  if (getNative) getNative(&info);
  else GetSystemInfo(&info);
  return static_cast<std::uint8_t>(info.wProcessorArchitecture & 0xFF);
}

VersionStrings Win32Platform::ReadVersionStrings(const std::u16string& path) {
  VersionStrings result;
  // version.dll is bound at run time from the system directory: an elevated installer must
  // never pick up a DLL of that name planted in its own folder.
  static UniqueLibrary version = LoadSystemLibrary(L"version.dll");
  if (!version) return result;
  using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  const auto symbol = [](const char* name) { return reinterpret_cast<void*>(GetProcAddress(version.get(), name)); };
  const auto getSize = reinterpret_cast<SizeFn>(symbol("GetFileVersionInfoSizeW"));
  const auto getInfo = reinterpret_cast<InfoFn>(symbol("GetFileVersionInfoW"));
  const auto query = reinterpret_cast<QueryFn>(symbol("VerQueryValueW"));
  if (!getSize || !getInfo || !query) return result;

  DWORD ignored = 0;
  const DWORD size = getSize(W(path), &ignored);
  if (size == 0) return result;
  std::vector<unsigned char> block(size);
  if (!getInfo(W(path), 0, size, block.data())) return result;
  DWORD* translation = nullptr;
  UINT length = 0;
  if (!query(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
      !translation || length < sizeof(DWORD)) {
    return result;
  }
  const auto read = [&](const wchar_t* key) -> std::u16string {
    wchar_t subBlock[64];
    swprintf(subBlock, 64, L"\\StringFileInfo\\%04x%04x\\%ls", LOWORD(*translation), HIWORD(*translation), key);
    wchar_t* value = nullptr;
    UINT chars = 0;
    if (!query(block.data(), subBlock, reinterpret_cast<void**>(&value), &chars) || !value) return {};
    // The value is NUL-terminated within the block; chars bounds the search.
    std::size_t n = 0;
    while (n < chars && value[n] != L'\0') ++n;
    return U(value, n);
  };
  result.Product = read(L"ProductVersion");
  result.File = read(L"FileVersion");
  return result;
}

std::u16string SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text = n ? U(buffer, n) : u"Systemfehler " + FromUtf8(std::to_string(code));
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() <= u' ' || text.back() == u'.')) text.pop_back();
  return text;
}
