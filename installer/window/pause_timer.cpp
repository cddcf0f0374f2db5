#include "pause_timer.h"

#include "errors.h"

TPauseTimer::TPauseTimer(std::unique_ptr<PauseTimerHost> host) : host_(std::move(host)) { host_->Attach(*this); }

TPauseTimer::~TPauseTimer() {
  enabled_ = false;
  host_->KillTimer();
}

void TPauseTimer::SetInterval(std::uint32_t milliseconds) {
  interval_ = milliseconds;
  pauseTick_ = 0;
  paused_ = false;
  SetDelay(milliseconds);
}

void TPauseTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  UpdateTimer();
}

void TPauseTimer::SetOnTimer(TimerEvent handler) {
  onTimer_ = std::move(handler);
  UpdateTimer();
}

void TPauseTimer::SetDelay(std::uint32_t milliseconds) {
  if (milliseconds == delay_) return;
  delay_ = milliseconds;
  UpdateTimer();
}

void TPauseTimer::Pause() {
  if (!enabled_) return;
  pauseTick_ = host_->TickCount();
  paused_ = true;
  SetEnabled(false);
}

void TPauseTimer::Resume() {
  if (enabled_) return;
  if (paused_) {
    const std::uint32_t elapsed = pauseTick_ - startTick_;
    // A tick that was still waiting when the pause came leaves nothing of the period; the
    // timer then fires as soon as it can rather than never (0) or after weeks (a wrapped value).
    if (delay_ != 0) SetDelay(elapsed < delay_ ? delay_ - elapsed : 1);
    pauseTick_ = 0;
    paused_ = false;
  }
  SetEnabled(true);
}

void TPauseTimer::UpdateTimer() {
  host_->KillTimer();
  if (delay_ != 0 && enabled_ && onTimer_) {
    if (!host_->SetTimer(delay_)) throw EOutOfResources(u"Timer Error");
    startTick_ = host_->TickCount();
  }
}

void TPauseTimer::DoTimer() {
  if (!onTimer_) return;
  delay_ = interval_;
  // A copy, so that a handler that replaces OnTimer does not destroy itself while it runs.
  const TimerEvent handler = onTimer_;
  handler(*this);
  UpdateTimer();
}
