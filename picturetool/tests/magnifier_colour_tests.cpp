// The magnifier's arithmetic: zoom steps, the enlarged rectangle at the
// canvas edges, the red-eye cross and the caption.
#include <gtest/gtest.h>

#include <string>

#include "core/magnifier_rules.h"

namespace paint {
namespace {

TEST(MagnifierRules, ZoomStepsStopAtOneAndTen) {
  int32_t zoom = kFirstZoom;
  for (int click = 0; click < 10; ++click) zoom = ZoomAfterClick(zoom, true);
  EXPECT_EQ(zoom, 10);
  for (int click = 0; click < 12; ++click) zoom = ZoomAfterClick(zoom, false);
  EXPECT_EQ(zoom, 1);
  EXPECT_EQ(ZoomAfterClick(0, true), 2);    // outside the range: brought in first
  EXPECT_EQ(ZoomAfterClick(40, false), 9);
}

TEST(MagnifierRules, SourceFollowsTheCursorAndStaysOnTheBitmap) {
  const struct {
    const char* name;
    int32_t cursorX, cursorY, zoom, bitmapWidth, bitmapHeight;
    MagnifiedSource want;
  } cases[] = {
      {"centred", 500, 400, 2, 1024, 768, {455, 355, 91, 90}},
      {"zoom 1 near the corner", 30, 20, 1, 1024, 768, {0, 0, 182, 180}},
      {"right and bottom edge", 1020, 766, 3, 1024, 768, {964, 708, 60, 60}},
      {"past the edge", 5000, -40, 10, 1024, 768, {1006, 0, 18, 18}},
      {"bitmap smaller than the rectangle", 50, 50, 1, 100, 60, {0, 0, 182, 180}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MagnifiedSource got = MagnifiedSourceAt(c.cursorX, c.cursorY, 182, 180, c.zoom, c.bitmapWidth, c.bitmapHeight);
    EXPECT_EQ(got.x, c.want.x);
    EXPECT_EQ(got.y, c.want.y);
    EXPECT_EQ(got.width, c.want.width);
    EXPECT_EQ(got.height, c.want.height);
  }
}

TEST(MagnifierRules, RedEyeCrossSitsOnTheCursorInTheView) {
  const struct {
    const char* name;
    int32_t cursorX, cursorY, zoom;
    int32_t wantX, wantY;  // the cursor's pixel in the view, within one zoom step
  } cases[] = {
      {"centred", 500, 400, 2, 91, 90},
      {"near the left edge", 10, 100, 2, 21, 90},
      {"near the right edge at zoom 3", 1020, 400, 3, (1020 - 964) * 3 + 1, 90},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MagnifiedSource source = MagnifiedSourceAt(c.cursorX, c.cursorY, 182, 180, c.zoom, 1024, 768);
    const CrossLines cross = RedEyeCross(c.cursorX, c.cursorY, source, 182, 180, c.zoom);
    EXPECT_EQ(cross.verticalX, c.wantX);
    EXPECT_EQ(cross.horizontalY, c.wantY);
    EXPECT_EQ(cross.verticalTop, c.wantY - 8);
    EXPECT_EQ(cross.verticalBottom, c.wantY + 9);
    EXPECT_EQ(cross.horizontalLeft, c.wantX - 8);
    EXPECT_EQ(cross.horizontalRight, c.wantX + 9);
  }
}

TEST(MagnifierRules, CaptionNamesTheZoom) {
  EXPECT_EQ(MagnifierCaption("Magnifier", 2), " Magnifier x 2");
  EXPECT_EQ(MagnifierCaption("frame|Lupe|more", 10), " Lupe x 10");
  EXPECT_EQ(MagnifierCaption("frame|Zoom", 1), " Zoom x 1");
}

}  // namespace
}  // namespace paint
