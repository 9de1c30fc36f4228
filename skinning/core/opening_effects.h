// The opening effects of a skinned window (`SkinOpeningEffect`): what each
// effect draws, step by step.  opening_effects.cpp runs the schedules on
// the screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/geometry.h"

namespace skinning {

enum OpeningEffect : int32_t {
  kEffectSnapshotLater = -1,  // the picture is taken once the window is in place
  kEffectNone = 0,
  kEffectCopy = 1,
  kEffectFade = 2,
  kEffectSlideDown = 3,
  kEffectSlideUp = 4,
  kEffectZoom = 5,
};

// Effects 1-5 start with the window moved down, off screen, by the height
// of the virtual screen; -1 moves a window that is not the first skinned one
// the same way until its picture is taken.
bool MovesOffScreen(int32_t effect);

// The vertical offsets a slide puts the window at, one per step of 20 ms.
// Slide down (3) starts at y - width and steps by +4 while the offset is at
// most 0; slide up (4) starts at the off-screen offset - height and steps by
// -4 while it is at least 0.  A start already past 0 gives no step.
std::vector<int32_t> SlideOffsets(int32_t effect, int32_t y, int32_t width, int32_t height,
                                  int32_t offScreenOffset);
constexpr uint32_t kSlideStepMs = 20;

// The zoom (5): 20 rectangles growing from the centre to the whole window.
std::vector<Rect> ZoomSteps(int32_t x, int32_t y, int32_t width, int32_t height);
// A pause after each zoom step on processors faster than this many MHz.
constexpr int32_t kZoomPauseAboveMhz = 1000;
constexpr uint32_t kZoomPauseMs = 30;

// The fade (2): the percentages of the picture over the background, 1, 1 +
// step, ... up to 100 (a step of 0 counts as 1); the fade ends with the
// picture itself.
std::vector<int32_t> BlendPercents(int32_t step);
constexpr int32_t kFadeStep = 4;
// One 32-bit pixel (0x00RRGGBB as a DIB holds it): each of blue, green and
// red = (source x p + background x (100 - p)) / 100; the top byte is 0.
uint32_t BlendPixel(uint32_t source, uint32_t background, int32_t percent);
void BlendPixels(const uint32_t* source, const uint32_t* background, uint32_t* out, size_t count,
                 int32_t percent);

}  // namespace skinning
