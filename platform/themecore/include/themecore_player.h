// Skin-engine exports the media player adds (see themecore.h for the
// conventions): bit tests of its option values, plain windows whose
// messages go to the program's procedure, caption-button handles and window
// regions (player_windows.cpp, ordinals 720-799).
#pragma once

#include "themecore.h"

// `value & bit`: non-zero when any bit of `bit` is set in `value`.
THEMECORE_API int32_t __stdcall SKINSET(int32_t value, int32_t bit);

// The window of caption button n of the main window, for its tooltip.
// This engine draws the caption buttons as part of the frame; they have no
// window of their own, so the result is always null (and SKBUTTONTIP must
// not be given it: a null control there means the parent itself).
THEMECORE_API HWND __stdcall SKSYSBUTHANDLE(int32_t n);

// A window of the engine's class "SKWINDOW" whose every message but its
// creation and destruction (WM_NCCREATE, WM_CREATE, WM_DESTROY,
// WM_NCDESTROY) goes to `proc` with the window's own handle, as holders do.
// `style` is its window style: with WS_CHILD it is a child of `parent`,
// otherwise (WS_POPUP) it is owned by `parent`'s top-level window.  It
// takes double clicks.  `param` is kept as the window's GWLP_USERDATA.
// Null when `proc` is null or the window cannot be made.
THEMECORE_API HWND __stdcall SKWINDOW(HWND parent, int32_t style, int32_t x, int32_t y,
                                      int32_t width, int32_t height, WNDPROC proc, int32_t param);

// Gives a window the region of its skin.  This engine's frames are
// rectangles: the region is the window's rectangle, set again after a
// window changed size so nothing of an older, smaller region cuts it.  1,
// or 0 for no window.
THEMECORE_API int32_t __stdcall SKBUILDREGION(HWND window);

// The skin's text `name` (its [strings] section; the name in any case), by
// the output-buffer rule; 0 and "" when the skin has none.  The player
// panels find their definition file under "POPUPPANE".
THEMECORE_API int32_t __stdcall SKLOADSTRING(const char* name, char* out, int32_t outSize);
