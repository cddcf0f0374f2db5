// The identification against the Windows version that the prefix reports. The expected
// reference version comes from the test's registration, one per prefix version.
#include <gtest/gtest.h>

#include <cstdlib>

#include "errors.h"
#include "os_info.h"
#include "startup_steps.h"

namespace {

TEST(SystemIdentificationOnWindows, GivesTheReferenceVersionOfTheReportedRelease) {
  InitSystemModules();
  if (const char* expected = std::getenv("KORVEL_EXPECT_REFERENCE")) {
    EXPECT_EQ(ToUtf8(CurrentOS().Version.ToString()), expected)
        << "row " << int(CurrentOS().OSIndex) << " level " << int(CurrentOS().SPIndex);
  } else {
    // The shared prefix reports whatever version it was made with; Wine's are all known ones.
    EXPECT_NE(ToUtf8(CurrentOS().Version.ToHex()), "") << ToUtf8(CurrentOS().Version.ToString());
  }
  // The 64-bit test program runs on a 64-bit system.
  EXPECT_EQ(ToUtf8(CurrentOS().ArchName()), "x64");
  EXPECT_FALSE(IsWow64());
  if (const char* language = std::getenv("KORVEL_EXPECT_LANGUAGE")) {
    EXPECT_EQ(UserLanguage().LanguageID, std::atoi(language));
  }
  FinishSystemModules();
}

}  // namespace
