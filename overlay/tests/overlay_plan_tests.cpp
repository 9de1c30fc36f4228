// The overlay renderer's drawing rules as operation lists: which form, paint,
// colour, tension and gradient each kind and style gets, the shadow pass,
// the text layout and the measured text box.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/obf_line.h"
#include "core/overlay_plan.h"

using overlay::Paint;
using overlay::ShapeForm;
using overlay::ShapeOp;

namespace {

uint32_t Word(uint16_t kind, uint16_t style) { return kind | (static_cast<uint32_t>(style) << 16); }

const std::vector<overlay::ObfPoint> kTwo = {{0, 0}, {200, 100}};
const std::vector<overlay::ObfPoint> kThree = {{0, 0}, {20, 40}, {40, 0}};

TEST(PlanShape, MainPassByKindAndStyle) {
  struct Case {
    const char* name;
    uint16_t kind;
    uint16_t style;
    bool drawn;
    ShapeForm form;
    Paint paint;
    float tension;
    bool arrowCap;
  };
  const Case cases[] = {
      {"ellipse outline", 2, 1, true, ShapeForm::kEllipse, Paint::kOutline, 0, false},
      {"ellipse solid", 2, 2, true, ShapeForm::kEllipse, Paint::kSolid, 0, false},
      {"ellipse gradient", 2, 3, true, ShapeForm::kEllipse, Paint::kGradient, 0, false},
      {"ellipse sigma", 2, 4, true, ShapeForm::kEllipse, Paint::kGradient, 0, false},
      {"ellipse open draws nothing", 2, 5, false, {}, {}, 0, false},
      {"rectangle outline", 3, 1, true, ShapeForm::kRectangle, Paint::kOutline, 0, false},
      {"rectangle solid", 3, 2, true, ShapeForm::kRectangle, Paint::kSolid, 0, false},
      {"rectangle style 9 draws nothing", 3, 9, false, {}, {}, 0, false},
      {"curve closed outline", 4, 1, true, ShapeForm::kClosedCurve, Paint::kOutline, 0.33f, false},
      {"curve solid", 4, 2, true, ShapeForm::kClosedCurve, Paint::kSolid, 0.33f, false},
      {"curve gradient", 4, 3, true, ShapeForm::kClosedCurve, Paint::kGradient, 0.33f, false},
      {"curve open", 4, 5, true, ShapeForm::kOpenCurve, Paint::kOutline, 0.33f, false},
      {"curve style 0 draws nothing", 4, 0, false, {}, {}, 0, false},
      {"arrow style 1", 5, 1, true, ShapeForm::kOpenCurve, Paint::kOutline, 0.5f, true},
      {"arrow style 2 is not filled", 5, 2, true, ShapeForm::kOpenCurve, Paint::kOutline, 0.5f, true},
      {"arrow any style", 5, 77, true, ShapeForm::kOpenCurve, Paint::kOutline, 0.5f, true},
      {"polygon outline", 6, 1, true, ShapeForm::kPolygon, Paint::kOutline, 0, false},
      {"polygon solid", 6, 2, true, ShapeForm::kPolygon, Paint::kSolid, 0, false},
      {"polygon sigma", 6, 4, true, ShapeForm::kPolygon, Paint::kGradient, 0, false},
      {"polyline open", 6, 5, true, ShapeForm::kLines, Paint::kOutline, 0, false},
      {"kind 7 draws nothing", 7, 1, false, {}, {}, 0, false},
      {"text kind draws no shape", 1, 1, false, {}, {}, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto ops = overlay::PlanShape(10, 20, c.kind <= 3 ? kTwo : kThree, 0xFF112233u,
                                        0, 3, Word(c.kind, c.style), overlay::kCurveTension);
    if (!c.drawn) {
      EXPECT_TRUE(ops.empty());
      continue;
    }
    ASSERT_EQ(ops.size(), 1u);
    const ShapeOp& op = ops[0];
    EXPECT_FALSE(op.isShadow);
    EXPECT_EQ(op.form, c.form);
    EXPECT_EQ(op.paint, c.paint);
    EXPECT_FLOAT_EQ(op.tension, c.tension);
    EXPECT_EQ(op.arrowEndCap, c.arrowCap);
    EXPECT_EQ(op.argb, 0xFF112233u);
    EXPECT_FLOAT_EQ(op.penWidth, 3.0f);
  }
}

TEST(PlanShape, PointsAreMovedToTheObjectAndTheShadow) {
  // An ellipse with d = -4: the shadow first, 4 left and 4 down, black alpha 128.
  const auto ops = overlay::PlanShape(50, 60, {{0, 0}, {30, 20}}, 0xFF00FF00u, -4, 2,
                                      Word(overlay::kKindEllipse, overlay::kStyleSolid),
                                      overlay::kCurveTension);
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_TRUE(ops[0].isShadow);
  EXPECT_EQ(ops[0].argb, 0x80000000u);
  EXPECT_EQ(ops[0].paint, Paint::kSolid);
  EXPECT_EQ((std::vector<int32_t>{ops[0].left, ops[0].top, ops[0].width, ops[0].height}),
            (std::vector<int32_t>{46, 64, 30, 20}));
  EXPECT_FALSE(ops[1].isShadow);
  EXPECT_EQ((std::vector<int32_t>{ops[1].left, ops[1].top, ops[1].width, ops[1].height}),
            (std::vector<int32_t>{50, 60, 30, 20}));

  const auto curve = overlay::PlanShape(5, 5, kThree, 0xFF000000u, 3, 1,
                                        Word(overlay::kKindCurve, overlay::kStyleOpen), 0.5f);
  ASSERT_EQ(curve.size(), 2u);
  EXPECT_EQ(curve[0].points, (std::vector<overlay::PointI>{{8, 8}, {28, 48}, {48, 8}}));
  EXPECT_EQ(curve[1].points, (std::vector<overlay::PointI>{{5, 5}, {25, 45}, {45, 5}}));
  EXPECT_FLOAT_EQ(curve[0].tension, 0.5f);  // the older renderer's tension reaches both passes
  EXPECT_FLOAT_EQ(curve[1].tension, 0.5f);
}

TEST(PlanShape, ShadowPassOutlinesStyleOneAndFillsTheRest) {
  struct Case { const char* name; uint16_t kind; uint16_t style; ShapeForm form; Paint paint; };
  const Case cases[] = {
      {"rectangle outline", 3, 1, ShapeForm::kRectangle, Paint::kOutline},
      {"rectangle gradient shadow is solid", 3, 3, ShapeForm::kRectangle, Paint::kSolid},
      {"curve closed outline", 4, 1, ShapeForm::kClosedCurve, Paint::kOutline},
      {"curve filled", 4, 4, ShapeForm::kClosedCurve, Paint::kSolid},
      {"curve open", 4, 5, ShapeForm::kOpenCurve, Paint::kOutline},
      {"arrow", 5, 2, ShapeForm::kOpenCurve, Paint::kOutline},
      {"polygon filled", 6, 3, ShapeForm::kPolygon, Paint::kSolid},
      {"polyline open", 6, 5, ShapeForm::kLines, Paint::kOutline},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto ops = overlay::PlanShape(0, 0, c.kind <= 3 ? kTwo : kThree, 0xFFFFFFFFu, 2, 1,
                                        Word(c.kind, c.style), overlay::kCurveTension);
    ASSERT_GE(ops.size(), 1u);
    EXPECT_TRUE(ops[0].isShadow);
    EXPECT_EQ(ops[0].form, c.form);
    EXPECT_EQ(ops[0].paint, c.paint);
    EXPECT_EQ(ops[0].argb, overlay::kShadowArgb);
    EXPECT_EQ(ops[0].arrowEndCap, c.kind == 5);
  }
}

TEST(PlanShape, Gradients) {
  // A style-3 rectangle 200 x 100: focus scales 0.8 and 0.4, gamma on.
  const auto rect = overlay::PlanShape(0, 0, kTwo, 0xFF0000FFu, 0, 1, Word(3, 3), overlay::kCurveTension);
  ASSERT_EQ(rect.size(), 1u);
  EXPECT_EQ(rect[0].gradient.centreArgb, 0xFF0000FFu);
  EXPECT_EQ(rect[0].gradient.surroundArgb, 0x20000000u);
  EXPECT_FLOAT_EQ(rect[0].gradient.focusScaleX, 0.8f);
  EXPECT_FLOAT_EQ(rect[0].gradient.focusScaleY, 0.4f);
  EXPECT_TRUE(rect[0].gradient.gammaCorrection);
  EXPECT_FALSE(rect[0].gradient.sigmaBlend);

  // Drawn up and to the left: the same box, the same scales.
  const auto flipped = overlay::PlanShape(0, 0, {{200, 100}, {0, 0}}, 0xFF0000FFu, 0, 1, Word(3, 3),
                                          overlay::kCurveTension);
  ASSERT_EQ(flipped.size(), 1u);
  EXPECT_EQ((std::vector<int32_t>{flipped[0].left, flipped[0].top, flipped[0].width, flipped[0].height}),
            (std::vector<int32_t>{0, 0, 200, 100}));
  EXPECT_FLOAT_EQ(flipped[0].gradient.focusScaleY, 0.4f);

  // No size: no division by zero, nothing to fill.
  EXPECT_TRUE(overlay::PlanShape(0, 0, {{5, 5}, {5, 5}}, 1, 0, 1, Word(3, 4), 0.33f).empty());

  const auto ellipse = overlay::PlanShape(0, 0, kTwo, 0xFF0000FFu, 0, 1, Word(2, 4), 0.33f);
  ASSERT_EQ(ellipse.size(), 1u);
  EXPECT_EQ(ellipse[0].gradient.surroundArgb, 0x105C5C64u);
  EXPECT_FLOAT_EQ(ellipse[0].gradient.focusScaleX, 0.1f);
  EXPECT_FLOAT_EQ(ellipse[0].gradient.focusScaleY, 0.1f);
  EXPECT_TRUE(ellipse[0].gradient.sigmaBlend);
  EXPECT_FALSE(ellipse[0].gradient.gammaCorrection);
}

TEST(PlanShape, NothingWithoutPoints) {
  EXPECT_TRUE(overlay::PlanShape(0, 0, {}, 1, 3, 1, Word(6, 1), 0.33f).empty());
  EXPECT_TRUE(overlay::PlanShape(0, 0, {{1, 1}}, 1, 3, 1, Word(2, 2), 0.33f).empty());  // one point
  EXPECT_EQ(overlay::PlanShape(0, 0, {{1, 1}}, 1, 3, 1, Word(6, 5), 0.33f).size(), 2u);
  // Extreme positions saturate instead of overflowing.
  const auto far = overlay::PlanShape(INT32_MAX, INT32_MIN, {{32767, -32768}}, 1, INT32_MIN, 1,
                                      Word(6, 5), 0.33f);
  ASSERT_EQ(far.size(), 2u);
  EXPECT_EQ(far[1].points[0], (overlay::PointI{INT32_MAX, INT32_MIN}));
}

TEST(PlanText, ShadowLayoutHasNoSize) {
  const overlay::TextPlan plain = overlay::PlanText(10, 20, 80, 30, 0, 0);
  EXPECT_FALSE(plain.hasShadow);
  EXPECT_FALSE(plain.usesFormat);
  EXPECT_EQ(plain.main, (overlay::TextLayout{10, 20, 80, 30}));

  const overlay::TextPlan shadowed = overlay::PlanText(10, 20, 80, 30, -3, 2);
  EXPECT_TRUE(shadowed.hasShadow);
  EXPECT_TRUE(shadowed.usesFormat);
  EXPECT_EQ(shadowed.shadow, (overlay::TextLayout{7, 23, 0, 0}));
  EXPECT_EQ(shadowed.main, (overlay::TextLayout{10, 20, 80, 30}));
}

TEST(MeasuredTextBox, PaddingAndRounding) {
  struct Case { const char* name; float w; float h; int32_t flags; int32_t width; int32_t height; };
  const Case cases[] = {
      {"no flags", 40.2f, 18.0f, 0, 41, 20},
      {"flags", 40.2f, 18.0f, 2, 42, 18},
      {"half rounds to even", 40.0f, 19.0f, 0, 40, 20},
      {"half rounds to even up", 41.0f, 17.0f, 0, 42, 18},
      {"not a number", __builtin_nanf(""), 1.0f, 0, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(overlay::MeasuredTextBox(c.w, c.h, c.flags), (overlay::TextBoxSize{c.width, c.height}));
  }
}

TEST(ActionFor, SkipsHiddenUnknownAndEmpty) {
  struct Case { const char* name; const char* line; overlay::OverlayAction action; };
  const Case cases[] = {
      {"text", "1|1|2|hi||Arial|12|0|-1|0|0|0|0|0|1|1|0|", overlay::OverlayAction::kDrawText},
      {"hidden text", "1|1|2|hi||Arial|12|0|-1|0|0|0|0|0|0|1|0|", overlay::OverlayAction::kSkip},
      {"text with count 0", "1|1|0|||Arial|12|0|-1|0|0|0|0|0|1|1|0|", overlay::OverlayAction::kSkip},
      {"text of blanks", "1|1|3|   ||Arial|12|0|-1|0|0|0|0|0|1|1|0|", overlay::OverlayAction::kSkip},
      {"ellipse", "2|2|2|0,0,5,5|||1|0|-1|0|0|0|5|5|1|2|0|", overlay::OverlayAction::kDrawShape},
      {"hidden polyline", "6|1|2|0,0,5,5|||1|0|-1|0|0|0|5|5|0|2|0|", overlay::OverlayAction::kSkip},
      {"kind 0", "0|1|2|0,0,5,5|||1|0|-1|0|0|0|5|5|1|2|0|", overlay::OverlayAction::kSkip},
      {"kind 9", "9|1|2|0,0,5,5|||1|0|-1|0|0|0|5|5|1|2|0|", overlay::OverlayAction::kSkip},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(overlay::ActionFor(overlay::DecodeObfLine(c.line)), c.action);
  }
}

}  // namespace
