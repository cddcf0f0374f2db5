#include <gtest/gtest.h>

#include "error_code_hex.h"
#include "errors.h"
#include "install_run.h"

namespace {

struct ResultRow {
  std::uint32_t code;
  std::u16string expected;
};

TEST(ResultText, SuccessRebootAndFailureCodes) {
  const RunTexts texts;
  const ResultRow rows[] = {
      {0, u"Fertig"},
      {18, u"Fertig"},
      {3010, u"Fertig (Reboot required)"},
      {1, u"Fehlgeschlagen. Fehlercode: 1 (0x00000001)"},
      {1603, u"Fehlgeschlagen. Fehlercode: 1603 (0x00000643)"},
      {1641, u"Fehlgeschlagen. Fehlercode: 1641 (0x00000669)"},
      {3011, u"Fehlgeschlagen. Fehlercode: 3011 (0x00000BC3)"},
      {0xC0000005u, u"Fehlgeschlagen. Fehlercode: 3221225477 (0xC0000005)"},
      {0x80070002u, u"Fehlgeschlagen. Fehlercode: 2147942402 (0x80070002)"},
      {0xFFFFFFFFu, u"Fehlgeschlagen. Fehlercode: 4294967295 (0xFFFFFFFF)"},
  };
  for (const ResultRow& row : rows) {
    EXPECT_EQ(ToUtf8(GetResultText(row.code, texts)), ToUtf8(row.expected)) << "exit code " << row.code;
  }
}

TEST(ResultText, UsesTheTextsItIsGiven) {
  const RunTexts english{u"Done", u"Failed. Code:"};
  EXPECT_EQ(ToUtf8(GetResultText(0, english)), "Done");
  EXPECT_EQ(ToUtf8(GetResultText(3010, english)), "Done (Reboot required)");
  EXPECT_EQ(ToUtf8(GetResultText(5, english)), "Failed. Code: 5 (0x00000005)");
}

struct HexRow {
  std::uint32_t code;
  std::uint32_t lastError;
  std::u16string expected;
};

TEST(ErrorCodeHex, EightUpperCaseDigitsAndSystemErrorsAsResultCodes) {
  const HexRow rows[] = {
      {255, 0, u"000000FF"},
      {1603, 0, u"00000643"},
      {0xC0000005u, 0, u"C0000005"},
      {255, 2, u"000000FF"},  // a code of its own wins over the last error
      {0, 0, u"00000000"},
      {0, 2, u"80070002"},
      {0, 5, u"80070005"},
      {0, 0x12345, u"80072345"},  // only the low 16 bits of the error
  };
  for (const HexRow& row : rows) {
    EXPECT_EQ(ToUtf8(FormatErrorCodeHex(row.code, row.lastError)), ToUtf8(row.expected))
        << "code " << row.code << ", last error " << row.lastError;
  }
  EXPECT_EQ(ResultFromSystemError(2), 0x80070002u);
  EXPECT_EQ(ResultFromSystemError(0), 0u);
}

struct CommandRow {
  std::u16string path;
  std::u16string expected;
};

TEST(CommandFromPath, QuotesBlanksAndRoutesInstallerPackagesThroughMsiexec) {
  const CommandRow rows[] = {
      {u"C:\\Setup\\Tools\\setup.exe", u"C:\\Setup\\Tools\\setup.exe"},
      {u"C:\\Setup\\My Tools\\setup.exe", u"\"C:\\Setup\\My Tools\\setup.exe\""},
      {u"C:\\Setup\\vc.msi", u"msiexec.exe /i C:\\Setup\\vc.msi"},
      {u"C:\\Setup\\VC.MSI", u"msiexec.exe /i C:\\Setup\\VC.MSI"},
      {u"C:\\Setup\\vc.Msi", u"msiexec.exe /i C:\\Setup\\vc.Msi"},
      {u"C:\\My Setup\\vc.msi", u"msiexec.exe /i \"C:\\My Setup\\vc.msi\""},
      {u"C:\\Setup\\vc.msix", u"C:\\Setup\\vc.msix"},
      {u"C:\\Setup\\vc.msi.exe", u"C:\\Setup\\vc.msi.exe"},
      {u"C:\\Setup.msi\\setup", u"C:\\Setup.msi\\setup"},  // the extension is the last component's
      {u"C:\\Setup\\.msi", u"msiexec.exe /i C:\\Setup\\.msi"},
      {u"", u""},
  };
  for (const CommandRow& row : rows) {
    EXPECT_EQ(ToUtf8(BuildCommand(row.path)), ToUtf8(row.expected)) << "path " << ToUtf8(row.path);
  }
}

// Width of a text in a font where every letter is 6 pixels and a blank is blankWidth.
std::function<int(const std::u16string&)> Font(int blankWidth) {
  return [blankWidth](const std::u16string& text) {
    int width = 0;
    for (const char16_t c : text) width += c == u' ' ? blankWidth : 6;
    return width;
  };
}

TEST(PadCaption, FillsWithBlanksUpToTheStatusColumn) {
  // "Tool" + "t" is 30 pixels; 58 blanks of 4 pixels bring it to 262.
  const std::u16string padded = PadCaption(u"Tool", Font(4));
  EXPECT_EQ(padded, u"Tool" + std::u16string(58, u' ') + u"\t");
  EXPECT_GE(Font(4)(padded.substr(0, padded.size() - 1) + u"t"), StatusColumnWidth);
  // One blank fewer would still be short of the column.
  EXPECT_LT(Font(4)(padded.substr(0, padded.size() - 2) + u"t"), StatusColumnWidth);
}

TEST(PadCaption, AWideCaptionGetsOnlyTheTab) {
  const std::u16string wide(50, u'W');  // 306 pixels
  EXPECT_EQ(PadCaption(wide, Font(4)), wide + u"\t");
}

TEST(PadCaption, EndsWhenABlankMeasuresNothing) {
  EXPECT_EQ(PadCaption(u"Tool", Font(0)), u"Tool \t");
  EXPECT_EQ(PadCaption(u"", [](const std::u16string&) { return 0; }), u" \t");
}

}  // namespace
