// The media player's process-wide state, kept together in one place: what
// start-up reads and creates, the item list, and what the window procedure
// and its commands share.  Owned by the main thread.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/option_line.h"
#include "skin_texts.h"

namespace player {

// The player's private messages.
constexpr UINT WM_PLAYER_LIST_ARRIVED = WM_USER + 3;  // the kept list text is opened
// From the window recorder: count a frame and refresh, or count only.
constexpr UINT WM_RECORDER_FRAME = 0x7EA;
constexpr UINT WM_RECORDER_FRAME_AGAIN = 0x7ED;
constexpr UINT WM_RECORDER_COUNT = 0x7EC;

// Display states.
enum DisplayState : int32_t { DISPLAY_NORMAL = 0, DISPLAY_FULL_SCREEN = 1, DISPLAY_ZOOMED = 2 };
// Slide modes.
enum SlideMode : int32_t { SLIDE_NONE = 0, SLIDE_BY_HAND = 1, SLIDE_TIMED = 2 };

// The controls table: window handles by command id 0-78.
constexpr int CONTROL_COUNT = 79;
constexpr int ID_PLAY = 51;
constexpr int ID_NEXT = 56;
constexpr int ID_POSITION = 77;

// Text entries the start-up and the window procedure use.
enum TextEntry : size_t {
  T_TITLE = 1,
  T_CAPTION_TIPS = 13,
  T_OPTION_LINE = 49,
  T_CURRENT_NOTE = 80,
  T_QUIT_QUESTION = 82,
  T_QUIT_BUTTONS = 83,
  T_SLIDE_SHOW_SUFFIX = 89,
  T_SKIN_FILE = 91,
};

// SC_CLOSE with lParam 0 only hides the player; any other lParam closes it.
// Code 10 and WM_CLOSE pass the control bar's window when there is one and
// this value when not, so they close a player without a control bar too.
constexpr LPARAM CLOSE_FOR_REAL = 1;

struct PlayerState {
  HINSTANCE instance = nullptr;
  std::string programFolder;  // ends in "\"
  std::string exeName;
  std::string basePath;       // folder + name without extension
  std::string commandLine;    // trimmed; an ItemList after ParseCommandLine
  suite::TextTable texts;
  suite::MenuTables menus;
  HICON icon = nullptr;
  std::string skinFile = "LUMINAR.SKL";

  HWND mainWindow = nullptr;
  HWND contentHolder = nullptr;
  HWND menuHolder = nullptr;
  HWND statusWindow = nullptr;
  HWND videoWindow = nullptr;
  HWND zoomHolder = nullptr;
  HWND popupWindow = nullptr;
  HWND pictureHolder = nullptr;  // made by the picture view
  HMENU popup1 = nullptr;
  HMENU popup3 = nullptr;
  HMENU popup4 = nullptr;

  bool recordingKeyword = false;  // "SSL2AVI"
  bool restartAtExit = false;
  bool reroute = false;
  bool multiItem = false;
  std::string autorunItem;

  // The item list.
  std::string itemList;
  int32_t itemCount = 0;
  int32_t itemIndex = 0;
  std::string currentItem;
  // Display times of a slide show's pictures, "|"-separated, parallel to
  // the item list; "" when the list came from elsewhere.
  std::string displayTimes;
  std::string slideShowFolder;  // of the last slide-show file read
  bool captionBand = false;      // the slide show's captions lie on a black band
  bool keepHiddenWindow = false; // the next picture leaves a hidden main window hidden
  bool indexRepositioning = false;  // the content holder is being laid out (WM_SIZE)
  // The folder of the last item the open command opened, where it starts
  // next time ("" until then: the program folder).
  std::string folderA;

  // Window-procedure state.
  int32_t displayState = DISPLAY_NORMAL;
  int32_t slideMode = SLIDE_NONE;
  bool fullScreenOverPicture = false;
  bool startedByBrowser = false;
  bool moduleMode = false;
  int32_t moduleDisplayTime = 0;
  int32_t recordingMode = 0;  // 1 once code 20 asked for a recording of the full-screen show
  HWND reportWindow = nullptr;
  std::string burnHandOff;
  std::string pendingList;   // list text waiting for WM_PLAYER_LIST_ARRIVED
  std::string queue;         // forwarded command lines not yet opened
  bool firstQueue = true;
  bool menuAnimationOff = false;
  int32_t layoutItem = 0;      // the checked layout item, 303-308
  int32_t layoutMode = 0;      // the panels' layout: 1 document, 2 media, 4 picture
  bool lastStepBackwards = false;  // the slide show's last step went back
  int32_t savedLayoutItem = 0;
  int32_t recorderCounters[3] = {0, 0, 0};
  bool recorderLoaded = false;
  bool startedMediaBrowser = false;
  HWND companionModule = nullptr;
  bool pausedAudioPlayer = false;
  intptr_t dialUpConnection = 0;

  // Thread timers (SetTimer with no window gives its own ids).
  UINT_PTR volumeTimer = 0;
  UINT_PTR queueTimer = 0;
  UINT_PTR slideTimer = 0;
  UINT_PTR transitionTimer = 0;
  UINT_PTR soundTimer = 0;

  bool audioAvailable = false;
  HMIXER mixer = nullptr;
  int32_t startVolume = OPTION_KEEP_VOLUME;  // what field 14 set
  int32_t earlierVolume = -1;                // the master volume before it
  uintptr_t gdiplusToken = 0;
  bool alwaysOnTop = false;

  // Window layout: the compact and off-screen placement and what it undoes.
  bool compact = false;
  bool offScreen = false;
  RECT normalRect = {0, 0, 0, 0};   // the main window's rectangle before going compact
  POINT clientOrigin = {0, 0};      // its client origin before going off the screen
  std::string folderB;              // where a saved frame goes
  std::string configPath;           // the configuration file; "" for none
  bool taskbarHidden = false;       // the zoom hid the taskbar
};

PlayerState& Player();
// The Windows folder, or with `system` the system folder, with a final
// backslash; "" when the system cannot say.
std::string WindowsFolder(bool system);
// The option line over the text table's entry 49.
OptionLine& Options();

// The window procedure of every player window and of its thread timers
// (exported as WNDPROC).
LRESULT CALLBACK PlayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Suite commands (copy_data.cpp).
LRESULT OnSuiteCommand(HWND window, WPARAM wParam, LPARAM lParam);
// The queue timer fired: the collected list goes to the player itself.
void OnQueueTimer();
// WM_PLAYER_LIST_ARRIVED: the kept text becomes the item list and its first
// item is opened.
void OnListArrived();

// WM_COMMAND (commands.cpp); returns what the procedure returns.
LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam);
// Menu check marks.
bool IsMenuItemChecked(int32_t id);
void SetMenuItemCheck(int32_t id, bool checked);
// Full screen (403, 404, 405).
void EnterFullScreen(int32_t id);
// The control bar (the panels' pane) and its control `id`; null when none.
HWND ControlBar();
HWND ControlOf(int id);
// Shows or hides the control bar's button `id` when it exists.
void ShowControl(int id, bool show);

// WM_SYSCOMMAND SC_CLOSE of the main window (close.cpp): the burn
// hand-off, then hiding (lParam 0) or the real close.
LRESULT OnCloseCommand(HWND window, LPARAM lParam);

// Master volume of mixer 0 in percent (startup.cpp); -1 without a mixer.
int32_t MasterVolume();
bool SetMasterVolume(int32_t percent);

}  // namespace player
