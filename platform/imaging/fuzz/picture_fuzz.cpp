// Fuzz target for what the library reads or sizes from outside bytes: the
// file signature check, the pixel memory sizes, and the BMP encoder fed with
// any pixels, width and depth (its output must always be a whole file).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "bmp_encoder.h"
#include "picture_format.h"
#include "pixel_layout.h"
#include "pixel_ops.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  imaging::FileFormat format = imaging::DetectFileFormat(data, size);
  if (format != imaging::kFormatUnknown && !imaging::IsSupportedFormat(format)) std::abort();
  if (size < 6) return 0;

  int32_t width = 1 + data[0] % 40;
  static const int32_t kBits[] = {1, 4, 8, 24, 32, 16, 12};
  int32_t bits = kBits[data[1] % 7];
  uint32_t bytesPerPixel = 3 + data[2] % 2;
  int64_t wideWidth = (int64_t{data[3]} << 24) | (data[4] << 16) | (data[5] << 8);
  std::optional<uint32_t> row = imaging::DibRowBytes(wideWidth, bits);
  if (row && *row > imaging::kMaxPixelBytes) std::abort();

  size_t pixelBytes = size - 6;
  int32_t height = static_cast<int32_t>(pixelBytes / (static_cast<size_t>(width) * bytesPerPixel));
  if (height < 1) return 0;
  std::vector<uint8_t> pixels(data + 6, data + 6 + static_cast<size_t>(width) * bytesPerPixel * height);
  imaging::PixelImage image{width, height, width * bytesPerPixel, bytesPerPixel, pixels.data()};
  std::string file = imaging::EncodeBmp(image, bits);
  if (bits == 12) {
    if (!file.empty()) std::abort();
    return 0;
  }
  std::optional<uint32_t> imageBytes = imaging::DibImageBytes(width, height, bits);
  if (!imageBytes || file.size() < imaging::kBmpHeaderBytes + *imageBytes) std::abort();
  if (imaging::DetectFileFormat(reinterpret_cast<const uint8_t*>(file.data()), file.size()) !=
      imaging::kFormatBmp)
    std::abort();
  return 0;
}
