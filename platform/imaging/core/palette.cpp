#include "palette.h"

#include <array>
#include <unordered_map>

#include "pixel_layout.h"

namespace imaging {

namespace {

uint32_t Key(PaletteColour c) { return c.blue | (c.green << 8) | (c.red << 16); }

std::vector<PaletteColour> FixedPalette(int32_t bits) {
  std::vector<PaletteColour> palette;
  if (bits == 8) {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t r = (i >> 5) & 7, g = (i >> 2) & 7, b = i & 3;
      palette.push_back({static_cast<uint8_t>(b * 255 / 3), static_cast<uint8_t>(g * 255 / 7),
                         static_cast<uint8_t>(r * 255 / 7)});
    }
  } else if (bits == 4) {
    static const std::array<uint32_t, 16> kVga = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (uint32_t rgb : kVga)
      palette.push_back({static_cast<uint8_t>(rgb & 0xFF), static_cast<uint8_t>((rgb >> 8) & 0xFF),
                         static_cast<uint8_t>(rgb >> 16)});
  } else {
    palette = {{0, 0, 0}, {255, 255, 255}};
  }
  return palette;
}

uint8_t NearestEntry(const std::vector<PaletteColour>& palette, PaletteColour c) {
  uint32_t best = 0;
  int64_t bestDistance = -1;
  for (uint32_t i = 0; i < palette.size(); ++i) {
    int64_t dr = palette[i].red - c.red, dg = palette[i].green - c.green, db = palette[i].blue - c.blue;
    int64_t distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return static_cast<uint8_t>(best);
}

}  // namespace

std::optional<IndexedPicture> ReduceToPalette(const PixelImage& image, int32_t bits) {
  if (!IsUsable(image) || (bits != 1 && bits != 4 && bits != 8)) return std::nullopt;
  std::optional<uint32_t> stride = DibRowBytes(image.width, bits);
  std::optional<uint32_t> total = DibImageBytes(image.width, image.height, bits);
  if (!stride || !total) return std::nullopt;

  IndexedPicture out;
  out.width = image.width;
  out.height = image.height;
  out.bitsPerPixel = bits;
  out.strideBytes = *stride;
  out.rows.assign(*total, 0);

  // The picture's own colours, while they fit.
  const size_t capacity = size_t{1} << bits;
  std::unordered_map<uint32_t, uint8_t> index;
  bool exact = true;
  for (int32_t y = 0; y < image.height && exact; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t* p = image.Pixel(x, y);
      PaletteColour c{p[0], p[1], p[2]};
      if (index.count(Key(c)) != 0) continue;
      if (out.palette.size() == capacity) {
        exact = false;
        break;
      }
      index[Key(c)] = static_cast<uint8_t>(out.palette.size());
      out.palette.push_back(c);
    }
  }
  if (!exact) out.palette = FixedPalette(bits);

  const int32_t perByte = 8 / bits;
  for (int32_t y = 0; y < image.height; ++y) {
    uint8_t* row = out.rows.data() + static_cast<size_t>(y) * out.strideBytes;
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t* p = image.Pixel(x, y);
      PaletteColour c{p[0], p[1], p[2]};
      uint8_t entry;
      if (exact) {
        entry = index[Key(c)];
      } else if (bits == 8) {
        entry = static_cast<uint8_t>((c.red >> 5) << 5 | (c.green >> 5) << 2 | (c.blue >> 6));
      } else if (bits == 1) {
        entry = (c.red * 299 + c.green * 587 + c.blue * 114) >= 128000 ? 1 : 0;
      } else {
        entry = NearestEntry(out.palette, c);
      }
      const int32_t shift = 8 - bits * (x % perByte + 1);
      row[x / perByte] = static_cast<uint8_t>(row[x / perByte] | (entry << shift));
    }
  }
  return out;
}

}  // namespace imaging
