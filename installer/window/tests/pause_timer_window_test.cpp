#include <windows.h>

#include <gtest/gtest.h>

#include "errors.h"
#include "funktionen.h"
#include "pause_timer_win32.h"
#include "win32_test_support.h"

namespace {

TEST(PauseTimerWindow, TicksArriveThroughTheMessageLoopAndTheWindowGoesWithTheTimer) {
  auto host = std::make_unique<WindowTimerHost>();
  const HWND window = host->WindowHandle();
  ASSERT_TRUE(IsWindow(window));
  auto timer = std::make_unique<TPauseTimer>(std::move(host));
  int ticks = 0;
  timer->SetInterval(20);
  timer->SetOnTimer([&](TPauseTimer&) { ++ticks; });
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; })) << "ticks: " << ticks;
  timer.reset();
  EXPECT_FALSE(IsWindow(window));
}

TEST(PauseTimerWindow, TwoTimersTickSideBySide) {
  auto first = CreatePauseTimer();
  auto second = CreatePauseTimer();
  int firstTicks = 0, secondTicks = 0;
  first->SetInterval(20);
  second->SetInterval(30);
  first->SetOnTimer([&](TPauseTimer&) { ++firstTicks; });
  second->SetOnTimer([&](TPauseTimer&) { ++secondTicks; });
  EXPECT_TRUE(PumpUntil([&] { return firstTicks >= 2 && secondTicks >= 2; }))
      << firstTicks << " and " << secondTicks << " ticks";
}

TEST(PauseTimerWindow, APausedTimerResumesAndTicksAgain) {
  auto timer = CreatePauseTimer();
  int ticks = 0;
  timer->SetInterval(40);
  timer->SetOnTimer([&](TPauseTimer&) { ++ticks; });
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 1; }));
  timer->Pause();
  EXPECT_TRUE(timer->Paused());
  const int atPause = ticks;
  timer->Resume();
  EXPECT_LE(timer->Delay(), 40u);
  EXPECT_GE(timer->Delay(), 1u);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= atPause + 2; }));
  EXPECT_EQ(timer->Delay(), 40u);
}

TEST(PauseTimerWindow, AnErrorInsideATickGoesToTheReporter) {
  std::vector<std::string> reported;
  SetExceptionReporter([&](const std::exception& error) { reported.push_back(error.what()); });
  auto timer = CreatePauseTimer();
  timer->SetInterval(20);
  timer->SetOnTimer([](TPauseTimer&) -> void { throw EOutOfResources(u"Timer Error"); });
  EXPECT_TRUE(PumpUntil([&] { return reported.size() >= 2; }));
  timer.reset();
  SetExceptionReporter(nullptr);
  ASSERT_FALSE(reported.empty());
  EXPECT_EQ(reported[0], "Timer Error");
}

}  // namespace
