#include "pixel_ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace imaging {

bool IsUsable(const PixelImage& image) {
  if (image.rows == nullptr || image.width < 1 || image.height < 1) return false;
  if (image.bytesPerPixel != 3 && image.bytesPerPixel != 4) return false;
  return static_cast<uint64_t>(image.width) * image.bytesPerPixel <= image.strideBytes;
}

void FlipVertical(const PixelImage& image) {
  if (!IsUsable(image)) return;
  std::vector<uint8_t> spare(image.strideBytes);
  for (int32_t top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom) {
    std::memcpy(spare.data(), image.Row(top), image.strideBytes);
    std::memcpy(image.Row(top), image.Row(bottom), image.strideBytes);
    std::memcpy(image.Row(bottom), spare.data(), image.strideBytes);
  }
}

void ReverseHorizontal(const PixelImage& image) {
  if (!IsUsable(image)) return;
  const uint32_t size = image.bytesPerPixel;
  uint8_t spare[4];
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t left = 0, right = image.width - 1; left < right; ++left, --right) {
      uint8_t* a = image.Pixel(left, y);
      uint8_t* b = image.Pixel(right, y);
      std::memcpy(spare, a, size);
      std::memcpy(a, b, size);
      std::memcpy(b, spare, size);
    }
  }
}

bool RotateQuarterTurns(const PixelImage& source, int32_t quarterTurns, const PixelImage& target) {
  if (!IsUsable(source) || !IsUsable(target) || source.bytesPerPixel != target.bytesPerPixel)
    return false;
  const int32_t turns = ((quarterTurns % 4) + 4) % 4;
  const bool swapsSides = turns % 2 == 1;
  const int32_t expectedWidth = swapsSides ? source.height : source.width;
  const int32_t expectedHeight = swapsSides ? source.width : source.height;
  if (target.width != expectedWidth || target.height != expectedHeight) return false;
  const uint32_t size = source.bytesPerPixel;
  for (int32_t y = 0; y < source.height; ++y) {
    for (int32_t x = 0; x < source.width; ++x) {
      int32_t tx = x;
      int32_t ty = y;
      switch (turns) {
        case 1: tx = source.height - 1 - y; ty = x; break;                        // clockwise
        case 2: tx = source.width - 1 - x; ty = source.height - 1 - y; break;
        case 3: tx = y; ty = source.width - 1 - x; break;                         // counter-clockwise
        default: break;
      }
      std::memcpy(target.Pixel(tx, ty), source.Pixel(x, y), size);
    }
  }
  return true;
}

namespace {

// The source pixels and weights that make one target coordinate along one axis.
struct Contribution {
  int32_t first = 0;
  std::vector<float> weights;  // for first, first + 1, ...
};

std::vector<Contribution> AxisContributions(int32_t sourceSize, int32_t targetSize, ResizeMethod method) {
  std::vector<Contribution> axis(targetSize);
  const double scale = static_cast<double>(sourceSize) / targetSize;
  for (int32_t t = 0; t < targetSize; ++t) {
    Contribution& c = axis[t];
    const double centre = (t + 0.5) * scale;
    if (method == ResizeMethod::kNearest) {
      c.first = std::clamp(static_cast<int32_t>(std::floor(centre)), 0, sourceSize - 1);
      c.weights = {1.0f};
    } else if (scale > 1.0) {
      // Shrinking: the average of the source span [t * scale, (t + 1) * scale).
      const double begin = t * scale;
      const double end = std::min<double>((t + 1) * scale, sourceSize);
      c.first = static_cast<int32_t>(std::floor(begin));
      const int32_t last = std::min(sourceSize - 1, static_cast<int32_t>(std::ceil(end)) - 1);
      double total = 0;
      for (int32_t s = c.first; s <= last; ++s) {
        double w = std::min<double>(s + 1, end) - std::max<double>(s, begin);
        if (w < 0) w = 0;
        c.weights.push_back(static_cast<float>(w));
        total += w;
      }
      if (total > 0)
        for (float& w : c.weights) w = static_cast<float>(w / total);
    } else {
      // Enlarging: linear between the two source centres around this one.
      const double position = std::clamp(centre - 0.5, 0.0, static_cast<double>(sourceSize - 1));
      c.first = static_cast<int32_t>(std::floor(position));
      const double fraction = position - c.first;
      if (c.first + 1 < sourceSize && fraction > 0) {
        c.weights = {static_cast<float>(1.0 - fraction), static_cast<float>(fraction)};
      } else {
        c.weights = {1.0f};
      }
    }
  }
  return axis;
}

uint8_t ToByte(float value) {
  return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

bool Resize(const PixelImage& source, const PixelImage& target, ResizeMethod method) {
  if (!IsUsable(source) || !IsUsable(target) || source.bytesPerPixel != target.bytesPerPixel)
    return false;
  const uint32_t channels = source.bytesPerPixel;
  const std::vector<Contribution> columns = AxisContributions(source.width, target.width, method);
  const std::vector<Contribution> lines = AxisContributions(source.height, target.height, method);
  // Horizontal pass into floats: source.height rows of target.width pixels.
  std::vector<float> wide(static_cast<size_t>(source.height) * target.width * channels);
  for (int32_t y = 0; y < source.height; ++y) {
    float* out = wide.data() + static_cast<size_t>(y) * target.width * channels;
    for (int32_t x = 0; x < target.width; ++x) {
      const Contribution& c = columns[x];
      for (uint32_t k = 0; k < channels; ++k) {
        float sum = 0;
        for (size_t i = 0; i < c.weights.size(); ++i)
          sum += c.weights[i] * source.Pixel(c.first + static_cast<int32_t>(i), y)[k];
        out[static_cast<size_t>(x) * channels + k] = sum;
      }
    }
  }
  // Vertical pass into the target.
  for (int32_t y = 0; y < target.height; ++y) {
    const Contribution& c = lines[y];
    for (int32_t x = 0; x < target.width; ++x) {
      uint8_t* out = target.Pixel(x, y);
      for (uint32_t k = 0; k < channels; ++k) {
        float sum = 0;
        for (size_t i = 0; i < c.weights.size(); ++i) {
          size_t row = static_cast<size_t>(c.first) + i;
          sum += c.weights[i] * wide[(row * target.width + x) * channels + k];
        }
        out[k] = ToByte(sum);
      }
    }
  }
  return true;
}

uint32_t CountColors(const PixelImage& image) {
  if (!IsUsable(image)) return 0;
  std::vector<uint64_t> seen((1u << 24) / 64, 0);
  uint32_t count = 0;
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t* p = image.Pixel(x, y);
      const uint32_t colour = p[0] | (p[1] << 8) | (p[2] << 16);
      uint64_t& word = seen[colour >> 6];
      const uint64_t bit = 1ull << (colour & 63);
      if ((word & bit) == 0) {
        word |= bit;
        ++count;
      }
    }
  }
  return count;
}

}  // namespace imaging
