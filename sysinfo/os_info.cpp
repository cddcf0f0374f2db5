#include "os_info.h"

#include <array>
#include <memory>
#include <stdexcept>

#include "platform.h"

namespace {

// One row per release; the columns are service-pack levels 0 to 4 and "any other level".
using Row = std::array<const char16_t*, 6>;

constexpr Row kNotIdentified{u"0.0.0.0", u"0.0.0.0", u"0.0.0.0", u"0.0.0.0", u"0.0.0.0", u"0.0.0.0"};
constexpr Row kWin2000{u"5.0.2195.0", u"5.0.2195.1600", u"5.0.2195.2778", u"5.0.2195.5400", u"5.0.2195.6688",
                       u"5.0.2195.0"};
constexpr Row kWinXP{u"5.1.2600.0", u"5.1.2600.1106", u"5.1.2600.2108", u"5.1.2600.5512", u"5.1.2600.0",
                     u"5.1.2600.0"};
constexpr Row kVista{u"6.0.6000.16386", u"6.0.6001.18000", u"6.0.6002.18005", u"6.0.6000.0", u"6.0.6000.0",
                     u"6.0.6000.0"};
constexpr Row kWin7{u"6.1.7600.16385", u"6.1.7601.17514", u"6.1.7600.0", u"6.1.7600.0", u"6.1.7600.0",
                    u"6.1.7600.0"};
constexpr Row kWin8{u"6.2.9200.16384", u"6.2.9200.16384", u"6.2.9200.16384", u"6.2.9200.16384", u"6.2.9200.16384",
                    u"6.2.9200.16384"};
constexpr Row kWin81{u"6.3.9600.16384", u"6.3.9600.16384", u"6.3.9600.16384", u"6.3.9600.16384", u"6.3.9600.16384",
                     u"6.3.9600.16384"};
constexpr Row kWin10{u"10.0.10240.16405", u"10.0.10240.16405", u"10.0.10240.16405", u"10.0.10240.16405",
                     u"10.0.10240.16405", u"10.0.10240.16405"};
// Build 3790 of version 5.2 came as two products whose service packs carry different revisions.
constexpr Row k3790First{u"5.2.3790.0", u"5.2.3790.1180", u"5.2.3790.0", u"5.2.3790.0", u"5.2.3790.0",
                         u"5.2.3790.0"};
constexpr Row k3790Second{u"5.2.3790.0", u"5.2.3790.1218", u"5.2.3790.3959", u"5.2.3790.0", u"5.2.3790.0",
                          u"5.2.3790.0"};

// Rows 10 to 13 are the server editions of rows 3 to 6 and carry the same versions.
constexpr std::array<const Row*, 14> kTable{&kNotIdentified, &kWin2000, &kWinXP, &kVista,  &kWin7,
                                            &kWin8,          &kWin81,   &kWin10, &k3790First, &k3790Second,
                                            &kVista,         &kWin7,    &kWin8,  &kWin81};

std::unique_ptr<TEmulatedOS> currentOS;
std::unique_ptr<TLanguageInfo> userLanguage;

}  // namespace

std::u16string ReferenceVersionText(std::uint8_t index, std::uint8_t sp) {
  if (index >= kTable.size()) return u"0.0.0.0";
  return (*kTable[index])[sp < 5 ? sp : 5];
}

std::u16string TEmulatedOS::ArchName() const {
  switch (Architecture) {
    case 0:
    case 18: return u"x86";
    case 6: return u"IA64";
    case 9: return u"x64";
    default: return u"Unbekannt";
  }
}

void TEmulatedOS::SetOS(std::uint8_t index, int sp) {
  OSIndex = index;
  SPIndex = static_cast<std::uint8_t>(sp);
  TVersion cell;
  cell.Parse(ReferenceVersionText(OSIndex, SPIndex));
  Version.Parse(cell.ToString());
}

void TEmulatedOS::Identify(int major, int minor, int build, int n, bool server) {
  if (major == 5 && minor == 0) {
    if (n < 1600) SetOS(1, 0);
    else if (n < 2778) SetOS(1, 1);
    else if (n < 5400) SetOS(1, 2);
    else if (n < 6688) SetOS(1, 3);
    else if (n < 10000) SetOS(1, 4);
  } else if (major == 5 && minor == 1) {
    if (n < 1106) SetOS(2, 0);
    else if (n < 2108) SetOS(2, 1);
    else if (n < 5512) SetOS(2, 2);
    else if (n < 10000) SetOS(2, 3);
  } else if (major == 5 && minor == 2) {
    if (build == 3790) {
      if (n < 1180) SetOS(8, 0);
      else if (n < 1218) SetOS(8, 1);
      else if (n < 3959) SetOS(9, 1);
      else if (n < 10000) SetOS(9, 2);
    }
  } else if (major == 5) {
    // another 5.x: not a release Korvel knows
  } else if (major == 6) {
    // Service packs of 6.x raise the build number by one each.
    const auto level = [build](int rtm) { return build == rtm + 1 ? 1 : build == rtm + 2 ? 2 : 0; };
    if (minor == 0) SetOS(server ? 10 : 3, level(6000));
    else if (minor == 1) SetOS(server ? 11 : 4, level(7600));
    else if (minor == 2) SetOS(server ? 12 : 5, level(9200));
    else if (minor == 3 && build > 9400) SetOS(server ? 13 : 6, 0);
  } else if (major == 10) {
    SetOS(7, 0);
  } else {
    SetOS(0, -1);
  }
  // The service-pack number, when that is what n is, decides the level within the row chosen.
  if (n < 6) SetOS(OSIndex, n);
}

void TLanguageInfo::LoadLocale(std::uint32_t locale) {
  const std::u16string text = Platform::Current().LocaleDefaultLanguage(locale);
  if (text.empty()) return;
  LanguageID = ReadVersionNumber(u"$" + text);
}

void IdentifySystem(TEmulatedOS& os, TLanguageInfo& language) {
  Platform& platform = Platform::Current();
  const std::uint8_t architecture = platform.NativeProcessorArchitecture();
  const SystemVersion version = platform.QuerySystemVersion();
  language.LoadLocale(kUserDefaultLocale);
  os.Identify(static_cast<int>(version.Major), static_cast<int>(version.Minor), static_cast<int>(version.Build),
              static_cast<int>(version.ServicePackMajor), version.ProductType != 1);
  os.Architecture = architecture;
}

const TEmulatedOS& CurrentOS() {
  if (!currentOS) throw std::logic_error("CurrentOS is used outside start-up and exit");
  return *currentOS;
}

const TLanguageInfo& UserLanguage() {
  if (!userLanguage) throw std::logic_error("UserLanguage is used outside start-up and exit");
  return *userLanguage;
}

void InitOSInfo() {
  auto os = std::make_unique<TEmulatedOS>();
  auto language = std::make_unique<TLanguageInfo>();
  IdentifySystem(*os, *language);
  currentOS = std::move(os);
  userLanguage = std::move(language);
}

void FinishOSInfo() {
  currentOS.reset();
  userLanguage.reset();
}
