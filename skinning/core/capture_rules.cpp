#include "core/capture_rules.h"

#include "core/frame_rules.h"
#include "core/opening_effects.h"

namespace skinning {

CaptureAction ActionOnActivateApp(bool isActivation, bool captureOn, bool isCaptured,
                                  uint32_t state, int32_t effect) {
  if (isActivation) return isCaptured ? CaptureAction::kRelease : CaptureAction::kNone;
  if (!captureOn || isCaptured || state == kHiddenState) return CaptureAction::kNone;
  return effect == kEffectSnapshotLater ? CaptureAction::kRefreshCaption : CaptureAction::kTakePicture;
}

bool PictureCoversWindow(int32_t pictureWidth, int32_t pictureHeight, int32_t windowWidth,
                         int32_t windowHeight) {
  return pictureWidth > 0 && pictureHeight > 0 && pictureWidth >= windowWidth &&
         pictureHeight >= windowHeight;
}

int32_t CaptureFlagAfter(int32_t flag, int32_t request) {
  if (request == 1) return -1;
  if (request == 0) return 0;
  return flag;
}

RedirectedPaint RedirectPaint(int32_t clientOriginX, int32_t clientOriginY, int32_t ownerLeft,
                              int32_t ownerTop, int32_t clientWidth, int32_t clientHeight) {
  RedirectedPaint paint;
  paint.originX = clientOriginX - ownerLeft;
  paint.originY = clientOriginY - ownerTop;
  paint.paint = {0, 0, clientWidth, clientHeight};
  return paint;
}

}  // namespace skinning
