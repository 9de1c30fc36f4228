// The GDI+ flat functions the suite calls, found in gdiplus.dll at run time
// so that a program still starts where the DLL is missing (Windows before XP
// without the redistributable): the callers then take GDI+ as unavailable.
// The declarations come from the platform headers; only the addresses are
// looked up here.
#pragma once

#include <windows.h>
// PROPID, which the GDI+ headers use, is not in the lean windows.h.
#include <objidl.h>

#include <gdiplus.h>

namespace suite {

// Every flat function used by the image functions and the overlay renderer.
#define SUITE_GDIPLUS_FUNCTIONS(X)                                                                \
  X(GdipGetImageEncodersSize) X(GdipGetImageEncoders) X(GdipSaveImageToFile)                      \
  X(GdipCreateBitmapFromHBITMAP) X(GdipCreateBitmapFromScan0) X(GdipDisposeImage)                 \
  X(GdipLoadImageFromFile) X(GdipCloneBitmapAreaI)                                                \
  X(GdipGetImageWidth) X(GdipGetImageHeight) X(GdipGetImagePixelFormat)                           \
  X(GdipCreateFromHDC) X(GdipDeleteGraphics) X(GdipSetTextRenderingHint)                          \
  X(GdipSetCompositingQuality) X(GdipSetSmoothingMode) X(GdipDrawString) X(GdipMeasureString)     \
  X(GdipCreateSolidFill) X(GdipDeleteBrush) X(GdipFillRectangle) X(GdipFillRectangleI)            \
  X(GdipDrawImageI) X(GdipDrawImageRectI) X(GdipSetInterpolationMode)                             \
  X(GdipCreateFontFamilyFromName) X(GdipDeleteFontFamily) X(GdipCreateFont)                       \
  X(GdipDeleteFont) X(GdipCreateStringFormat) X(GdipSetStringFormatFlags)                         \
  X(GdipDeleteStringFormat) X(GdipCreatePen1) X(GdipDeletePen) X(GdipSetPenEndCap)                \
  X(GdipDrawEllipseI) X(GdipFillEllipseI) X(GdipDrawRectangleI) X(GdipDrawCurve2I)                \
  X(GdipDrawClosedCurve2I) X(GdipFillClosedCurve2I) X(GdipDrawLinesI) X(GdipDrawPolygonI)         \
  X(GdipFillPolygonI) X(GdipCreatePath) X(GdipDeletePath) X(GdipAddPathEllipseI)                  \
  X(GdipAddPathRectangleI) X(GdipAddPathClosedCurve2I) X(GdipAddPathPolygonI)                     \
  X(GdipCreatePathGradientFromPath) X(GdipSetPathGradientCenterColor)                             \
  X(GdipSetPathGradientSurroundColorsWithCount) X(GdipSetPathGradientSigmaBlend)                  \
  X(GdipSetPathGradientFocusScales) X(GdipSetPathGradientGammaCorrection)                         \
  X(GdipGetGenericFontFamilySansSerif) X(GdipCloneFontFamily) X(GdipNewInstalledFontCollection)   \
  X(GdipGetFontCollectionFamilyCount) X(GdipGetFontCollectionFamilyList)                         \
  X(GdipBitmapGetPixel)

struct GdiplusApi {
  decltype(&Gdiplus::GdiplusStartup) GdiplusStartup = nullptr;
  decltype(&Gdiplus::GdiplusShutdown) GdiplusShutdown = nullptr;
#define SUITE_GDIPLUS_MEMBER(name) decltype(&Gdiplus::DllExports::name) name = nullptr;
  SUITE_GDIPLUS_FUNCTIONS(SUITE_GDIPLUS_MEMBER)
#undef SUITE_GDIPLUS_MEMBER
};

// The functions of gdiplus.dll, loaded on the first call; null when the DLL
// is missing or lacks any of them.  The table lives as long as the process.
const GdiplusApi* Gdiplus();

// GDI+ status values the suite names.
constexpr int kGdiplusOk = 0;
constexpr int kGdiplusInvalidParameter = 2;
constexpr int kGdiplusUnknownImageFormat = 13;
// What a drawing function returns when it is given no device context.
constexpr int kNoDeviceContext = -1;

}  // namespace suite
