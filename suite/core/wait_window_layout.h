// The "please wait" window's text, size and place: a borderless box that
// shows a few lines in the caption font, a blank line above and below them,
// centred on its owner and kept on the screen.
//
// Portable: no windows.h.  The Win32 side measures the text and the
// character cell with the skin engine and hands the numbers in here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace suite::boxes {

// The window text is at most this many bytes: the length the window procedures
// of the suite read back into their fixed text buffers.
constexpr size_t kWaitTextMaxBytes = 255;

// The window text for `text`: "|" + text + "||" with every "|" turned into a
// carriage return (a blank line above and below the lines of the text), cut
// to kWaitTextMaxBytes.
std::string WaitWindowText(std::string_view text);

struct WindowSize {
  int32_t width = 0;
  int32_t height = 0;
};

// The outer size: the widest line plus one character height of margin on
// each side, lineCount + 2 character heights (the two blank lines), and the
// dialog frame (frameX, frameY: SM_CXDLGFRAME, SM_CYDLGFRAME) on every side.
// lineCount is the number of "|"-separated parts of the text (0 for "").
WindowSize WaitWindowSize(int32_t widestLineWidth, int32_t lineCount, int32_t characterHeight,
                          int32_t frameX, int32_t frameY);

struct ScreenRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

struct WindowPlace {
  int32_t x = 0;
  int32_t y = 0;
};

// Centres a window of `size` on `anchor` (the owner's window rectangle, or
// the screen when there is no owner), then keeps it inside a screen of
// screenWidth x screenHeight: left and top at most screen size - window
// size and at least 0 (a window larger than the screen keeps its top-left
// corner, and so its first lines, visible).
WindowPlace CentreAndClamp(const ScreenRect& anchor, WindowSize size, int32_t screenWidth,
                           int32_t screenHeight);

}  // namespace suite::boxes
