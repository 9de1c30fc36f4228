#include "bmp_encoder.h"

#include <cstring>
#include <optional>

#include "palette.h"
#include "pixel_layout.h"

namespace imaging {

namespace {

void PutU16(std::string& out, size_t at, uint32_t value) {
  out[at] = static_cast<char>(value & 0xFF);
  out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void PutU32(std::string& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string EncodeBmp(const PixelImage& image, int32_t bits) {
  if (!IsUsable(image)) return {};
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return {};
  const std::optional<uint32_t> rowBytes = DibRowBytes(image.width, bits);
  const std::optional<uint32_t> imageBytes = DibImageBytes(image.width, image.height, bits);
  if (!rowBytes || !imageBytes) return {};

  std::optional<IndexedPicture> indexed;
  if (bits <= 8) {
    indexed = ReduceToPalette(image, bits);
    if (!indexed) return {};
  }
  const uint32_t paletteEntries = indexed ? static_cast<uint32_t>(indexed->palette.size()) : 0;
  const uint32_t pixelOffset = kBmpHeaderBytes + paletteEntries * 4;
  const uint64_t fileBytes = uint64_t{pixelOffset} + *imageBytes;
  if (fileBytes > kMaxPixelBytes) return {};

  std::string out(static_cast<size_t>(fileBytes), '\0');
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, 2, static_cast<uint32_t>(fileBytes));
  PutU32(out, 10, pixelOffset);
  PutU32(out, 14, 40);                                   // biSize
  PutU32(out, 18, static_cast<uint32_t>(image.width));
  PutU32(out, 22, static_cast<uint32_t>(image.height));  // positive: bottom-up rows
  PutU16(out, 26, 1);                                    // biPlanes
  PutU16(out, 28, static_cast<uint32_t>(bits));
  PutU32(out, 30, 0);                                    // BI_RGB
  PutU32(out, 34, *imageBytes);
  PutU32(out, 38, 2835);                                 // 72 dots per inch
  PutU32(out, 42, 2835);
  PutU32(out, 46, paletteEntries);
  PutU32(out, 50, 0);
  for (uint32_t i = 0; i < paletteEntries; ++i) {
    const PaletteColour& c = indexed->palette[i];
    out[kBmpHeaderBytes + i * 4] = static_cast<char>(c.blue);
    out[kBmpHeaderBytes + i * 4 + 1] = static_cast<char>(c.green);
    out[kBmpHeaderBytes + i * 4 + 2] = static_cast<char>(c.red);
  }
  for (int32_t y = 0; y < image.height; ++y) {
    char* row = out.data() + pixelOffset + static_cast<size_t>(image.height - 1 - y) * *rowBytes;
    if (indexed) {
      std::memcpy(row, indexed->rows.data() + static_cast<size_t>(y) * indexed->strideBytes, *rowBytes);
      continue;
    }
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t* p = image.Pixel(x, y);
      char* q = row + static_cast<size_t>(x) * (bits / 8);
      if (bits == 16) {  // BI_RGB at 16 bits: 5 bits each of red, green, blue
        const uint32_t packed = (p[2] >> 3) << 10 | (p[1] >> 3) << 5 | (p[0] >> 3);
        q[0] = static_cast<char>(packed & 0xFF);
        q[1] = static_cast<char>(packed >> 8);
        continue;
      }
      q[0] = static_cast<char>(p[0]);
      q[1] = static_cast<char>(p[1]);
      q[2] = static_cast<char>(p[2]);
      if (bits == 32) q[3] = static_cast<char>(image.bytesPerPixel == 4 ? p[3] : 0xFF);
    }
  }
  return out;
}

}  // namespace imaging
