// What the skinning library's Wine tests share: the flat test skin, real
// input (SendInput), pictures of the screen taken by ImageMagick's import
// off the X display, and waits that pump messages.
#pragma once

#include <windows.h>

#include <string>

#include "harness.h"

namespace skintest {

// A skin of flat, distinct colours (the caption pieces the engine makes are
// colour 107, the border 111, the client without a control background 112,
// the caption buttons' faces 104).
std::string FlatSkinText();
constexpr COLORREF kCaptionColour = RGB(0x20, 0x60, 0xA0);   // 107
constexpr COLORREF kTitleColour = RGB(0x00, 0x00, 0x00);     // 101
constexpr COLORREF kBorderColour = RGB(0x30, 0xA0, 0x50);    // 111
constexpr COLORREF kPanelColour = RGB(0xE0, 0xC0, 0x80);     // 112
constexpr COLORREF kButtonFace = RGB(0xFF, 0xFF, 0xFF);      // 104
constexpr COLORREF kShadowColour = RGB(0x80, 0x80, 0x80);    // 106
constexpr COLORREF kHotColour = RGB(0xC0, 0x30, 0x30);       // 114

// A 24-bit BMP file of width x height whose pixels `colour` gives, for
// skin images.
std::string BmpFile(int width, int height, COLORREF (*colour)(int x, int y));

// Real mouse input at a screen point (moves first).
void MouseMove(POINT at);
void MouseButton(POINT at, bool down);
void Click(POINT at);
// Real key presses: a chord of Alt and a key.
void AltChord(WORD virtualKey);
void PressKey(WORD virtualKey);

// A picture of part of the screen as the X display shows it.
bool GrabScreen(const RECT& area, harness::Bmp24* picture);

// Pumps messages until the queue has been quiet for `quietMs` (at most
// `limitMs`).
void PumpUntilQuiet(DWORD quietMs = 150, DWORD limitMs = 5000);

// The screen point of a window-relative point.
POINT WindowPoint(HWND window, int x, int y);

}  // namespace skintest
