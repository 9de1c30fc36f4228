// The output's clock; see output_clock.h.
#include "output_clock.h"

namespace tonelink {

void OutputClock::Start(uint64_t nowMs) {
  if (state_ == State::kRunning) return;
  state_ = State::kRunning;
  runningSinceMs_ = nowMs;
}

void OutputClock::Pause(uint64_t nowMs) { Hold(nowMs, State::kPaused); }

void OutputClock::Stop(uint64_t nowMs) { Hold(nowMs, State::kStopped); }

void OutputClock::Hold(uint64_t nowMs, State state) {
  heldMs_ = ElapsedMs(nowMs);
  state_ = state;
}

uint64_t OutputClock::ElapsedMs(uint64_t nowMs) const {
  if (state_ != State::kRunning || nowMs < runningSinceMs_) return heldMs_;
  return heldMs_ + (nowMs - runningSinceMs_);
}

}  // namespace tonelink
