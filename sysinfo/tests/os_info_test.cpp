#include <gtest/gtest.h>

#include "errors.h"
#include "fake_platform.h"
#include "os_info.h"

namespace {

struct IdentifyRow {
  const char* name;
  int major, minor, build, n;
  bool server;
  int row;
  int level;
  std::u16string version;
};

TEST(OperatingSystem, MapsEachReleaseToItsReferenceVersion) {
  const IdentifyRow rows[] = {
      {"2000", 5, 0, 2195, 0, false, 1, 0, u"5.0.2195.0"},
      {"2000 SP1", 5, 0, 2195, 1, false, 1, 1, u"5.0.2195.1600"},
      {"2000 SP2", 5, 0, 2195, 2, false, 1, 2, u"5.0.2195.2778"},
      {"2000 SP3", 5, 0, 2195, 3, false, 1, 3, u"5.0.2195.5400"},
      {"2000 SP4", 5, 0, 2195, 4, false, 1, 4, u"5.0.2195.6688"},
      {"2000 SP5", 5, 0, 2195, 5, false, 1, 5, u"5.0.2195.0"},
      {"XP", 5, 1, 2600, 0, false, 2, 0, u"5.1.2600.0"},
      {"XP SP1", 5, 1, 2600, 1, false, 2, 1, u"5.1.2600.1106"},
      {"XP SP2", 5, 1, 2600, 2, false, 2, 2, u"5.1.2600.2108"},
      {"XP SP3", 5, 1, 2600, 3, false, 2, 3, u"5.1.2600.5512"},
      {"XP SP4", 5, 1, 2600, 4, false, 2, 4, u"5.1.2600.0"},
      {"Server 2003", 5, 2, 3790, 0, true, 8, 0, u"5.2.3790.0"},
      {"Server 2003 SP1", 5, 2, 3790, 1, true, 8, 1, u"5.2.3790.1180"},
      {"Server 2003 SP2", 5, 2, 3790, 2, true, 8, 2, u"5.2.3790.0"},
      {"XP x64 SP2", 5, 2, 3790, 2, false, 8, 2, u"5.2.3790.0"},
      {"5.2 of another build", 5, 2, 3791, 2, false, 0, 2, u"0.0.0.0"},
      {"5.3", 5, 3, 3800, 0, false, 0, 0, u"0.0.0.0"},
      {"Vista", 6, 0, 6000, 0, false, 3, 0, u"6.0.6000.16386"},
      {"Vista SP1", 6, 0, 6001, 1, false, 3, 1, u"6.0.6001.18000"},
      {"Vista SP2", 6, 0, 6002, 2, false, 3, 2, u"6.0.6002.18005"},
      {"Server 2008 SP2", 6, 0, 6002, 2, true, 10, 2, u"6.0.6002.18005"},
      {"7", 6, 1, 7600, 0, false, 4, 0, u"6.1.7600.16385"},
      {"7 SP1", 6, 1, 7601, 1, false, 4, 1, u"6.1.7601.17514"},
      {"Server 2008 R2 SP1", 6, 1, 7601, 1, true, 11, 1, u"6.1.7601.17514"},
      {"7 SP2", 6, 1, 7602, 2, false, 4, 2, u"6.1.7600.0"},
      {"8", 6, 2, 9200, 0, false, 5, 0, u"6.2.9200.16384"},
      {"Server 2012", 6, 2, 9200, 0, true, 12, 0, u"6.2.9200.16384"},
      {"8.1", 6, 3, 9600, 0, false, 6, 0, u"6.3.9600.16384"},
      {"Server 2012 R2", 6, 3, 9600, 0, true, 13, 0, u"6.3.9600.16384"},
      {"6.3 of build 9400", 6, 3, 9400, 0, false, 0, 0, u"0.0.0.0"},
      {"6.4", 6, 4, 9800, 0, false, 0, 0, u"0.0.0.0"},
      {"10", 10, 0, 10240, 0, false, 7, 0, u"10.0.10240.16405"},
      {"10 22H2", 10, 0, 19045, 0, false, 7, 0, u"10.0.10240.16405"},
      {"11", 10, 0, 22000, 0, false, 7, 0, u"10.0.10240.16405"},
      {"Server 2022", 10, 0, 20348, 0, true, 7, 0, u"10.0.10240.16405"},
      {"major 4", 4, 0, 1381, 0, false, 0, 0, u"0.0.0.0"},
      {"major 7", 7, 0, 1, 0, false, 0, 0, u"0.0.0.0"},
      {"major 11", 11, 0, 30000, 0, false, 0, 0, u"0.0.0.0"},
      {"major 11 with revision", 11, 0, 30000, 100, false, 0, 255, u"0.0.0.0"},
  };
  for (const IdentifyRow& row : rows) {
    TEmulatedOS os;
    os.Identify(row.major, row.minor, row.build, row.n, row.server);
    EXPECT_EQ(os.OSIndex, row.row) << row.name;
    EXPECT_EQ(os.SPIndex, row.level) << row.name;
    EXPECT_EQ(ToUtf8(os.Version.ToString()), ToUtf8(row.version)) << row.name;
  }
}

TEST(OperatingSystem, ReadsBuildRevisionsAgainstTheThresholds) {
  // Where n is a build revision rather than a service-pack number, its value picks the level.
  const IdentifyRow rows[] = {
      {"2000 rev 1599", 5, 0, 2195, 1599, false, 1, 0, u"5.0.2195.0"},
      {"2000 rev 1600", 5, 0, 2195, 1600, false, 1, 1, u"5.0.2195.1600"},
      {"2000 rev 2777", 5, 0, 2195, 2777, false, 1, 1, u"5.0.2195.1600"},
      {"2000 rev 2778", 5, 0, 2195, 2778, false, 1, 2, u"5.0.2195.2778"},
      {"2000 rev 5399", 5, 0, 2195, 5399, false, 1, 2, u"5.0.2195.2778"},
      {"2000 rev 5400", 5, 0, 2195, 5400, false, 1, 3, u"5.0.2195.5400"},
      {"2000 rev 6687", 5, 0, 2195, 6687, false, 1, 3, u"5.0.2195.5400"},
      {"2000 rev 6688", 5, 0, 2195, 6688, false, 1, 4, u"5.0.2195.6688"},
      {"2000 rev 9999", 5, 0, 2195, 9999, false, 1, 4, u"5.0.2195.6688"},
      {"2000 rev 10000", 5, 0, 2195, 10000, false, 0, 0, u"0.0.0.0"},
      {"XP rev 1105", 5, 1, 2600, 1105, false, 2, 0, u"5.1.2600.0"},
      {"XP rev 1106", 5, 1, 2600, 1106, false, 2, 1, u"5.1.2600.1106"},
      {"XP rev 2107", 5, 1, 2600, 2107, false, 2, 1, u"5.1.2600.1106"},
      {"XP rev 2108", 5, 1, 2600, 2108, false, 2, 2, u"5.1.2600.2108"},
      {"XP rev 5511", 5, 1, 2600, 5511, false, 2, 2, u"5.1.2600.2108"},
      {"XP rev 5512", 5, 1, 2600, 5512, false, 2, 3, u"5.1.2600.5512"},
      {"XP rev 9999", 5, 1, 2600, 9999, false, 2, 3, u"5.1.2600.5512"},
      {"XP rev 10000", 5, 1, 2600, 10000, false, 0, 0, u"0.0.0.0"},
      {"2003 rev 1179", 5, 2, 3790, 1179, true, 8, 0, u"5.2.3790.0"},
      {"2003 rev 1180", 5, 2, 3790, 1180, true, 8, 1, u"5.2.3790.1180"},
      {"2003 rev 1217", 5, 2, 3790, 1217, true, 8, 1, u"5.2.3790.1180"},
      {"2003 rev 1218", 5, 2, 3790, 1218, true, 9, 1, u"5.2.3790.1218"},
      {"2003 rev 3958", 5, 2, 3790, 3958, true, 9, 1, u"5.2.3790.1218"},
      {"2003 rev 3959", 5, 2, 3790, 3959, true, 9, 2, u"5.2.3790.3959"},
      {"2003 rev 9999", 5, 2, 3790, 9999, true, 9, 2, u"5.2.3790.3959"},
      {"2003 rev 10000", 5, 2, 3790, 10000, true, 0, 0, u"0.0.0.0"},
      {"Vista with a revision", 6, 0, 6001, 18000, false, 3, 1, u"6.0.6001.18000"},
      {"Server 2008 R2 with a revision", 6, 1, 7602, 18000, true, 11, 2, u"6.1.7600.0"},
  };
  for (const IdentifyRow& row : rows) {
    TEmulatedOS os;
    os.Identify(row.major, row.minor, row.build, row.n, row.server);
    EXPECT_EQ(os.OSIndex, row.row) << row.name;
    EXPECT_EQ(os.SPIndex, row.level) << row.name;
    EXPECT_EQ(ToUtf8(os.Version.ToString()), ToUtf8(row.version)) << row.name;
  }
}

TEST(OperatingSystem, UnrecognisedSystemKeepsWhatWasIdentifiedBefore) {
  TEmulatedOS os;
  os.Identify(6, 1, 7601, 1, false);
  os.Identify(6, 3, 9200, 100, false);  // neither a 6.3 build it knows nor a service pack
  EXPECT_EQ(os.OSIndex, 4);
  EXPECT_EQ(os.SPIndex, 1);
  EXPECT_EQ(ToUtf8(os.Version.ToString()), "6.1.7601.17514");
}

TEST(OperatingSystem, TableCellsOutsideTheTableAreZero) {
  TEmulatedOS os;
  os.SetOS(14, 0);
  EXPECT_EQ(os.OSIndex, 14);
  EXPECT_EQ(ToUtf8(os.Version.ToHex()), "");
  os.SetOS(4, -1);
  EXPECT_EQ(os.SPIndex, 255);
  EXPECT_EQ(ToUtf8(os.Version.ToString()), "6.1.7600.0");
  os.SetOS(255, 1);
  EXPECT_EQ(ToUtf8(os.Version.ToString()), "0.0.0.0");
}

TEST(OperatingSystem, NamesTheArchitecture) {
  const std::pair<int, const char*> rows[] = {{0, "x86"},        {18, "x86"},       {6, "IA64"},
                                              {9, "x64"},        {5, "Unbekannt"},  {12, "Unbekannt"},
                                              {255, "Unbekannt"}, {1, "Unbekannt"}};
  for (const auto& [code, name] : rows) {
    TEmulatedOS os;
    os.Architecture = static_cast<std::uint8_t>(code);
    EXPECT_EQ(ToUtf8(os.ArchName()), name) << "code " << code;
  }
  EXPECT_EQ(ToUtf8(TEmulatedOS().ArchName()), "Unbekannt");
}

TEST(Language, ReadsTheDefaultLanguageAsHexadecimal) {
  const std::pair<std::u16string, int> rows[] = {
      {u"0407", 1031}, {u"0409", 1033}, {u"040c", 1036}, {u"040C", 1036}, {u"7f", 127},
      {u"", 0},        {u"zz", 0},      {u"04 07", 0},   {u"123456789", 0}};
  FakePlatform machine;
  ScopedPlatform use(machine);
  for (const auto& [text, id] : rows) {
    machine.DefaultLanguage = text;
    TLanguageInfo language;
    language.LoadLocale(kUserDefaultLocale);
    EXPECT_EQ(language.LanguageID, id) << "locale text \"" << ToUtf8(text) << "\"";
  }
}

TEST(SystemIdentification, UsesVersionArchitectureAndLocaleOfTheSystem) {
  struct Row {
    const char* name;
    SystemVersion version;
    std::uint8_t architecture;
    std::u16string language;
    std::u16string reference;
    const char* arch;
    int languageId;
  };
  const Row rows[] = {
      {"7 SP1 x64 German", {6, 1, 7601, 1, 1}, 9, u"0407", u"6.1.7601.17514", "x64", 1031},
      {"2008 R2 SP1", {6, 1, 7601, 1, 3}, 9, u"0409", u"6.1.7601.17514", "x64", 1033},
      {"XP x64 SP2", {5, 2, 3790, 2, 1}, 9, u"0409", u"5.2.3790.0", "x64", 1033},
      {"Server 2003 SP1 x86", {5, 2, 3790, 1, 2}, 0, u"0409", u"5.2.3790.1180", "x86", 1033},
      {"10 on ARM", {10, 0, 19045, 0, 1}, 12, u"", u"10.0.10240.16405", "Unbekannt", 0},
      {"Vista SP2 with failed extended query", {6, 0, 6002, 0, 0}, 6, u"0407", u"6.0.6000.16386", "IA64", 1031},
  };
  for (const Row& row : rows) {
    FakePlatform machine;
    ScopedPlatform use(machine);
    machine.Version = row.version;
    machine.Architecture = row.architecture;
    machine.DefaultLanguage = row.language;
    TEmulatedOS os;
    TLanguageInfo language;
    IdentifySystem(os, language);
    EXPECT_EQ(ToUtf8(os.Version.ToString()), ToUtf8(row.reference)) << row.name;
    EXPECT_EQ(ToUtf8(os.ArchName()), row.arch) << row.name;
    EXPECT_EQ(language.LanguageID, row.languageId) << row.name;
  }
}

}  // namespace
