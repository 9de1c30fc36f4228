// The skinned frame of popup boxes and panels (SKPOPUPCONTAINER) and the
// filter their procedures call first (SKGETBOX).
//
// A box is made by its program as a plain WS_POPUP window; the container
// frame is a second top-level window of class "SKPOPUP" that takes the box
// as its child.  The frame draws a caption and borders in its non-client
// area, moves by its caption, and offers a close box that never closes
// anything itself: it sends the box the close command (kSkinFrameCloseId),
// so a modal box ends its own loop the way its cancel button does.  The
// frame follows the box: hidden with it, destroyed after it.
#include <windows.h>

#include <algorithm>
#include <string>

#include "engine_internal.h"
#include "engine_state.h"
#include "themecore_popup.h"
#include "trace_writer.h"
#include "ui_internal.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";
const char kFrameClass[] = "SKPOPUP";
const char kFrameProp[] = "themecore.popup";
const char kChildProp[] = "themecore.popupchild";
// Posted to the frame when its box is destroyed: the frame goes once the
// box's destruction is over.
constexpr UINT kDestroyFrame = WM_APP + 0x3A1;

struct PopupFrame {
  HWND child = nullptr;
  WNDPROC procedure = nullptr;  // receives the close command
  HWND lastFocus = nullptr;
  bool isActive = false;
  bool isClosePressed = false;
  int32_t style = 0;
};

struct ChildHook {
  HWND frame = nullptr;
  WNDPROC previous = nullptr;
};

PopupFrame* FrameOf(HWND frame) { return static_cast<PopupFrame*>(GetPropA(frame, kFrameProp)); }

int Caption() { return FrameMetric(metric::kCaptionHeight); }
int Left() { return FrameMetric(metric::kFrameLeft); }
int Right() { return FrameMetric(metric::kFrameRight); }
int Bottom() { return FrameMetric(metric::kFrameBottom); }

// The close box in window coordinates.
RECT CloseBox(HWND frame) {
  RECT window;
  GetWindowRect(frame, &window);
  const int width = window.right - window.left;
  const int side = std::max(8, std::min(Caption() - 6, FrameMetric(metric::kCaptionButtonHeight)));
  const int top = (Caption() - side) / 2;
  const int right = width - std::max(Right(), FrameMetric(metric::kCaptionButtonsRight));
  return {right - side, top, right, top + side};
}

std::string TextOf(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return text;
}

void PaintFrame(HWND frame, HDC dc) {
  PopupFrame* state = FrameOf(frame);
  RECT window;
  GetWindowRect(frame, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  const bool active = state != nullptr && state->isActive;
  // Borders, then the caption over the top of them.
  FillSolid(dc, {0, 0, width, height}, SkinColour(colour::kWindowFace));
  DrawEdgeLines(dc, {0, 0, width, height}, SkinColour(colour::kLight), SkinColour(colour::kShadow));
  FillSolid(dc, {1, 1, width - 1, Caption()},
            SkinColour(active ? colour::kCaptionBack : colour::kCaptionBackIdle));
  const COLORREF textColour = SkinColour(active ? colour::kCaptionText : colour::kCaptionTextIdle);
  HGDIOBJ oldFont = SelectObject(dc, SkinCaptionFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, textColour);
  RECT close = CloseBox(frame);
  RECT title = {Left() + 4, 1, close.left - 4, Caption()};
  const std::string text = TextOf(frame);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &title,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, oldFont);
  if (state != nullptr && state->isClosePressed) {
    FillSolid(dc, close, SkinColour(colour::kHighlightBack));
  }
  DrawEdgeLines(dc, close, SkinColour(colour::kLight), SkinColour(colour::kShadow));
  HPEN pen = CreatePen(PS_SOLID, 1, textColour);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  const int inset = (close.right - close.left) / 4;
  MoveToEx(dc, close.left + inset, close.top + inset, nullptr);
  LineTo(dc, close.right - inset, close.bottom - inset);
  MoveToEx(dc, close.right - inset - 1, close.top + inset, nullptr);
  LineTo(dc, close.left + inset - 1, close.bottom - inset);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void RedrawFrame(HWND frame) {
  HDC dc = GetWindowDC(frame);
  if (dc == nullptr) return;
  // The client is left alone: only the non-client strips are drawn.
  RECT client;
  GetClientRect(frame, &client);
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, Left(), Caption(), Left() + client.right, Caption() + client.bottom);
  PaintFrame(frame, dc);
  RestoreDC(dc, saved);
  ReleaseDC(frame, dc);
}

void SendClose(HWND frame) {
  PopupFrame* state = FrameOf(frame);
  if (state == nullptr || state->child == nullptr || !IsWindow(state->child)) return;
  const WPARAM command = MAKEWPARAM(kSkinFrameCloseId, BN_CLICKED);
  if (state->procedure != nullptr) {
    CallWindowProcA(state->procedure, state->child, WM_COMMAND, command, reinterpret_cast<LPARAM>(frame));
  } else {
    SendMessageA(state->child, WM_COMMAND, command, reinterpret_cast<LPARAM>(frame));
  }
}

bool IsInside(HWND frame, HWND window) {
  return window != nullptr && window != frame && IsChild(frame, window);
}

// The focus goes on into the box: to the child that had it last, else the
// first tab stop, else the box itself.
void PassFocusOn(HWND frame, HWND previous) {
  PopupFrame* state = FrameOf(frame);
  if (state == nullptr || state->child == nullptr) return;
  HWND target = nullptr;
  if (IsInside(frame, state->lastFocus) && IsWindowVisible(state->lastFocus)) target = state->lastFocus;
  if (target == nullptr && IsInside(frame, previous)) target = previous;
  if (target == nullptr) {
    HWND first = GetNextDlgTabItem(state->child, nullptr, FALSE);
    target = IsInside(frame, first) ? first : state->child;
  }
  SetFocus(target);
}

LRESULT HitTest(HWND frame, LPARAM lParam) {
  RECT window;
  GetWindowRect(frame, &window);
  POINT p = {static_cast<short>(LOWORD(lParam)) - window.left,
             static_cast<short>(HIWORD(lParam)) - window.top};
  if (p.x < 0 || p.y < 0 || p.x >= window.right - window.left || p.y >= window.bottom - window.top) {
    return HTNOWHERE;
  }
  RECT close = CloseBox(frame);
  if (PtInRect(&close, p)) return HTCLOSE;
  if (p.y < Caption()) return HTCAPTION;
  RECT client;
  GetClientRect(frame, &client);
  if (p.x >= Left() && p.x < Left() + client.right && p.y < Caption() + client.bottom) return HTCLIENT;
  return HTBORDER;
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  PopupFrame* state = FrameOf(frame);
  switch (message) {
    case WM_NCCALCSIZE: {
      RECT* rect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                          : reinterpret_cast<RECT*>(lParam);
      rect->left += Left();
      rect->top += Caption();
      rect->right = std::max(rect->left, rect->right - Right());
      rect->bottom = std::max(rect->top, rect->bottom - Bottom());
      return 0;
    }
    case WM_NCPAINT:
      RedrawFrame(frame);
      return 0;
    case WM_NCACTIVATE:
      if (state != nullptr) state->isActive = wParam != 0;
      RedrawFrame(frame);
      return TRUE;
    case WM_NCHITTEST:
      return HitTest(frame, lParam);
    case WM_NCLBUTTONDOWN:
      if (wParam == HTCLOSE && state != nullptr) {
        state->isClosePressed = true;
        RedrawFrame(frame);
        state->isClosePressed = false;
        RedrawFrame(frame);
        SendClose(frame);
        return 0;
      }
      break;
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCLOSE) return 0;
      break;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(frame, message, wParam, lParam);
      RedrawFrame(frame);
      return result;
    }
    case WM_CLOSE:
      // Alt+F4 and the system's close: the box decides, as for the close box.
      SendClose(frame);
      return 0;
    case WM_ACTIVATE:
      if (state != nullptr && LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (IsInside(frame, focus)) state->lastFocus = focus;
      }
      return 0;
    case WM_SETFOCUS:
      PassFocusOn(frame, reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the box covers the client
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      // The box is the frame's only child; nothing of its own talks to the
      // frame, so these go back to the box.
      if (state != nullptr && state->child != nullptr && IsWindow(state->child)) {
        return SendMessageA(state->child, message, wParam, lParam);
      }
      return 0;
    case kDestroyFrame:
      DestroyWindow(frame);
      return 0;
    case WM_NCDESTROY:
      RemovePropA(frame, kFrameProp);
      delete state;
      break;
    default:
      break;
  }
  return DefWindowProcA(frame, message, wParam, lParam);
}

LRESULT CALLBACK ChildHookProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* hook = static_cast<ChildHook*>(GetPropA(child, kChildProp));
  if (hook == nullptr) return DefWindowProcA(child, message, wParam, lParam);
  WNDPROC previous = hook->previous;
  HWND frame = hook->frame;
  switch (message) {
    case WM_SHOWWINDOW:
      if (wParam == FALSE && IsWindow(frame)) ShowWindow(frame, SW_HIDE);
      break;
    case WM_DESTROY:
      if (IsWindow(frame)) {
        ShowWindow(frame, SW_HIDE);
        if (PopupFrame* state = FrameOf(frame)) state->child = nullptr;
        PostMessageA(frame, kDestroyFrame, 0, 0);
      }
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      RemovePropA(child, kChildProp);
      delete hook;
      return CallWindowProcA(previous, child, message, wParam, lParam);
    default:
      break;
  }
  return CallWindowProcA(previous, child, message, wParam, lParam);
}

bool RegisterFrameClass() {
  static ATOM atom = 0;
  if (atom != 0) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = EngineInstance();
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kFrameClass;
  atom = RegisterClassExA(&wc);
  if (atom == 0) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    atom = static_cast<ATOM>(GetClassInfoExA(EngineInstance(), kFrameClass, &existing));
  }
  return atom != 0;
}

HWND MakeContainer(HWND window, const char* title, int32_t x, int32_t y, int32_t width,
                   int32_t height, WNDPROC procedure, int32_t flags, int32_t style) {
  if (window == nullptr || !IsWindow(window) || !RegisterFrameClass()) return nullptr;
  RECT client;
  GetClientRect(window, &client);
  int clientWidth = width != 0 ? std::abs(width) : client.right;
  int clientHeight = height != 0 ? std::abs(height) : client.bottom;
  std::string caption = title != nullptr && title[0] != '\0' ? std::string(title) : TextOf(window);
  HWND owner = GetWindow(window, GW_OWNER);
  if (owner == nullptr && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) == 0) owner = GetParent(window);
  HWND frame = CreateWindowExA(0, kFrameClass, caption.c_str(), WS_POPUP | WS_CLIPCHILDREN, x, y,
                               clientWidth + Left() + Right(), clientHeight + Caption() + Bottom(),
                               owner, nullptr, EngineInstance(), nullptr);
  if (frame == nullptr) return nullptr;
  auto* state = new PopupFrame;
  state->child = window;
  state->procedure = procedure;
  state->style = style;
  if (!SetPropA(frame, kFrameProp, state)) {
    delete state;
    DestroyWindow(frame);
    return nullptr;
  }
  LONG windowStyle = GetWindowLongA(window, GWL_STYLE);
  windowStyle = (windowStyle & ~WS_POPUP) | WS_CHILD;
  SetWindowLongA(window, GWL_STYLE, windowStyle);
  SetParent(window, frame);
  SetWindowPos(window, nullptr, 0, 0, clientWidth, clientHeight,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  ShowWindow(window, SW_SHOWNA);
  auto* hook = new ChildHook;
  hook->frame = frame;
  if (SetPropA(window, kChildProp, hook)) {
    hook->previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ChildHookProc)));
  } else {
    delete hook;
  }
  if ((flags & 1) == 0) {
    ShowWindow(frame, SW_SHOW);
    SetForegroundWindow(frame);
  }
  return frame;
}

LRESULT PaintFromMemory(HWND window, UINT message, WPARAM wParam) {
  HDC memory = WindowBitmapDc(window);
  if (memory == nullptr) return 0;
  RECT client;
  GetClientRect(window, &client);
  switch (message) {
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (dc != nullptr) {
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        EndPaint(window, &paint);
      }
      return 1;
    }
    default:
      return 0;
  }
}

}  // namespace

}  // namespace themecore

using themecore::engine::HandleText;

THEMECORE_API HWND __stdcall SKPOPUPCONTAINER(HWND window, const char* title, int32_t x, int32_t y,
                                              int32_t width, int32_t height, WNDPROC procedure,
                                              int32_t flags, int32_t style) {
  try {
    HWND frame = themecore::MakeContainer(window, title, x, y, width, height, procedure, flags, style);
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKPOPUPCONTAINER")
                            .Raw(HandleText(window))
                            .Text(title)
                            .Number(x)
                            .Number(y)
                            .Number(width)
                            .Number(height)
                            .Raw(procedure != nullptr ? "procedure" : "NULL")
                            .Number(flags)
                            .Number(style),
                        HandleText(frame));
    return frame;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API LRESULT __stdcall SKGETBOX(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_ERASEBKGND && message != WM_PAINT && message != WM_PRINTCLIENT) return 0;
  try {
    return themecore::PaintFromMemory(window, message, wParam);
  } catch (...) {
    return 0;
  }
}
