// Position arithmetic of a playing stream; see stream_timeline.h.
#include "stream_timeline.h"

#include <algorithm>
#include <cstdint>

namespace tonelink {

uint64_t FramesToMs(uint64_t frames, uint32_t rate) {
  if (rate == 0) return 0;
  // Whole seconds and the rest apart, so the product cannot overflow.
  return frames / rate * 1000 + frames % rate * 1000 / rate;
}

uint64_t MsToFrames(uint64_t ms, uint32_t rate) {
  return ms / 1000 * rate + ms % 1000 * rate / 1000;
}

int32_t ClampToInt32(uint64_t value) {
  return static_cast<int32_t>(std::min<uint64_t>(value, INT32_MAX));
}

void StreamTimeline::Play(uint64_t from, uint64_t end, uint64_t nowMs) {
  end_ = std::min(end, frameCount_);
  baseFrame_ = std::min(from, end_);
  baseMs_ = nowMs;
  phase_ = Phase::kPlaying;
  holds_ &= ~static_cast<uint32_t>(kHoldChannel);
}

void StreamTimeline::Seek(uint64_t frame, uint64_t nowMs) {
  baseFrame_ = std::min(frame, frameCount_);
  baseMs_ = nowMs;
  if (baseFrame_ > end_ || phase_ != Phase::kPlaying) end_ = std::max(end_, frameCount_);
}

void StreamTimeline::Stop(uint64_t nowMs) {
  Rebase(nowMs);
  if (phase_ == Phase::kPlaying) phase_ = Phase::kStopped;
}

void StreamTimeline::Hold(uint32_t reasons, uint64_t nowMs) {
  Rebase(nowMs);
  holds_ |= reasons;
}

void StreamTimeline::Release(uint32_t reasons, uint64_t nowMs) {
  Rebase(nowMs);
  holds_ &= ~reasons;
}

void StreamTimeline::SetSpeed(uint32_t framesPerSecond, uint64_t nowMs) {
  if (framesPerSecond == 0) return;
  Rebase(nowMs);
  speed_ = framesPerSecond;
}

void StreamTimeline::Rebase(uint64_t nowMs) {
  baseFrame_ = PositionFrames(nowMs);
  baseMs_ = std::max(baseMs_, nowMs);
}

uint64_t StreamTimeline::PositionFrames(uint64_t nowMs) const {
  if (!Runs() || nowMs <= baseMs_ || baseFrame_ >= end_) return baseFrame_;
  uint64_t advanced = MsToFrames(nowMs - baseMs_, speed_);
  return std::min(end_, baseFrame_ + std::min(advanced, end_ - baseFrame_));
}

bool StreamTimeline::IsLive(uint64_t nowMs) const {
  return phase_ == Phase::kPlaying && PositionFrames(nowMs) < end_;
}

bool StreamTimeline::IsAdvancing(uint64_t nowMs) const { return holds_ == 0 && IsLive(nowMs); }

int32_t Slide::ValueAt(uint64_t nowMs) const {
  if (nowMs <= startMs) return durationMs == 0 ? to : from;
  if (IsDone(nowMs)) return to;
  int64_t span = static_cast<int64_t>(to) - from;
  int64_t elapsed = static_cast<int64_t>(nowMs - startMs);
  return static_cast<int32_t>(from + span * elapsed / static_cast<int64_t>(durationMs));
}

}  // namespace tonelink

namespace tonelink {

FrameSpan LevelWindow(uint64_t position, uint64_t frameCount, uint32_t rate) {
  uint64_t length = std::max<uint64_t>(1, MsToFrames(kLevelWindowMs, rate));
  position = std::min(position, frameCount);
  uint64_t start = position >= length ? position - length : 0;
  return FrameSpan{start, std::min(length, frameCount - start)};
}

}  // namespace tonelink
