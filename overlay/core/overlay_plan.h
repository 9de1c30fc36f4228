// What the overlay renderer draws for an object, as plain values: the
// decision per object (text, shape or nothing), the shadow and main passes
// of a shape as a list of drawing operations, the layout rectangles of a
// text and the size of a measured text box.  overlay/overlay_draw.cpp runs
// the operations with GDI+; nothing here knows GDI+.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/image_rules.h"
#include "obf_types.h"

namespace overlay {

// The renderer's tension for curves.  The media browser and the picture
// browser draw with the older value, GDI+'s default.
constexpr float kCurveTension = 0.33f;
constexpr float kOlderCurveTension = 0.5f;
// Arrows are always open curves of GDI+'s default tension.
constexpr float kArrowTension = 0.5f;

constexpr uint32_t kShadowArgb = suite::kShadowArgb;       // black, alpha 128
constexpr uint32_t kRoundSurroundArgb = 0x105C5C64u;     // ellipses, curves, polylines
constexpr uint32_t kRectangleSurroundArgb = 0x20000000u; // rectangles
constexpr float kRoundFocusScale = 0.1f;
constexpr float kRectangleFocusFactor = 0.8f;
constexpr float kSigmaFocus = 0.15f;
constexpr float kSigmaScale = 0.9f;
constexpr int32_t kOverlayTextHint = 4;        // TextRenderingHintAntiAlias
constexpr int32_t kShapeCompositingQuality = 3;  // CompositingQualityGammaCorrected
constexpr int32_t kShapeSmoothingMode = 4;       // SmoothingModeAntiAlias

enum class ShapeForm {
  kEllipse,      // the box (left, top, width, height)
  kRectangle,    // the box
  kClosedCurve,  // the points, with tension
  kOpenCurve,    // the points, with tension
  kPolygon,      // the points
  kLines,        // the points, connected
};

enum class Paint {
  kOutline,   // a pen of the colour and width
  kSolid,     // a solid brush of the colour
  kGradient,  // a path-gradient brush, see Gradient
};

struct Gradient {
  uint32_t centreArgb = 0;
  uint32_t surroundArgb = 0;
  float focusScaleX = 0;
  float focusScaleY = 0;
  bool sigmaBlend = false;  // focus kSigmaFocus, scale kSigmaScale
  bool gammaCorrection = false;
  bool operator==(const Gradient&) const = default;
};

struct PointI {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const PointI&) const = default;
};

// One drawing call.  Absolute picture coordinates.
struct ShapeOp {
  bool isShadow = false;
  ShapeForm form = ShapeForm::kPolygon;
  Paint paint = Paint::kOutline;
  uint32_t argb = 0;
  float penWidth = 0;
  bool arrowEndCap = false;  // LineCapArrowAnchor at the end of the pen
  float tension = 0;         // curves
  // kEllipse and kRectangle: the box, width and height not negative.
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<PointI> points;  // the other forms
  Gradient gradient;           // Paint::kGradient
  bool operator==(const ShapeOp&) const = default;
};

// The operations for one shape object, shadow first.  `points` are relative
// to (x, y); `word` is kind | style << 16.  Empty when nothing is drawn (no
// points, an unknown kind or style, an ellipse or rectangle with fewer than
// two points or of no size to fill with a gradient).
std::vector<ShapeOp> PlanShape(int32_t x, int32_t y, const std::vector<ObfPoint>& points,
                               uint32_t argb, int32_t shadow, int32_t penWidth, uint32_t word,
                               float curveTension);

// The shadow offset (d, |d|); |d| is capped for the smallest 32-bit value.
PointI ShadowOffset(int32_t shadow);

struct TextLayout {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  bool operator==(const TextLayout&) const = default;
};

struct TextPlan {
  bool hasShadow = false;
  TextLayout shadow;  // at (x + d, y + |d|), width and height 0: no wrapping, no clipping
  TextLayout main;    // (x, y, width, height)
  bool usesFormat = false;  // a string format with the flags, only when they are not 0
};
TextPlan PlanText(int32_t x, int32_t y, int32_t width, int32_t height, int32_t shadow,
                  int32_t formatFlags);

struct TextBoxSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const TextBoxSize&) const = default;
};
// The box of a text measured by GDI+: width + 0.5 and height + 1.5 without
// format flags, width + 1.5 and height + 0.5 with them, rounded to the
// nearest integer (halves to even).
TextBoxSize MeasuredTextBox(float measuredWidth, float measuredHeight, int32_t formatFlags);

enum class OverlayAction { kSkip, kDrawText, kDrawShape };
// What the loader does with an object: hidden objects, unknown kinds and
// texts that are empty once blanks and zero bytes are cut are skipped.  (A
// text whose font family does not exist here is still drawn, in a stand-in
// family.)
OverlayAction ActionFor(const ObfObject& object);

}  // namespace overlay
