// Stands in for wintrust.dll in the program's own folder and trusts everything. If the tool
// ever loaded it, an unsigned file would be reported as signed.
#include <windows.h>

extern "C" {

__declspec(dllexport) BOOL WINAPI CryptCATAdminAcquireContext(HANDLE* admin, const GUID*, DWORD) {
  *admin = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x1234));
  return TRUE;
}
__declspec(dllexport) BOOL WINAPI CryptCATAdminReleaseContext(HANDLE, DWORD) { return TRUE; }
__declspec(dllexport) BOOL WINAPI CryptCATAdminCalcHashFromFileHandle(HANDLE, DWORD* size, BYTE* hash, DWORD) {
  if (*size < 20) return FALSE;
  for (int i = 0; i < 20; ++i) hash[i] = 0;
  *size = 20;
  return TRUE;
}
__declspec(dllexport) HANDLE WINAPI CryptCATAdminEnumCatalogFromHash(HANDLE, BYTE*, DWORD, DWORD, HANDLE*) {
  return nullptr;
}
__declspec(dllexport) BOOL WINAPI CryptCATCatalogInfoFromContext(HANDLE, void*, DWORD) { return FALSE; }
__declspec(dllexport) BOOL WINAPI CryptCATAdminReleaseCatalogContext(HANDLE, HANDLE, DWORD) { return TRUE; }
__declspec(dllexport) HANDLE WINAPI CryptCATAdminAddCatalog(HANDLE, PWSTR, PWSTR, DWORD) {
  return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x5678));
}
__declspec(dllexport) BOOL WINAPI CryptCATAdminRemoveCatalog(HANDLE, LPCWSTR, DWORD) { return TRUE; }
__declspec(dllexport) LONG WINAPI WinVerifyTrust(HWND, GUID*, void*) { return 0; }

}  // extern "C"
