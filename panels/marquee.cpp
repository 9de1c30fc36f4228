// The scrolling title over the audio pane (class "MARQUEE"): a translucent
// popup owned by the pane that shows the playing item's title embossed on
// the skin's control background and turns it two pixels to the left at
// every playback tick.
#include <windows.h>

#include <algorithm>
#include <string>

#include "core/panel_rules.h"
#include "panels.h"
#include "themecore.h"
#include "themecore_wait.h"

namespace panels {

namespace {

constexpr char kMarqueeClass[] = "MARQUEE";
constexpr int32_t kDefaultWidth = 140;
constexpr int32_t kDefaultHeight = 16;
constexpr BYTE kAlpha = 160;
constexpr COLORREF kKey = RGB(255, 0, 255);

struct MarqueeState {
  POINT offset = {0, 0};  // from the pane's top-left
  HDC textDc = nullptr;
  HBITMAP textBitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr;
  int32_t textWidth = 0;
  int32_t textHeight = 0;
};

MarqueeState& Marquee() {
  static MarqueeState state;
  return state;
}

void ReleaseText() {
  MarqueeState& m = Marquee();
  if (m.textDc != nullptr) {
    SelectObject(m.textDc, m.oldBitmap);
    DeleteDC(m.textDc);
  }
  if (m.textBitmap != nullptr) DeleteObject(m.textBitmap);
  m.textDc = nullptr;
  m.textBitmap = nullptr;
  m.textWidth = m.textHeight = 0;
}

void SetTitle(HWND window, const char* text) {
  MarqueeState& m = Marquee();
  ReleaseText();
  std::string title = MarqueeTitle(text != nullptr ? text : "");
  RECT client = {};
  GetClientRect(window, &client);
  int32_t width = 0, height = 0;
  SKGETTEXTEXTENT(window, SKCAPTIONFONT(), title.c_str(), &width, &height);
  m.textWidth = std::max<int32_t>(client.right - 4, width + 40) + 1;
  m.textHeight = std::max<int32_t>(client.bottom - 2, height) + 1;
  HDC screen = GetDC(window);
  m.textDc = CreateCompatibleDC(screen);
  m.textBitmap = CreateCompatibleBitmap(screen, m.textWidth, m.textHeight);
  ReleaseDC(window, screen);
  m.oldBitmap = SelectObject(m.textDc, m.textBitmap);
  RECT all = {0, 0, m.textWidth, m.textHeight};
  HBRUSH key = CreateSolidBrush(kKey);
  FillRect(m.textDc, &all, key);
  DeleteObject(key);
  SKPRINT3DU(m.textDc, title.c_str(), 0, (m.textHeight - height) / 2, SKGETSYSCOLOR(112), SKGETSYSCOLOR(113),
             SKCAPTIONFONT(), 1);
  InvalidateRect(window, nullptr, FALSE);
}

// Two pixels a tick: the first column goes round to the end, twice.
void TurnText(HWND window) {
  MarqueeState& m = Marquee();
  if (m.textDc == nullptr || m.textWidth < 2) return;
  for (int turn = 0; turn < 2; ++turn) {
    HDC column = CreateCompatibleDC(m.textDc);
    HBITMAP bitmap = CreateCompatibleBitmap(m.textDc, 1, m.textHeight);
    HGDIOBJ old = SelectObject(column, bitmap);
    BitBlt(column, 0, 0, 1, m.textHeight, m.textDc, 0, 0, SRCCOPY);
    BitBlt(m.textDc, 0, 0, m.textWidth - 1, m.textHeight, m.textDc, 1, 0, SRCCOPY);
    BitBlt(m.textDc, m.textWidth - 1, 0, 1, m.textHeight, column, 0, 0, SRCCOPY);
    SelectObject(column, old);
    DeleteObject(bitmap);
    DeleteDC(column);
  }
  InvalidateRect(window, nullptr, FALSE);
}

void Paint(HWND window) {
  MarqueeState& m = Marquee();
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc == nullptr) return;
  RECT client = {};
  GetClientRect(window, &client);
  HDC buffer = SKOFFSCREEN(dc, client.right, client.bottom, 1);
  HDC target = buffer != nullptr ? buffer : dc;
  if (SKCTLBACK() == nullptr || !SKTILEBLT(target, 0, 0, client.right, client.bottom, SKCTLBACK())) {
    HBRUSH face = CreateSolidBrush(static_cast<COLORREF>(SKGETSYSCOLOR(112)));
    FillRect(target, &client, face);
    DeleteObject(face);
  }
  // A 3-D frame: light line top and left, dark line bottom and right.
  HPEN light = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(SKGETSYSCOLOR(118)));
  HPEN dark = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(SKGETSYSCOLOR(119)));
  HGDIOBJ oldPen = SelectObject(target, dark);
  MoveToEx(target, 0, client.bottom - 1, nullptr);
  LineTo(target, 0, 0);
  LineTo(target, client.right - 1, 0);
  SelectObject(target, light);
  LineTo(target, client.right - 1, client.bottom - 1);
  LineTo(target, 0, client.bottom - 1);
  SelectObject(target, oldPen);
  DeleteObject(light);
  DeleteObject(dark);
  if (m.textDc != nullptr) {
    SKTRANSBLT(target, 2, 1, client.right - 4, client.bottom - 2, m.textDc, 0, 0, static_cast<int32_t>(kKey));
  }
  if (buffer != nullptr) SKOFFSCREEN(nullptr, 0, 0, 0);
  EndPaint(window, &paint);
}

void FollowPane(HWND window) {
  PanelState& s = Panels();
  if (s.pane == nullptr) return;
  RECT pane = {};
  GetWindowRect(s.pane, &pane);
  SetWindowPos(window, nullptr, pane.left + Marquee().offset.x, pane.top + Marquee().offset.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool RegisterMarqueeClass() {
  if (SKCHECKCLASS(kMarqueeClass) != 0) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MarqueeProc;
  windowClass.hInstance = Panels().host.instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  return SKREGISTERCLASS(&windowClass, kMarqueeClass) != 0;
}

}  // namespace

HWND CreateMarquee() {
  PanelState& s = Panels();
  if (s.pane == nullptr) return nullptr;
  if (s.marquee != nullptr) return s.marquee;
  int32_t x = 0, y = 0, width = kDefaultWidth, height = kDefaultHeight;
  bool owned = false;
  HBITMAP image = LoadPanelImages(kMarqueeImage, &x, &y, 8, &owned);
  if (image != nullptr) {
    SKGETPIXMAPSIZE(image, &width, &height);
    if (owned) DeleteObject(image);
  }
  MarqueeProc(nullptr, WM_INITDIALOG, 0, MAKELPARAM(x, y));
  if (!RegisterMarqueeClass()) return nullptr;
  RECT pane = {};
  GetWindowRect(s.pane, &pane);
  s.marquee = CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW, kMarqueeClass, "", WS_POPUP | WS_VISIBLE,
                              pane.left + x, pane.top + y, width, height, s.pane, nullptr, s.host.instance, nullptr);
  if (s.marquee != nullptr) SetLayeredWindowAttributes(s.marquee, 0, kAlpha, LWA_ALPHA);
  return s.marquee;
}

LRESULT CALLBACK MarqueeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Marquee().offset = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      return 0;
    case WM_SETTEXT:
      DefWindowProcA(window, message, wParam, lParam);
      SetTitle(window, reinterpret_cast<const char*>(lParam));
      return 1;
    case WM_TIMER:
      TurnText(window);
      return 0;
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_MOVE:
      FollowPane(window);
      return 0;
    case WM_SETFOCUS: {
      HWND previous = reinterpret_cast<HWND>(wParam);
      SetFocus(previous != nullptr && IsWindow(previous) ? previous : Panels().pane);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_DESTROY:
      ReleaseText();
      if (Panels().marquee == window) Panels().marquee = nullptr;
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace panels
