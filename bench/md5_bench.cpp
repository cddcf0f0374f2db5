// FileMD5 on a real file against md5sum on the same file.
//
// The native build has no file system platform of its own, so the benchmark installs one that
// opens real files with POSIX calls; each Read is one read(2) of the 4096-byte block the digest
// loop asks for, as on Windows each is one ReadFile. The file comes from KORVEL_MD5_BENCH_FILE
// (md5_bench.sh makes a 256 MiB one); it is read once before timing so both sides read from
// the page cache.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "errors.h"
#include "fake_platform.h"
#include "md5.h"

namespace {

class PosixReadStream : public ReadStream {
public:
  explicit PosixReadStream(int fd) : fd_(fd) {}
  ~PosixReadStream() override { close(fd_); }
  std::uint64_t Size() override {
    struct stat info {};
    if (fstat(fd_, &info) != 0) throw EReadError(u"fstat");
    return static_cast<std::uint64_t>(info.st_size);
  }
  std::uint64_t Position() override { return static_cast<std::uint64_t>(lseek(fd_, 0, SEEK_CUR)); }
  void Seek(std::uint64_t offset) override {
    if (lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) throw EReadError(u"lseek");
  }
  std::size_t Read(void* buffer, std::size_t count) override {
    const ssize_t n = read(fd_, buffer, count);
    if (n < 0) throw EReadError(u"read");
    return static_cast<std::size_t>(n);
  }

private:
  int fd_;
};

class PosixFilesPlatform : public FakePlatform {
public:
  std::unique_ptr<ReadStream> OpenRead(const std::u16string& path) override {
    const int fd = open(ToUtf8(path).c_str(), O_RDONLY);
    if (fd < 0) throw EFOpenError(u"Datei " + path + u" kann nicht geöffnet werden. ");
    return std::make_unique<PosixReadStream>(fd);
  }
};

std::string BenchFile() {
  const char* path = std::getenv("KORVEL_MD5_BENCH_FILE");
  return path ? path : "";
}

std::int64_t FileSize(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_size : -1;
}

void BM_FileMD5(benchmark::State& state) {
  const std::string path = BenchFile();
  if (FileSize(path) < 0) {
    state.SkipWithError("KORVEL_MD5_BENCH_FILE names no file");
    return;
  }
  PosixFilesPlatform platform;
  ScopedPlatform use(platform);
  const std::u16string widePath = FromUtf8(path);
  std::u16string digest = DigestHex(FileMD5(widePath));  // warms the page cache
  for (auto _ : state) {
    digest = DigestHex(FileMD5(widePath));
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(state.iterations() * FileSize(path));
  state.SetLabel(ToUtf8(digest));
}
BENCHMARK(BM_FileMD5)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_md5sum(benchmark::State& state) {
  const std::string path = BenchFile();
  if (FileSize(path) < 0) {
    state.SkipWithError("KORVEL_MD5_BENCH_FILE names no file");
    return;
  }
  const std::string command = "md5sum '" + path + "' > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("md5sum failed");
  }
  state.SetBytesProcessed(state.iterations() * FileSize(path));
}
BENCHMARK(BM_md5sum)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
