// Comparison of names ignoring case, as the reader merges repeated attribute names: the quick
// answer for ASCII must agree with the system's lower case in every case.
#include <gtest/gtest.h>

#include <string>

#include "case_folding.h"
#include "errors.h"
#include "fake_platform.h"

namespace {

TEST(XmlCaseFolding, EqualAgreesWithTheSystemsLowerCase) {
  FakePlatform os;
  ScopedPlatform scope{os};
  struct Row {
    std::u16string A, B;
    bool Equal;
  };
  const Row rows[] = {
      {u"", u"", true},
      {u"id", u"id", true},
      {u"ID", u"id", true},
      {u"Priority", u"pRIORITY", true},
      {u"type", u"path", false},
      {u"name", u"Name ", false},
      {u"a-b", u"a_b", false},
      {u"@", u"`", false},             // 0x40 and 0x60 differ in one bit, like A and a
      {u"[x]", u"{x}", false},
      {u"Gr\u00F6\u00DFe", u"GR\u00D6\u00DFE", true},  // beyond ASCII: the system decides
      {u"x\u00D6", u"X\u00F6", true},
      {u"x\u00D6", u"y\u00F6", false},
      {u"\u00C4a", u"\u00E4b", false},
      {u"\u0130", u"i", false},        // capital I with dot: the system keeps it
  };
  for (const Row& row : rows) {
    xmllite::CaseFolder folder;
    const std::string label = ToUtf8(row.A) + " / " + ToUtf8(row.B);
    EXPECT_EQ(folder.Equal(row.A, row.B), row.Equal) << label;
    EXPECT_EQ(folder.Equal(row.B, row.A), row.Equal) << label;
    EXPECT_EQ(folder.Equal(row.A, row.B), os.LowerCase(row.A) == os.LowerCase(row.B)) << label;
  }
}

}  // namespace
