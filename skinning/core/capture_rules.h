// The capture of inactive windows: when the application is deactivated a
// skinned window with a frame picture is shown from that picture until it is
// activated again.  What WM_ACTIVATEAPP does to a window, and where a
// skinned control's redirected painting lands in the picture.
#pragma once

#include <cstdint>

#include "core/geometry.h"

namespace skinning {

enum class CaptureAction {
  kNone,
  kRelease,        // back to painting live: the picture's caption, the picture, then a full redraw
  kTakePicture,    // the whole window painted into its picture (skSnapShotOn)
  kRefreshCaption  // effect -1: the picture holds the window already; caption and border anew
};

// Activation releases a captured window whatever the capture flag says (a
// window captured before the capture was switched off must not stay
// frozen); the flag only decides whether a deactivation starts a capture.
// A hidden window (state 0x97) or one already captured starts none.
CaptureAction ActionOnActivateApp(bool isActivation, bool captureOn, bool isCaptured,
                                  uint32_t state, int32_t effect);

// A window is shown from its picture only while the picture covers it: a
// picture of another size (an older one, kept while the window is
// maximized) would show the window wrongly.
bool PictureCoversWindow(int32_t pictureWidth, int32_t pictureHeight, int32_t windowWidth,
                         int32_t windowHeight);

// The capture flag as skCaptureEnable keeps it: 1 switches it on (-1), 0
// off, any other value only asks.
int32_t CaptureFlagAfter(int32_t flag, int32_t request);

// Where a skinned control's painting goes in its owner's picture: the
// picture's origin moves to the control's client origin (given relative to
// the owner's window rectangle), and the area to paint is the control's
// client area in its own coordinates.
struct RedirectedPaint {
  int32_t originX = 0, originY = 0;
  Rect paint;
};
RedirectedPaint RedirectPaint(int32_t clientOriginX, int32_t clientOriginY, int32_t ownerLeft,
                              int32_t ownerTop, int32_t clientWidth, int32_t clientHeight);

}  // namespace skinning
