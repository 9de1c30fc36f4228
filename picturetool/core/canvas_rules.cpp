#include "core/canvas_rules.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace paint {

int32_t ScrolledPosition(int32_t position, int32_t code, int32_t thumb, int32_t bitmapSize, int32_t clientSize) {
  switch (code) {
    case 0: position -= 5; break;
    case 1: position += 5; break;
    case 2: position -= 50; break;
    case 3: position += 50; break;
    case 4:
    case 5: position = thumb; break;
    default: break;
  }
  return std::clamp(position, 0, std::max(0, bitmapSize - clientSize));
}

uint32_t GreyOfColor(uint32_t colour) {
  const uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
  const uint32_t grey = (19595 * red + 38470 * green + 7471 * blue) >> 16;
  return grey | (grey << 8) | (grey << 16);
}

std::vector<CanvasPoint> RedEyePoints(int32_t centreX, int32_t centreY, int32_t width, int32_t height) {
  std::vector<CanvasPoint> points;
  for (int32_t row = 0; row < 5; ++row) {
    for (int32_t column = 0; column < 5; ++column) {
      const bool corner = (row == 0 || row == 4) && (column == 0 || column == 4);
      const int32_t x = centreX - 2 + column, y = centreY - 2 + row;
      if (corner || x < 0 || y < 0 || x >= width || y >= height) continue;
      points.push_back({x, y});
    }
  }
  return points;
}

void RedEyeStrokes::Add(RedEyeRecord record) {
  records_.push_back(std::move(record));
  ++unflushed_;
}

bool RedEyeStrokes::TakeNewest(RedEyeRecord* record) {
  if (records_.empty()) return false;
  *record = std::move(records_.back());
  records_.pop_back();
  if (unflushed_ > 0) --unflushed_;
  return true;
}

bool OrderedSelection(const Selection& selection, Selection* ordered) {
  if (selection.left < 0 || selection.top < 0 || selection.right < 0 || selection.bottom < 0) return false;
  Selection s = selection;
  if (s.left > s.right) std::swap(s.left, s.right);
  if (s.top > s.bottom) std::swap(s.top, s.bottom);
  if (s.right == s.left || s.bottom == s.top) return false;
  *ordered = s;
  return true;
}

int32_t PannedOffset(int32_t offset, int32_t delta, int32_t lowest) {
  return std::clamp(offset + delta, std::min(0, lowest), 0);
}

PrintPlacement PrintLayout(int32_t pageWidth, int32_t pageHeight, bool landscape, int32_t pictureWidth,
                           int32_t pictureHeight) {
  PrintPlacement out;
  if (pictureWidth <= 0 || pictureHeight <= 0) return out;
  const int32_t marginX = landscape ? 60 : 15, marginY = landscape ? 0 : 60;
  const float scale = std::min(static_cast<float>(pageWidth - 2 * marginX) / static_cast<float>(pictureWidth),
                               static_cast<float>(pageHeight - 2 * marginY) / static_cast<float>(pictureHeight));
  out.width = static_cast<int32_t>(std::nearbyint(scale * static_cast<float>(pictureWidth)));
  out.height = static_cast<int32_t>(std::nearbyint(scale * static_cast<float>(pictureHeight)));
  out.x = (pageWidth - out.width) / 2 + marginX;
  out.y = (pageHeight - out.height) / 2 + marginY;
  return out;
}

}  // namespace paint
