// The picture tool's portable rules: names from the program path, the About
// text, picture lists, the tool-bar layout and the geometry of objects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/obf_document.h"
#include "core/object_geometry.h"
#include "core/paint_rules.h"
#include "core/path_names.h"

namespace paint {
namespace {

TEST(PaintRules, BasePathTakesTheExtensionOfTheFileNameOnly) {
  const struct {
    const char* exe;
    const char* base;
  } cases[] = {
      {"C:\\Program Files\\Orb\\orbpaint.exe", "C:\\Program Files\\Orb\\orbpaint"},
      {"C:\\Users\\john.doe\\orb\\orbpaint.exe", "C:\\Users\\john.doe\\orb\\orbpaint"},
      {"Z:\\build.i686\\orbpaint", "Z:\\build.i686\\orbpaint"},
      {"D:\\a.b\\orb.paint.exe", "D:\\a.b\\orb.paint"},
      {"orbpaint.exe", "orbpaint"},
  };
  for (const auto& c : cases) EXPECT_EQ(BasePathOf(c.exe), c.base) << c.exe;
  // A path longer than any fixed buffer stays whole.
  const std::string deep = "C:\\" + std::string(600, 'x') + ".dir\\orbpaint.exe";
  EXPECT_EQ(BasePathOf(deep), deep.substr(0, deep.size() - 4));
  EXPECT_EQ(suite::NameBeforeFirstDot("orbpaint.exe"), "orbpaint");
}

TEST(PaintRules, AboutTextPutsTheYearForEveryHash) {
  EXPECT_EQ(AboutText("Engine 1.0", " (c) # and #.", "12-10-2026"), "Engine 1.0 (c) 2026 and 2026.");
  EXPECT_EQ(AboutText("", "no year", "12-10-2026"), "no year");
}

TEST(PaintRules, PictureListsAndFolders) {
  EXPECT_EQ(PictureCountOf("C:\\a.jpg|C:\\b c\\d.png"), 2u);
  EXPECT_EQ(PictureAt("C:\\a.jpg|C:\\b c\\d.png", 2), "C:\\b c\\d.png");
  EXPECT_EQ(PictureAt("C:\\a.jpg", 3), "");
  EXPECT_EQ(suite::FolderOf("C:\\b c\\d.png"), "C:\\b c\\");
  EXPECT_EQ(suite::FolderOf("d.png"), "");
  EXPECT_FALSE(CarriesPictureList(""));
  EXPECT_FALSE(CarriesPictureList("||"));
  EXPECT_TRUE(CarriesPictureList("C:\\a.jpg"));
}

TEST(PaintRules, ToolbarLayout) {
  const ToolbarLayout layout = LayOutToolbar(40, 120, 20);
  EXPECT_EQ(layout.previousX, 2);
  EXPECT_EQ(layout.fullViewX, 41);
  EXPECT_EQ(layout.nextX, 80);
  EXPECT_EQ(layout.revertX, 124);
  EXPECT_EQ(layout.revertWidth, 60);
  EXPECT_EQ(layout.trackX, 117 + 40 + 33 - 0 - 0 + 0);  // 3B + text + 33
  EXPECT_EQ(layout.trackY, 3);
  EXPECT_EQ(layout.counterX, 117 + 40 + 120 + 40);
  EXPECT_EQ(layout.toolY, (std::vector<int32_t>{24, 49, 74, 99, 124, 149}));
  EXPECT_EQ(LayOutToolbar(0, 0, 40).trackY, 1);
}

TEST(PaintRules, ObjectTitles) {
  EXPECT_EQ(ObjectTitle("Object", 7), "Object007");
  EXPECT_EQ(ObjectTitle("Object", 0), "Object000");
  EXPECT_EQ(ObjectTitle("Object", 123), "Object123");
}

TEST(ObjectGeometry, MarginsRoundHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(ShapeMargin(0, 2), 4);   // 0 + 2.5 + 1 = 3.5 -> 4
  EXPECT_EQ(ShapeMargin(0, 6), 8);   // 8.5 -> 8
  EXPECT_EQ(ShapeMargin(3, 4), 9);   // 9
}

TEST(ObjectGeometry, ArrowDrawnRightToLeftKeepsItsDirection) {
  ShapePlacement placement;
  ASSERT_TRUE(PlaceShape(overlay::kKindArrow, {{200, 50}, {100, 80}}, 0, 2, &placement));
  EXPECT_EQ(placement.x, 100 - 4);
  EXPECT_EQ(placement.y, 50 - 4);
  EXPECT_EQ(placement.width, 100 + 8);
  EXPECT_EQ(placement.height, 30 + 8);
  EXPECT_EQ(placement.points, (std::vector<overlay::ObfPoint>{{104, 4}, {4, 34}}));
}

TEST(ObjectGeometry, ShadowWidensTheBox) {
  ShapePlacement right, left;
  ASSERT_TRUE(PlaceShape(overlay::kKindRectangle, {{10, 10}, {30, 20}}, 5, 0, &right));
  // m = round(5 + 0 + 1) = 6; right edge 35, bottom 25.
  EXPECT_EQ(right.x, 4);
  EXPECT_EQ(right.y, 4);
  EXPECT_EQ(right.width, 25 + 12);
  EXPECT_EQ(right.height, 15 + 12);
  ASSERT_TRUE(PlaceShape(overlay::kKindRectangle, {{10, 10}, {30, 20}}, -5, 0, &left));
  // m = round(-5 + 1) = -4; the box runs from x 5 and down 5.
  EXPECT_EQ(left.x, 5 + 4);
  EXPECT_EQ(left.width, 25 - 8);
  EXPECT_EQ(left.height, 15 - 8);
}

TEST(ObjectGeometry, CurvesKeepAllPointsWithTheWideMargin) {
  ShapePlacement placement;
  ASSERT_TRUE(PlaceShape(overlay::kKindCurve, {{10, 10}, {50, 0}, {30, 40}}, 0, 3, &placement));
  EXPECT_EQ(placement.x, 10 - 128);
  EXPECT_EQ(placement.y, -128);
  EXPECT_EQ(placement.width, 40 + 256);
  EXPECT_EQ(placement.height, 40 + 256);
  EXPECT_EQ(placement.points, (std::vector<overlay::ObfPoint>{{128, 138}, {168, 128}, {148, 168}}));
  EXPECT_FALSE(PlaceShape(overlay::kKindText, {{1, 1}, {2, 2}}, 0, 1, &placement));
  EXPECT_FALSE(PlaceShape(overlay::kKindEllipse, {{1, 1}}, 0, 1, &placement));
}

TEST(ObjectGeometry, PointBytesRoundTripAndAreBounded) {
  const std::vector<overlay::ObfPoint> points = {{-1, 2}, {32767, -32768}};
  const std::string bytes = PointsToBytes(points);
  EXPECT_EQ(bytes, std::string("\xFF\xFF\x02\x00\xFF\x7F\x00\x80", 8));
  EXPECT_EQ(PointsFromBytes(bytes), points);
  EXPECT_EQ(PointsFromBytes(bytes + "\x01\x02"), points);  // a partial pair is dropped
  EXPECT_EQ(PointsFromBytes(std::string(4 * 300, '\0')).size(), overlay::kObfMaxPoints);
}

TEST(ObjectGeometry, TextWindowSizePads) {
  int32_t width = 0, height = 0;
  TextWindowSize(40.2, 18.0, 0, &width, &height);
  EXPECT_EQ(width, 41);
  EXPECT_EQ(height, 20);  // 19.5 -> 20
  TextWindowSize(18.0, 40.2, 2, &width, &height);
  EXPECT_EQ(width, 20);
  EXPECT_EQ(height, 41);
}

}  // namespace
}  // namespace paint
