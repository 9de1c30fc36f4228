// What the colour picker writes into its box for a picked colour, and where
// its pipette goes: the arithmetic, apart from the windows.
#pragma once

#include <cstdint>

namespace paint {

// A component's track-bar position 0-100: component x 100 \ 255 (128 -> 50).
int32_t TrackPositionOf(uint8_t component);

// The pipette's top-left corner for its centre at (x, y).
struct PipetteOrigin {
  int32_t x = 0, y = 0;
};
PipetteOrigin PipetteOriginFor(int32_t x, int32_t y, int32_t width, int32_t height);

}  // namespace paint
