// The looks a caller gives its own windows' controls and menus with the
// engine (the skinning library): the status-bar, radio and popup-menu
// images, a push button's three pictures, frames and lines, translucent
// and shadowed copies, text sizes, the menu font and the engine's language
// (themecore_looks.h).  The images the engine makes here are kept for the
// process, once per colour set, as the menu-bar image is (menubar.cpp).
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine_internal.h"
#include "engine_state.h"
#include "themecore.h"
#include "themecore_looks.h"
#include "trace_writer.h"
#include "ui_internal.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";

// A small image of one colour with an optional one-pixel edge, made once per
// colour pair; earlier ones stay alive, since a caller may still hold one.
HBITMAP MadeImage(COLORREF fill, COLORREF edge, bool hasEdge, int width, int height) {
  struct Made {
    COLORREF fill;
    COLORREF edge;
    bool hasEdge;
    int width;
    int height;
    HBITMAP image;
  };
  static std::vector<Made> made;
  for (const Made& m : made) {
    if (m.fill == fill && m.edge == edge && m.hasEdge == hasEdge && m.width == width && m.height == height) {
      return m.image;
    }
  }
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP image = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  if (dc == nullptr || image == nullptr) {
    if (dc != nullptr) DeleteDC(dc);
    if (image != nullptr) DeleteObject(image);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(dc, image);
  RECT all = {0, 0, width, height};
  FillSolid(dc, all, fill);
  if (hasEdge) DrawEdgeLines(dc, all, edge, edge);
  SelectObject(dc, old);
  DeleteDC(dc);
  made.push_back({fill, edge, hasEdge, width, height, image});
  return image;
}

// 32-bit top-down pixels of a DC's rectangle, read and written through a
// DIB section.
struct Pixels {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  uint32_t* bits = nullptr;

  Pixels(HDC reference, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* raw = nullptr;
    dc = CreateCompatibleDC(reference);
    bitmap = dc != nullptr ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &raw, nullptr, 0) : nullptr;
    if (bitmap != nullptr) {
      previous = SelectObject(dc, bitmap);
      bits = static_cast<uint32_t*>(raw);
    }
  }
  ~Pixels() {
    if (previous != nullptr) SelectObject(dc, previous);
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (dc != nullptr) DeleteDC(dc);
  }
  Pixels(const Pixels&) = delete;
  Pixels& operator=(const Pixels&) = delete;
  bool ok() const { return bits != nullptr; }
};

uint32_t Mix(uint32_t under, uint32_t over, int percent) {
  uint32_t mixed = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int a = static_cast<int>((under >> shift) & 0xFF);
    const int b = static_cast<int>((over >> shift) & 0xFF);
    mixed |= static_cast<uint32_t>((a * (100 - percent) + b * percent) / 100) << shift;
  }
  return mixed;
}

// DIB pixels are 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
uint32_t DibOf(COLORREF colour) {
  return (static_cast<uint32_t>(GetRValue(colour)) << 16) | (static_cast<uint32_t>(GetGValue(colour)) << 8) |
         GetBValue(colour);
}

// Mixes `over` (a DC rectangle, or one colour when `overDc` is null) into
// the target by `percent`.
bool MixInto(HDC target, int x, int y, int width, int height, HDC overDc, int overX, int overY,
             COLORREF colour, int percent) {
  if (target == nullptr || width <= 0 || height <= 0) return false;
  percent = std::clamp(percent, 0, 100);
  Pixels under(target, width, height);
  Pixels over(target, width, height);
  if (!under.ok() || !over.ok()) return false;
  BitBlt(under.dc, 0, 0, width, height, target, x, y, SRCCOPY);
  if (overDc != nullptr) BitBlt(over.dc, 0, 0, width, height, overDc, overX, overY, SRCCOPY);
  GdiFlush();
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  const uint32_t single = DibOf(colour);
  for (size_t i = 0; i < count; ++i) {
    under.bits[i] = Mix(under.bits[i] & 0xFFFFFF, overDc != nullptr ? over.bits[i] & 0xFFFFFF : single, percent);
  }
  return BitBlt(target, x, y, width, height, under.dc, 0, 0, SRCCOPY) != FALSE;
}

bool MakeButtonPictures(HWND button, const char* text, HFONT font, int width, int height) {
  if (button == nullptr || !IsWindow(button) || width <= 0 || height <= 0) return false;
  if (!CreateWindowBitmap(button, 3 * width, height)) return false;
  HDC strip = WindowBitmapDc(button);
  if (strip == nullptr) return false;
  for (int frame = 0; frame < 3; ++frame) {
    const RECT rect = {frame * width, 0, (frame + 1) * width, height};
    DrawPushButtonPicture(button, strip, rect, text, font, frame == 2, frame == 1);
  }
  return true;
}

}  // namespace

}  // namespace themecore

using themecore::engine::HandleText;

THEMECORE_LOOKS_API HBITMAP __stdcall SKSTATUSBACK() {
  try {
    HBITMAP image = themecore::SkinBitmap("statusback");
    if (image == nullptr) {
      image = themecore::MadeImage(themecore::SkinColour(themecore::colour::kStatusBack), 0, false, 8, 8);
    }
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKSTATUSBACK"), HandleText(image));
    return image;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_LOOKS_API HBITMAP __stdcall SKMENUBACK() {
  try {
    HBITMAP image = themecore::SkinBitmap("menuback");
    if (image == nullptr) {
      image = themecore::MadeImage(themecore::SkinColour(124), 0, false, 8, 8);
    }
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKMENUBACK"), HandleText(image));
    return image;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_LOOKS_API HBITMAP __stdcall SKRADIOBUT() {
  try {
    HBITMAP image = themecore::RadioImage();
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKRADIOBUT"), HandleText(image));
    return image;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_LOOKS_API int32_t __stdcall SKDRAWBUT3D(HWND button, const char* text, HFONT font,
                                                  int32_t width, int32_t height, const void* style) {
  try {
    const int32_t result = themecore::MakeButtonPictures(button, text, font, width, height) ? 1 : 0;
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKDRAWBUT3D")
                            .Raw(HandleText(button))
                            .Text(text)
                            .Raw(HandleText(font))
                            .Number(width)
                            .Number(height)
                            .Raw(style != nullptr ? "style" : "NULL"),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

// Drawn for every control's paint: not traced.
THEMECORE_LOOKS_API int32_t __stdcall SKDRAWRECT3D(HDC dc, int32_t x, int32_t y, int32_t width,
                                                   int32_t height, int32_t topLeft,
                                                   int32_t bottomRight) {
  try {
    if (dc == nullptr || width <= 0 || height <= 0) return 0;
    const RECT rect = {x, y, x + width, y + height};
    themecore::DrawEdgeLines(dc, rect, static_cast<COLORREF>(topLeft) & 0xFFFFFF,
                             static_cast<COLORREF>(bottomRight) & 0xFFFFFF);
    return 1;
  } catch (...) {
    return 0;
  }
}

THEMECORE_LOOKS_API int32_t __stdcall SKLINE(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                             int32_t colour, int32_t style, int32_t width) {
  try {
    if (dc == nullptr) return 0;
    const int penStyle = style >= PS_SOLID && style <= PS_DOT ? style : PS_SOLID;
    HPEN pen = CreatePen(penStyle, std::max(1, width), static_cast<COLORREF>(colour) & 0xFFFFFF);
    if (pen == nullptr) return 0;
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
    return 1;
  } catch (...) {
    return 0;
  }
}

THEMECORE_LOOKS_API int32_t __stdcall SKCHECKSCROLLBAR(HWND window) {
  try {
    int32_t bars = 0;
    if (window != nullptr && IsWindow(window)) {
      const LONG style = GetWindowLongA(window, GWL_STYLE);
      if (style & WS_VSCROLL) bars |= 1;
      if (style & WS_HSCROLL) bars |= 2;
    }
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKCHECKSCROLLBAR").Raw(HandleText(window)),
                        bars);
    return bars;
  } catch (...) {
    return 0;
  }
}

THEMECORE_LOOKS_API int32_t __stdcall SKGETFULLTEXTEXTENT(HDC dc, HFONT font, const char* text,
                                                          int32_t* width, int32_t* height) {
  try {
    int32_t result = 0;
    RECT rect = {0, 0, 0, 0};
    if (text != nullptr) {
      HDC screen = dc == nullptr ? GetDC(nullptr) : nullptr;
      HDC on = dc != nullptr ? dc : screen;
      if (on != nullptr) {
        HGDIOBJ old = font != nullptr ? SelectObject(on, font) : nullptr;
        DrawTextA(on, text, -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        if (old != nullptr) SelectObject(on, old);
        result = 1;
      }
      if (screen != nullptr) ReleaseDC(nullptr, screen);
    }
    if (width != nullptr) *width = rect.right - rect.left;
    if (height != nullptr) *height = rect.bottom - rect.top;
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKGETFULLTEXTEXTENT")
                            .Raw(HandleText(dc))
                            .Raw(HandleText(font))
                            .Text(text)
                            .Raw("out:" + std::to_string(rect.right - rect.left))
                            .Raw("out:" + std::to_string(rect.bottom - rect.top)),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_LOOKS_API HFONT __stdcall SKMENUFONT() {
  try {
    HFONT font = nullptr;
    LOGFONTA description = {};
    HFONT skin = themecore::SkinMenuFont();
    if (skin != nullptr && GetObjectA(skin, sizeof(description), &description) != 0) {
      font = CreateFontIndirectA(&description);
    }
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKMENUFONT"), HandleText(font));
    return font;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_LOOKS_API int32_t __stdcall SKTRANSLUBLT(HDC dc, int32_t x, int32_t y, int32_t width,
                                                   int32_t height, HBITMAP bitmap, int32_t sourceX,
                                                   int32_t sourceY, int32_t opacity) {
  try {
    int32_t result = 0;
    if (dc != nullptr && bitmap != nullptr && GetObjectType(bitmap) == OBJ_BITMAP) {
      HDC source = CreateCompatibleDC(dc);
      HGDIOBJ old = source != nullptr ? SelectObject(source, bitmap) : nullptr;
      if (old != nullptr) {
        result = themecore::MixInto(dc, x, y, width, height, source, sourceX, sourceY, 0, opacity) ? 1 : 0;
        SelectObject(source, old);
      }
      if (source != nullptr) DeleteDC(source);
    }
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKTRANSLUBLT")
                            .Raw(HandleText(dc))
                            .Number(x)
                            .Number(y)
                            .Number(width)
                            .Number(height)
                            .Raw(HandleText(bitmap))
                            .Number(sourceX)
                            .Number(sourceY)
                            .Number(opacity),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_LOOKS_API int32_t __stdcall SKSHADOWBLT(HDC dc, int32_t x, int32_t y, int32_t width,
                                                  int32_t height, int32_t colour, int32_t sourceX,
                                                  int32_t sourceY, int32_t opacity) {
  try {
    const int32_t result =
        themecore::MixInto(dc, x, y, width, height, nullptr, 0, 0, static_cast<COLORREF>(colour) & 0xFFFFFF,
                           opacity)
            ? 1
            : 0;
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKSHADOWBLT")
                            .Raw(HandleText(dc))
                            .Number(x)
                            .Number(y)
                            .Number(width)
                            .Number(height)
                            .Number(colour)
                            .Number(sourceX)
                            .Number(sourceY)
                            .Number(opacity),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_LOOKS_API int32_t __stdcall SKGETTRANSMENU() {
  try {
    const int32_t result = themecore::TranslucentMenus() ? 1 : 0;
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKGETTRANSMENU"), result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_LOOKS_API int32_t __stdcall ISFRENCH() {
  try {
    const int32_t result = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_FRENCH ? 1 : 0;
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "ISFRENCH"), result);
    return result;
  } catch (...) {
    return 0;
  }
}
