// The engine's track bar (class "SKTRACK"): a value 0-100 shown by a thumb
// on a track, horizontal or vertical (100 at the top, as an equalizer band
// reads), drawn from the caller's track and thumb images or in skin colours.
// The user moves it with the mouse (dragging the thumb, or clicking the
// track to put the thumb there) or the arrow, page, Home and End keys; each
// change the user makes is reported to the parent as WM_COMMAND with the
// bar's id (notification 0) and the bar's handle.  Programs set and read it
// with SKSETTRACKPOS/SKGETTRACKPOS or TBM_SETPOS/TBM_GETPOS.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "engine_state.h"
#include "ui_internal.h"

namespace themecore {

namespace {

constexpr COLORREF kImageKey = RGB(255, 0, 255);
constexpr int kLongSide = 120;  // size without a track image
constexpr int kShortSide = 20;
constexpr int kThumbThickness = 10;

struct TrackState {
  bool isVertical = false;
  int value = 0;
  HBITMAP track = nullptr;  // the caller's; not ours to delete
  HBITMAP thumb = nullptr;
  bool isDragging = false;
  int grabOffset = 0;  // from the thumb's leading edge to the pointer
};

struct TrackCreation {
  bool isVertical;
  int value;
  HBITMAP track;
  HBITMAP thumb;
};

TrackState* StateOf(HWND window) {
  return reinterpret_cast<TrackState*>(GetWindowLongPtrA(window, 0));
}

SIZE ThumbSize(const TrackState& state, const RECT& client) {
  int width = 0;
  int height = 0;
  if (BitmapSize(state.thumb, &width, &height)) return {width, height};
  if (state.isVertical) return {std::max<int>(client.right - 4, 4), kThumbThickness};
  return {kThumbThickness, std::max<int>(client.bottom - 4, 4)};
}

// The room the thumb's leading edge moves in.
int TravelOf(const TrackState& state, const RECT& client, SIZE thumb) {
  const int travel = state.isVertical ? client.bottom - thumb.cy : client.right - thumb.cx;
  return std::max(travel, 0);
}

RECT ThumbRect(const TrackState& state, const RECT& client) {
  const SIZE thumb = ThumbSize(state, client);
  const int travel = TravelOf(state, client, thumb);
  if (state.isVertical) {
    const int y = travel * (100 - state.value) / 100;
    const int x = (client.right - thumb.cx) / 2;
    return {x, y, x + thumb.cx, y + thumb.cy};
  }
  const int x = travel * state.value / 100;
  const int y = (client.bottom - thumb.cy) / 2;
  return {x, y, x + thumb.cx, y + thumb.cy};
}

int ValueAt(const TrackState& state, const RECT& client, POINT point) {
  const SIZE thumb = ThumbSize(state, client);
  const int travel = TravelOf(state, client, thumb);
  if (travel == 0) return state.value;
  const int position = (state.isVertical ? point.y : point.x) - state.grabOffset;
  const int share = (std::clamp(position, 0, travel) * 100 + travel / 2) / travel;
  return state.isVertical ? 100 - share : share;
}

void DrawImage(HDC dc, HBITMAP image, int x, int y) {
  int width = 0;
  int height = 0;
  if (!BitmapSize(image, &width, &height)) return;
  HDC imageDc = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(imageDc, image);
  TransparentCopy(dc, x, y, width, height, imageDc, 0, 0, kImageKey);
  SelectObject(imageDc, old);
  DeleteDC(imageDc);
}

void PaintTrack(HWND window, const TrackState& state, HDC dc, const RECT& client) {
  COLORREF back = SkinColour(colour::kBoxBack);
  if (const ControlColours* set = ColoursOf(window); set != nullptr && set->hasBack) back = set->back;
  FillSolid(dc, client, back);
  const COLORREF light = SkinColour(colour::kLight);
  const COLORREF shadow = SkinColour(colour::kShadow);
  if (state.track != nullptr) {
    DrawImage(dc, state.track, 0, 0);
  } else {
    const SIZE thumb = ThumbSize(state, client);
    RECT groove;
    if (state.isVertical) {
      const int x = client.right / 2;
      groove = {x - 2, thumb.cy / 2, x + 2, client.bottom - thumb.cy / 2};
    } else {
      const int y = client.bottom / 2;
      groove = {thumb.cx / 2, y - 2, client.right - thumb.cx / 2, y + 2};
    }
    FillSolid(dc, groove, SkinColour(colour::kControlBack));
    DrawEdgeLines(dc, groove, shadow, light);
  }
  const RECT thumb = ThumbRect(state, client);
  if (state.thumb != nullptr) {
    DrawImage(dc, state.thumb, thumb.left, thumb.top);
  } else {
    const bool isEnabled = IsWindowEnabled(window) != FALSE;
    COLORREF face = SkinColour(colour::kControlBack);
    if (!isEnabled) face = back;
    if (state.isDragging) face = SkinColour(colour::kHighlightBack);
    FillSolid(dc, thumb, face);
    DrawEdgeLines(dc, thumb, light, shadow);
  }
  if (GetFocus() == window && FocusRectEnabled()) DrawFocusRect(dc, &client);
}

void PaintOn(HWND window, const TrackState& state, HDC target) {
  RECT client;
  GetClientRect(window, &client);
  HDC dc = CreateCompatibleDC(target);
  HBITMAP buffer = CreateCompatibleBitmap(target, std::max<int>(client.right, 1),
                                          std::max<int>(client.bottom, 1));
  if (dc != nullptr && buffer != nullptr) {
    HGDIOBJ old = SelectObject(dc, buffer);
    PaintTrack(window, state, dc, client);
    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
  } else {
    PaintTrack(window, state, target, client);
  }
  if (buffer != nullptr) DeleteObject(buffer);
  if (dc != nullptr) DeleteDC(dc);
}

// The parent may destroy the bar while it handles the notification.
void ChangeValue(HWND window, TrackState* state, int value, bool notify) {
  value = std::clamp(value, 0, 100);
  if (value == state->value) return;
  state->value = value;
  InvalidateRect(window, nullptr, FALSE);
  if (!notify) return;
  HWND parent = GetParent(window);
  if (parent != nullptr) {
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), 0),
                 reinterpret_cast<LPARAM>(window));
  }
}

LRESULT OnMouse(HWND window, TrackState* state, UINT message, LPARAM lParam) {
  POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  RECT client;
  GetClientRect(window, &client);
  switch (message) {
    case WM_LBUTTONDOWN: {
      SetFocus(window);
      const RECT thumb = ThumbRect(*state, client);
      if (PtInRect(&thumb, point)) {
        state->grabOffset = state->isVertical ? point.y - thumb.top : point.x - thumb.left;
      } else {
        // A click on the track brings the thumb's middle there.
        state->grabOffset = state->isVertical ? (thumb.bottom - thumb.top) / 2
                                              : (thumb.right - thumb.left) / 2;
      }
      state->isDragging = true;
      SetCapture(window);
      InvalidateRect(window, nullptr, FALSE);
      ChangeValue(window, state, ValueAt(*state, client, point), true);
      break;
    }
    case WM_MOUSEMOVE:
      if (state->isDragging) ChangeValue(window, state, ValueAt(*state, client, point), true);
      break;
    case WM_LBUTTONUP:
      if (!state->isDragging) break;
      state->isDragging = false;
      ReleaseCapture();
      InvalidateRect(window, nullptr, FALSE);
      break;
    default:
      break;
  }
  return 0;
}

LRESULT OnKeyDown(HWND window, TrackState* state, WPARAM key) {
  int value = state->value;
  switch (key) {
    case VK_RIGHT:
    case VK_UP:
      value += 1;
      break;
    case VK_LEFT:
    case VK_DOWN:
      value -= 1;
      break;
    case VK_PRIOR:
      value += 10;
      break;
    case VK_NEXT:
      value -= 10;
      break;
    case VK_HOME:
      value = 0;
      break;
    case VK_END:
      value = 100;
      break;
    default:
      return 0;
  }
  ChangeValue(window, state, value, true);
  return 0;
}

}  // namespace

HWND CreateSkinTrackBar(HWND parent, bool vertical, HBITMAP track, int x, int y, int value, int id,
                        HBITMAP thumb) {
  if (parent == nullptr || !IsWindow(parent) || !RegisterEngineClasses()) return nullptr;
  int width = vertical ? kShortSide : kLongSide;
  int height = vertical ? kLongSide : kShortSide;
  int trackWidth = 0;
  int trackHeight = 0;
  if (BitmapSize(track, &trackWidth, &trackHeight)) {
    width = trackWidth;
    height = trackHeight;
  }
  TrackCreation creation = {vertical, std::clamp(value, 0, 100), track, thumb};
  return CreateWindowExA(0, kTrackClass, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, width,
                         height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         EngineInstance(), &creation);
}

int32_t TrackBarPosition(HWND trackBar) {
  if (trackBar == nullptr || !IsWindow(trackBar)) return -1;
  if (ClassOf(trackBar) == EngineClass::kTrack) {
    TrackState* state = StateOf(trackBar);
    return state != nullptr ? state->value : -1;
  }
  return static_cast<int32_t>(SendMessageA(trackBar, TBM_GETPOS, 0, 0));
}

bool SetTrackBarPosition(HWND trackBar, int32_t value, bool notify) {
  if (trackBar == nullptr || !IsWindow(trackBar)) return false;
  if (ClassOf(trackBar) != EngineClass::kTrack) {
    SendMessageA(trackBar, TBM_SETPOS, TRUE, value);
    return true;
  }
  TrackState* state = StateOf(trackBar);
  if (state == nullptr) return false;
  ChangeValue(trackBar, state, value, notify);
  return true;
}

LRESULT CALLBACK TrackBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TrackState* state = StateOf(window);
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    const auto* creation = static_cast<const TrackCreation*>(create->lpCreateParams);
    auto* created = new TrackState;
    if (creation != nullptr) {
      created->isVertical = creation->isVertical;
      created->value = creation->value;
      created->track = creation->track;
      created->thumb = creation->thumb;
    }
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(created));
    return DefWindowProcA(window, message, wParam, lParam);
  }
  if (state == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, 0, 0);
      FreeColours(window);
      delete state;
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (dc != nullptr) PaintOn(window, *state, dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintOn(window, *state, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      return OnMouse(window, state, message, lParam);
    case WM_CAPTURECHANGED:
      if (state->isDragging && reinterpret_cast<HWND>(lParam) != window) {
        state->isDragging = false;
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_KEYDOWN:
      return OnKeyDown(window, state, wParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case TBM_GETPOS:
      return state->value;
    case TBM_GETRANGEMIN:
      return 0;
    case TBM_GETRANGEMAX:
      return 100;
    case TBM_SETPOS:
      state->value = std::clamp(static_cast<int>(lParam), 0, 100);
      if (wParam) InvalidateRect(window, nullptr, FALSE);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace themecore
