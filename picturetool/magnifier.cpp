// The magnifier window and its view.  The view enlarges the part of the
// canvas memory bitmap around the cursor: a plain stretch at zoom 1, a
// resampled copy through the imaging library above it; in red-eye mode a
// cross marks where the brush will land.  Its arithmetic is
// core/magnifier_rules.
#include "magnifier.h"

#include <windows.h>

#include <string>

#include "core/magnifier_rules.h"
#include "imaging.h"
#include "paint_state.h"
#include "themecore.h"
#include "themecore_looks.h"
#include "themecore_popup.h"
#include "themecore_wait.h"

namespace paint {

namespace {

constexpr char kMagnifierClass[] = "ZOOMBOX";
constexpr char kViewClass[] = "LEAD";
constexpr int32_t kMagnifierWidth = 191, kMagnifierHeight = 207;
constexpr int32_t kViewX = 4, kViewY = 22, kViewWidth = 182, kViewHeight = 180;
constexpr int32_t kCaptionHeight = 16;

// One magnifier per program; the zoom and the position outlive it.
struct MagnifierState {
  HWND window = nullptr;
  HWND frame = nullptr;  // the skin engine's popup frame around it
  HWND view = nullptr;
  int32_t zoom = 0;
  POINT position = {0, 0};
  bool created = false;
};

MagnifierState& Magnifier() {
  static MagnifierState state;
  return state;
}

bool RegisterClasses(HINSTANCE instance) {
  for (const char* name : {kMagnifierClass, kViewClass}) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(instance, name, &existing)) continue;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MagnifierProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = name;
    if (RegisterClassExA(&windowClass) == 0) return false;
  }
  return true;
}

LRESULT OnCreate(HWND window) {
  MagnifierState& m = Magnifier();
  if (m.created) return 0;  // the view's own creation
  m.created = true;
  m.window = window;
  if (m.zoom == 0) m.zoom = kFirstZoom;
  m.view = CreateWindowExA(0, kViewClass, "", WS_CHILD | WS_VISIBLE, kViewX, kViewY, kViewWidth, kViewHeight, window,
                           nullptr, Paint().instance, nullptr);
  // The keyboard stays with the main window.
  PostMessageA(Paint().mainWindow, WM_SETFOCUS, 0, 0);
  return 0;
}

void ChangeZoom(bool enlarge) {
  MagnifierState& m = Magnifier();
  m.zoom = ZoomAfterClick(m.zoom, enlarge);
  if (m.window != nullptr) InvalidateRect(m.window, nullptr, FALSE);
}

std::string WindowTextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

void PaintMagnifier(HWND window) {
  MagnifierState& m = Magnifier();
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client = {};
  GetClientRect(window, &client);
  SKFILLRECT(dc, 0, 0, client.right, kCaptionHeight, SKGETSYSCOLOR(104));
  const std::string caption = MagnifierCaption(WindowTextOf(window), m.zoom);
  RECT strip = {0, 0, client.right, kCaptionHeight};
  HGDIOBJ previousFont = SelectObject(dc, SKCAPTIONFONT());
  SetTextColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(102)));
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &strip, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, previousFont);
  SKLINE(dc, 0, kCaptionHeight, client.right, kCaptionHeight, SKGETSYSCOLOR(105), PS_SOLID, 1);
  SKLINE(dc, 0, kCaptionHeight + 1, client.right, kCaptionHeight + 1, SKGETSYSCOLOR(106), PS_SOLID, 1);
  HBITMAP back = SKCTLBACK();
  const int32_t restTop = kCaptionHeight + 2;
  if (back != nullptr) {
    SKTILEBLT(dc, 0, restTop, client.right, client.bottom - restTop, back);
  } else {
    SKFILLRECT(dc, 0, restTop, client.right, client.bottom - restTop, SKGETSYSCOLOR(112));
  }
  EndPaint(window, &paint);
  if (m.view != nullptr) InvalidateRect(m.view, nullptr, FALSE);
}

// The source rectangle enlarged to the view's size through a resampled
// copy.  False when the imaging library could not do it.
bool PaintResampled(HDC dc, HDC canvas, const MagnifiedSource& source, int32_t width, int32_t height) {
  BITMAPHANDLE bitmap = {};
  if (L_CreateBitmap(&bitmap, TYPE_CONV, source.width, source.height, 24, ORDER_BGR, nullptr, 0, nullptr, 0) !=
      IMG_SUCCESS) {
    return false;
  }
  HDC lead = L_CreateLeadDC(&bitmap);
  bool done = lead != nullptr && BitBlt(lead, 0, 0, source.width, source.height, canvas, source.x, source.y, SRCCOPY);
  if (lead != nullptr) L_DeleteLeadDC(lead);
  const RECT target = {0, 0, width, height};
  done = done && L_SizeBitmap(&bitmap, width, height, SIZE_RESAMPLE) == IMG_SUCCESS &&
         L_PaintDC(dc, &bitmap, nullptr, nullptr, &target, SRCCOPY) == IMG_SUCCESS;
  L_FreeBitmap(&bitmap);
  return done;
}

void DrawRedEyeCross(HDC dc, POINT cursor, const MagnifiedSource& source, int32_t width, int32_t height) {
  const CrossLines cross = RedEyeCross(cursor.x, cursor.y, source, width, height, Magnifier().zoom);
  const int previousRop = SetROP2(dc, R2_NOT);
  SKLINE(dc, cross.verticalX, cross.verticalTop, cross.verticalX, cross.verticalBottom, 0, PS_SOLID, 1);
  SKLINE(dc, cross.horizontalLeft, cross.horizontalY, cross.horizontalRight, cross.horizontalY, 0, PS_SOLID, 1);
  SetROP2(dc, previousRop);
}

void PaintView(HWND view) {
  PaintState& p = Paint();
  MagnifierState& m = Magnifier();
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(view, &paint);
  RECT client = {};
  GetClientRect(view, &client);
  HDC canvas = p.canvasWindow != nullptr ? SKGETHDCMEMBMP(p.canvasWindow) : nullptr;
  if (canvas == nullptr || client.right <= 0 || client.bottom <= 0) {
    SKFILLRECT(dc, 0, 0, client.right, client.bottom, SKGETSYSCOLOR(112));
    EndPaint(view, &paint);
    return;
  }
  // The cursor in canvas bitmap coordinates: the bitmap is what the canvas
  // shows, moved by the scroll positions.
  POINT cursor = {};
  GetCursorPos(&cursor);
  ScreenToClient(p.canvasWindow, &cursor);
  cursor.x += p.scrollX;
  cursor.y += p.scrollY;
  const MagnifiedSource source =
      MagnifiedSourceAt(cursor.x, cursor.y, client.right, client.bottom, m.zoom, SKGETWIDTHMEMBMP(p.canvasWindow),
                        SKGETHEIGHTMEMBMP(p.canvasWindow));
  if (m.zoom <= 1 || !PaintResampled(dc, canvas, source, client.right, client.bottom)) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, client.right, client.bottom, canvas, source.x, source.y, source.width, source.height,
               SRCCOPY);
  }
  if (p.redEyeMode) DrawRedEyeCross(dc, cursor, source, client.right, client.bottom);
  EndPaint(view, &paint);
}

void OnDestroy(HWND window) {
  MagnifierState& m = Magnifier();
  if (window != m.window) return;
  m.position = MagnifierPosition();
  m.window = nullptr;
  m.frame = nullptr;
  m.view = nullptr;
  m.created = false;
}

}  // namespace

LRESULT CALLBACK MagnifierProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MagnifierState& m = Magnifier();
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ChangeZoom(true);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      ChangeZoom(false);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (window == m.view) {
        PaintView(window);
      } else {
        PaintMagnifier(window);
      }
      return 0;
    case WM_COMMAND:
      // The frame's close box.
      if (m.window != nullptr) PostMessageA(m.window, WM_CLOSE, 0, 0);
      return 0;
    case WM_DESTROY:
      OnDestroy(window);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateMagnifier(const std::string& title, int32_t frameStyle, int32_t frameFlags) {
  PaintState& p = Paint();
  MagnifierState& m = Magnifier();
  if (!RegisterClasses(p.instance)) return nullptr;
  const POINT at = m.position;
  HWND window = CreateWindowExA(0, kMagnifierClass, title.c_str(), WS_POPUP | WS_CLIPCHILDREN, at.x, at.y,
                                kMagnifierWidth, kMagnifierHeight, p.mainWindow, nullptr, p.instance, nullptr);
  if (window == nullptr) {
    m.created = false;
    return nullptr;
  }
  m.frame = SKPOPUPCONTAINER(window, "", at.x, at.y, kMagnifierWidth, kMagnifierHeight, MagnifierProc, frameFlags,
                             frameStyle);
  // Shown without activation: the keyboard stays with the main window.
  ShowWindow(m.frame != nullptr ? m.frame : window, SW_SHOWNOACTIVATE);
  TraceProgramCall("CreateMagnifier", "\"" + title + "\", " + std::to_string(at.x) + ", " + std::to_string(at.y),
                   m.frame != nullptr ? "framed" : "unframed");
  return window;
}

void ShowMagnifier() {
  if (IsMagnifierOpen()) return;
  CreateMagnifier(MenuTextOf(110), 0, 1);
}

bool IsMagnifierOpen() {
  const MagnifierState& m = Magnifier();
  return m.window != nullptr && IsWindow(m.window);
}

POINT MagnifierPosition() {
  MagnifierState& m = Magnifier();
  if (!IsMagnifierOpen()) return m.position;
  RECT rect = {};
  HWND outer = m.frame != nullptr && IsWindow(m.frame) ? m.frame : m.window;
  if (GetWindowRect(outer, &rect)) m.position = {rect.left, rect.top};
  return m.position;
}

void SetMagnifierPosition(int32_t x, int32_t y) { Magnifier().position = {x, y}; }

void FollowCanvasMouse(UINT message, WPARAM wParam, LPARAM lParam, bool takenByMode) {
  MagnifierState& m = Magnifier();
  if (!IsMagnifierOpen()) return;
  if (message == WM_MOUSEMOVE || takenByMode) {
    InvalidateMagnifierView();
    HWND focus = GetFocus();
    if (focus != nullptr && (focus == m.window || IsChild(m.window, focus))) SetActiveWindow(Paint().mainWindow);
    return;
  }
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN ||
      message == WM_RBUTTONDBLCLK) {
    SendMessageA(m.window, message, wParam, lParam);
  }
}

void InvalidateMagnifierView() {
  const MagnifierState& m = Magnifier();
  if (m.view != nullptr && IsWindow(m.view)) InvalidateRect(m.view, nullptr, FALSE);
}

void ShowMagnifierFrame(bool show) {
  const MagnifierState& m = Magnifier();
  if (!IsMagnifierOpen()) return;
  ShowWindow(m.frame != nullptr && IsWindow(m.frame) ? m.frame : m.window, show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

}  // namespace paint
