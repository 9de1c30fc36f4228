// What the frame half of the skinning library hands to the parts that are
// not built yet: the skinned menu bar and menu items, the skinned look of
// child controls (their preparation and painting), and the skinned message
// box.  Each function is named for its job and does nothing yet (a result
// says "nothing done"); with ORB_TRACE set each call leaves a line
// "themeapi NAME(...) = not built" so tests see what was routed where.
#pragma once

#include <windows.h>

#include <cstdint>

namespace skinning::later {

// The unowned window's menu turned into owner-drawn items on an SKMENU bar
// under the caption; the bar window, or null when none was made (the
// window then keeps its menu).
HWND MoveMenuToBar(HWND window, HMENU menu, int32_t x, int32_t y, int32_t width, int32_t height);
// WM_INITMENUPOPUP and WM_UNINITMENUPOPUP at a skinned window: the popup's
// items converted and the menu animation held off.
void PreparePopup(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// WM_MEASUREITEM and WM_DRAWITEM for a converted menu item; false when the
// item is not one (the message then goes on).
bool MeasureMenuItem(HWND window, MEASUREITEMSTRUCT* item);
bool DrawMenuItem(HWND window, const DRAWITEMSTRUCT* item);
// A list box item of a skinned list box; false when not drawn.
bool DrawListBoxItem(HWND window, const DRAWITEMSTRUCT* item);
// A menu bar drawn into a window's picture.
void PrintMenuBar(HWND bar, HDC dc, int32_t x, int32_t y);

// A registered child control's one-time preparation for its kind (colours,
// styles, regions, images).
void PrepareControl(HWND control, int32_t kind);
// A kind of control that paints its own background and glyph once skinned
// (check boxes and radio buttons), so the window must not tile under it.
bool PaintsItsOwnBackground(int32_t kind);
// The skinned control's own handling of a message (painting, borders,
// state changes); false when it leaves the message to the control.
bool HandleControlMessage(HWND control, int32_t kind, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* result);

// The skinned message box and its labels.
int32_t ShowMessageBox(const char* text, int32_t type, const char* caption);
void SetMessageBoxLabels(const char* labels);

}  // namespace skinning::later
