#include "condition_check.h"

#include "XMLLibLite.h"
#include "loader_fixture.h"

namespace {

class ConditionCheckTest : public LoaderTest {
protected:
  // Evaluates the first element of markup.
  bool Check(const std::string& markup) {
    TXMLFile document;
    document.LoadFromText(FromUtf8(markup));
    return EvaluateCheck(document.Document.Children.Get(0));
  }
  void SetUp() override {
    LoaderTest::SetUp();
    machine.AddFile(u"C:\\lib\\one.dll", "abc");  // MD5 900150983CD24FB0D6963F7D28E17F72
    machine.SetVersionStrings(u"C:\\lib\\one.dll", {u"1.5.0.0", u"1.5.0.0"});
    machine.AddFile(u"C:\\lib\\zero.dll", "x");
    machine.SetVersionStrings(u"C:\\lib\\zero.dll", {u"0.0.0.0", u"0.0.0.0"});
    machine.AddFile(u"C:\\lib\\plain.txt", "x");
    machine.AddDirectory(u"C:\\lib\\folder");
    machine.SetEnvironment(u"libdir", u"C:\\lib");
  }
};

TEST_F(ConditionCheckTest, EvaluatesEachKindOfCheck) {
  // The machine is Windows 7 SP1 on x64.
  const struct {
    std::string markup;
    bool expected;
  } rows[] = {
      {"<check type=\"os\" condition=\"==\" value=\"*\"/>", true},
      {"<check type=\"os\" condition=\">=\" value=\"6.1\"/>", true},
      {"<check type=\"OS\" condition=\"<=\" value=\"6.1\"/>", false},
      {"<check type=\"os\" condition=\">\" value=\"6.0.6002\"/>", true},
      {"<check type=\"os\" condition=\"<\" value=\"6.2\"/>", true},
      {"<check type=\"os\" condition=\"==\" value=\"6.1\"/>", false},
      {"<check type=\"os\" condition=\">=\" value=\"10.0\"/>", false},
      {"<check type=\"file\" condition=\"exist\" path=\"C:\\lib\\one.dll\"/>", true},
      {"<check type=\"file\" condition=\"exist\" path=\"%LibDir%\\ONE.dll\"/>", true},
      {"<check type=\"file\" condition=\"exist\" path=\"C:\\lib\\folder\"/>", false},
      {"<check type=\"file\" condition=\"exist\" path=\"C:\\lib\\gone.dll\"/>", false},
      {"<check type=\"file\" condition=\"notexist\" path=\"C:\\lib\\gone.dll\"/>", true},
      {"<check type=\"file\" condition=\"NotExist\" path=\"C:\\lib\\one.dll\"/>", false},
      {"<check type=\"file\" condition=\"exist\" arch=\"x86\" path=\"C:\\lib\\gone.dll\"/>", true},
      {"<check type=\"file\" condition=\"exist\" arch=\"X64\" path=\"C:\\lib\\gone.dll\"/>", false},
      {"<check type=\"file\" condition=\"md5\" path=\"C:\\lib\\one.dll\" value=\"900150983cd24fb0d6963f7d28e17f72\"/>", true},
      {"<check type=\"file\" condition=\"md5\" path=\"C:\\lib\\one.dll\" value=\"900150983CD24FB0D6963F7D28E17F72\"/>", true},
      {"<check type=\"file\" condition=\"md5\" path=\"C:\\lib\\one.dll\" value=\"900150983CD24FB0D6963F7D28E17F73\"/>", false},
      {"<check type=\"file\" condition=\"md5\" path=\"C:\\lib\\gone.dll\" value=\"\"/>", false},
      {"<check type=\"file\" condition=\"<\" value=\"2.0\" path=\"C:\\lib\\one.dll\"/>", true},
      {"<check type=\"file\" condition=\"<\" value=\"2.0\" path=\"C:\\lib\\zero.dll\"/>", false},
      {"<check type=\"file\" condition=\"<\" value=\"2.0\" path=\"C:\\lib\\gone.dll\"/>", true},
      {"<check type=\"file\" condition=\">=\" value=\"0.0.0.0\" path=\"C:\\lib\\gone.dll\"/>", true},
      {"<check type=\"file\" condition=\">=\" value=\"0.0.0.0\" path=\"C:\\lib\\plain.txt\"/>", true},
      {"<check type=\"file\" condition=\">=\" value=\"0.0.0.0\" path=\"C:\\lib\\zero.dll\"/>", false},
      {"<check type=\"file\" condition=\"=\" value=\"0.0.0.0\" path=\"C:\\lib\\gone.dll\"/>", true},
      {"<check type=\"file\" condition=\">\" value=\"0.0.0.0\" path=\"C:\\lib\\gone.dll\"/>", false},
      {"<check type=\"file\" condition=\"=\" value=\"1.5\" path=\"C:\\lib\\one.dll\"/>", true},
      {"<check type=\"file\" condition=\"<=\" value=\"1.4.9\" path=\"C:\\lib\\one.dll\"/>", false},
      {"<check type=\"file\" condition=\"~\" value=\"1.5\" path=\"C:\\lib\\one.dll\"/>", false},
      {"<check type=\"registry\" condition=\"exist\" path=\"C:\\lib\\one.dll\"/>", false},
      {"<check condition=\"exist\" path=\"C:\\lib\\one.dll\"/>", false},
      {"<Check type=\"file\" condition=\"exist\" path=\"C:\\lib\\one.dll\"/>", true},
      {"<test type=\"file\" condition=\"exist\" path=\"C:\\lib\\one.dll\"/>", false},
  };
  for (const auto& row : rows) EXPECT_EQ(Check(row.markup), row.expected) << row.markup;
  EXPECT_FALSE(EvaluateCheck(nullptr));
}

TEST_F(ConditionCheckTest, ShowsWhatItComparedWhenAskedTo) {
  const struct {
    std::string markup;
    bool debugMode;
    std::u16string box;  // empty: none
  } rows[] = {
      {"<check type=\"os\" condition=\">=\" value=\"6.1\" debug=\"1\"/>", false, u"OS\r\nist: 6.1.7601.17514\r\nsoll: 6.1"},
      {"<check type=\"os\" condition=\">=\" value=\"6.1\" debug=\"yes\"/>", false, u"OS\r\nist: 6.1.7601.17514\r\nsoll: 6.1"},
      {"<check type=\"os\" condition=\">=\" value=\"6.1\" debug=\"0\"/>", true, u"OS\r\nist: 6.1.7601.17514\r\nsoll: 6.1"},
      {"<check type=\"os\" condition=\">=\" value=\"6.1\"/>", false, u""},
      {"<check type=\"os\" condition=\">=\" value=\"*\" debug=\"1\"/>", false, u""},
      {"<check type=\"file\" condition=\"<\" value=\"2.0\" path=\"C:\\LIB\\one.dll\" debug=\"1\"/>", false,
       u"c:\\lib\\one.dll\r\nist: 1.5.0.0\r\nsoll: 2.0"},
      {"<check type=\"file\" condition=\"<\" value=\"2.0\" path=\"C:\\lib\\zero.dll\"/>", true, u"c:\\lib\\zero.dll\r\nist: 0.0.0.0\r\nsoll: 2.0"},
      {"<check type=\"file\" condition=\"exist\" path=\"C:\\lib\\one.dll\" debug=\"1\"/>", true, u""},
      {"<check type=\"file\" condition=\"md5\" path=\"C:\\lib\\one.dll\" value=\"x\" debug=\"1\"/>", true, u""},
  };
  for (const auto& row : rows) {
    machine.Messages.clear();
    RunOptions.DebugMode = row.debugMode;
    Check(row.markup);
    if (row.box.empty()) {
      EXPECT_TRUE(machine.Messages.empty()) << row.markup;
      continue;
    }
    ASSERT_EQ(machine.Messages.size(), 1u) << row.markup;
    EXPECT_EQ(ToUtf8(machine.Messages[0].Text), ToUtf8(row.box)) << row.markup;
    EXPECT_EQ(machine.Messages[0].Caption, u"Korvel");
    EXPECT_EQ(machine.Messages[0].Style, 0u);
  }
}

TEST_F(ConditionCheckTest, ADigestThatCannotBeTakenFailsTheCheck) {
  machine.LockForWriting(u"C:\\lib\\one.dll");
  const std::string markup = "<check type=\"file\" condition=\"md5\" path=\"C:\\lib\\one.dll\" value=\"900150983cd24fb0d6963f7d28e17f72\"/>";
  EXPECT_FALSE(Check(markup));
  EXPECT_TRUE(machine.Messages.empty());
  RunOptions.DebugMode = true;
  EXPECT_FALSE(Check(markup));
  ASSERT_EQ(machine.Messages.size(), 1u);
  EXPECT_NE(machine.Messages[0].Text.find(u"EFOpenError"), std::u16string::npos) << ToUtf8(machine.Messages[0].Text);
}

}  // namespace
