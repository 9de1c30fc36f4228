// The size of a recorded frame: a 24-bit DIB whose rows are padded to a
// multiple of four bytes.
#pragma once

#include <cstdint>

namespace reelcap {

// Bytes of one row of `width` 24-bit pixels, padded to four bytes.
inline uint64_t FrameRowBytes(uint32_t width) { return (uint64_t{width} * 3 + 3) & ~uint64_t{3}; }
// Bytes of a frame; 0 for a side of 0 or above `kMaxSide`.
inline constexpr uint32_t kMaxSide = 8192;
inline uint64_t FrameBytes(uint32_t width, uint32_t height) {
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return 0;
  return FrameRowBytes(width) * height;
}

}  // namespace reelcap
