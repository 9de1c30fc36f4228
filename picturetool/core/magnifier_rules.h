// The magnifier's arithmetic: the zoom steps of its clicks, the part of the
// canvas bitmap it enlarges around the cursor, the red-eye cross in its
// view and the text of its caption strip.
#pragma once

#include <cstdint>
#include <string>

namespace paint {

constexpr int32_t kMinimumZoom = 1;
constexpr int32_t kMaximumZoom = 10;
// The zoom of the first opening in a run.
constexpr int32_t kFirstZoom = 2;

// A left click enlarges by one step up to 10, a right click reduces down to
// 1; a zoom outside 1..10 is brought inside first.
int32_t ZoomAfterClick(int32_t zoom, bool enlarge);

struct MagnifiedSource {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

// The canvas rectangle shown in a view of viewWidth x viewHeight at `zoom`:
// (view size \ zoom), centred on the cursor, moved back inside the canvas
// bitmap at its right and bottom edge and never left of or above 0 (a
// bitmap smaller than the rectangle shows from its corner).
MagnifiedSource MagnifiedSourceAt(int32_t cursorX, int32_t cursorY, int32_t viewWidth, int32_t viewHeight,
                                  int32_t zoom, int32_t bitmapWidth, int32_t bitmapHeight);

// The two lines of the red-eye cross where the cursor lies in the view:
// vertical (x, top)-(x, bottom), horizontal (left, y)-(right, y).
struct CrossLines {
  int32_t verticalX = 0, verticalTop = 0, verticalBottom = 0;
  int32_t horizontalY = 0, horizontalLeft = 0, horizontalRight = 0;
};
CrossLines RedEyeCross(int32_t cursorX, int32_t cursorY, const MagnifiedSource& source, int32_t viewWidth,
                       int32_t viewHeight, int32_t zoom);

// The caption strip's text: " " + the name + " x" + the zoom with a blank
// before it (" Magnifier x 2").  The name is field 2 of the window text's
// "|" list when it has one, else the whole text.
std::string MagnifierCaption(const std::string& windowText, int32_t zoom);

}  // namespace paint
