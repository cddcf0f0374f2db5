#include "gui_module_win32.h"

#include <memory>
#include <stdexcept>

#include "pause_timer_win32.h"

namespace {
std::unique_ptr<TPauseTimer> countdown;
}

TPauseTimer& CountdownTimer() {
  if (!countdown) throw std::logic_error("CountdownTimer used outside the window module's lifetime");
  return *countdown;
}

void InitGuiModule() {
  countdown = CreatePauseTimer();
  countdown->SetEnabled(false);
}

void FinalizeGuiModule() { countdown.reset(); }
