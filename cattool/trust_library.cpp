#include "trust_library.h"

#include <cstdint>
#include <string>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace {

template <typename Fn>
void Bind(HMODULE module, const char* name, Fn& target) {
  // GetProcAddress hands out a generic FARPROC; the record's types are the published ones.
  target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

HMODULE kernel32() { return GetModuleHandleW(L"kernel32.dll"); }

struct ProcessBinding {
  HMODULE module = nullptr;
  TrustEntryPoints entryPoints;
};

ProcessBinding& Binding() {
  static ProcessBinding binding;
  return binding;
}

}  // namespace

TrustEntryPoints BindTrustEntryPoints(HMODULE module) {
  TrustEntryPoints t;
  if (reinterpret_cast<std::uintptr_t>(module) < 32) return t;
  Bind(module, "CryptCATAdminAcquireContext", t.CryptCATAdminAcquireContext);
  Bind(module, "CryptCATAdminReleaseContext", t.CryptCATAdminReleaseContext);
  Bind(module, "CryptCATAdminCalcHashFromFileHandle", t.CryptCATAdminCalcHashFromFileHandle);
  Bind(module, "CryptCATAdminEnumCatalogFromHash", t.CryptCATAdminEnumCatalogFromHash);
  Bind(module, "CryptCATCatalogInfoFromContext", t.CryptCATCatalogInfoFromContext);
  Bind(module, "CryptCATAdminReleaseCatalogContext", t.CryptCATAdminReleaseCatalogContext);
  Bind(module, "CryptCATAdminAddCatalog", t.CryptCATAdminAddCatalog);
  Bind(module, "CryptCATAdminRemoveCatalog", t.CryptCATAdminRemoveCatalog);
  Bind(module, "WinVerifyTrust", t.WinVerifyTrust);
  return t;
}

void RestrictDllSearchToSystemDirectory() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel32(), "SetDefaultDllDirectories")));
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE LoadSystemDirectoryLibrary(const wchar_t* name) {
  // The flag is understood exactly where AddDllDirectory exists (Windows 8, or 7 with
  // KB2533623); older loaders would reject it, so they get the full path instead.
  if (GetProcAddress(kernel32(), "AddDllDirectory")) {
    if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
  }
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(directory, length);
  if (path.back() != L'\\') path += L'\\';
  path += name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void BindTrustLibrary() {
  ReleaseTrustLibrary();
  ProcessBinding& binding = Binding();
  binding.module = LoadSystemDirectoryLibrary(L"wintrust.dll");
  binding.entryPoints = BindTrustEntryPoints(binding.module);
}

void ReleaseTrustLibrary() {
  ProcessBinding& binding = Binding();
  binding.entryPoints = TrustEntryPoints();
  if (reinterpret_cast<std::uintptr_t>(binding.module) >= 32) FreeLibrary(binding.module);
  binding.module = nullptr;
}

const TrustEntryPoints& BoundTrustEntryPoints() { return Binding().entryPoints; }
