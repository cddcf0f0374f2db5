#include <gtest/gtest.h>

#include "errors.h"
#include "message_table.h"
#include "run_options.h"

namespace {

TEST(CountdownValue, FollowsTheNumberSyntaxAndKeepsTheLow16Bits) {
  const struct {
    std::u16string text;
    std::int16_t expected;  // with 7 as the previous countdown
  } rows[] = {
      {u"30", 30},          {u"$1E", 30},        {u"x1e", 30},         {u"X1E", 30},       {u"0x1E", 30},
      {u"0X1e", 30},        {u"  10", 10},       {u"+10", 10},         {u"-5", -5},        {u"-$A", -10},
      {u"0010", 10},        {u"70000", 4464},    {u"65535", -1},       {u"32768", -32768}, {u"2147483647", -1},
      {u"-2147483648", 0},  {u"-$80000000", 0},  {u"2147483648", 7},   {u"$80000000", 7},  {u"$FFFFFFFF", 7},
      {u"", 7},             {u" ", 7},           {u"10 ", 7},          {u"\t10", 7},       {u"1e1", 7},
      {u"$", 7},            {u"0x", 7},          {u"-", 7},            {u"+-1", 7},        {u"- 1", 7},
      {u"ten", 7},          {u"99999999999999999999", 7},              {u"$1G", 7},        {u"0x0x1", 7},
  };
  for (const auto& row : rows) EXPECT_EQ(CountdownFromText(row.text, 7), row.expected) << '"' << ToUtf8(row.text) << '"';
}

TEST(Switches, AreFoundInAnyCaseAndBetweenBlanksOnly) {
  const struct {
    std::vector<std::u16string> arguments;
    bool debug, silent;
  } rows[] = {
      {{u"C:\\Setup\\Korvel.exe"}, false, false},
      {{u"korvel.exe", u" /DEBUG ", u"/silent"}, true, true},
      {{u"korvel.exe", u"/Silent"}, false, true},
      {{u"korvel.exe", u"-silent", u"/silent:1", u"/debugx", u"/ debug"}, false, false},
      {{u"/debug"}, true, false},  // the program's own position is looked at too
      {{u"korvel.exe", u"\t/debug\r\n"}, true, false},
  };
  for (const auto& row : rows) {
    TRunOptions options;
    ReadSwitches(row.arguments, options);
    std::string joined;
    for (const auto& a : row.arguments) joined.append("[").append(ToUtf8(a)).append("]");
    EXPECT_EQ(options.DebugMode, row.debug) << joined;
    EXPECT_EQ(options.SilentMode, row.silent) << joined;
  }
}

TEST(RunOptionsRecord, StartsWithTheDocumentedValues) {
  const TRunOptions options;
  EXPECT_FALSE(options.DebugMode);
  EXPECT_FALSE(options.SilentMode);
  EXPECT_FALSE(options.RebootWhenFinish);
  EXPECT_EQ(options.CountdownSeconds, 30);
  EXPECT_EQ(DecimalText(-12), u"-12");
}

TEST(Messages, HaveGermanDefaultsAndAreReplacedByExactKey) {
  TMessageTable table;
  EXPECT_EQ(table.Text(MessageKey::Fin), u"");
  table.SetDefaults();
  const struct {
    MessageKey key;
    std::u16string name, text;
  } rows[] = {
      {MessageKey::All, u"msg_all", u"Alle"},
      {MessageKey::Pause, u"msg_pause", u"Pause"},
      {MessageKey::Inst, u"msg_inst", u"Installieren"},
      {MessageKey::Fin, u"msg_fin", u"Fertig"},
      {MessageKey::Err, u"msg_err", u"Fehler"},
      {MessageKey::ErrFailed, u"msg_err_failed", u"Fehlgeschlagen. Fehlercode:"},
      {MessageKey::ErrNoElements, u"msg_err_noelements", u"Alle Elemente sind schon aktuell!"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(table.Text(row.key), row.text) << ToUtf8(row.name);
    EXPECT_EQ(TMessageTable::KeyName(row.key), row.name);
  }
  EXPECT_TRUE(table.Replace(u"msg_inst", u"Install"));
  EXPECT_EQ(table.Text(MessageKey::Inst), u"Install");
  EXPECT_FALSE(table.Replace(u"MSG_FIN", u"Done"));  // callers lower the key first
  EXPECT_FALSE(table.Replace(u"msg_unknown", u"x"));
  EXPECT_EQ(table.Text(MessageKey::Fin), u"Fertig");
}

TEST(Messages, TheProcessTableIsFilledByItsInitialisation) {
  FinalizeMessageTable();
  EXPECT_EQ(MessageTable().Text(MessageKey::Err), u"");
  InitMessageTable();
  EXPECT_EQ(MessageTable().Text(MessageKey::Err), u"Fehler");
  FinalizeMessageTable();
}

}  // namespace
