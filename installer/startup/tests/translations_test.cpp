#include "translations.h"

#include "loader_fixture.h"
#include "package_loader.h"
#include "settings.h"

namespace {

class TranslationsTest : public LoaderTest {
protected:
  void SetUp() override {
    LoaderTest::SetUp();
    InitLoadScreenModule();
    machine.AddFile(u"C:\\Setup\\s.exe", "x");
    for (const char* id : {"vc", "dx", "net"}) {
      const std::string group = std::string(id) == "net" ? "Frameworks" : "Laufzeit";
      AddText(u"C:\\Setup\\" + FromUtf8(id) + u"\\package.xml",
              "<package id=\"" + std::string(id) + "\" name=\"" + id + "\" group=\"" + group + "\" desc=\"old\">"
              "<install><cmd path=\"C:\\Setup\\s.exe\"/><cmd path=\"C:\\Setup\\s.exe\"/></install></package>");
      LoadPackage(u"C:\\Setup\\" + FromUtf8(id) + u"\\package.xml", lists);
    }
  }
  void TearDown() override { FinalizeLoadScreenModule(); }

  void Translation(const std::string& file, const std::string& root, const std::string& body) {
    AddText(u"C:\\Setup\\translation\\" + FromUtf8(file), "<" + root + ">" + body + "</translation>");
  }
  std::u16string Desc(const ListView& view, const std::u16string& id) {
    for (int i = 0; i < view.Count(); ++i)
      if (view.Row(i).Id() == id) return view.Row(i).Desc();
    return u"?";
  }
};

TEST_F(TranslationsTest, AppliesOnlyFilesOfExactlyTheUsersLanguageAndType) {
  // The user's language is German (Germany), 1031.
  const struct {
    std::string root;
    bool applies;
  } rows[] = {
      {"translation type=\"translation\" lcid=\"1031\"", true},
      {"translation TYPE=\"translation\" LCID=\"1031\"", true},
      {"translation type=\"Translation\" lcid=\"1031\"", false},
      {"translation type=\"translation\" lcid=\"0x407\"", false},
      {"translation type=\"translation\" lcid=\"1033\"", false},
      {"translation type=\"translation\" lcid=\" 1031\"", false},
      {"translation lcid=\"1031\"", false},
  };
  for (const auto& row : rows) {
    MessageTable().SetDefaults();
    Translation("t.xml", row.root, "<messages><item id=\"msg_inst\" value=\"Install\"/></messages>");
    LoadTranslations(lists);
    EXPECT_EQ(MessageTable().Text(MessageKey::Inst), row.applies ? u"Install" : u"Installieren") << row.root;
    EXPECT_EQ(lists.InstallCaption(), MessageTable().Text(MessageKey::Inst)) << row.root;
  }
}

TEST_F(TranslationsTest, ReplacesMessagesByKeyInAnyCaseAndKeepsEmptyValuesOut) {
  Translation("de.xml", "translation type=\"translation\" lcid=\"1031\"",
              "<Messages><item id=\"MSG_PAUSE\" value=\"Halt\"/><item id=\"msg_fin\" value=\"\"/>"
              "<ITEM id=\"msg_err\" value=\"Problem\"/><other id=\"msg_all\" value=\"Jedes\"/>"
              "<item id=\"msg_nothing\" value=\"x\"/><item value=\"y\"/></Messages>"
              "<messages><item id=\"msg_all\" value=\"ignored: only the first messages element counts\"/></messages>");
  LoadTranslations(lists);
  EXPECT_EQ(MessageTable().Text(MessageKey::Pause), u"Halt");
  EXPECT_EQ(MessageTable().Text(MessageKey::Fin), u"Fertig");
  EXPECT_EQ(MessageTable().Text(MessageKey::Err), u"Problem");
  EXPECT_EQ(MessageTable().Text(MessageKey::All), u"Alle");
  EXPECT_EQ(lists.ChkAllCaption(), u"Alle");
  EXPECT_EQ(lists.PauseCaption(), u"Halt");
  EXPECT_EQ(lists.InstallCaption(), u"Installieren");
}

TEST_F(TranslationsTest, DescribesRowsAndRenamesSharedGroupsInBothViews) {
  Translation("de.xml", "translation type=\"translation\" lcid=\"1031\"",
              "<components><item id=\"VC\" group=\"Runtimes\">Visual C++</item>"
              "<item id=\"net\" group=\"Net\"></item><item id=\"unknown\" group=\"Ghost\">nobody</item></components>");
  LoadTranslations(lists);
  EXPECT_EQ(Desc(lists.InstallList, u"vc"), u"Visual C++");
  EXPECT_EQ(Desc(lists.InstallListDetail, u"vc"), u"Visual C++");
  EXPECT_EQ(Desc(lists.InstallListDetail, u"net"), u"old");
  EXPECT_EQ(Desc(lists.InstallList, u"dx"), u"old");
  for (const ListView* view : {&lists.InstallList, &lists.InstallListDetail}) {
    EXPECT_EQ(view->GroupHeader(0), u"Runtimes");  // dx shares it
    EXPECT_EQ(view->GroupHeader(1), u"Net");
    EXPECT_EQ(view->GroupCount(), 2);
  }
}

TEST_F(TranslationsTest, ALaterFileWinsAndCaptionsDefaultToTheGermanTexts) {
  LoadTranslations(lists);  // no folder yet
  EXPECT_EQ(lists.ChkAllCaption(), u"Alle");
  EXPECT_EQ(lists.PauseCaption(), u"Pause");
  Translation("a.xml", "translation type=\"translation\" lcid=\"1031\"", "<messages><item id=\"msg_pause\" value=\"Erste\"/></messages>");
  Translation("b.xml", "translation type=\"translation\" lcid=\"1031\"", "<messages><item id=\"msg_pause\" value=\"Zweite\"/></messages>");
  machine.AddFile(u"C:\\Setup\\translation\\c.xml", "");
  machine.AddFile(u"C:\\Setup\\translation\\d.txt", "<translation type=\"translation\" lcid=\"1031\"><messages><item id=\"msg_pause\" value=\"txt\"/></messages></translation>");
  machine.AddFile(u"C:\\Setup\\translation\\sub\\e.xml", "<translation type=\"translation\" lcid=\"1031\"><messages><item id=\"msg_pause\" value=\"sub\"/></messages></translation>");
  LoadTranslations(lists);
  EXPECT_EQ(lists.PauseCaption(), u"Zweite");
}

}  // namespace
