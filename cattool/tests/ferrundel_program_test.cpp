// Ferrundel.exe itself, started as a child process: its console output byte for byte, and
// its verdicts from the system's own trust services on files signed at build time.
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "child_process.h"
#include "trust_library.h"

namespace {

const std::string kBanner = "Ferrundel (c) 2026 Korvel-Projekt\r\n";
const std::string kUsage =
    ">> Nicht genug Parameter\r\n"
    ">> /add, /del und /verify gefolgt vom absoluten Dateipfad\r\n";
const std::string kSucceeded = ">> Erfolgreich!\r\n";
const std::string kSigned = ">> Datei ist Digital Signiert\r\n";
const std::string kNotSigned = ">> Datei ist NICHT Digital Signiert!\r\n";

std::wstring Fixtures() { return TestProgramDirectory() + L"fixtures\\"; }
std::wstring Tool() { return Fixtures() + L"Ferrundel.exe"; }

std::string Narrow(const std::wstring& text) {
  std::string ascii;
  for (wchar_t c : text) ascii += c < 0x80 ? static_cast<char>(c) : '?';
  return ascii;
}

// The report of one run: banner, the given lines, the empty line.
std::string Report(const std::string& lines) { return kBanner + lines + "\r\n"; }

std::string RunTool(const std::wstring& arguments) {
  const ChildResult result = RunChild(Tool(), arguments);
  EXPECT_TRUE(result.started) << Narrow(arguments);
  EXPECT_EQ(result.exitCode, 0u) << Narrow(arguments);
  return result.output;
}

bool RunningOnWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(FerrundelProgram, AnswersEachCommandLineWithItsReportAndExitCodeZero) {
  ASSERT_EQ(GetACP(), 1252u) << "the test runs for a German user";
  struct Row {
    std::wstring arguments;
    std::string output;
  };
  const std::wstring missing = Fixtures() + L"no such file.exe";
  const Row rows[] = {
      {L"", Report(kUsage)},
      {L"/add", Report(kUsage)},
      {L"/verify", Report(kUsage)},
      {L"\"\" /del", Report(kUsage)},
      {L"-verify x", Report("")},
      {L"/verifyx x", Report("")},
      {L"/VERIFY \"" + missing + L"\"", Report(kNotSigned)},
      {L"/verify \"" + missing + L"\" /add", Report(kNotSigned)},
      {L"/Add \"C:\\no such dir\\a b.cat\"", Report(">> Fehlgeschlagen: C:\\no such dir\\a b.cat\r\n")},
      {L"/add \"C:\\no such dir\\a b.cat\" third", Report(">> Fehlgeschlagen: C:\\no such dir\\a b.cat\r\n")},
      // Without quotes only the first word is the path.
      {L"/add C:\\no such dir\\a b.cat", Report(">> Fehlgeschlagen: C:\\no\r\n")},
      {L"/add \"\" C:\\no\\x.cat", Report(">> Fehlgeschlagen: C:\\no\\x.cat\r\n")},
      // The path comes back in Windows-1252, with "?" for what it cannot show.
      {L"/add C:\\\x00e4\x00df\\\x0d15\x0d3e.cat", Report(">> Fehlgeschlagen: C:\\\xe4\xdf\\??.cat\r\n")},
      {L"/add C:\\\x0142\x2215x.cat", Report(">> Fehlgeschlagen: C:\\??x.cat\r\n")},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(RunTool(row.arguments), row.output) << Narrow(row.arguments);
  }
}

// The test root in the machine's trusted root store, for the lifetime of the object.
class TrustedTestRoot {
public:
  TrustedTestRoot() {
    std::ifstream in(std::filesystem::path(Fixtures() + L"root.cer"), std::ios::binary);
    const std::vector<char> der{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    store_ = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (store_ && !der.empty()) {
      CertAddEncodedCertificateToStore(store_, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                       static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, &root_);
    }
  }
  ~TrustedTestRoot() {
    if (root_) CertDeleteCertificateFromStore(root_);  // frees the context too
    if (store_) CertCloseStore(store_, 0);
  }
  TrustedTestRoot(const TrustedTestRoot&) = delete;
  TrustedTestRoot& operator=(const TrustedTestRoot&) = delete;
  bool installed() const { return root_ != nullptr; }

private:
  HCERTSTORE store_ = nullptr;
  PCCERT_CONTEXT root_ = nullptr;
};

TEST(FerrundelProgram, TrustsAnEmbeddedSignatureOnlyWhenItsRootIsTrustedAndTheImageIntact) {
  const std::wstring signedProgram = L"/verify \"" + Fixtures() + L"signed.exe\"";
  // Windows refuses a signature whose root it does not trust; Wine 8's Authenticode policy
  // accepts any root, so there the check depends on the image digest alone.
  EXPECT_EQ(RunTool(signedProgram), Report(RunningOnWine() ? kSigned : kNotSigned)) << "root not trusted yet";

  TrustedTestRoot root;
  ASSERT_TRUE(root.installed());
  struct Row {
    const wchar_t* file;
    std::string line;
  };
  const Row rows[] = {
      {L"signed.exe", kSigned},
      {L"unsigned.exe", kNotSigned},
      {L"tampered.exe", kNotSigned},
      {L"unlisted.txt", kNotSigned},
      {L"listed.txt", kNotSigned},  // no catalog in the database lists it yet
  };
  for (const Row& row : rows) {
    EXPECT_EQ(RunTool(L"/verify \"" + Fixtures() + row.file + L"\""), Report(row.line)) << Narrow(row.file);
  }
}

// Asks the database for the path of the catalog that lists `member`, once with an empty
// CATALOG_INFO and once with its size field set: Wine refuses the empty record, which is why
// the tool announces the size.
void ExpectCatalogPathNeedsTheRecordSize(const std::wstring& member) {
  BindTrustLibrary();
  const TrustEntryPoints& t = BoundTrustEntryPoints();
  ASSERT_NE(t.CryptCATAdminAcquireContext, nullptr);
  HCATADMIN admin = nullptr;
  ASSERT_TRUE(t.CryptCATAdminAcquireContext(&admin, nullptr, 0));
  BYTE hash[20];
  DWORD size = sizeof(hash);
  HANDLE file = CreateFileW(member.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  const BOOL hashed = t.CryptCATAdminCalcHashFromFileHandle(file, &size, hash, 0);
  CloseHandle(file);
  HCATINFO catalog = hashed ? t.CryptCATAdminEnumCatalogFromHash(admin, hash, size, 0, nullptr) : nullptr;
  EXPECT_NE(catalog, nullptr);
  if (catalog) {
    CATALOG_INFO empty{};
    const BOOL emptyAccepted = t.CryptCATCatalogInfoFromContext(catalog, &empty, 0);
    if (RunningOnWine()) {
      EXPECT_FALSE(emptyAccepted);
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    CATALOG_INFO sized{};
    sized.cbStruct = sizeof(sized);
    EXPECT_TRUE(t.CryptCATCatalogInfoFromContext(catalog, &sized, 0));
    EXPECT_NE(std::wstring(sized.wszCatalogFile).find(L"ferrundel-test.cat"), std::wstring::npos);
    t.CryptCATAdminReleaseCatalogContext(admin, catalog, 0);
  }
  t.CryptCATAdminReleaseContext(admin, 0);
  ReleaseTrustLibrary();
}

TEST(FerrundelProgram, AddsACatalogThatThenVouchesForItsMembersAndRemovesItByName) {
  TrustedTestRoot root;
  ASSERT_TRUE(root.installed());
  const std::wstring catalog = Fixtures() + L"ferrundel-test.cat";
  const std::wstring listed = L"/verify \"" + Fixtures() + L"listed.txt\"";
  const std::wstring unlisted = L"/verify \"" + Fixtures() + L"unlisted.txt\"";
  RunTool(L"/del ferrundel-test.cat");  // whatever an earlier, interrupted run left behind

  EXPECT_EQ(RunTool(L"/add \"" + catalog + L"\""), Report(kSucceeded));
  // listed.txt carries no signature of its own: only the catalog can vouch for it.
  EXPECT_EQ(RunTool(listed), Report(kSigned));
  EXPECT_EQ(RunTool(unlisted), Report(kNotSigned));
  EXPECT_EQ(RunTool(L"/verify \"" + Fixtures() + L"signed.exe\""), Report(kSigned));

  ExpectCatalogPathNeedsTheRecordSize(Fixtures() + L"listed.txt");

  // Removed by the name it has in the database, whatever directory stands in front.
  EXPECT_EQ(RunTool(L"/DEL \"C:\\Some Other Place\\ferrundel-test.cat\""), Report(kSucceeded));
  EXPECT_EQ(RunTool(listed), Report(kNotSigned));

  // A name the database does not hold: Windows refuses the removal; Wine 8 reports success.
  EXPECT_EQ(RunTool(L"/del ferrundel-test.cat"), Report(RunningOnWine() ? kSucceeded : ">> Fehlgeschlagen\r\n"));
}

TEST(FerrundelProgram, RefusesCatalogsTheDatabaseCannotTake) {
  const std::wstring missing = Fixtures() + L"missing.cat";
  EXPECT_EQ(RunTool(L"/add \"" + missing + L"\""), Report(">> Fehlgeschlagen: " + Narrow(missing) + "\r\n"));

  // A file that is no catalog: Windows refuses it; Wine 8 copies anything into its database.
  const std::wstring text = Fixtures() + L"unlisted.txt";
  EXPECT_EQ(RunTool(L"/add \"" + text + L"\""),
            Report(RunningOnWine() ? kSucceeded : ">> Fehlgeschlagen: " + Narrow(text) + "\r\n"));
  // Whatever the database holds, a file nothing vouches for stays unsigned.
  EXPECT_EQ(RunTool(L"/verify \"" + text + L"\""), Report(kNotSigned));
  RunTool(L"/del unlisted.txt");
}

// Makes Wine prefer a native wintrust.dll for programs named Ferrundel.exe while it lives,
// the way a search that includes the program's folder would find the planted one; without
// it Wine takes its built-in library whatever the search. Windows ignores the key.
class NativeWintrustFirst {
public:
  NativeWintrustFirst() {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr) == 0) {
      const wchar_t value[] = L"native,builtin";
      RegSetValueExW(key_, L"wintrust", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof(value));
    }
  }
  ~NativeWintrustFirst() {
    if (key_) {
      RegDeleteValueW(key_, L"wintrust");
      RegCloseKey(key_);
    }
  }
  NativeWintrustFirst(const NativeWintrustFirst&) = delete;
  NativeWintrustFirst& operator=(const NativeWintrustFirst&) = delete;

private:
  static constexpr const wchar_t* kKey = L"Software\\Wine\\AppDefaults\\Ferrundel.exe\\DllOverrides";
  HKEY key_ = nullptr;
};

TEST(FerrundelProgram, NeverLoadsAWintrustDllPlantedBesideIt) {
  NativeWintrustFirst nativeFirst;
  const std::wstring planted = Fixtures() + L"planted\\Ferrundel.exe";
  const std::wstring unsignedProgram = L"/verify \"" + Fixtures() + L"unsigned.exe\"";
  const ChildResult result = RunChild(planted, unsignedProgram);
  ASSERT_TRUE(result.started);
  EXPECT_EQ(result.output, Report(kNotSigned));
  const ChildResult add = RunChild(planted, L"/add C:\\no\\such.cat");
  EXPECT_EQ(add.output, Report(">> Fehlgeschlagen: C:\\no\\such.cat\r\n"));
}

}  // namespace
