// More of the skin engine's exports (see themecore.h for the conventions).
#pragma once

// ---------------------------------------------------------------------------
// Animation, number texts and lines (burner_helpers.cpp)

// Plays a strip of square frames (the bitmap's height is the frame size,
// its frames side by side) in `window`, one frame every 100 ms, until the
// window is destroyed; the window takes the frame's size.  The engine copies
// the bitmap, so the caller may delete its own.  1, or 0 for no window or
// bitmap.
THEMECORE_API int32_t __stdcall SKANIMATE(HWND window, HBITMAP bitmap);
// A whole number as the user's locale writes it, with its thousands
// separator ("1,234,567").
THEMECORE_API int32_t __stdcall SKLONGFORMAT(int32_t value, char* out, int32_t outSize);

namespace themecore {

// SKLONGFORMAT as a byte string.
inline std::string LongFormat(int32_t value) {
  return FetchText([value](char* out, int32_t size) { return SKLONGFORMAT(value, out, size); });
}

}  // namespace themecore
