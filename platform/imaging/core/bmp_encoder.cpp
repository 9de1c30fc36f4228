#include "bmp_encoder.h"

#include <array>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "pixel_layout.h"

namespace imaging {

namespace {

struct Colour {
  uint8_t blue, green, red;
};

uint32_t Key(Colour c) { return c.blue | (c.green << 8) | (c.red << 16); }

void PutU16(std::string& out, size_t at, uint32_t value) {
  out[at] = static_cast<char>(value & 0xFF);
  out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void PutU32(std::string& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Maps colours to palette indexes: the picture's own colours when they fit
// in `capacity` entries, otherwise a fixed palette for the depth.
class PaletteMapper {
 public:
  PaletteMapper(const PixelImage& image, int32_t bits) : bits_(bits) {
    const size_t capacity = size_t{1} << bits;
    for (int32_t y = 0; y < image.height && exact_; ++y) {
      for (int32_t x = 0; x < image.width; ++x) {
        const uint8_t* p = image.Pixel(x, y);
        Colour c{p[0], p[1], p[2]};
        if (index_.count(Key(c)) != 0) continue;
        if (palette_.size() == capacity) {
          exact_ = false;
          break;
        }
        index_[Key(c)] = static_cast<uint8_t>(palette_.size());
        palette_.push_back(c);
      }
    }
    if (!exact_) MakeFixedPalette();
  }

  const std::vector<Colour>& palette() const { return palette_; }

  uint8_t IndexOf(const uint8_t* pixel) const {
    Colour c{pixel[0], pixel[1], pixel[2]};
    if (exact_) return index_.at(Key(c));
    if (bits_ == 8) return static_cast<uint8_t>((c.red >> 5) << 5 | (c.green >> 5) << 2 | (c.blue >> 6));
    if (bits_ == 1) return (c.red * 299 + c.green * 587 + c.blue * 114) >= 128000 ? 1 : 0;
    return Nearest(c);
  }

 private:
  void MakeFixedPalette() {
    palette_.clear();
    if (bits_ == 8) {
      for (uint32_t i = 0; i < 256; ++i) {
        uint32_t r = (i >> 5) & 7, g = (i >> 2) & 7, b = i & 3;
        palette_.push_back({static_cast<uint8_t>(b * 255 / 3), static_cast<uint8_t>(g * 255 / 7),
                            static_cast<uint8_t>(r * 255 / 7)});
      }
    } else if (bits_ == 4) {
      static const std::array<uint32_t, 16> kVga = {
          0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
          0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
      for (uint32_t rgb : kVga)
        palette_.push_back({static_cast<uint8_t>(rgb & 0xFF), static_cast<uint8_t>((rgb >> 8) & 0xFF),
                            static_cast<uint8_t>(rgb >> 16)});
    } else {
      palette_ = {{0, 0, 0}, {255, 255, 255}};
    }
  }

  uint8_t Nearest(Colour c) const {
    uint32_t best = 0;
    int64_t bestDistance = -1;
    for (uint32_t i = 0; i < palette_.size(); ++i) {
      const Colour& p = palette_[i];
      int64_t dr = p.red - c.red, dg = p.green - c.green, db = p.blue - c.blue;
      int64_t distance = dr * dr + dg * dg + db * db;
      if (bestDistance < 0 || distance < bestDistance) {
        bestDistance = distance;
        best = i;
      }
    }
    return static_cast<uint8_t>(best);
  }

  int32_t bits_;
  bool exact_ = true;
  std::vector<Colour> palette_;
  std::unordered_map<uint32_t, uint8_t> index_;
};

void WriteIndexedRow(const PixelImage& image, int32_t y, int32_t bits, const PaletteMapper& mapper,
                     char* out) {
  const int32_t perByte = 8 / bits;
  for (int32_t x = 0; x < image.width; ++x) {
    const uint8_t index = mapper.IndexOf(image.Pixel(x, y));
    const int32_t shift = 8 - bits * (x % perByte + 1);
    out[x / perByte] = static_cast<char>(static_cast<uint8_t>(out[x / perByte]) | (index << shift));
  }
}

}  // namespace

std::string EncodeBmp(const PixelImage& image, int32_t bits) {
  if (!IsUsable(image)) return {};
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return {};
  const std::optional<uint32_t> rowBytes = DibRowBytes(image.width, bits);
  const std::optional<uint32_t> imageBytes = DibImageBytes(image.width, image.height, bits);
  if (!rowBytes || !imageBytes) return {};

  std::optional<PaletteMapper> mapper;
  if (bits <= 8) mapper.emplace(image, bits);
  const uint32_t paletteEntries = mapper ? static_cast<uint32_t>(mapper->palette().size()) : 0;
  const uint32_t pixelOffset = kBmpHeaderBytes + paletteEntries * 4;
  const uint64_t fileBytes = uint64_t{pixelOffset} + *imageBytes;
  if (fileBytes > kMaxPixelBytes) return {};

  std::string out(static_cast<size_t>(fileBytes), '\0');
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, 2, static_cast<uint32_t>(fileBytes));
  PutU32(out, 10, pixelOffset);
  PutU32(out, 14, 40);                       // biSize
  PutU32(out, 18, static_cast<uint32_t>(image.width));
  PutU32(out, 22, static_cast<uint32_t>(image.height));  // positive: bottom-up rows
  PutU16(out, 26, 1);                        // biPlanes
  PutU16(out, 28, static_cast<uint32_t>(bits));
  PutU32(out, 30, 0);                        // BI_RGB
  PutU32(out, 34, *imageBytes);
  PutU32(out, 38, 2835);                     // 72 dots per inch
  PutU32(out, 42, 2835);
  PutU32(out, 46, paletteEntries);
  PutU32(out, 50, 0);
  for (uint32_t i = 0; i < paletteEntries; ++i) {
    const Colour& c = mapper->palette()[i];
    out[kBmpHeaderBytes + i * 4] = static_cast<char>(c.blue);
    out[kBmpHeaderBytes + i * 4 + 1] = static_cast<char>(c.green);
    out[kBmpHeaderBytes + i * 4 + 2] = static_cast<char>(c.red);
  }
  for (int32_t y = 0; y < image.height; ++y) {
    char* row = out.data() + pixelOffset + static_cast<size_t>(image.height - 1 - y) * *rowBytes;
    if (mapper) {
      WriteIndexedRow(image, y, bits, *mapper, row);
      continue;
    }
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t* p = image.Pixel(x, y);
      char* q = row + static_cast<size_t>(x) * (bits / 8);
      q[0] = static_cast<char>(p[0]);
      q[1] = static_cast<char>(p[1]);
      q[2] = static_cast<char>(p[2]);
      if (bits == 32) q[3] = static_cast<char>(image.bytesPerPixel == 4 ? p[3] : 0xFF);
    }
  }
  return out;
}

}  // namespace imaging
