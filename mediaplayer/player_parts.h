// The player's parts as its start-up, window procedure and commands call
// them, each named for its job and declared with the file that holds it;
// the open dispatcher is declared in open_item.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "imaging.h"
#include "open_item.h"
#include "panel_layouts.h"
#include "picture_view.h"
#include "window_layout.h"

namespace player {

// Leaves full screen or the zoomed video: display and slide mode back to
// normal, the full-screen holder hidden (window_layout.cpp).
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
