// An in-memory machine for the native tests: a Windows-like file system (paths compared without
// regard to case, backslashes, drive letters), an environment, a registry, message boxes that
// are recorded instead of shown, and a clock the test moves by hand.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform.h"

class FakePlatform : public Platform {
public:
  FakePlatform();

  // ---- Setting up the machine ----
  // Adds or replaces a file; missing parent directories are created.
  void AddFile(const std::u16string& path, const std::string& bytes);
  void AddDirectory(const std::u16string& path);
  // A junction or directory symbolic link at path that leads to target (which need not exist).
  // Paths through it resolve to the target; listings report it as a directory and a link.
  void AddDirectoryLink(const std::u16string& path, const std::u16string& target);
  void Remove(const std::u16string& path);
  // A file that another program holds open for writing: OpenRead refuses it.
  void LockForWriting(const std::u16string& path, bool locked = true);
  void SetVersionStrings(const std::u16string& path, VersionStrings strings);
  void SetEnvironment(const std::u16string& name, const std::u16string& value);
  void SetModuleFileName(const std::u16string& path) { moduleFileName_ = path; }
  void SetArguments(std::vector<std::u16string> arguments) { arguments_ = std::move(arguments); }

  struct ShownMessage {
    WindowRef Owner;
    std::u16string Text;
    std::u16string Caption;
    std::uint32_t Style;
  };
  std::vector<ShownMessage> Messages;  // every message box, in order

  bool Wow64 = false;
  bool KernelLibraryHeld = false;     // between HoldKernelLibrary and ReleaseKernelLibrary
  bool RedirectionOff = false;        // set by DisableFileSystemRedirection
  bool RedirectionAvailable = true;   // false: Wow64DisableWow64FsRedirection is missing
  SystemVersion Version{6, 1, 7601, 1, 1};
  std::uint8_t Architecture = 9;         // x64
  std::u16string DefaultLanguage = u"0407";
  std::uint32_t Tick = 1000;
  std::uint64_t FileTime = 133000000000000000ULL;
  // HKLM as "subkey\\name" -> integer; a subkey exists when it is in MachineKeys.
  std::map<std::u16string, std::int32_t> MachineValues;
  std::vector<std::u16string> MachineKeys;

  // ---- Platform ----
  bool FileExists(const std::u16string& path) override;
  bool DirectoryExists(const std::u16string& path) override;
  std::unique_ptr<ReadStream> OpenRead(const std::u16string& path) override;
  std::optional<std::vector<DirectoryEntry>> ListDirectory(const std::u16string& directory) override;
  std::u16string DirectoryIdentity(const std::u16string& path) override;
  VersionStrings ReadVersionStrings(const std::u16string& path) override;
  std::u16string ExpandVariables(const std::u16string& source) override;
  std::u16string ModuleFileName() override { return moduleFileName_; }
  std::vector<std::u16string> CommandLineArguments() override { return arguments_; }
  bool IsWow64() override { return Wow64; }
  bool HoldKernelLibrary() override { return KernelLibraryHeld = true; }
  void ReleaseKernelLibrary() override { KernelLibraryHeld = false; }
  bool DisableFileSystemRedirection() override;
  SystemVersion QuerySystemVersion() override { return Version; }
  std::uint8_t NativeProcessorArchitecture() override { return Architecture; }
  std::u16string LocaleDefaultLanguage(std::uint32_t) override { return DefaultLanguage; }
  std::u16string LowerCase(const std::u16string& text) override;
  int CompareStrings(const std::u16string& a, const std::u16string& b) override;
  std::u16string AnsiToUnicode(const std::string& bytes) override;
  std::string UnicodeToAnsi(const std::u16string& text) override;
  void DeleteMachineKeyTree(const std::u16string& subkey) override;
  std::optional<std::int32_t> ReadMachineInteger(const std::u16string& subkey, const std::u16string& name) override;
  bool WriteMachineInteger(const std::u16string& subkey, const std::u16string& name, std::int32_t value) override;
  int ShowMessage(WindowRef owner, const std::u16string& text, const std::u16string& caption,
                  std::uint32_t style) override;
  std::uint32_t TickCount() override { return Tick; }
  std::uint64_t UtcFileTime() override { return FileTime; }

private:
  struct Node {
    std::u16string Name;  // last component as written
    bool IsDirectory = false;
    std::shared_ptr<const std::string> Bytes;  // a file's content, shared with its open streams
    bool LockedForWriting = false;
    std::shared_ptr<const VersionStrings> Versions;  // none: no version resource
    std::u16string LinkTarget;  // key of the target when the node is a directory link
  };
  static std::u16string Key(const std::u16string& path);  // lower case, no trailing backslash
  // The key with every link along it replaced by its target; empty when links go round in circles.
  std::u16string Resolve(const std::u16string& key) const;
  Node* Find(const std::u16string& path);
  Node& Slot(const std::u16string& key);  // the node of key, made empty when missing

  // By key; the nodes sit apart, so that a look-up reads only small entries on its way.
  std::unordered_map<std::u16string, std::unique_ptr<Node>> nodes_;
  bool hasLinks_ = false;
  std::map<std::u16string, std::u16string> environment_;  // lower-case name -> value
  std::u16string moduleFileName_ = u"C:\\Setup\\Korvel.exe";
  std::vector<std::u16string> arguments_{u"C:\\Setup\\Korvel.exe"};
};

// Lower case as the fake machine's locale maps it: ASCII, Latin-1 and Latin Extended-A.
char16_t FakeLower(char16_t c);
