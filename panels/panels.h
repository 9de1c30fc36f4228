// The player panels, compiled into the media player and the audio player:
// the control bar (a skinned pane window of class "SKPANE" cut to its
// bitmap), its panel definition file, the controls on it by command id,
// docking, the level meter ("VUMETER"), the scrolling title ("MARQUEE") and
// the wave mixer's volume.  Each program owns its one instance and hands
// over what is its own (main window, texts, where commands and dropped
// files go) through a PanelHost; the layouts that choose the controls are
// the program's.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/level_meter.h"
#include "skin_texts.h"

namespace panels {

// Window handles by command id 0..78.
constexpr int kControlCount = 79;

struct PanelHost {
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  std::string programFolder;  // ends in "\"
  std::string paneTitle;      // the pane's window text
  std::function<HWND()> mainWindow;
  // Option line field 5 (where the pane docks) and field 22 (the controls'
  // images come from the panel definition).
  std::function<int32_t()> dockField;
  std::function<bool()> definitionImages;
  // WM_COMMAND of the pane and its controls goes here; its result is the
  // pane's answer.
  WNDPROC commandProcedure = nullptr;
  // Files dropped on the pane, in order.
  std::function<void(const std::vector<std::string>&)> filesDropped;
  // True while the program's display is zoomed: the docked pane may then be
  // dragged by its body too (a floating pane always may).
  std::function<bool()> zoomed;
  // After each drag by the body, with the pane.
  std::function<void(HWND)> afterDrag;
  // The main window class of the other player, whose pane is kept on this
  // one wherever this one moves; empty: none.
  std::string companionClass;
  // The pane's right-click menu and the always-on-top flag it toggles
  // (command 101); null menu: none.
  std::function<HMENU()> popupMenu;
  std::function<void(bool)> setAlwaysOnTop;
  std::function<bool()> alwaysOnTop;
  // A warning for the user (the program's warning box).
  std::function<void(const std::string&)> warn;
  // Whether double clicks on the body pass commands 54 (left) and 53
  // (right); empty: always.
  std::function<bool()> doubleClicksActive;
};

struct PanelState {
  PanelHost host;
  HWND pane = nullptr;
  HBITMAP paneBitmap = nullptr;
  int32_t paneWidth = 0;
  int32_t paneHeight = 0;
  suite::TextTable definition;
  std::vector<HWND> controls = std::vector<HWND>(kControlCount, nullptr);
  int32_t paneX = -1;  // remembered screen position; -1, -1: none
  int32_t paneY = -1;
  bool offScreen = false;  // the main window is parked off the screen: no docking
  HWND busyAnimation = nullptr;
  // Level meter.
  HWND meter = nullptr;
  LevelMeterModel meterModel;
  // Scrolling title.
  HWND marquee = nullptr;
  // Mixer 0 and its speakers' volume control (found on first use).
  HMIXER mixer = nullptr;
};

PanelState& Panels();

// The panel definition file named by the skin ("POPUPPANE"); false when
// it is missing or empty.
bool ReadPanelDefinition();

// Makes the pane for a layout value (1 document, 2 video, 4 picture, 8
// audio); null when there is no panel definition or pane bitmap.
HWND CreatePane(int32_t layoutValue);
// The control bar of the other player: the pane window its main window's
// thread made (the main window found by its class, e.g. "ORBAUDIO");
// null when that player does not run or shows no pane.
HWND FindPaneOf(const char* mainWindowClass);
// Remembers the pane's place, destroys its controls and the pane.
void DestroyPane();
LRESULT CALLBACK PaneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Keeps a docked pane at its corner of the main window.
void DockPane();
// The main window was shown or hidden: the pane follows (an owned popup
// would otherwise stay on the screen of a hidden player).
void ShowPaneWithMainWindow(bool shown);

// The image of panel id `id` for a layout value and its place on the pane.
// *owned: the caller deletes the image (it is the engine's otherwise).
HBITMAP LoadPanelImages(int32_t id, int32_t* x, int32_t* y, int32_t layoutValue, bool* owned);
// kind 1 image button, 2 track bar, 3 check button; `show` a ShowWindow
// command.  A control that exists is only shown.
void CreatePanelControl(int32_t kind, int32_t layoutValue, int32_t id, const std::string& tip, int show);
void DestroyPanelControl(int32_t id);
// The busy animation, then the controls in `order`.
void DestroyPanelControls(const std::vector<int32_t>& order);
HWND Control(int32_t id);

// Level meter.
HWND VUMETERWIN(HWND parent, HBITMAP image, int32_t x, int32_t y);
LRESULT CALLBACK VuMeterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void DrawLevelBars(HDC dc, int32_t left, int32_t right);
// The meter, when there is one, shows the levels 0..128 (blank: 0, 0
// until every step is dark).
void ShowLevels(int32_t left, int32_t right);

// Scrolling title over the pane.
HWND CreateMarquee();
LRESULT CALLBACK MarqueeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Mixer 0's speakers volume in percent; -1 without a mixer or control.
int32_t MixerGetVolume(HMIXER mixer);
// 1 when the mixer took the volume (held within 0..100), else 0.
int32_t MixerSetVolume(HMIXER mixer, int32_t volume);
// The speakers' volume control (cbStruct is sizeof(MIXERCONTROLA), 148 on
// i686: the mixer rejects any other size).
bool FindVolumeControl(HMIXER mixer, MIXERCONTROLA* control);

}  // namespace panels
