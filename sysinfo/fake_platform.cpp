#include "fake_platform.h"

#include <algorithm>
#include <cstring>

#include "errors.h"

char16_t FakeLower(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 32);
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x138 && c != 0x149 && c != 0x17F) {
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddUpper ? (c % 2 == 1) : (c % 2 == 0)) return static_cast<char16_t>(c + 1);
  }
  return c;
}

namespace {

// Reads the file's bytes where they are; replacing or removing the file meanwhile does not
// change what an open stream reads.
class MemoryStream : public ReadStream {
public:
  explicit MemoryStream(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t Size() override { return bytes_->size(); }
  std::uint64_t Position() override { return position_; }
  void Seek(std::uint64_t offset) override { position_ = offset; }
  std::size_t Read(void* buffer, std::size_t count) override {
    if (position_ >= bytes_->size()) return 0;
    const std::size_t n = std::min<std::uint64_t>(count, bytes_->size() - position_);
    std::memcpy(buffer, bytes_->data() + position_, n);
    position_ += n;
    return n;
  }

private:
  std::shared_ptr<const std::string> bytes_;
  std::uint64_t position_ = 0;
};

std::u16string ParentOf(const std::u16string& key) {
  const auto slash = key.find_last_of(u'\\');
  return slash == std::u16string::npos ? std::u16string() : key.substr(0, slash);
}

std::u16string LastComponent(const std::u16string& path) {
  std::u16string p = path;
  while (!p.empty() && p.back() == u'\\') p.pop_back();
  const auto slash = p.find_last_of(u'\\');
  return slash == std::u16string::npos ? p : p.substr(slash + 1);
}

// Windows-1252, the ANSI code page of a western machine.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

}  // namespace

FakePlatform::FakePlatform() {
  AddDirectory(u"C:\\Windows\\System32");
  SetEnvironment(u"SystemDrive", u"C:");
  SetEnvironment(u"windir", u"C:\\Windows");
  SetEnvironment(u"SystemRoot", u"C:\\Windows");
  SetEnvironment(u"ProgramFiles", u"C:\\Program Files");
  SetEnvironment(u"CommonProgramFiles", u"C:\\Program Files\\Common Files");
  SetEnvironment(u"ProgramW6432", u"C:\\Program Files");
  SetEnvironment(u"CommonProgramW6432", u"C:\\Program Files\\Common Files");
}

std::u16string FakePlatform::Key(const std::u16string& path) {
  std::u16string key;
  key.reserve(path.size());
  for (char16_t c : path) key += FakeLower(c == u'/' ? u'\\' : c);
  while (!key.empty() && key.back() == u'\\') key.pop_back();
  return key;
}

std::u16string FakePlatform::Resolve(const std::u16string& key) const {
  if (!hasLinks_) return key;
  std::u16string current = key;
  // Like the system, give up after a bounded number of links.
  for (int hops = 0; hops < 64; ++hops) {
    bool replaced = false;
    for (std::size_t end = current.find(u'\\');; end = current.find(u'\\', end + 1)) {
      const std::size_t length = end == std::u16string::npos ? current.size() : end;
      const auto it = nodes_.find(current.substr(0, length));
      if (it != nodes_.end() && !it->second->LinkTarget.empty()) {
        current = it->second->LinkTarget + current.substr(length);
        replaced = true;
        break;
      }
      if (end == std::u16string::npos) break;
    }
    if (!replaced) return current;
  }
  return {};
}

FakePlatform::Node* FakePlatform::Find(const std::u16string& path) {
  const auto it = nodes_.find(Resolve(Key(path)));
  return it == nodes_.end() ? nullptr : it->second.get();
}

FakePlatform::Node& FakePlatform::Slot(const std::u16string& key) {
  std::unique_ptr<Node>& node = nodes_[key];
  if (!node) node = std::make_unique<Node>();
  return *node;
}

void FakePlatform::AddDirectoryLink(const std::u16string& path, const std::u16string& target) {
  const std::u16string key = Key(path);
  const std::u16string parent = ParentOf(key);
  if (key.empty() || Key(target).empty()) return;
  if (!parent.empty() && !nodes_.count(parent)) AddDirectory(path.substr(0, parent.size()));
  Node& node = Slot(key);
  node.Name = LastComponent(path);
  node.IsDirectory = true;
  node.LinkTarget = Key(target);
  hasLinks_ = true;
}

void FakePlatform::AddDirectory(const std::u16string& path) {
  const std::u16string key = Key(path);
  if (key.empty()) return;
  const std::u16string parent = ParentOf(key);
  if (!parent.empty() && !nodes_.count(parent)) AddDirectory(path.substr(0, parent.size()));
  Node& node = Slot(key);
  node.Name = LastComponent(path);
  node.IsDirectory = true;
}

void FakePlatform::AddFile(const std::u16string& path, const std::string& bytes) {
  const std::u16string key = Key(path);
  const std::u16string parent = ParentOf(key);
  if (!parent.empty() && !nodes_.count(parent)) AddDirectory(path.substr(0, parent.size()));
  Node& node = Slot(key);
  node.Name = LastComponent(path);
  node.IsDirectory = false;
  node.Bytes = std::make_shared<const std::string>(bytes);
}

void FakePlatform::Remove(const std::u16string& path) {
  const std::u16string key = Key(path);
  for (auto it = nodes_.begin(); it != nodes_.end();) {
    const bool below = it->first.size() > key.size() && it->first.compare(0, key.size(), key) == 0 &&
                       it->first[key.size()] == u'\\';
    it = (it->first == key || below) ? nodes_.erase(it) : std::next(it);
  }
}

void FakePlatform::LockForWriting(const std::u16string& path, bool locked) {
  if (Node* node = Find(path)) node->LockedForWriting = locked;
}

void FakePlatform::SetVersionStrings(const std::u16string& path, VersionStrings strings) {
  if (Node* node = Find(path)) node->Versions = std::make_shared<const VersionStrings>(std::move(strings));
}

void FakePlatform::SetEnvironment(const std::u16string& name, const std::u16string& value) {
  environment_[Key(name)] = value;
}

bool FakePlatform::FileExists(const std::u16string& path) {
  const Node* node = Find(path);
  return node && !node->IsDirectory;
}

bool FakePlatform::DirectoryExists(const std::u16string& path) {
  const Node* node = Find(path);
  return node && node->IsDirectory;
}

std::unique_ptr<ReadStream> FakePlatform::OpenRead(const std::u16string& path) {
  const Node* node = Find(path);
  std::u16string reason;
  if (!node) reason = u"Das System kann die angegebene Datei nicht finden";
  else if (node->IsDirectory) reason = u"Zugriff verweigert";
  else if (node->LockedForWriting)
    reason = u"Der Prozess kann nicht auf die Datei zugreifen, da sie von einem anderen Prozess verwendet wird";
  if (!reason.empty()) throw EFOpenError(u"Datei " + path + u" kann nicht geöffnet werden. " + reason);
  return std::make_unique<MemoryStream>(node->Bytes ? node->Bytes : std::make_shared<const std::string>());
}

std::optional<std::vector<DirectoryEntry>> FakePlatform::ListDirectory(const std::u16string& directory) {
  const std::u16string key = Resolve(Key(directory));
  const auto dir = nodes_.find(key);
  if (dir == nodes_.end() || !dir->second->IsDirectory) return std::nullopt;
  // Listed in the order of their keys, as a file system that keeps its directories sorted does.
  std::vector<const std::pair<const std::u16string, std::unique_ptr<Node>>*> children;
  for (const auto& entry : nodes_) {
    if (ParentOf(entry.first) == key) children.push_back(&entry);
  }
  std::sort(children.begin(), children.end(), [](const auto* a, const auto* b) { return a->first < b->first; });
  std::vector<DirectoryEntry> entries{{u".", true, false}, {u"..", true, false}};
  for (const auto* child : children) {
    const Node& node = *child->second;
    entries.push_back({node.Name, node.IsDirectory, !node.LinkTarget.empty()});
  }
  return entries;
}

std::u16string FakePlatform::DirectoryIdentity(const std::u16string& path) {
  return DirectoryExists(path) ? Resolve(Key(path)) : std::u16string();
}

VersionStrings FakePlatform::ReadVersionStrings(const std::u16string& path) {
  const Node* node = Find(path);
  return node && node->Versions ? *node->Versions : VersionStrings{};
}

std::u16string FakePlatform::ExpandVariables(const std::u16string& source) {
  std::u16string out;
  std::size_t i = 0;
  while (i < source.size()) {
    const std::size_t open = source.find(u'%', i);
    if (open == std::u16string::npos) { out.append(source, i, std::u16string::npos); break; }
    const std::size_t close = source.find(u'%', open + 1);
    if (close == std::u16string::npos) { out.append(source, i, std::u16string::npos); break; }
    out.append(source, i, open - i);
    const auto it = environment_.find(Key(source.substr(open + 1, close - open - 1)));
    if (it != environment_.end() && close > open + 1) {
      out += it->second;
      i = close + 1;
    } else {
      // Not a variable: keep the first percent sign and look for a reference from the second.
      out += u'%';
      out.append(source, open + 1, close - open - 1);
      i = close;
    }
  }
  return out.size() >= 32767 ? std::u16string() : out;
}

bool FakePlatform::DisableFileSystemRedirection() {
  if (!KernelLibraryHeld || !RedirectionAvailable) return false;
  return RedirectionOff = true;
}

std::u16string FakePlatform::LowerCase(const std::u16string& text) {
  std::u16string out(text);
  for (char16_t& c : out) c = FakeLower(c);
  return out;
}

int FakePlatform::CompareStrings(const std::u16string& a, const std::u16string& b) {
  // Like a word sort: letters compare without regard to case first, and only when the texts
  // are otherwise equal does small come before capital.
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (a[i] == b[i]) continue;
    const char16_t la = FakeLower(a[i]), lb = FakeLower(b[i]);
    if (la != lb) return la < lb ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return a[i] > b[i] ? -1 : 1;
  }
  return 0;
}

std::u16string FakePlatform::AnsiToUnicode(const std::string& bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) out += (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : static_cast<char16_t>(b);
  return out;
}

std::string FakePlatform::UnicodeToAnsi(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) { out += static_cast<char>(c); continue; }
    const auto* hit = std::find(std::begin(kCp1252High), std::end(kCp1252High), c);
    out += (hit != std::end(kCp1252High) && c != 0xFFFD) ? static_cast<char>(0x80 + (hit - kCp1252High)) : '?';
  }
  return out;
}

void FakePlatform::DeleteMachineKeyTree(const std::u16string& subkey) {
  const std::u16string key = Key(subkey);
  auto below = [&](const std::u16string& k) {
    const std::u16string lk = Key(k);
    return lk == key || (lk.size() > key.size() && lk.compare(0, key.size(), key) == 0 && lk[key.size()] == u'\\');
  };
  std::erase_if(MachineKeys, below);
  std::erase_if(MachineValues, [&](const auto& entry) { return below(ParentOf(entry.first)); });
}

std::optional<std::int32_t> FakePlatform::ReadMachineInteger(const std::u16string& subkey, const std::u16string& name) {
  const auto it = MachineValues.find(subkey + u"\\" + name);
  if (it == MachineValues.end()) return std::nullopt;
  return it->second;
}

bool FakePlatform::WriteMachineInteger(const std::u16string& subkey, const std::u16string& name, std::int32_t value) {
  if (std::find(MachineKeys.begin(), MachineKeys.end(), subkey) == MachineKeys.end()) return false;
  MachineValues[subkey + u"\\" + name] = value;
  return true;
}

int FakePlatform::ShowMessage(WindowRef owner, const std::u16string& text, const std::u16string& caption,
                              std::uint32_t style) {
  Messages.push_back({owner, text, caption, style});
  return 1;
}
