#include "md5.h"

#include "md5_engine.h"

Digest StreamMD5(ReadStream& stream) {
  Md5Engine md5;
  const std::uint64_t size = stream.Size();
  const std::uint64_t position = stream.Position();
  stream.Seek(0);
  try {
    unsigned char buffer[4096];
    std::uint64_t total = 0;
    for (;;) {
      const std::size_t n = stream.Read(buffer, sizeof(buffer));
      if (n == 0) break;
      md5.Update(buffer, n);
      total += n;
      if (total == size) break;
    }
  } catch (...) {
    // The read error is what the caller must see, not a failure to move back.
    try {
      stream.Seek(position);
    } catch (...) {
    }
    throw;
  }
  stream.Seek(position);
  return md5.Finish();
}

Digest FileMD5(const std::u16string& path) {
  const std::unique_ptr<ReadStream> file = Platform::Current().OpenRead(path);
  return StreamMD5(*file);
}

std::u16string DigestHex(const Digest& digest) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string out;
  out.reserve(digest.size() * 2);
  for (std::uint8_t byte : digest) {
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
  }
  return out;
}
