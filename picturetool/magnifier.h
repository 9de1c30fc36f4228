// The magnifier: a small skinned tool window (class ZOOMBOX) showing the
// canvas around the mouse cursor enlarged 1 to 10 times, with its view (a
// child of class "LEAD").  Opened by the magnifier command and the red-eye
// brush; clicks on the canvas that no mode takes change its zoom.  Its
// screen position is kept in the placement file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace paint {

// Creates the magnifier at the stored position, titled `title`, inside the
// skin engine's popup frame (`frameFlags`, `frameStyle` as that frame takes
// them); shown without taking the keyboard from the main window.  Null on
// failure.
HWND CreateMagnifier(const std::string& title, int32_t frameStyle, int32_t frameFlags);
LRESULT CALLBACK MagnifierProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The magnifier command: opens the magnifier when it is not open, titled
// with the command's menu text without "&".
void ShowMagnifier();
bool IsMagnifierOpen();

// The position the magnifier is created at: the screen position of its
// frame's top-left corner, so that closing and reopening keeps it in place.
POINT MagnifierPosition();
void SetMagnifierPosition(int32_t x, int32_t y);

// The canvas tells the magnifier about the mouse: a move (or any message a
// mode took) redraws the view; a button message no mode took changes the
// zoom.
void FollowCanvasMouse(UINT message, WPARAM wParam, LPARAM lParam, bool takenByMode);
// The view shows the canvas anew (a picture was loaded).
void InvalidateMagnifierView();
// Hides or shows the magnifier's frame (a capture of the whole screen).
void ShowMagnifierFrame(bool show);

}  // namespace paint
