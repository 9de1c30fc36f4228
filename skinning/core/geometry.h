// Rectangles and points as the skinning rules exchange them (the system's
// RECT and POINT without its headers).
#pragma once

#include <cstdint>

namespace skinning {

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

struct Size {
  int32_t width = 0, height = 0;
  bool operator==(const Size& other) const { return width == other.width && height == other.height; }
};

// The skin's sizes the frame is laid out with: SKGETSYSTEMMETRICS(n) for the
// number beside each field.
struct SkinMetrics {
  int32_t captionBand = 0;    // 1: caption band height
  int32_t leftFrame = 0;      // 4
  int32_t rightFrame = 0;     // 5
  int32_t bottomFrame = 0;    // 6
  int32_t buttonWidth = 0;    // 7: caption button width
  int32_t buttonHeight = 0;   // 8: caption button height
  int32_t buttonsRight = 0;   // 9: the button row's distance from the right edge
  int32_t buttonTop = 0;      // 10
  int32_t titleX = 0;         // 11
  int32_t titleY = 0;         // 12
  int32_t iconX = 0;          // 16
  int32_t iconY = 0;          // 21
  int32_t ledY = 0;           // 22
  int32_t menuBar = 0;        // 26: menu bar height
};

}  // namespace skinning
