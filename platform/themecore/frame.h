// The frame of main windows, shared by its behaviour (frame.cpp: messages,
// hit codes, caption buttons, system menu) and its drawing
// (frame_drawing.cpp: where the caption's parts are and how they look).
#pragma once

#include <windows.h>

#include <cstdint>

namespace themecore::frame {

// Caption-button bits of SKWINDOWSTYLE.
constexpr int32_t kCloseBit = 1;
constexpr int32_t kMaximiseBit = 2;
constexpr int32_t kMinimiseBit = 4;

enum class Part { kNone, kClose, kMaximise, kMinimise, kSystem };

struct FrameState {
  bool isActive = false;
  Part pressed = Part::kNone;  // a caption button held down with the mouse
  bool isPressedInside = false;
  Part hot = Part::kNone;
  bool isTrackingLeave = false;
  HWND tooltip = nullptr;
};

// Sizes in window coordinates (0, 0 = the window's top-left corner).
struct Geometry {
  int width = 0;
  int height = 0;
  int left = 0, top = 0, right = 0, bottom = 0;  // frame thickness
  RECT close = {}, maximise = {}, minimise = {}, system = {};
  RECT title = {};
};

// Where the frame's parts are for the window's size and the skin.
Geometry Measure(HWND window);
RECT RectOf(const Geometry& g, Part part);
Part PartAt(const Geometry& g, POINT point);
// Draws the whole frame on a DC whose origin is the window's top-left
// corner; the client area is left alone.
void PaintFrameOn(HDC dc, HWND window, const FrameState& state);
// Draws the frame on the window.
void PaintFrame(HWND window, const FrameState& state);

}  // namespace themecore::frame
