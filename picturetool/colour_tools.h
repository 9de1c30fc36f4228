// The colour tools of the text box and the shape box: the colour picker
// (class SKCOLORPICK), a colour field that reads the colour under the
// mouse; the pipette (class SKPIPETTE), a small round window following the
// mouse over the picker in that colour; and the colour swatch (class
// SKSTATIC), a flat child painted in one colour.  A click in the picker
// writes the colour into its parent box: track bars 102-104 (red, green,
// blue; position component x 100 \ 255), labels 32202-32204 (the decimal
// component) and the swatch 105.
//
// One picker exists at a time.  GDI+ must be started (image_startup.h).
#pragma once

#include <windows.h>

#include <cstdint>

namespace paint {

// Control ids the picker writes in its parent.
constexpr int kRedTrackId = 102, kGreenTrackId = 103, kBlueTrackId = 104;
constexpr int kSwatchId = 105;
constexpr int kRedLabelId = 32202, kGreenLabelId = 32203, kBlueLabelId = 32204;

// The picker at (x, y) in `parent`, as large as the bitmap plus its sunken
// edge.  A null bitmap takes the program's bitmap resource "COLOR".  The
// picker keeps its own copy of the pixels: the bitmap stays the caller's.
// Null when there is no bitmap or no window.
HWND CreateColorPicker(HWND parent, int32_t x, int32_t y, HBITMAP bitmap);
// The round pipette (the bitmap resource "CIRCLE", magenta outside the
// circle), hidden, off the parent's client area.  Null without the bitmap.
HWND CreatePipette(HWND parent);
// The swatch: a disabled flat child of the colour (a COLORREF).
HWND CreateColorSwatch(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height, int32_t id,
                       COLORREF colour);
// Shows `colour` in a swatch (or the pipette): its class gets a solid brush
// of it, the brush it replaces is deleted (never a stock brush), so a box
// whose colour changes often holds one brush, not one per change.
void SetSwatchColour(HWND window, COLORREF colour);
LRESULT CALLBACK ColorPickerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace paint
