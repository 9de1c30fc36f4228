// The video layout's arithmetic (video_layout.h).
#include "core/video_layout.h"

#include <algorithm>
#include <cmath>

namespace player {

namespace {

int32_t Rounded(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

// Integer division truncating toward zero, as the layout rules use it.
int32_t Half(int32_t value) { return value / 2; }

}  // namespace

LayoutArea AreaBesideIndexPane(LayoutArea content, int32_t side, int32_t paneWidth, int32_t paneHeight) {
  switch (side) {
    case 2:
      content.top += paneHeight;
      content.height -= paneHeight;
      break;
    case 3:
      content.width = content.width - paneWidth + 1;
      break;
    case 4:
      content.height = content.height - paneHeight + 1;
      break;
    default:
      content.left += paneWidth;
      content.width -= paneWidth;
      break;
  }
  return content;
}

LayoutArea PlaceVideo(const VideoLayoutInput& input) {
  LayoutArea area = input.content;
  if (input.item == 308) area = LayoutArea{0, 0, input.screenWidth, input.screenHeight};
  const int32_t cw = area.width;
  const int32_t ch = area.height;
  int32_t w = input.nativeWidth;
  int32_t h = input.nativeHeight;
  switch (input.item) {
    case 303: w = Rounded(w * 0.5); h = Rounded(h * 0.5); break;
    case 305: w = Rounded(w * 1.5); h = Rounded(h * 1.5); break;
    case 306: w = 2 * w; h = 2 * h; break;
    case 307:
      if (!input.keepProportions) {
        w = cw;
        h = ch;
      }
      break;
  }
  int32_t x = 0, y = 0;
  if (input.item == 307 && !input.keepProportions) {
    x = area.left;
    y = area.top;
  } else if (input.item != 308) {
    x = Half(cw - w) + area.left;
    y = Half(ch - h) + area.top;
  }
  if (input.keepProportions) {
    bool fits = x >= area.left && y >= area.top && w <= cw && h <= ch;
    if (!fits || input.item == 307 || input.item == 308) {
      int32_t newWidth = w, newHeight = h;
      if (w != 0) {
        double s = static_cast<double>(cw) / w;
        newWidth = Rounded(s * w);
        newHeight = Rounded(s * h);
      }
      if (ch < newHeight && h != 0) {
        double s = static_cast<double>(ch) / h;
        newWidth = Rounded(s * w);
        newHeight = Rounded(s * h);
      }
      x = Half(cw - newWidth) + area.left;
      y = Half(ch - newHeight) + area.top;
      w = newWidth;
      h = newHeight;
    }
  } else {
    x = std::max(area.left, x);
    y = std::max(area.top, y);
    w = std::min(cw, w);
    h = std::min(ch, h);
  }
  return LayoutArea{x, y, w, h};
}

}  // namespace player
