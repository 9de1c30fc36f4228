// The effects panel's settings file orbAudioFX.cfg (FxSettings): loaded
// into the panel's controls when it is made, saved from them when it goes.
#pragma once

#include <windows.h>

#include <cstdint>

namespace picker {

// Mode 0 loads the file into the panel's bars (ids 1-10) and boxes (11-17);
// any other mode saves them.  A missing, unreadable or empty file leaves the
// controls as they are.  The file is written whole to a temporary file
// beside it, which then replaces it, so a failed write never leaves half a
// line behind.
void FxSettingsFile(HWND panel, int32_t mode);

}  // namespace picker
