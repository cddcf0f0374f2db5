// Run-time binding of the Windows trust library (wintrust.dll).
//
// The tool links nothing of wintrust.dll: it loads the library from the system directory
// when it starts and looks its entry points up by name, so that a missing function turns
// into a failed operation instead of a program that does not start.
#pragma once

#include <windows.h>
#include <wintrust.h>
#include <mscat.h>

// The entry points the catalog and signature operations use, in the order they are bound.
// A null member is unbound; the operations never call one (they report failure instead).
// Tests fill this record with their own functions to watch the calls.
struct TrustEntryPoints {
  using AcquireContextFn = BOOL(WINAPI*)(HCATADMIN* admin, const GUID* subsystem, DWORD flags);
  using ReleaseContextFn = BOOL(WINAPI*)(HCATADMIN admin, DWORD flags);
  using CalcHashFromFileHandleFn = BOOL(WINAPI*)(HANDLE file, DWORD* hashSize, BYTE* hash, DWORD flags);
  using EnumCatalogFromHashFn = HCATINFO(WINAPI*)(HCATADMIN admin, BYTE* hash, DWORD hashSize, DWORD flags,
                                                  HCATINFO* previous);
  using CatalogInfoFromContextFn = BOOL(WINAPI*)(HCATINFO catalog, CATALOG_INFO* info, DWORD flags);
  using ReleaseCatalogContextFn = BOOL(WINAPI*)(HCATADMIN admin, HCATINFO catalog, DWORD flags);
  using AddCatalogFn = HCATINFO(WINAPI*)(HCATADMIN admin, PWSTR catalogFile, PWSTR selectBaseName, DWORD flags);
  using RemoveCatalogFn = BOOL(WINAPI*)(HCATADMIN admin, LPCWSTR catalogName, DWORD flags);
  using WinVerifyTrustFn = LONG(WINAPI*)(HWND window, GUID* action, LPVOID data);

  AcquireContextFn CryptCATAdminAcquireContext = nullptr;
  ReleaseContextFn CryptCATAdminReleaseContext = nullptr;
  CalcHashFromFileHandleFn CryptCATAdminCalcHashFromFileHandle = nullptr;
  EnumCatalogFromHashFn CryptCATAdminEnumCatalogFromHash = nullptr;
  CatalogInfoFromContextFn CryptCATCatalogInfoFromContext = nullptr;
  ReleaseCatalogContextFn CryptCATAdminReleaseCatalogContext = nullptr;
  AddCatalogFn CryptCATAdminAddCatalog = nullptr;
  RemoveCatalogFn CryptCATAdminRemoveCatalog = nullptr;
  WinVerifyTrustFn WinVerifyTrust = nullptr;
};

// Looks the nine names up in `module`, in the order of the record. A name the module does
// not export stays unbound; a null module, or a value below 32 (which old loaders returned
// as error codes), binds nothing.
TrustEntryPoints BindTrustEntryPoints(HMODULE module);

// Restricts the DLL search of the whole process to the system directory, so that no DLL
// planted beside the program or in the current directory is ever loaded. Looked up at run
// time: loaders before Windows 8 (without the update that brought it) lack the function,
// and then nothing changes. Call it first thing in the program.
void RestrictDllSearchToSystemDirectory();

// Loads a library of the system directory by name, never from the program's folder or the
// current directory. Null when it cannot be loaded.
HMODULE LoadSystemDirectoryLibrary(const wchar_t* name);

// The process-wide binding. BindTrustLibrary loads "wintrust.dll" from the system directory
// and binds its entry points (all unbound when it cannot be loaded); ReleaseTrustLibrary
// unbinds them and frees the library. Both may be called more than once.
void BindTrustLibrary();
void ReleaseTrustLibrary();

// The entry points bound by BindTrustLibrary; all unbound before it and after the release.
const TrustEntryPoints& BoundTrustEntryPoints();
