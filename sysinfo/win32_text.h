// Text at the Win32 boundary: on Windows wchar_t and char16_t are both UTF-16 code units, so
// the core's strings pass to the system by reinterpreting the pointer.
#pragma once

#include <windows.h>

#include <cwchar>
#include <string>

inline const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline std::u16string U(const wchar_t* s, std::size_t n) { return std::u16string(reinterpret_cast<const char16_t*>(s), n); }
inline std::u16string U(const wchar_t* s) { return U(s, std::wcslen(s)); }

// The system's text for an error code, without trailing blanks, line breaks or full stop;
// "Systemfehler N" when the system has none.
std::u16string SystemErrorText(DWORD code);
