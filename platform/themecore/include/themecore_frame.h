// The engine's exports for a caller that draws a window's frame and its
// controls' look itself (the skinning library themeapi): caption images,
// the window's shape and border, the engine's record of such windows, the
// control background and colour property (frame_pieces.cpp,
// control_answers.cpp).  Ordinals 850-879.  Owner-drawn buttons and static
// colours are SKDRAWITEM and SKCTLCOLORSTATIC of themecore_popup.h.
#pragma once

#include <windows.h>

#include <cstdint>

#ifdef THEMECORE_BUILDING
#define THEMECORE_FRAME_API extern "C"
#else
#define THEMECORE_FRAME_API extern "C" __declspec(dllimport)
#endif

// The caller draws this window's frame: SKGETMESSAGE's frame leaves it
// alone, and the first such window (while it lives) is the engine's main
// window.  1, or 0 for no window.
THEMECORE_FRAME_API int32_t __stdcall SKSETNEWFRAME(HWND window);
// 2: the engine's main window (the first window given to SKSETNEWFRAME, else
// the first main window whose frame the engine draws); null while there is
// none and for any other number.
THEMECORE_FRAME_API HWND __stdcall SKGETHANDLE(int32_t which);

// The caption's left, middle and right pieces (the skin's "captionl",
// "captionm", "captionr", or pieces the engine makes in colour 107 with
// rounded outer corners in the key colour FF00FF); the tool caption's right
// piece "cpopupr" and the LED "captionled" (two frames side by side:
// inactive, active) are null when the skin has none.  The engine owns them.
THEMECORE_FRAME_API HBITMAP __stdcall SKCAPTIONL();
THEMECORE_FRAME_API HBITMAP __stdcall SKCAPTIONM();
THEMECORE_FRAME_API HBITMAP __stdcall SKCAPTIONR();
THEMECORE_FRAME_API HBITMAP __stdcall SKCPOPUPR();
THEMECORE_FRAME_API HBITMAP __stdcall SKCAPTIONLED();

// The window's shape for a size: its rectangle less what the caption pieces
// leave out (their key-colour pixels at the top corners).  After
// SKUSETOOLCAPTION the next shape takes the tool caption's right piece.
// SKMAKEREGION cuts `region` (the caller's, in window coordinates) to it;
// SKFRAMERGN gives it to the window (SetWindowRgn).  1, or 0.
THEMECORE_FRAME_API int32_t __stdcall SKUSETOOLCAPTION();
THEMECORE_FRAME_API int32_t __stdcall SKMAKEREGION(HWND window, HRGN region, int32_t width,
                                                   int32_t height);
THEMECORE_FRAME_API int32_t __stdcall SKFRAMERGN(HWND window, int32_t width, int32_t height);
// The left, right and bottom borders (sizes 4, 5, 6 below the caption band
// of size 1), and whatever else lies outside the client area below the
// band, in the window face colour with their outer edge, on a DC whose
// origin is the window's top-left corner.  1, or 0.
THEMECORE_FRAME_API int32_t __stdcall SKDRAWBORDER(HWND window, HDC dc);

// The skin's control background ("ctlback", or colour 112 without one)
// over the control's client area, lined up with its top-level window's.
THEMECORE_FRAME_API int32_t __stdcall SKTILEBACK(HWND control, HDC dc);
// 1 when the control has colours of its own (SKSETCOLOR), else 0.
THEMECORE_FRAME_API int32_t __stdcall SKCHECKCOLORPROPERTY(HWND control);
