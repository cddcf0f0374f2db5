// Which Windows release the installer runs on, as a fixed reference version per release and
// service pack, and the user's language.
#pragma once

#include <cstdint>
#include <string>

#include "version.h"

class TEmulatedOS {
public:
  // The reference version of the identified system; 0.0.0.0 while nothing is identified.
  TVersion Version;
  // Row of the reference table, 0 to 13; 0 is not identified.
  std::uint8_t OSIndex = 0;
  // Processor architecture code of the native system; 255 until identified.
  std::uint8_t Architecture = 255;
  // Service-pack level choosing the column; 255 is not identified.
  std::uint8_t SPIndex = 0;

  // "x86" (codes 0 and 18), "IA64" (6), "x64" (9), "Unbekannt" for every other code.
  std::u16string ArchName() const;
  // Selects row index and level sp (0 to 255, -1 for not identified, stored as 255) and sets
  // Version from that table cell. Rows above 13 give 0.0.0.0.
  void SetOS(std::uint8_t index, int sp);
  // Chooses row and level from the version the system reports. n is the service-pack number
  // (below 6) or a build revision. Systems it does not recognise leave row, level and Version
  // as they were, apart from unknown major versions, which give row 0.
  void Identify(int major, int minor, int build, int n, bool server);
};

// The reference version text of a table cell: row index, level sp (255 and anything above 4
// choose the last column).
std::u16string ReferenceVersionText(std::uint8_t index, std::uint8_t sp);

class TLanguageInfo {
public:
  // Language identifier of the locale; 0 until filled.
  std::int32_t LanguageID = 0;
  // Fills LanguageID from the locale's default language, a hexadecimal text such as "0407"
  // (1031). An empty or unreadable text leaves it as it is.
  void LoadLocale(std::uint32_t locale);
};

// LOCALE_USER_DEFAULT.
constexpr std::uint32_t kUserDefaultLocale = 0x400;

// Identifies the running system into os and the user's language into language.
void IdentifySystem(TEmulatedOS& os, TLanguageInfo& language);

// The process-wide descriptions, valid between InitOSInfo and FinishOSInfo; asking for them
// outside that time raises std::logic_error.
const TEmulatedOS& CurrentOS();
const TLanguageInfo& UserLanguage();
// Start-up step: creates CurrentOS and UserLanguage and identifies the running system.
void InitOSInfo();
// Frees them again at exit.
void FinishOSInfo();
