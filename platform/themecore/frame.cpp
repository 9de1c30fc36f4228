// The skinned frame of main windows: SKGETMESSAGE's part that makes a plain
// WS_POPUP window look and behave like a framed one.  The frame lives in the
// non-client area (WM_NCCALCSIZE takes the caption and the borders off the
// client area), so a program's client size is what it asked for and its
// holders fill it.  Moving and sizing are the system's, through the hit-test
// codes; the caption buttons and the system menu are tracked here, because
// the system would draw its own.  How the frame looks is frame_drawing.cpp.
//
// A main window is a top-level WS_POPUP window without an owner: owned
// popups (panes with a region, boxes, full-screen windows) keep their own
// look.  Messages the frame only looks at (WM_SIZE, WM_GETMINMAXINFO,
// WM_CAPTURECHANGED, everything of the program's) return 0 so the program
// still handles them.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "engine_state.h"
#include "frame.h"
#include "themecore.h"
#include "ui_internal.h"

namespace themecore {

namespace {

using frame::FrameState;
using frame::Geometry;
using frame::kCloseBit;
using frame::kMaximiseBit;
using frame::kMinimiseBit;
using frame::Measure;
using frame::PaintFrame;
using frame::PaintFrameOn;
using frame::Part;
using frame::PartAt;
using frame::RectOf;

const char kFrameProp[] = "themecore.frame";

// The system menu's entry that programs know as WM_SYSCOMMAND 0 (About).
constexpr UINT kAboutCommand = 1;
constexpr UINT_PTR kSystemTool = 1;

// The first main window the frame took on, while it lives.
HWND g_firstMainWindow = nullptr;

bool IsMainWindow(HWND window) {
  if (IsCallerFramed(window)) return false;
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  if ((style & WS_POPUP) == 0 || (style & WS_CHILD) != 0) return false;
  if (GetWindow(window, GW_OWNER) != nullptr) return false;
  return ClassOf(window) == EngineClass::kNone;
}

FrameState* StateOf(HWND window, bool create) {
  auto* state = static_cast<FrameState*>(GetPropA(window, kFrameProp));
  if (state != nullptr || !create) return state;
  state = new FrameState;
  state->isActive = GetActiveWindow() == window;
  if (g_firstMainWindow == nullptr || !IsWindow(g_firstMainWindow)) g_firstMainWindow = window;
  if (!SetPropA(window, kFrameProp, state)) {
    delete state;
    return nullptr;
  }
  return state;
}

POINT ToWindow(HWND window, POINT screen) {
  RECT rect;
  GetWindowRect(window, &rect);
  return {screen.x - rect.left, screen.y - rect.top};
}

LRESULT HitTest(HWND window, POINT screen) {
  const Geometry g = Measure(window);
  const POINT p = ToWindow(window, screen);
  if (p.x < 0 || p.y < 0 || p.x >= g.width || p.y >= g.height) return HTNOWHERE;
  const bool canSize = !IsZoomed(window) && !IsIconic(window);
  if (canSize) {
    const int corner = std::max(g.top, 8);
    const bool onLeft = p.x < std::max(g.left, 2);
    const bool onRight = p.x >= g.width - std::max(g.right, 2);
    const bool onTop = p.y < std::min(3, g.top);
    const bool onBottom = p.y >= g.height - std::max(g.bottom, 2);
    const bool nearLeft = p.x < corner;
    const bool nearRight = p.x >= g.width - corner;
    if (onTop || onBottom) {
      if (nearLeft) return onTop ? HTTOPLEFT : HTBOTTOMLEFT;
      if (nearRight) return onTop ? HTTOPRIGHT : HTBOTTOMRIGHT;
      return onTop ? HTTOP : HTBOTTOM;
    }
    if (onLeft || onRight) {
      if (p.y < corner) return onLeft ? HTTOPLEFT : HTTOPRIGHT;
      if (p.y >= g.height - corner) return onLeft ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
      return onLeft ? HTLEFT : HTRIGHT;
    }
  }
  if (p.y < g.top) {
    switch (PartAt(g, p)) {
      case Part::kClose:
        return HTCLOSE;
      case Part::kMaximise:
        return HTMAXBUTTON;
      case Part::kMinimise:
        return HTMINBUTTON;
      case Part::kSystem:
        return HTSYSMENU;
      default:
        return HTCAPTION;
    }
  }
  const bool inClient = p.x >= g.left && p.x < g.width - g.right && p.y < g.height - g.bottom;
  if (inClient) return canSize && IsOnSizeGrip(window, screen) ? HTBOTTOMRIGHT : HTCLIENT;
  return HTBORDER;
}

void ShowSystemMenu(HWND window, POINT screen) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  const int32_t bits = WindowStyleBits();
  const bool isZoomed = IsZoomed(window) != FALSE;
  const bool isIconic = IsIconic(window) != FALSE;
  AppendMenuA(menu, MF_STRING | (isZoomed || isIconic ? 0 : MF_GRAYED), SC_RESTORE, "&Restore");
  if (bits & kMinimiseBit) {
    AppendMenuA(menu, MF_STRING | (isIconic ? MF_GRAYED : 0), SC_MINIMIZE, "Mi&nimize");
  }
  if (bits & kMaximiseBit) {
    AppendMenuA(menu, MF_STRING | (isZoomed ? MF_GRAYED : 0), SC_MAXIMIZE, "Ma&ximize");
  }
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, kAboutCommand, "&About...");
  const UINT command = static_cast<UINT>(TrackPopupMenuEx(
      menu, TPM_RETURNCMD | TPM_LEFTBUTTON | TPM_RIGHTBUTTON, screen.x, screen.y, window, nullptr));
  DestroyMenu(menu);
  if (command == 0 || !IsWindow(window)) return;
  PostMessageA(window, WM_SYSCOMMAND, command == kAboutCommand ? 0 : command, 0);
}

void ShowSystemMenuUnderButton(HWND window) {
  const Geometry g = Measure(window);
  RECT rect;
  GetWindowRect(window, &rect);
  ShowSystemMenu(window, {rect.left + g.system.left, rect.top + g.system.bottom});
}

void PressButton(HWND window, Part part, POINT screen) {
  switch (part) {
    case Part::kClose:
      PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(screen.x, screen.y));
      break;
    case Part::kMaximise:
      PostMessageA(window, WM_SYSCOMMAND, IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE,
                   MAKELPARAM(screen.x, screen.y));
      break;
    case Part::kMinimise:
      PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, MAKELPARAM(screen.x, screen.y));
      break;
    default:
      break;
  }
}

// The tooltip of the system button sees the pointer only through us: the
// caption is outside the client area its tools normally watch.
void RelayToTooltip(HWND window, const FrameState& state, UINT mouseMessage, POINT screen) {
  if (state.tooltip == nullptr) return;
  POINT client = screen;
  ScreenToClient(window, &client);
  MSG relayed = {window, mouseMessage, 0, MAKELPARAM(client.x, client.y),
                 static_cast<DWORD>(GetMessageTime()), screen};
  SendMessageA(state.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

RECT SystemToolRect(HWND window) {
  const Geometry g = Measure(window);
  RECT rect = g.system;
  OffsetRect(&rect, -g.left, -g.top);  // client coordinates
  return rect;
}

Part PartOfHitCode(WPARAM code) {
  switch (code) {
    case HTCLOSE:
      return Part::kClose;
    case HTMAXBUTTON:
      return Part::kMaximise;
    case HTMINBUTTON:
      return Part::kMinimise;
    case HTSYSMENU:
      return Part::kSystem;
    default:
      return Part::kNone;
  }
}

bool OnButtonDown(HWND window, FrameState* state, WPARAM code, POINT screen) {
  const Part part = PartOfHitCode(code);
  if (part == Part::kNone) return false;
  RelayToTooltip(window, *state, WM_LBUTTONDOWN, screen);
  if (part == Part::kSystem) {
    ShowSystemMenuUnderButton(window);
    return true;
  }
  state->pressed = part;
  state->isPressedInside = true;
  SetCapture(window);
  PaintFrame(window, *state);
  return true;
}

bool OnKeyMenu(HWND window, LPARAM key) {
  const char mnemonic = static_cast<char>(key);
  if (mnemonic == ' ') {
    ShowSystemMenuUnderButton(window);
    return true;
  }
  HWND holder = FindMenuHolder(window);
  if (holder != nullptr && OpenMenuBarFromKey(holder, mnemonic)) return true;
  if (holder == nullptr && mnemonic == 0) {
    ShowSystemMenuUnderButton(window);
    return true;
  }
  MessageBeep(0);
  return true;
}

void FillMinMaxInfo(HWND window, MINMAXINFO* info) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    info->ptMaxPosition = {monitor.rcWork.left - monitor.rcMonitor.left,
                           monitor.rcWork.top - monitor.rcMonitor.top};
    info->ptMaxSize = {monitor.rcWork.right - monitor.rcWork.left,
                       monitor.rcWork.bottom - monitor.rcWork.top};
  }
  info->ptMinTrackSize = {SKXMINI(), SKYMINI()};
}

LRESULT OnCalcSize(HWND window, WPARAM wParam, LPARAM lParam) {
  RECT* rect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                      : reinterpret_cast<RECT*>(lParam);
  rect->left += FrameMetric(metric::kFrameLeft);
  rect->top += FrameMetric(metric::kCaptionHeight);
  rect->right -= FrameMetric(metric::kFrameRight);
  rect->bottom -= FrameMetric(metric::kFrameBottom);
  if (rect->right < rect->left) rect->right = rect->left;
  if (rect->bottom < rect->top) rect->bottom = rect->top;
  // WVR_ALIGNTOP | WVR_ALIGNLEFT means what 0 means (keep the client's
  // pixels at its top-left), but is not 0: the program then knows the
  // message was handled.  The class's redraw bits keep their meaning.
  LRESULT result = WVR_ALIGNTOP | WVR_ALIGNLEFT;
  const DWORD classStyle = static_cast<DWORD>(GetClassLongPtrA(window, GCL_STYLE));
  if (classStyle & CS_HREDRAW) result |= WVR_HREDRAW;
  if (classStyle & CS_VREDRAW) result |= WVR_VREDRAW;
  return result;
}

void PrintFrame(HWND window, const FrameState& state, HDC dc, LPARAM flags) {
  PaintFrameOn(dc, window, state);
  const int saved = SaveDC(dc);
  POINT origin;
  OffsetViewportOrgEx(dc, FrameMetric(metric::kFrameLeft), FrameMetric(metric::kCaptionHeight),
                      &origin);
  if (flags & PRF_ERASEBKGND) SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  if (flags & PRF_CLIENT) {
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
  }
  RestoreDC(dc, saved);
}

POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// Messages of a tracked caption button arrive as client messages (capture).
bool HandleButtonTracking(HWND window, FrameState* state, UINT message, LPARAM lParam,
                          LRESULT* result) {
  if (state->pressed == Part::kNone) return false;
  if (message == WM_CAPTURECHANGED) {
    if (reinterpret_cast<HWND>(lParam) != window) {
      state->pressed = Part::kNone;
      PaintFrame(window, *state);
    }
    return false;
  }
  if (message != WM_MOUSEMOVE && message != WM_LBUTTONUP) return false;
  POINT screen = PointOf(lParam);
  ClientToScreen(window, &screen);
  const Geometry g = Measure(window);
  RECT box = RectOf(g, state->pressed);
  const bool isInside = PtInRect(&box, ToWindow(window, screen)) != FALSE;
  if (message == WM_MOUSEMOVE) {
    if (isInside != state->isPressedInside) {
      state->isPressedInside = isInside;
      PaintFrame(window, *state);
    }
  } else {
    const Part part = state->pressed;
    state->pressed = Part::kNone;
    ReleaseCapture();
    PaintFrame(window, *state);
    if (isInside) PressButton(window, part, screen);
  }
  *result = 1;
  return true;
}

void OnNonClientMouseMove(HWND window, FrameState* state, LPARAM lParam) {
  const POINT screen = PointOf(lParam);
  const Part part = PartAt(Measure(window), ToWindow(window, screen));
  if (part != state->hot) {
    state->hot = part == Part::kSystem ? Part::kNone : part;
    PaintFrame(window, *state);
  }
  if (!state->isTrackingLeave) {
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE | TME_NONCLIENT, window, 0};
    state->isTrackingLeave = TrackMouseEvent(&track) != FALSE;
  }
  RelayToTooltip(window, *state, WM_MOUSEMOVE, screen);
}

}  // namespace

HWND FramedMainWindow() {
  return g_firstMainWindow != nullptr && IsWindow(g_firstMainWindow) ? g_firstMainWindow : nullptr;
}

bool HandleFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* result) {
  switch (message) {
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_NCHITTEST:
    case WM_NCMOUSEMOVE:
    case WM_NCMOUSELEAVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_SYSCOMMAND:
    case WM_SETTEXT:
    case WM_SETICON:
    case WM_GETMINMAXINFO:
    case WM_SIZE:
    case WM_PRINT:
    case WM_NCCREATE:
    case WM_NCDESTROY:
      break;
    default:
      return false;
  }
  if (window == nullptr || !IsMainWindow(window)) return false;
  if (message == WM_NCDESTROY) {
    FrameState* state = StateOf(window, false);
    RemovePropA(window, kFrameProp);
    delete state;
    return false;
  }
  FrameState* state = StateOf(window, true);
  if (state == nullptr) return false;
  if (HandleButtonTracking(window, state, message, lParam, result)) return true;

  switch (message) {
    case WM_NCCREATE: {
      // Shadow or not is the program's setting, whenever it made its class.
      const DWORD style = static_cast<DWORD>(GetClassLongPtrA(window, GCL_STYLE));
      const DWORD wanted = ShadowEnabled() ? (style | CS_DROPSHADOW) : (style & ~CS_DROPSHADOW);
      if (wanted != style) SetClassLongPtrA(window, GCL_STYLE, wanted);
      return false;
    }
    case WM_NCCALCSIZE:
      *result = OnCalcSize(window, wParam, lParam);
      return true;
    case WM_NCPAINT:
      PaintFrame(window, *state);
      *result = 1;
      return true;
    case WM_NCACTIVATE:
      state->isActive = wParam != 0;
      if (lParam != -1) PaintFrame(window, *state);
      *result = TRUE;
      return true;
    case WM_NCHITTEST:
      *result = HitTest(window, PointOf(lParam));
      return *result != HTNOWHERE;
    case WM_NCMOUSEMOVE:
      OnNonClientMouseMove(window, state, lParam);
      return false;
    case WM_NCMOUSELEAVE:
      state->isTrackingLeave = false;
      if (state->hot != Part::kNone) {
        state->hot = Part::kNone;
        PaintFrame(window, *state);
      }
      return false;
    case WM_NCLBUTTONDOWN:
      *result = 1;
      return OnButtonDown(window, state, wParam, PointOf(lParam));
    case WM_NCLBUTTONDBLCLK:
      *result = 1;
      if (wParam == HTSYSMENU) {
        if (WindowStyleBits() & kCloseBit) PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, lParam);
        return true;
      }
      if (wParam == HTCAPTION) {
        if (WindowStyleBits() & kMaximiseBit) {
          PostMessageA(window, WM_SYSCOMMAND, IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        }
        return true;
      }
      return OnButtonDown(window, state, wParam, PointOf(lParam));
    case WM_NCRBUTTONUP:
      if (wParam != HTCAPTION && wParam != HTSYSMENU) return false;
      ShowSystemMenu(window, PointOf(lParam));
      *result = 1;
      return true;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_KEYMENU:
          *result = 1;
          return OnKeyMenu(window, lParam);
        case SC_MOUSEMENU:
          ShowSystemMenuUnderButton(window);
          *result = 1;
          return true;
        default:
          return false;
      }
    case WM_SETTEXT:
    case WM_SETICON:
      // The system draws a caption only for WS_CAPTION windows: set the
      // value, then draw ours.
      *result = DefWindowProcA(window, message, wParam, lParam);
      PaintFrame(window, *state);
      return *result != 0;
    case WM_GETMINMAXINFO:
      FillMinMaxInfo(window, reinterpret_cast<MINMAXINFO*>(lParam));
      return false;
    case WM_SIZE:
      // The caption buttons follow the right edge.
      RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
      if (state->tooltip != nullptr) {
        TTTOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = window;
        tool.uId = kSystemTool;
        tool.rect = SystemToolRect(window);
        SendMessageA(state->tooltip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
      }
      return false;
    case WM_PRINT:
      if ((lParam & PRF_NONCLIENT) == 0) return false;
      PrintFrame(window, *state, reinterpret_cast<HDC>(wParam), lParam);
      *result = 1;
      return true;
    default:
      return false;
  }
}

bool SetSystemButtonTip(HWND mainWindow, const char* tip) {
  if (mainWindow == nullptr || !IsWindow(mainWindow) || !IsMainWindow(mainWindow)) return false;
  FrameState* state = StateOf(mainWindow, true);
  if (state == nullptr) return false;
  if (state->tooltip == nullptr) {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
    state->tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mainWindow,
                                     nullptr, EngineInstance(), nullptr);
    if (state->tooltip == nullptr) return false;
  }
  TTTOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = mainWindow;
  tool.uId = kSystemTool;
  if (tip == nullptr || tip[0] == '\0') {
    SendMessageA(state->tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return true;
  }
  tool.rect = SystemToolRect(mainWindow);
  tool.lpszText = const_cast<char*>(tip);
  TTTOOLINFOA existing = tool;
  existing.lpszText = nullptr;
  if (SendMessageA(state->tooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&existing))) {
    SendMessageA(state->tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(state->tooltip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    return true;
  }
  return SendMessageA(state->tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
}

}  // namespace themecore
