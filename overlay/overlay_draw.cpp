// The overlay renderer's GDI+ side: it runs the operation lists of
// core/overlay_plan.h and measures texts.  Each call makes and deletes its
// own Graphics, pens, brushes, paths and fonts; nothing is cached.
#include "overlay_draw.h"

#include <algorithm>
#include <vector>

#include "core/obf_line.h"
#include "font_family.h"
#include "gdiplus_objects.h"
#include "image_functions.h"
#include "obf_file.h"

namespace overlay {

namespace {

using suite::Gdiplus;

constexpr int32_t kGdiplusInvalidParameterStatus = suite::kGdiplusInvalidParameter;
constexpr int32_t kGdiplusNotInitializedStatus = 18;  // GDI+'s GdiplusNotInitialized

std::vector<Gdiplus::Point> GdiplusPoints(const std::vector<PointI>& points) {
  std::vector<Gdiplus::Point> result;
  result.reserve(points.size());
  for (const PointI& p : points) result.emplace_back(p.x, p.y);
  return result;
}

int32_t Outline(Gdiplus::GpGraphics* graphics, const ShapeOp& op) {
  const suite::GdiplusApi& api = *Gdiplus();
  suite::PenOwner pen;
  if (const int32_t status = api.GdipCreatePen1(op.argb, op.penWidth, Gdiplus::UnitPixel, pen.out())) {
    return status;
  }
  if (op.arrowEndCap) api.GdipSetPenEndCap(pen.get(), Gdiplus::LineCapArrowAnchor);
  const std::vector<Gdiplus::Point> points = GdiplusPoints(op.points);
  const INT count = static_cast<INT>(points.size());
  switch (op.form) {
    case ShapeForm::kEllipse:
      return api.GdipDrawEllipseI(graphics, pen.get(), op.left, op.top, op.width, op.height);
    case ShapeForm::kRectangle:
      return api.GdipDrawRectangleI(graphics, pen.get(), op.left, op.top, op.width, op.height);
    case ShapeForm::kClosedCurve:
      return api.GdipDrawClosedCurve2I(graphics, pen.get(), points.data(), count, op.tension);
    case ShapeForm::kOpenCurve:
      return api.GdipDrawCurve2I(graphics, pen.get(), points.data(), count, op.tension);
    case ShapeForm::kPolygon:
      return api.GdipDrawPolygonI(graphics, pen.get(), points.data(), count);
    case ShapeForm::kLines:
      return api.GdipDrawLinesI(graphics, pen.get(), points.data(), count);
  }
  return kGdiplusInvalidParameterStatus;
}

int32_t Fill(Gdiplus::GpGraphics* graphics, Gdiplus::GpBrush* brush, const ShapeOp& op) {
  const suite::GdiplusApi& api = *Gdiplus();
  const std::vector<Gdiplus::Point> points = GdiplusPoints(op.points);
  const INT count = static_cast<INT>(points.size());
  switch (op.form) {
    case ShapeForm::kEllipse:
      return api.GdipFillEllipseI(graphics, brush, op.left, op.top, op.width, op.height);
    case ShapeForm::kRectangle:
      return api.GdipFillRectangleI(graphics, brush, op.left, op.top, op.width, op.height);
    case ShapeForm::kClosedCurve:
      return api.GdipFillClosedCurve2I(graphics, brush, points.data(), count, op.tension,
                                       Gdiplus::FillModeAlternate);
    case ShapeForm::kPolygon:
      return api.GdipFillPolygonI(graphics, brush, points.data(), count, Gdiplus::FillModeAlternate);
    case ShapeForm::kOpenCurve:
    case ShapeForm::kLines:
      break;
  }
  return kGdiplusInvalidParameterStatus;
}

int32_t Solid(Gdiplus::GpGraphics* graphics, const ShapeOp& op) {
  suite::SolidFillOwner brush;
  if (const int32_t status = Gdiplus()->GdipCreateSolidFill(op.argb, brush.out())) return status;
  return Fill(graphics, brush.get(), op);
}

// A path-gradient brush over the shape's path: the colour at the centre, one
// surround colour, focus scales, and the sigma blend and gamma correction
// the plan asks for.  Ellipses and rectangles are painted by filling their
// box with it (rectangles on a Graphics of their own, as ImgFillRectF does).
int32_t Gradient(HDC dc, Gdiplus::GpGraphics* graphics, const ShapeOp& op) {
  const suite::GdiplusApi& api = *Gdiplus();
  suite::PathOwner path;
  if (const int32_t status = api.GdipCreatePath(Gdiplus::FillModeAlternate, path.out())) return status;
  const std::vector<Gdiplus::Point> points = GdiplusPoints(op.points);
  const INT count = static_cast<INT>(points.size());
  int32_t status = kGdiplusInvalidParameterStatus;
  switch (op.form) {
    case ShapeForm::kEllipse:
      status = api.GdipAddPathEllipseI(path.get(), op.left, op.top, op.width, op.height);
      break;
    case ShapeForm::kRectangle:
      status = api.GdipAddPathRectangleI(path.get(), op.left, op.top, op.width, op.height);
      break;
    case ShapeForm::kClosedCurve:
      status = api.GdipAddPathClosedCurve2I(path.get(), points.data(), count, op.tension);
      break;
    case ShapeForm::kPolygon:
      status = api.GdipAddPathPolygonI(path.get(), points.data(), count);
      break;
    case ShapeForm::kOpenCurve:
    case ShapeForm::kLines:
      break;
  }
  if (status != Gdiplus::Ok) return status;
  suite::PathGradientOwner brush;
  if ((status = api.GdipCreatePathGradientFromPath(path.get(), brush.out())) != Gdiplus::Ok) return status;
  api.GdipSetPathGradientCenterColor(brush.get(), op.gradient.centreArgb);
  Gdiplus::ARGB surround = op.gradient.surroundArgb;
  INT surroundCount = 1;
  api.GdipSetPathGradientSurroundColorsWithCount(brush.get(), &surround, &surroundCount);
  if (op.gradient.sigmaBlend) api.GdipSetPathGradientSigmaBlend(brush.get(), kSigmaFocus, kSigmaScale);
  api.GdipSetPathGradientFocusScales(brush.get(), op.gradient.focusScaleX, op.gradient.focusScaleY);
  if (op.gradient.gammaCorrection) api.GdipSetPathGradientGammaCorrection(brush.get(), TRUE);
  switch (op.form) {
    case ShapeForm::kEllipse:
      return api.GdipFillRectangleI(graphics, brush.get(), op.left, op.top, op.width, op.height);
    case ShapeForm::kRectangle:
      return suite::ImgFillRectF(dc, brush.get(), static_cast<float>(op.left), static_cast<float>(op.top),
                                 static_cast<float>(op.width), static_cast<float>(op.height));
    default:
      return Fill(graphics, brush.get(), op);
  }
}

int32_t RunShapeOp(HDC dc, Gdiplus::GpGraphics* graphics, const ShapeOp& op) {
  switch (op.paint) {
    case Paint::kOutline: return Outline(graphics, op);
    case Paint::kSolid: return Solid(graphics, op);
    case Paint::kGradient: return Gradient(dc, graphics, op);
  }
  return kGdiplusInvalidParameterStatus;
}

// Measures and draws one text object.  A sidecar made on another machine
// may name a family this one lacks: the text is then drawn in a stand-in
// family rather than lost from the picture.
void DrawTextObject(HDC dc, const ObfObject& object) {
  const suite::GdiplusApi& api = *Gdiplus();
  const std::string text = TrimObfText(object.text);
  suite::FontFamilyOwner fontFamily(suite::ImgFontFamilyForText(object.fontFamily, nullptr));
  if (fontFamily.get() == nullptr) return;
  suite::StringFormatOwner format;
  if (object.formatFlags != 0 && api.GdipCreateStringFormat(0, LANG_NEUTRAL, format.out()) == Gdiplus::Ok) {
    api.GdipSetStringFormatFlags(format.get(), object.formatFlags);
  }
  suite::FontOwner font;
  if (api.GdipCreateFont(fontFamily.get(), static_cast<float>(object.size), Gdiplus::FontStyleRegular,
                         Gdiplus::UnitPixel, font.out()) != Gdiplus::Ok) {
    return;
  }
  Gdiplus::RectF measured;
  {
    suite::GraphicsOwner graphics;
    if (api.GdipCreateFromHDC(dc, graphics.out()) != Gdiplus::Ok) return;
    const std::wstring wide = suite::ImgTextToWide(text);
    const Gdiplus::RectF unbounded(0, 0, 0, 0);
    api.GdipMeasureString(graphics.get(), wide.c_str(), static_cast<INT>(wide.size()), font.get(), &unbounded,
                          format.get(), &measured, nullptr, nullptr);
  }
  const TextBoxSize box = MeasuredTextBox(measured.Width, measured.Height, object.formatFlags);
  ObfDrawText(dc, text, object.x, object.y, box.width, box.height, object.colour, kOverlayTextHint,
              font.get(), object.shadow, object.formatFlags);
}

}  // namespace

int32_t ObfDrawText(HDC dc, const std::string& text, int32_t x, int32_t y, int32_t width,
                    int32_t height, uint32_t argb, int32_t renderingHint, Gdiplus::GpFont* font,
                    int32_t shadow, int32_t formatFlags) {
  if (dc == nullptr) return suite::kNoDeviceContext;
  if (Gdiplus() == nullptr) return kGdiplusNotInitializedStatus;
  const suite::GdiplusApi& api = *Gdiplus();
  const TextPlan plan = PlanText(x, y, width, height, shadow, formatFlags);
  suite::StringFormatOwner format;
  if (plan.usesFormat && api.GdipCreateStringFormat(0, LANG_NEUTRAL, format.out()) == Gdiplus::Ok) {
    api.GdipSetStringFormatFlags(format.get(), formatFlags);
  }
  suite::GraphicsOwner graphics;
  if (const int32_t status = api.GdipCreateFromHDC(dc, graphics.out())) return status;
  api.GdipSetTextRenderingHint(graphics.get(), static_cast<Gdiplus::TextRenderingHint>(renderingHint));
  // Zero-terminated, as the picture tool's record holds it.
  const std::wstring wide = suite::ImgTextToWide(text.substr(0, text.find('\0')));
  auto draw = [&](uint32_t colour, const TextLayout& layout) -> int32_t {
    suite::SolidFillOwner brush;
    if (const int32_t status = api.GdipCreateSolidFill(colour, brush.out())) return status;
    const Gdiplus::RectF rect(layout.left, layout.top, layout.width, layout.height);
    return api.GdipDrawString(graphics.get(), wide.c_str(), static_cast<INT>(wide.size()), font, &rect,
                              format.get(), brush.get());
  };
  if (plan.hasShadow) draw(kShadowArgb, plan.shadow);
  return draw(argb, plan.main);
}

int32_t ObfDrawShape(HDC dc, int32_t x, int32_t y, int32_t count, const int16_t* points,
                     uint32_t argb, int32_t shadow, int32_t penWidth, uint32_t word, float curveTension) {
  if (dc == nullptr || count <= 0 || points == nullptr) return suite::kNoDeviceContext;
  std::vector<ObfPoint> relative(static_cast<size_t>(std::min<int32_t>(count, kObfMaxPoints)));
  for (size_t i = 0; i < relative.size(); ++i) relative[i] = {points[2 * i], points[2 * i + 1]};
  const std::vector<ShapeOp> ops = PlanShape(x, y, relative, argb, shadow, penWidth, word, curveTension);
  if (ops.empty()) return suite::kNoDeviceContext;
  if (Gdiplus() == nullptr) return kGdiplusNotInitializedStatus;
  suite::GraphicsOwner graphics;
  if (const int32_t status = Gdiplus()->GdipCreateFromHDC(dc, graphics.out())) return status;
  Gdiplus()->GdipSetCompositingQuality(graphics.get(),
                                       static_cast<Gdiplus::CompositingQuality>(kShapeCompositingQuality));
  Gdiplus()->GdipSetSmoothingMode(graphics.get(), static_cast<Gdiplus::SmoothingMode>(kShapeSmoothingMode));
  int32_t status = suite::kNoDeviceContext;
  for (const ShapeOp& op : ops) status = RunShapeOp(dc, graphics.get(), op);
  return status;
}

void ObfLoadOverlay(HDC dc, const std::string& picturePath, float curveTension) {
  if (dc == nullptr || Gdiplus() == nullptr) return;
  ObfDocument document;
  if (ReadObfSidecar(picturePath, &document) != ObfStatus::kOk) return;
  for (const ObfObject& object : document.objects) {
    switch (ActionFor(object)) {
      case OverlayAction::kDrawText:
        DrawTextObject(dc, object);
        break;
      case OverlayAction::kDrawShape: {
        std::vector<int16_t> packed;
        packed.reserve(object.points.size() * 2);
        for (const ObfPoint& p : object.points) {
          packed.push_back(p.x);
          packed.push_back(p.y);
        }
        ObfDrawShape(dc, object.x, object.y, static_cast<int32_t>(object.points.size()), packed.data(),
                     object.colour, object.shadow, object.size, object.word(), curveTension);
        break;
      }
      case OverlayAction::kSkip:
        break;
    }
  }
}

}  // namespace overlay
