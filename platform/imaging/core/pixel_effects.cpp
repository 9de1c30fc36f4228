#include "pixel_effects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "error_codes.h"

namespace imaging {

namespace {

using Table = std::array<uint8_t, 256>;

uint8_t ClampToByte(double value) {
  const long rounded = std::lround(value);
  return static_cast<uint8_t>(std::clamp<long>(rounded, 0, 255));
}

int32_t Luminance(const uint8_t* pixel) {
  return (114 * pixel[0] + 587 * pixel[1] + 299 * pixel[2] + 500) / 1000;
}

template <typename Visit>
void ForEachPixel(const PixelImage& image, Visit visit) {
  for (int32_t y = 0; y < image.height; ++y) {
    uint8_t* pixel = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x, pixel += image.bytesPerPixel) visit(pixel);
  }
}

// The same table on blue, green and red.
void ApplyTable(const PixelImage& image, const Table& table) {
  ForEachPixel(image, [&](uint8_t* pixel) {
    for (int c = 0; c < 3; ++c) pixel[c] = table[pixel[c]];
  });
}

template <typename Map>
Table MakeTable(Map map) {
  Table table{};
  for (int v = 0; v < 256; ++v) table[static_cast<size_t>(v)] = map(v);
  return table;
}

// Contrast around `centre`: positive changes steepen by 1000 / (1000 - change)
// (at 1000 every value leaves the centre for 0 or 255), negative ones flatten
// by (1000 + change) / 1000.
Table ContrastTable(double centre, int32_t change) {
  return MakeTable([&](int v) -> uint8_t {
    const double distance = v - centre;
    if (change >= 1000) return distance > 0 ? 255 : (distance < 0 ? 0 : ClampToByte(centre));
    const double factor = change >= 0 ? 1000.0 / (1000 - change) : (1000.0 + change) / 1000.0;
    return ClampToByte(centre + distance * factor);
  });
}

bool InRange(int32_t value, int32_t lowest, int32_t highest) { return value >= lowest && value <= highest; }

// The copy a neighbourhood filter reads while it writes the picture.
struct SourceCopy {
  explicit SourceCopy(const PixelImage& image)
      : bytes(static_cast<size_t>(image.strideBytes) * static_cast<size_t>(image.height)) {
    std::memcpy(bytes.data(), image.rows, bytes.size());
    view = image;
    view.rows = bytes.data();
  }
  const uint8_t* At(int32_t x, int32_t y) const {
    x = std::clamp(x, 0, view.width - 1);
    y = std::clamp(y, 0, view.height - 1);
    return view.Pixel(x, y);
  }
  std::vector<uint8_t> bytes;
  PixelImage view;
};

// The neighbourhood of size n around a pixel reaches (n - 1) / 2 before it
// and n / 2 after it.
int32_t Before(int32_t size) { return (size - 1) / 2; }
int32_t After(int32_t size) { return size / 2; }

// Runs `pick` on the histogram of each colour of every size x size
// neighbourhood, kept up to date as the window slides along a row.
template <typename Pick>
void HistogramFilter(const PixelImage& image, int32_t size, Pick pick) {
  const SourceCopy source(image);
  const int32_t before = Before(size), after = After(size);
  std::array<std::array<uint32_t, 256>, 3> histograms{};
  for (int32_t y = 0; y < image.height; ++y) {
    for (auto& h : histograms) h.fill(0);
    auto addColumn = [&](int32_t x, int step) {
      for (int32_t dy = -before; dy <= after; ++dy) {
        const uint8_t* p = source.At(x, y + dy);
        for (int c = 0; c < 3; ++c) histograms[static_cast<size_t>(c)][p[c]] += static_cast<uint32_t>(step);
      }
    };
    for (int32_t dx = -before; dx <= after; ++dx) addColumn(dx, 1);
    for (int32_t x = 0; x < image.width; ++x) {
      if (x > 0) {
        addColumn(x - 1 - before, -1);
        addColumn(x + after, 1);
      }
      uint8_t* target = image.Pixel(x, y);
      for (int c = 0; c < 3; ++c) target[c] = pick(histograms[static_cast<size_t>(c)]);
    }
  }
}

}  // namespace

int32_t ChangeContrast(const PixelImage& image, int32_t change) {
  if (!IsUsable(image) || !InRange(change, -1000, 1000)) return kErrorInvalidParameter;
  ApplyTable(image, ContrastTable(128, change));
  return kSuccess;
}

int32_t ChangeIntensity(const PixelImage& image, int32_t change) {
  if (!IsUsable(image) || !InRange(change, -1000, 1000)) return kErrorInvalidParameter;
  ApplyTable(image, MakeTable([&](int v) {
               if (change < 0) return ClampToByte(v * (1000.0 + change) / 1000.0);
               return ClampToByte(v + (255 - v) * change / 1000.0);
             }));
  return kSuccess;
}

int32_t ChangeHue(const PixelImage& image, int32_t degrees) {
  if (!IsUsable(image) || !InRange(degrees, -360, 360)) return kErrorInvalidParameter;
  ForEachPixel(image, [&](uint8_t* pixel) {
    const double b = pixel[0], g = pixel[1], r = pixel[2];
    const double high = std::max({r, g, b}), low = std::min({r, g, b});
    const double chroma = high - low;
    if (chroma == 0) return;
    double hue;
    if (high == r) {
      hue = std::fmod((g - b) / chroma, 6.0);
    } else if (high == g) {
      hue = (b - r) / chroma + 2;
    } else {
      hue = (r - g) / chroma + 4;
    }
    hue = std::fmod(hue * 60 + degrees + 720, 360.0) / 60;
    const double second = chroma * (1 - std::fabs(std::fmod(hue, 2.0) - 1));
    double rgb[3] = {0, 0, 0};
    const int sector = std::min(5, static_cast<int>(hue));
    const int order[6][2] = {{0, 1}, {1, 0}, {1, 2}, {2, 1}, {2, 0}, {0, 2}};
    rgb[order[sector][0]] = chroma;
    rgb[order[sector][1]] = second;
    pixel[2] = ClampToByte(rgb[0] + low);
    pixel[1] = ClampToByte(rgb[1] + low);
    pixel[0] = ClampToByte(rgb[2] + low);
  });
  return kSuccess;
}

int32_t ChangeSaturation(const PixelImage& image, int32_t change) {
  if (!IsUsable(image) || !InRange(change, -1000, 1000)) return kErrorInvalidParameter;
  const double factor = (1000.0 + change) / 1000.0;
  ForEachPixel(image, [&](uint8_t* pixel) {
    const double grey = (114.0 * pixel[0] + 587.0 * pixel[1] + 299.0 * pixel[2]) / 1000.0;
    for (int c = 0; c < 3; ++c) pixel[c] = ClampToByte(grey + (pixel[c] - grey) * factor);
  });
  return kSuccess;
}

int32_t GammaCorrect(const PixelImage& image, int32_t gamma) {
  if (!IsUsable(image) || !InRange(gamma, 1, 10000)) return kErrorInvalidParameter;
  const double exponent = 100.0 / gamma;
  ApplyTable(image, MakeTable([&](int v) { return ClampToByte(255.0 * std::pow(v / 255.0, exponent)); }));
  return kSuccess;
}

int32_t Invert(const PixelImage& image) {
  if (!IsUsable(image)) return kErrorInvalidParameter;
  ApplyTable(image, MakeTable([](int v) { return static_cast<uint8_t>(255 - v); }));
  return kSuccess;
}

int32_t GrayScale(const PixelImage& image) {
  if (!IsUsable(image)) return kErrorInvalidParameter;
  ForEachPixel(image, [](uint8_t* pixel) {
    const uint8_t grey = static_cast<uint8_t>(Luminance(pixel));
    pixel[0] = pixel[1] = pixel[2] = grey;
  });
  return kSuccess;
}

int32_t HistoContrast(const PixelImage& image, int32_t change) {
  if (!IsUsable(image) || !InRange(change, -1000, 1000)) return kErrorInvalidParameter;
  uint64_t total = 0;
  ForEachPixel(image, [&](uint8_t* pixel) { total += static_cast<uint64_t>(Luminance(pixel)); });
  const double mean = static_cast<double>(total) / (static_cast<double>(image.width) * image.height);
  ApplyTable(image, ContrastTable(mean, change));
  return kSuccess;
}

int32_t HistoEqualize(const PixelImage& image) {
  if (!IsUsable(image)) return kErrorInvalidParameter;
  std::array<std::array<uint64_t, 256>, 3> counts{};
  ForEachPixel(image, [&](uint8_t* pixel) {
    for (int c = 0; c < 3; ++c) ++counts[static_cast<size_t>(c)][pixel[c]];
  });
  std::array<Table, 3> tables{};
  for (size_t c = 0; c < 3; ++c) {
    uint64_t below = 0, lowest = 0;
    bool seen = false;
    const uint64_t all = static_cast<uint64_t>(image.width) * static_cast<uint64_t>(image.height);
    for (size_t v = 0; v < 256; ++v) {
      below += counts[c][v];
      if (!seen && below > 0) {
        seen = true;
        lowest = below;
      }
      tables[c][v] = all == lowest ? static_cast<uint8_t>(v)
                                   : ClampToByte(below <= lowest ? 0.0
                                                                 : 255.0 * static_cast<double>(below - lowest) /
                                                                       static_cast<double>(all - lowest));
    }
  }
  ForEachPixel(image, [&](uint8_t* pixel) {
    for (size_t c = 0; c < 3; ++c) pixel[c] = tables[c][pixel[c]];
  });
  return kSuccess;
}

int32_t StretchIntensity(const PixelImage& image) {
  if (!IsUsable(image)) return kErrorInvalidParameter;
  int low = 255, high = 0;
  ForEachPixel(image, [&](uint8_t* pixel) {
    for (int c = 0; c < 3; ++c) {
      low = std::min<int>(low, pixel[c]);
      high = std::max<int>(high, pixel[c]);
    }
  });
  if (high <= low) return kSuccess;
  ApplyTable(image, MakeTable([&](int v) { return ClampToByte((v - low) * 255.0 / (high - low)); }));
  return kSuccess;
}

int32_t Sharpen(const PixelImage& image, int32_t change) {
  if (!IsUsable(image) || !InRange(change, -1000, 1000)) return kErrorInvalidParameter;
  if (change == 0) return kSuccess;
  const SourceCopy source(image);
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      int sums[3] = {0, 0, 0};
      for (int32_t dy = -1; dy <= 1; ++dy)
        for (int32_t dx = -1; dx <= 1; ++dx) {
          const uint8_t* p = source.At(x + dx, y + dy);
          for (int c = 0; c < 3; ++c) sums[c] += p[c];
        }
      const uint8_t* own = source.At(x, y);
      uint8_t* target = image.Pixel(x, y);
      for (int c = 0; c < 3; ++c) target[c] = ClampToByte(own[c] + (own[c] - sums[c] / 9.0) * change / 1000.0);
    }
  }
  return kSuccess;
}

int32_t Solarize(const PixelImage& image, int32_t threshold) {
  if (!IsUsable(image) || !InRange(threshold, 0, 255)) return kErrorInvalidParameter;
  ApplyTable(image, MakeTable([&](int v) { return static_cast<uint8_t>(v > threshold ? 255 - v : v); }));
  return kSuccess;
}

int32_t Posterize(const PixelImage& image, int32_t levels) {
  if (!IsUsable(image) || !InRange(levels, 2, 256)) return kErrorInvalidParameter;
  const double step = 255.0 / (levels - 1);
  ApplyTable(image, MakeTable([&](int v) { return ClampToByte(std::round(v / step) * step); }));
  return kSuccess;
}

int32_t Mosaic(const PixelImage& image, int32_t size) {
  if (!IsUsable(image) || !InRange(size, 0, 1000)) return kErrorInvalidParameter;
  if (size <= 1) return kSuccess;
  for (int32_t top = 0; top < image.height; top += size) {
    for (int32_t left = 0; left < image.width; left += size) {
      const int32_t bottom = std::min(image.height, top + size), right = std::min(image.width, left + size);
      uint64_t sums[3] = {0, 0, 0};
      for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x)
          for (int c = 0; c < 3; ++c) sums[c] += image.Pixel(x, y)[c];
      const double count = static_cast<double>(bottom - top) * (right - left);
      uint8_t mean[3];
      for (int c = 0; c < 3; ++c) mean[c] = ClampToByte(static_cast<double>(sums[c]) / count);
      for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x) std::memcpy(image.Pixel(x, y), mean, 3);
    }
  }
  return kSuccess;
}

int32_t AverageFilter(const PixelImage& image, int32_t size) {
  if (!IsUsable(image) || !InRange(size, 0, 1000)) return kErrorInvalidParameter;
  if (size <= 1) return kSuccess;
  const int32_t before = Before(size), after = After(size);
  const int32_t width = image.width, height = image.height;
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  // Sums down each column over the rows of the window (edges repeated),
  // moved one row down per row; each row's result sums those along the
  // row.  Rows are written in place, so the last before + 1 rows keep
  // their own pixels here for the sums to take off again.
  std::vector<uint32_t> columns(rowBytes, 0);
  const size_t kept = static_cast<size_t>(before) + 1;
  std::vector<uint8_t> keptRows(kept * rowBytes);
  // Row y's own pixels, 3 bytes each: from keptRows once it is written.
  auto original = [&](int32_t y, int32_t written) -> const uint8_t* {
    return y < written ? &keptRows[static_cast<size_t>(y) % kept * rowBytes] : nullptr;
  };
  auto addRow = [&](int32_t y, int32_t written, int sign) {
    y = std::clamp(y, 0, height - 1);
    const uint8_t* saved = original(y, written);
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t* pixel = saved != nullptr ? saved + static_cast<size_t>(x) * 3 : image.Pixel(x, y);
      uint32_t* sums = &columns[static_cast<size_t>(x) * 3];
      for (int c = 0; c < 3; ++c) sums[c] = sign > 0 ? sums[c] + pixel[c] : sums[c] - pixel[c];
    }
  };
  for (int32_t dy = -before; dy <= after; ++dy) addRow(dy, 0, 1);
  const double area = static_cast<double>(size) * size;
  for (int32_t y = 0; y < height; ++y) {
    if (y > 0) {
      addRow(y - 1 - before, y, -1);
      addRow(y + after, y, 1);
    }
    uint8_t* keep = &keptRows[static_cast<size_t>(y) % kept * rowBytes];
    for (int32_t x = 0; x < width; ++x) std::memcpy(keep + static_cast<size_t>(x) * 3, image.Pixel(x, y), 3);
    auto column = [&](int32_t x) { return &columns[static_cast<size_t>(std::clamp(x, 0, width - 1)) * 3]; };
    uint64_t sums[3] = {0, 0, 0};
    for (int32_t dx = -before; dx <= after; ++dx)
      for (int c = 0; c < 3; ++c) sums[c] += column(dx)[c];
    for (int32_t x = 0; x < width; ++x) {
      if (x > 0)
        for (int c = 0; c < 3; ++c) sums[c] = sums[c] + column(x + after)[c] - column(x - 1 - before)[c];
      uint8_t* target = image.Pixel(x, y);
      for (int c = 0; c < 3; ++c) target[c] = ClampToByte(static_cast<double>(sums[c]) / area);
    }
  }
  return kSuccess;
}

int32_t MedianFilter(const PixelImage& image, int32_t size) {
  if (!IsUsable(image) || !InRange(size, 0, 1000)) return kErrorInvalidParameter;
  if (size <= 1) return kSuccess;
  const uint32_t middle = static_cast<uint32_t>(size) * static_cast<uint32_t>(size) / 2;
  HistogramFilter(image, size, [&](const std::array<uint32_t, 256>& histogram) {
    uint32_t below = 0;
    for (size_t v = 0; v < 256; ++v) {
      below += histogram[v];
      if (below > middle) return static_cast<uint8_t>(v);
    }
    return static_cast<uint8_t>(255);
  });
  return kSuccess;
}

int32_t Oilify(const PixelImage& image, int32_t size) {
  if (!IsUsable(image) || !InRange(size, 0, 1000)) return kErrorInvalidParameter;
  if (size <= 1) return kSuccess;
  HistogramFilter(image, size, [](const std::array<uint32_t, 256>& histogram) {
    size_t best = 0;
    for (size_t v = 1; v < 256; ++v)
      if (histogram[v] > histogram[best]) best = v;
    return static_cast<uint8_t>(best);
  });
  return kSuccess;
}

int32_t Emboss(const PixelImage& image, int32_t direction, int32_t depth) {
  if (!IsUsable(image) || !InRange(direction, 0, 7) || !InRange(depth, 0, 1000)) return kErrorInvalidParameter;
  static constexpr int32_t kSteps[8][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
  const int32_t dx = kSteps[direction][0], dy = kSteps[direction][1];
  const SourceCopy source(image);
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t* lit = source.At(x + dx, y + dy);
      const uint8_t* shaded = source.At(x - dx, y - dy);
      uint8_t* target = image.Pixel(x, y);
      for (int c = 0; c < 3; ++c) target[c] = ClampToByte(128 + (lit[c] - shaded[c]) * depth / 250.0);
    }
  }
  return kSuccess;
}

int32_t TrimRectangle(const PixelImage& image, int32_t threshold, TrimRect* rect) {
  if (!IsUsable(image) || rect == nullptr || !InRange(threshold, 0, 255)) return kErrorInvalidParameter;
  uint8_t reference[3];
  std::memcpy(reference, image.Pixel(0, 0), 3);
  auto isBorder = [&](int32_t x, int32_t y) {
    const uint8_t* p = image.Pixel(x, y);
    for (int c = 0; c < 3; ++c)
      if (std::abs(p[c] - reference[c]) > threshold) return false;
    return true;
  };
  auto rowIsBorder = [&](int32_t y) {
    for (int32_t x = 0; x < image.width; ++x)
      if (!isBorder(x, y)) return false;
    return true;
  };
  int32_t top = 0;
  while (top < image.height && rowIsBorder(top)) ++top;
  if (top == image.height) {
    *rect = {0, 0, 1, 1};
    return kSuccess;
  }
  int32_t bottom = image.height - 1;
  while (bottom > top && rowIsBorder(bottom)) --bottom;
  auto columnIsBorder = [&](int32_t x) {
    for (int32_t y = top; y <= bottom; ++y)
      if (!isBorder(x, y)) return false;
    return true;
  };
  int32_t left = 0;
  while (left < image.width && columnIsBorder(left)) ++left;
  int32_t right = image.width - 1;
  while (right > left && columnIsBorder(right)) --right;
  *rect = {left, top, right - left + 1, bottom - top + 1};
  return kSuccess;
}

int32_t Underlay(const PixelImage& picture, const PixelImage& texture, UnderlayMode mode) {
  if (!IsUsable(picture) || !IsUsable(texture)) return kErrorInvalidParameter;
  for (int32_t y = 0; y < picture.height; ++y) {
    const int32_t ty = mode == UnderlayMode::kTile
                           ? y % texture.height
                           : static_cast<int32_t>((2 * static_cast<int64_t>(y) + 1) * texture.height / (2 * picture.height));
    for (int32_t x = 0; x < picture.width; ++x) {
      const int32_t tx = mode == UnderlayMode::kTile
                             ? x % texture.width
                             : static_cast<int32_t>((2 * static_cast<int64_t>(x) + 1) * texture.width / (2 * picture.width));
      const int32_t light = Luminance(texture.Pixel(tx, ty));
      uint8_t* p = picture.Pixel(x, y);
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(std::min(255, (p[c] * light + 64) / 128));
    }
  }
  return kSuccess;
}

}  // namespace imaging
