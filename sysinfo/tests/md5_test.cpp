#include <gtest/gtest.h>

#include <cstring>

#include "errors.h"
#include "fake_platform.h"
#include "md5.h"

namespace {

// Bytes (i * 7 + 3) mod 256: no block of the file looks like any other.
std::string Pattern(std::size_t n) {
  std::string bytes(n, '\0');
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
  return bytes;
}

// A stream that makes its bytes up as it is read: size() reports one length, but it hands out
// `available` bytes (more than its size, like a file that grows while it is read), zeros or a
// pattern, and counts its reads. It can raise on a given read.
class SyntheticStream : public ReadStream {
public:
  SyntheticStream(std::uint64_t size, std::uint64_t available) : size_(size), available_(available) {}
  std::uint64_t Size() override { return size_; }
  std::uint64_t Position() override { return position_; }
  void Seek(std::uint64_t offset) override { position_ = offset; }
  std::size_t Read(void* buffer, std::size_t count) override {
    ++reads;
    if (reads == failOnRead) throw EReadError(u"Lesefehler");
    if (position_ >= available_) return 0;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, available_ - position_));
    std::memset(buffer, 0, n);
    position_ += n;
    largestRead = std::max(largestRead, count);
    return n;
  }
  std::uint64_t reads = 0;
  std::uint64_t failOnRead = 0;
  std::size_t largestRead = 0;

private:
  std::uint64_t size_, available_, position_ = 0;
};

TEST(Digest, MatchesThePublishedTestSuite) {
  struct Row {
    std::string message;
    std::u16string digest;
  };
  const Row rows[] = {
      {"", u"D41D8CD98F00B204E9800998ECF8427E"},
      {"a", u"0CC175B9C0F1B6A831C399E269772661"},
      {"abc", u"900150983CD24FB0D6963F7D28E17F72"},
      {"message digest", u"F96B697D7CB7938D525A2F31AAF161D0"},
      {"abcdefghijklmnopqrstuvwxyz", u"C3FCD3D76192E4007DFB496CCA67E13B"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", u"D174AB98D277D9F5A5611C2C9F419D9F"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       u"57EDF4A22BE3C955AC49DA2E2107B67A"},
  };
  FakePlatform machine;
  ScopedPlatform use(machine);
  for (const Row& row : rows) {
    machine.AddFile(u"C:\\m.bin", row.message);
    EXPECT_EQ(ToUtf8(DigestHex(FileMD5(u"C:\\m.bin"))), ToUtf8(row.digest)) << "message \"" << row.message << "\"";
  }
}

TEST(Digest, CoversEveryBlockBoundary) {
  struct Row {
    std::size_t length;
    std::u16string digest;
  };
  const Row rows[] = {
      {0, u"D41D8CD98F00B204E9800998ECF8427E"},    {4095, u"53DE317667CA40D9642E2D859BFBFD16"},
      {4096, u"D105289F5617C241F52A191C6B2FC809"}, {4097, u"C7CFB8A6D3D4929F9035E0918250B62D"},
      {8192, u"E7D9BEFC38280C62A9FA40EAE7633C90"}, {12289, u"F68F9E586C08077D0EFC3955179A2981"},
  };
  FakePlatform machine;
  ScopedPlatform use(machine);
  for (const Row& row : rows) {
    machine.AddFile(u"C:\\p.bin", Pattern(row.length));
    EXPECT_EQ(ToUtf8(DigestHex(FileMD5(u"C:\\p.bin"))), ToUtf8(row.digest)) << row.length << " bytes";
  }
}

TEST(Digest, ReadsInBlocksOf4096AndStopsAtTheSize) {
  struct Row {
    std::uint64_t size;
    std::uint64_t expectedReads;
  };
  // Once the bytes read add up to the size there is no further read: a stream of exactly one
  // block is read once.
  const Row rows[] = {{0, 1}, {1, 1}, {4095, 1}, {4096, 1}, {4097, 2}, {8192, 2}, {8193, 3}};
  for (const Row& row : rows) {
    SyntheticStream stream(row.size, row.size);
    StreamMD5(stream);
    EXPECT_EQ(stream.reads, row.expectedReads) << row.size << " bytes";
    EXPECT_EQ(stream.largestRead, row.size ? 4096u : 0u) << row.size << " bytes";
  }
}

TEST(Digest, EndsAtTheSizeOfAStreamThatGrowsWhileRead) {
  // The size noted at the start decides where the digest ends, not the bytes that follow.
  for (const std::uint64_t size : {4096u, 8192u, 40960u}) {
    SyntheticStream grown(size, size + 100000);
    SyntheticStream exact(size, size);
    EXPECT_EQ(ToUtf8(DigestHex(StreamMD5(grown))), ToUtf8(DigestHex(StreamMD5(exact)))) << size << " bytes";
  }
}

TEST(Digest, ReadsStreamsLargerThan4GiBToTheirEnd) {
  // 2^32 + 4096 bytes: a size or a total kept in 32 bits would stop after the first block, or
  // read past the size into bytes that do not belong to the stream.
  const std::uint64_t size = (std::uint64_t{1} << 32) + 4096;
  SyntheticStream stream(size, size + 4096 * 3);
  EXPECT_EQ(ToUtf8(DigestHex(StreamMD5(stream))), "AB3C2A743CDF0EBA712E437D9A343464");
  EXPECT_EQ(stream.Position(), 0u);
}

TEST(Digest, StartsAtOffsetZeroAndRestoresThePosition) {
  FakePlatform machine;
  ScopedPlatform use(machine);
  machine.AddFile(u"C:\\abc.bin", "abc");
  std::unique_ptr<ReadStream> file = machine.OpenRead(u"C:\\abc.bin");
  file->Seek(2);
  EXPECT_EQ(ToUtf8(DigestHex(StreamMD5(*file))), "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(file->Position(), 2u);
}

TEST(Digest, RestoresThePositionWhenAReadFails) {
  SyntheticStream stream(100000, 100000);
  stream.Seek(777);
  stream.failOnRead = 3;
  EXPECT_THROW(StreamMD5(stream), EReadError);
  EXPECT_EQ(stream.Position(), 777u);
}

TEST(Digest, RaisesTheFileOpenErrorForFilesItCannotOpen) {
  FakePlatform machine;
  ScopedPlatform use(machine);
  machine.AddFile(u"C:\\Pkg\\locked.bin", "x");
  machine.LockForWriting(u"C:\\Pkg\\locked.bin");
  machine.AddDirectory(u"C:\\Pkg\\dir");
  for (const std::u16string path : {u"C:\\Pkg\\missing.bin", u"C:\\Pkg\\locked.bin", u"C:\\Pkg\\dir"}) {
    try {
      FileMD5(path);
      ADD_FAILURE() << "no error for " << ToUtf8(path);
    } catch (const EFOpenError& error) {
      const std::u16string expected = u"Datei " + path + u" kann nicht geöffnet werden. ";
      EXPECT_EQ(ToUtf8(error.Message().substr(0, expected.size())), ToUtf8(expected));
      EXPECT_GT(error.Message().size(), expected.size()) << "no system text for " << ToUtf8(path);
    }
  }
}

TEST(Digest, TextHasTwoUpperCaseDigitsPerByte) {
  struct Row {
    Digest digest;
    std::u16string text;
  };
  const Row rows[] = {
      {Digest{}, u"00000000000000000000000000000000"},
      {Digest{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10},
       u"0123456789ABCDEFFEDCBA9876543210"},
      {Digest{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0A},
       u"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFF0A"},
  };
  for (const Row& row : rows) EXPECT_EQ(ToUtf8(DigestHex(row.digest)), ToUtf8(row.text));
}

}  // namespace
