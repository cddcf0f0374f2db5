// ReadTextFile: a whole file as text, its encoding chosen by its byte-order mark.
#include <cstring>

#include "XMLLibLite.h"
#include "errors.h"
#include "platform.h"

namespace {

std::string ReadAllBytes(const std::u16string& fileName) {
  std::unique_ptr<ReadStream> stream = Platform::Current().OpenRead(fileName);
  std::string bytes;
  const std::uint64_t size = stream->Size();
  if (size > 0 && size < bytes.max_size()) bytes.reserve(static_cast<std::size_t>(size));
  char buffer[64 * 1024];
  // Read to the end rather than trusting the size: a file may change while it is read.
  for (;;) {
    const std::size_t got = stream->Read(buffer, sizeof buffer);
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  return bytes;
}

std::u16string DecodeUtf16(const std::string& bytes, std::size_t from, bool bigEndian) {
  std::u16string out;
  const std::size_t units = (bytes.size() - from) / 2;
  out.resize(units);
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data()) + from;
  for (std::size_t i = 0; i < units; ++i) {
    const unsigned lo = bigEndian ? b[2 * i + 1] : b[2 * i];
    const unsigned hi = bigEndian ? b[2 * i] : b[2 * i + 1];
    out[i] = static_cast<char16_t>(lo | (hi << 8));
  }
  // Half a code unit at the end is no character; keep a trace of it rather than losing it.
  if ((bytes.size() - from) % 2 != 0) out += u'\uFFFD';
  return out;
}

bool StartsWith(const std::string& bytes, const char* mark, std::size_t length) {
  return bytes.size() >= length && std::memcmp(bytes.data(), mark, length) == 0;
}

}  // namespace

std::u16string ReadTextFile(const std::u16string& fileName) {
  if (!Platform::Current().FileExists(fileName)) return {};
  const std::string bytes = ReadAllBytes(fileName);
  if (StartsWith(bytes, "\xFF\xFE", 2)) return DecodeUtf16(bytes, 2, false);
  if (StartsWith(bytes, "\xFE\xFF", 2)) return DecodeUtf16(bytes, 2, true);
  if (StartsWith(bytes, "\xEF\xBB\xBF", 3)) return FromUtf8(bytes.substr(3));
  return Platform::Current().AnsiToUnicode(bytes);
}
