#include "settings.h"

#include "XMLLibLite.h"
#include "loader_fixture.h"

namespace {

class SettingsTest : public LoaderTest {
protected:
  void TearDown() override { FinalizeLoadScreenModule(); }
  std::u16string Title() {
    TXMLNode* element = SettingsElement();
    return element == nullptr ? u"(none)" : element->Attributes.ValueOf(u"title", u"Korvel");
  }
};

TEST_F(SettingsTest, LooksForTheFileInItsFourPlacesInOrder) {
  EXPECT_EQ(SettingsCandidates(), (std::vector<std::u16string>{u"C:\\Setup\\Korvel.XML", u"C:\\Korvel.XML", u"C:\\Windows\\Korvel.XML",
                                                               u"C:\\Windows\\system32\\Korvel.XML"}));
  const struct {
    std::vector<std::pair<std::u16string, std::string>> files;
    std::u16string title;
  } rows[] = {
      {{}, u"(none)"},
      {{{u"C:\\Setup\\Korvel.XML", "<s title=\"program\"/>"}, {u"C:\\Korvel.XML", "<s title=\"drive\"/>"}}, u"program"},
      {{{u"C:\\Setup\\Korvel.XML", "   \r\n "}, {u"C:\\Korvel.XML", "<s title=\"drive\"/>"}}, u"drive"},
      {{{u"C:\\Windows\\Korvel.xml", "<s title=\"windows\"/>"}, {u"C:\\Windows\\system32\\Korvel.XML", "<s title=\"system\"/>"}}, u"windows"},
      {{{u"C:\\Windows\\System32\\korvel.xml", "<s title=\"system\"/>"}}, u"system"},
      {{{u"C:\\Setup\\Korvel.XML", "   "}}, u"(none)"},
  };
  int n = 0;
  for (const auto& row : rows) {
    FakePlatform fresh;
    fresh.SetEnvironment(u"systemdrive", u"C:");
    fresh.SetEnvironment(u"windir", u"C:\\Windows");
    ScopedPlatform use(fresh);
    StartSystemDescription();
    for (const auto& [path, text] : row.files) fresh.AddFile(path, text);
    InitLoadScreenModule();
    EXPECT_EQ(ToUtf8(Title()), ToUtf8(row.title)) << "row " << n;
    FinalizeLoadScreenModule();
    ++n;
  }
}

TEST_F(SettingsTest, ALockedCandidateIsPassedOver) {
  machine.AddFile(u"C:\\Setup\\Korvel.XML", "<s title=\"locked\"/>");
  machine.LockForWriting(u"C:\\Setup\\Korvel.XML");
  machine.AddFile(u"C:\\Korvel.XML", "<s title=\"drive\"/>");
  InitLoadScreenModule();
  EXPECT_EQ(Title(), u"drive");
}

TEST_F(SettingsTest, AnythingBeforeTheElementBecomesTheSettingsElement) {
  machine.AddFile(u"C:\\Setup\\Korvel.XML", "<?xml version=\"1.0\"?><settings title=\"mine\" RebootWhenFinish=\"1\"/>");
  InitLoadScreenModule();
  ASSERT_NE(SettingsElement(), nullptr);
  EXPECT_EQ(SettingsElement()->Kind, u"?");
  EXPECT_EQ(Title(), u"Korvel");
  EXPECT_FALSE(RunOptions.RebootWhenFinish);
}

TEST_F(SettingsTest, RestartsOnlyForExactlyOne) {
  const struct {
    std::string attribute;
    bool expected;
  } rows[] = {{"", false}, {" RebootWhenFinish=\"1\"", true}, {" rebootwhenfinish=\"1\"", true},
              {" RebootWhenFinish=\"true\"", false}, {" RebootWhenFinish=\"\"", false}, {" RebootWhenFinish=\"0\"", false}};
  for (const auto& row : rows) {
    RunOptions = TRunOptions{};
    machine.AddFile(u"C:\\Setup\\Korvel.XML", "<settings" + row.attribute + "/>");
    InitLoadScreenModule();
    EXPECT_EQ(RunOptions.RebootWhenFinish, row.expected) << row.attribute;
    FinalizeLoadScreenModule();
  }
}

TEST_F(SettingsTest, ReadsTheSwitchesFromTheCommandLine) {
  machine.SetArguments({u"C:\\Setup\\Korvel.exe", u" /DEBUG ", u"/silent"});
  InitLoadScreenModule();
  EXPECT_TRUE(RunOptions.DebugMode);
  EXPECT_TRUE(RunOptions.SilentMode);
  EXPECT_NO_THROW(TranslationDocument());
  FinalizeLoadScreenModule();
  EXPECT_EQ(SettingsElement(), nullptr);
  EXPECT_THROW(SettingsDocument(), std::logic_error);
}

}  // namespace
