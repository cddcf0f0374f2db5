// The countdown on the pause button: each tick of the countdown timer shows the seconds left
// and the tick after the count is used up starts the installation run.
#pragma once

#include <cstdint>
#include <string>

#include "pause_timer.h"

// The main window as the countdown sees it.
class CountdownWindow {
public:
  virtual ~CountdownWindow() = default;
  virtual void SetPauseCaption(const std::u16string& caption) = 0;
  // The install button's click action: the whole installation run, even when the button is
  // disabled.
  virtual void InstallClick() = 0;
};

// One tick (the timer's OnTimer handler): the caption becomes pauseText, " (", seconds, ")";
// seconds goes down by one, and when it is then below 0 the run starts inside this tick and the
// timer is disabled after it. seconds never wraps round to a positive count.
void TimerFinish(TPauseTimer& timer, std::int16_t& seconds, const std::u16string& pauseText, CountdownWindow& window);

// The pause button: resumes a paused timer, pauses any other. The caption stays as it is.
void btnPauseClick(TPauseTimer& timer);
