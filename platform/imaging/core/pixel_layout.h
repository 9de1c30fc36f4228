// Sizes of pixel memory: row strides and whole buffers, checked against
// overflow and against what a 32-bit process can hold.  Every size that
// comes from a caller or a file goes through here before memory is taken.
#pragma once

#include <cstdint>
#include <optional>

namespace imaging {

// The largest pixel buffer the library allocates (1 GiB): more cannot be
// mapped in a 32-bit process beside the program anyway.
constexpr uint64_t kMaxPixelBytes = 1ull << 30;

// Bytes of one row of a Windows DIB (and of a BMP file): width * bits
// rounded up to whole 32-bit words.  nullopt for a width below 1, bits
// other than 1, 4, 8, 16, 24 and 32, or a row past kMaxPixelBytes.
std::optional<uint32_t> DibRowBytes(int64_t width, int32_t bitsPerPixel);

// Bytes of height rows of DibRowBytes(width, bits); nullopt when either
// side is below 1 or the total passes kMaxPixelBytes.
std::optional<uint32_t> DibImageBytes(int64_t width, int64_t height, int32_t bitsPerPixel);

// Bytes of a packed block of 3-byte pixels without row padding (the layout
// of the GIF converter's RGB block); same limits.
std::optional<uint32_t> PackedRgbBytes(int64_t width, int64_t height);

}  // namespace imaging
