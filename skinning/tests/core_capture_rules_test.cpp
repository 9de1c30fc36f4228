// The capture of inactive windows: what activation and deactivation do,
// when a picture may stand for a window, the capture flag, and where
// redirected painting lands.
#include <gtest/gtest.h>

#include <string>

#include "core/capture_rules.h"

namespace skinning {
namespace {

const char* Name(CaptureAction action) {
  switch (action) {
    case CaptureAction::kNone: return "none";
    case CaptureAction::kRelease: return "release";
    case CaptureAction::kTakePicture: return "take picture";
    case CaptureAction::kRefreshCaption: return "refresh caption";
  }
  return "?";
}

TEST(CaptureRules, ActivateApp) {
  const struct {
    const char* label;
    bool activation, captureOn, captured;
    uint32_t state;
    int32_t effect;
    CaptureAction expected;
  } cases[] = {
      {"deactivated", false, true, false, 0, 2, CaptureAction::kTakePicture},
      {"deactivated, effect -1", false, true, false, 0, -1, CaptureAction::kRefreshCaption},
      {"deactivated with the capture off", false, false, false, 0, 2, CaptureAction::kNone},
      {"deactivated while hidden", false, true, false, 0x97, 2, CaptureAction::kNone},
      {"deactivated twice", false, true, true, 0, 2, CaptureAction::kNone},
      {"activated while captured", true, true, true, 0, 2, CaptureAction::kRelease},
      // Captured before skCaptureEnable(0): activation must still let go.
      {"activated with the capture off", true, false, true, 0, 2, CaptureAction::kRelease},
      {"activated, not captured", true, true, false, 0, 2, CaptureAction::kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_STREQ(Name(c.expected),
                 Name(ActionOnActivateApp(c.activation, c.captureOn, c.captured, c.state, c.effect)));
  }
}

TEST(CaptureRules, PictureMustCoverTheWindow) {
  EXPECT_TRUE(PictureCoversWindow(400, 300, 400, 300));
  EXPECT_TRUE(PictureCoversWindow(500, 300, 400, 300));
  EXPECT_FALSE(PictureCoversWindow(400, 300, 1024, 740)) << "an older picture of a maximized window";
  EXPECT_FALSE(PictureCoversWindow(0, 0, 0, 0));
}

TEST(CaptureRules, CaptureFlag) {
  EXPECT_EQ(-1, CaptureFlagAfter(0, 1));
  EXPECT_EQ(0, CaptureFlagAfter(-1, 0));
  EXPECT_EQ(-1, CaptureFlagAfter(-1, 2)) << "any other value only asks";
  EXPECT_EQ(0, CaptureFlagAfter(0, -1));
}

TEST(CaptureRules, RedirectedPaintLandsAtTheControl) {
  const RedirectedPaint paint = RedirectPaint(230, 160, 200, 100, 80, 25);
  EXPECT_EQ(30, paint.originX);
  EXPECT_EQ(60, paint.originY);
  EXPECT_TRUE((Rect{0, 0, 80, 25}) == paint.paint);
}

}  // namespace
}  // namespace skinning
