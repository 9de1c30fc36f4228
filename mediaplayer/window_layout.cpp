// The player's window layout (window_layout.h): the video's rectangle in
// the content holder for the layout item (core/video_layout), the zoom to
// the whole screen, the compact or off-screen placement while nothing is
// to be shown, and the picture holder's place.
#include <windows.h>

#include "core/video_layout.h"
#include "player_parts.h"
#include "media_backend.h"
#include "panels.h"
#include "playback_engine.h"
#include "player_state.h"
#include "themecore.h"
#include "themecore_loader.h"
#include "themecore_player.h"
#include "window_layout.h"

extern "C" int32_t __stdcall OrbPlaySetVideo(HWND window);

namespace player {

namespace {

constexpr int ID_SAVE_FRAME = 63;
constexpr int32_t kFloatingBar = 0x20;

void RepeatTopmost() {
  PlayerState& p = Player();
  if (!p.alwaysOnTop || p.mainWindow == nullptr) return;
  SetWindowPos(p.mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The content holder's client area less the index pane when it shows in
// the layout whose bit is `layoutBit`.
LayoutArea ContentArea(int32_t layoutBit) {
  PlayerState& p = Player();
  RECT client = {};
  if (p.contentHolder != nullptr) GetClientRect(p.contentHolder, &client);
  LayoutArea area{0, 0, client.right, client.bottom};
  if ((IndexLayoutBits() & layoutBit) == 0 || Engine().indexActive || !IndexPaneExists()) return area;
  int32_t x = 0, y = 0, width = 0, height = 0;
  const int32_t side = CreateIndexPane(x, y, width, height);
  return side == 0 ? area : AreaBesideIndexPane(area, side, width, height);
}

// The zoom: the taskbar hidden, the video on the zoom holder over the
// whole screen (fitted on a black backdrop when proportions are kept).
HWND ZoomToScreen(const LayoutArea& fitted) {
  PlayerState& p = Player();
  const int32_t screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int32_t screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const bool wasZoomed = p.displayState == DISPLAY_ZOOMED;
  HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
  if (taskbar != nullptr && IsWindowVisible(taskbar)) {
    ShowWindow(taskbar, SW_HIDE);
    p.taskbarHidden = true;
  }
  p.displayState = DISPLAY_ZOOMED;
  ShowWindow(p.mainWindow, SW_HIDE);
  if (!wasZoomed && ControlBar() != nullptr) ShowWindow(ControlBar(), SW_HIDE);
  if (IsMenuItemChecked(301)) {
    if (!wasZoomed && p.popupWindow != nullptr) {
      SetWindowPos(p.popupWindow, HWND_BOTTOM, 0, 0, screenWidth + 100, screenHeight + 100,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
    int32_t x = 0, y = 0, width = screenWidth, height = screenHeight;
    SKICONISE(fitted.width, fitted.height, screenWidth, screenHeight, &x, &y, &width, &height);
    SetWindowPos(p.zoomHolder, HWND_TOPMOST, x, y, width, height, SWP_SHOWWINDOW);
  } else {
    if (p.popupWindow != nullptr) ShowWindow(p.popupWindow, SW_HIDE);
    SetWindowPos(p.zoomHolder, HWND_TOPMOST, 0, 0, screenWidth, screenHeight, SWP_SHOWWINDOW);
  }
  return p.zoomHolder;
}

// Nothing to show (sound): the main window shrinks to the skin's smallest
// size or, with a docked control bar of its own, leaves the screen.
void GoCompact() {
  PlayerState& p = Player();
  p.compact = true;
  GetWindowRect(p.mainWindow, &p.normalRect);
  if (Options().OptionField22() != 0) {
    POINT origin = {0, 0};
    ClientToScreen(p.mainWindow, &origin);
    p.clientOrigin = origin;
    if (Options().OptionField5() < kFloatingBar) {
      p.offScreen = true;
      panels::Panels().offScreen = true;
      SetWindowPos(p.mainWindow, nullptr, -GetSystemMetrics(SM_CXSCREEN), -GetSystemMetrics(SM_CYSCREEN), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return;
  }
  SetWindowPos(p.mainWindow, nullptr, 0, 0, SKXMINI(), SKYMINI(), SWP_NOMOVE | SWP_SHOWWINDOW | SWP_NOZORDER);
  SKBUILDREGION(p.mainWindow);
  RepeatTopmost();
}

}  // namespace

void LayOutVideo() {
  PlayerState& p = Player();
  if (p.mainWindow == nullptr || p.videoWindow == nullptr) return;
  LayoutArea content = ContentArea(2);
  VideoLayoutInput input;
  input.item = p.layoutItem >= 303 && p.layoutItem <= 308 ? p.layoutItem : 304;
  input.keepProportions = IsMenuItemChecked(301);
  input.content = content;
  // The imaging library gives no native size: the video takes the
  // content area's, which each layout item then scales.
  input.nativeWidth = content.width;
  input.nativeHeight = content.height;
  input.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  input.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  LayoutArea place = PlaceVideo(input);
  HWND target = p.videoWindow;
  if (input.item == 308 && p.zoomHolder != nullptr) {
    target = ZoomToScreen(place);
  } else {
    MoveWindow(p.videoWindow, place.left, place.top, place.width, place.height, TRUE);
    if (p.displayState == DISPLAY_ZOOMED) LeaveZoom();
  }
  HWND saveFrame = ControlOf(ID_SAVE_FRAME);
  if (Engine().media != nullptr && !IsAudioLibraryStream() && OrbPlaySetVideo(target) == 1) {
    if (!IsWindowVisible(target)) ShowWindow(target, SW_SHOW);
    if (saveFrame != nullptr) {
      EnableWindow(saveFrame, TRUE);
      ShowWindow(saveFrame, SW_SHOW);
      if (p.compact) RestoreFromCompact(SWP_SHOWWINDOW);
    }
    RepeatTopmost();
    return;
  }
  ShowWindow(p.videoWindow, SW_HIDE);
  if (p.displayState == DISPLAY_ZOOMED) LeaveZoom();
  if (saveFrame != nullptr && IsWindowEnabled(saveFrame)) {
    EnableWindow(saveFrame, FALSE);
    if (Options().OptionField7() == 0) GoCompact();
  } else if (saveFrame == nullptr && p.compact) {
    RestoreFromCompact(SWP_SHOWWINDOW);
  }
}

void RestoreFromCompact(UINT flags) {
  PlayerState& p = Player();
  if (!p.compact || p.mainWindow == nullptr) return;
  p.compact = false;
  p.offScreen = false;
  panels::Panels().offScreen = false;
  HWND insertAfter = p.alwaysOnTop ? HWND_TOPMOST : HWND_TOP;
  if (Options().OptionField22() != 0) {
    SetWindowPos(p.mainWindow, insertAfter, p.normalRect.left, p.normalRect.top, 0, 0, flags | SWP_NOSIZE);
  } else {
    SetWindowPos(p.mainWindow, insertAfter, p.normalRect.left, p.normalRect.top,
                 p.normalRect.right - p.normalRect.left, p.normalRect.bottom - p.normalRect.top, flags);
    SKBUILDREGION(p.mainWindow);
  }
  panels::DockPane();
}

void LeaveZoom() {
  PlayerState& p = Player();
  HWND bar = ControlBar();
  if (bar != nullptr) SetWindowPos(bar, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  if (p.popupWindow != nullptr) ShowWindow(p.popupWindow, SW_HIDE);
  ResetDisplayState();
  if (p.mainWindow != nullptr) ShowWindow(p.mainWindow, SW_SHOW);
  if (bar != nullptr && !IsWindowVisible(bar)) ShowWindow(bar, SW_SHOW);
  HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
  if (taskbar != nullptr && p.taskbarHidden && !IsWindowVisible(taskbar)) ShowWindow(taskbar, SW_SHOW);
  p.taskbarHidden = false;
}

void PlacePictureHolder() {
  PlayerState& p = Player();
  if (p.pictureHolder == nullptr) return;
  LayoutArea area = ContentArea(p.layoutMode);
  MoveWindow(p.pictureHolder, area.left, area.top, area.width, area.height, TRUE);
}

void ResetDisplayState() {
  PlayerState& p = Player();
  p.displayState = DISPLAY_NORMAL;
  p.slideMode = SLIDE_NONE;
  if (p.zoomHolder != nullptr) ShowWindow(p.zoomHolder, SW_HIDE);
}

}  // namespace player
