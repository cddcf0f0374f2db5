#include "package_loader.h"

#include "loader_fixture.h"

namespace {

using PackageLoaderTest = LoaderTest;

std::vector<std::u16string> Paths(const ListView& view) {
  std::vector<std::u16string> out;
  for (int i = 0; i < view.Count(); ++i) out.push_back(view.Row(i).Path());
  return out;
}

TEST(ReplaceIgnoringCase, FindsEveryOccurrenceInAnyCaseOnce) {
  FakePlatform machine;
  ScopedPlatform scoped(machine);
  const struct {
    std::u16string text, pattern, replacement, expected;
  } rows[] = {
      {u"%App%\\x;%APP%\\y", u"%app%\\", u"C:\\A\\", u"C:\\A\\x;C:\\A\\y"},
      {u"%app%%app%", u"%app%", u"%app%", u"%app%%app%"},  // the replacement is not searched again
      {u"aaa", u"aa", u"b", u"ba"},
      {u"%ÄRGER%", u"%ärger%", u"x", u"x"},
      {u"short", u"longer pattern", u"x", u"short"},
      {u"text", u"", u"x", u"text"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(ToUtf8(ReplaceIgnoringCase(row.text, row.pattern, row.replacement)), ToUtf8(row.expected)) << ToUtf8(row.text);
}

// The path as written is lowered before environment references are expanded and before the
// package's directory (as discovery spelled it) is put in front; placeholders are part of the
// written text and so end up lowered too.
TEST_F(PackageLoaderTest, RewritesPlaceholdersInTheirOrderAndLowersPaths) {
  machine.AddFile(u"C:\\mine\\setup.exe", "x");
  machine.AddFile(u"C:\\Setup\\Tools\\x.exe", "x");
  machine.AddFile(u"C:\\Setup\\pkg\\sub\\x64.msi", "x");
  machine.AddFile(u"C:\\Setup\\pkg\\Local.exe", "x");
  AddText(u"C:\\Setup\\pkg\\package.xml",
          "<package id=\"p\" name=\"P\">\r\n"
          "<variable name=\"app\" value=\"C:\\Mine\"/>\r\n"
          "<install>\r\n"
          "<cmd name=\"var\" path=\"%app%\\setup.exe\"/>\r\n"
          "<cmd name=\"dir\" path=\"%Package%\\sub\\%ARCH%.msi\"/>\r\n"
          "<cmd name=\"rel\" path=\"Local.EXE\"/>\r\n"
          "</install></package>");
  AddText(u"C:\\Setup\\other\\package.xml",
          "<package id=\"o\" name=\"O\"><install><cmd path=\"%App%\\Tools\\x.exe\"/></install></package>");
  LoadPackage(u"C:\\Setup\\pkg\\package.xml", lists);
  LoadPackage(u"C:\\Setup\\other\\package.xml", lists);
  EXPECT_EQ(Paths(lists.InstallListDetail),
            (std::vector<std::u16string>{u"c:\\mine\\setup.exe", u"c:\\setup\\pkg\\sub\\x64.msi",
                                         u"C:\\Setup\\pkg\\local.exe", u"c:\\setup\\tools\\x.exe"}));
}

TEST_F(PackageLoaderTest, LeavesAnAppReferenceWithoutBackslashToTheEnvironment) {
  machine.AddFile(u"C:\\Env\\x.exe", "x");
  AddText(u"C:\\Setup\\a\\package.xml", "<package id=\"a\" name=\"A\"><install><cmd path=\"%app%x.exe\"/></install></package>");
  LoadPackage(u"C:\\Setup\\a\\package.xml", lists);
  EXPECT_EQ(lists.InstallListDetail.Count(), 0);  // %app% is no variable of this machine
  machine.SetEnvironment(u"app", u"C:\\Env\\");
  LoadPackage(u"C:\\Setup\\a\\package.xml", lists);
  EXPECT_EQ(Paths(lists.InstallListDetail), (std::vector<std::u16string>{u"C:\\Env\\x.exe"}));
}

TEST_F(PackageLoaderTest, ProgramFilesPointAtTheNativeFolderUnderWow64) {
  machine.AddFile(u"C:\\Program Files\\Tool\\t.exe", "x");
  machine.AddFile(u"C:\\Program Files (x86)\\Tool\\t.exe", "x");
  AddText(u"C:\\Setup\\t\\package.xml",
          "<package id=\"t\" name=\"T\"><install><cmd path=\"%ProgramFiles%\\Tool\\t.exe\"/></install></package>");
  LoadPackage(u"C:\\Setup\\t\\package.xml", lists);
  machine.Wow64 = true;
  LoadPackage(u"C:\\Setup\\t\\package.xml", lists);
  EXPECT_EQ(Paths(lists.InstallListDetail),
            (std::vector<std::u16string>{u"C:\\Program Files (x86)\\tool\\t.exe", u"C:\\Program Files\\tool\\t.exe"}));
}

TEST_F(PackageLoaderTest, ListsCommandsForTheirArchitectureOnly) {
  machine.AddFile(u"C:\\Setup\\a\\s.exe", "x");
  AddText(u"C:\\Setup\\a\\package.xml",
          "<package id=\"a\" name=\"A\"><install>"
          "<cmd name=\"x64\" arch=\"x64\" path=\"s.exe\"/><cmd name=\"X64\" arch=\"X64\" path=\"s.exe\"/>"
          "<cmd name=\"x86\" arch=\"x86\" path=\"s.exe\"/><cmd name=\"any\" arch=\"*\" path=\"s.exe\"/>"
          "<cmd name=\"none\" path=\"s.exe\"/><cmd name=\"missing\" path=\"gone.exe\"/>"
          "<cmd name=\"dir\" path=\"C:\\Setup\\a\"/></install></package>");
  LoadPackage(u"C:\\Setup\\a\\package.xml", lists);
  EXPECT_EQ(Column(lists.InstallListDetail, SubItem::Name), (std::vector<std::u16string>{u"x64", u"X64", u"any", u"none"}));
}

TEST_F(PackageLoaderTest, FillsBothViewsWithTheDocumentedColumns) {
  machine.AddFile(u"C:\\Setup\\r\\one.exe", "x");
  machine.AddFile(u"C:\\Setup\\r\\two.msi", "x");
  AddText(u"C:\\Setup\\r\\package.xml",
          "<Package ID=\"vc\" name=\"Runtime\" group=\"Laufzeit\" desc=\"C++\" prereq=\"base\">"
          "<Install><CMD path=\"one.exe\" param=\"/q /norestart\" debug=\"1\"/>"
          "<cmd name=\"Second\" path=\"two.msi\" debug=\"YES\"/></Install></Package>");
  LoadPackage(u"C:\\Setup\\r\\package.xml", lists);
  ASSERT_EQ(lists.InstallListDetail.Count(), 2);
  ASSERT_EQ(lists.InstallList.Count(), 1);
  const ListRow& first = lists.InstallListDetail.Row(0);
  EXPECT_EQ(first.Caption, u"50;Laufzeit;vc");
  EXPECT_EQ(first.Group, 0);
  EXPECT_EQ(first.SubItems, (std::array<std::u16string, kSubItemCount>{u"Runtime", u"vc", u"C:\\Setup\\r\\one.exe",
                                                                      u"/q /norestart", u"C++", u"base", u"1"}));
  EXPECT_EQ(lists.InstallListDetail.Row(1).Name(), u"Second");
  EXPECT_EQ(lists.InstallListDetail.Row(1).Debug(), u"yes");
  const ListRow& main = lists.InstallList.Row(0);
  EXPECT_EQ(main.Caption, first.Caption);
  EXPECT_EQ(main.SubItems, first.SubItems);  // the command that created it
  EXPECT_TRUE(main.Checked);
  EXPECT_EQ(lists.InstallList.GroupHeader(0), u"Laufzeit");
}

TEST_F(PackageLoaderTest, ChecksOnlyWhenCheckedIsExactlyOne) {
  machine.AddFile(u"C:\\Setup\\s.exe", "x");
  const struct {
    std::string attribute;
    bool expected;
  } rows[] = {{"", true}, {" checked=\"1\"", true}, {" checked=\"0\"", false}, {" checked=\"yes\"", false},
              {" checked=\"\"", false}, {" checked=\"true\"", false}, {" checked=\"01\"", false}};
  int n = 0;
  for (const auto& row : rows) {
    SelectionLists fresh;
    const std::u16string file = u"C:\\Setup\\c" + FromUtf8(std::to_string(n++)) + u"\\package.xml";
    AddText(file, "<package id=\"c\" name=\"C\"" + row.attribute + "><install><cmd path=\"C:\\Setup\\s.exe\"/></install></package>");
    LoadPackage(file, fresh);
    ASSERT_EQ(fresh.InstallListDetail.Count(), 1) << row.attribute;
    EXPECT_EQ(fresh.InstallListDetail.Checked(0), row.expected) << row.attribute;
    EXPECT_EQ(fresh.InstallList.Checked(0), row.expected) << row.attribute;
  }
}

TEST_F(PackageLoaderTest, OnlyTheLastInstallElementCounts) {
  machine.AddFile(u"C:\\Setup\\p\\a.exe", "x");
  machine.AddFile(u"C:\\Setup\\p\\b.exe", "x");
  AddText(u"C:\\Setup\\p\\package.xml",
          "<package id=\"p\" name=\"P\"><install><cmd name=\"first\" path=\"a.exe\"/></install>"
          "<install><cmd name=\"second\" path=\"b.exe\"/></install></package>");
  LoadPackage(u"C:\\Setup\\p\\package.xml", lists);
  EXPECT_EQ(Column(lists.InstallListDetail, SubItem::Name), (std::vector<std::u16string>{u"second"}));
}

TEST_F(PackageLoaderTest, ASecondPackageWithTheSameNameGivesDetailRowsOnly) {
  machine.AddFile(u"C:\\Setup\\s.exe", "x");
  AddText(u"C:\\Setup\\a\\package.xml", "<package id=\"a\" name=\"Runtime\"><install><cmd path=\"C:\\Setup\\s.exe\"/></install></package>");
  AddText(u"C:\\Setup\\b\\package.xml", "<package id=\"b\" name=\"RUNTIME\"><install><cmd path=\"C:\\Setup\\s.exe\"/></install></package>");
  LoadPackage(u"C:\\Setup\\a\\package.xml", lists);
  LoadPackage(u"C:\\Setup\\b\\package.xml", lists);
  EXPECT_EQ(Column(lists.InstallListDetail, SubItem::Id), (std::vector<std::u16string>{u"a", u"b"}));
  EXPECT_EQ(Column(lists.InstallList, SubItem::Id), (std::vector<std::u16string>{u"a"}));
}

TEST_F(PackageLoaderTest, StopsAtTheFirstFailingCheckWithoutShowingLaterOnes) {
  machine.AddFile(u"C:\\Setup\\s.exe", "x");
  AddText(u"C:\\Setup\\a\\package.xml",
          "<package id=\"a\" name=\"A\"><check type=\"file\" condition=\"exist\" path=\"C:\\nothing.dll\"/>"
          "<check type=\"os\" condition=\">=\" value=\"5.0\" debug=\"1\"/>"
          "<install><cmd path=\"C:\\Setup\\s.exe\"/></install></package>");
  AddText(u"C:\\Setup\\b\\package.xml",
          "<package id=\"b\" name=\"B\"><install><cmd path=\"C:\\Setup\\s.exe\">"
          "<check type=\"os\" condition=\"==\" value=\"5.0\"/><check type=\"os\" condition=\">=\" value=\"5.0\" debug=\"1\"/>"
          "</cmd></install></package>");
  LoadPackage(u"C:\\Setup\\a\\package.xml", lists);
  LoadPackage(u"C:\\Setup\\b\\package.xml", lists);
  EXPECT_EQ(lists.InstallListDetail.Count(), 0);
  EXPECT_TRUE(machine.Messages.empty());
}

TEST_F(PackageLoaderTest, AnUnreadableDigestFailsItsCheckAndLoadingGoesOn) {
  machine.AddFile(u"C:\\Setup\\s.exe", "x");
  machine.AddFile(u"C:\\Setup\\locked.dll", "x");
  machine.LockForWriting(u"C:\\Setup\\locked.dll");
  AddText(u"C:\\Setup\\a\\package.xml",
          "<package id=\"a\" name=\"A\"><install>"
          "<cmd name=\"md5\" path=\"C:\\Setup\\s.exe\"><check type=\"file\" condition=\"md5\" path=\"C:\\Setup\\locked.dll\" value=\"00\"/></cmd>"
          "<cmd name=\"next\" path=\"C:\\Setup\\s.exe\"/></install></package>");
  RunOptions.DebugMode = true;
  LoadPackage(u"C:\\Setup\\a\\package.xml", lists);
  EXPECT_EQ(Column(lists.InstallListDetail, SubItem::Name), (std::vector<std::u16string>{u"next"}));
  ASSERT_EQ(machine.Messages.size(), 1u);
  EXPECT_NE(machine.Messages[0].Text.find(u"locked.dll"), std::u16string::npos) << ToUtf8(machine.Messages[0].Text);
  EXPECT_EQ(machine.Messages[0].Caption, u"Korvel");
}

TEST_F(PackageLoaderTest, FilesThatNameNothingAddNothing) {
  machine.AddFile(u"C:\\Setup\\s.exe", "x");
  AddText(u"C:\\Setup\\blank\\package.xml", "   \r\n  ");
  AddText(u"C:\\Setup\\decl\\package.xml",
          "<?xml version=\"1.0\"?><package id=\"d\" name=\"D\"><install><cmd path=\"C:\\Setup\\s.exe\"/></install></package>");
  AddText(u"C:\\Setup\\noinstall\\package.xml", "<package id=\"n\" name=\"N\"><cmd path=\"C:\\Setup\\s.exe\"/></package>");
  AddText(u"C:\\Setup\\locked\\package.xml", "<package id=\"l\" name=\"L\"><install><cmd path=\"C:\\Setup\\s.exe\"/></install></package>");
  machine.LockForWriting(u"C:\\Setup\\locked\\package.xml");
  for (const char16_t* file : {u"C:\\Setup\\missing\\package.xml", u"C:\\Setup\\blank\\package.xml", u"C:\\Setup\\decl\\package.xml",
                               u"C:\\Setup\\noinstall\\package.xml", u"C:\\Setup\\locked\\package.xml"})
    LoadPackage(file, lists);
  EXPECT_EQ(lists.InstallListDetail.Count(), 0);
  EXPECT_EQ(lists.InstallList.Count(), 0);
}

TEST_F(PackageLoaderTest, LoadedPrerequisitesAreCheckedAsTheRowsArrive) {
  machine.AddFile(u"C:\\Setup\\s.exe", "x");
  AddText(u"C:\\Setup\\b\\package.xml", "<package id=\"b\" name=\"B\" checked=\"0\"><install><cmd path=\"C:\\Setup\\s.exe\"/></install></package>");
  AddText(u"C:\\Setup\\a\\package.xml", "<package id=\"a\" name=\"A\" prereq=\"b\"><install><cmd path=\"C:\\Setup\\s.exe\"/></install></package>");
  LoadPackage(u"C:\\Setup\\b\\package.xml", lists);
  LoadPackage(u"C:\\Setup\\a\\package.xml", lists);
  lists.InstallListDetail.SortByCaption();
  lists.InstallList.SortByCaption();
  lists.InstallListDetailItemChecked(-1);
  EXPECT_EQ(Column(lists.InstallList, SubItem::Id), (std::vector<std::u16string>{u"a", u"b"}));
  EXPECT_TRUE(lists.InstallList.Checked(0));
  EXPECT_TRUE(lists.InstallList.Checked(1));
  EXPECT_TRUE(lists.InstallListDetail.Checked(1));
  EXPECT_TRUE(lists.InstallEnabled());
}

TEST_F(PackageLoaderTest, PrioritiesSortAsText) {
  machine.AddFile(u"C:\\Setup\\s.exe", "x");
  AddText(u"C:\\Setup\\a\\package.xml", "<package id=\"a\" name=\"A\"><install><cmd path=\"C:\\Setup\\s.exe\"/></install></package>");
  AddText(u"C:\\Setup\\b\\package.xml", "<package id=\"b\" name=\"B\" priority=\"100\"><install><cmd path=\"C:\\Setup\\s.exe\"/></install></package>");
  AddText(u"C:\\Setup\\c\\package.xml", "<package id=\"c\" name=\"C\" priority=\"9\"><install><cmd path=\"C:\\Setup\\s.exe\"/></install></package>");
  for (const char16_t* p : {u"a", u"b", u"c"}) LoadPackage(u"C:\\Setup\\" + std::u16string(p) + u"\\package.xml", lists);
  lists.InstallListDetail.SortByCaption();
  std::vector<std::u16string> captions;
  for (int i = 0; i < lists.InstallListDetail.Count(); ++i) captions.push_back(lists.InstallListDetail.Row(i).Caption);
  EXPECT_EQ(captions, (std::vector<std::u16string>{u"100;;b", u"50;;a", u"9;;c"}));
}

}  // namespace
