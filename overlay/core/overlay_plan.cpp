// The overlay renderer's drawing rules; see overlay_plan.h.
#include "overlay_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/image_rules.h"
#include "obf_line.h"

namespace overlay {

namespace {

int32_t Saturated(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

struct Pass {
  bool isShadow;
  int32_t originX;
  int32_t originY;
  uint32_t argb;
};

std::vector<PointI> Absolute(const std::vector<ObfPoint>& points, int32_t originX, int32_t originY) {
  std::vector<PointI> result;
  result.reserve(points.size());
  for (const ObfPoint& p : points) {
    result.push_back({Saturated(int64_t{originX} + p.x), Saturated(int64_t{originY} + p.y)});
  }
  return result;
}

ShapeOp BaseOp(const Pass& pass, int32_t penWidth) {
  ShapeOp op;
  op.isShadow = pass.isShadow;
  op.argb = pass.argb;
  op.penWidth = static_cast<float>(penWidth);
  return op;
}

// The box of the first two points: the first is a corner, the second minus
// the first the size.  A negative size is turned into the same box with a
// positive one, which GDI+ would otherwise not fill.
bool BoxOf(const std::vector<PointI>& points, ShapeOp* op) {
  if (points.size() < 2) return false;
  const int64_t width = static_cast<int64_t>(points[1].x) - points[0].x;
  const int64_t height = static_cast<int64_t>(points[1].y) - points[0].y;
  op->left = width < 0 ? points[1].x : points[0].x;
  op->top = height < 0 ? points[1].y : points[0].y;
  op->width = Saturated(std::llabs(width));
  op->height = Saturated(std::llabs(height));
  return true;
}

Gradient RoundGradient(uint32_t argb, bool sigma) {
  Gradient g;
  g.centreArgb = argb;
  g.surroundArgb = kRoundSurroundArgb;
  g.focusScaleX = kRoundFocusScale;
  g.focusScaleY = kRoundFocusScale;
  g.sigmaBlend = sigma;
  return g;
}

// Focus scales 0.8 x width / m and 0.8 x height / m, m the larger side.
// False when the box has no size (no gradient can be centred in it).
bool RectangleGradient(const ShapeOp& box, uint32_t argb, bool sigma, Gradient* g) {
  const float m = static_cast<float>(std::max(box.width, box.height));
  if (m <= 0) return false;
  g->centreArgb = argb;
  g->surroundArgb = kRectangleSurroundArgb;
  g->focusScaleX = kRectangleFocusFactor * static_cast<float>(box.width) / m;
  g->focusScaleY = kRectangleFocusFactor * static_cast<float>(box.height) / m;
  g->sigmaBlend = sigma;
  g->gammaCorrection = true;
  return true;
}

bool IsGradientStyle(uint16_t style) { return style == kStyleGradient || style == kStyleGradientSigma; }

// The shadow pass: black with alpha 128, outlines for style 1, fills (solid)
// for the others, open forms as the main pass draws them.
bool PlanShadowOp(uint16_t kind, uint16_t style, const std::vector<PointI>& points, ShapeOp* op,
                  float curveTension) {
  switch (kind) {
    case kKindEllipse:
    case kKindRectangle:
      op->form = kind == kKindEllipse ? ShapeForm::kEllipse : ShapeForm::kRectangle;
      op->paint = style == kStyleOutline ? Paint::kOutline : Paint::kSolid;
      return BoxOf(points, op);
    case kKindCurve:
      op->tension = curveTension;
      op->form = style == kStyleOpen ? ShapeForm::kOpenCurve : ShapeForm::kClosedCurve;
      op->paint = style == kStyleOpen || style == kStyleOutline ? Paint::kOutline : Paint::kSolid;
      break;
    case kKindArrow:
      op->form = ShapeForm::kOpenCurve;
      op->paint = Paint::kOutline;
      op->tension = kArrowTension;
      op->arrowEndCap = true;
      break;
    case kKindPolyline:
      op->form = style == kStyleOpen ? ShapeForm::kLines : ShapeForm::kPolygon;
      op->paint = style == kStyleOpen || style == kStyleOutline ? Paint::kOutline : Paint::kSolid;
      break;
    default:
      return false;
  }
  op->points = points;
  return true;
}

// The main pass, by kind and style.
bool PlanMainOp(uint16_t kind, uint16_t style, const std::vector<PointI>& points, ShapeOp* op,
                float curveTension) {
  const bool gradient = IsGradientStyle(style);
  const bool sigma = style == kStyleGradientSigma;
  switch (kind) {
    case kKindEllipse:
    case kKindRectangle: {
      if (style != kStyleOutline && style != kStyleSolid && !gradient) return false;
      op->form = kind == kKindEllipse ? ShapeForm::kEllipse : ShapeForm::kRectangle;
      if (!BoxOf(points, op)) return false;
      op->paint = style == kStyleOutline ? Paint::kOutline : gradient ? Paint::kGradient : Paint::kSolid;
      if (!gradient) return true;
      if (kind == kKindEllipse) {
        op->gradient = RoundGradient(op->argb, sigma);
        return true;
      }
      return RectangleGradient(*op, op->argb, sigma, &op->gradient);
    }
    case kKindCurve:
    case kKindPolyline: {
      if (style < kStyleOutline || style > kStyleOpen) return false;
      op->tension = kind == kKindCurve ? curveTension : 0;
      if (style == kStyleOpen) {
        op->form = kind == kKindCurve ? ShapeForm::kOpenCurve : ShapeForm::kLines;
        op->paint = Paint::kOutline;
      } else {
        op->form = kind == kKindCurve ? ShapeForm::kClosedCurve : ShapeForm::kPolygon;
        op->paint = style == kStyleOutline ? Paint::kOutline : gradient ? Paint::kGradient : Paint::kSolid;
        if (gradient) op->gradient = RoundGradient(op->argb, sigma);
      }
      break;
    }
    case kKindArrow:
      op->form = ShapeForm::kOpenCurve;
      op->paint = Paint::kOutline;
      op->tension = kArrowTension;
      op->arrowEndCap = true;
      break;
    default:
      return false;
  }
  op->points = points;
  return true;
}

}  // namespace

PointI ShadowOffset(int32_t shadow) { return {shadow, suite::ShadowDown(shadow)}; }

std::vector<ShapeOp> PlanShape(int32_t x, int32_t y, const std::vector<ObfPoint>& points,
                               uint32_t argb, int32_t shadow, int32_t penWidth, uint32_t word,
                               float curveTension) {
  std::vector<ShapeOp> ops;
  if (points.empty()) return ops;
  const uint16_t kind = static_cast<uint16_t>(word & 0xFFFF);
  const uint16_t style = static_cast<uint16_t>(word >> 16);
  if (shadow != 0) {
    const PointI offset = ShadowOffset(shadow);
    const Pass pass{true, Saturated(int64_t{x} + offset.x), Saturated(int64_t{y} + offset.y),
                    kShadowArgb};
    ShapeOp op = BaseOp(pass, penWidth);
    if (PlanShadowOp(kind, style, Absolute(points, pass.originX, pass.originY), &op, curveTension)) {
      ops.push_back(std::move(op));
    }
  }
  const Pass pass{false, x, y, argb};
  ShapeOp op = BaseOp(pass, penWidth);
  if (PlanMainOp(kind, style, Absolute(points, x, y), &op, curveTension)) ops.push_back(std::move(op));
  return ops;
}

TextPlan PlanText(int32_t x, int32_t y, int32_t width, int32_t height, int32_t shadow,
                  int32_t formatFlags) {
  TextPlan plan;
  plan.usesFormat = formatFlags != 0;
  if (shadow != 0) {
    const PointI offset = ShadowOffset(shadow);
    plan.hasShadow = true;
    plan.shadow = {static_cast<float>(x) + static_cast<float>(offset.x),
                   static_cast<float>(y) + static_cast<float>(offset.y), 0, 0};
  }
  plan.main = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
               static_cast<float>(height)};
  return plan;
}

TextBoxSize MeasuredTextBox(float measuredWidth, float measuredHeight, int32_t formatFlags) {
  const bool flagged = formatFlags != 0;
  const double width = static_cast<double>(measuredWidth) + (flagged ? 1.5 : 0.5);
  const double height = static_cast<double>(measuredHeight) + (flagged ? 0.5 : 1.5);
  auto round = [](double v) {
    if (!(v > -2e9 && v < 2e9)) return 0;
    return static_cast<int32_t>(std::nearbyint(v));
  };
  return {round(width), round(height)};
}

OverlayAction ActionFor(const ObfObject& object) {
  if (object.shown == 0) return OverlayAction::kSkip;
  if (object.kind == kKindText) {
    return TrimObfText(object.text).empty() ? OverlayAction::kSkip : OverlayAction::kDrawText;
  }
  if (object.kind >= kKindEllipse && object.kind <= kKindPolyline) return OverlayAction::kDrawShape;
  return OverlayAction::kSkip;
}

}  // namespace overlay
