#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "countdown.h"
#include "errors.h"
#include "pause_timer.h"

namespace {

// A system timer driven by hand: the test moves the clock and fires the armed timer.
struct FakeTimerState {
  std::uint32_t Now = 10000;
  bool Armed = false;
  std::uint32_t Period = 0;
  std::uint32_t ArmedAt = 0;
  bool Refuse = false;
  std::vector<std::uint32_t> Arms;  // every period armed, in order
  TPauseTimer* Timer = nullptr;
};

class FakeTimerHost : public PauseTimerHost {
public:
  explicit FakeTimerHost(FakeTimerState& state) : state_(state) {}
  ~FakeTimerHost() override { state_.Timer = nullptr; }
  std::uint32_t TickCount() override { return state_.Now; }
  void KillTimer() override { state_.Armed = false; }
  bool SetTimer(std::uint32_t milliseconds) override {
    if (state_.Refuse) return false;
    state_.Armed = true;
    state_.Period = milliseconds;
    state_.ArmedAt = state_.Now;
    state_.Arms.push_back(milliseconds);
    return true;
  }
  void Attach(TPauseTimer& timer) override { state_.Timer = &timer; }

private:
  FakeTimerState& state_;
};

class PauseTimerTest : public ::testing::Test {
protected:
  FakeTimerState state;
  std::unique_ptr<TPauseTimer> timer = std::make_unique<TPauseTimer>(std::make_unique<FakeTimerHost>(state));
  std::vector<std::uint32_t> ticks;  // clock at each OnTimer

  void CountTicks() {
    timer->SetOnTimer([this](TPauseTimer&) { ticks.push_back(state.Now); });
  }
  // Moves the clock to the next expiry of the armed timer and delivers it.
  void FireNext() {
    ASSERT_TRUE(state.Armed) << "no timer armed at " << state.Now;
    state.Now = state.ArmedAt + state.Period;
    state.Timer->DoTimer();
  }
};

TEST_F(PauseTimerTest, StartsEnabledWithOneSecondButArmsNothingWithoutAHandler) {
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 1000u);
  EXPECT_EQ(timer->Delay(), 1000u);
  EXPECT_FALSE(timer->Paused());
  EXPECT_FALSE(state.Armed);
  CountTicks();
  EXPECT_TRUE(state.Armed);
  EXPECT_EQ(state.Period, 1000u);
  EXPECT_EQ(timer->StartTick(), 10000u);
}

TEST_F(PauseTimerTest, ResumedPeriodFiresAfterItsRemainderThenAtTheFullInterval) {
  CountTicks();
  FireNext();  // 11000
  state.Now += 300;
  timer->Pause();
  EXPECT_TRUE(timer->Paused());
  EXPECT_FALSE(timer->Enabled());
  EXPECT_FALSE(state.Armed);
  state.Now += 5000;
  timer->Resume();
  EXPECT_FALSE(timer->Paused());
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Delay(), 700u);
  FireNext();
  FireNext();
  FireNext();
  const std::vector<std::uint32_t> expected = {11000, 16300 + 700, 17000 + 1000, 18000 + 1000};
  EXPECT_EQ(ticks, expected);
  EXPECT_EQ(timer->Delay(), 1000u);
}

TEST_F(PauseTimerTest, ResumeAtOrAfterTheEndOfThePeriodFiresAfterOneMillisecond) {
  const std::uint32_t lateBy[] = {0, 1, 250};
  for (const std::uint32_t late : lateBy) {
    timer->SetInterval(1000);
    CountTicks();
    state.Now = state.ArmedAt + 1000 + late;  // the tick message is still waiting
    timer->Pause();
    state.Now += 40;
    timer->Resume();
    EXPECT_TRUE(state.Armed) << "late by " << late;
    EXPECT_EQ(state.Period, 1u) << "late by " << late;
  }
}

TEST_F(PauseTimerTest, APauseAtTickCountZeroIsStillAPause) {
  CountTicks();
  state.Now = 0;  // the tick count has just wrapped
  timer->Pause();
  EXPECT_TRUE(timer->Paused());
}

TEST_F(PauseTimerTest, SettingTheIntervalForgetsARecordedPause) {
  CountTicks();
  state.Now += 300;
  timer->Pause();
  timer->SetInterval(2000);
  EXPECT_FALSE(timer->Paused());
  EXPECT_EQ(timer->Delay(), 2000u);
  timer->Resume();
  EXPECT_EQ(state.Period, 2000u);
}

TEST_F(PauseTimerTest, PauseOnADisabledTimerDoesNothingAndResumeEnablesIt) {
  CountTicks();
  timer->SetEnabled(false);
  timer->Pause();
  EXPECT_FALSE(timer->Paused());
  EXPECT_FALSE(state.Armed);
  timer->Resume();
  EXPECT_TRUE(timer->Enabled());
  EXPECT_TRUE(state.Armed);
  EXPECT_EQ(state.Period, 1000u);
}

TEST_F(PauseTimerTest, EnabledDirectlyAfterAPauseRunsWhileStillPaused) {
  CountTicks();
  state.Now += 300;
  timer->Pause();
  timer->SetEnabled(true);
  EXPECT_TRUE(timer->Paused());
  EXPECT_TRUE(state.Armed);
  EXPECT_EQ(state.Period, 1000u);
  // Resume on an enabled timer does nothing, so the pause button cannot pause it any more.
  btnPauseClick(*timer);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_TRUE(timer->Paused());
}

TEST_F(PauseTimerTest, ARefusedTimerRaisesTimerError) {
  state.Refuse = true;
  try {
    CountTicks();
    FAIL() << "expected EOutOfResources";
  } catch (const EOutOfResources& e) {
    EXPECT_EQ(ToUtf8(e.Message()), "Timer Error");
  }
}

TEST_F(PauseTimerTest, AnIntervalOfZeroArmsNothing) {
  CountTicks();
  timer->SetInterval(0);
  EXPECT_FALSE(state.Armed);
}

TEST_F(PauseTimerTest, DestructionDisarms) {
  CountTicks();
  ASSERT_TRUE(state.Armed);
  timer.reset();
  EXPECT_FALSE(state.Armed);
}

TEST_F(PauseTimerTest, AHandlerThatDisablesTheTimerIsNotReArmed) {
  timer->SetOnTimer([](TPauseTimer& sender) { sender.SetEnabled(false); });
  FireNext();
  EXPECT_FALSE(state.Armed);
}

// The pause button's countdown on the main window.
class FakeCountdownWindow : public CountdownWindow {
public:
  std::vector<std::u16string> Captions;
  int Runs = 0;
  void SetPauseCaption(const std::u16string& caption) override { Captions.push_back(caption); }
  void InstallClick() override { ++Runs; }
};

TEST_F(PauseTimerTest, CountdownShowsEachSecondAndStartsTheRunAfterShowingZero) {
  struct Row {
    std::int16_t start;
    int ticksUntilRun;
    std::u16string lastCaption;
  };
  const Row rows[] = {{30, 31, u"Pause (0)"}, {2, 3, u"Pause (0)"}, {0, 1, u"Pause (0)"}, {-5, 1, u"Pause (-5)"},
                      {-32768, 1, u"Pause (-32768)"}};
  for (const Row& row : rows) {
    std::int16_t seconds = row.start;
    FakeCountdownWindow window;
    timer->SetEnabled(true);
    timer->SetOnTimer([&](TPauseTimer& sender) { TimerFinish(sender, seconds, u"Pause", window); });
    int ticks = 0;
    while (window.Runs == 0 && ticks < 100) {
      FireNext();
      ++ticks;
    }
    EXPECT_EQ(ticks, row.ticksUntilRun) << "countdown from " << row.start;
    EXPECT_EQ(window.Runs, 1) << "countdown from " << row.start;
    EXPECT_EQ(ToUtf8(window.Captions.back()), ToUtf8(row.lastCaption)) << "countdown from " << row.start;
    EXPECT_EQ(ToUtf8(window.Captions.front()),
              ToUtf8(u"Pause (" + FromUtf8(std::to_string(row.start)) + u")")) << "countdown from " << row.start;
    EXPECT_FALSE(timer->Enabled()) << "countdown from " << row.start;
    EXPECT_FALSE(state.Armed) << "countdown from " << row.start;
  }
}

TEST_F(PauseTimerTest, PauseButtonPausesThenResumes) {
  CountTicks();
  state.Now += 400;
  btnPauseClick(*timer);
  EXPECT_TRUE(timer->Paused());
  EXPECT_FALSE(state.Armed);
  btnPauseClick(*timer);
  EXPECT_FALSE(timer->Paused());
  EXPECT_TRUE(state.Armed);
  EXPECT_EQ(state.Period, 600u);
}

}  // namespace
