// Fitting a picture into a box; see fit_box.h.
#include "fit_box.h"

#include <algorithm>
#include <cmath>

namespace themecore {

bool FitIntoBox(int32_t width, int32_t height, int32_t boxWidth, int32_t boxHeight, FittedBox* fitted) {
  *fitted = FittedBox();
  if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) return false;
  int64_t fittedWidth = width;
  int64_t fittedHeight = height;
  if (width > boxWidth || height > boxHeight) {
    // Compare the two scales without rounding: boxWidth / width against
    // boxHeight / height.
    const bool widthLimits = int64_t{boxWidth} * height <= int64_t{boxHeight} * width;
    const double scale = widthLimits ? static_cast<double>(boxWidth) / width
                                     : static_cast<double>(boxHeight) / height;
    fittedWidth = widthLimits ? boxWidth : std::llround(width * scale);
    fittedHeight = widthLimits ? std::llround(height * scale) : boxHeight;
    fittedWidth = std::clamp<int64_t>(fittedWidth, 1, boxWidth);
    fittedHeight = std::clamp<int64_t>(fittedHeight, 1, boxHeight);
  }
  fitted->width = static_cast<int32_t>(fittedWidth);
  fitted->height = static_cast<int32_t>(fittedHeight);
  fitted->x = static_cast<int32_t>((boxWidth - fittedWidth) / 2);
  fitted->y = static_cast<int32_t>((boxHeight - fittedHeight) / 2);
  return true;
}

}  // namespace themecore
