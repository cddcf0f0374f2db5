#include "file_search.h"

#include <unordered_set>

#include "platform.h"

namespace {

bool Match(const std::u16string& name, const std::u16string& mask) {
  // Greedy matching that remembers the last "*" and widens its run when the rest fails:
  // linear space, no recursion, at most name.size() * mask.size() steps.
  std::size_t n = 0, m = 0;
  std::size_t starMask = std::u16string::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == u'?' || (mask[m] != u'*' && mask[m] == name[n]))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == u'*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::u16string::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*') ++m;
  return m == mask.size();
}

}  // namespace

bool WildcardMatch(const std::u16string& name, const std::u16string& mask, bool ignoreCase) {
  if (!ignoreCase) return Match(name, mask);
  Platform& os = Platform::Current();
  return Match(os.LowerCase(name), os.LowerCase(mask));
}

void SearchDirectory(const std::u16string& directory, bool recursive, std::vector<std::u16string>& results,
                     const std::u16string& lowerMask) {
  Platform& os = Platform::Current();
  // One frame per directory being listed; path holds the directory of the top frame, and each
  // frame remembers how long its own directory's path is.
  struct Frame {
    std::size_t pathLength;
    std::vector<DirectoryEntry> entries;
    std::size_t next = 0;
  };
  std::vector<Frame> stack;
  std::u16string path = directory;
  // Identities of the directories searched so far: a directory reached a second time, through a
  // link or otherwise, is not searched again.
  std::unordered_set<std::u16string> searched;

  const auto enter = [&](bool isLink) {
    const std::u16string identity = os.DirectoryIdentity(path);
    if (identity.empty() ? isLink : !searched.insert(identity).second) return;
    auto entries = os.ListDirectory(path);
    if (entries) stack.push_back({path.size(), std::move(*entries)});
  };

  enter(false);
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next == frame.entries.size()) {
      stack.pop_back();
      continue;
    }
    const DirectoryEntry& entry = frame.entries[frame.next++];
    path.resize(frame.pathLength);
    if (entry.Name == u"." || entry.Name == u"..") continue;
    if (entry.IsDirectory) {
      if (recursive) {
        path += entry.Name;
        path += u'\\';
        enter(entry.IsLink);  // may move frame: nothing below uses it
      }
      continue;
    }
    if (WildcardMatch(entry.Name, lowerMask, true)) results.push_back(path + entry.Name);
  }
}

void FindFiles(const std::u16string& directory, bool recursive, std::vector<std::u16string>& results,
               const std::u16string& mask) {
  if (directory.empty()) return;
  const std::u16string lowerMask = Platform::Current().LowerCase(mask);
  const std::u16string start = directory.back() == u'\\' ? directory : directory + u'\\';
  SearchDirectory(start, recursive, results, lowerMask);
}
