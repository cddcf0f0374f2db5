// How the package loader and the check rules scale: a generated tree of N packages on the fake
// machine, each with two commands, spread over twenty groups, with every run of ten packages a
// prerequisite chain (package i needs package i-1 unless i is a multiple of ten). Every third
// package starts unchecked.
//
//   BM_LoadSortSync/N   LoadPackage for every file, both views sorted, the first synchronisation
//   BM_ChkAllOffOn/N    chk_all unchecked, then checked again, on the loaded lists
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>
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
  for (const std::u16string& file : tree.files) LoadPackage(file, lists);
  lists.InstallListDetail.SortByCaption();
  lists.InstallList.SortByCaption();
  lists.InstallListDetailItemChecked(-1);
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
    lists.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Step)->ArgsProduct({{500, 5000}, {0, 1, 2}})->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadSortSync(benchmark::State& state) {
  const auto tree = MakeTree(static_cast<int>(state.range(0)));
  ScopedPlatform use(tree->machine);
  Start(*tree);
  for (auto _ : state) {
    SelectionLists lists;
    LoadAll(*tree, lists);
    benchmark::DoNotOptimize(lists.InstallEnabled());
    if (lists.InstallListDetail.Count() != 2 * state.range(0)) state.SkipWithError("rows missing");
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

}  // namespace

BENCHMARK(BM_LoadSortSync)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChkAllOffOn)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
