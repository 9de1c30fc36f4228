// Where a drawing object's window goes: the box of its points widened by
// the shadow and grown by a margin, and its points relative to the window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/obf_types.h"

namespace paint {

// Rounding to the nearest integer, halves to the even neighbour.
int32_t RoundHalfEven(double value);

// The margin around ellipses, rectangles and arrows: round(d + 1.25 x pen
// width + 1).  Curves and polylines get kFreeShapeMargin.
int32_t ShapeMargin(int32_t shadow, int32_t penWidth);
constexpr int32_t kFreeShapeMargin = 128;

// Points as the canvas sends them: signed 16-bit little-endian x, y pairs,
// four bytes each; at most kObfMaxPoints are taken, a partial pair is
// dropped.
std::vector<overlay::ObfPoint> PointsFromBytes(const std::string& bytes);
std::string PointsToBytes(const std::vector<overlay::ObfPoint>& points);

struct ShapePlacement {
  int32_t x = 0, y = 0, width = 0, height = 0;  // the window in canvas coordinates
  std::vector<overlay::ObfPoint> points;         // relative to (x, y)
};

// The window of a shape of `kind` (2-6) with its points in canvas
// coordinates.  Ellipses, rectangles and arrows keep their first two points
// in the order given (an arrow keeps its direction); curves and polylines
// keep all.  False for another kind or too few points.
bool PlaceShape(uint16_t kind, const std::vector<overlay::ObfPoint>& canvasPoints, int32_t shadow,
                int32_t penWidth, ShapePlacement* placement);

// A measured text's window size: width = round(w + 0.5), height =
// round(h + 1.5), the two pads exchanged for vertical text (format flags not
// 0).
void TextWindowSize(double measuredWidth, double measuredHeight, int32_t formatFlags, int32_t* width,
                    int32_t* height);

}  // namespace paint
