// The picture tool's commands and files that are not built yet.  Each is
// called where the program will need it, writes one trace line
// ("orbpaint <Name>(...) = not built") and does nothing else, so nothing
// pretends to have done work it did not do.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace paint {

struct Placement {
  int32_t x = 40, y = 40, width = 800, height = 600;
};

// The placement file: read gives the built-in placement, write nothing.
Placement ReadPlacementFile();
void WritePlacementFile(const Placement& placement);
// The command of `id` that another part of the program will carry out.
void CommandNotBuilt(int32_t id);
// The magnifier.
void ShowMagnifier();
// The colour picker of the text and shape boxes: a framed empty area of
// the picker's size stands in (no colour is picked from it).
HWND CreateColorPicker(HWND parent, int32_t x, int32_t y, HBITMAP bitmap);
// The colour swatch under the picker: a plain window of class SKSTATIC
// painted with its class brush, which the boxes replace for each colour.
HWND CreateColorSwatch(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height, int32_t id,
                       COLORREF colour);

}  // namespace paint
