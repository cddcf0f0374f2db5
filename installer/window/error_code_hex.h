// Exit codes and system errors as the installer shows them: eight upper-case hexadecimal digits.
#pragma once

#include <cstdint>
#include <string>

// The 32-bit result code for a system error: 8007 in the high half, the error's low 16 bits
// below it (error 2 gives 0x80070002). An error of 0 stays 0.
std::uint32_t ResultFromSystemError(std::uint32_t error);

// code as exactly 8 upper-case hexadecimal digits with leading zeros (1603 gives "00000643").
// A code of 0 stands for "the last system error": lastError is then shown through
// ResultFromSystemError, and eight zeros when it is 0 too.
std::u16string FormatErrorCodeHex(std::uint32_t code, std::uint32_t lastError);
