// Skin-engine exports of popup boxes and panels (see themecore.h for the
// conventions): the skinned frame the engine puts around a box window
// (SKPOPUPCONTAINER) and the filter a box's procedure calls first
// (SKGETBOX); the list, combo and edit helpers of boxes; the owner-drawn
// items, static colours, group boxes, images, tooltips and resources of
// panels (popup_container.cpp, box_controls.cpp; ordinals 800-849).
#pragma once

#include "themecore.h"

// The command a popup frame's close box (or Alt+F4 on the frame) sends to
// the procedure of the window it frames, as WM_COMMAND(MAKEWPARAM(id,
// BN_CLICKED), frame).  The frame is never closed by itself: the box
// decides.
inline constexpr int32_t kSkinFrameCloseId = 32196;

// Puts a skinned frame (caption with `title`, borders, a close box) around
// `window`: a new top-level window of class "SKPOPUP", owned by `window`'s
// owner, takes `window` as its child at its client's top-left.  x, y are
// the frame's screen position.  The client size is `width` x `height`
// (negative values are taken as their magnitude; 0 keeps `window`'s
// current size), and `window` is resized to it.  An empty title takes
// `window`'s text.  `procedure` gets the close command with `window` as the
// window (null: `window`'s own procedure).  Bit 0 of `flags`: the frame
// stays hidden until the caller shows it (the panels' way); otherwise it is
// shown and activated.  `style` is kept for the skin (no value changes
// anything yet).  The frame hides when `window` is hidden and goes when it
// is destroyed; the focus it gets goes on to the child that last had it (or
// the first tab stop).  Returns the frame, null when `window` is none.
THEMECORE_API HWND __stdcall SKPOPUPCONTAINER(HWND window, const char* title, int32_t x, int32_t y,
                                              int32_t width, int32_t height, WNDPROC procedure,
                                              int32_t flags, int32_t style);

// The first call of a box's window procedure: paints the box from the
// memory bitmap made for it with SKCREATEMEMBMP (WM_ERASEBKGND, WM_PAINT,
// WM_PRINTCLIENT) and returns 1 for those; 0 for everything else, which
// is the box's.
THEMECORE_API LRESULT __stdcall SKGETBOX(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// LB_ADDSTRING: the new item's index, or LB_ERR (-1).
THEMECORE_API int32_t __stdcall SKADDSTRINGLISTBOX(HWND list, const char* text);
// The text of item `index` of a combo box or list box, by the output-buffer
// rule; 0 and "" for an item that does not exist.
THEMECORE_API int32_t __stdcall SKGETTEXTCOMBO(HWND combo, int32_t index, char* out, int32_t outSize);
THEMECORE_API int32_t __stdcall SKGETTEXTLISTBOX(HWND list, int32_t index, char* out, int32_t outSize);
// EM_LIMITTEXT; 1, or 0 for no window.
THEMECORE_API int32_t __stdcall SKLIMITTEXTEDIT(HWND edit, int32_t limit);
// A 3-D edge in skin colours (light 105, shadow 106) around x, y, width,
// height: `edge` as DrawEdge's (BDR_* bits: 6 etched, 9 bump, 5 raised,
// 10 sunken), `sides` its BF_LEFT/TOP/RIGHT/BOTTOM bits (0xF all).  1, or 0
// for a null DC or an empty rectangle.
THEMECORE_API int32_t __stdcall SKDRAWEDGE(HDC dc, int32_t x, int32_t y, int32_t width,
                                           int32_t height, int32_t edge, int32_t sides);
// Draws an owner-drawn list or combo item in skin colours (selected 115 on
// 114, others 101 on 104, a focus rectangle when it has the focus), or an
// owner-drawn button in the engine's push-button look (pressed for
// ODS_SELECTED, hot for ODS_HOTLIGHT, a focus rectangle for ODS_FOCUS when
// asked for).  1 when drawn, 0 for other controls.
THEMECORE_API int32_t __stdcall SKDRAWITEM(const DRAWITEMSTRUCT* item);
// The answer to WM_CTLCOLORSTATIC for a control: its SKSETCOLOR colours, or
// the panel's (text 113, transparent) when it has none.
THEMECORE_API HBRUSH __stdcall SKCTLCOLORSTATIC(HDC dc, HWND control);
// A group box (BS_GROUPBOX) with its caption in `font` and `colour`, below
// its siblings.  Null when the parent is none.
THEMECORE_API HWND __stdcall SKGROUPBOX(HWND parent, int32_t x, int32_t y, int32_t width,
                                        int32_t height, const char* caption, HFONT font,
                                        int32_t colour);
// A bitmap file loaded; the caller deletes it.  Null when it cannot be read.
THEMECORE_API HBITMAP __stdcall SKLOADIMAGE(const char* path);
// The work area of the primary monitor; 1.
THEMECORE_API int32_t __stdcall SKGETWORKAREA(int32_t* left, int32_t* top, int32_t* width,
                                              int32_t* height);
// The skin's image of player-panel child `id` (the skin file's image named
// "panel<id>", owned by the engine) and its place, 0, 0 in the built-in
// skin.  Null when the skin has none: the caller then sizes the control as
// the engine does without an image.
THEMECORE_API HBITMAP __stdcall SKPANELCHILDXY(int32_t id, int32_t* x, int32_t* y, int32_t layout);
// Removes a control's tooltip (SKBUTTONTIP with an empty tip).  1, or 0
// for no parent.
THEMECORE_API int32_t __stdcall SKREMOVETIP(HWND parent, HWND control);
// Frees the SKSETCOLOR records of `window` and its children; the number
// freed.
THEMECORE_API int32_t __stdcall SKFREEOBJECTCOLOR(HWND window);
// The fonts a window's controls use are the engine's own (SKCAPTIONFONT,
// SKDEFAULTFONT): nothing is held per window, so these free nothing and
// give 1 for a window, 0 for none.
THEMECORE_API int32_t __stdcall SKFREEOBJECTFONT(HWND window);
THEMECORE_API int32_t __stdcall SKFREECHECKBUTTON(HWND window);
