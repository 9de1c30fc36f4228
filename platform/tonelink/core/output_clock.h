// The clock of the output: how many milliseconds the output has run since
// BASSINIT, not counting the time it was paused or stopped.  Streams take
// their playing position from it, so the null device (no sound card) keeps
// real time just as a wave-out device does.  The caller passes the time of
// each event from a monotonic source in milliseconds; tests pass their own.
#pragma once

#include <cstdint>

namespace tonelink {

class OutputClock {
 public:
  enum class State { kRunning, kPaused, kStopped };

  // A clock that starts running at `nowMs` (BASSINIT starts the output).
  explicit OutputClock(uint64_t nowMs) : runningSinceMs_(nowMs) {}
  OutputClock() : OutputClock(0) {}

  // BASSSTART: runs again from `nowMs`; no change while running.
  void Start(uint64_t nowMs);
  // BASSPAUSE and BASSSTOP: the time run so far is kept; no change unless
  // running, but the state is taken either way.
  void Pause(uint64_t nowMs);
  void Stop(uint64_t nowMs);

  // Milliseconds run up to `nowMs`.  A source going backwards adds nothing.
  uint64_t ElapsedMs(uint64_t nowMs) const;
  State state() const { return state_; }

 private:
  void Hold(uint64_t nowMs, State state);

  State state_ = State::kRunning;
  uint64_t runningSinceMs_;
  uint64_t heldMs_ = 0;  // time run before the last start
};

}  // namespace tonelink
