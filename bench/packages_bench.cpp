// How the package loader and the check rules scale: a generated tree of N packages on the fake
// machine, each with two commands, spread over twenty groups, with every run of ten packages a
// prerequisite chain (package i needs package i-1 unless i is a multiple of ten). Every third
// package starts unchecked.
//
//   BM_LoadSortSync/N   LoadPackage for every file, both views sorted, the first synchronisation
//   BM_ChkAllOffOn/N    chk_all unchecked, then checked again, on the loaded lists
//
// After the table the program prints each figure's best CPU time for N = 500 and N = 5000 and
// their ratio (target: at most 12, i.e. near-linear). --benchmark_filter=NONE prints only that.
// Loading is measured as the installer does it, once in a new process (the program runs itself
// with --load-once N), and also repeated in one process, where the larger tree no longer fits
// the caches that the smaller one stays in from round to round.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "errors.h"
#include "fake_platform.h"
#include "message_table.h"
#include "os_info.h"
#include "package_loader.h"
#include "paths.h"
#include "selection_rules.h"

namespace {

struct Tree {
  FakePlatform machine;
  std::vector<std::u16string> files;
};

std::unique_ptr<Tree> MakeTree(int n) {
  auto tree = std::make_unique<Tree>();
  tree->machine.SetEnvironment(u"systemdrive", u"C:");
  tree->machine.SetEnvironment(u"windir", u"C:\\Windows");
  for (int i = 0; i < n; ++i) {
    std::ostringstream dirText, xml;
    dirText << "C:\\Setup\\packages\\p" << i << "\\";
    const std::string dir = dirText.str();
    xml << "<package id=\"p" << i << "\" name=\"Package " << i << "\" priority=\"" << 10 + i % 80 << "\" group=\"Group "
        << i % 20 << "\" desc=\"Package number " << i << "\"";
    if (i % 10 != 0) xml << " prereq=\"p" << i - 1 << "\"";
    if (i % 3 == 0) xml << " checked=\"0\"";
    xml << ">\r\n\t<check type=\"os\" condition=\">=\" value=\"5.1\"/>\r\n\t<install>\r\n"
           "\t\t<cmd path=\"%package%\\setup.exe\" param=\"/q\"/>\r\n"
           "\t\t<cmd name=\"Update\" path=\"update.msi\" arch=\"*\"><check type=\"file\" condition=\"notexist\" path=\"C:\\Windows\\marker.dll\"/></cmd>\r\n"
           "\t</install>\r\n</package>\r\n";
    const std::u16string u16dir = FromUtf8(dir);
    tree->machine.AddFile(u16dir + u"setup.exe", "MZ");
    tree->machine.AddFile(u16dir + u"update.msi", "MSI");
    tree->machine.AddFile(u16dir + u"package.xml", "\xEF\xBB\xBF" + xml.str());
    tree->files.push_back(u16dir + u"package.xml");
  }
  return tree;
}

void Start(Tree& tree) {
  InitAppStartPath();
  FinishOSInfo();
  InitOSInfo();
  InitMessageTable();
  (void)tree;
}

void LoadAll(Tree& tree, SelectionLists& lists) {
  lists.Reserve(static_cast<int>(tree.files.size()));
  for (const std::u16string& file : tree.files) LoadPackage(file, lists);
  lists.InstallListDetail.SortByCaption();
  lists.InstallList.SortByCaption();
  lists.InstallListDetailItemChecked(-1);
}

// Freeing the lists is not part of the figures: a loader runs once per process.
void FreeLists(std::unique_ptr<SelectionLists>& lists) {
  lists.reset();
}

// The three steps of the first figure on their own, for reading where time goes.
void BM_Step(benchmark::State& state) {
  const auto tree = MakeTree(static_cast<int>(state.range(0)));
  ScopedPlatform use(tree->machine);
  Start(*tree);
  const int step = static_cast<int>(state.range(1));
  for (auto _ : state) {
    state.PauseTiming();
    auto lists = std::make_unique<SelectionLists>();
    if (step > 0) for (const std::u16string& file : tree->files) LoadPackage(file, *lists);
    if (step > 1) {
      lists->InstallListDetail.SortByCaption();
      lists->InstallList.SortByCaption();
    }
    state.ResumeTiming();
    if (step == 0) for (const std::u16string& file : tree->files) LoadPackage(file, *lists);
    if (step == 1) {
      lists->InstallListDetail.SortByCaption();
      lists->InstallList.SortByCaption();
    }
    if (step == 2) lists->InstallListDetailItemChecked(-1);
    state.PauseTiming();
    FreeLists(lists);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Step)->ArgsProduct({{500, 5000}, {0, 1, 2}})->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadSortSync(benchmark::State& state) {
  const auto tree = MakeTree(static_cast<int>(state.range(0)));
  ScopedPlatform use(tree->machine);
  Start(*tree);
  for (auto _ : state) {
    auto lists = std::make_unique<SelectionLists>();
    LoadAll(*tree, *lists);
    benchmark::DoNotOptimize(lists->InstallEnabled());
    if (lists->InstallListDetail.Count() != 2 * state.range(0)) state.SkipWithError("rows missing");
    // Freeing the lists is not part of the figure.
    state.PauseTiming();
    FreeLists(lists);
    state.ResumeTiming();
  }
}

void BM_ChkAllOffOn(benchmark::State& state) {
  const auto tree = MakeTree(static_cast<int>(state.range(0)));
  ScopedPlatform use(tree->machine);
  Start(*tree);
  SelectionLists lists;
  LoadAll(*tree, lists);
  for (auto _ : state) {
    lists.chk_allClick(false);
    lists.chk_allClick(true);
    if (lists.InstallListDetail.CheckedCount() != lists.InstallListDetail.Count()) state.SkipWithError("not all checked");
  }
}

BENCHMARK(BM_LoadSortSync)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChkAllOffOn)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Best CPU time of one round out of thirty, so that a busy moment of a shared machine does not
// count. Every figure takes the best of the same number of rounds, whatever N: more rounds would
// give a smaller N more chances of a quiet moment. prepare runs untimed before each round, round
// is timed, finish runs untimed after it.
template <typename Prepare, typename Round, typename Finish>
double BestTime(Prepare prepare, Round round, Finish finish) {
  double best = 1e30;
  for (int i = 0; i < 30; ++i) {
    prepare();
    const double start = CpuSeconds();
    round();
    const double took = CpuSeconds() - start;
    finish();
    best = std::min(best, took);
  }
  return best;
}

// The program run with kLoadOnce and N: builds the tree, loads it once and prints the CPU time
// of loading, sorting and the first synchronisation in seconds.
constexpr char kLoadOnce[] = "--load-once";

int LoadOnce(int n) {
  const auto tree = MakeTree(n);
  ScopedPlatform use(tree->machine);
  Start(*tree);
  SelectionLists lists;
  const double start = CpuSeconds();
  LoadAll(*tree, lists);
  std::printf("%.9f\n", CpuSeconds() - start);
  return 0;
}

// One load in a process of its own (the program run with kLoadOnce); negative when it fails.
double FreshLoad(const std::filesystem::path& self, int n) {
  const std::string command = "'" + self.string() + "' " + kLoadOnce + " " + std::to_string(n);
  FILE* child = popen(command.c_str(), "r");
  if (!child) return -1;
  double took = -1;
  const bool read = std::fscanf(child, "%lf", &took) == 1;
  return pclose(child) == 0 && read ? took : -1;
}

// The installer loads its packages once per run, in a new process: for each size the best of
// thirty such loads, each in a process of its own, so that no round finds the heap or the caches
// a previous round left behind. The sizes take turns, so that both meet the same moments of a
// shared machine. Negative figures when the program cannot be run again.
std::pair<double, double> BestFreshLoads(int small, int large) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {-1, -1};
  double bestSmall = 1e30, bestLarge = 1e30;
  for (int i = 0; i < 30; ++i) {
    const double smallTook = FreshLoad(self, small), largeTook = FreshLoad(self, large);
    if (smallTook < 0 || largeTook < 0) return {-1, -1};
    bestSmall = std::min(bestSmall, smallTook);
    bestLarge = std::min(bestLarge, largeTook);
  }
  return {bestSmall, bestLarge};
}

struct Figures {
  double LoadSortSync;
  double ChkAllOffOn;
};

Figures Measure(int n) {
  const auto tree = MakeTree(n);
  ScopedPlatform use(tree->machine);
  Start(*tree);
  std::unique_ptr<SelectionLists> lists;
  Figures figures{};
  figures.LoadSortSync = BestTime([&] { lists = std::make_unique<SelectionLists>(); }, [&] { LoadAll(*tree, *lists); },
                                  [&] { FreeLists(lists); });
  lists = std::make_unique<SelectionLists>();
  LoadAll(*tree, *lists);
  // Timed in units of about the same length for every N: a short round alone would let the
  // clock's granularity and the luck of a quiet moment favour the smaller N.
  const int repeat = std::max(1, 5000 / n);
  figures.ChkAllOffOn = BestTime([] {}, [&] {
    for (int i = 0; i < repeat; ++i) {
      lists->chk_allClick(false);
      lists->chk_allClick(true);
    }
  }, [] {}) / repeat;
  return figures;
}

void PrintRatios() {
  const auto [freshSmall, freshLarge] = BestFreshLoads(500, 5000);
  const Figures small = Measure(500), large = Measure(5000);
  std::printf("\nBest CPU time of one round.\n");
  std::printf("load + sort + sync:  N=500 %8.2f ms, N=5000 %8.2f ms, ratio %5.2f (target <= 12), in a new process each\n",
              freshSmall * 1e3, freshLarge * 1e3, freshLarge / freshSmall);
  std::printf("                     N=500 %8.2f ms, N=5000 %8.2f ms, ratio %5.2f, repeated in one process\n",
              small.LoadSortSync * 1e3, large.LoadSortSync * 1e3, large.LoadSortSync / small.LoadSortSync);
  std::printf("chk_all off and on:  N=500 %8.3f ms, N=5000 %8.3f ms, ratio %5.2f (target <= 12)\n", small.ChkAllOffOn * 1e3,
              large.ChkAllOffOn * 1e3, large.ChkAllOffOn / small.ChkAllOffOn);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == kLoadOnce) return LoadOnce(std::atoi(argv[2]));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintRatios();
  return 0;
}
