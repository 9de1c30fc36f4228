// What the player's start-up and window procedure hand to the part of the
// player that is not built yet (the saved frame's target) and where its
// callers find the parts built since.  Each function is named for its job and does nothing yet (a
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
// So are the picture view, the slide show and the browser panes.
#include "picture_view.h"

namespace player {

// The file picker asks where the saved video frame (a BMP in the temporary
// folder) goes, copies it there and deletes the temporary file.
void ChooseFrameTarget(const std::string& temporaryFile);
// Leaves full screen or the zoomed video: display and slide mode back to
// normal, the full-screen holder hidden.
void ResetDisplayState();

// The effects panel of an audio-library stream (effects_panel.cpp): made
// hidden when missing; shown or hidden by button 53 (made first when
// missing); whether one exists.
void CreateEffectsPanelIfMissing();
void ToggleEffectsPanel();
bool EffectsPanelOpen();

// Command 72 (picture_copy.cpp).
void CopyPictureCommand();
// About box and help (about_help.cpp).
void HelpCommand();
void ShowAboutBox();

// The screen codec (screen_codec.cpp): copied into the system folder and
// registered when missing.
void InstallScreenCodec(const std::string& argument);

// Window recorder (recording.cpp).  The frame rate comes with code 20.
void SetRecordingFrameRate(int32_t requested);
void StartRequestedRecording();
// With `closePlayer` (the single pass has ended) the player closes too.
void StopRecording(bool closePlayer);
void RefreshRecording();
std::string RecordingStatus();

// Background sound (background_sound.cpp).
void StartBackgroundSound(const std::string& soundList, int32_t volume, int32_t intervalMs);
void StopBackgroundSound();
void RepeatBackgroundSound();

}  // namespace player
