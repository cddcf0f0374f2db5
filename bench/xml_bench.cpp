// Loading a document with XMLLibLite against pugixml, on the same documents:
//  - a package description as the installer reads it (about 1 KB);
//  - generated catalogs of package descriptions of about 1 MB and 10 MB.
// XMLLibLite reads UTF-16 text, so it is timed on the already decoded text (decoding a file is
// ReadTextFile's job, before the reader); pugixml is timed on its UTF-8 buffer.
//
// Two measures for each: "parse" builds the tree into fresh documents and frees them outside the
// timed region; "load" times building and freeing together.
//
// After the Google Benchmark table the program prints the ratios, from process CPU time (the
// machine may be shared): XMLLibLite's time over pugixml's for each document (target: at most 3),
// and XMLLibLite's 10 MB time over its 1 MB time (target: at most 11, i.e. linear).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <vector>
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

// Enough documents per timed round that a small one is not lost in the clock's overhead.
std::size_t BatchFor(const Input& input) { return std::max<std::size_t>(1, (256u << 10) / input.Utf8.size()); }

struct Ours {
  std::vector<std::unique_ptr<TXMLFile>> Files;
  void Prepare(std::size_t count) {
    Files.clear();
    for (std::size_t i = 0; i < count; ++i) Files.push_back(std::make_unique<TXMLFile>());
  }
  void Parse(const Input& input) {
    for (auto& file : Files) {
      file->Document.LoadFromText(input.Text);
      benchmark::DoNotOptimize(file->Document.ChildCount());
    }
  }
  void Free() { Files.clear(); }
};

struct Pugi {
  std::vector<std::unique_ptr<pugi::xml_document>> Documents;
  void Prepare(std::size_t count) {
    Documents.clear();
    for (std::size_t i = 0; i < count; ++i) Documents.push_back(std::make_unique<pugi::xml_document>());
  }
  void Parse(const Input& input) {
    for (auto& document : Documents) {
      const auto result =
          document->load_buffer(input.Utf8.data(), input.Utf8.size(), pugi::parse_default, pugi::encoding_utf8);
      benchmark::DoNotOptimize(result.status);
    }
  }
  void Free() { Documents.clear(); }
};

template <typename Library>
void Parse(benchmark::State& state, const char* what) {
  const Input& input = Inputs()[state.range(0)];
  const std::size_t batch = BatchFor(input);
  state.SetLabel(std::string(input.Name) + ", " + what);
  Library library;
  for (auto _ : state) {
    state.PauseTiming();
    library.Prepare(batch);
    state.ResumeTiming();
    library.Parse(input);
    state.PauseTiming();
    library.Free();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * batch * input.Utf8.size()));
  state.counters["docs"] = static_cast<double>(batch);
}

template <typename Library>
void Load(benchmark::State& state, const char* what) {
  const Input& input = Inputs()[state.range(0)];
  const std::size_t batch = BatchFor(input);
  state.SetLabel(std::string(input.Name) + ", " + what);
  Library library;
  for (auto _ : state) {
    library.Prepare(batch);
    library.Parse(input);
    library.Free();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * batch * input.Utf8.size()));
  state.counters["docs"] = static_cast<double>(batch);
}

void BM_Parse_XMLLibLite(benchmark::State& state) { Parse<Ours>(state, "decoded UTF-16 text"); }
void BM_Parse_pugixml(benchmark::State& state) { Parse<Pugi>(state, "UTF-8 buffer"); }
void BM_Load_XMLLibLite(benchmark::State& state) { Load<Ours>(state, "decoded UTF-16 text"); }
void BM_Load_pugixml(benchmark::State& state) { Load<Pugi>(state, "UTF-8 buffer"); }

BENCHMARK(BM_Parse_XMLLibLite)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Parse_pugixml)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Load_XMLLibLite)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Load_pugixml)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

double CpuSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Best CPU time of one document, parse only and parse plus free, over rounds filling about a
// second of CPU time (at least five).
template <typename Library>
std::pair<double, double> BestTimes(const Input& input) {
  const std::size_t batch = BatchFor(input);
  Library library;
  double bestParse = 1e30, bestLoad = 1e30, spent = 0;
  for (int round = 0; round < 5 || (spent < 1.0 && round < 2000); ++round) {
    library.Prepare(batch);
    const double start = CpuSeconds();
    library.Parse(input);
    const double parsed = CpuSeconds();
    library.Free();
    const double freed = CpuSeconds();
    bestParse = std::min(bestParse, (parsed - start) / batch);
    bestLoad = std::min(bestLoad, (freed - start) / batch);
    spent += freed - start;
  }
  return {bestParse, bestLoad};
}

void PrintRatios() {
  std::printf("\nBest CPU time per document. XMLLibLite parses decoded UTF-16 text; pugixml parses the UTF-8 buffer.\n");
  std::vector<std::pair<double, double>> ours;
  for (const Input& input : Inputs()) {
    const auto mine = BestTimes<Ours>(input);
    const auto theirs = BestTimes<Pugi>(input);
    ours.push_back(mine);
    std::printf("%-14s parse:      XMLLibLite %10.1f us, pugixml %9.1f us, ratio %5.2f (target <= 3)\n", input.Name,
                mine.first * 1e6, theirs.first * 1e6, mine.first / theirs.first);
    std::printf("%-14s parse+free: XMLLibLite %10.1f us, pugixml %9.1f us, ratio %5.2f\n", "", mine.second * 1e6,
                theirs.second * 1e6, mine.second / theirs.second);
  }
  std::printf("XMLLibLite 10 MB / 1 MB: parse %.2f, parse+free %.2f (target <= 11)\n", ours[2].first / ours[1].first,
              ours[2].second / ours[1].second);
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
