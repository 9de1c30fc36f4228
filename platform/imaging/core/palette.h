// Reducing B, G, R pixels to 1, 4 or 8 bits a pixel with a palette: the
// picture's own colours when they fit, otherwise a fixed palette for the
// depth (1 bit: black and white by brightness; 4 bits: the 16 VGA colours,
// nearest; 8 bits: 8 reds x 8 greens x 4 blues).  Used by the BMP encoder
// and for the indexed PNG and TIFF files written through GDI+.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "pixel_ops.h"

namespace imaging {

struct PaletteColour {
  uint8_t blue = 0, green = 0, red = 0;
};

struct IndexedPicture {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
  uint32_t strideBytes = 0;            // DIB rows: whole 32-bit words
  std::vector<PaletteColour> palette;  // at most 1 << bitsPerPixel entries
  std::vector<uint8_t> rows;           // top row first, pixels packed high bits first
};

// nullopt when the image is unusable or bits is not 1, 4 or 8.
std::optional<IndexedPicture> ReduceToPalette(const PixelImage& image, int32_t bitsPerPixel);

}  // namespace imaging
