// The player's window placement: the configuration file (window rectangle,
// the two remembered folders, the control bar's place, the layout item and
// the always-on-top flag), the video's place for each layout item, the
// compact and off-screen placement while nothing is to be shown, the zoom
// to the whole screen, and the picture holder beside the index pane.
#pragma once

#include <windows.h>

#include <cstdint>

namespace player {

struct WindowPlacement {
  int32_t x = 0, y = 0, width = 0, height = 0;
  int32_t layoutItem = 0;  // 0: none saved
  bool alwaysOnTop = false;
};

// Reads the configuration file (a missing, empty or damaged one gives the
// default size, centred) and starts the skin engine with the skin in
// force.
WindowPlacement LoadWindowConfigFile();
// Writes the file through a temporary file renamed over it; nothing in
// kiosk or recording mode or when the option line disables the file.
void SaveWindowConfigFile(const RECT& normalPosition);

// Places the video for the current layout item.
void LayOutVideo();
// Undoes the compact placement (SetWindowPos flags as given).
void RestoreFromCompact(UINT flags);
// Ends the zoom to the whole screen.
void LeaveZoom();
// The picture holder takes the content area beside the index pane.
void PlacePictureHolder();

}  // namespace player
