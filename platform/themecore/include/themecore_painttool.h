// Skin-engine exports the picture tool adds (see themecore.h for the
// conventions): the symbol font of its page buttons, image buttons, the
// standard cursor, display and desktop device contexts and the default
// printer (painttool_*.cpp, ordinals 760-799).
#pragma once

#include "themecore.h"
#include "themecore_loader.h"

// The "Marlett" symbol font, `size` pixels high.  The caller deletes it
// (DeleteObject) once its buttons are made.  Null when it cannot be made.
THEMECORE_API HFONT __stdcall SKMARLETT(int32_t size);

// A push button showing the bitmap resource `image` of the program (the
// process's EXE), or else the bitmap file `image`; its size is the
// bitmap's plus 2 pixels on each side.
// `x` -1 puts it in the 24-pixel column at the parent's left edge (x 1);
// any other value is its x.  `y` is its top.  Clicks come to the parent as
// WM_COMMAND(MAKEWPARAM(id, BN_CLICKED), button), as for SKBUT3D.  Null
// when the parent or the bitmap is missing.
THEMECORE_API HWND __stdcall SKBUTIMAGE(HWND parent, const char* image, int32_t x, int32_t y,
                                        int32_t id);

// Gives `window` the standard arrow cursor: its class cursor becomes
// IDC_ARROW and, when the pointer is over it, the cursor shown.  1, or 0 for
// no window.
THEMECORE_API int32_t __stdcall SKCURSORSTD(HWND window);

// SKDISPLAYDC, the screen's DC, is declared with the picture loader's
// helpers.

// The engine's picture of the desktop, a memory DC of the screen's size in
// screen coordinates, to copy from (never to free).  Mode 1 keeps a copy of
// the desktop's pixels (taken before a menu opens or a window is rebuilt,
// so that what is drawn meanwhile is drawn over what was there) and returns
// its DC; an earlier copy is replaced.  Mode 0 gives the kept copy's DC or,
// with none kept, a copy taken now that lasts until the next call.  Mode 2
// frees both and returns 1 when a kept copy was freed.  0 on failure and for
// other modes.
THEMECORE_API HDC __stdcall SKDCDESKTOP(int32_t mode);

// The default printer as "name,driver,port" (the three strings of the
// "device" entry of the user's [windows] settings), by the output-buffer
// rule; 0 and "" when there is none.
THEMECORE_API int32_t __stdcall SKGETDEFAULTPRINTER(char* out, int32_t outSize);
// The printer dialog (owned by `owner`) with the default printer chosen: a
// device context of the printer the user confirms, which the caller deletes
// with DeleteDC; 0 when cancelled or when there is no printer.  With
// ORB_ANSWERS set no dialog shows: answer 1 takes the default printer,
// any other answer cancels.
THEMECORE_API HDC __stdcall SKPRINTDLG(HWND owner);
