// What the player's start-up and window procedure hand to the parts of the
// player that are not built yet: the open dispatcher and play lists, the
// playback engine, the panels and layouts, the configuration file, the
// browser panes, the picture view, the window recorder and the background
// sound.  Each function is named for its job and does nothing yet (a
// result says "nothing done"); with ORB_TRACE set each call leaves a line
// "orbplay NAME(...)" so tests see what was routed where.  ReadUplList and
// ResetDisplayState already work.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace player {

// Item list and open dispatch.
void OpenItem(const std::string& alternative, const std::string& item, int32_t a, int32_t b);
// ".m3u" play list: the list, "" when nothing was read.
std::string ReadPlaylist(const std::string& path);
// ".upl" list: every non-empty line, "@path@" expanded, as the item list
// (also kept as the player's list); "" and the list unchanged when the file
// cannot be read.
std::string ReadUplList(const std::string& path);
void OpenCommand();

// Playback engine.
void CloseMedia();
void StopMedia();
void PauseMedia();
// Transport and control-bar commands 51-57, 61-63, 71, 73, 76, 77, 101.
void PlaybackCommand(int32_t id, LPARAM lParam);
// Previous (-1) or next (+1) item.
void StepItem(int32_t direction);
// Leaves full screen or the zoomed video: display and slide mode back to
// normal, the full-screen holder hidden.
void ResetDisplayState();

// Panels and layouts.
void ShowPictureLayout();
void LayOutWindow();
void RepaintControlBar();
VOID CALLBACK VolumeFollowTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

// Configuration file: the window placement and skin.
struct WindowPlacement {
  int32_t x = 0, y = 0, width = 0, height = 0;
  int32_t layoutItem = 0;  // 0: none saved
  bool alwaysOnTop = false;
};
WindowPlacement LoadWindowConfigFile();
void SaveWindowConfigFile(const RECT& normalPosition);

// Browser panes, picture view, printing, clipboard, help, About.
void BrowserPaneCommand(int32_t id);
void PrintCommand();
void CopyPictureCommand();
void HelpCommand();
void ShowAboutBox();
void ShowPictureAgain();
void PaintPictureWindow(HWND window);
void ScrollPicture(HWND window, UINT message, WPARAM wParam);
void TogglePictureFit();

// Window recorder and codec.
void InstallScreenCodec(const std::string& argument);
void StartRequestedRecording();
void RefreshRecording();
std::string RecordingStatus();

// Background sound.
void StartBackgroundSound(const std::string& soundList, int32_t volume, int32_t intervalMs);
void StopBackgroundSound();
void RepeatBackgroundSound();
void ResumeAudioPlayer();

}  // namespace player
