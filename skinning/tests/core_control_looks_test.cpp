// The skinned controls' look: shades, border rings, glyph frames, glyph and
// group-box geometry.
#include <gtest/gtest.h>

#include <string>

#include "core/control_looks.h"

namespace skinning {
namespace {

constexpr Colour Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

TEST(ControlLooks, Shades) {
  const struct {
    const char* name;
    Colour colour;
    Shades want;
  } cases[] = {
      {"grey", Rgb(100, 100, 100), {Rgb(125, 125, 125), Rgb(112, 112, 112), Rgb(75, 75, 75), Rgb(50, 50, 50)}},
      {"white stays white", Rgb(255, 255, 255),
       {Rgb(255, 255, 255), Rgb(255, 255, 255), Rgb(191, 191, 191), Rgb(127, 127, 127)}},
      {"channels apart", Rgb(240, 8, 0), {Rgb(255, 10, 0), Rgb(247, 9, 0), Rgb(180, 6, 0), Rgb(120, 4, 0)}},
      {"black", 0, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Shades got = ShadesOf(c.colour);
    EXPECT_EQ(c.want.lighter, got.lighter);
    EXPECT_EQ(c.want.middle, got.middle);
    EXPECT_EQ(c.want.darker, got.darker);
    EXPECT_EQ(c.want.darkest, got.darkest);
  }
}

TEST(ControlLooks, BorderRings) {
  const Colour a = Rgb(10, 20, 30);
  const Colour b = Rgb(200, 100, 40);
  const Colour bDark = Rgb(150, 75, 30);
  const struct {
    const char* name;
    uint32_t style;
    uint32_t exStyle;
    std::vector<BorderRing> want;
  } cases[] = {
      {"none", 0, 0, {}},
      {"border", 0x00800000, 0, {{a, a}}},
      {"dialog frame", 0x00400000, 0, {{bDark, 0}, {b, a}, {b, a}}},
      {"static edge", 0, 0x00020000, {{b, a}}},
      {"client edge", 0, 0x00000200, {{b, a}, {0, b}}},
      {"border and client edge", 0x00800000, 0x00000200, {{a, a}, {b, a}, {0, b}}},
      {"all", 0x00C00000, 0x00020200, {{a, a}, {bDark, 0}, {b, a}, {b, a}, {b, a}, {b, a}, {0, b}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<BorderRing> got = BorderRings(c.style, c.exStyle, a, b);
    ASSERT_EQ(c.want.size(), got.size());
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(c.want[i].topLeft, got[i].topLeft) << "ring " << i;
      EXPECT_EQ(c.want[i].bottomRight, got[i].bottomRight) << "ring " << i;
    }
  }
}

TEST(ControlLooks, GlyphFrames) {
  const struct {
    const char* name;
    int32_t got;
    int32_t want;
  } cases[] = {
      {"unchecked", GlyphFrameOfCheck(0), 0},
      {"checked", GlyphFrameOfCheck(1), 1},
      {"indeterminate", GlyphFrameOfCheck(2), 3},
      {"checked and focused bits", GlyphFrameOfCheck(1 | 8), 1},
      {"set unchecked", GlyphFrameOfSetCheck(0), 0},
      {"set checked", GlyphFrameOfSetCheck(1), 1},
      {"set indeterminate", GlyphFrameOfSetCheck(2), 3},
      {"set pushed", GlyphFrameOfSetCheck(4), 2},
      {"held", GlyphFrameOfSetState(true, 1), 2},
      {"released unchecked", GlyphFrameOfSetState(false, 0), 0},
      {"released checked", GlyphFrameOfSetState(false, 1), 1},
      {"released indeterminate", GlyphFrameOfSetState(false, 2), 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.want, c.got);
  }
}

TEST(ControlLooks, Geometry) {
  const struct {
    const char* name;
    int32_t got;
    int32_t want;
  } cases[] = {
      {"glyph centred", GlyphTop(20, 13), 3},
      {"glyph in a low control", GlyphTop(10, 13), 0},
      {"check strip", GlyphStripWidth(20, false), 14},
      {"radio strip narrow glyph", GlyphStripWidth(13, true), 14},
      {"radio strip wide glyph", GlyphStripWidth(20, true), 20},
      {"group top", GroupFrameOf(40, 15, true).top, 7},
      {"group gap left", GroupFrameOf(40, 15, true).gapLeft, 8},
      {"group gap right", GroupFrameOf(40, 15, true).gapRight, 52},
      {"untitled group has no gap", GroupFrameOf(0, 14, false).hasGap ? 1 : 0, 0},
      {"untitled group top", GroupFrameOf(0, 14, false).top, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.want, c.got);
  }
}

}  // namespace
}  // namespace skinning
