// The picture transitions of L_EfxPaintBitmap as plain geometry: for an
// effect number and a picture's size, the steps of the transition, each the
// rectangles of the new picture that step uncovers.  Together the steps
// cover the whole picture exactly once, so the last step leaves the new
// picture complete whatever the effect.
//
// Effects by number modulo 6: 0 wipe from the left, 1 from the top, 2 from
// the right, 3 from the bottom, 4 vertical blinds, 5 a dissolve in squares
// of `grain` pixels in a fixed shuffled order.  Grain is the band width in
// pixels (at least 1); a transition has at most kMaxTransitionSteps steps.
#pragma once

#include <cstdint>
#include <vector>

namespace imaging {

struct RevealRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const RevealRect&) const = default;
};

constexpr int32_t kMaxTransitionSteps = 64;
// More squares than this in a dissolve make them larger.
constexpr int64_t kMaxDissolveSquares = 16384;

std::vector<std::vector<RevealRect>> TransitionSteps(uint32_t effect, int32_t width, int32_t height,
                                                     int32_t grain);

}  // namespace imaging
