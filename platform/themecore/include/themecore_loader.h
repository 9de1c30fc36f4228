// More of the skin engine's exports (see themecore.h for the conventions):
// the device contexts and the fitting arithmetic the picture loader, the
// thumbnails and the contact sheets use.
#pragma once

#include "themecore.h"

// ---------------------------------------------------------------------------
// Screen and window DCs, fitting a picture into a box (loader_dc.cpp)

// A new DC of the whole screen (CreateDC "DISPLAY"); the caller deletes it
// with DeleteDC.  Null on failure.
THEMECORE_API HDC __stdcall SKDISPLAYDC();
// The client-area DC of a window (GetDC); a null window gives the screen's.
// Give it back with SKRELEASEDC.  Null on failure.
THEMECORE_API HDC __stdcall SKGETDC(HWND window);
// Gives back a DC from SKGETDC.  1 when it was released, else 0.
THEMECORE_API int32_t __stdcall SKRELEASEDC(HWND window, HDC dc);
// Fits a picture of width x height into a box of boxWidth x boxHeight with
// its proportions kept: a picture larger than the box in either direction is
// shrunk until it fits, a smaller one keeps its size; each side is at least
// one pixel.  The fitted size goes to *fittedWidth, *fittedHeight and the
// offset that centres it in the box to *x, *y (any pointer may be null).
// 1 on success; 0 (and zeros out) when a size is not positive.
THEMECORE_API int32_t __stdcall SKICONISE(int32_t width, int32_t height, int32_t boxWidth,
                                          int32_t boxHeight, int32_t* x, int32_t* y,
                                          int32_t* fittedWidth, int32_t* fittedHeight);
