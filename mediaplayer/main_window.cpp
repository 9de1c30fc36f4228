// The player's window procedure: one procedure for the main window, the
// content holder, the full-screen holder, the video and popup windows, and
// the player's thread timers (WM_TIMER with no window).  Each case hands
// its message to a small handler; suite commands are copy_data.cpp, menu
// and button commands commands.cpp, closing close.cpp.
#include <windows.h>

#include "imaging.h"
#include "player_parts.h"
#include "panels.h"
#include "playback_engine.h"
#include "player_state.h"
#include "thread_timer.h"
#include "themecore.h"

namespace player {

namespace {

bool IsPlayerWindow(HWND window) { return window != nullptr && window != Player().mainWindow; }

// The picture's holder covers the picture area while full screen is shown
// over the picture: it follows every move and size of the main window.
void CentreZoomOverPicture() {
  PlayerState& p = Player();
  if (p.zoomHolder == nullptr || p.pictureHolder == nullptr) return;
  RECT client = {};
  GetClientRect(p.pictureHolder, &client);
  POINT origin = {0, 0};
  ClientToScreen(p.pictureHolder, &origin);
  SetWindowPos(p.zoomHolder, nullptr, origin.x, origin.y, client.right, client.bottom,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void BringControlBarForward() {
  HWND bar = ControlBar();
  if (bar != nullptr && IsWindowVisible(bar)) {
    SetWindowPos(bar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  }
}

void ToggleControlBar() {
  HWND bar = ControlBar();
  if (bar != nullptr) ShowWindow(bar, IsWindowVisible(bar) ? SW_HIDE : SW_SHOW);
}

LRESULT OnMouseActivate(HWND window) {
  PlayerState& p = Player();
  if (p.displayState != DISPLAY_ZOOMED) return -1;
  if (p.zoomHolder != nullptr) InvalidateRect(p.zoomHolder, nullptr, TRUE);
  if (window == p.popupWindow) {
    ToggleControlBar();
  } else {
    BringControlBarForward();
  }
  if (window == p.popupWindow || window == p.zoomHolder) return MA_NOACTIVATEANDEAT;
  return -1;
}

void StepSlideShow(int32_t direction);

bool SteppingByMouse(HWND window) {
  PlayerState& p = Player();
  return IsPlayerWindow(window) && p.displayState == DISPLAY_FULL_SCREEN && p.itemCount > 1;
}

void OpenPopupAtCursor(HMENU popup, HWND owner) {
  PlayerState& p = Player();
  if (popup == nullptr) return;
  BOOL animation = FALSE;
  if (SystemParametersInfoA(SPI_GETMENUANIMATION, 0, &animation, 0) && animation) {
    SystemParametersInfoA(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(FALSE), 0);
    p.menuAnimationOff = true;
  }
  POINT cursor = {};
  GetCursorPos(&cursor);
  TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, p.mainWindow ? p.mainWindow : owner,
                   nullptr);
}

LRESULT OnRightButton(HWND window) {
  PlayerState& p = Player();
  if (SteppingByMouse(window)) {
    StepSlideShow(+1);
    return 0;
  }
  if ((window == p.videoWindow || p.displayState == DISPLAY_ZOOMED) && Options().OptionField1() != 0) {
    OpenPopupAtCursor(p.popup3, window);
  } else if (window == p.pictureHolder && p.pictureHolder != nullptr && Options().OptionField15() != 0) {
    OpenPopupAtCursor(p.popup4, window);
  }
  return -1;
}

LRESULT OnLeftButton(HWND window) {
  PlayerState& p = Player();
  if (SteppingByMouse(window)) {
    StepSlideShow(-1);
    return 0;
  }
  if (p.displayState == DISPLAY_ZOOMED) ToggleControlBar();
  return -1;
}

void OnMiddleButton() {
  PlayerState& p = Player();
  if (p.displayState == DISPLAY_FULL_SCREEN) {
    ResetDisplayState();
  } else if (p.displayState == DISPLAY_ZOOMED) {
    PostMessageA(p.mainWindow, WM_KEYDOWN, VK_ESCAPE, 0);
  }
}

LRESULT OnFullScreenKey(WPARAM key) {
  PlayerState& p = Player();
  if (key == VK_ESCAPE) {
    ResetDisplayState();
    return 0;
  }
  if (p.itemCount <= 1 || p.fullScreenOverPicture) return 0;
  if (key == VK_LEFT || key == VK_UP) StepSlideShow(-1);
  if (key == VK_RIGHT || key == VK_DOWN) StepSlideShow(+1);
  return 0;
}

// Slide timer: the next step waits until a running transition is done
// (the imaging library then has a status callback in force).
void OnSlideTimer() {
  PlayerState& p = Player();
  KillThreadTimer(p.slideTimer);
  if (L_GetStatusCallBack() == nullptr) {
    p.transitionTimer = StartThreadTimer(25);
  } else {
    p.slideTimer = StartThreadTimer(100);
  }
}

void StepSlideShow(int32_t direction) {
  Player().lastStepBackwards = direction < 0;
  StepItem(direction);
}

// The transition is over: the show steps on the way it last went.
void OnTransitionTimer() {
  PlayerState& p = Player();
  KillThreadTimer(p.transitionTimer);
  if (p.displayState == DISPLAY_FULL_SCREEN && p.itemCount > 1) {
    StepSlideShow(p.lastStepBackwards ? -1 : +1);
  } else if (p.zoomHolder != nullptr) {
    PostMessageA(p.zoomHolder, p.lastStepBackwards ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, 0, 0);
  }
}

void OnThreadTimer(UINT_PTR id) {
  PlayerState& p = Player();
  if (id == 0) return;
  if (id == p.queueTimer) {
    OnQueueTimer();
  } else if (id == p.slideTimer) {
    OnSlideTimer();
  } else if (id == p.transitionTimer) {
    OnTransitionTimer();
  } else if (id == p.soundTimer) {
    RepeatBackgroundSound();
  }
}

void OnRecorderMessage(UINT message) {
  PlayerState& p = Player();
  if (!p.recorderLoaded) return;
  int index = message == WM_RECORDER_FRAME ? 0 : (message == WM_RECORDER_FRAME_AGAIN ? 1 : 2);
  ++p.recorderCounters[index];
  if (message != WM_RECORDER_COUNT) RefreshRecording();
}

LRESULT OnPaint(HWND window) {
  PlayerState& p = Player();
  if (window == p.popupWindow) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc != nullptr) {
      FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      EndPaint(window, &paint);
    }
    return 0;
  }
  if ((window == p.pictureHolder && window != nullptr) || window == p.zoomHolder) {
    PaintPictureWindow(window);
    return 0;
  }
  return -1;
}

LRESULT OnClose(HWND window) {
  PlayerState& p = Player();
  if (p.fullScreenOverPicture) {
    p.slideMode = SLIDE_NONE;
    p.displayState = DISPLAY_NORMAL;
    p.fullScreenOverPicture = false;
    PostMessageA(p.mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  // Left to DefWindowProc the main window would be destroyed with the
  // message loop still running and the mutex held: a windowless player that
  // later starts wait for in vain.  WM_CLOSE closes the player instead.
  if (window == p.mainWindow) {
    PostMessageA(p.mainWindow, WM_SYSCOMMAND, SC_CLOSE,
                 ControlBar() != nullptr ? reinterpret_cast<LPARAM>(ControlBar()) : CLOSE_FOR_REAL);
    return 0;
  }
  return -1;
}

LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  PlayerState& p = Player();
  if (window != p.mainWindow) return -1;
  if ((wParam & 0xFFF0) == SC_CLOSE) return OnCloseCommand(window, lParam);
  if (wParam == 0) {
    ShowAboutBox();
    return 0;
  }
  return -1;
}

}  // namespace

LRESULT CALLBACK PlayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PlayerState& p = Player();
  if (p.fullScreenOverPicture &&
      ((message == WM_MOVE && window == p.mainWindow && window != nullptr) || message == WM_SIZE)) {
    CentreZoomOverPicture();
  }
  HWND engineWindow = window;
  UINT engineMessage = message;
  WPARAM engineWParam = wParam;
  LPARAM engineLParam = lParam;
  int32_t handled = SKGETMESSAGE(&engineWindow, &engineMessage, &engineWParam, &engineLParam);
  if (handled != 0) return handled;

  if (window == nullptr) {
    if (message == WM_TIMER) OnThreadTimer(wParam);
    return 0;
  }

  LRESULT result = -1;  // -1: left to DefWindowProc
  switch (message) {
    case WM_PLAYER_LIST_ARRIVED:
      if (window != p.mainWindow) break;
      OnListArrived();
      return 0;
    case WM_COPYDATA:
      return OnSuiteCommand(window, wParam, lParam);
    case WM_RECORDER_FRAME:
    case WM_RECORDER_FRAME_AGAIN:
    case WM_RECORDER_COUNT:
      OnRecorderMessage(message);
      return 0;
    case WM_SIZE:
      if (window == p.mainWindow) {
        RepaintControlBar();
        panels::DockPane();
        if (p.layoutMode == 4) PlacePictureHolder();
      }
      if (window == p.contentHolder) {
        // The index pane follows the holder's size only while it is laid
        // out here.
        p.indexRepositioning = true;
        LayOutVideo();
        if (p.layoutMode == 4) PlacePictureHolder();
        p.indexRepositioning = false;
      }
      break;
    case WM_MOVE:
      if (window == p.mainWindow) panels::DockPane();
      break;
    case WM_SHOWWINDOW:
      // The zoom hides the main window and keeps the bar as it decides.
      if (window == p.mainWindow && p.displayState != DISPLAY_ZOOMED) panels::ShowPaneWithMainWindow(wParam != 0);
      break;
    case WM_MOUSEACTIVATE:
      result = OnMouseActivate(window);
      break;
    case WM_LBUTTONDBLCLK:
      if (p.displayState == DISPLAY_ZOOMED) BringControlBarForward();
      break;
    case WM_LBUTTONDOWN:
      result = OnLeftButton(window);
      break;
    case WM_RBUTTONDOWN:
      result = OnRightButton(window);
      break;
    case WM_EXITMENULOOP:
      if (p.menuAnimationOff) {
        SystemParametersInfoA(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(TRUE), 0);
        p.menuAnimationOff = false;
      }
      break;
    case WM_MBUTTONDOWN:
      OnMiddleButton();
      return 0;
    case WM_KEYDOWN:
      if (p.displayState == DISPLAY_FULL_SCREEN) return OnFullScreenKey(wParam);
      break;
    case WM_PAINT:
      result = OnPaint(window);
      break;
    case WM_ERASEBKGND:
      // A transition uncovers the new picture over the one shown before.
      if (window == p.zoomHolder && window != nullptr && p.displayState == DISPLAY_FULL_SCREEN) return 1;
      if (window == p.pictureHolder && window != nullptr) return 1;
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (window == p.pictureHolder) ScrollPicture(window, message, wParam);
      break;
    case WM_CLOSE:
      result = OnClose(window);
      break;
    case WM_SYSCOMMAND:
      result = OnSysCommand(window, wParam, lParam);
      break;
    case WM_TIMER:
      break;
    case WM_COMMAND:
      return OnCommand(window, wParam, lParam);
    case WM_SETCURSOR:
      if (window == p.zoomHolder && p.fullScreenOverPicture) return 1;
      break;
    case WM_DESTROY:
      return 0;
  }
  if (result != -1) return result;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace player

// The window procedure as the program exports it (named WNDPROC in
// orbplay.def): skinned windows and other modules may call it directly.
extern "C" LRESULT __stdcall OrbPlayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return player::PlayerWindowProc(window, message, wParam, lParam);
}
