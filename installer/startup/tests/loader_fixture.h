// A small machine for the loader tests: the program in C:\Setup\, Windows 7 SP1 x64 in German,
// packages written as files of the fake file system, and the selection lists they load into.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "errors.h"
#include "fake_platform.h"
#include "message_table.h"
#include "run_options.h"
#include "selection_rules.h"

// Runs the system description's start-up steps against the installed platform (program path,
// system identification), as the program entry does.
void StartSystemDescription();

class LoaderTest : public ::testing::Test {
protected:
  FakePlatform machine;
  ScopedPlatform scoped{machine};
  SelectionLists lists;

  LoaderTest() {
    machine.SetEnvironment(u"systemdrive", u"C:");
    machine.SetEnvironment(u"windir", u"C:\\Windows");
    machine.SetEnvironment(u"programfiles", u"C:\\Program Files (x86)");
    machine.SetEnvironment(u"programw6432", u"C:\\Program Files");
    machine.AddDirectory(u"C:\\Windows\\system32");
    RunOptions = TRunOptions{};
    InitMessageTable();
  }
  ~LoaderTest() override {
    RunOptions = TRunOptions{};
    FinalizeMessageTable();
  }
  void SetUp() override { StartSystemDescription(); }

  void AddText(const std::u16string& path, const std::string& utf8) { machine.AddFile(path, "\xEF\xBB\xBF" + utf8); }

  std::vector<std::u16string> Column(const ListView& view, SubItem item) {
    std::vector<std::u16string> out;
    for (int i = 0; i < view.Count(); ++i) out.push_back(view.Row(i).Text(item));
    return out;
  }
};
