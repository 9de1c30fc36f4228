#include "core/box_rules.h"

#include <algorithm>
#include <cmath>

#include "core/obf_types.h"

namespace paint {

uint8_t TrackToByte(int32_t position) {
  // The factor is a single-precision constant; the product is not rounded
  // to single precision again (there 50 x 2.55f would become 127.5).
  const double scaled = static_cast<double>(position) * static_cast<double>(2.55f);
  return static_cast<uint8_t>(static_cast<int32_t>(std::nearbyint(scaled)) & 255);
}

int32_t ByteToTrack(int32_t component) { return component * 100 / 255; }

int32_t GridCharAt(int32_t x, int32_t y, int32_t width, int32_t height) {
  // The cells are drawn at width x column / 32 (and height x row / 7), so
  // a point is mapped back the same way: dividing by the truncated cell
  // width would drift by up to a cell towards the right edge.
  const int32_t column = std::clamp(x * kGridColumns / std::max(1, width), 0, kGridColumns - 1);
  const int32_t row = std::clamp(y * kGridRows / std::max(1, height), 0, kGridRows - 1);
  return std::clamp(32 * (row + 1) + column, kFirstGridChar, kLastGridChar);
}

GridPoint GridTextOrigin(int32_t k, int32_t width, int32_t height, int32_t textWidth, int32_t textHeight) {
  const int32_t column = (k - kFirstGridChar) % kGridColumns;
  const int32_t row = (k - kFirstGridChar) / kGridColumns;
  return {width * column / kGridColumns + (width / kGridColumns - textWidth) / 2,
          height * row / kGridRows + (height / kGridRows - textHeight) / 2};
}

ViewerPlace PlaceViewer(int32_t character, int32_t gridLeft, int32_t gridTop, int32_t width, int32_t height) {
  const int32_t c = std::clamp(character, kFirstGridChar, kLastGridChar);
  const int32_t column = c % kGridColumns;
  const int32_t row = c / kGridColumns;  // 1 to 7
  const int32_t cellWidth = width / kGridColumns + (column == kGridColumns - 1 ? 0 : 2);
  const int32_t cellHeight = height / kGridRows + (row == kGridRows ? 0 : 2);
  ViewerPlace place;
  place.hoverX = width * column / kGridColumns;
  place.hoverY = height * (row - 1) / kGridRows;
  place.hoverWidth = cellWidth;
  place.hoverHeight = cellHeight;
  place.viewerX = std::min(std::max(gridLeft - 4, gridLeft + place.hoverX - 9), width - cellWidth - 12);
  place.viewerY = std::max(gridTop - 4, gridTop + place.hoverY - 8);
  place.viewerWidth = cellWidth + 20;
  place.viewerHeight = cellHeight + 18;
  return place;
}

int32_t MoveGridChar(int32_t character, GridKey key) {
  int32_t c = character;
  switch (key) {
    case GridKey::kLeft:
      --c;
      break;
    case GridKey::kRight:
      ++c;
      break;
    case GridKey::kUp:
      if (c > 63) c -= 32;
      break;
    case GridKey::kDown:
      if (c < 224) c += 32;
      break;
  }
  return std::clamp(c, kFirstGridChar, kLastGridChar);
}

std::string ChosenFamily(const std::string& listText, const std::string& incoming) {
  if (!listText.empty()) return listText;
  return incoming;
}

int32_t ChosenSize(int32_t listSize, int32_t incoming, int32_t fallback) {
  if (listSize > 0) return listSize;
  return incoming > 0 ? incoming : fallback;
}

bool IsFilledStyle(uint16_t style) {
  return style == overlay::kStyleSolid || style == overlay::kStyleGradient || style == overlay::kStyleGradientSigma;
}

ShapeSample SampleFor(uint32_t word, int32_t clientWidth, int32_t shadow, int32_t penWidth) {
  const auto kind = static_cast<uint16_t>(word & 0xFFFF);
  const auto style = static_cast<uint16_t>(word >> 16);
  ShapeSample sample;
  const auto at = [](int32_t v) { return static_cast<int16_t>(std::clamp(v, -32768, 32767)); };
  if (IsFilledStyle(style)) {
    sample.style = style;
    sample.penWidth = 98;
    if (kind == overlay::kKindEllipse) {
      sample.kind = overlay::kKindEllipse;
      sample.x = (clientWidth - 8 - 98) / 2 + 2;
      sample.y = 4;
      sample.x2 = 98;
      sample.y2 = 98;
    } else {
      sample.kind = overlay::kKindRectangle;
      sample.x = 4;
      sample.y = 4;
      sample.x2 = at(clientWidth - 8);
      sample.y2 = 98;
    }
    return sample;
  }
  // Outlines and open shapes: a line across the strip, as an arrow for an
  // arrow and as a straight open curve for everything else.
  sample.kind = kind == overlay::kKindArrow ? overlay::kKindArrow : overlay::kKindCurve;
  sample.style = kind == overlay::kKindArrow ? style : overlay::kStyleOpen;
  sample.x1 = 4;
  sample.y1 = 54;
  sample.x2 = at(clientWidth - 4 - shadow);
  sample.y2 = 54;
  sample.penWidth = penWidth;
  return sample;
}

}  // namespace paint
