// The player's menu and button commands (WM_COMMAND): the "END" action,
// the command table, check marks, the layout items and full screen.
#include <windows.h>

#include <string>

#include "player_parts.h"
#include "playback_engine.h"
#include "player_state.h"
#include "skin_texts.h"
#include "themecore.h"
#include "thread_timer.h"

namespace player {

namespace {

HMENU PopupOf(int32_t id) {
  PlayerState& p = Player();
  switch (id / 100) {
    case 1: return p.popup1;
    case 3: return p.popup3;
    case 4: return p.popup4;
  }
  return nullptr;
}

void ToggleCheck(int32_t id) { SetMenuItemCheck(id, !IsMenuItemChecked(id)); }

void ChooseLayoutItem(int32_t id) {
  PlayerState& p = Player();
  for (int32_t item = 303; item <= 308; ++item) {
    if (IsMenuItemChecked(item)) p.savedLayoutItem = item;
  }
  for (int32_t item = 303; item <= 308; ++item) SetMenuItemCheck(item, false);
  SetMenuItemCheck(id, true);
  p.layoutItem = id;
  LayOutVideo();
}

// Full screen needs the full-screen holder; without one nothing happens.
void PlaceZoomHolder(PlayerState& p) {
  if (p.fullScreenOverPicture) {
    HWND insertAfter = GetWindow(p.zoomHolder, GW_HWNDPREV);
    DestroyWindow(p.zoomHolder);
    p.zoomHolder = p.contentHolder ? SKHOLDER(p.contentHolder, "SKZOOM", 0, 0, PlayerWindowProc) : nullptr;
    if (p.zoomHolder == nullptr) {
      p.displayState = DISPLAY_NORMAL;
      return;
    }
    HWND over = p.pictureHolder ? p.pictureHolder : p.contentHolder;
    RECT area = {};
    GetClientRect(over, &area);
    POINT origin = {0, 0};
    ClientToScreen(over, &origin);
    SetWindowPos(p.zoomHolder, insertAfter ? insertAfter : HWND_TOP, origin.x, origin.y, area.right, area.bottom,
                 SWP_SHOWWINDOW);
    if (ControlBar() != nullptr) SetForegroundWindow(ControlBar());
  } else {
    SetWindowPos(p.zoomHolder, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_SHOWWINDOW);
  }
  if (p.recordingMode != 0) StartRequestedRecording();
}

}  // namespace

void ShowControl(int id, bool show) {
  HWND control = ControlOf(id);
  if (control != nullptr) ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

bool IsMenuItemChecked(int32_t id) {
  HMENU popup = PopupOf(id);
  if (popup == nullptr) return false;
  return (GetMenuState(popup, static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void SetMenuItemCheck(int32_t id, bool checked) {
  HMENU popup = PopupOf(id);
  if (popup != nullptr) {
    CheckMenuItem(popup, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
  }
  if (id == 101) Player().alwaysOnTop = checked;
}

void EnterFullScreen(int32_t id) {
  PlayerState& p = Player();
  if (p.zoomHolder == nullptr) return;
  if (id == 403 || id == 404) SetMenuItemCheck(411, false);
  p.displayState = DISPLAY_FULL_SCREEN;
  p.fullScreenOverPicture = IsMenuItemChecked(411);
  PlaceZoomHolder(p);
  if (p.displayState != DISPLAY_FULL_SCREEN) return;
  if (id == 403) {
    p.slideMode = SLIDE_BY_HAND;
  } else if (id == 405) {
    p.slideMode = SLIDE_TIMED;
    int32_t displayTime = CurrentDisplayTime();
    KillThreadTimer(p.slideTimer);
    p.slideTimer = StartThreadTimer(static_cast<UINT>(displayTime > 0 ? displayTime : 1000));
    if (p.fullScreenOverPicture) {
      EnableWindow(p.zoomHolder, FALSE);
      if (ControlOf(ID_NEXT) != nullptr) SetFocus(ControlOf(ID_NEXT));
    }
  } else {
    p.slideMode = SLIDE_NONE;
    ShowPictureAgain();
  }
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  PlayerState& p = Player();
  const int32_t id = LOWORD(wParam);
  if (suite::MenuAction(id, p.menus) == "END") {
    SendMessageA(p.mainWindow ? p.mainWindow : window, WM_SYSCOMMAND, SC_CLOSE, lParam);
    return 1;
  }
  switch (id) {
    case 48: case 49: case 50:
    case 64: case 65: case 66: case 69: case 70:
      BrowserPaneCommand(id);
      break;
    case 53:
    case 54:
      // In a picture-only player the two buttons switch the scroll bars
      // on (53: the picture at full size) and off (54: fitted).
      if (Options().OptionField4() == 4) {
        SetPictureFit(id == 54);
      } else {
        PlaybackCommand(id, lParam);
      }
      break;
    case 51: case 52: case 55: case 56: case 57: case 61: case 62: case 63:
    case 71: case 73: case 76: case 77: case 101:
      PlaybackCommand(id, lParam);
      break;
    case 67: case 103:
      OpenCommand();
      break;
    case 68:
      PrintCommand();
      break;
    case 72:
      CopyPictureCommand();
      break;
    case 74:
      HelpCommand();
      break;
    case 301:
      ToggleCheck(301);
      LayOutVideo();
      break;
    case 303: case 304: case 305: case 306: case 307: case 308:
      ChooseLayoutItem(id);
      break;
    case 401:
      ToggleCheck(401);
      ApplyPictureFit();
      break;
    case 403: case 404: case 405:
      EnterFullScreen(id);
      break;
    case 407: case 409:
      ToggleCheck(id);
      if (IsMenuItemChecked(401) && p.pictureHolder != nullptr) InvalidateRect(p.pictureHolder, nullptr, TRUE);
      break;
    case 411:
      ToggleCheck(id);
      break;
  }
  return 0;
}

}  // namespace player
