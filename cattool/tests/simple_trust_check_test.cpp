// The catalog and signature operations against a recording stand-in for wintrust.dll: which
// entry points run, in which order, with which values, and that every context is released.
#include "simple_trust_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "child_process.h"
#include "trust_records.h"

namespace {

HCATADMIN const kAdmin = reinterpret_cast<HCATADMIN>(static_cast<INT_PTR>(0xAD));
HCATINFO const kCatalog = reinterpret_cast<HCATINFO>(static_cast<INT_PTR>(0xCA));
HCATINFO const kAdded = reinterpret_cast<HCATINFO>(static_cast<INT_PTR>(0xDD));
const wchar_t kCatalogPath[] = L"C:\\Windows\\system32\\catroot\\{127D0A1D-4EF2-11D1-8608-00C04FC295EE}\\oem1.cat";

// What the stand-in answers and what it saw. One at a time, reached through a global:
// the entry points are plain functions.
struct FakeTrust {
  // Answers.
  bool acquireSucceeds = true;
  bool hashSucceeds = true;
  std::vector<BYTE> hash = std::vector<BYTE>(20, 0);
  DWORD reportedHashSize = 20;
  bool catalogListsFile = false;
  bool catalogInfoSucceeds = true;
  LONG verifyResult = 0;
  bool addSucceeds = true;
  bool removeSucceeds = true;
  std::wstring probePath;  // the member file, probed for still being open

  // Observations.
  std::vector<std::string> calls;
  int adminsOpen = 0;
  int catalogsOpen = 0;
  bool badArguments = false;
  std::string badArgument;
  DWORD hashSizeOnEntry = 0;
  DWORD hashSizeGivenToLookup = 0;
  std::vector<BYTE> hashGivenToLookup;
  bool fileStillOpenDuringLookup = false;
  std::wstring hashedPath;
  CATALOG_INFO catalogInfoOnEntry{};
  TrustData data{};
  GUID action{};
  HWND window = nullptr;
  TrustCatalogInfo catalogMember{};
  std::wstring catalogFile, memberTag, memberPath;
  WINTRUST_FILE_INFO fileInfo{};
  std::wstring filePath;
  std::wstring addedPath, addedName, removedName;

  void Bad(const char* what) {
    badArguments = true;
    badArgument += what;
    badArgument += ' ';
  }
};

FakeTrust* fake = nullptr;

BOOL WINAPI FakeAcquire(HCATADMIN* admin, const GUID* subsystem, DWORD flags) {
  fake->calls.push_back("Acquire");
  if (subsystem != nullptr || flags != 0) fake->Bad("acquire");
  if (!fake->acquireSucceeds) return FALSE;
  *admin = kAdmin;
  ++fake->adminsOpen;
  return TRUE;
}

BOOL WINAPI FakeRelease(HCATADMIN admin, DWORD flags) {
  fake->calls.push_back("ReleaseContext");
  if (admin != kAdmin || flags != 0) fake->Bad("release");
  if (fake->catalogsOpen != 0) fake->Bad("release-before-catalog");
  --fake->adminsOpen;
  return TRUE;
}

std::wstring PathOfHandle(HANDLE file) {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetFinalPathNameByHandleW(file, path, MAX_PATH, 0);
  return std::wstring(path, n < MAX_PATH ? n : 0);
}

BOOL WINAPI FakeHash(HANDLE file, DWORD* size, BYTE* hash, DWORD flags) {
  fake->calls.push_back("CalcHash");
  fake->hashSizeOnEntry = *size;
  fake->hashedPath = PathOfHandle(file);
  if (flags != 0) fake->Bad("hash");
  if (!fake->hashSucceeds) return FALSE;
  for (size_t i = 0; i < fake->hash.size() && i < *size; ++i) hash[i] = fake->hash[i];
  *size = fake->reportedHashSize;
  return TRUE;
}

HCATINFO WINAPI FakeEnum(HCATADMIN admin, BYTE* hash, DWORD size, DWORD flags, HCATINFO* previous) {
  fake->calls.push_back("EnumCatalog");
  if (admin != kAdmin || flags != 0 || previous != nullptr) fake->Bad("enum");
  fake->hashSizeGivenToLookup = size;
  fake->hashGivenToLookup.assign(hash, hash + size);
  // Opening without sharing succeeds only when nobody else holds the file open.
  HANDLE probe = CreateFileW(fake->probePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  fake->fileStillOpenDuringLookup = probe == INVALID_HANDLE_VALUE;
  if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
  if (!fake->catalogListsFile) return nullptr;
  ++fake->catalogsOpen;
  return kCatalog;
}

BOOL WINAPI FakeCatalogInfo(HCATINFO catalog, CATALOG_INFO* info, DWORD flags) {
  fake->calls.push_back("CatalogInfo");
  if (catalog != kCatalog || flags != 0) fake->Bad("info");
  fake->catalogInfoOnEntry = *info;
  if (!fake->catalogInfoSucceeds) return FALSE;
  wcscpy(info->wszCatalogFile, kCatalogPath);
  return TRUE;
}

BOOL WINAPI FakeReleaseCatalog(HCATADMIN admin, HCATINFO catalog, DWORD flags) {
  fake->calls.push_back("ReleaseCatalog");
  if (admin != kAdmin || (catalog != kCatalog && catalog != kAdded) || flags != 0) fake->Bad("release-catalog");
  --fake->catalogsOpen;
  return TRUE;
}

HCATINFO WINAPI FakeAdd(HCATADMIN admin, PWSTR file, PWSTR name, DWORD flags) {
  fake->calls.push_back("AddCatalog");
  if (admin != kAdmin || flags != 0) fake->Bad("add");
  fake->addedPath = file;
  fake->addedName = name;
  if (!fake->addSucceeds) return nullptr;
  ++fake->catalogsOpen;
  return kAdded;
}

BOOL WINAPI FakeRemove(HCATADMIN admin, LPCWSTR name, DWORD flags) {
  fake->calls.push_back("RemoveCatalog");
  if (admin != kAdmin || flags != 0) fake->Bad("remove");
  fake->removedName = name;
  return fake->removeSucceeds;
}

LONG WINAPI FakeVerify(HWND window, GUID* action, LPVOID data) {
  fake->calls.push_back("WinVerifyTrust");
  fake->window = window;
  fake->action = *action;
  std::memcpy(&fake->data, data, sizeof(TrustData));
  if (fake->data.dwUnionChoice == WTD_CHOICE_CATALOG) {
    std::memcpy(&fake->catalogMember, fake->data.pChoice, sizeof(TrustCatalogInfo));
    fake->catalogFile = fake->catalogMember.pcwszCatalogFilePath;
    fake->memberTag = fake->catalogMember.pcwszMemberTag;
    fake->memberPath = fake->catalogMember.pcwszMemberFilePath;
  } else if (fake->data.dwUnionChoice == WTD_CHOICE_FILE) {
    std::memcpy(&fake->fileInfo, fake->data.pChoice, sizeof(WINTRUST_FILE_INFO));
    fake->filePath = fake->fileInfo.pcwszFilePath;
  }
  return fake->verifyResult;
}

TrustEntryPoints FakeEntryPoints() {
  TrustEntryPoints t;
  t.CryptCATAdminAcquireContext = FakeAcquire;
  t.CryptCATAdminReleaseContext = FakeRelease;
  t.CryptCATAdminCalcHashFromFileHandle = FakeHash;
  t.CryptCATAdminEnumCatalogFromHash = FakeEnum;
  t.CryptCATCatalogInfoFromContext = FakeCatalogInfo;
  t.CryptCATAdminReleaseCatalogContext = FakeReleaseCatalog;
  t.CryptCATAdminAddCatalog = FakeAdd;
  t.CryptCATAdminRemoveCatalog = FakeRemove;
  t.WinVerifyTrust = FakeVerify;
  return t;
}

std::string Calls(const std::vector<std::string>& calls) {
  std::string text;
  for (const std::string& c : calls) text += (text.empty() ? "" : " ") + c;
  return text;
}

class TrustCheck : public testing::Test {
protected:
  void SetUp() override {
    fake = &trust;
    entryPoints = FakeEntryPoints();
    wchar_t directory[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    file = std::wstring(directory) + L"ferrundel-member-" + std::to_wstring(GetCurrentProcessId()) + L".bin";
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, "member", 6, &written, nullptr);
    CloseHandle(h);
    Reset();
  }
  // A fresh stand-in for the next case, with a recognisable hash.
  void Reset() {
    trust = FakeTrust();
    trust.probePath = file;
    for (size_t i = 0; i < trust.hash.size(); ++i) trust.hash[i] = static_cast<BYTE>(0x0F + 0x11 * i);
  }
  void TearDown() override {
    DeleteFileW(file.c_str());
    fake = nullptr;
  }
  // Every context handed out was given back.
  void ExpectBalanced() {
    EXPECT_EQ(trust.adminsOpen, 0) << Calls(trust.calls);
    EXPECT_EQ(trust.catalogsOpen, 0) << Calls(trust.calls);
    EXPECT_FALSE(trust.badArguments) << trust.badArgument;
  }

  FakeTrust trust;
  TrustEntryPoints entryPoints = FakeEntryPoints();
  std::wstring file;
};

TEST_F(TrustCheck, AMissingFileIsNotSignedAndTheTrustLibraryIsNotCalled) {
  for (const std::wstring& path : {file + L".missing", std::wstring(L""), std::wstring(L"C:\\no\\such\\dir\\f.exe")}) {
    EXPECT_FALSE(IsDigitallySigned(path, entryPoints));
  }
  wchar_t directory[MAX_PATH];
  GetTempPathW(MAX_PATH, directory);
  EXPECT_FALSE(IsDigitallySigned(directory, entryPoints)) << "a directory is no file";
  EXPECT_EQ(Calls(trust.calls), "");
}

TEST_F(TrustCheck, AFileNoCatalogListsIsJudgedByItsEmbeddedSignature) {
  EXPECT_TRUE(IsDigitallySigned(file, entryPoints));
  EXPECT_EQ(Calls(trust.calls), "Acquire CalcHash EnumCatalog WinVerifyTrust ReleaseContext");
  ExpectBalanced();

  EXPECT_EQ(trust.hashSizeOnEntry, 20u);
  EXPECT_EQ(trust.hashSizeGivenToLookup, 20u);
  EXPECT_EQ(trust.hashGivenToLookup, trust.hash);
  EXPECT_FALSE(trust.fileStillOpenDuringLookup) << "the file is closed once hashed";
  EXPECT_NE(trust.hashedPath.find(L"ferrundel-member-"), std::wstring::npos) << "the hash is taken of the file itself";

  EXPECT_EQ(trust.window, static_cast<HWND>(INVALID_HANDLE_VALUE));
  EXPECT_TRUE(IsEqualGUID(trust.action, kGenericVerifyV2));
  const TrustData& d = trust.data;
  EXPECT_EQ(d.cbStruct, sizeof(TrustData));
  EXPECT_EQ(d.pPolicyCallbackData, nullptr);
  EXPECT_EQ(d.pSIPClientData, nullptr);
  EXPECT_EQ(d.dwUIChoice, 2u);
  EXPECT_EQ(d.fdwRevocationChecks, 0u);
  EXPECT_EQ(d.dwUnionChoice, 1u);
  EXPECT_EQ(d.dwStateAction, 0u);
  EXPECT_EQ(d.hWVTStateData, nullptr);
  EXPECT_EQ(d.pwszURLReference, nullptr);
  EXPECT_EQ(d.dwProvFlags, 0u);
  EXPECT_EQ(d.dwUIContext, 0u);
  EXPECT_EQ(d.pSignatureSettings, nullptr);
  EXPECT_EQ(d.reserved[0] | d.reserved[1] | d.reserved[2], 0u);

  EXPECT_EQ(trust.fileInfo.cbStruct, sizeof(WINTRUST_FILE_INFO));
  EXPECT_EQ(trust.filePath, file);
  EXPECT_EQ(trust.fileInfo.hFile, nullptr);
  EXPECT_EQ(trust.fileInfo.pgKnownSubject, nullptr);
}

TEST_F(TrustCheck, AFileACatalogListsIsJudgedThroughThatCatalog) {
  trust.catalogListsFile = true;
  EXPECT_TRUE(IsDigitallySigned(file, entryPoints));
  EXPECT_EQ(Calls(trust.calls),
            "Acquire CalcHash EnumCatalog CatalogInfo WinVerifyTrust ReleaseCatalog ReleaseContext");
  ExpectBalanced();

  // The catalog path is asked for with a record that announces its size and is otherwise empty.
  EXPECT_EQ(trust.catalogInfoOnEntry.cbStruct, sizeof(CATALOG_INFO));
  EXPECT_EQ(trust.catalogInfoOnEntry.wszCatalogFile[0], L'\0');

  const TrustData& d = trust.data;
  EXPECT_EQ(d.cbStruct, sizeof(TrustData));
  EXPECT_EQ(d.dwUIChoice, 2u);
  EXPECT_EQ(d.fdwRevocationChecks, 0u);
  EXPECT_EQ(d.dwUnionChoice, 2u);
  EXPECT_EQ(d.dwStateAction, 0u);
  EXPECT_EQ(d.dwUIContext, 1u);
  EXPECT_EQ(d.dwProvFlags, 0u);
  EXPECT_EQ(trust.window, static_cast<HWND>(INVALID_HANDLE_VALUE));
  EXPECT_TRUE(IsEqualGUID(trust.action, kGenericVerifyV2));

  const TrustCatalogInfo& m = trust.catalogMember;
  EXPECT_EQ(m.cbStruct, offsetof(WINTRUST_CATALOG_INFO, hMemberFile) + sizeof(HANDLE)) << "the first form of the record";
  EXPECT_EQ(m.dwCatalogVersion, 0u);
  EXPECT_EQ(trust.catalogFile, kCatalogPath);
  EXPECT_EQ(trust.memberTag, L"0F2031425364758697A8B9CADBECFD0E1F304152");
  EXPECT_EQ(trust.memberPath, file);
  EXPECT_EQ(m.hMemberFile, nullptr);
  EXPECT_EQ(m.pbCalculatedFileHash, nullptr);
  EXPECT_EQ(m.cbCalculatedFileHash, 0u);
}

TEST_F(TrustCheck, TheAnswerOfWinVerifyTrustDecidesAndOnlyZeroMeansSigned) {
  struct Row {
    LONG result;
    bool catalog;
    bool expected;
  };
  const Row rows[] = {
      {0, false, true},
      {0, true, true},
      {static_cast<LONG>(TRUST_E_NOSIGNATURE), false, false},
      {static_cast<LONG>(TRUST_E_SUBJECT_NOT_TRUSTED), false, false},
      {static_cast<LONG>(CERT_E_UNTRUSTEDROOT), true, false},
      {static_cast<LONG>(TRUST_E_BAD_DIGEST), true, false},
      {1, false, false},
      {-1, true, false},
  };
  for (const Row& row : rows) {
    Reset();
    trust.verifyResult = row.result;
    trust.catalogListsFile = row.catalog;
    EXPECT_EQ(IsDigitallySigned(file, entryPoints), row.expected) << "result " << std::hex << row.result;
    ExpectBalanced();
  }
}

TEST_F(TrustCheck, AListedFileThatFailsItsCatalogCheckIsNotTriedAgainByItsOwnSignature) {
  trust.catalogListsFile = true;
  trust.verifyResult = static_cast<LONG>(TRUST_E_SUBJECT_NOT_TRUSTED);
  EXPECT_FALSE(IsDigitallySigned(file, entryPoints));
  EXPECT_EQ(Calls(trust.calls),
            "Acquire CalcHash EnumCatalog CatalogInfo WinVerifyTrust ReleaseCatalog ReleaseContext");
  ExpectBalanced();
}

TEST_F(TrustCheck, WithoutAHashTheFileIsJudgedAsOneNoCatalogLists) {
  trust.catalogListsFile = true;  // would be found, were it asked
  trust.hashSucceeds = false;
  EXPECT_TRUE(IsDigitallySigned(file, entryPoints));
  EXPECT_EQ(Calls(trust.calls), "Acquire CalcHash WinVerifyTrust ReleaseContext");
  EXPECT_EQ(trust.data.dwUnionChoice, 1u);
  EXPECT_EQ(trust.filePath, file);
  ExpectBalanced();
}

TEST_F(TrustCheck, TheMemberTagHasOneDigitPairPerDeliveredByte) {
  struct Row {
    DWORD reported;
    bool looksUp;
    size_t tagLength;
  };
  // A size beyond the buffer cannot have been delivered; zero bytes are no hash either.
  const Row rows[] = {{20, true, 40}, {16, true, 32}, {1, true, 2}, {0, false, 0}, {21, false, 0}, {4096, false, 0}};
  for (const Row& row : rows) {
    Reset();
    trust.hash.assign(20, 0xAB);
    trust.reportedHashSize = row.reported;
    trust.catalogListsFile = true;
    EXPECT_TRUE(IsDigitallySigned(file, entryPoints)) << "reported size " << row.reported;
    const bool lookedUp = Calls(trust.calls).find("EnumCatalog") != std::string::npos;
    EXPECT_EQ(lookedUp, row.looksUp) << "reported size " << row.reported;
    if (row.looksUp) {
      EXPECT_EQ(trust.hashSizeGivenToLookup, row.reported);
      EXPECT_EQ(trust.memberTag.size(), row.tagLength) << "reported size " << row.reported;
      for (size_t i = 0; i + 1 < trust.memberTag.size(); i += 2) {
        EXPECT_EQ(trust.memberTag.substr(i, 2), L"AB") << "reported size " << row.reported;
      }
    } else {
      EXPECT_EQ(trust.data.dwUnionChoice, 1u) << "reported size " << row.reported;
    }
    ExpectBalanced();
  }
}

TEST_F(TrustCheck, FailuresOnTheWayAreFalseAndReleaseWhatWasAcquired) {
  struct Row {
    const char* name;
    void (*arrange)(FakeTrust&);
    const char* calls;
  };
  const Row rows[] = {
      {"no administrator context", [](FakeTrust& t) { t.acquireSucceeds = false; }, "Acquire"},
      {"catalog path unknown",
       [](FakeTrust& t) {
         t.catalogListsFile = true;
         t.catalogInfoSucceeds = false;
       },
       "Acquire CalcHash EnumCatalog CatalogInfo ReleaseCatalog ReleaseContext"},
      {"not trusted through the file",
       [](FakeTrust& t) { t.verifyResult = static_cast<LONG>(TRUST_E_NOSIGNATURE); },
       "Acquire CalcHash EnumCatalog WinVerifyTrust ReleaseContext"},
  };
  for (const Row& row : rows) {
    Reset();
    row.arrange(trust);
    EXPECT_FALSE(IsDigitallySigned(file, entryPoints)) << row.name;
    EXPECT_EQ(Calls(trust.calls), row.calls) << row.name;
    ExpectBalanced();
  }
}

TEST_F(TrustCheck, AFileThatCannotBeOpenedIsNotSigned) {
  // Held open for writing without sharing: the check's read access is refused.
  HANDLE locked = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(IsDigitallySigned(file, entryPoints));
  CloseHandle(locked);
  EXPECT_EQ(Calls(trust.calls), "Acquire ReleaseContext");
  ExpectBalanced();
}

TEST_F(TrustCheck, AddingPassesThePathUnchangedAndTheFileNameAsTheCatalogName) {
  EXPECT_TRUE(AddCatalogFile(L"C:\\Pakete\\Treiber\\oem-netz.cat", entryPoints));
  EXPECT_EQ(Calls(trust.calls), "Acquire AddCatalog ReleaseCatalog ReleaseContext");
  EXPECT_EQ(trust.addedPath, L"C:\\Pakete\\Treiber\\oem-netz.cat");
  EXPECT_EQ(trust.addedName, L"oem-netz.cat");
  ExpectBalanced();

  Reset();
  trust.addSucceeds = false;
  EXPECT_FALSE(AddCatalogFile(L"relative.cat", entryPoints));
  EXPECT_EQ(Calls(trust.calls), "Acquire AddCatalog ReleaseContext");
  EXPECT_EQ(trust.addedPath, L"relative.cat");
  EXPECT_EQ(trust.addedName, L"relative.cat");
  ExpectBalanced();

  Reset();
  trust.acquireSucceeds = false;
  EXPECT_FALSE(AddCatalogFile(L"C:\\x.cat", entryPoints));
  EXPECT_EQ(Calls(trust.calls), "Acquire");
}

TEST_F(TrustCheck, RemovingUsesTheNameAloneAndReportsTheDatabasesAnswer) {
  struct Row {
    const wchar_t* argument;
    const wchar_t* name;
    bool removes;
  };
  const Row rows[] = {
      {L"C:\\Pakete\\Treiber\\oem-netz.cat", L"oem-netz.cat", true},
      {L"oem-netz.cat", L"oem-netz.cat", true},
      {L"D:oem-netz.cat", L"oem-netz.cat", true},
      {L"\\\\server\\share\\x.cat", L"x.cat", false},
  };
  for (const Row& row : rows) {
    Reset();
    trust.removeSucceeds = row.removes;
    EXPECT_EQ(DeleteCatalogFile(row.argument, entryPoints), row.removes) << testing::PrintToString(std::wstring(row.argument));
    EXPECT_EQ(Calls(trust.calls), "Acquire RemoveCatalog ReleaseContext");
    EXPECT_EQ(trust.removedName, row.name);
    ExpectBalanced();
  }
  Reset();
  trust.acquireSucceeds = false;
  EXPECT_FALSE(DeleteCatalogFile(L"x.cat", entryPoints));
  EXPECT_EQ(Calls(trust.calls), "Acquire");
}

TEST_F(TrustCheck, AnOperationWithAnUnboundEntryPointIsFalseWithoutCallingAny) {
  struct Row {
    const char* name;
    void (*unbind)(TrustEntryPoints&);
    bool addNeedsIt, deleteNeedsIt, verifyNeedsIt;
  };
  const Row rows[] = {
      {"AcquireContext", [](TrustEntryPoints& t) { t.CryptCATAdminAcquireContext = nullptr; }, true, true, true},
      {"ReleaseContext", [](TrustEntryPoints& t) { t.CryptCATAdminReleaseContext = nullptr; }, true, true, true},
      {"CalcHash", [](TrustEntryPoints& t) { t.CryptCATAdminCalcHashFromFileHandle = nullptr; }, false, false, true},
      {"EnumCatalog", [](TrustEntryPoints& t) { t.CryptCATAdminEnumCatalogFromHash = nullptr; }, false, false, true},
      {"CatalogInfo", [](TrustEntryPoints& t) { t.CryptCATCatalogInfoFromContext = nullptr; }, false, false, true},
      {"ReleaseCatalog", [](TrustEntryPoints& t) { t.CryptCATAdminReleaseCatalogContext = nullptr; }, true, false, true},
      {"AddCatalog", [](TrustEntryPoints& t) { t.CryptCATAdminAddCatalog = nullptr; }, true, false, false},
      {"RemoveCatalog", [](TrustEntryPoints& t) { t.CryptCATAdminRemoveCatalog = nullptr; }, false, true, false},
      {"WinVerifyTrust", [](TrustEntryPoints& t) { t.WinVerifyTrust = nullptr; }, false, false, true},
  };
  for (const Row& row : rows) {
    TrustEntryPoints partial = FakeEntryPoints();
    row.unbind(partial);

    Reset();
    EXPECT_EQ(AddCatalogFile(L"C:\\a.cat", partial), !row.addNeedsIt) << "add without " << row.name;
    EXPECT_EQ(trust.calls.empty(), row.addNeedsIt) << "add without " << row.name;
    ExpectBalanced();

    Reset();
    EXPECT_EQ(DeleteCatalogFile(L"C:\\a.cat", partial), !row.deleteNeedsIt) << "delete without " << row.name;
    EXPECT_EQ(trust.calls.empty(), row.deleteNeedsIt) << "delete without " << row.name;
    ExpectBalanced();

    Reset();
    trust.catalogListsFile = true;
    EXPECT_EQ(IsDigitallySigned(file, partial), !row.verifyNeedsIt) << "verify without " << row.name;
    EXPECT_EQ(trust.calls.empty(), row.verifyNeedsIt) << "verify without " << row.name;
    ExpectBalanced();
  }

  const TrustEntryPoints none;
  Reset();
  EXPECT_FALSE(AddCatalogFile(L"C:\\a.cat", none));
  EXPECT_FALSE(DeleteCatalogFile(L"C:\\a.cat", none));
  EXPECT_FALSE(IsDigitallySigned(file, none));
  EXPECT_EQ(Calls(trust.calls), "");
}

TEST(CatalogName, IsTheTextAfterTheLastBackslashOrColon) {
  struct Row {
    const wchar_t* path;
    const wchar_t* name;
  };
  const Row rows[] = {
      {L"C:\\Pakete\\Treiber\\netz.cat", L"netz.cat"},
      {L"netz.cat", L"netz.cat"},
      {L"C:netz.cat", L"netz.cat"},
      {L"\\\\server\\share\\netz.cat", L"netz.cat"},
      {L"C:\\Pakete\\", L""},
      {L"C:", L""},
      {L"", L""},
      {L"Pakete/netz.cat", L"Pakete/netz.cat"},
      {L"C:\\a.b\\netz", L"netz"},
      {L"\\\\?\\C:\\x\\y.cat", L"y.cat"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(CatalogNameOf(row.path), row.name) << testing::PrintToString(std::wstring(row.path));
  }
}

TEST(MemberTag, IsTheHashInUppercaseHexadecimalInByteOrder) {
  const BYTE bytes[] = {0x00, 0x01, 0x0F, 0x10, 0x9A, 0xA9, 0xF0, 0xFF};
  EXPECT_EQ(MemberTagOf(bytes, 0), L"");
  EXPECT_EQ(MemberTagOf(bytes, 1), L"00");
  EXPECT_EQ(MemberTagOf(bytes, sizeof(bytes)), L"00010F109AA9F0FF");

  BYTE hash[20];
  for (int i = 0; i < 20; ++i) hash[i] = static_cast<BYTE>(i * 13 + 7);
  const std::wstring tag = MemberTagOf(hash, sizeof(hash));
  ASSERT_EQ(tag.size(), 40u);
  for (size_t i = 0; i < tag.size(); ++i) {
    const wchar_t c = tag[i];
    EXPECT_TRUE((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F')) << "position " << i;
    const BYTE expected = hash[i / 2];
    const int nibble = i % 2 == 0 ? expected >> 4 : expected & 0x0F;
    EXPECT_EQ(c, L"0123456789ABCDEF"[nibble]) << "position " << i;
  }
}

TEST(TrustBinding, NothingIsBoundFromNoModuleOrAnOldLoaderErrorCode) {
  for (INT_PTR value : {0, 1, 2, 31}) {
    const TrustEntryPoints t = BindTrustEntryPoints(reinterpret_cast<HMODULE>(value));
    EXPECT_EQ(t.CryptCATAdminAcquireContext, nullptr) << value;
    EXPECT_EQ(t.WinVerifyTrust, nullptr) << value;
  }
}

TEST(TrustBinding, BindsEachNameTheModuleExportsAndLeavesTheOthersUnbound) {
  // kernel32 exports none of the names: all stay unbound.
  const TrustEntryPoints none = BindTrustEntryPoints(GetModuleHandleW(L"kernel32.dll"));
  EXPECT_EQ(none.CryptCATAdminAcquireContext, nullptr);
  EXPECT_EQ(none.WinVerifyTrust, nullptr);

  BindTrustLibrary();
  const TrustEntryPoints& t = BoundTrustEntryPoints();
  const HMODULE wintrust = GetModuleHandleW(L"wintrust.dll");
  ASSERT_NE(wintrust, nullptr) << "bound from the system's wintrust.dll";
  const auto expect = [&](const void* bound, const char* name) {
    EXPECT_EQ(bound, reinterpret_cast<const void*>(GetProcAddress(wintrust, name))) << name;
    EXPECT_NE(bound, nullptr) << name;
  };
  expect(reinterpret_cast<const void*>(t.CryptCATAdminAcquireContext), "CryptCATAdminAcquireContext");
  expect(reinterpret_cast<const void*>(t.CryptCATAdminReleaseContext), "CryptCATAdminReleaseContext");
  expect(reinterpret_cast<const void*>(t.CryptCATAdminCalcHashFromFileHandle), "CryptCATAdminCalcHashFromFileHandle");
  expect(reinterpret_cast<const void*>(t.CryptCATAdminEnumCatalogFromHash), "CryptCATAdminEnumCatalogFromHash");
  expect(reinterpret_cast<const void*>(t.CryptCATCatalogInfoFromContext), "CryptCATCatalogInfoFromContext");
  expect(reinterpret_cast<const void*>(t.CryptCATAdminReleaseCatalogContext), "CryptCATAdminReleaseCatalogContext");
  expect(reinterpret_cast<const void*>(t.CryptCATAdminAddCatalog), "CryptCATAdminAddCatalog");
  expect(reinterpret_cast<const void*>(t.CryptCATAdminRemoveCatalog), "CryptCATAdminRemoveCatalog");
  expect(reinterpret_cast<const void*>(t.WinVerifyTrust), "WinVerifyTrust");

  wchar_t system[MAX_PATH], loaded[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  GetModuleFileNameW(wintrust, loaded, MAX_PATH);
  EXPECT_EQ(_wcsnicmp(loaded, system, wcslen(system)), 0) << "loaded from the system directory";

  ReleaseTrustLibrary();
  EXPECT_EQ(BoundTrustEntryPoints().WinVerifyTrust, nullptr);
  EXPECT_EQ(BoundTrustEntryPoints().CryptCATAdminAcquireContext, nullptr);
}

}  // namespace
