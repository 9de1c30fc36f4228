// Skin-engine exports of boxes that ask for numbers (see themecore.h for the
// conventions): the number field SKINPUT and the centring of a box over its
// owner SKCENTERWIND (number_field.cpp; ordinals 930-949).
#pragma once

#include "themecore.h"

// Offsets of the number-field values in the caller's style record (the
// record of message and input boxes; 16-bit little-endian values).
namespace themecore::number_field {
inline constexpr size_t kX = 26, kY = 28, kLength = 30, kWidth = 32, kHeight = 34;
inline constexpr size_t kMinimum = 41, kMaximum = 43, kValue = 45;
}  // namespace themecore::number_field

// Messages a number field sends its parent when the user presses Enter
// (WM_USER + 13) or Escape (WM_USER + 27) in it.
inline constexpr UINT kNumberFieldEnter = WM_USER + 13;
inline constexpr UINT kNumberFieldEscape = WM_USER + 27;

// A number field: an edit control with id `id` on `parent` in `font`, placed
// and limited by the style record (x, y, width, height, the longest text,
// minimum, maximum and start value; signed 16-bit values).  Only digits and,
// when the minimum is negative, a leading "-" can be typed; the up and down
// arrows step the value by 1 within the range.  Every change of its text
// reaches the parent as WM_COMMAND(MAKEWPARAM(id, EN_CHANGE = 0x300), field);
// Enter and Escape as kNumberFieldEnter and kNumberFieldEscape.  Null when
// the parent or the record is none.
THEMECORE_API HWND __stdcall SKINPUT(HWND parent, HFONT font, int32_t id, const void* style);

// The screen position that centres a window of width x height over `owner`
// (the screen when null), kept inside the work area.  1, or 0 when an
// output is null.
THEMECORE_API int32_t __stdcall SKCENTERWIND(HWND owner, int32_t width, int32_t height, int32_t* x, int32_t* y);
