// Where a playing stream is at a given moment.  The position advances in
// real time from the moment BASSPLAY starts the stream, at the stream's
// playing frequency, and holds while the channel or the output is paused;
// it never passes the end of the played range, and reaching it ends the
// stream.  Times are milliseconds of a monotonic clock passed in by the
// caller (tests pass their own); positions are frames.
#pragma once

#include <cstdint>

namespace tonelink {

// Milliseconds of `frames` at `rate` frames per second, rounded down; and
// the frame at `ms`, rounded down.  A rate of 0 gives 0.
uint64_t FramesToMs(uint64_t frames, uint32_t rate);
uint64_t MsToFrames(uint64_t ms, uint32_t rate);

// A 64-bit count as the 32-bit number an export returns, INT32_MAX when it
// does not fit.
int32_t ClampToInt32(uint64_t value);

// The reasons a stream holds.
enum HoldReason : uint32_t {
  kHoldChannel = 1,  // BASSCHANNELPAUSE
  kHoldOutput = 2,   // BASSPAUSE, BASSSTOP
};

class StreamTimeline {
 public:
  enum class Phase { kIdle, kPlaying, kStopped };

  StreamTimeline(uint64_t frameCount, uint32_t rate) : frameCount_(frameCount), speed_(rate) {}

  // Plays frames [from, end) from `nowMs`; both are kept within the stream
  // and `end` is at least `from`.  Clears the channel hold (a new play
  // starts afresh); the output hold stays as the output is.
  void Play(uint64_t from, uint64_t end, uint64_t nowMs);
  // Moves to `frame` (kept within the stream).  The end of the played range
  // stays unless the new position lies beyond it: then it is the stream's
  // end.  A stopped or idle stream only changes its position.
  void Seek(uint64_t frame, uint64_t nowMs);
  // BASSCHANNELSTOP: the stream stops where it is and stays inactive until
  // played again.
  void Stop(uint64_t nowMs);
  void Hold(uint32_t reasons, uint64_t nowMs);
  void Release(uint32_t reasons, uint64_t nowMs);
  // The playing frequency in frames per second (a channel's frequency
  // attribute); 0 is ignored.
  void SetSpeed(uint32_t framesPerSecond, uint64_t nowMs);

  uint64_t PositionFrames(uint64_t nowMs) const;
  // The position at the last change (play, seek, hold, release, speed,
  // stop): where output that restarts after the change begins.
  uint64_t AnchorFrame() const { return baseFrame_; }
  uint64_t EndFrame() const { return end_; }
  uint64_t FrameCount() const { return frameCount_; }
  uint32_t Speed() const { return speed_; }
  Phase phase() const { return phase_; }
  uint32_t holds() const { return holds_; }
  // Advancing now: played, not held, not at its end.
  bool IsAdvancing(uint64_t nowMs) const;
  // Played and not yet at its end (it may be held).
  bool IsLive(uint64_t nowMs) const;

 private:
  bool Runs() const { return phase_ == Phase::kPlaying && holds_ == 0; }
  void Rebase(uint64_t nowMs);

  uint64_t frameCount_;
  uint32_t speed_;
  Phase phase_ = Phase::kIdle;
  uint32_t holds_ = 0;
  uint64_t end_ = 0;
  uint64_t baseFrame_ = 0;  // position at baseMs_
  uint64_t baseMs_ = 0;
};

// A linear slide of a value (a channel's volume) from `from` to `to` over
// `durationMs` starting at `startMs`.
struct Slide {
  int32_t from = 0;
  int32_t to = 0;
  uint64_t startMs = 0;
  uint64_t durationMs = 0;

  int32_t ValueAt(uint64_t nowMs) const;
  bool IsDone(uint64_t nowMs) const { return nowMs >= startMs + durationMs; }
};

}  // namespace tonelink

namespace tonelink {

// The frames whose peak is the level at `position`: the kLevelWindowMs
// just played (from the start while fewer have been), within the stream.
inline constexpr uint64_t kLevelWindowMs = 20;

struct FrameSpan {
  uint64_t start = 0;
  uint64_t count = 0;
};

FrameSpan LevelWindow(uint64_t position, uint64_t frameCount, uint32_t rate);

}  // namespace tonelink
