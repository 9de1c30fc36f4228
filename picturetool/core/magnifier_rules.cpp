// The magnifier's arithmetic: see magnifier_rules.h.
#include "core/magnifier_rules.h"

#include <algorithm>

#include "core/item_list.h"

namespace paint {

int32_t ZoomAfterClick(int32_t zoom, bool enlarge) {
  zoom = std::clamp(zoom, kMinimumZoom, kMaximumZoom);
  if (enlarge) return zoom < kMaximumZoom ? zoom + 1 : zoom;
  return zoom > kMinimumZoom ? zoom - 1 : zoom;
}

namespace {

int32_t SourceStart(int32_t cursor, int32_t size, int32_t bitmapSize) {
  int32_t start = std::max(0, cursor - size / 2);
  if (start + size > bitmapSize) start = bitmapSize - size;
  return std::max(0, start);
}

}  // namespace

MagnifiedSource MagnifiedSourceAt(int32_t cursorX, int32_t cursorY, int32_t viewWidth, int32_t viewHeight,
                                  int32_t zoom, int32_t bitmapWidth, int32_t bitmapHeight) {
  zoom = std::clamp(zoom, kMinimumZoom, kMaximumZoom);
  MagnifiedSource source;
  source.width = std::max(1, viewWidth / zoom);
  source.height = std::max(1, viewHeight / zoom);
  source.x = SourceStart(cursorX, source.width, bitmapWidth);
  source.y = SourceStart(cursorY, source.height, bitmapHeight);
  return source;
}

CrossLines RedEyeCross(int32_t cursorX, int32_t cursorY, const MagnifiedSource& source, int32_t viewWidth,
                       int32_t viewHeight, int32_t zoom) {
  const int32_t offsetX = (cursorX - source.width / 2 - source.x) * zoom;
  const int32_t offsetY = (cursorY - source.height / 2 - source.y) * zoom;
  CrossLines cross;
  cross.verticalX = viewWidth / 2 + offsetX;
  cross.verticalTop = viewHeight / 2 - 8 + offsetY;
  cross.verticalBottom = viewHeight / 2 + 9 + offsetY;
  cross.horizontalY = viewHeight / 2 + offsetY;
  cross.horizontalLeft = viewWidth / 2 - 8 + offsetX;
  cross.horizontalRight = viewWidth / 2 + 9 + offsetX;
  return cross;
}

std::string MagnifierCaption(const std::string& windowText, int32_t zoom) {
  // A frame's text names the window in its second "|" field.
  const std::string name = windowText.find('|') == std::string::npos ? windowText : suite::ItemField(windowText, 2);
  return " " + name + " x " + std::to_string(zoom);
}

}  // namespace paint
