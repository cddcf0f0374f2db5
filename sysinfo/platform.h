// The one seam between Korvel's portable core and the operating system.
//
// Nothing in xml/, sysinfo/ (apart from its *_win32.cpp files), installer/startup/ or the list
// model of installer/window/ includes <windows.h>. Everything the core asks of the system is
// declared here, grouped by what it acts on, each with what it yields when the system says no.
// Two implementations exist: Win32Platform (platform_win32.cpp), the real one, and FakePlatform
// (fake_platform.h), an in-memory machine for the native tests.
//
// All text is UTF-16. Paths are Windows paths with backslashes; the core never normalises them
// beyond what the system itself does.
//
// The core reaches the seam through Platform::Current(), the process-wide instance. Programs
// install the Win32 one at their very start; tests install a FakePlatform for their lifetime
// with ScopedPlatform. Nothing else about the machine is global.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A file opened for reading. Reads and seeks raise EReadError (errors.h) when the system fails.
class ReadStream {
public:
  virtual ~ReadStream() = default;
  virtual std::uint64_t Size() = 0;
  virtual std::uint64_t Position() = 0;
  virtual void Seek(std::uint64_t offset) = 0;
  // Reads up to count bytes; returns how many were read, 0 at the end.
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
};

struct DirectoryEntry {
  std::u16string Name;       // as the file system reports it
  bool IsDirectory = false;  // also true for junctions and directory symbolic links
  bool IsLink = false;       // a reparse point (junction or symbolic link)
};

struct SystemVersion {
  std::uint32_t Major = 0, Minor = 0, Build = 0;
  std::uint32_t ServicePackMajor = 0;  // 0 when the extended query fails
  std::uint32_t ProductType = 0;       // 1 workstation, 2 domain controller, 3 server; 0 on failure
};

struct VersionStrings {
  std::u16string Product;  // "ProductVersion" of the first translation, empty when missing
  std::u16string File;     // "FileVersion" of the first translation, empty when missing
};

// An opaque window handle (HWND on Windows); 0 is no window.
using WindowRef = std::uintptr_t;

class Platform {
public:
  virtual ~Platform() = default;

  static Platform& Current();
  static void Install(Platform* platform);  // nullptr restores the program's own

  // ---- Files and directories ----
  // True when a file (not a directory) exists at path; false on any failure.
  virtual bool FileExists(const std::u16string& path) = 0;
  // True when a directory exists at path.
  virtual bool DirectoryExists(const std::u16string& path) = 0;
  // Opens for reading, sharing with readers but not writers. Raises EFOpenError with the
  // message "Datei <path> kann nicht geöffnet werden. <system text>" when that fails.
  virtual std::unique_ptr<ReadStream> OpenRead(const std::u16string& path) = 0;
  // Entries of directory + "*" in the order the file system lists them, "." and ".." included
  // when the system reports them; every attribute admitted. Nothing when it cannot start.
  virtual std::optional<std::vector<DirectoryEntry>> ListDirectory(const std::u16string& directory) = 0;
  // A text that is the same for two paths exactly when they name the same directory (volume
  // and file index, after following links); empty when the system cannot tell.
  virtual std::u16string DirectoryIdentity(const std::u16string& path) = 0;
  // The version strings of a file's version resource; both empty when there are none.
  virtual VersionStrings ReadVersionStrings(const std::u16string& path) = 0;

  // ---- Environment and process ----
  // ExpandEnvironmentStringsW into a 32768-unit buffer, without the NUL, untrimmed. Undefined
  // variables stay as written. Empty when the call fails or the result would not fit (the
  // system expands into at most 32767 units with the NUL: texts of 32767 units or more).
  virtual std::u16string ExpandVariables(const std::u16string& source) = 0;
  // Full path of the running program file.
  virtual std::u16string ModuleFileName() = 0;
  // The process command line split into arguments, the program at position 0.
  virtual std::vector<std::u16string> CommandLineArguments() = 0;
  // True for a 32-bit process on 64-bit Windows; false whenever IsWow64Process is missing or fails.
  virtual bool IsWow64() = 0;
  // Loads "kernel32.dll" by name and keeps it loaded until ReleaseKernelLibrary; false when it
  // cannot be loaded. Functions that older Windows versions lack are looked up through it.
  virtual bool HoldKernelLibrary() = 0;
  // Releases what HoldKernelLibrary loaded; does nothing when nothing is held.
  virtual void ReleaseKernelLibrary() = 0;
  // Switches WOW64 file-system redirection off for the calling thread, for the rest of the
  // process (Wow64DisableWow64FsRedirection of the already loaded kernel32.dll, looked up at run
  // time); false when kernel32 is not loaded, the function is missing or the call is refused.
  virtual bool DisableFileSystemRedirection() = 0;

  // ---- System information ----
  // GetVersionExW with the extended record (major, minor, build always; the rest 0 on failure).
  virtual SystemVersion QuerySystemVersion() = 0;
  // Low byte of the processor architecture of GetNativeSystemInfo (GetSystemInfo when missing).
  virtual std::uint8_t NativeProcessorArchitecture() = 0;
  // GetLocaleInfoW(locale, LOCALE_IDEFAULTLANGUAGE) without its NUL; empty on failure.
  virtual std::u16string LocaleDefaultLanguage(std::uint32_t locale) = 0;

  // ---- Locale and text ----
  // The system's locale-aware lower-case mapping (CharLowerBuffW), same length as the input.
  virtual std::u16string LowerCase(const std::u16string& text) = 0;
  // lstrcmpW: negative, 0 or positive.
  virtual int CompareStrings(const std::u16string& a, const std::u16string& b) = 0;
  // Decodes bytes in the system's ANSI code page.
  virtual std::u16string AnsiToUnicode(const std::string& bytes) = 0;
  // Encodes in the ANSI code page; characters it cannot represent become its default character.
  virtual std::string UnicodeToAnsi(const std::u16string& text) = 0;

  // ---- Registry (HKEY_LOCAL_MACHINE, in the default view of the build) ----
  // Deletes subkey with everything below it; a missing or protected key changes nothing.
  virtual void DeleteMachineKeyTree(const std::u16string& subkey) = 0;
  // The integer value name of subkey (opened, never created); nothing when either is missing.
  virtual std::optional<std::int32_t> ReadMachineInteger(const std::u16string& subkey, const std::u16string& name) = 0;
  // Writes an integer value into an existing subkey; false when the key does not open.
  virtual bool WriteMachineInteger(const std::u16string& subkey, const std::u16string& name, std::int32_t value) = 0;

  // ---- Dialogs ----
  // A modal MessageBoxW; returns the button pressed (IDOK is 1), 0 when it could not be shown.
  virtual int ShowMessage(WindowRef owner, const std::u16string& text, const std::u16string& caption,
                          std::uint32_t style) = 0;

  // ---- Time ----
  // GetTickCount: milliseconds since the system started, wrapping at 2^32.
  virtual std::uint32_t TickCount() = 0;
  // The current UTC time as a file time (100 ns since 1601-01-01).
  virtual std::uint64_t UtcFileTime() = 0;
};

// Installs a platform for the lifetime of this object and restores the previous one after.
class ScopedPlatform {
public:
  explicit ScopedPlatform(Platform& platform);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
  Platform* previous_;
};

// The program's own platform: Win32Platform in the Windows builds. The native build has none
// and Current() raises std::logic_error until a test installs one.
Platform* DefaultPlatform();
