#include "core/object_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace paint {

int32_t RoundHalfEven(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

int32_t ShapeMargin(int32_t shadow, int32_t penWidth) {
  return RoundHalfEven(static_cast<double>(shadow) + 1.25 * penWidth + 1.0);
}

std::vector<overlay::ObfPoint> PointsFromBytes(const std::string& bytes) {
  std::vector<overlay::ObfPoint> points;
  const size_t count = std::min(bytes.size() / 4, overlay::kObfMaxPoints);
  for (size_t i = 0; i < count; ++i) {
    auto word = [&](size_t at) {
      const auto low = static_cast<uint8_t>(bytes[at]);
      const auto high = static_cast<uint8_t>(bytes[at + 1]);
      return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
    };
    points.push_back({word(4 * i), word(4 * i + 2)});
  }
  return points;
}

std::string PointsToBytes(const std::vector<overlay::ObfPoint>& points) {
  std::string bytes;
  for (const overlay::ObfPoint& point : points) {
    for (int16_t value : {point.x, point.y}) {
      const auto bits = static_cast<uint16_t>(value);
      bytes += static_cast<char>(bits & 0xFF);
      bytes += static_cast<char>(bits >> 8);
    }
  }
  return bytes;
}

bool PlaceShape(uint16_t kind, const std::vector<overlay::ObfPoint>& canvasPoints, int32_t shadow,
                int32_t penWidth, ShapePlacement* placement) {
  const bool free = kind == overlay::kKindCurve || kind == overlay::kKindPolyline;
  const bool boxed = kind == overlay::kKindEllipse || kind == overlay::kKindRectangle || kind == overlay::kKindArrow;
  if ((!free && !boxed) || canvasPoints.size() < (boxed ? 2u : 1u)) return false;
  std::vector<overlay::ObfPoint> used(canvasPoints.begin(), boxed ? canvasPoints.begin() + 2 : canvasPoints.end());
  int32_t left = used[0].x, right = used[0].x, top = used[0].y, bottom = used[0].y;
  for (const overlay::ObfPoint& point : used) {
    left = std::min<int32_t>(left, point.x);
    right = std::max<int32_t>(right, point.x);
    top = std::min<int32_t>(top, point.y);
    bottom = std::max<int32_t>(bottom, point.y);
  }
  // The shadow falls d to the right (or left) and |d| down.
  left = std::min(left, left + shadow);
  right = std::max(right, right + shadow);
  top = std::min(top, top + std::abs(shadow));
  bottom = std::max(bottom, bottom + std::abs(shadow));
  const int32_t margin = free ? kFreeShapeMargin : ShapeMargin(shadow, penWidth);
  placement->x = left - margin;
  placement->y = top - margin;
  placement->width = right - left + 2 * margin;
  placement->height = bottom - top + 2 * margin;
  placement->points.clear();
  for (const overlay::ObfPoint& point : used) {
    placement->points.push_back({static_cast<int16_t>(point.x - left + margin),
                                 static_cast<int16_t>(point.y - top + margin)});
  }
  return true;
}

void TextWindowSize(double measuredWidth, double measuredHeight, int32_t formatFlags, int32_t* width,
                    int32_t* height) {
  const double widthPad = formatFlags != 0 ? 1.5 : 0.5;
  const double heightPad = formatFlags != 0 ? 0.5 : 1.5;
  *width = RoundHalfEven(measuredWidth + widthPad);
  *height = RoundHalfEven(measuredHeight + heightPad);
}

}  // namespace paint
