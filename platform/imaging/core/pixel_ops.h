// The bitmap operations on pixel memory: flip, mirror, quarter turns,
// resizing (plain stretch and resampling) and counting colours.  Pixels are
// 3 (B, G, R) or 4 (B, G, R, A) bytes, rows top-down with a stride of at
// least width * bytes; the Win32 side hands in the memory of its DIB
// sections, the tests hand in vectors.
#pragma once

#include <cstdint>
#include <vector>

namespace imaging {

struct PixelImage {
  int32_t width = 0;
  int32_t height = 0;
  uint32_t strideBytes = 0;
  uint32_t bytesPerPixel = 0;  // 3 or 4
  uint8_t* rows = nullptr;     // the top row first

  uint8_t* Row(int32_t y) const { return rows + static_cast<uint64_t>(y) * strideBytes; }
  uint8_t* Pixel(int32_t x, int32_t y) const { return Row(y) + static_cast<uint64_t>(x) * bytesPerPixel; }
};

// True when the image describes memory the operations may use: both sides
// positive, 3 or 4 bytes a pixel, a stride that holds a row, rows present.
bool IsUsable(const PixelImage& image);

// Upside down, in place.
void FlipVertical(const PixelImage& image);
// Left-right mirror, in place.
void ReverseHorizontal(const PixelImage& image);

// Turns `source` by quarterTurns * 90 degrees clockwise (negative values
// turn counter-clockwise) into `target`, which must have the turned size
// (sides swapped for an odd number of turns) and the same bytes a pixel.
// False, with `target` untouched, when the sizes do not fit.
bool RotateQuarterTurns(const PixelImage& source, int32_t quarterTurns, const PixelImage& target);

// How a resize picks the target pixels.
enum class ResizeMethod {
  kNearest,    // each target pixel copies the source pixel under its centre
  kResample,   // area average when shrinking, linear interpolation when enlarging
};

// Resizes `source` into `target` (any positive size, same bytes a pixel).
// False when either image is unusable or their pixel sizes differ.
bool Resize(const PixelImage& source, const PixelImage& target, ResizeMethod method);

// The number of different colours (blue, green, red; alpha is ignored).
uint32_t CountColors(const PixelImage& image);

}  // namespace imaging
