// More of the skin engine's exports (see themecore.h for the conventions).
#pragma once

// ---------------------------------------------------------------------------
// Wait cursor and skin background (wait_helpers.cpp)

// Puts up the system's wait cursor (IDC_WAIT) until the next SetCursor or
// the next WM_SETCURSOR.  Returns the cursor shown before.
THEMECORE_API HCURSOR __stdcall SKCURSORWAIT();
// The skin's control background image ("ctlback" in the skin's [images]),
// which panels, wait windows and boxes tile over their client area.  The
// engine owns it.  Null when the skin has none: callers then fill with skin
// colour 112.
THEMECORE_API HBITMAP __stdcall SKCTLBACK();
// Tiles `tile` over the rectangle (x, y, width, height) of the DC, its
// top-left corner at (x, y); the last row and column of tiles are cut at the
// rectangle's edge.  1, or 0 for a null DC or bitmap or an empty rectangle.
THEMECORE_API int32_t __stdcall SKTILEBLT(HDC dc, int32_t x, int32_t y, int32_t width,
                                          int32_t height, HBITMAP tile);
