#include "simple_trust_check.h"

#include "trust_records.h"

namespace {

constexpr DWORD kHashBufferSize = 20;

// A catalog administrator context, released on every path once acquired.
class AdminContext {
public:
  explicit AdminContext(const TrustEntryPoints& trust) : trust_(trust) {
    HCATADMIN admin = nullptr;
    if (trust_.CryptCATAdminAcquireContext(&admin, nullptr, 0) && admin) handle_ = admin;
  }
  ~AdminContext() {
    if (handle_) trust_.CryptCATAdminReleaseContext(handle_, 0);
  }
  AdminContext(const AdminContext&) = delete;
  AdminContext& operator=(const AdminContext&) = delete;

  explicit operator bool() const { return handle_ != nullptr; }
  HCATADMIN get() const { return handle_; }

private:
  const TrustEntryPoints& trust_;
  HCATADMIN handle_ = nullptr;
};

// A catalog context obtained under an administrator context; released before it.
class CatalogContext {
public:
  CatalogContext(const TrustEntryPoints& trust, const AdminContext& admin, HCATINFO catalog)
      : trust_(trust), admin_(admin), handle_(catalog) {}
  ~CatalogContext() {
    if (handle_) trust_.CryptCATAdminReleaseCatalogContext(admin_.get(), handle_, 0);
  }
  CatalogContext(const CatalogContext&) = delete;
  CatalogContext& operator=(const CatalogContext&) = delete;

  explicit operator bool() const { return handle_ != nullptr; }
  HCATINFO get() const { return handle_; }

private:
  const TrustEntryPoints& trust_;
  const AdminContext& admin_;
  HCATINFO handle_;
};

class FileHandle {
public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  void Close() {
    if (*this) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

private:
  HANDLE handle_;
};

bool FileExists(const std::wstring& fileName) {
  const DWORD attributes = GetFileAttributesW(fileName.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool CanAdd(const TrustEntryPoints& t) {
  return t.CryptCATAdminAcquireContext && t.CryptCATAdminReleaseContext && t.CryptCATAdminAddCatalog &&
         t.CryptCATAdminReleaseCatalogContext;
}

bool CanDelete(const TrustEntryPoints& t) {
  return t.CryptCATAdminAcquireContext && t.CryptCATAdminReleaseContext && t.CryptCATAdminRemoveCatalog;
}

bool CanVerify(const TrustEntryPoints& t) {
  return t.CryptCATAdminAcquireContext && t.CryptCATAdminReleaseContext && t.CryptCATAdminCalcHashFromFileHandle &&
         t.CryptCATAdminEnumCatalogFromHash && t.CryptCATCatalogInfoFromContext &&
         t.CryptCATAdminReleaseCatalogContext && t.WinVerifyTrust;
}

// Trust data as both checks share it: no interaction, no revocation checks, no state kept.
TrustData NewTrustData() {
  TrustData data{};
  data.cbStruct = kTrustDataSize;
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwStateAction = 0;
  return data;
}

bool Verify(const TrustEntryPoints& trust, TrustData& data) {
  GUID action = kGenericVerifyV2;
  // INVALID_HANDLE_VALUE as the window: there is no interactive user to ask.
  return trust.WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data) == 0;
}

}  // namespace

std::wstring CatalogNameOf(std::wstring_view path) {
  const size_t separator = path.find_last_of(L"\\:");
  return std::wstring(separator == std::wstring_view::npos ? path : path.substr(separator + 1));
}

std::wstring MemberTagOf(const BYTE* hash, size_t size) {
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring tag;
  tag.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    tag += kDigits[hash[i] >> 4];
    tag += kDigits[hash[i] & 0x0f];
  }
  return tag;
}

bool AddCatalogFile(const std::wstring& fileName, const TrustEntryPoints& trust) {
  if (!CanAdd(trust)) return false;
  AdminContext admin(trust);
  if (!admin) return false;
  // The published signature takes writable strings; the library does not write to them.
  std::wstring path = fileName;
  std::wstring name = CatalogNameOf(fileName);
  CatalogContext added(trust, admin, trust.CryptCATAdminAddCatalog(admin.get(), path.data(), name.data(), 0));
  return static_cast<bool>(added);
}

bool DeleteCatalogFile(const std::wstring& fileName, const TrustEntryPoints& trust) {
  if (!CanDelete(trust)) return false;
  AdminContext admin(trust);
  if (!admin) return false;
  const std::wstring name = CatalogNameOf(fileName);
  return trust.CryptCATAdminRemoveCatalog(admin.get(), name.c_str(), 0) != FALSE;
}

bool IsDigitallySigned(const std::wstring& fileName, const TrustEntryPoints& trust) {
  if (!FileExists(fileName)) return false;
  if (!CanVerify(trust)) return false;
  AdminContext admin(trust);
  if (!admin) return false;

  BYTE hash[kHashBufferSize] = {};
  DWORD hashSize = kHashBufferSize;
  bool hashed = false;
  {
    FileHandle file(CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    hashed = trust.CryptCATAdminCalcHashFromFileHandle(file.get(), &hashSize, hash, 0) && hashSize > 0 &&
             hashSize <= kHashBufferSize;
  }

  // Without a hash no catalog can be looked up: the file is judged as one no catalog lists.
  CatalogContext catalog(trust, admin,
                         hashed ? trust.CryptCATAdminEnumCatalogFromHash(admin.get(), hash, hashSize, 0, nullptr)
                                : nullptr);

  TrustData data = NewTrustData();
  if (catalog) {
    CATALOG_INFO info{};
    info.cbStruct = sizeof(info);
    // A catalog whose path the database cannot tell cannot vouch for the file; a listed
    // file is judged by its catalog alone, so that is the end of it.
    if (!trust.CryptCATCatalogInfoFromContext(catalog.get(), &info, 0)) return false;
    info.wszCatalogFile[MAX_PATH - 1] = L'\0';
    const std::wstring tag = MemberTagOf(hash, hashSize);
    TrustCatalogInfo member{};
    member.cbStruct = kTrustCatalogInfoSize;
    member.dwCatalogVersion = 0;
    member.pcwszCatalogFilePath = info.wszCatalogFile;
    member.pcwszMemberTag = tag.c_str();
    member.pcwszMemberFilePath = fileName.c_str();
    member.hMemberFile = nullptr;
    data.dwUnionChoice = WTD_CHOICE_CATALOG;
    data.pChoice = &member;
    data.dwUIContext = WTD_UICONTEXT_INSTALL;
    return Verify(trust, data);
  }

  WINTRUST_FILE_INFO file{};
  file.cbStruct = kTrustFileInfoSize;
  file.pcwszFilePath = fileName.c_str();
  file.hFile = nullptr;
  file.pgKnownSubject = nullptr;
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pChoice = &file;
  data.dwUIContext = WTD_UICONTEXT_EXECUTE;
  return Verify(trust, data);
}
