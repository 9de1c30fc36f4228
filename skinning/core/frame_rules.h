// The rules of a skinned top-level window's frame: the styles it gets, its
// frame flags, where it goes when it is skinned, the client area inside the
// skin's frame, the hit codes, the smallest size it may take.  The window
// procedure (frame_proc.cpp) and skinning (skin_window.cpp) apply them.
#pragma once

#include <cstdint>

#include "core/geometry.h"

namespace skinning {

// Style bits the rules read, with the system's values.
namespace style {
constexpr uint32_t kPopup = 0x80000000u;
constexpr uint32_t kVisible = 0x10000000u;
constexpr uint32_t kDisabled = 0x08000000u;
constexpr uint32_t kClipSiblings = 0x04000000u;
constexpr uint32_t kClipChildren = 0x02000000u;
constexpr uint32_t kVScroll = 0x00200000u;
constexpr uint32_t kHScroll = 0x00100000u;
constexpr uint32_t kSysMenu = 0x00080000u;
constexpr uint32_t kThickFrame = 0x00040000u;
constexpr uint32_t kMinimizeBox = 0x00020000u;
constexpr uint32_t kMaximizeBox = 0x00010000u;
constexpr uint32_t kModalFrame = 0x80u;  // DS_MODALFRAME
}  // namespace style

namespace exstyle {
constexpr uint32_t kDlgModalFrame = 0x1u;
constexpr uint32_t kToolWindow = 0x80u;
constexpr uint32_t kWindowEdge = 0x100u;
constexpr uint32_t kClientEdge = 0x200u;
constexpr uint32_t kStaticEdge = 0x20000u;
}  // namespace exstyle

// Frame flags (`FrameRecordFlags`), passed to the engine's SKWINDOWSTYLE.
namespace frameflag {
constexpr uint32_t kClose = 0x1;
constexpr uint32_t kMinimize = 0x2;
constexpr uint32_t kMaximize = 0x4;
constexpr uint32_t kSecondRow = 0x8;
constexpr uint32_t kNoMenu = 0x40;
}  // namespace frameflag

// The extended style without the system's edges (client, static and window
// edge, dialog modal frame).
uint32_t SkinnedExStyle(uint32_t initialExStyle);
// A popup with system menu and sizing frame that clips its children and
// siblings, keeping disabled, scroll bars and visibility from the initial
// style.
uint32_t SkinnedStyle(uint32_t initialStyle);
uint32_t FrameFlags(uint32_t initialStyle, bool hasMenu);
// A window with neither minimize nor maximize box gets the tool caption
// (only a close button).
bool HasToolCaption(uint32_t initialStyle);
bool HasModalFrame(uint32_t initialStyle);

// Where a window goes when it is skinned, from its window rectangle and
// client size before any change.
struct SkinnedPlacement {
  int32_t borderWidth = 0;  // the system frame it had on each side
  int32_t extraTop = 0;     // what it had above the client besides the caption
  int32_t left = 0, top = 0, width = 0, height = 0;
  Rect menuBar;  // empty without a menu
};
// captionHeight: the system's caption height for the window (SM_CYSMCAPTION
// for tool windows, else SM_CYCAPTION); systemMenuHeight: SM_CYMENU.
SkinnedPlacement PlaceSkinnedWindow(const Rect& window, int32_t clientWidth, int32_t clientHeight,
                                    int32_t captionHeight, const SkinMetrics& metrics, bool hasMenu,
                                    int32_t systemMenuHeight);

// WM_NCCALCSIZE: the proposed rectangle before the previous procedure takes
// its own borders off.  `thickOrMdi`: the window has an MDI client or its
// initial style had a sizing frame.
Rect SkinnedNcCalcSize(const Rect& proposed, int32_t borderWidth, int32_t extraTop, bool thickOrMdi,
                       bool hasMenuBar, int32_t systemMenuHeight, const SkinMetrics& metrics);

// WM_NCHITTEST: the previous procedure's code as the skinned frame answers
// it.  19 (HTOBJECT) over a caption button; the caption band, the system's
// caption and its buttons are all caption (HTCAPTION, 2); the sizing borders
// count only for a window that had a sizing frame.
constexpr int32_t kHitObject = 19;
int32_t SkinnedHitTest(int32_t previousCode, bool onCaptionButton, uint32_t initialStyle);

// WM_GETMINMAXINFO: the caption's left and right pieces side by side (and
// the LED with room, when the skin has one) above the caption band and the
// bottom frame.
Size MinimumTrackSize(int32_t captionLeftWidth, int32_t captionRightWidth, int32_t ledImageWidth,
                      const SkinMetrics& metrics);

// A window-position change with exactly these flags (hide, no activation,
// no z-order change, no move, no size) marks the window hidden.
constexpr uint32_t kHiddenState = 0x97;
bool IsHideChange(uint32_t windowPosFlags);

}  // namespace skinning
