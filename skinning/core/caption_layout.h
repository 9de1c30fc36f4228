// The skinned caption: which caption buttons a window gets, where they and
// the title, the LED and the tooltips go, which button a point is on, and
// how hovering over the buttons redraws them.  caption.cpp draws what these
// rules place.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/geometry.h"

namespace skinning {

// Caption buttons, numbered as the window record's hot and pressed fields.
enum CaptionButton : int32_t {
  kNoButton = 0,
  kMinimizeButton = 3,
  kMaximizeButton = 4,
  kRestoreButton = 5,
  kCloseButton = 6,
};

// Button states: the three pictures side by side in a caption button's
// image strip.
enum ButtonState : int32_t { kButtonNormal = 0, kButtonPressed = 1, kButtonHot = 2 };

// A caption button window the library makes (child windows far outside the
// window that only hold the button's pictures).
struct CaptionButtonSpec {
  int32_t slot;          // in the library's slot table, 1..6
  uint32_t neededFlag;   // the frame flag the window must have
  char glyph;            // its character in the Marlett font
  int32_t controlId;
};
// In creation order: close, restore, maximize, minimize, then the second
// row (never drawn).
std::vector<CaptionButtonSpec> CaptionButtonsFor(uint32_t frameFlags);
// The control id of a button's window: 0 for a button the frame flags do
// not give or for kNoButton.
int32_t CaptionButtonControlId(int32_t button, uint32_t frameFlags);
constexpr int32_t kFirstCaptionButtonId = 32191;
constexpr int32_t kLastCaptionButtonId = 32196;

// The window state numbers the caption reads (the record's state field).
constexpr uint32_t kMaximizedByCaption = 3;

struct ButtonBox {
  int32_t button = kNoButton;
  Rect box;  // window coordinates
};
// The drawn buttons, right to left: close, then maximize (restore when the
// state is 3) with frame flag 4, then minimize with frame flag 2.
std::vector<ButtonBox> CaptionButtonBoxes(int32_t windowWidth, uint32_t frameFlags, uint32_t state,
                                          const SkinMetrics& metrics);
// The button at a point in window coordinates; kNoButton below the caption
// band or beside the buttons.
int32_t CaptionButtonAt(int32_t x, int32_t y, int32_t windowWidth, uint32_t frameFlags,
                        uint32_t state, const SkinMetrics& metrics);

// The title: a text beginning with "%" loses it and is centred; any other is
// left-aligned and cut with an ellipsis.
struct TitleLayout {
  std::string text;
  bool isCentred = false;
  Rect box;
};
TitleLayout LayOutTitle(std::string_view title, int32_t windowWidth, int32_t leftPieceWidth,
                        int32_t rightPieceWidth, int32_t middleHeight, int32_t ledFrameWidth,
                        const SkinMetrics& metrics);

// The LED frame drawn: 2 active, 1 inactive, 0 none (no LED image, or a
// window without a system menu).
int32_t LedFrame(bool hasLedImage, bool isActive, bool hasSystemMenu);
// Where the LED frame goes, in window coordinates.
Rect LedBox(int32_t windowWidth, int32_t leftPieceWidth, int32_t rightPieceWidth,
            int32_t ledFrameWidth, int32_t ledHeight, const SkinMetrics& metrics);

// The caption tooltips: tool ids 6 (close), 4 (maximize/restore) and 3
// (minimize), their rectangles in client coordinates and their texts, which
// are fields 6, 4 (5 when maximized) and 3 of the caption-tips text.
struct CaptionTip {
  int32_t toolId = 0;
  Rect box;
  std::string text;
};
std::vector<CaptionTip> CaptionTips(std::string_view tipsText, int32_t windowWidth,
                                    uint32_t frameFlags, uint32_t state, bool hasMenuBar,
                                    const SkinMetrics& metrics);
// Field n (1-based) of a "|" list; "" when there is none.
std::string ListField(std::string_view list, size_t n);
// Tooltip texts are cut to this many bytes.
constexpr size_t kMaxTipBytes = 256;

// Hovering over the caption buttons.  The window remembers its hot button;
// the library remembers the window hovered last.  Moving onto a window
// resets the hot button of the window hovered before, then this window's
// old hot button, and draws the new one hot (pressed while it is the one
// held down).
struct HoverInput {
  bool lastIsOtherWindow = false;
  int32_t lastWindowHot = kNoButton;  // the hot button of the window hovered last
  int32_t hot = kNoButton;            // this window's
  int32_t pressed = kNoButton;        // this window's
  int32_t under = kNoButton;          // the button under the pointer
};
struct ButtonRedraw {
  bool onLastWindow = false;
  int32_t button = kNoButton;
  int32_t state = kButtonNormal;
};
struct HoverResult {
  std::vector<ButtonRedraw> redraws;
  int32_t lastWindowHot = kNoButton;
  int32_t hot = kNoButton;
};
HoverResult TrackHover(const HoverInput& input);

}  // namespace skinning
