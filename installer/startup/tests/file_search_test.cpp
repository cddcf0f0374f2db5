#include <gtest/gtest.h>

#include "errors.h"
#include "fake_platform.h"
#include "file_search.h"

#if !defined(_WIN32)
#include <pthread.h>
#endif

namespace {

std::string Joined(const std::vector<std::u16string>& paths) {
  std::string out;
  for (const auto& p : paths) out += ToUtf8(p) + "\n";
  return out;
}

TEST(WildcardMatch, MatchesWholeNamesAgainstTheMask) {
  struct Row {
    std::u16string name;
    std::u16string mask;
    bool ignoreCase;
    bool matches;
  };
  const Row rows[] = {
      {u"package.xml", u"package.xml", true, true},
      {u"Package.XML", u"package.xml", true, true},
      {u"Package.XML", u"package.xml", false, false},
      {u"package.xml.bak", u"package.xml", true, false},
      {u"my-package.xml", u"package.xml", true, false},
      {u"package.xm", u"package.xml", true, false},
      {u"deutsch.xml", u"*.xml", true, true},
      {u".xml", u"*.xml", true, true},
      {u"xml", u"*.xml", true, false},
      {u"a.xml.txt", u"*.xml", true, false},
      {u"a.xml.xml", u"*.xml", true, true},
      {u"", u"*", true, true},
      {u"", u"", true, true},
      {u"a", u"", true, false},
      {u"", u"?", true, false},
      {u"abc", u"a?c", true, true},
      {u"ac", u"a?c", true, false},
      {u"abbbc", u"a*b*c", true, true},
      {u"abcbxd", u"a*b?d", true, true},
      {u"abcbd", u"a*b?d", true, false},
      {u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", u"*a*a*a*a*a*a*a*a*a*c", true, false},
      {u"ÄPFEL.XML", u"äpfel.xml", true, true},
      {u"x*y", u"x*y", false, true},
      {u"file.txt", u"file.txt*", true, true},
  };
  FakePlatform machine;
  ScopedPlatform use(machine);
  for (const Row& row : rows) {
    EXPECT_EQ(WildcardMatch(row.name, row.mask, row.ignoreCase), row.matches)
        << "name \"" << ToUtf8(row.name) << "\" mask \"" << ToUtf8(row.mask) << "\" ignore case " << row.ignoreCase;
  }
}

TEST(FindFiles, ListsMatchesDepthFirstInListingOrder) {
  FakePlatform machine;
  ScopedPlatform use(machine);
  machine.AddFile(u"D:\\Setup\\package.xml", "");
  machine.AddFile(u"D:\\Setup\\A\\package.xml", "");
  machine.AddFile(u"D:\\Setup\\B\\package.xml", "");
  machine.AddFile(u"D:\\Setup\\B\\Sub\\Deeper\\Package.XML", "");
  machine.AddFile(u"D:\\Setup\\B\\package.xml.bak", "");
  machine.AddFile(u"D:\\Setup\\B\\my-package.xml", "");
  machine.AddFile(u"D:\\Setup\\C\\package.xml\\package.xml", "");  // a directory of that name
  machine.AddDirectory(u"D:\\Setup\\Empty");
  std::vector<std::u16string> found{u"kept"};
  FindFiles(u"D:\\Setup", true, found, u"PACKAGE.XML");
  EXPECT_EQ(Joined(found),
            "kept\n"
            "D:\\Setup\\A\\package.xml\n"
            "D:\\Setup\\B\\package.xml\n"
            "D:\\Setup\\B\\Sub\\Deeper\\Package.XML\n"
            "D:\\Setup\\C\\package.xml\\package.xml\n"
            "D:\\Setup\\package.xml\n");
}

TEST(FindFiles, StaysInTheFolderWhenNotRecursive) {
  FakePlatform machine;
  ScopedPlatform use(machine);
  machine.AddFile(u"C:\\Setup\\translation\\english.xml", "");
  machine.AddFile(u"C:\\Setup\\translation\\Deutsch.XML", "");
  machine.AddFile(u"C:\\Setup\\translation\\readme.txt", "");
  machine.AddFile(u"C:\\Setup\\translation\\old\\french.xml", "");
  machine.AddDirectory(u"C:\\Setup\\translation\\folder.xml");
  std::vector<std::u16string> found;
  FindFiles(u"C:\\Setup\\translation\\", false, found, u"*.xml");
  EXPECT_EQ(Joined(found), "C:\\Setup\\translation\\Deutsch.XML\nC:\\Setup\\translation\\english.xml\n");
}

TEST(FindFiles, FindsNothingWhereThereIsNothing) {
  FakePlatform machine;
  ScopedPlatform use(machine);
  machine.AddFile(u"C:\\Setup\\file.xml", "");
  for (const std::u16string start : {u"", u"C:\\Missing", u"C:\\Setup\\file.xml"}) {
    std::vector<std::u16string> found;
    FindFiles(start, true, found, u"*");
    EXPECT_TRUE(found.empty()) << "start \"" << ToUtf8(start) << "\": " << Joined(found);
  }
}

TEST(FindFiles, SearchesEachDirectoryOnceWhateverLinksLeadToIt) {
  struct Link {
    std::u16string path;
    std::u16string target;
  };
  struct Row {
    const char* name;
    std::vector<Link> links;
    std::string expected;
  };
  const std::string plain = "C:\\Setup\\A\\package.xml\nC:\\Setup\\package.xml\n";
  const Row rows[] = {
      {"back to the top", {{u"C:\\Setup\\A\\back", u"C:\\Setup"}}, plain},
      {"to itself", {{u"C:\\Setup\\A\\self", u"C:\\Setup\\A"}}, plain},
      {"to a link that leads back", {{u"C:\\Setup\\A\\one", u"C:\\Setup\\B\\two"}, {u"C:\\Setup\\B\\two", u"C:\\Setup"}},
       plain},
      {"outside the tree, twice",
       {{u"C:\\Setup\\A\\shared", u"C:\\Shared"}, {u"C:\\Setup\\B\\shared again", u"C:\\Shared"}},
       "C:\\Setup\\A\\package.xml\nC:\\Setup\\A\\shared\\package.xml\nC:\\Setup\\package.xml\n"},
      {"to nowhere", {{u"C:\\Setup\\A\\dangling", u"C:\\Nowhere"}}, plain},
  };
  for (const Row& row : rows) {
    FakePlatform machine;
    ScopedPlatform use(machine);
    machine.AddFile(u"C:\\Setup\\A\\package.xml", "");
    machine.AddFile(u"C:\\Setup\\package.xml", "");
    machine.AddDirectory(u"C:\\Setup\\B");
    machine.AddFile(u"C:\\Shared\\package.xml", "");
    for (const Link& link : row.links) machine.AddDirectoryLink(link.path, link.target);
    std::vector<std::u16string> found;
    FindFiles(u"C:\\Setup\\", true, found, u"package.xml");
    EXPECT_EQ(Joined(found), row.expected) << "a link " << row.name;
  }
}

// A tree deeper than any call stack would hold one frame per level: every directory holds
// one directory "d"; the bottom one and the top one hold package.xml.
class DeepMachine : public FakePlatform {
public:
  static constexpr std::size_t kDepth = 20000;
  std::optional<std::vector<DirectoryEntry>> ListDirectory(const std::u16string& directory) override {
    const std::size_t depth = (directory.size() - kRoot.size()) / 2;
    std::vector<DirectoryEntry> entries{{u".", true, false}, {u"..", true, false}};
    if (depth < kDepth) entries.push_back({u"d", true, false});
    if (depth == 0 || depth == kDepth) entries.push_back({u"package.xml", false, false});
    return entries;
  }
  std::u16string DirectoryIdentity(const std::u16string& path) override {
    return FromUtf8(std::to_string(path.size()));
  }
  static inline const std::u16string kRoot = u"C:\\Deep\\";
};

void SearchDeepTree(std::vector<std::u16string>& found) {
  DeepMachine machine;
  ScopedPlatform use(machine);
  FindFiles(DeepMachine::kRoot, true, found, u"package.xml");
}

TEST(FindFiles, WalksVeryDeepTreesInOrder) {
  std::vector<std::u16string> found;
#if !defined(_WIN32)
  // On a small stack, so that one frame per level would overflow it.
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 256 * 1024);
  pthread_t thread;
  ASSERT_EQ(pthread_create(
                &thread, &attributes,
                [](void* out) -> void* {
                  SearchDeepTree(*static_cast<std::vector<std::u16string>*>(out));
                  return nullptr;
                },
                &found),
            0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
#else
  SearchDeepTree(found);
#endif
  ASSERT_EQ(found.size(), 2u);
  std::u16string bottom = DeepMachine::kRoot;
  for (std::size_t i = 0; i < DeepMachine::kDepth; ++i) bottom += u"d\\";
  EXPECT_TRUE(found[0] == bottom + u"package.xml") << "first result has " << found[0].size() << " units";
  EXPECT_EQ(ToUtf8(found[1]), "C:\\Deep\\package.xml");
}

}  // namespace
