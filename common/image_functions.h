// The suite's image functions over the GDI+ flat API: colours, encoder
// lookup, saving by extension, DC and bitmap conversions, freeing, and a few
// drawing calls.  Each drawing call makes its own Graphics from the device
// context it is given and deletes it before returning, so callers keep
// working with plain device contexts.  Results are GDI+ statuses (0 = Ok);
// a drawing call given no device context returns -1; with gdiplus.dll
// missing they return 18 (GdiplusNotInitialized).  Start GDI+ first
// (image_startup.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/image_rules.h"
#include "gdiplus_api.h"

namespace suite {

// ARGB from an alpha and a COLORREF's red, green and blue (read through the
// skin engine).
uint32_t ImgArgbFromColor(uint8_t alpha, COLORREF colour);

// A zero-terminated UTF-16 text in the ANSI code page; "" for null or "".
std::string ImgWideToText(const wchar_t* text);

// Finds the encoder whose MIME type equals `mimeType` exactly (case
// matters) and copies its CLSID.  Its 1-based index in GDI+'s encoder list;
// 0 when none matches (*clsid untouched); -1 when GDI+ lists no encoders.
int32_t ImgFindEncoder(const std::string& mimeType, CLSID* clsid);

// Saves the image with the encoder of the path's extension (see
// ChooseSaveEncoder).  GDI+'s status; -1 for an empty path; 13
// (UnknownImageFormat) without touching any file when the path has no "."
// or an extension outside the list, or when GDI+ has no such encoder.
int32_t ImgSaveByExtension(const std::string& path, Gdiplus::GpImage* image);

// A new bitmap compatible with the DC holding a copy of (x, y, width,
// height); the caller deletes it.  Null on failure.
HBITMAP ImgCopyBitmap(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height);

// A new GDI+ bitmap from a GDI bitmap (no palette), null on failure; the GDI
// bitmap stays the caller's.
Gdiplus::GpBitmap* ImgFromBitmap(HBITMAP bitmap);

// Kind 1: the handle is a GDI object, deleted through the skin engine; any
// other kind: a GDI+ image, disposed when not null.  The handle is nulled.
void ImgFreeHandle(void** handle, int32_t kind);
template <typename Handle>
void ImgFree(Handle*& handle, int32_t kind) {
  void* untyped = handle;
  ImgFreeHandle(&untyped, kind);
  handle = nullptr;
}

// Draws the text (ANSI, converted to UTF-16) in the layout rectangle with the
// caller's font and brush, no string format.
int32_t ImgDrawText(HDC dc, const std::string& text, Gdiplus::GpFont* font, float x, float y,
                    float width, float height, Gdiplus::GpBrush* brush);

// Draws the text at (x, y) in the colour with the rendering hint; when
// `shadow` is not 0 first in ARGB 0x80000000 at (x + d, y + |d|).  Neither
// is wrapped or clipped.  The status of the text's own drawing.
int32_t ImgDrawShadowText(HDC dc, const std::string& text, int32_t x, int32_t y, uint32_t argb,
                          int32_t renderingHint, Gdiplus::GpFont* font, int32_t shadow);

// Fills the rectangle with a solid brush of the colour.
int32_t ImgFillRectI(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t argb);
// Fills the rectangle with the caller's brush.
int32_t ImgFillRectF(HDC dc, Gdiplus::GpBrush* brush, float x, float y, float width, float height);
// Draws the image at its natural size with its top-left corner at (x, y).
int32_t ImgDrawImage(HDC dc, Gdiplus::GpImage* image, int32_t x, int32_t y);

// The text as GDI+ takes it: the ANSI code page to UTF-16.
std::wstring ImgTextToWide(const std::string& text);

}  // namespace suite
