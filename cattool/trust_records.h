// The records handed to WinVerifyTrust, laid out as the trust library reads them.
//
// The shipping tool is a 32-bit program, and its records have the sizes it has always
// announced: 64 bytes of trust data, the 24-byte first form of the catalog member record
// and the 16-byte file record. A 64-bit build fills the same fields; its size fields give
// its own sizes of the same records.
#pragma once

#include <windows.h>
#include <wintrust.h>

#include <cstddef>

// WINTRUST_DATA, followed by zeroed room up to the 64 bytes the tool announces (the fields
// after dwUIContext are the signature settings of newer systems, left empty).
struct TrustData {
  DWORD cbStruct;
  void* pPolicyCallbackData;
  void* pSIPClientData;
  DWORD dwUIChoice;
  DWORD fdwRevocationChecks;
  DWORD dwUnionChoice;
  void* pChoice;  // WINTRUST_FILE_INFO or WINTRUST_CATALOG_INFO, by dwUnionChoice
  DWORD dwStateAction;
  HANDLE hWVTStateData;
  WCHAR* pwszURLReference;
  DWORD dwProvFlags;
  DWORD dwUIContext;
  void* pSignatureSettings;
  DWORD reserved[3];
};

// WINTRUST_CATALOG_INFO with all its later fields present and zero, so that a library that
// reads past the announced first form still reads defined memory. Its size field announces
// only the first form (through hMemberFile).
struct TrustCatalogInfo {
  DWORD cbStruct;
  DWORD dwCatalogVersion;
  LPCWSTR pcwszCatalogFilePath;
  LPCWSTR pcwszMemberTag;
  LPCWSTR pcwszMemberFilePath;
  HANDLE hMemberFile;
  BYTE* pbCalculatedFileHash;
  DWORD cbCalculatedFileHash;
  const void* pcCatalogContext;
  void* hCatAdmin;
};

inline constexpr DWORD kTrustDataSize = sizeof(TrustData);
inline constexpr DWORD kTrustCatalogInfoSize = offsetof(TrustCatalogInfo, hMemberFile) + sizeof(HANDLE);
inline constexpr DWORD kTrustFileInfoSize = sizeof(WINTRUST_FILE_INFO);

// The published layout, field for field, as far as the tool fills it.
static_assert(offsetof(TrustData, dwUIContext) == offsetof(WINTRUST_DATA, dwUIContext));
static_assert(offsetof(TrustData, pChoice) == offsetof(WINTRUST_DATA, pFile));
static_assert(offsetof(TrustCatalogInfo, hMemberFile) == offsetof(WINTRUST_CATALOG_INFO, hMemberFile));

#if !defined(_WIN64)
static_assert(kTrustDataSize == 64, "trust data of the 32-bit tool");
static_assert(kTrustCatalogInfoSize == 24, "first form of the catalog member record");
static_assert(kTrustFileInfoSize == 16, "file record of the 32-bit tool");
#endif

// WINTRUST_ACTION_GENERIC_VERIFY_V2: Authenticode policy, for files and catalog members alike.
inline constexpr GUID kGenericVerifyV2 = {0x00aac56b, 0xcd44, 0x11d0, {0x8c, 0xc2, 0x00, 0xc0, 0x4f, 0xc2, 0x95, 0xee}};
