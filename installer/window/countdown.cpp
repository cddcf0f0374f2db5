#include "countdown.h"

#include <limits>

#include "errors.h"

void TimerFinish(TPauseTimer& timer, std::int16_t& seconds, const std::u16string& pauseText, CountdownWindow& window) {
  window.SetPauseCaption(pauseText + u" (" + FromUtf8(std::to_string(seconds)) + u")");
  if (seconds == std::numeric_limits<std::int16_t>::min()) {
    // Already as low as it goes: one more step would wrap to the longest countdown there is.
  } else {
    --seconds;
    if (seconds >= 0) return;
  }
  window.InstallClick();
  timer.SetEnabled(false);
}

void btnPauseClick(TPauseTimer& timer) {
  if (timer.Paused()) timer.Resume();
  else timer.Pause();
}
