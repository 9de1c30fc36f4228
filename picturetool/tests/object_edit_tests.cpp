// The rules of the text and shape boxes and of the object popup: colour
// bytes from track positions, the character grid and its viewer, what OK
// takes from the lists, the shape box's sample, the quarter turn, mirrored
// copies, new margins, the status and list texts and the z-order moves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/box_rules.h"
#include "core/obf_types.h"
#include "core/object_edits.h"
#include "core/object_geometry.h"

namespace paint {
namespace {

using overlay::ObfObject;
using overlay::ObfPoint;

TEST(BoxRules, TrackPositionsAndBytes) {
  const struct {
    int32_t position;
    int expectedByte;
  } cases[] = {{0, 0}, {1, 3}, {50, 127}, {99, 252}, {100, 255}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.position);
    EXPECT_EQ(TrackToByte(c.position), c.expectedByte);
  }
  const struct {
    int32_t component, position;
  } components[] = {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {127, 49}, {128, 50}, {254, 99}, {255, 100}};
  for (const auto& c : components) EXPECT_EQ(ByteToTrack(c.component), c.position) << c.component;
  // A component of 128 set by the picker comes back as 127.
  EXPECT_EQ(TrackToByte(ByteToTrack(128)), 127);
}

TEST(BoxRules, GridCellsAndCharacters) {
  const int32_t width = 572, height = 147;  // 17 x 21 cells
  const struct {
    const char* name;
    int32_t x, y, character;
  } cases[] = {
      {"first cell", 0, 0, 32},         {"A", 18, 21, 65},
      {"last of row 1", 571, 5, 63},    {"last cell", 571, 146, 255},
      {"below the cells", 10, 500, 224}, {"right of the cells", 900, 0, 63},
      {"negative", -5, -5, 32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GridCharAt(c.x, c.y, width, height), c.character);
  }
  // A grid too small for cells, or of no size, still gives a character.
  EXPECT_GE(GridCharAt(3, 3, 10, 5), 32);
  EXPECT_LE(GridCharAt(3, 3, 10, 5), 255);
  EXPECT_EQ(GridCharAt(3, 3, 0, 0), 255);
  // Every character's text origin lies in its own cell.
  for (int32_t k = 32; k <= 255; ++k) {
    const GridPoint at = GridTextOrigin(k, width, height, 7, 13);
    EXPECT_EQ(GridCharAt(at.x + 3, at.y + 6, width, height), k) << k;
  }
}

TEST(BoxRules, ViewerPlacement) {
  const struct {
    const char* name;
    int32_t character;
    ViewerPlace expected;
  } cases[] = {
      // "A": column 1, row 2: the hover cell at (17, 21), 19 x 23.
      {"A", 65, {17, 21, 19, 23, 12, 25, 39, 41}},
      // The first cell: the viewer stops 4 pixels outside the grid.
      {"blank", 32, {0, 0, 19, 23, 0, 8, 39, 41}},
      // The last column is not widened and the viewer stays inside.
      {"last column", 63, {554, 0, 17, 23, 543, 8, 37, 41}},
      // The last row is not heightened.
      {"last row", 224, {0, 126, 19, 21, 0, 130, 39, 39}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ViewerPlace got = PlaceViewer(c.character, 4, 12, 572, 147);
    EXPECT_EQ(got.hoverX, c.expected.hoverX);
    EXPECT_EQ(got.hoverY, c.expected.hoverY);
    EXPECT_EQ(got.hoverWidth, c.expected.hoverWidth);
    EXPECT_EQ(got.hoverHeight, c.expected.hoverHeight);
    EXPECT_EQ(got.viewerX, c.expected.viewerX);
    EXPECT_EQ(got.viewerY, c.expected.viewerY);
    EXPECT_EQ(got.viewerWidth, c.expected.viewerWidth);
    EXPECT_EQ(got.viewerHeight, c.expected.viewerHeight);
  }
}

TEST(BoxRules, GridKeysStayInTheGrid) {
  const struct {
    int32_t from;
    GridKey key;
    int32_t to;
  } cases[] = {
      {65, GridKey::kLeft, 64},  {65, GridKey::kRight, 66}, {65, GridKey::kUp, 33},  {65, GridKey::kDown, 97},
      {40, GridKey::kUp, 40},    {63, GridKey::kUp, 63},    {64, GridKey::kUp, 32},  {230, GridKey::kDown, 230},
      {223, GridKey::kDown, 255}, {32, GridKey::kLeft, 32}, {255, GridKey::kRight, 255},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " key " + std::to_string(static_cast<int>(c.key)));
    EXPECT_EQ(MoveGridChar(c.from, c.key), c.to);
  }
}

TEST(BoxRules, OkKeepsTheIncomingValueWhenTheListHasNone) {
  EXPECT_EQ(ChosenFamily("Tahoma", "Arial"), "Tahoma");
  EXPECT_EQ(ChosenFamily("", "Arial"), "Arial");  // no Arial here: the family stays
  EXPECT_EQ(ChosenSize(24, 600, 14), 24);
  EXPECT_EQ(ChosenSize(0, 600, 14), 600);  // a size beyond the list stays
  EXPECT_EQ(ChosenSize(-1, 0, 14), 14);
}

TEST(BoxRules, ShapeSamples) {
  const uint32_t filledEllipse = overlay::kKindEllipse | (overlay::kStyleSolid << 16);
  const uint32_t filledRectangle = overlay::kKindRectangle | (overlay::kStyleGradient << 16);
  const uint32_t outlineEllipse = overlay::kKindEllipse | (overlay::kStyleOutline << 16);
  const uint32_t arrow = overlay::kKindArrow | (overlay::kStyleOpen << 16);
  const struct {
    const char* name;
    uint32_t word;
    int32_t shadow;
    ShapeSample expected;
  } cases[] = {
      {"filled ellipse: a circle", filledEllipse, 0, {2, 2, 109, 4, 0, 0, 98, 98, 98}},
      {"filled rectangle across the strip", filledRectangle, 0, {3, 3, 4, 4, 0, 0, 312, 98, 98}},
      {"outline ellipse: a straight line", outlineEllipse, 0, {4, 5, 0, 0, 4, 54, 316, 54, 7}},
      {"arrow with a shadow", arrow, 3, {5, 5, 0, 0, 4, 54, 313, 54, 7}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ShapeSample got = SampleFor(c.word, 320, c.shadow, 7);
    EXPECT_EQ(got.kind, c.expected.kind);
    EXPECT_EQ(got.style, c.expected.style);
    EXPECT_EQ(got.x, c.expected.x);
    EXPECT_EQ(got.y, c.expected.y);
    EXPECT_EQ(got.x1, c.expected.x1);
    EXPECT_EQ(got.y1, c.expected.y1);
    EXPECT_EQ(got.x2, c.expected.x2);
    EXPECT_EQ(got.y2, c.expected.y2);
    EXPECT_EQ(got.penWidth, c.expected.penWidth);
  }
  EXPECT_TRUE(IsFilledStyle(overlay::kStyleGradientSigma));
  EXPECT_FALSE(IsFilledStyle(overlay::kStyleOutline));
  EXPECT_FALSE(IsFilledStyle(overlay::kStyleOpen));
}

ObfObject Shape(uint16_t kind, std::vector<ObfPoint> points, int32_t width, int32_t height) {
  ObfObject object;
  object.kind = kind;
  object.style = overlay::kStyleOutline;
  object.points = std::move(points);
  object.x = 50;
  object.y = 60;
  object.width = width;
  object.height = height;
  return object;
}

TEST(ObjectEdits, QuarterTurns) {
  const struct {
    const char* name;
    ObfObject before;
    std::vector<ObfPoint> points;
    int32_t width, height, formatFlags;
  } cases[] = {
      {"rectangle", Shape(overlay::kKindRectangle, {{5, 5}, {45, 25}}, 50, 30), {{5, 5}, {25, 45}}, 30, 50, 0},
      {"curve", Shape(overlay::kKindCurve, {{128, 130}, {200, 140}}, 300, 270), {{140, 128}, {130, 200}}, 270, 300, 0},
      {"arrow reverses", Shape(overlay::kKindArrow, {{5, 5}, {45, 25}}, 50, 30), {{45, 25}, {5, 5}}, 50, 30, 0},
      {"text turns vertical", [] {
         ObfObject text;
         text.kind = overlay::kKindText;
         text.text = "Hi";
         text.width = 40;
         text.height = 20;
         return text;
       }(),
       {}, 20, 40, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ObfObject turned = c.before;
    RotateObject(&turned);
    EXPECT_EQ(turned.points, c.points);
    EXPECT_EQ(turned.width, c.width);
    EXPECT_EQ(turned.height, c.height);
    EXPECT_EQ(turned.formatFlags, c.formatFlags);
    EXPECT_EQ(turned.x, c.before.x);
    EXPECT_EQ(turned.y, c.before.y);
  }
  // Two turns of a curve are half a turn about the top-left corner.
  ObfObject curve = Shape(overlay::kKindCurve, {{128, 130}, {200, 140}}, 300, 270);
  RotateObject(&curve);
  RotateObject(&curve);
  EXPECT_EQ(curve.points, (std::vector<ObfPoint>{{300 - 128, 270 - 130}, {300 - 200, 270 - 140}}));
  EXPECT_EQ(curve.width, 300);
  EXPECT_EQ(curve.height, 270);
  // Two turns of text are upright again.
  ObfObject text;
  text.kind = overlay::kKindText;
  RotateObject(&text);
  RotateObject(&text);
  EXPECT_EQ(text.formatFlags, 0);
}

TEST(ObjectEdits, MirroredCopies) {
  ObfObject arrow = Shape(overlay::kKindArrow, {{5, 6}, {45, 25}}, 50, 30);
  ObfObject down = arrow, across = arrow;
  MirrorPoints(&down, true);
  MirrorPoints(&across, false);
  EXPECT_EQ(down.points, (std::vector<ObfPoint>{{5, 23}, {45, 4}}));
  EXPECT_EQ(across.points, (std::vector<ObfPoint>{{44, 6}, {4, 25}}));
}

TEST(ObjectEdits, NewMarginKeepsTheShapeInPlace) {
  // Pen 4, no shadow: margin 6.  Pen 12 with shadow 2: margin 18.
  ObfObject old = Shape(overlay::kKindRectangle, {{6, 6}, {106, 56}}, 112, 62);
  old.size = 4;
  ObfObject changed = old;
  changed.size = 12;
  changed.shadow = 2;
  changed.colour = 0xFF00FF00;
  const ObfObject result = Remargined(old, changed);
  EXPECT_EQ(result.x, 50 - 12);
  EXPECT_EQ(result.y, 60 - 12);
  EXPECT_EQ(result.width, 112 + 24);
  EXPECT_EQ(result.height, 62 + 24);
  EXPECT_EQ(result.points, (std::vector<ObfPoint>{{18, 18}, {118, 68}}));
  EXPECT_EQ(result.colour, 0xFF00FF00u);
  // The shape's corners stay where they were on the canvas.
  EXPECT_EQ(result.x + result.points[0].x, old.x + old.points[0].x);
  EXPECT_EQ(result.y + result.points[1].y, old.y + old.points[1].y);
}

TEST(ObjectEdits, StatusAndListTexts) {
  const std::string tools = "New &text|New &ellipse|New &rectangle|New c&urve|New &arrow|New &polyline|-";
  EXPECT_EQ(KindName(tools, 1), "New &text");
  EXPECT_EQ(KindName(tools, 5), "New &arrow");
  EXPECT_EQ(KindName(tools, 9), "");
  ObfObject text;
  text.kind = overlay::kKindText;
  text.text = "  Hi|there, world";
  EXPECT_EQ(TextSnippet(text.text), "Hi|the");
  EXPECT_EQ(HoverStatus("Object002", "Text", text, "locked,free"), "Object002 Text (Hi|the) free");
  text.flag = 1;
  EXPECT_EQ(HoverStatus("Object002", "Text", text, "locked,free"), "Object002 Text (Hi|the) locked");
  ObfObject arrow = Shape(overlay::kKindArrow, {}, 1, 1);
  const std::vector<std::string> items =
      ObjectListItems("To the &top|To the &bottom|", {{"Object002", "Text", &text}, {"Object001", "Arrow", &arrow}});
  EXPECT_EQ(items, (std::vector<std::string>{"To the &top", "Object002 Text (Hi\x18the)", "Object001 Arrow",
                                             "To the &bottom"}));
}

TEST(ObjectEdits, ItemsOfEachKind) {
  const struct {
    uint16_t kind;
    bool styles, openStyle, mirrors;
  } cases[] = {
      {overlay::kKindText, false, false, false},     {overlay::kKindEllipse, true, false, false},
      {overlay::kKindRectangle, true, false, false}, {overlay::kKindCurve, true, true, true},
      {overlay::kKindArrow, false, false, true},     {overlay::kKindPolyline, true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    const PopupItemStates got = ItemStatesFor(c.kind);
    EXPECT_EQ(got.styles, c.styles);
    EXPECT_EQ(got.openStyle, c.openStyle);
    EXPECT_EQ(got.mirrors, c.mirrors);
  }
}

TEST(ObjectEdits, ZOrderMoves) {
  // Three objects listed top-most first: ids 1301 top, 1302-1304 the
  // objects, 1305 bottom.
  const struct {
    const char* name;
    int32_t id;
    size_t self;
    ZMove move;
    size_t target;
  } cases[] = {
      {"top of the top-most", 1301, 0, ZMove::kNone, 0},
      {"middle to the top", 1301, 1, ZMove::kTop, 0},
      {"below the top-most", 1302, 2, ZMove::kBelow, 0},
      {"below itself", 1303, 1, ZMove::kNone, 0},
      {"bottom-most to the bottom", 1305, 2, ZMove::kNone, 0},
      {"top to the bottom", 1305, 0, ZMove::kBottom, 2},
      {"another popup's id", 1205, 0, ZMove::kNone, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ZOrderChoice got = ZOrderFor(c.id, 3, c.self);
    EXPECT_EQ(got.move, c.move);
    if (c.move != ZMove::kNone) {
      EXPECT_EQ(got.target, c.target);
    }
  }
}

}  // namespace
}  // namespace paint
