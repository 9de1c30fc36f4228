// The engine's state shared between its parts: the skin in force, the
// program-wide settings the SK* setters change, and the main menu.  The
// engine part (engine.cpp, skin.cpp, menus.cpp) owns and fills it; windows,
// controls, boxes and drawing read it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace themecore {

// The DLL's own module handle (for window classes it registers).
HINSTANCE EngineInstance();

// Skin colour n (101 and up; GetSysColor below 100) and skin size n; the
// built-in default skin answers until SKINITENGINE loads another.
COLORREF SkinColour(int32_t n);
int32_t SkinMetric(int32_t n);
// Fonts and images of the skin.  The engine owns them; never delete them.
HFONT SkinCaptionFont();
HFONT SkinDefaultFont();
HFONT SkinMenuFont();
// A named image of the skin ("menubar", "checkbox", ...), null when the
// skin has none (callers then draw in skin colours).
HBITMAP SkinBitmap(const char* name);

// Settings of the program, set through the SK* setters.
const std::string& AppTitle();
int32_t WindowStyleBits();
bool ShadowEnabled();
bool FocusRectEnabled();
bool TranslucentMenus();

// The main menu built by SKCHANGEMENU or SKMENU (null before), which the
// "SKMENU" holder draws as the menu bar.
HMENU MainMenu();

}  // namespace themecore
