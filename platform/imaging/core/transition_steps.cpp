// Transition geometry; see transition_steps.h.
#include "transition_steps.h"

#include <algorithm>
#include <cstdint>

namespace imaging {

namespace {

int32_t CeilDiv(int32_t a, int32_t b) { return static_cast<int32_t>((int64_t{a} + b - 1) / b); }

// Bands of `band` pixels along an extent, grouped into at most
// kMaxTransitionSteps steps, in order (or reversed).
std::vector<std::vector<RevealRect>> Wipe(bool horizontal, bool reversed, int32_t width, int32_t height,
                                          int32_t grain) {
  const int32_t extent = horizontal ? width : height;
  const int32_t steps = std::clamp(CeilDiv(extent, grain), 1, kMaxTransitionSteps);
  const int32_t band = CeilDiv(extent, steps);
  std::vector<std::vector<RevealRect>> out;
  for (int32_t start = 0; start < extent; start += band) {
    const int32_t size = std::min(band, extent - start);
    const int32_t at = reversed ? extent - start - size : start;
    out.push_back({horizontal ? RevealRect{at, 0, size, height} : RevealRect{0, at, width, size}});
  }
  return out;
}

std::vector<std::vector<RevealRect>> Blinds(int32_t width, int32_t height, int32_t grain) {
  // Eight slats; each step widens every slat by one band.
  const int32_t slat = std::max(1, CeilDiv(width, 8));
  const int32_t steps = std::clamp(CeilDiv(slat, grain), 1, kMaxTransitionSteps);
  const int32_t band = CeilDiv(slat, steps);
  std::vector<std::vector<RevealRect>> out;
  for (int32_t offset = 0; offset < slat; offset += band) {
    std::vector<RevealRect> step;
    for (int32_t x = 0; x < width; x += slat) {
      const int32_t left = x + offset;
      const int32_t right = std::min({x + offset + band, x + slat, width});
      if (left < right) step.push_back(RevealRect{left, 0, right - left, height});
    }
    if (!step.empty()) out.push_back(step);
  }
  return out;
}

std::vector<std::vector<RevealRect>> Dissolve(int32_t width, int32_t height, int32_t grain) {
  int32_t side = grain;
  while (int64_t{CeilDiv(width, side)} * CeilDiv(height, side) > kMaxDissolveSquares) side *= 2;
  const int32_t columns = CeilDiv(width, side);
  const int32_t rows = CeilDiv(height, side);
  std::vector<RevealRect> squares;
  for (int32_t row = 0; row < rows; ++row) {
    for (int32_t column = 0; column < columns; ++column) {
      const int32_t x = column * side;
      const int32_t y = row * side;
      squares.push_back(RevealRect{x, y, std::min(side, width - x), std::min(side, height - y)});
    }
  }
  // A fixed shuffle (linear congruential), the same every time.
  uint32_t seed = 12345;
  for (size_t i = squares.size(); i > 1; --i) {
    seed = seed * 1103515245u + 12345u;
    std::swap(squares[i - 1], squares[(seed >> 8) % i]);
  }
  const size_t steps = std::min<size_t>(squares.size(), kMaxTransitionSteps);
  std::vector<std::vector<RevealRect>> out(steps);
  for (size_t i = 0; i < squares.size(); ++i) out[i * steps / squares.size()].push_back(squares[i]);
  return out;
}

}  // namespace

std::vector<std::vector<RevealRect>> TransitionSteps(uint32_t effect, int32_t width, int32_t height,
                                                     int32_t grain) {
  if (width <= 0 || height <= 0) return {};
  grain = std::max(1, grain);
  switch (effect % 6) {
    case 0: return Wipe(true, false, width, height, grain);
    case 1: return Wipe(false, false, width, height, grain);
    case 2: return Wipe(true, true, width, height, grain);
    case 3: return Wipe(false, true, width, height, grain);
    case 4: return Blinds(width, height, grain);
    default: return Dissolve(width, height, grain);
  }
}

}  // namespace imaging
