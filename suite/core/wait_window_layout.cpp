// The wait window's text, size and place.
#include "wait_window_layout.h"

#include <algorithm>

namespace suite::boxes {

std::string WaitWindowText(std::string_view text) {
  std::string windowText;
  windowText.reserve(text.size() + 3);
  windowText += '|';
  windowText += text;
  windowText += "||";
  std::replace(windowText.begin(), windowText.end(), '|', '\r');
  if (windowText.size() > kWaitTextMaxBytes) windowText.resize(kWaitTextMaxBytes);
  return windowText;
}

WindowSize WaitWindowSize(int32_t widestLineWidth, int32_t lineCount, int32_t characterHeight,
                          int32_t frameX, int32_t frameY) {
  WindowSize size;
  size.width = widestLineWidth + 2 * characterHeight + 2 * frameX;
  size.height = characterHeight * (lineCount + 2) + 2 * frameY;
  return size;
}

WindowPlace CentreAndClamp(const ScreenRect& anchor, WindowSize size, int32_t screenWidth,
                           int32_t screenHeight) {
  WindowPlace place;
  place.x = anchor.left + (anchor.right - anchor.left - size.width) / 2;
  place.y = anchor.top + (anchor.bottom - anchor.top - size.height) / 2;
  // Upper bound first, so that the lower bound wins for a window larger
  // than the screen.
  place.x = std::max(0, std::min(place.x, screenWidth - size.width));
  place.y = std::max(0, std::min(place.y, screenHeight - size.height));
  return place;
}

}  // namespace suite::boxes
