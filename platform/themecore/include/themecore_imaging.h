// More of the skin engine's exports (see themecore.h for the conventions).
#pragma once

// ---------------------------------------------------------------------------
// Colour components (imaging.cpp)

// The red, green and blue components (0-255) of a COLORREF (red in the low
// byte).  The top byte is ignored.
THEMECORE_API int32_t __stdcall SKGETRVALUE(COLORREF colour);
THEMECORE_API int32_t __stdcall SKGETGVALUE(COLORREF colour);
THEMECORE_API int32_t __stdcall SKGETBVALUE(COLORREF colour);
