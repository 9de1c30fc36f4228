#include "core/opening_effects.h"

namespace skinning {

bool MovesOffScreen(int32_t effect) { return effect >= kEffectCopy && effect <= kEffectZoom; }

std::vector<int32_t> SlideOffsets(int32_t effect, int32_t y, int32_t width, int32_t height,
                                  int32_t offScreenOffset) {
  std::vector<int32_t> offsets;
  if (effect == kEffectSlideDown) {
    for (int32_t offset = y - width; offset <= 0; offset += 4) offsets.push_back(offset);
  } else if (effect == kEffectSlideUp) {
    for (int32_t offset = offScreenOffset - height; offset >= 0; offset -= 4) offsets.push_back(offset);
  }
  return offsets;
}

std::vector<Rect> ZoomSteps(int32_t x, int32_t y, int32_t width, int32_t height) {
  std::vector<Rect> steps;
  for (int32_t n = 20; n >= 1; --n) {
    const int32_t w = width / n;
    const int32_t h = height / n;
    const int32_t left = x + (width - w) / 2;
    const int32_t top = y + (height - h) / 2;
    steps.push_back({left, top, left + w, top + h});
  }
  return steps;
}

std::vector<int32_t> BlendPercents(int32_t step) {
  if (step <= 0) step = 1;
  std::vector<int32_t> percents;
  for (int32_t p = 1; p <= 100; p += step) percents.push_back(p);
  return percents;
}

uint32_t BlendPixel(uint32_t source, uint32_t background, int32_t percent) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int32_t s = static_cast<int32_t>((source >> shift) & 0xFF);
    const int32_t b = static_cast<int32_t>((background >> shift) & 0xFF);
    const int32_t mixed = (s * percent + b * (100 - percent)) / 100;
    out |= static_cast<uint32_t>(mixed & 0xFF) << shift;
  }
  return out;
}

void BlendPixels(const uint32_t* source, const uint32_t* background, uint32_t* out, size_t count,
                 int32_t percent) {
  for (size_t i = 0; i < count; ++i) out[i] = BlendPixel(source[i], background[i], percent);
}

}  // namespace skinning
