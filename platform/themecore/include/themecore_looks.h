// The engine's exports for a caller that gives its own windows' controls
// and menus the skin's look (the skinning library themeapi): images of
// status bars, radio buttons and popup menus, a push button's three
// pictures, frames, lines, translucent and shadowed copies, text sizes,
// the menu font and the engine's language (looks.cpp).  Ordinals 900-929.
#pragma once

#include <windows.h>

#include <cstdint>

#ifdef THEMECORE_BUILDING
#define THEMECORE_LOOKS_API extern "C"
#else
#define THEMECORE_LOOKS_API extern "C" __declspec(dllimport)
#endif

// The skin's "statusback" and "menuback" images, or images the engine makes
// in one colour (status bar: colour 123; popup menus: colour 124) to be
// tiled.  The engine owns them.
THEMECORE_LOOKS_API HBITMAP __stdcall SKSTATUSBACK();
THEMECORE_LOOKS_API HBITMAP __stdcall SKMENUBACK();
// The radio button image: four frames side by side (unchecked, checked,
// and the same disabled), key colour FF00FF; the engine owns it.
THEMECORE_LOOKS_API HBITMAP __stdcall SKRADIOBUT();

// (Re)makes the three pictures of a push button, normal, hot and pressed,
// side by side in the button's memory bitmap (SKGETHDCMEMBMP, 3 * width by
// height), with `text` in `font` (the skin's caption font when null);
// SKDRAWITEM then draws the button from them, and SKDELETEMEMBMP frees
// them.  `style` is the caller's style record (read as SKBUT3D reads it;
// may be null).  1, or 0 for no window or size.
THEMECORE_LOOKS_API int32_t __stdcall SKDRAWBUT3D(HWND button, const char* text, HFONT font,
                                                  int32_t width, int32_t height, const void* style);

// A one-pixel frame round (x, y, width, height): `topLeft` on the top and
// left sides, `bottomRight` on the others (COLORREF values).  1, or 0.
THEMECORE_LOOKS_API int32_t __stdcall SKDRAWRECT3D(HDC dc, int32_t x, int32_t y, int32_t width,
                                                   int32_t height, int32_t topLeft,
                                                   int32_t bottomRight);
// A line from (x1, y1) up to, not including, (x2, y2) in a COLORREF colour;
// `style` is a pen style (PS_SOLID 0, PS_DASH 1, PS_DOT 2), `width` in
// pixels (at least 1).  1, or 0.
THEMECORE_LOOKS_API int32_t __stdcall SKLINE(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                             int32_t colour, int32_t style, int32_t width);

// The scroll bars a window shows: 0 none, 1 vertical, 2 horizontal, 3 both.
THEMECORE_LOOKS_API int32_t __stdcall SKCHECKSCROLLBAR(HWND window);
// The size of a one-line text as DrawText lays it out (tabs expanded, "&"
// marks left out) in `font` on `dc` (the screen's when null).  1, or 0
// (sizes 0) for no text pointer.
THEMECORE_LOOKS_API int32_t __stdcall SKGETFULLTEXTEXTENT(HDC dc, HFONT font, const char* text,
                                                          int32_t* width, int32_t* height);

// A copy of the skin's menu font; the caller deletes it.
THEMECORE_LOOKS_API HFONT __stdcall SKMENUFONT();
// Copies (sourceX, sourceY, width, height) of a bitmap onto the DC, mixed
// with what the DC shows: `opacity` percent of the bitmap (100 a plain
// copy, 0 nothing).  1, or 0.
THEMECORE_LOOKS_API int32_t __stdcall SKTRANSLUBLT(HDC dc, int32_t x, int32_t y, int32_t width,
                                                   int32_t height, HBITMAP bitmap, int32_t sourceX,
                                                   int32_t sourceY, int32_t opacity);
// Darkens (x, y, width, height) of the DC towards a COLORREF colour by
// `opacity` percent (a shadow).  The source offsets are for callers that
// shadow part of a larger picture; they are not used.  1, or 0.
THEMECORE_LOOKS_API int32_t __stdcall SKSHADOWBLT(HDC dc, int32_t x, int32_t y, int32_t width,
                                                  int32_t height, int32_t colour, int32_t sourceX,
                                                  int32_t sourceY, int32_t opacity);
// 1 when popup menus are drawn translucent over the desktop (SKSETTRANSMENU
// of the program), else 0.
THEMECORE_LOOKS_API int32_t __stdcall SKGETTRANSMENU();
// 1 when the user's interface language is French, else 0.
THEMECORE_LOOKS_API int32_t __stdcall ISFRENCH();
