// Fitting a picture into a box with its proportions kept: the arithmetic
// behind SKICONISE, which thumbnails, contact sheets, previews and zoomed
// views use to place a picture.
#pragma once

#include <cstdint>

namespace themecore {

struct FittedBox {
  int32_t x = 0;       // offset that centres the picture in the box
  int32_t y = 0;
  int32_t width = 0;   // fitted size
  int32_t height = 0;
};

// A picture larger than the box in either direction is scaled by the
// smaller of boxWidth / width and boxHeight / height (sides rounded to the
// nearest pixel, at least 1); a picture that fits keeps its size.  False
// (and a zero box) when any size is not positive.
bool FitIntoBox(int32_t width, int32_t height, int32_t boxWidth, int32_t boxHeight, FittedBox* fitted);

}  // namespace themecore
