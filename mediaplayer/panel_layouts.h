// The player's three layouts of the control bar (media, document,
// picture) built from the shared player panels, and what the rest of the
// player asks of the bar: the level meter, the scrolling title, the volume
// bar following the mixer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace player {

// Hands the panels what is the player's own (main window, texts, commands,
// dropped files); once, after the main window exists.
void SetUpPanels();

void ShowPictureLayout();
// The media layout for kind 2 (video) or 8 (audio); the document layout.
void ShowMediaLayout(int32_t kind);
void ShowDocumentLayout();
// The level meter: levels 0-128 each (128 full scale); blanked.
void DrawLevelMeter(int32_t left, int32_t right);
void BlankLevelMeter();
// The scrolling title shows `title`; it moves on at every playback tick.
void ShowPlayingTitle(const std::string& title);
void TickPlayingTitle();
void RepaintControlBar();
VOID CALLBACK VolumeFollowTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

}  // namespace player
