#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "errors.h"
#include "save_file.h"
#include "unique_handle.h"
#include "win32_test_support.h"

namespace {

class LogFileWriter : public ::testing::Test {
protected:
  ScratchDirectory scratch{L"log"};
  std::wstring Name(const std::wstring& file) { return scratch.Path() + file; }

  // Creates file with content and keeps it open, with all sharing, as a viewer would.
  UniqueHandle Hold(const std::wstring& file, const std::string& content) {
    UniqueHandle handle(CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(handle.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    return handle;
  }
  static bool Exists(const std::wstring& file) { return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; }
};

TEST_F(LogFileWriter, EachNameHeldOpenSendsTheTextToTheNextAlternative) {
  const std::wstring names[] = {Name(L"ZebLog.txt"), Name(L"ZebLog(0).txt"), Name(L"ZebLog(1).txt"),
                                Name(L"ZebLog(2).txt")};
  std::vector<UniqueHandle> held;
  for (std::size_t k = 0; k <= 4; ++k) {
    const std::string text = "round " + std::to_string(k);
    const bool saved = SaveTextFile(U16(names[0]), FromUtf8(text), 3, 0);
    if (k < 4) {
      EXPECT_TRUE(saved) << k << " names held";
      EXPECT_EQ(ReadFileBytes(names[k]), text) << k << " names held";
      held.push_back(Hold(names[k], "held " + std::to_string(k)));
    } else {
      EXPECT_FALSE(saved) << "all four names held";
      EXPECT_FALSE(Exists(Name(L"ZebLog(3).txt")));
      for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(ReadFileBytes(names[i]), "held " + std::to_string(i));
    }
  }
}

TEST_F(LogFileWriter, AFileNoOneHoldsIsOverwrittenAndANameWithoutExtensionIsNumberedAtItsEnd) {
  const std::wstring log = Name(L"log");
  Hold(log, "an older and longer log file").reset();
  EXPECT_TRUE(SaveTextFile(U16(log), u"new", 3, 0));
  EXPECT_EQ(ReadFileBytes(log), "new");
  UniqueHandle viewer = Hold(log, "viewed");
  EXPECT_TRUE(SaveTextFile(U16(log), u"next", 3, 0));
  EXPECT_EQ(ReadFileBytes(Name(L"log(0)")), "next");
}

TEST_F(LogFileWriter, ThreeEncodingsOfAbc) {
  const struct {
    std::uint8_t encoding;
    std::string expected;
  } rows[] = {{0, "abc"}, {1, "\xEF\xBB\xBF" "abc"}, {2, std::string("\xFF\xFE" "a\0b\0c\0", 8)}};
  for (const auto& row : rows) {
    const std::wstring file = Name(L"enc" + std::to_wstring(row.encoding) + L".txt");
    EXPECT_TRUE(SaveTextFile(U16(file), u"abc", 3, row.encoding)) << "encoding " << int(row.encoding);
    EXPECT_EQ(ReadFileBytes(file), row.expected) << "encoding " << int(row.encoding);
  }
}

TEST_F(LogFileWriter, CharactersOutsideTheAnsiCodePageBecomeItsDefaultCharacterInEveryEncoding) {
  CPINFO info{};
  ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
  ASSERT_EQ(info.MaxCharSize, 1u) << "this test expects a single-byte ANSI code page";
  const char fallback = static_cast<char>(info.DefaultChar[0]);
  ASSERT_LT(static_cast<unsigned char>(fallback), 0x80);
  const std::u16string text = u"a\u4E2D\u6587b";  // two Chinese letters
  const struct {
    std::uint8_t encoding;
    std::string expected;
  } rows[] = {
      {0, std::string("a") + fallback + fallback + "b"},
      {1, std::string("\xEF\xBB\xBF" "a") + fallback + fallback + "b"},
      {2, std::string("\xFF\xFE" "a", 3) + std::string(1, '\0') + fallback + std::string(1, '\0') + fallback +
              std::string(1, '\0') + "b" + std::string(1, '\0')},
  };
  for (const auto& row : rows) {
    const std::wstring file = Name(L"cjk" + std::to_wstring(row.encoding) + L".txt");
    EXPECT_TRUE(SaveTextFile(U16(file), text, 0, row.encoding)) << "encoding " << int(row.encoding);
    EXPECT_EQ(ReadFileBytes(file), row.expected) << "encoding " << int(row.encoding);
  }
}

std::uint64_t Value(const FILETIME& t) { return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

struct Times {
  std::uint64_t created = 0, accessed = 0, written = 0;
};
Times TimesOf(const std::wstring& file) {
  Times times;
  UniqueHandle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  FILETIME c{}, a{}, w{};
  if (GetFileTime(handle.get(), &c, &a, &w)) times = {Value(c), Value(a), Value(w)};
  return times;
}

TEST_F(LogFileWriter, TheFileTimesAreTheGivenTimeForEveryEncoding) {
  const std::uint64_t stamp = 126227808000000000ULL;  // 2001-01-01 00:00:00 UTC
  for (const std::uint8_t encoding : {0, 1, 2, 7}) {
    const std::wstring file = Name(L"time" + std::to_wstring(encoding) + L".txt");
    EXPECT_EQ(WriteTextFile(U16(file), "abc", stamp, 3, encoding), encoding != 7) << "encoding " << int(encoding);
    const Times times = TimesOf(file);
    EXPECT_EQ(times.written, stamp) << "encoding " << int(encoding);
    EXPECT_EQ(times.accessed, stamp) << "encoding " << int(encoding);
    EXPECT_EQ(times.created, stamp) << "encoding " << int(encoding);
  }
  EXPECT_EQ(ReadFileBytes(Name(L"time7.txt")), "");
}

TEST_F(LogFileWriter, SaveStampsTheTimeTakenWhenItWasCalled) {
  const std::uint64_t before = GetUTCFileTime();
  ASSERT_TRUE(SaveTextFile(U16(Name(L"now.txt")), u"abc", 3, 0));
  const std::uint64_t after = GetUTCFileTime();
  const Times times = TimesOf(Name(L"now.txt"));
  EXPECT_GE(times.written, before);
  EXPECT_LE(times.written, after);
  EXPECT_EQ(times.accessed, times.written);
  EXPECT_EQ(times.created, times.written);
}

TEST_F(LogFileWriter, EmptyTextOrNameAndNegativeCountsTouchNothing) {
  const std::wstring log = Name(L"ZebLog.txt");
  Hold(log, "log of an earlier run").reset();
  EXPECT_FALSE(SaveTextFile(U16(log), u"", 3, 0));
  EXPECT_EQ(ReadFileBytes(log), "log of an earlier run");
  EXPECT_FALSE(SaveTextFile(u"", u"text", 3, 0));
  const std::wstring fresh = Name(L"fresh.txt");
  for (const int count : {-1, -100}) {
    EXPECT_FALSE(SaveTextFile(U16(fresh), u"text", count, 0)) << "count " << count;
    EXPECT_FALSE(Exists(fresh)) << "count " << count;
  }
  EXPECT_FALSE(Exists(Name(L"ZebLog(0).txt")));
}

TEST_F(LogFileWriter, MissingDirectoriesAreCreated) {
  const std::wstring nested = Name(L"a\\b\\c\\ZebLog.txt");
  EXPECT_TRUE(SaveTextFile(U16(nested), u"deep", 3, 0));
  EXPECT_EQ(ReadFileBytes(nested), "deep");
}

TEST_F(LogFileWriter, AFileThatCannotBeCreatedRaisesTheCreationErrorNamingIt) {
  Hold(Name(L"blocker"), "a file, not a folder").reset();
  const std::u16string target = U16(Name(L"blocker\\sub\\ZebLog.txt"));
  try {
    SaveTextFile(target, u"text", 3, 0);
    FAIL() << "expected EFCreateError";
  } catch (const EFCreateError& e) {
    EXPECT_NE(e.Message().find(target), std::u16string::npos) << ToUtf8(e.Message());
  }
}

TEST(LogFileDrives, AnUnknownDriveLetterIsRefusedWithoutAnError) {
  const DWORD drives = GetLogicalDrives();
  wchar_t letter = 0;
  for (wchar_t c = L'Y'; c >= L'D'; --c) {
    if (!(drives & (1u << (c - L'A')))) {
      letter = c;
      break;
    }
  }
  ASSERT_NE(letter, 0) << "every drive letter is in use";
  const std::u16string name = std::u16string(1, static_cast<char16_t>(letter)) + u":\\ZebLog.txt";
  EXPECT_FALSE(SaveTextFile(name, u"text", 3, 0));
}

TEST(LogFileDrives, ACdDriveIsRefusedWithoutAnError) {
  wchar_t letter[4] = {};
  if (!GetEnvironmentVariableW(L"KORVEL_CDROM_DRIVE", letter, 4)) GTEST_SKIP() << "no CD drive is mapped";
  const std::wstring root = std::wstring(1, letter[0]) + L":\\";
  ASSERT_EQ(GetDriveTypeW(root.c_str()), static_cast<UINT>(DRIVE_CDROM)) << "the prefix maps no CD drive";
  ASSERT_EQ(GetFileAttributesW((root + L"ZebLog.txt").c_str()), INVALID_FILE_ATTRIBUTES) << "left from an earlier run";
  EXPECT_FALSE(SaveTextFile(U16(root + L"ZebLog.txt"), u"text", 3, 0));
  EXPECT_EQ(GetFileAttributesW((root + L"ZebLog.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
