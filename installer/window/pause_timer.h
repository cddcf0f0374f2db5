// TPauseTimer: a periodic timer whose current period can be paused and resumed part-way, so
// that a resumed timer fires after the rest of the interrupted period, then at its full
// interval again. The installer's countdown runs on one.
//
// Whenever the system refuses to arm the timer, EOutOfResources with the message "Timer Error"
// is raised to whoever changed the timer (inside a tick: to DoTimer's caller).
//
// The arithmetic is portable; the system timer and the tick count come from a PauseTimerHost.
// The Windows host (pause_timer_win32.h) is a hidden window that receives system timer 1.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class TPauseTimer;

// What the timer needs of the system.
class PauseTimerHost {
public:
  virtual ~PauseTimerHost() = default;
  // Milliseconds since the system started, wrapping at 2^32.
  virtual std::uint32_t TickCount() = 0;
  // Disarms the system timer; nothing happens when it is not armed.
  virtual void KillTimer() = 0;
  // Arms (or re-arms) the system timer with this period; false when the system refuses.
  virtual bool SetTimer(std::uint32_t milliseconds) = 0;
  // From now on each expiry of the system timer calls timer.DoTimer(). Called once, by the
  // timer's constructor.
  virtual void Attach(TPauseTimer& timer) = 0;
};

class TPauseTimer {
public:
  using TimerEvent = std::function<void(TPauseTimer& sender)>;

  // Initially enabled, with interval and delay 1000 and no OnTimer, so nothing is armed.
  explicit TPauseTimer(std::unique_ptr<PauseTimerHost> host);
  // Disables and disarms the timer, then releases the host.
  virtual ~TPauseTimer();
  TPauseTimer(const TPauseTimer&) = delete;
  TPauseTimer& operator=(const TPauseTimer&) = delete;

  // The period the system timer is armed with now: the interval, or after a resume the rest
  // of the interrupted period.
  std::uint32_t Delay() const { return delay_; }
  std::uint32_t Interval() const { return interval_; }
  // Sets the period; a recorded pause is forgotten.
  void SetInterval(std::uint32_t milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const TimerEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TimerEvent handler);

  // True while a pause is recorded (from Pause until Resume or SetInterval).
  bool Paused() const { return paused_; }
  // On an enabled timer: records the tick count and disables it. Does nothing otherwise.
  void Pause();
  // On a disabled timer: arms it with the rest of the paused period (at least 1 ms, also when
  // the pause came at or after the end of the period), forgets the pause and enables it.
  // Does nothing on an enabled timer.
  void Resume();

  // One tick: restores the full interval, calls OnTimer, then re-arms. Called by the host.
  virtual void DoTimer();

  // Tick count at which the system timer was last armed.
  std::uint32_t StartTick() const { return startTick_; }

protected:
  void SetDelay(std::uint32_t milliseconds);
  void UpdateTimer();

private:
  std::unique_ptr<PauseTimerHost> host_;
  std::uint32_t delay_ = 1000;
  std::uint32_t interval_ = 1000;
  std::uint32_t startTick_ = 0;
  std::uint32_t pauseTick_ = 0;
  // Kept beside the tick so that a pause at tick count 0 is still a pause.
  bool paused_ = false;
  TimerEvent onTimer_;
  bool enabled_ = true;
};
