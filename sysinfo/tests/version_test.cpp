#include <gtest/gtest.h>

#include "errors.h"
#include "fake_platform.h"
#include "file_version.h"
#include "version.h"

namespace {

TVersion Parsed(const std::u16string& text) {
  TVersion v;
  v.Parse(text);
  return v;
}

TEST(VersionText, ParsesAsPackageAuthorsWriteIt) {
  struct Row {
    std::u16string text;
    std::u16string printed;
  };
  const Row rows[] = {
      {u"1.2", u"1.2.0.0"},
      {u"1.2.3.4.5", u"1.2.3.4"},
      {u"", u"0.0.0.0"},
      {u"6.1.7601.17514", u"6.1.7601.17514"},
      {u"6.1.7601.17514 (win7sp1_rtm.101119-1850)", u"6.1.7601.17514"},
      {u" 6.1.7601.17514", u"0.0.0.0"},
      {u"6, 1, 7601, 17514", u"0.0.0.0"},
      {u"6,1,7601,17514", u"0.0.0.0"},
      {u"1.2(beta)", u"1.0.0.0"},
      {u"$10.1", u"16.1.0.0"},
      {u"70000.1", u"4464.1.0.0"},
      {u"-1", u"65535.0.0.0"},
      {u"+7.-2", u"7.65534.0.0"},
      {u"0x1F.X1f.x10.$ffff", u"31.31.16.65535"},
      {u"$FFFFFFFF", u"65535.0.0.0"},
      {u"$123456789", u"0.0.0.0"},  // nine hexadecimal digits
      {u"$", u"0.0.0.0"},
      {u"0x", u"0.0.0.0"},
      {u"2147483647.2147483648", u"65535.0.0.0"},
      {u"-2147483648.-2147483649", u"0.0.0.0"},
      {u"02003.00001.02600.02180", u"2003.1.2600.2180"},
      {u"1..3", u"1.0.3.0"},
      {u"1.2 .3", u"1.2.0.0"},
      {u"\"1 2\".3", u"0.3.0.0"},       // the quoted blank does not end the text
      {u"1.\"2.3\".4", u"1.0.4.0"},     // nor does a quoted full stop end a part
      {u"\"1.2", u"0.0.0.0"},           // an unclosed quote swallows the full stop
      {u"1.2\t", u"1.0.0.0"},
      {u"\xFF11.2", u"0.2.0.0"},        // a full-width digit is no digit
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ToUtf8(Parsed(row.text).ToString()), ToUtf8(row.printed)) << "text: " << ToUtf8(row.text);
  }
}

TEST(VersionText, ReadsNumbersInBothNotations) {
  struct Row {
    std::u16string piece;
    std::int32_t value;
  };
  const Row rows[] = {
      {u"0", 0},           {u"42", 42},          {u"  42", 42},       {u"42 ", 0},
      {u"+42", 42},        {u"-42", -42},        {u" -42", -42},      {u"- 42", 0},
      {u"$7fffffff", 2147483647}, {u"$80000000", -2147483647 - 1},    {u"-$10", -16},
      {u"0X1a", 26},       {u"x", 0},            {u"", 0},            {u"--1", 0},
      {u"1e3", 0},         {u"2147483648", 0},   {u"-2147483648", -2147483647 - 1},
      {u"99999999999999999999", 0},
  };
  for (const Row& row : rows) EXPECT_EQ(ReadVersionNumber(row.piece), row.value) << "piece: " << ToUtf8(row.piece);
}

TEST(VersionText, HexFormIsFixedWidthAndEmptyForZero) {
  struct Row {
    std::u16string text;
    std::u16string hex;
  };
  const Row rows[] = {
      {u"10.0.10240.16405", u"000A000028004015"},
      {u"6.1.7601.17514", u"000600011DB1446A"},
      {u"0.0.0.0", u""},
      {u"", u""},
      {u"0.0.0.1", u"0000000000000001"},
      {u"65535.65535.65535.65535", u"FFFFFFFFFFFFFFFF"},
  };
  for (const Row& row : rows) EXPECT_EQ(ToUtf8(Parsed(row.text).ToHex()), ToUtf8(row.hex)) << ToUtf8(row.text);
}

TEST(VersionText, ComparesByItsHexForm) {
  struct Row {
    std::u16string lower;
    std::u16string higher;
  };
  const Row ordered[] = {
      {u"6.1.7600.16385", u"6.1.7601.17514"},
      {u"9.9.9.9", u"10.0.0.0"},
      {u"0.0.0.0", u"0.0.0.1"},
      {u"", u"0.0.1"},
      {u"1.65535", u"2"},
      {u"5.2.3790.0", u"6.0.6000.16386"},
  };
  for (const Row& row : ordered) {
    EXPECT_LT(CompareVersions(Parsed(row.lower), Parsed(row.higher)), 0) << ToUtf8(row.lower) << " < " << ToUtf8(row.higher);
    EXPECT_GT(CompareVersions(Parsed(row.higher), Parsed(row.lower)), 0) << ToUtf8(row.higher) << " > " << ToUtf8(row.lower);
  }
  EXPECT_TRUE(Parsed(u"1.2") == Parsed(u"1.2.0.0"));
  EXPECT_TRUE(Parsed(u"") == Parsed(u"garbage"));
}

TEST(FileVersion, PicksTheGreaterTextOfTheResource) {
  FakePlatform machine;
  ScopedPlatform use(machine);
  struct Row {
    std::u16string path;
    std::u16string product;
    std::u16string file;
    std::u16string expected;
  };
  const Row rows[] = {
      {u"C:\\A\\lib.dll", u"10.0.0.1", u"9.0.0.1", u"9.0.0.1"},  // texts, not numbers
      {u"C:\\A\\lib.dll", u"2.0", u"1.0", u"2.0"},
      {u"C:\\A\\lib.dll", u"6.1.7601.17514", u"6.1.7601.17514 (win7sp1_rtm.101119-1850)",
       u"6.1.7601.17514 (win7sp1_rtm.101119-1850)"},
      {u"C:\\A\\lib.dll", u"", u"1.0", u"1.0"},
      {u"C:\\A\\lib.dll", u"1.0", u"", u"1.0"},
      {u"C:\\A\\corpol.dll", u"0.9", u"02003.00001.02600.02180", u"0.9"},
      {u"C:\\A\\corpol.dll", u"5.0", u"02003.00001.02600.02180", u"5.0"},
      {u"C:\\A\\corpol.dll", u"0.9", u"02003.00001.02600.02181", u"02003.00001.02600.02181"},
      {u"C:\\A\\Corpol.dll", u"0.9", u"02003.00001.02600.02180", u"02003.00001.02600.02180"},
      {u"C:\\A\\mycorpol.dll", u"0.9", u"02003.00001.02600.02180", u"02003.00001.02600.02180"},
  };
  for (const Row& row : rows) {
    machine.AddFile(row.path, "MZ");
    machine.SetVersionStrings(row.path, {row.product, row.file});
    EXPECT_EQ(ToUtf8(FileVersionText(row.path)), ToUtf8(row.expected))
        << ToUtf8(row.path) << " product " << ToUtf8(row.product) << " file " << ToUtf8(row.file);
    machine.Remove(row.path);
  }
}

TEST(FileVersion, IsEmptyWithoutAFile) {
  FakePlatform machine;
  ScopedPlatform use(machine);
  machine.AddDirectory(u"C:\\Dir.dll");
  machine.SetVersionStrings(u"C:\\Dir.dll", {u"1.0", u"1.0"});
  machine.AddFile(u"C:\\plain.dll", "MZ");
  for (const std::u16string path : {u"", u"C:\\Dir.dll", u"C:\\missing.dll", u"C:\\plain.dll"}) {
    EXPECT_EQ(ToUtf8(FileVersionText(path)), "") << ToUtf8(path);
  }
}

}  // namespace
