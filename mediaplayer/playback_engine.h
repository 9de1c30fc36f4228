// The playback engine: one media item at a time, through the audio library
// for the audio patterns of text entry 88 and through the imaging library's
// multimedia layer for the rest; the 100 ms playback tick that moves the
// position bar, feeds the level meter and advances the item list; and the
// transport commands of the control bar (play, pause, stop, previous,
// next, seek, volume, mute).  Owned by the main thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/playback_rules.h"

namespace player {

class MediaBackend;

// The playback tick: timer 1 of the main window.
constexpr UINT_PTR PLAYBACK_TIMER_ID = 1;

// Player states as the imaging library's events set them.
enum PlayerMediaState : int32_t { MEDIA_STOPPED = 1, MEDIA_PAUSED = 2, MEDIA_PLAYING = 3 };
// Media kinds of the media layout.
enum MediaKind : int32_t { MEDIA_KIND_NONE = 0, MEDIA_KIND_VIDEO = 2, MEDIA_KIND_AUDIO = 8 };

struct EngineState {
  MediaBackend* media = nullptr;  // the open medium's back-end; null when none
  int32_t playerState = MEDIA_STOPPED;  // written only by the imaging events
  ClipRange clip;
  bool videoShown = false;
  int32_t mediaKind = MEDIA_KIND_NONE;
  bool ticking = false;       // timer 1 runs
  bool levelsShown = false;   // the meter has shown a level
  int32_t direction = 0;      // 1 after "previous", 2 after "next"
  int32_t singlePassCounter = 0;  // 0 = off
  bool indexActive = false;
  bool muted = false;
  int32_t savedVolume = 0;    // the mixer volume before mute
  std::string lastSeekItem;
};

EngineState& Engine();
// True while the audio library plays the current item.
bool IsAudioLibraryStream();

// Engine operations (on the open medium's back-end).
void CloseMedia();
// 2 audio library, 1 imaging library, else the failing call's result.
int32_t OpenMedia(HWND window, const std::string& path, bool noAudioLibrary);
// 1 playing; -99 when the audio library would not play (the stream is
// then closed); else the imaging library's failure.
int32_t PlayMedia(uint32_t from, uint32_t to);
int32_t GetPlayPercent();
bool IsPlaying();
void PauseMedia();
void ResumeMedia();
void StopMedia();
void SeekMedia(uint32_t position);
int32_t GetPlayerState();

// Opens and plays one item: 1 playing; -8 for an empty item; otherwise the
// failing open or play result (also reported in the warning box).
int32_t StartPlayback(const std::string& item, int32_t from, int32_t to);
// Timer 1 of the main window, every 100 ms while an item plays.
VOID CALLBACK MeterTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
// Stops timer 1 and clears the tick flag (a new StartPlayback or play
// starts it again).
void StopPlaybackTick();

// Transport and control-bar commands 51-57, 61-63, 71, 73, 76, 77, 101.
void PlaybackCommand(int32_t id, LPARAM lParam);
// Saves the video frame shown (63) when a video is paused or playing.
void SaveFrameCommand();
// Previous (-1) or next (+1) item.
void StepItem(int32_t direction);
// The audio player this player paused when it opened media (code 8) is
// resumed (code 9).
void ResumeAudioPlayer();
// The mixer volume a mute took away is given back when the player ends.
void RestoreMutedVolume();

// The imaging library's player events (the exported _leadevent).
int32_t OnImagingEvent(int32_t event);

}  // namespace player
