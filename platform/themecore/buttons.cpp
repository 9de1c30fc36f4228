// The engine's push, check and radio buttons (class "SKBUTTON"): drawn in
// skin colours, clicked with the mouse, Space or (push buttons) Enter, and
// reporting a click to their parent as WM_COMMAND (BN_CLICKED, id) like a
// system button.  They answer BM_CLICK, BM_GETCHECK, BM_SETCHECK,
// BM_GETSTATE and BM_SETSTATE, so code written for system buttons drives
// them unchanged.  A push button also keeps its three looks (normal,
// pressed, hot) side by side in its memory bitmap (SKGETHDCMEMBMP), from
// which a caller that draws the button elsewhere (the skinning library's
// caption buttons) copies them.  Also the check-box and radio images (four
// states side by side).
#include <windows.h>

#include <algorithm>
#include <string>

#include "engine_state.h"
#include "ui_internal.h"

namespace themecore {

namespace {

constexpr COLORREF kImageKey = RGB(255, 0, 255);
constexpr int kCheckSide = 13;

struct ButtonState {
  ButtonKind kind = ButtonKind::kPush;
  ButtonLook look;
  HFONT font = nullptr;
  bool isChecked = false;
  bool isPushed = false;      // drawn pressed
  bool isMouseDown = false;   // the left button went down on it
  bool isSpaceDown = false;
  bool isHot = false;
  bool isTrackingLeave = false;
  const char* text = nullptr;  // drawn instead of the window's text when set
};

struct ButtonCreation {
  ButtonKind kind;
  ButtonLook look;
  HFONT font;
};

ButtonState* StateOf(HWND window) {
  return reinterpret_cast<ButtonState*>(GetWindowLongPtrA(window, 0));
}

struct Colours {
  COLORREF text;
  COLORREF back;
};

// SKSETCOLOR wins over the style record, which wins over the skin.
Colours ColoursFor(HWND window, const ButtonState& state) {
  Colours colours;
  if (state.kind == ButtonKind::kPush) {
    colours = {SkinColour(colour::kControlText), SkinColour(colour::kControlBack)};
  } else {
    colours = {SkinColour(colour::kBoxText), SkinColour(colour::kBoxBack)};
  }
  if (state.look.hasColours) colours = {state.look.text, state.look.face};
  if (const ControlColours* set = ColoursOf(window)) {
    if (set->hasText) colours.text = set->text;
    if (set->hasBack) colours.back = set->back;
  }
  if (!IsWindowEnabled(window)) colours.text = SkinColour(colour::kShadow);
  return colours;
}

std::string TextOf(HWND window) {
  char text[512];
  const int length = GetWindowTextA(window, text, sizeof(text));
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

// `focused`: the button has the focus (a focus rectangle is drawn when the
// program asked for them).
void PaintPush(HWND window, const ButtonState& state, HDC dc, const RECT& client, bool focused) {
  const Colours colours = ColoursFor(window, state);
  FillSolid(dc, client, colours.back);
  const COLORREF light = SkinColour(colour::kLight);
  const COLORREF shadow = SkinColour(colour::kShadow);
  RECT outer = client;
  if (state.isPushed) {
    DrawEdgeLines(dc, outer, shadow, shadow);
    InflateRect(&outer, -1, -1);
    DrawEdgeLines(dc, outer, shadow, colours.back);
  } else {
    const COLORREF frame = state.isHot ? SkinColour(colour::kHighlightBack) : shadow;
    DrawEdgeLines(dc, outer, frame, frame);
    InflateRect(&outer, -1, -1);
    DrawEdgeLines(dc, outer, light, colours.back);
  }
  RECT textRect = client;
  InflateRect(&textRect, -3, -2);
  if (state.isPushed) OffsetRect(&textRect, 1, 1);
  std::string text = state.text != nullptr ? std::string(state.text) : TextOf(window);
  HGDIOBJ oldFont = SelectObject(dc, state.font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colours.text);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS);
  SelectObject(dc, oldFont);
  if (focused && FocusRectEnabled()) {
    RECT focus = client;
    InflateRect(&focus, -3, -3);
    SetTextColor(dc, colours.text);
    DrawFocusRect(dc, &focus);
  }
}

void PaintCheck(HWND window, const ButtonState& state, HDC dc, const RECT& client) {
  const Colours colours = ColoursFor(window, state);
  FillSolid(dc, client, colours.back);
  int imageWidth = 0;
  int imageHeight = 0;
  HBITMAP image = state.kind == ButtonKind::kRadio ? RadioImage() : CheckBoxImage();
  int boxWidth = 0;
  if (BitmapSize(image, &imageWidth, &imageHeight) && imageWidth >= 4) {
    boxWidth = imageWidth / 4;
    const int part = (state.isChecked ? 1 : 0) + (IsWindowEnabled(window) ? 0 : 2);
    HDC imageDc = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(imageDc, image);
    const int y = (client.bottom - imageHeight) / 2;
    TransparentCopy(dc, 0, y, boxWidth, imageHeight, imageDc, part * boxWidth, 0, kImageKey);
    SelectObject(imageDc, old);
    DeleteDC(imageDc);
  }
  RECT textRect = {boxWidth + 4, client.top, client.right, client.bottom};
  std::string text = TextOf(window);
  HGDIOBJ oldFont = SelectObject(dc, state.font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colours.text);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
  if (GetFocus() == window && FocusRectEnabled()) {
    RECT measured = textRect;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measured,
              DT_SINGLELINE | DT_CALCRECT);
    RECT focus = {textRect.left - 1, client.top + 1,
                  std::min(textRect.left + (measured.right - measured.left) + 1, client.right),
                  client.bottom - 1};
    DrawFocusRect(dc, &focus);
  }
  SelectObject(dc, oldFont);
}

// Draws the button through a buffer onto `target` (its own paint DC, or
// the DC of WM_PRINTCLIENT).
void PaintOn(HWND window, const ButtonState& state, HDC target) {
  RECT client;
  GetClientRect(window, &client);
  HDC dc = CreateCompatibleDC(target);
  HBITMAP buffer = CreateCompatibleBitmap(target, std::max<int>(client.right, 1),
                                          std::max<int>(client.bottom, 1));
  HDC drawOn = (dc != nullptr && buffer != nullptr) ? dc : target;
  HGDIOBJ oldBuffer = drawOn == dc ? SelectObject(dc, buffer) : nullptr;
  if (state.kind == ButtonKind::kPush) {
    PaintPush(window, state, drawOn, client, GetFocus() == window);
  } else {
    PaintCheck(window, state, drawOn, client);
  }
  if (drawOn == dc) {
    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBuffer);
  }
  if (buffer != nullptr) DeleteObject(buffer);
  if (dc != nullptr) DeleteDC(dc);
}

// The three looks of a push button side by side in its memory bitmap:
// normal, pressed, hot, each as wide as the button.
void MakeStateStrip(HWND window, const ButtonState& state) {
  if (state.kind != ButtonKind::kPush) return;
  RECT client;
  GetClientRect(window, &client);
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0 || !CreateWindowBitmap(window, 3 * width, height)) return;
  HDC strip = WindowBitmapDc(window);
  for (int look = 0; look < 3; ++look) {
    ButtonState drawn = state;
    drawn.isPushed = look == 1;
    drawn.isHot = look == 2;
    const int saved = SaveDC(strip);
    SetViewportOrgEx(strip, look * width, 0, nullptr);
    PaintPush(window, drawn, strip, client, false);
    RestoreDC(strip, saved);
  }
}

void Redraw(HWND window) { InvalidateRect(window, nullptr, FALSE); }

// A radio button clicked: it is checked and the other radio buttons of its
// parent are not.
void CheckRadio(HWND window, ButtonState* state) {
  HWND parent = GetParent(window);
  for (HWND sibling = parent != nullptr ? GetWindow(parent, GW_CHILD) : nullptr; sibling != nullptr;
       sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    if (sibling == window || ClassOf(sibling) != EngineClass::kButton) continue;
    ButtonState* other = StateOf(sibling);
    if (other != nullptr && other->kind == ButtonKind::kRadio && other->isChecked) {
      other->isChecked = false;
      Redraw(sibling);
    }
  }
  if (!state->isChecked) {
    state->isChecked = true;
    Redraw(window);
  }
}

// Toggles a check button and tells the parent.  The parent may destroy the
// button while it handles the message: nothing of it is touched after.
void Click(HWND window, ButtonState* state) {
  if (!IsWindowEnabled(window)) return;
  if (state->kind == ButtonKind::kCheck) {
    state->isChecked = !state->isChecked;
    Redraw(window);
  } else if (state->kind == ButtonKind::kRadio) {
    CheckRadio(window, state);
  }
  HWND parent = GetParent(window);
  if (parent != nullptr) {
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window));
  }
}

void SetPushed(HWND window, ButtonState* state, bool isPushed) {
  if (state->isPushed == isPushed) return;
  state->isPushed = isPushed;
  Redraw(window);
}

LRESULT OnMouse(HWND window, ButtonState* state, UINT message, LPARAM lParam) {
  POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  RECT client;
  GetClientRect(window, &client);
  const bool isInside = PtInRect(&client, point) != FALSE;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetWindowLongA(window, GWL_STYLE) & WS_TABSTOP) SetFocus(window);
      state->isMouseDown = true;
      SetCapture(window);
      SetPushed(window, state, true);
      break;
    case WM_MOUSEMOVE:
      if (state->isMouseDown) {
        SetPushed(window, state, isInside);
      } else if (!state->isHot) {
        state->isHot = true;
        Redraw(window);
      }
      if (!state->isTrackingLeave) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, window, 0};
        state->isTrackingLeave = TrackMouseEvent(&track) != FALSE;
      }
      break;
    case WM_LBUTTONUP:
      if (!state->isMouseDown) break;
      state->isMouseDown = false;
      SetPushed(window, state, false);
      ReleaseCapture();
      if (isInside) Click(window, state);
      break;
    default:
      break;
  }
  return 0;
}

LRESULT OnKey(HWND window, ButtonState* state, UINT message, WPARAM key, LPARAM lParam) {
  const bool isRepeat = (lParam & (1 << 30)) != 0;
  if (message == WM_KEYDOWN) {
    if (key == VK_SPACE && !isRepeat) {
      state->isSpaceDown = true;
      SetPushed(window, state, true);
    } else if (key == VK_RETURN && state->kind == ButtonKind::kPush && !isRepeat) {
      Click(window, state);
    }
  } else if (key == VK_SPACE && state->isSpaceDown) {
    state->isSpaceDown = false;
    SetPushed(window, state, false);
    Click(window, state);
  }
  return 0;
}

}  // namespace

void DrawPushButtonLook(HWND window, HDC dc, const RECT& rect, bool pushed, bool hot, bool focused) {
  ButtonState state;
  state.kind = ButtonKind::kPush;
  state.font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  if (state.font == nullptr) state.font = SkinCaptionFont();
  state.isPushed = pushed;
  state.isHot = hot;
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, rect.left, rect.top, nullptr);
  RECT local = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
  PaintPush(window, state, dc, local, focused);
  RestoreDC(dc, saved);
}

void DrawPushButtonPicture(HWND window, HDC dc, const RECT& rect, const char* text, HFONT font,
                           bool pushed, bool hot) {
  ButtonState state;
  state.kind = ButtonKind::kPush;
  state.font = font != nullptr ? font : SkinCaptionFont();
  state.isPushed = pushed;
  state.isHot = hot;
  state.text = text != nullptr ? text : "";
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, rect.left, rect.top, nullptr);
  RECT local = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
  PaintPush(window, state, dc, local, false);
  RestoreDC(dc, saved);
}

HWND CreateSkinButton(HWND parent, ButtonKind kind, const char* text, HFONT font, int x, int y,
                      int width, int height, int id, const ButtonLook& look) {
  if (parent == nullptr || !IsWindow(parent) || !RegisterEngineClasses()) return nullptr;
  if (font == nullptr) font = kind == ButtonKind::kPush ? SkinCaptionFont() : SkinDefaultFont();
  ButtonCreation creation = {kind, look, font};
  return CreateWindowExA(0, kButtonClass, text != nullptr ? text : "",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), EngineInstance(),
                         &creation);
}

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonState* state = StateOf(window);
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    const auto* creation = static_cast<const ButtonCreation*>(create->lpCreateParams);
    auto* created = new ButtonState;
    if (creation != nullptr) {
      created->kind = creation->kind;
      created->look = creation->look;
      created->font = creation->font;
    }
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(created));
    return DefWindowProcA(window, message, wParam, lParam);
  }
  if (state == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      MakeStateStrip(window, *state);
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_SIZE:
      MakeStateStrip(window, *state);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, 0, 0);
      FreeColours(window);
      if (state->kind == ButtonKind::kPush) DeleteWindowBitmap(window);
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
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_BUTTON;
      if (state->kind == ButtonKind::kPush) {
        code |= DLGC_UNDEFPUSHBUTTON;
        // Enter on a focused push button clicks it, also inside a dialog
        // loop that would otherwise take Enter for the default button.
        const MSG* pending = reinterpret_cast<const MSG*>(lParam);
        if (pending != nullptr && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN) {
          code |= DLGC_WANTMESSAGE;
        }
      }
      return code;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      return OnMouse(window, state, message, lParam);
    case WM_MOUSELEAVE:
      state->isTrackingLeave = false;
      if (state->isHot) {
        state->isHot = false;
        Redraw(window);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (state->isMouseDown && reinterpret_cast<HWND>(lParam) != window) {
        state->isMouseDown = false;
        SetPushed(window, state, false);
      }
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      return OnKey(window, state, message, wParam, lParam);
    case WM_CHAR:
      return 0;  // Space and Enter act on key down and up; no beep
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (message == WM_KILLFOCUS && state->isSpaceDown) {
        state->isSpaceDown = false;
        SetPushed(window, state, false);
      }
      Redraw(window);
      return 0;
    case WM_ENABLE:
      MakeStateStrip(window, *state);
      Redraw(window);
      return 0;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      MakeStateStrip(window, *state);
      Redraw(window);
      return result;
    }
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      MakeStateStrip(window, *state);
      if (LOWORD(lParam)) Redraw(window);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case BM_CLICK:
      Click(window, state);
      return 0;
    case BM_GETCHECK:
      return state->isChecked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
      if (state->isChecked != (wParam == BST_CHECKED)) {
        state->isChecked = wParam == BST_CHECKED;
        Redraw(window);
      }
      return 0;
    case BM_GETSTATE:
      return (state->isChecked ? BST_CHECKED : 0) | (state->isPushed ? BST_PUSHED : 0) |
             (GetFocus() == window ? BST_FOCUS : 0);
    case BM_SETSTATE:
      SetPushed(window, state, wParam != 0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HBITMAP RadioImage() {
  if (HBITMAP image = SkinBitmap("radiobutton")) return image;
  static HBITMAP made = nullptr;
  if (made != nullptr) return made;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP image = CreateCompatibleBitmap(screen, 4 * kCheckSide, kCheckSide);
  ReleaseDC(nullptr, screen);
  if (dc == nullptr || image == nullptr) {
    if (dc != nullptr) DeleteDC(dc);
    if (image != nullptr) DeleteObject(image);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(dc, image);
  RECT all = {0, 0, 4 * kCheckSide, kCheckSide};
  FillSolid(dc, all, kImageKey);
  // Unchecked, checked, unchecked disabled, checked disabled: a ring, with a
  // dot when checked.
  for (int part = 0; part < 4; ++part) {
    const bool isChecked = (part % 2) == 1;
    const bool isEnabled = part < 2;
    const int x = part * kCheckSide;
    HPEN pen = CreatePen(PS_SOLID, 1, SkinColour(colour::kShadow));
    HBRUSH face = CreateSolidBrush(SkinColour(isEnabled ? colour::kControlBack : colour::kBoxBack));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, face);
    Ellipse(dc, x, 0, x + kCheckSide, kCheckSide);
    if (isChecked) {
      HBRUSH dot = CreateSolidBrush(SkinColour(isEnabled ? colour::kControlText : colour::kShadow));
      SelectObject(dc, dot);
      SelectObject(dc, GetStockObject(NULL_PEN));
      Ellipse(dc, x + 4, 4, x + kCheckSide - 3, kCheckSide - 3);
      SelectObject(dc, face);
      DeleteObject(dot);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(face);
    DeleteObject(pen);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  made = image;
  return made;
}

HBITMAP CheckBoxImage() {
  if (HBITMAP image = SkinBitmap("checkbox")) return image;
  static HBITMAP made = nullptr;
  if (made != nullptr) return made;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP image = CreateCompatibleBitmap(screen, 4 * kCheckSide, kCheckSide);
  ReleaseDC(nullptr, screen);
  if (dc == nullptr || image == nullptr) {
    if (dc != nullptr) DeleteDC(dc);
    if (image != nullptr) DeleteObject(image);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(dc, image);
  // Unchecked, checked, unchecked disabled, checked disabled.
  for (int part = 0; part < 4; ++part) {
    const bool isChecked = (part % 2) == 1;
    const bool isEnabled = part < 2;
    RECT box = {part * kCheckSide, 0, (part + 1) * kCheckSide, kCheckSide};
    FillSolid(dc, box, SkinColour(isEnabled ? colour::kControlBack : colour::kBoxBack));
    DrawEdgeLines(dc, box, SkinColour(colour::kShadow), SkinColour(colour::kShadow));
    if (!isChecked) continue;
    const COLORREF mark = SkinColour(isEnabled ? colour::kControlText : colour::kShadow);
    HPEN pen = CreatePen(PS_SOLID, 2, mark);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    const int x = box.left;
    MoveToEx(dc, x + 3, 6, nullptr);
    LineTo(dc, x + 5, 9);
    LineTo(dc, x + 10, 3);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  made = image;
  return made;
}

}  // namespace themecore
