// Loading a document with XMLLibLite against pugixml, on the same documents:
//  - a package description as the installer reads it (a few hundred bytes);
//  - generated catalogs of package descriptions of about 1 MB and 10 MB.
// XMLLibLite reads UTF-16 text, so it is timed on the already decoded text (decoding a file is
// ReadTextFile's job, outside the reader); pugixml is timed on its UTF-8 buffer. Each iteration
// builds the tree into a fresh document and frees it again, for both.
//
// After the Google Benchmark table the program prints the ratios: XMLLibLite's time over
// pugixml's for each document (target: at most 3), and XMLLibLite's 10 MB time over its 1 MB
// time (target: at most 11, i.e. linear).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <pugixml.hpp>
#include <string>

#include "XMLLibLite.h"
#include "errors.h"
#include "fake_platform.h"

namespace {

const std::string kPackage =
    "<package id=\"viewer\" priority=\"50\" name=\"Beispielbetrachter\" group=\"Werkzeuge\" checked=\"0\" "
    "desc=\"Wird nur angeboten, wenn die Pr\xC3\xBC" "fsumme der Nutzlast stimmt und kernel32.dll vorhanden ist.\">\r\n"
    "\t<check type=\"file\" condition=\"exist\" path=\"%windir%\\system32\\kernel32.dll\"/>\r\n"
    "\t<check type=\"file\" condition=\"md5\" value=\"b168c2273b883ade28e34502296ff315\" path=\"%package%\\payload.txt\"/>\r\n"
    "\t<check type=\"os\" condition=\">=\" value=\"6.1\"/>\r\n"
    "\t<variable name=\"setup\" value=\"%package%\\setup.exe\"/>\r\n"
    "\t<install>\r\n"
    "\t\t<cmd path=\"%setup%\" param=\"/exit 0\" name=\"Beispielwerkzeuge (alle Systeme)\"/>\r\n"
    "\t\t<cmd path=\"setup.exe\" param=\"/exit 1603\" arch=\"x64\">\r\n"
    "\t\t\t<check type=\"file\" condition=\"&lt;\" value=\"99.0\" path=\"%windir%\\system32\\kernel32.dll\"/>\r\n"
    "\t\t</cmd>\r\n"
    "\t</install>\r\n"
    "</package>\r\n";

// A catalog of package descriptions with a comment and some element text, about bytes long.
std::string Catalog(std::size_t bytes) {
  std::string out = "<catalog version=\"1\">\r\n";
  for (int i = 0; out.size() < bytes; ++i) {
    const std::string n = std::to_string(i);
    out += "<!-- package " + n + " -->\r\n";
    out += "<package id=\"p" + n + "\" priority=\"" + std::to_string(i % 100) + "\" name=\"Paket " + n +
           "\" group=\"Gruppe " + std::to_string(i % 7) + "\" checked=\"1\">\r\n"
           "\t<check type=\"file\" condition=\"notexist\" path=\"%programfiles%\\Vendor\\p" + n + "\\app.exe\"/>\r\n"
           "\t<description>Installiert Paket " + n + " mit allen Komponenten.</description>\r\n"
           "\t<install>\r\n"
           "\t\t<cmd path=\"%package%\\setup" + n + ".msi\" param=\"/qn /norestart\"/>\r\n"
           "\t</install>\r\n"
           "</package>\r\n";
  }
  return out + "</catalog>\r\n";
}

struct Input {
  const char* Name;
  std::string Utf8;
  std::u16string Text;
};

std::vector<Input>& Inputs() {
  static std::vector<Input> inputs = [] {
    std::vector<Input> list;
    for (auto [name, utf8] : {std::pair<const char*, std::string>{"package.xml", kPackage},
                              {"catalog 1 MB", Catalog(1u << 20)},
                              {"catalog 10 MB", Catalog(10u << 20)}}) {
      list.push_back({name, utf8, FromUtf8(utf8)});
    }
    return list;
  }();
  return inputs;
}

FakePlatform& Machine() {
  static FakePlatform machine;
  return machine;
}

void LoadOurs(const Input& input) {
  TXMLFile file;
  file.LoadFromText(input.Text);
  benchmark::DoNotOptimize(file.Document.ChildCount());
}

void LoadPugi(const Input& input) {
  pugi::xml_document document;
  const auto result = document.load_buffer(input.Utf8.data(), input.Utf8.size(), pugi::parse_default, pugi::encoding_utf8);
  benchmark::DoNotOptimize(result.status);
}

void BM_XMLLibLite(benchmark::State& state) {
  const Input& input = Inputs()[state.range(0)];
  state.SetLabel(std::string(input.Name) + ", decoded UTF-16 text");
  for (auto _ : state) LoadOurs(input);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.Utf8.size()));
}

void BM_pugixml(benchmark::State& state) {
  const Input& input = Inputs()[state.range(0)];
  state.SetLabel(std::string(input.Name) + ", UTF-8 buffer");
  for (auto _ : state) LoadPugi(input);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.Utf8.size()));
}

BENCHMARK(BM_XMLLibLite)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_pugixml)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// Best time of one load, in seconds: loads are timed in batches of at least a millisecond, and
// the best batch of those run within about half a second counts.
template <typename F>
double BestTime(F load) {
  using Clock = std::chrono::steady_clock;
  int batch = 1;
  for (;;) {
    const auto start = Clock::now();
    for (int i = 0; i < batch; ++i) load();
    if (std::chrono::duration<double>(Clock::now() - start).count() >= 1e-3) break;
    batch *= 2;
  }
  double best = 1e30, spent = 0;
  for (int round = 0; round < 5 || (spent < 0.5 && round < 1000); ++round) {
    const auto start = Clock::now();
    for (int i = 0; i < batch; ++i) load();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    best = std::min(best, seconds / batch);
    spent += seconds;
  }
  return best;
}

void PrintRatios() {
  std::printf("\nXMLLibLite parses decoded UTF-16 text; pugixml parses the UTF-8 buffer. Both build and free a tree.\n");
  std::vector<double> ours;
  for (const Input& input : Inputs()) {
    const double mine = BestTime([&] { LoadOurs(input); });
    const double theirs = BestTime([&] { LoadPugi(input); });
    ours.push_back(mine);
    std::printf("%-14s XMLLibLite %10.3f ms  pugixml %10.3f ms  ratio %5.2f (target <= 3)\n", input.Name, mine * 1e3,
                theirs * 1e3, mine / theirs);
  }
  std::printf("XMLLibLite 10 MB / 1 MB: %.2f (target <= 11)\n", ours[2] / ours[1]);
}

}  // namespace

int main(int argc, char** argv) {
  ScopedPlatform scope(Machine());
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintRatios();
  return 0;
}
