// FrameWindowProc: the subclass procedure of every skinned top-level
// window.  It takes the system's frame over: the client area inside the
// skin's frame, the frame and caption painted, the caption buttons hit,
// hot, pressed and acted on, dragging with an outline, colours and
// owner-drawn buttons of the children, the menu and status bars kept in
// place, the opening effects and the capture run, and the window's record
// removed when it goes.  Every message it does not answer goes to the
// window's previous procedure.
#include <windows.h>

#include <string>
#include <vector>

#include "core/caption_layout.h"
#include "core/control_kinds.h"
#include "core/frame_rules.h"
#include "core/key_rules.h"
#include "core/opening_effects.h"
#include "library_state.h"
#include "themeapi.h"
#include "themecore.h"
#include "themecore_popup.h"
#include "window_settings.h"

namespace skinning {

namespace {

// A drag by the caption in progress, and whether the system's full-window
// drag was switched off for it.
bool g_dragging = false;
bool g_fullDragWasOn = false;
// A position change in progress, and whether minimize/maximize animation
// was switched off for it.
bool g_positionChanging = false;
bool g_animationWasOn = false;

void EndCaptionDrag() {
  if (!g_dragging) return;
  g_dragging = false;
  if (g_fullDragWasOn) SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
}

POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

HWND EngineMainWindow() { return SKGETHANDLE(2); }

int32_t IsMinMaxAnimationOn() {
  ANIMATIONINFO info = {sizeof(info), 0};
  return SystemParametersInfoA(SPI_GETANIMATION, sizeof(info), &info, 0) && info.iMinAnimate ? -1 : 0;
}

void SetMinMaxAnimation(bool on) {
  ANIMATIONINFO info = {sizeof(info), on ? 1 : 0};
  SystemParametersInfoA(SPI_SETANIMATION, sizeof(info), &info, 0);
}

LRESULT OnDrawItem(const WindowRecordPtr& record, HWND window, WPARAM wParam, LPARAM lParam) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  LRESULT result = 0;
  if (item != nullptr && AnswerDrawItem(window, record->previousProc, wParam, item, &result)) return result;
  return CallPrevious(*record, window, WM_DRAWITEM, wParam, lParam);
}

LRESULT OnCtlColorStatic(const WindowRecordPtr& record, HWND window, WPARAM wParam, LPARAM lParam) {
  HWND control = reinterpret_cast<HWND>(lParam);
  HDC dc = reinterpret_cast<HDC>(wParam);
  if (MaySkin(control) == 0) return CallPrevious(*record, window, WM_CTLCOLORSTATIC, wParam, lParam);
  const ControlRecord* found = FindControlRecord(control);
  const int32_t kind = found != nullptr ? found->kind : 0;
  if (kind == kTrackbar) return CallPrevious(*record, window, WM_CTLCOLORSTATIC, wParam, lParam);
  const bool isEtched = (GetWindowLongA(control, GWL_STYLE) & 0x12) == 0x12;
  // Check boxes and radio buttons tile under themselves when they paint.
  const bool ownGlyph = kind == kCheckBox || kind == kRadioButton;
  const bool tileUnder = record->snapshotDc == nullptr && !ownGlyph && !isEtched;
  return reinterpret_cast<LRESULT>(AnswerControlColourStatic(control, dc, tileUnder));
}

// The skin's control background over the client area, or its panel colour
// for a skin without one.
void TileClient(HDC dc, int width, int height) {
  HBITMAP back = SKCTLBACK();
  if (back == nullptr || SKTILEBLT(dc, 0, 0, width, height, back) == 0) {
    SKFILLRECT(dc, 0, 0, width, height, SKGETSYSCOLOR(112));
  }
}

LRESULT OnEraseBackground(const WindowRecordPtr& record, HWND window, HDC dc) {
  RECT client = {};
  GetClientRect(window, &client);
  if (IsShownFromPicture(*record)) {
    // The client's part of the picture, which starts at the window corner.
    RECT rect = {};
    GetWindowRect(window, &rect);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    if (HDC picture = SKGETHDCMEMBMP(window)) {
      BitBlt(dc, 0, 0, client.right, client.bottom, picture, origin.x - rect.left, origin.y - rect.top,
             SRCCOPY);
    }
    return 1;
  }
  HRGN clip = nullptr;
  for (const ControlRecord& control : SkinnedControls()) {
    if (control.kind != kDialog) continue;
    if (GetParent(control.window) == window && record->snapshotDc == nullptr) {
      int32_t x = 0;
      int32_t y = 0;
      skChildOffset(control.window, &x, &y);
      RECT dialog = {};
      GetWindowRect(control.window, &dialog);
      clip = CreateRectRgn(0, 0, client.right, client.bottom);
      HRGN hole = CreateRectRgn(x, y, x + dialog.right - dialog.left, y + dialog.bottom - dialog.top);
      CombineRgn(clip, clip, hole, RGN_DIFF);
      DeleteObject(hole);
      SelectClipRgn(dc, clip);
    }
    break;
  }
  TileClient(dc, client.right, client.bottom);
  if (clip != nullptr) {
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
  }
  if (record->effect == kEffectSnapshotLater) CopyToFrameBitmap(record, window);
  return 1;
}

LRESULT OnNcHitTest(const WindowRecordPtr& record, HWND window, WPARAM wParam, LPARAM lParam) {
  const LRESULT previous = CallPrevious(*record, window, WM_NCHITTEST, wParam, lParam);
  const bool onButton = TrackCaptionHover(record, PointOf(lParam)) != kNoButton;
  return SkinnedHitTest(static_cast<int32_t>(previous), onButton, record->initialStyle);
}

void ShowByCaption(const WindowRecordPtr& record, int32_t button) {
  HWND window = record->window;
  switch (button) {
    case kCloseButton:
      PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case kRestoreButton:
      record->state = 0;
      record->hot = 0;
      ShowWindow(window, SW_RESTORE);
      break;
    case kMaximizeButton:
      record->state = kMaximizedByCaption;
      record->hot = 0;
      ShowWindow(window, SW_MAXIMIZE);
      break;
    case kMinimizeButton:
      ShowWindow(window, SW_MINIMIZE);
      break;
    default:
      break;
  }
}

LRESULT OnNcButton(const WindowRecordPtr& record, HWND window, UINT message, WPARAM wParam,
                   LPARAM lParam) {
  const int32_t button = CaptionButtonAt(*record, PointOf(lParam));
  if (message == WM_NCLBUTTONDOWN) {
    record->pressed = button;
    if (button == kNoButton) {
      g_dragging = true;
      g_fullDragWasOn = suite::ISFULLWINDOWDRAGON();
      // The window moves as an outline: the skinned frame would be drawn
      // over and over while it is dragged.
      if (g_fullDragWasOn) SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
    } else {
      DrawCaptionButton(*record, button, kButtonPressed);
    }
  } else {
    if (button != kNoButton && button == record->pressed) {
      DrawCaptionButton(*record, button, kButtonNormal);
      record->pressed = kNoButton;
      ShowByCaption(record, button);
    }
    record->pressed = kNoButton;
  }
  return CallPrevious(*record, window, message, wParam, lParam);
}

LRESULT OnNcDoubleClick(const WindowRecordPtr& record, HWND window, LPARAM lParam) {
  POINT point = PointOf(lParam);
  ScreenToClient(window, &point);
  if (point.y < SKGETSYSTEMMETRICS(1) && (record->frameFlags & frameflag::kMaximize)) {
    if (record->state == kMaximizedByCaption) {
      record->state = 0;
      record->hot = 0;
      ShowWindow(window, SW_RESTORE);
    } else {
      record->state = kMaximizedByCaption;
      record->hot = 0;
      ShowWindow(window, SW_MAXIMIZE);
    }
  }
  return 0;
}

LRESULT OnActivate(const WindowRecordPtr& record, WPARAM wParam, LPARAM lParam) {
  HWND mainWindow = EngineMainWindow();
  WindowRecordPtr main = FindWindowRecord(mainWindow);
  if (main != nullptr && LOWORD(wParam) == WA_INACTIVE && lParam != 0 &&
      reinterpret_cast<HWND>(lParam) == main->menuBar) {
    // Its own menu bar taking the activation keeps its caption active.
    main->captionInactive = false;
  }
  PaintFrame(*record, false);
  return 0;
}

LRESULT OnNcActivate(const WindowRecordPtr& record, HWND window, WPARAM wParam) {
  HWND mainWindow = EngineMainWindow();
  POINT cursor = {0, 0};
  GetCursorPos(&cursor);
  HWND under = WindowFromPoint(cursor);
  if (under != mainWindow) {
    for (const WindowRecordPtr& skinned : SkinnedWindows()) {
      if (IsChild(skinned->window, under)) {
        under = skinned->window;
        break;
      }
    }
  }
  record->captionInactive = wParam == 0;
  WindowRecordPtr main = FindWindowRecord(mainWindow);
  if (under != mainWindow && SkinnedWindows().size() > 1 && main != nullptr) main->captionInactive = true;
  if (mainWindow != window && under == window) record->captionInactive = false;
  return wParam == 0 ? 1 : 0;
}

LRESULT OnNcPaint(const WindowRecordPtr& record, HWND window) {
  if (IsShownFromPicture(*record)) {
    HDC windowDc = GetWindowDC(window);
    HDC picture = SKGETHDCMEMBMP(window);
    if (windowDc != nullptr && picture != nullptr) {
      const SIZE size = WindowSize(window);
      BitBlt(windowDc, 0, 0, size.cx, size.cy, picture, 0, 0, SRCCOPY);
    }
    if (windowDc != nullptr) ReleaseDC(window, windowDc);
    ValidateRect(window, nullptr);
    return 0;
  }
  PaintFrame(*record, true);
  return 0;
}

LRESULT OnGetMinMaxInfo(LPARAM lParam) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  if (info == nullptr) return 0;
  int32_t leftWidth = 0, rightWidth = 0, ledWidth = 0, height = 0;
  SKGETPIXMAPSIZE(SKCAPTIONL(), &leftWidth, &height);
  SKGETPIXMAPSIZE(SKCAPTIONR(), &rightWidth, &height);
  if (HBITMAP led = SKCAPTIONLED()) SKGETPIXMAPSIZE(led, &ledWidth, &height);
  const Size size = MinimumTrackSize(leftWidth, rightWidth, ledWidth, ReadSkinMetrics());
  info->ptMinTrackSize.x = size.width;
  info->ptMinTrackSize.y = size.height;
  return 0;
}

void OnWindowPosChanging(const WindowRecordPtr& record, LPARAM lParam) {
  g_positionChanging = true;
  g_animationWasOn = IsMinMaxAnimationOn() != 0;
  if (g_animationWasOn) SetMinMaxAnimation(false);
  const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
  if (position != nullptr && IsHideChange(position->flags)) {
    record->state = kHiddenState;
    record->captured = false;
    record->snapshotDc = nullptr;
  }
}

void OnWindowPosChanged() {
  if (!g_positionChanging) return;
  g_positionChanging = false;
  if (g_animationWasOn) SetMinMaxAnimation(true);
}

void OnNcCalcSize(const WindowRecordPtr& record, WPARAM wParam, LPARAM lParam) {
  if (!wParam || lParam == 0) return;
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  RECT& r = params->rgrc[0];
  const bool thickOrMdi = record->mdiClient != nullptr || (record->initialStyle & WS_THICKFRAME) != 0;
  const Rect proposed = {r.left, r.top, r.right, r.bottom};
  const Rect changed = SkinnedNcCalcSize(proposed, record->borderWidth, record->extraTop, thickOrMdi,
                                         record->menuBar != nullptr, GetSystemMetrics(SM_CYMENU),
                                         ReadSkinMetrics());
  r = {changed.left, changed.top, changed.right, changed.bottom};
}

LRESULT OnSysKeyDown(const WindowRecordPtr& record, HWND window, WPARAM wParam, LPARAM lParam) {
  if (SendSysKeyToMenuBar(*record, wParam, lParam)) return 0;
  return CallPrevious(*record, window, WM_SYSKEYDOWN, wParam, lParam);
}

LRESULT OnDestroy(const WindowRecordPtr& record, HWND window, WPARAM wParam, LPARAM lParam) {
  if (record->hasFrameBitmap) SKDELETEMEMBMP(window);
  record->hasFrameBitmap = false;
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previousProc));
  ForgetNoSkinEntriesOf(window);
  ForgetHoveredWindow(window);
  ForgetPopupState(window);
  RemoveWindowRecord(window);
  if (SkinnedWindows().empty()) DestroyCaptionTooltipWindow();
  return CallPrevious(*record, window, WM_DESTROY, wParam, lParam);
}

}  // namespace

void PlaceBars(const WindowRecord& record) {
  if (record.snapshotDc != nullptr) return;
  RECT rect = {};
  GetWindowRect(record.window, &rect);
  if (record.menuBar != nullptr) {
    RECT bar = {};
    GetWindowRect(record.menuBar, &bar);
    const int32_t left = SKGETSYSTEMMETRICS(4);
    MoveWindow(record.menuBar, rect.left + left, rect.top + SKGETSYSTEMMETRICS(1),
               rect.right - rect.left - left - SKGETSYSTEMMETRICS(5), bar.bottom - bar.top, TRUE);
  }
  if (record.statusBar != nullptr) {
    RECT client = {};
    GetClientRect(record.window, &client);
    RECT status = {};
    GetWindowRect(record.statusBar, &status);
    const int height = status.bottom - status.top;
    SetWindowPos(record.statusBar, HWND_TOP, 0, client.bottom - height, client.right, height,
                 SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

LRESULT CALLBACK FrameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecordPtr record = FindWindowRecord(window);
  if (record == nullptr) return 0;
  switch (message) {
    case WM_CREATE:
      if (record->toolCaption) SKUSETOOLCAPTION();
      {
        const SIZE size = WindowSize(window);
        SKFRAMERGN(window, size.cx, size.cy);
      }
      break;
    case WM_INITMENUPOPUP:
    case WM_UNINITMENUPOPUP:
      PreparePopup(window, message, wParam, lParam);
      break;
    case WM_MEASUREITEM:
      if (wParam == 0 && MeasureMenuItem(window, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
        return 1;
      }
      break;
    case WM_DRAWITEM:
      return OnDrawItem(record, window, wParam, lParam);
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_CTLCOLORSTATIC:
      return OnCtlColorStatic(record, window, wParam, lParam);
    case kMsgOpeningEffect:
      return OnOpeningEffect(record, static_cast<int32_t>(wParam), lParam);
    case kMsgSnapshotReady:
      return OnSnapshotReady(record);
    case WM_SIZE:
      PlaceBars(*record);
      SetupCaption(record);
      break;
    case WM_MOVE:
      PlaceBars(*record);
      break;
    case WM_ERASEBKGND:
      return OnEraseBackground(record, window, reinterpret_cast<HDC>(wParam));
    case WM_NCHITTEST:
      return OnNcHitTest(record, window, wParam, lParam);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
      return OnNcButton(record, window, message, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
      return OnNcDoubleClick(record, window, lParam);
    case WM_SETCURSOR:
    case WM_EXITSIZEMOVE:
      // After the drag: the next pointer move, or the end of the move loop
      // (the setting is the whole system's, so it must not wait for the
      // pointer to come back).
      EndCaptionDrag();
      break;
    case WM_ACTIVATEAPP:
      OnActivateAppCapture(record, wParam);
      break;
    case WM_ACTIVATE:
      return OnActivate(record, wParam, lParam);
    case WM_NCACTIVATE:
      return OnNcActivate(record, window, wParam);
    case WM_NCPAINT:
      return OnNcPaint(record, window);
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(lParam);
    case WM_SETTINGCHANGE:
      return 0;
    case WM_WINDOWPOSCHANGING:
      OnWindowPosChanging(record, lParam);
      break;
    case WM_WINDOWPOSCHANGED:
      OnWindowPosChanged();
      break;
    case WM_NCCALCSIZE:
      OnNcCalcSize(record, wParam, lParam);
      break;
    case WM_SYSKEYDOWN:
      return OnSysKeyDown(record, window, wParam, lParam);
    case WM_SETTEXT: {
      const LRESULT result = CallPrevious(*record, window, message, wParam, lParam);
      PaintFrame(*record, false);
      return result;
    }
    case WM_DESTROY:
      return OnDestroy(record, window, wParam, lParam);
    default:
      break;
  }
  return CallPrevious(*record, window, message, wParam, lParam);
}

}  // namespace skinning
