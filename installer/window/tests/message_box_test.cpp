#include <gtest/gtest.h>

#include "fake_platform.h"
#include "message_box.h"

namespace {

using B = MessageButton;

TEST(MessageBoxStyle, CombinesTheKindsIconWithTheButtonSetsStyle) {
  struct Row {
    const char* name;
    std::uint8_t kind;
    MessageButtons buttons;
    std::uint32_t expected;
  };
  const Row rows[] = {
      {"warning, OK", 0, {B::OK}, 0x30},
      {"error, OK", 1, {B::OK}, 0x10},
      {"information, OK", 2, {B::OK}, 0x40},
      {"question, OK", 3, {B::OK}, 0x20},
      {"kind 4 has no icon", 4, {B::OK}, 0x00},
      {"kind 255 has no icon", 255, {B::OK}, 0x00},
      {"empty set is OK", 2, {}, 0x40},
      {"OK and Cancel", 2, {B::OK, B::Cancel}, 0x41},
      {"Yes and No", 3, {B::Yes, B::No}, 0x24},
      {"Yes, No and Cancel", 3, {B::Yes, B::No, B::Cancel}, 0x23},
      {"Retry and Cancel", 1, {B::Retry, B::Cancel}, 0x15},
      {"Abort and Retry", 1, {B::Abort, B::Retry}, 0x12},
      {"Yes alone falls back to OK", 0, {B::Yes}, 0x30},
      {"Cancel alone falls back to OK", 0, {B::Cancel}, 0x30},
  };
  for (const Row& row : rows) EXPECT_EQ(MessageBoxStyle(row.kind, row.buttons), row.expected) << row.name;
}

TEST(ShowMessageBox, PassesOwnerTextCaptionAndStyleToTheSystemBox) {
  FakePlatform fake;
  ScopedPlatform scope(fake);
  ShowMessageBox(u"Fehler", u"Alle Elemente sind schon aktuell!", kMessageInformation, {B::OK}, 0x1234);
  ASSERT_EQ(fake.Messages.size(), 1u);
  EXPECT_EQ(fake.Messages[0].Owner, 0x1234u);
  EXPECT_EQ(fake.Messages[0].Caption, u"Fehler");
  EXPECT_EQ(fake.Messages[0].Text, u"Alle Elemente sind schon aktuell!");
  EXPECT_EQ(fake.Messages[0].Style, 0x40u);
}

}  // namespace
