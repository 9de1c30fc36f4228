// The colour picker's arithmetic: see colour_rules.h.
#include "core/colour_rules.h"

namespace paint {

int32_t TrackPositionOf(uint8_t component) { return component * 100 / 255; }

PipetteOrigin PipetteOriginFor(int32_t x, int32_t y, int32_t width, int32_t height) {
  return {x - width / 2, y - height / 2};
}

}  // namespace paint
