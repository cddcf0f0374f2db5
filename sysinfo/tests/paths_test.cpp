#include <gtest/gtest.h>

#include <stdexcept>

#include "errors.h"
#include "fake_platform.h"
#include "startup_steps.h"

namespace {

TEST(Environment, ExpandsAndTrims) {
  FakePlatform machine;
  ScopedPlatform use(machine);
  machine.SetEnvironment(u"PADDED", u"  C:\\Padded\t");
  const std::pair<std::u16string, std::u16string> rows[] = {
      {u"", u""},
      {u"%systemdrive%\\ZebLog.txt", u"C:\\ZebLog.txt"},
      {u"  %windir%  ", u"C:\\Windows"},
      {u"\t%WINDIR%\\system32\\Korvel.XML\r\n", u"C:\\Windows\\system32\\Korvel.XML"},
      {u"%nosuchvariable%\\setup.exe", u"%nosuchvariable%\\setup.exe"},
      {u"%PADDED%", u"C:\\Padded"},
      {std::u16string(u"\0x\0", 3), u"x"},
      {u"   ", u""},
      {u"a b", u"a b"},
  };
  for (const auto& [source, expected] : rows) {
    EXPECT_EQ(ToUtf8(ExpandEnvironment(source)), ToUtf8(expected)) << "source \"" << ToUtf8(source) << "\"";
  }
}

TEST(Environment, ResultTooLongForTheSystemIsEmpty) {
  FakePlatform machine;
  ScopedPlatform use(machine);
  machine.SetEnvironment(u"BIG", std::u16string(32000, u'x'));
  const std::pair<std::size_t, std::size_t> rows[] = {{766, 32766}, {767, 0}, {10000, 0}};
  for (const auto& [tail, length] : rows) {
    EXPECT_EQ(ExpandEnvironment(u"%BIG%" + std::u16string(tail, u'y')).size(), length) << "32000 + " << tail;
  }
}

TEST(ProgramDirectory, EndsWithABackslash) {
  const std::pair<std::u16string, std::u16string> rows[] = {
      {u"D:\\Setup\\Korvel.exe", u"D:\\Setup\\"},
      {u"D:\\Korvel.exe", u"D:\\"},
      {u"\\\\server\\share\\Setup\\Korvel.exe", u"\\\\server\\share\\Setup\\"},
      {u"D:Korvel.exe", u"D:\\"},
      {u"Korvel.exe", u""},
      {u"", u""},
  };
  for (const auto& [program, expected] : rows) {
    FakePlatform machine;
    ScopedPlatform use(machine);
    machine.SetModuleFileName(program);
    InitAppStartPath();
    EXPECT_EQ(ToUtf8(AppStartPath()), ToUtf8(expected)) << "program " << ToUtf8(program);
  }
}

TEST(Wow64, FollowsTheSystem) {
  FakePlatform machine;
  ScopedPlatform use(machine);
  machine.Wow64 = true;
  EXPECT_TRUE(IsWow64());
  machine.Wow64 = false;
  EXPECT_FALSE(IsWow64());
}

// Remembers, when the system version is asked for, whether redirection was already off: the
// identification must see the system before file access is redirected.
class StartUpMachine : public FakePlatform {
public:
  SystemVersion QuerySystemVersion() override {
    kernelHeldWhenIdentified = KernelLibraryHeld;
    redirectionOffWhenIdentified = RedirectionOff;
    return FakePlatform::QuerySystemVersion();
  }
  bool kernelHeldWhenIdentified = false;
  bool redirectionOffWhenIdentified = true;
};

TEST(StartUpSteps, RunInTheirOrderAndFinishInReverse) {
  StartUpMachine machine;
  ScopedPlatform use(machine);
  machine.SetModuleFileName(u"E:\\Pakete\\Korvel.exe");
  machine.Version = {6, 1, 7601, 1, 1};
  machine.Architecture = 0;
  machine.DefaultLanguage = u"0409";

  EXPECT_THROW(CurrentOS(), std::logic_error);
  InitSystemModules();
  EXPECT_TRUE(machine.kernelHeldWhenIdentified);
  EXPECT_FALSE(machine.redirectionOffWhenIdentified);
  EXPECT_TRUE(machine.RedirectionOff);
  EXPECT_EQ(ToUtf8(AppStartPath()), "E:\\Pakete\\");
  EXPECT_EQ(ToUtf8(CurrentOS().Version.ToString()), "6.1.7601.17514");
  EXPECT_EQ(ToUtf8(CurrentOS().ArchName()), "x86");
  EXPECT_EQ(UserLanguage().LanguageID, 1033);

  FinishSystemModules();
  EXPECT_FALSE(machine.KernelLibraryHeld);
  EXPECT_THROW(CurrentOS(), std::logic_error);
  EXPECT_THROW(UserLanguage(), std::logic_error);
}

TEST(StartUpSteps, GoOnWithoutRedirectionSwitch) {
  FakePlatform machine;
  ScopedPlatform use(machine);
  machine.RedirectionAvailable = false;
  InitSystemModules();
  EXPECT_FALSE(machine.RedirectionOff);
  EXPECT_NO_THROW(CurrentOS());
  FinishSystemModules();
}

}  // namespace
