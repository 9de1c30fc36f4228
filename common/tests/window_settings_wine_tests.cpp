// The two window settings the picture tool and the skinning library read,
// against the system's own answers as the test switches them (each is put
// back as it was, for this session only).
#include <gtest/gtest.h>
#include <windows.h>

#include "window_settings.h"

namespace {

// Sets a BOOL system setting for the test's lifetime.
class ScopedSetting {
 public:
  ScopedSetting(UINT get, UINT set, bool on) : set_(set) {
    BOOL was = FALSE;
    SystemParametersInfoA(get, 0, &was, 0);
    old_ = was != FALSE;
    Apply(on);
  }
  ~ScopedSetting() { Apply(old_); }
  ScopedSetting(const ScopedSetting&) = delete;
  ScopedSetting& operator=(const ScopedSetting&) = delete;

 private:
  void Apply(bool on) {
    // SPI_SETMENUANIMATION takes the value in pvParam, SPI_SETDRAGFULLWINDOWS
    // in uiParam.
    if (set_ == SPI_SETMENUANIMATION) {
      SystemParametersInfoA(set_, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(on)), 0);
    } else {
      SystemParametersInfoA(set_, on ? TRUE : FALSE, nullptr, 0);
    }
  }
  UINT set_;
  bool old_ = false;
};

TEST(WindowSettings, MenuEffectFollowsTheSystemSetting) {
  for (bool on : {true, false, true}) {
    ScopedSetting setting(SPI_GETMENUANIMATION, SPI_SETMENUANIMATION, on);
    EXPECT_EQ(on, suite::ISMENUEFFECTON()) << on;
  }
}

TEST(WindowSettings, FullWindowDragFollowsTheSystemSetting) {
  for (bool on : {true, false, true}) {
    ScopedSetting setting(SPI_GETDRAGFULLWINDOWS, SPI_SETDRAGFULLWINDOWS, on);
    EXPECT_EQ(on, suite::ISFULLWINDOWDRAGON()) << on;
  }
}

}  // namespace
