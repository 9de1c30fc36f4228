// The audio player's program-wide values, kept together in one struct that
// lives for the whole process, and the operations its files call across.
// The main thread alone reads and writes them.
//
//   startup.cpp        entry, single instance, message loop, shut-down
//   main_window.cpp    WNDPROC: suite commands, timers, commands, close
//   player_pane.cpp    BuildPlayer and this program's pane rules
//   playback.cpp       OpenItem, StartPlayback, the meter tick, stepping
//   open_command.cpp   the chooser or the built-in picker, companions, FX
//   settings_file.cpp  PlayerSettingsFile
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/audio_settings.h"
#include "skin_texts.h"

namespace audio {

// Pane controls by command id.
constexpr int ID_PLAY = 51;
constexpr int ID_PAUSE = 52;
constexpr int ID_EFFECTS = 53;
constexpr int ID_COMPANION = 54;
constexpr int ID_PREVIOUS = 55;
constexpr int ID_NEXT = 56;
constexpr int ID_MIXER = 61;
constexpr int ID_MIXER2 = 62;
constexpr int ID_OPEN = 67;
constexpr int ID_STOP_QUIT = 71;
constexpr int ID_HELP = 74;
constexpr int ID_VOLUME = 76;
constexpr int ID_POSITION = 77;
constexpr int ID_REPEAT = 78;

// Text entries.
constexpr size_t T_TITLE = 1;
constexpr size_t T_ABOUT = 2;
constexpr size_t T_PICKER_TITLE = 4;
constexpr size_t T_PICKER_BUTTONS = 6;
constexpr size_t T_PICKER_LIST = 7;
constexpr size_t T_PICKER_TREE = 8;
constexpr size_t T_PICKER_FILTER = 9;
constexpr size_t T_PICKER_FIELD = 10;
constexpr size_t T_PICKER_NAME = 11;
constexpr size_t T_PLAY_FAILED = 12;
constexpr size_t T_HELP_TIP = 50;
constexpr size_t T_HELP_FILE = 60;
constexpr size_t T_CHOOSER = 78;
constexpr size_t T_USER_FOLDER = 81;
constexpr size_t T_HIDDEN_EXTENSIONS = 85;
constexpr size_t T_AUDIO_PATTERNS = 88;

// The meter tick: timer 1 of the main window.
constexpr UINT_PTR METER_TIMER_ID = 1;

struct AudioState {
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  std::string programFolder;  // ends in "\"
  std::string exeName;
  std::string basePath;
  // The command text: the start-up line, then each forwarded batch; what a
  // rebuild opens again.
  std::string commandText;
  bool multiItem = false;
  suite::TextTable texts;
  suite::MenuTables menus;

  HWND mainWindow = nullptr;
  HWND menuHolder = nullptr;

  // The play list.
  std::string playList;
  int32_t count = 0;
  int32_t index = 0;  // 1-based; 0 none

  // Forwarded command lines waiting for the queue timer.
  std::string queue;
  UINT_PTR queueTimer = 0;
  bool firstFlush = true;
  UINT_PTR sliderTimer = 0;

  int32_t layoutMode = 2;
  bool audioAvailable = false;
  bool streamOpen = false;
  bool meterRunning = false;
  bool barsDrawn = false;
  uint32_t startPosition = 0;  // of the open stream, ms
  uint32_t endPosition = 0;
  bool repeatDefault = true;
  bool chooserStarted = false;
  size_t companion = 0;  // 0, 8 or 10: a module index
  intptr_t dialUp = 0;
  bool rebuild = false;

  AudioSettings settings;
};

AudioState& Audio();

// startup.cpp
void RequestRebuild();

// main_window.cpp
extern "C" LRESULT __stdcall OrbAudioWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Writes one line of the program's call trace (ORB_TRACE).
void TraceStep(const std::string& name, const std::string& arguments, const std::string& result);

// player_pane.cpp
void SetUpPanels();
void BuildPlayer(int32_t mode);
HWND Pane();
HWND PaneControl(int id);
void ShowPaneControl(int id, bool shown);
void ResetLevelBars();
void SendToCompanion(uint32_t code, const std::string& text);

// playback.cpp
void OpenItem(const std::string& typedName, std::string item, int32_t a, int32_t b);
void StartPlayback(const std::string& item, int32_t a, int32_t b);
void CloseStream();
int32_t ChannelIsActive();
void ChannelPause();
void ChannelStart();
void ChannelStop();
int32_t ChannelSetPosition(uint32_t position);
void PreviousItem();
void NextItem();
void SeekPercent(int32_t percent);
void PlayCommand();
void PauseCommand();
void StopAndQuit();
void OpenList(const std::string& list);
void StopMeterTimer();
VOID CALLBACK MeterTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
int32_t CurrentPercent();

// open_command.cpp
void OpenCommand();
void ToggleFxPanel();
void LaunchModule();
// The media browser (or another chooser) as the text table names it.
std::string ChooserClass();
// The items of an ".m3u" play list as an ItemList; "" when it cannot be read.
std::string ReadM3u(const std::string& path);

// settings_file.cpp
void PlayerSettingsFile(int32_t* x, int32_t* y, int32_t* width, int32_t* height, int32_t mode);

}  // namespace audio
