#include "window_settings.h"

#include <windows.h>

namespace suite {

namespace {

bool SettingOn(UINT action) {
  BOOL on = FALSE;
  return SystemParametersInfoA(action, 0, &on, 0) && on;
}

}  // namespace

bool ISMENUEFFECTON() { return SettingOn(SPI_GETMENUANIMATION); }

bool ISFULLWINDOWDRAGON() { return SettingOn(SPI_GETDRAGFULLWINDOWS); }

}  // namespace suite
