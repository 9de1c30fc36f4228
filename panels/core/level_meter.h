// The level meter's bars: 100 steps per channel coloured from a 33-entry
// palette (blue through green and yellow to red), lit up to the level and
// fading by 32 per colour component per call above it, so a peak falls
// away gently; and the segments the meter window is cut into.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace panels {

// 0x00RRGGBB-free form: red, green, blue.
struct MeterColour {
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const MeterColour&) const = default;
  bool IsBlack() const { return red == 0 && green == 0 && blue == 0; }
};

// Palette entry 0..33 (0 black); the colour of percent step p is entry p \ 3.
MeterColour MeterPalette(int32_t index);

// Full scale of one channel's level.
constexpr int32_t kFullScaleLevel = 128;

struct MeterSegments {
  int32_t segmentHeight = 0;  // s
  int32_t count = 0;          // n
  int32_t halfWidth = 0;
};
// The meter window's client size: height H = max(33, height), s = H \ 33,
// n = H \ s, half width = width \ 2.
MeterSegments SegmentsFor(int32_t clientWidth, int32_t clientHeight);

class LevelMeterModel {
 public:
  // One call per tick with the levels 0..128 of each channel.
  void Update(int32_t leftLevel, int32_t rightLevel);
  // The colours of step 1..100 (index 0 unused, black).
  const std::array<MeterColour, 101>& Left() const { return left_; }
  const std::array<MeterColour, 101>& Right() const { return right_; }
  // The step a segment i (1..n, 1 at the bottom) shows: 100 * i \ n.
  static int32_t StepOfSegment(int32_t segment, int32_t count);

 private:
  static void UpdateChannel(std::array<MeterColour, 101>& steps, int32_t level);
  std::array<MeterColour, 101> left_{};
  std::array<MeterColour, 101> right_{};
};

// The percent a level shows: 100 * level / 128 rounded, within 0..100.
int32_t LevelPercent(int32_t level);

}  // namespace panels
