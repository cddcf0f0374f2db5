// The window module's process-wide state: the countdown timer of the main window.
#pragma once

#include "pause_timer.h"

// The countdown timer; raises std::logic_error outside InitGuiModule .. FinalizeGuiModule.
TPauseTimer& CountdownTimer();

// Module start: the message table's built-in texts, and CountdownTimer, created disabled.
void InitGuiModule();
// Module end: releases CountdownTimer.
void FinalizeGuiModule();
