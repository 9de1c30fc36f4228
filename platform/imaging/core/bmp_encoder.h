// Writes Windows BMP files (BITMAPFILEHEADER, BITMAPINFOHEADER, palette,
// bottom-up rows) from top-down B, G, R(, A) pixels, at 1, 4, 8, 16 (5 bits
// a colour), 24 or 32 bits per pixel; at 8 bits and fewer through
// ReduceToPalette.  Our own
// encoder, not GDI+'s, so that every depth the callers ask for is written
// as asked.
#pragma once

#include <cstdint>
#include <string>

#include "pixel_ops.h"

namespace imaging {

// The file's bytes, or an empty string when the image is unusable or the
// bits are not one of 1, 4, 8, 16, 24, 32 (or the file would pass 1 GiB).
std::string EncodeBmp(const PixelImage& image, int32_t bitsPerPixel);

// Size of the file headers before the palette: 14 + 40 bytes.
constexpr uint32_t kBmpHeaderBytes = 54;

}  // namespace imaging
