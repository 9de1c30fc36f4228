// Holders and the status line: SKHOLDER makes the windows a program puts its
// controls in ("SKCLIP" the client area, "SKMENU" the menu bar, "SKZOOM" a
// full-screen area), SKSTATUSWINDOW the status line, and LayoutHolders keeps
// them in place when their parent changes size.
//
// A holder passes the messages it gets to the procedure the program gave,
// with the holder's own handle: its children's notifications (WM_COMMAND,
// WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*, scrolling) and its
// own WM_SIZE and WM_PAINT, which the programs use to lay out and paint
// their content.  Its creation and destruction stay its own business, so a
// program procedure never mistakes them for its main window's.  Without a
// procedure the notifications go to the holder's parent.
#include <windows.h>

#include <string>
#include <vector>

#include "engine_state.h"
#include "themecore.h"
#include "trace_writer.h"
#include "ui_internal.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";

struct HolderState {
  EngineClass kind = EngineClass::kClip;
  WNDPROC proc = nullptr;
  MenuBarState* menuBar = nullptr;
};

struct HolderCreation {
  EngineClass kind;
  WNDPROC proc;
};

HolderState* StateOf(HWND window) {
  return reinterpret_cast<HolderState*>(GetWindowLongPtrA(window, 0));
}

bool IsChildNotification(UINT message, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_PARENTNOTIFY:
      return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
      return lParam != 0;  // from a scroll bar or track bar control
    default:
      return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
  }
}

// Hands a message to the program's procedure with the holder's handle.
LRESULT Forward(HWND holder, const HolderState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  if (state.proc != nullptr) return CallWindowProcA(state.proc, holder, message, wParam, lParam);
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    LRESULT brush = 0;
    if (AnswerControlColour(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                            true, &brush)) {
      return brush;
    }
  }
  if (IsChildNotification(message, lParam)) {
    HWND parent = GetParent(holder);
    if (parent != nullptr) return SendMessageA(parent, message, wParam, lParam);
  }
  return DefWindowProcA(holder, message, wParam, lParam);
}

void PaintBackground(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  FillSolid(dc, client, SkinColour(colour::kBoxBack));
}

EngineClass KindFromName(const char* kind) {
  if (kind == nullptr) return EngineClass::kNone;
  if (lstrcmpiA(kind, kClipClass) == 0) return EngineClass::kClip;
  if (lstrcmpiA(kind, kMenuClass) == 0) return EngineClass::kMenu;
  if (lstrcmpiA(kind, kZoomClass) == 0) return EngineClass::kZoom;
  if (lstrcmpiA(kind, kControlClass) == 0) return EngineClass::kControl;
  return EngineClass::kNone;
}

const char* ClassNameOf(EngineClass kind) {
  switch (kind) {
    case EngineClass::kMenu:
      return kMenuClass;
    case EngineClass::kZoom:
      return kZoomClass;
    case EngineClass::kControl:
      return kControlClass;
    default:
      return kClipClass;
  }
}

HWND CreateHolder(HWND parent, EngineClass kind, int32_t style, int32_t id, WNDPROC proc) {
  if (parent == nullptr || !IsWindow(parent) || kind == EngineClass::kNone) return nullptr;
  if (!RegisterEngineClasses()) return nullptr;
  HolderCreation creation = {kind, proc};
  const DWORD extraStyle = static_cast<DWORD>(style);
  if (kind == EngineClass::kZoom) {
    // A window of its own above everything of the program, shown and placed
    // by the program when it goes full screen; owned by the parent's
    // top-level window so it never shows a taskbar button.
    RECT area;
    GetWindowRect(GetAncestor(parent, GA_ROOT), &area);
    return CreateWindowExA(WS_EX_TOOLWINDOW, kZoomClass, "",
                           WS_POPUP | WS_CLIPCHILDREN | (extraStyle & ~WS_CHILD), area.left,
                           area.top, area.right - area.left, area.bottom - area.top, parent,
                           nullptr, EngineInstance(), &creation);
  }
  // Child ids are the menu parameter of CreateWindowEx.
  HMENU childId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  // The menu bar paints its whole client area: its children (a help
  // button) are kept out of that painting.
  DWORD childStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (extraStyle & ~WS_POPUP);
  if (kind == EngineClass::kMenu) childStyle |= WS_CLIPCHILDREN;
  // A control area scrolls what it shows; the program places it and hides
  // the bars it does not want.
  if (kind == EngineClass::kControl) childStyle |= WS_HSCROLL | WS_VSCROLL;
  HWND holder = CreateWindowExA(WS_EX_CONTROLPARENT, ClassNameOf(kind), "", childStyle,
                                0, 0, 0, 0, parent, childId, EngineInstance(), &creation);
  if (holder == nullptr) return nullptr;
  AddSubclassDuties(parent, kLayoutHolders);
  LayoutHolders(parent);
  return holder;
}

HWND FindStatusWindow(HWND parent) {
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == EngineClass::kStatus) return child;
  }
  return nullptr;
}

// The square at the right end of a status line that sizes the main window.
bool GripRect(HWND status, RECT* grip) {
  RECT client;
  GetClientRect(status, &client);
  const int side = client.bottom - client.top;
  if (side <= 0) return false;
  *grip = {client.right - side, client.top, client.right, client.bottom};
  return true;
}

bool HasSizeGrip(HWND status) {
  HWND top = GetAncestor(status, GA_ROOT);
  return top != nullptr && !IsZoomed(top) && GetParent(status) == top;
}

void PaintStatus(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  FillSolid(dc, client, SkinColour(colour::kStatusBack));
  RECT line = {client.left, client.top, client.right, client.top + 1};
  FillSolid(dc, line, SkinColour(colour::kShadow));
  line = {client.left, client.top + 1, client.right, client.top + 2};
  FillSolid(dc, line, SkinColour(colour::kLight));

  char buffer[1024];
  const int length = GetWindowTextA(window, buffer, sizeof(buffer));
  RECT textRect = {client.left + 4, client.top + 2, client.right - 4, client.bottom};
  RECT grip;
  const bool hasGrip = HasSizeGrip(window) && GripRect(window, &grip);
  if (hasGrip) textRect.right = grip.left;
  HGDIOBJ oldFont = SelectObject(dc, SkinDefaultFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, SkinColour(colour::kStatusText));
  DrawTextA(dc, buffer, length, &textRect,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT);
  SelectObject(dc, oldFont);

  if (!hasGrip) return;
  // Three diagonal ridges, as the system's size grip.
  HPEN light = CreatePen(PS_SOLID, 1, SkinColour(colour::kLight));
  HPEN shadow = CreatePen(PS_SOLID, 1, SkinColour(colour::kShadow));
  HGDIOBJ oldPen = SelectObject(dc, shadow);
  const int right = grip.right - 2;
  const int bottom = grip.bottom - 2;
  for (int offset = 4; offset <= 12; offset += 4) {
    SelectObject(dc, shadow);
    MoveToEx(dc, right - offset, bottom, nullptr);
    LineTo(dc, right + 1, bottom - offset - 1);
    SelectObject(dc, light);
    MoveToEx(dc, right - offset + 1, bottom, nullptr);
    LineTo(dc, right + 1, bottom - offset);
  }
  SelectObject(dc, oldPen);
  DeleteObject(light);
  DeleteObject(shadow);
}

}  // namespace

void LayoutHolders(HWND parent) {
  if (parent == nullptr) return;
  RECT client;
  if (!GetClientRect(parent, &client)) return;
  const int width = client.right - client.left;
  int top = client.top;
  int bottom = client.bottom;
  std::vector<HWND> clips;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const bool isVisible = (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
    switch (ClassOf(child)) {
      case EngineClass::kMenu:
        if (!isVisible) break;
        SetWindowPos(child, nullptr, 0, top, width, FrameMetric(metric::kMenuBarHeight),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        top += FrameMetric(metric::kMenuBarHeight);
        break;
      case EngineClass::kStatus: {
        if (!isVisible) break;
        const int height = FrameMetric(metric::kStatusHeight);
        bottom -= height;
        SetWindowPos(child, nullptr, 0, bottom, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        break;
      }
      case EngineClass::kClip:
        clips.push_back(child);
        break;
      default:
        break;
    }
  }
  for (HWND clip : clips) {
    SetWindowPos(clip, nullptr, 0, top, width, bottom > top ? bottom - top : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HWND FindMenuHolder(HWND mainWindow) {
  if (mainWindow == nullptr) return nullptr;
  for (HWND child = GetWindow(mainWindow, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == EngineClass::kMenu && IsWindowVisible(child)) return child;
  }
  return nullptr;
}

MenuBarState* MenuBarOf(HWND holder) {
  if (ClassOf(holder) != EngineClass::kMenu) return nullptr;
  HolderState* state = StateOf(holder);
  return state != nullptr ? state->menuBar : nullptr;
}

bool IsOnSizeGrip(HWND mainWindow, POINT screenPoint) {
  HWND status = FindStatusWindow(mainWindow);
  if (status == nullptr || !IsWindowVisible(status) || !HasSizeGrip(status)) return false;
  RECT grip;
  if (!GripRect(status, &grip)) return false;
  POINT point = screenPoint;
  ScreenToClient(status, &point);
  return PtInRect(&grip, point) != FALSE;
}

LRESULT CALLBACK HolderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HolderState* state = StateOf(window);
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    const auto* creation = static_cast<const HolderCreation*>(create->lpCreateParams);
    auto* created = new HolderState;
    if (creation != nullptr) {
      created->kind = creation->kind;
      created->proc = creation->proc;
    }
    if (created->kind == EngineClass::kMenu) created->menuBar = CreateMenuBarState();
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(created));
    return DefWindowProcA(window, message, wParam, lParam);
  }
  if (state == nullptr) return DefWindowProcA(window, message, wParam, lParam);

  if (state->menuBar != nullptr) {
    LRESULT result = 0;
    if (HandleMenuBarMessage(window, state->menuBar, message, wParam, lParam, &result)) {
      return result;
    }
  }
  switch (message) {
    case WM_CREATE:
    case WM_DESTROY:
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, 0, 0);
      DestroyMenuBarState(state->menuBar);
      delete state;
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_SIZE:
      LayoutHolders(window);
      break;
    case WM_WINDOWPOSCHANGED: {
      // A menu bar shown or hidden gives its room to the client holder.
      const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (state->kind == EngineClass::kMenu &&
          (position->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) != 0) {
        LayoutHolders(GetParent(window));
      }
      break;
    }
    case WM_ERASEBKGND: {
      LRESULT erased = Forward(window, *state, message, wParam, lParam);
      if (erased != 0) return erased;
      PaintBackground(window, reinterpret_cast<HDC>(wParam));
      return 1;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      LRESULT brush = 0;
      if (AnswerControlColour(message, reinterpret_cast<HDC>(wParam),
                              reinterpret_cast<HWND>(lParam), false, &brush)) {
        return brush;
      }
      break;
    }
    default:
      break;
  }
  return Forward(window, *state, message, wParam, lParam);
}

LRESULT CALLBACK StatusProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (dc != nullptr) PaintStatus(window, dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintStatus(window, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case WM_SIZE:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_NCHITTEST: {
      // Over the grip the main window answers (HTBOTTOMRIGHT: it sizes).
      POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (IsOnSizeGrip(GetParent(window), point)) return HTTRANSPARENT;
      return HTCLIENT;
    }
    case WM_NCDESTROY:
      FreeColours(window);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace themecore

using themecore::engine::HandleText;

THEMECORE_API HWND __stdcall SKHOLDER(HWND parent, const char* kind, int32_t style, int32_t id,
                                      WNDPROC proc) {
  try {
    HWND holder =
        themecore::CreateHolder(parent, themecore::KindFromName(kind), style, id, proc);
    orbtrace::WriteCall(orbtrace::CallLine("themecore", "SKHOLDER")
                            .Raw(HandleText(parent))
                            .Text(kind)
                            .Number(style)
                            .Number(id)
                            .Raw(HandleText(reinterpret_cast<const void*>(proc))),
                        HandleText(holder));
    return holder;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HWND __stdcall SKSTATUSWINDOW(HWND parent, const char* text) {
  try {
    HWND status = nullptr;
    if (parent != nullptr && IsWindow(parent) && themecore::RegisterEngineClasses()) {
      // One status line per window: a second call gives the first one its text.
      status = themecore::FindStatusWindow(parent);
      if (status != nullptr) {
        SetWindowTextA(status, text != nullptr ? text : "");
      } else {
        status = CreateWindowExA(0, themecore::kStatusClass, text != nullptr ? text : "",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                                 nullptr, themecore::EngineInstance(), nullptr);
        if (status != nullptr) {
          themecore::AddSubclassDuties(parent, themecore::kLayoutHolders);
          themecore::LayoutHolders(parent);
        }
      }
    }
    orbtrace::WriteCall(
        orbtrace::CallLine("themecore", "SKSTATUSWINDOW").Raw(HandleText(parent)).Text(text),
        HandleText(status));
    return status;
  } catch (...) {
    return nullptr;
  }
}
