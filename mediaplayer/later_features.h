// What the player's start-up and window procedure hand to the parts of the
// player that are not built yet: the open dispatcher and play lists, the
// playback engine, the effects panel, the
// browser panes, the picture view, the window recorder and the background
// sound.  Each function is named for its job and does nothing yet (a
// result says "nothing done"); with ORB_TRACE set each call leaves a line
// "orbplay NAME(...)" so tests see what was routed where.  The open
// dispatcher is declared in open_item.h; ResetDisplayState works.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "imaging.h"
#include "open_item.h"
// The control bar's layouts and the window layout are built; their callers
// find them through here as before.
#include "panel_layouts.h"
#include "window_layout.h"

namespace player {

// The file picker asks where the saved video frame (a BMP in the temporary
// folder) goes, copies it there and deletes the temporary file.
void ChooseFrameTarget(const std::string& temporaryFile);
// Leaves full screen or the zoomed video: display and slide mode back to
// normal, the full-screen holder hidden.
void ResetDisplayState();

// The effects panel of an audio-library stream.
void CreateEffectsPanelIfMissing();
void ToggleEffectsPanel();

// Browser panes, picture view, printing, clipboard, help, About.
void BrowserPaneCommand(int32_t id);
void CreateBrowserPane(const std::string& item);
// Hides the "Content" pane and, unless the layout keeps it, the "Index" pane.
void HideBrowserPanes();
// Back (-1) or forward (+1) in the visible "Content" pane.
void StepContentPane(int32_t direction);
void ShowPicture(const std::string& item);
void PrintCommand();
// Command 72 (picture_copy.cpp).
void CopyPictureCommand();
// The picture the picture view shows: its bitmap (owned by the view) and
// path; no bitmap while none is shown.
struct ShownPicture {
  pBITMAPHANDLE bitmap = nullptr;
  std::string path;
};
ShownPicture CurrentShownPicture();
// About box and help (about_help.cpp).
void HelpCommand();
void ShowAboutBox();
void ShowPictureAgain();
void PaintPictureWindow(HWND window);
void ScrollPicture(HWND window, UINT message, WPARAM wParam);
void TogglePictureFit();

// The screen codec (screen_codec.cpp): copied into the system folder and
// registered when missing.
void InstallScreenCodec(const std::string& argument);

// Window recorder (recording.cpp).  The frame rate comes with code 20.
void SetRecordingFrameRate(int32_t requested);
void StartRequestedRecording();
void StopRecording();
void RefreshRecording();
std::string RecordingStatus();

// Background sound (background_sound.cpp).
void StartBackgroundSound(const std::string& soundList, int32_t volume, int32_t intervalMs);
void StopBackgroundSound();
void RepeatBackgroundSound();

}  // namespace player
