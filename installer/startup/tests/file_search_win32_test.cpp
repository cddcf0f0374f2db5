#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "errors.h"
#include "file_search.h"

namespace {

std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

// The tree that make-search-tree.sh made, as a path of Wine's drive Z:, with a trailing backslash.
std::u16string TreeRoot() {
  const char* unixPath = std::getenv("KORVEL_SEARCH_TREE");
  if (!unixPath) return {};
  std::u16string root = u"Z:" + FromUtf8(unixPath);
  for (char16_t& c : root) {
    if (c == u'/') c = u'\\';
  }
  return root + u"\\";
}

std::string Joined(const std::vector<std::u16string>& paths) {
  std::string out;
  for (const auto& p : paths) out += ToUtf8(p) + "\n";
  return out;
}

class FileSearchOnWindows : public testing::Test {
protected:
  void SetUp() override {
    root = TreeRoot();
    ASSERT_FALSE(root.empty()) << "KORVEL_SEARCH_TREE is not set";
    // Hidden and system entries are found like any other.
    const auto hide = [&](const std::u16string& path, DWORD attributes) {
      SetFileAttributesW(reinterpret_cast<const wchar_t*>(path.c_str()), attributes);
    };
    hide(root + u"Hidden", FILE_ATTRIBUTE_HIDDEN);
    hide(root + u"Hidden\\package.xml", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  }
  std::u16string root;
};

TEST_F(FileSearchOnWindows, FindsEveryPackageDescriptionOnce) {
  std::vector<std::u16string> found;
  FindFiles(root, true, found, u"package.xml");
  // Wine lists names sorted without regard to case; the link A\loop leads back to the top and
  // C\again to A, both searched already.
  EXPECT_EQ(Joined(found), ToUtf8(root + u"A\\B\\Package.XML\n" + root + u"C\\package.xml\\package.xml\n" + root +
                                  u"Hidden\\package.xml\n" + root + u"package.xml\n"));
}

TEST_F(FileSearchOnWindows, TranslationSearchStaysInItsFolder) {
  std::vector<std::u16string> found;
  FindFiles(root + u"translation", false, found, u"*.xml");
  EXPECT_EQ(Joined(found), ToUtf8(root + u"translation\\english.xml\n"));
}

TEST_F(FileSearchOnWindows, MissingFolderGivesNothing) {
  std::vector<std::u16string> found;
  FindFiles(root + u"no such folder", true, found, u"*");
  EXPECT_TRUE(found.empty()) << Joined(found);
}

TEST_F(FileSearchOnWindows, LinkMadeByTheSystemLeadingBackIsSearchedOnce) {
  // Where the system can make a directory symbolic link itself, one that leads back up.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring top = std::wstring(temp) + L"korvel-link-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(top.c_str(), nullptr);
  CreateDirectoryW((top + L"\\sub").c_str(), nullptr);
  HANDLE file = CreateFileW((top + L"\\sub\\package.xml").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  // SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
  if (!CreateSymbolicLinkW((top + L"\\sub\\up").c_str(), top.c_str(), 0x1 | 0x2)) {
    GTEST_SKIP() << "this system makes no directory symbolic links (error " << GetLastError() << ")";
  }
  std::vector<std::u16string> found;
  FindFiles(U16(top), true, found, u"package.xml");
  EXPECT_EQ(Joined(found), ToUtf8(U16(top) + u"\\sub\\package.xml\n"));
}

}  // namespace
