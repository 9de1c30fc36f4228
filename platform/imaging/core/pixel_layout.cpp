#include "pixel_layout.h"

namespace imaging {

namespace {

bool IsDibBitsPerPixel(int32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

std::optional<uint32_t> DibRowBytes(int64_t width, int32_t bitsPerPixel) {
  if (width < 1 || !IsDibBitsPerPixel(bitsPerPixel)) return std::nullopt;
  if (width > static_cast<int64_t>(kMaxPixelBytes)) return std::nullopt;
  uint64_t bits = static_cast<uint64_t>(width) * static_cast<uint64_t>(bitsPerPixel);
  uint64_t bytes = (bits + 31) / 32 * 4;
  if (bytes > kMaxPixelBytes) return std::nullopt;
  return static_cast<uint32_t>(bytes);
}

std::optional<uint32_t> DibImageBytes(int64_t width, int64_t height, int32_t bitsPerPixel) {
  std::optional<uint32_t> row = DibRowBytes(width, bitsPerPixel);
  if (!row || height < 1 || height > static_cast<int64_t>(kMaxPixelBytes)) return std::nullopt;
  uint64_t total = static_cast<uint64_t>(*row) * static_cast<uint64_t>(height);
  if (total > kMaxPixelBytes) return std::nullopt;
  return static_cast<uint32_t>(total);
}

std::optional<uint32_t> PackedRgbBytes(int64_t width, int64_t height) {
  if (width < 1 || height < 1) return std::nullopt;
  if (width > static_cast<int64_t>(kMaxPixelBytes) || height > static_cast<int64_t>(kMaxPixelBytes))
    return std::nullopt;
  uint64_t total = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 3;
  if (total > kMaxPixelBytes) return std::nullopt;
  return static_cast<uint32_t>(total);
}

}  // namespace imaging
