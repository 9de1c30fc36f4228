#include "media_clock.h"

#include <algorithm>
#include <limits>

namespace imaging {

namespace {

constexpr uint32_t kMaxTerm = uint32_t{1} << 20;
constexpr int64_t kMicrosPerSecond = 1000000;
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

uint32_t Gcd(uint32_t a, uint32_t b) {
  while (b != 0) {
    uint32_t r = a % b;
    a = b;
    b = r;
  }
  return a;
}

// floor(a * b / c) for a >= 0, b > 0, c > 0 with b * c < 2^63, saturating.
int64_t MulDivFloor(int64_t a, int64_t b, int64_t c) {
  int64_t whole = a / c;
  int64_t rest = a % c;
  int64_t high = 0;
  if (__builtin_mul_overflow(whole, b, &high)) return kMax;
  int64_t low = rest * b / c;
  int64_t sum = 0;
  if (__builtin_add_overflow(high, low, &sum)) return kMax;
  return sum;
}

// ceil(a * b / c) under the same conditions.
int64_t MulDivCeil(int64_t a, int64_t b, int64_t c) {
  int64_t whole = a / c;
  int64_t rest = a % c;
  int64_t high = 0;
  if (__builtin_mul_overflow(whole, b, &high)) return kMax;
  int64_t low = (rest * b + c - 1) / c;
  int64_t sum = 0;
  if (__builtin_add_overflow(high, low, &sum)) return kMax;
  return sum;
}

}  // namespace

std::optional<FrameRate> MakeFrameRate(uint32_t rate, uint32_t scale) {
  if (rate == 0 || scale == 0) return std::nullopt;
  // 1 frame an hour <= rate / scale <= 1000 frames a second.
  if (uint64_t{rate} * 3600 < scale || uint64_t{rate} > uint64_t{scale} * 1000) return std::nullopt;
  uint32_t divisor = Gcd(rate, scale);
  rate /= divisor;
  scale /= divisor;
  if (rate > kMaxTerm || scale > kMaxTerm) {
    // The last convergent of the continued fraction of rate / scale whose
    // terms fit: the closest fraction with terms that small.
    uint64_t p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    uint64_t n = rate, d = scale;
    while (d != 0) {
      uint64_t a = n / d;
      uint64_t p2 = a * p1 + p0, q2 = a * q1 + q0;
      if (p2 > kMaxTerm || q2 > kMaxTerm) break;
      p0 = p1;
      q0 = q1;
      p1 = p2;
      q1 = q2;
      uint64_t r = n % d;
      n = d;
      d = r;
    }
    if (p1 == 0 || q1 == 0) return std::nullopt;
    rate = static_cast<uint32_t>(p1);
    scale = static_cast<uint32_t>(q1);
  }
  return FrameRate{rate, scale};
}

std::optional<FrameRate> FrameRateOfMicros(uint32_t microsPerFrame) {
  return MakeFrameRate(static_cast<uint32_t>(kMicrosPerSecond), microsPerFrame);
}

int64_t FramesAfter(const FrameRate& rate, int64_t micros) {
  if (micros <= 0 || rate.rate == 0 || rate.scale == 0) return 0;
  return MulDivFloor(micros, rate.rate, int64_t{rate.scale} * kMicrosPerSecond);
}

int64_t MicrosOfFrames(const FrameRate& rate, int64_t frames) {
  if (frames <= 0 || rate.rate == 0 || rate.scale == 0) return 0;
  return MulDivCeil(frames, int64_t{rate.scale} * kMicrosPerSecond, rate.rate);
}

int64_t MillisOfFrames(const FrameRate& rate, int64_t frames) {
  if (frames <= 0 || rate.rate == 0 || rate.scale == 0) return 0;
  return MulDivFloor(frames, int64_t{rate.scale} * 1000, rate.rate);
}

std::optional<Clip> MarkClip(int32_t start, int32_t end, int32_t length) {
  if (length <= 0 || start < -1 || end < -1) return std::nullopt;
  Clip clip{start == -1 ? 0 : start, end == -1 ? length : std::min(end, length)};
  if (clip.start >= clip.end) return std::nullopt;
  return clip;
}

Box FitPicture(int32_t pictureWidth, int32_t pictureHeight, int32_t boxWidth, int32_t boxHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0 || boxWidth <= 0 || boxHeight <= 0) return Box{};
  // Width-bound when picture w/h >= box w/h, compared without division.
  int64_t width = boxWidth;
  int64_t height = boxHeight;
  if (int64_t{pictureWidth} * boxHeight >= int64_t{boxWidth} * pictureHeight)
    height = std::max<int64_t>(1, (int64_t{boxWidth} * pictureHeight + pictureWidth / 2) / pictureWidth);
  else
    width = std::max<int64_t>(1, (int64_t{boxHeight} * pictureWidth + pictureHeight / 2) / pictureHeight);
  width = std::min<int64_t>(width, boxWidth);
  height = std::min<int64_t>(height, boxHeight);
  int32_t left = static_cast<int32_t>((boxWidth - width) / 2);
  int32_t top = static_cast<int32_t>((boxHeight - height) / 2);
  return Box{left, top, left + static_cast<int32_t>(width), top + static_cast<int32_t>(height)};
}

}  // namespace imaging
