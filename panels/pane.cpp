// The control bar: the pane window of class "SKPANE", cut to its bitmap,
// docked to a corner of the main window or floating, taking dropped files
// and passing its controls' commands to the program.  Controls are
// panel_controls.cpp, the level meter level_meter.cpp, the title
// marquee.cpp.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "core/module_lists.h"
#include "core/panel_rules.h"
#include "core/text_rules.h"
#include "panels.h"
#include "themecore.h"
#include "themecore_player.h"
#include "themecore_popup.h"
#include "trace_writer.h"

namespace panels {

namespace {

constexpr char kPaneClass[] = "SKPANE";
constexpr int32_t kKeyColour = 0xFF00FF;
constexpr int32_t kCornerKey = -1;
constexpr UINT kAlwaysOnTopCommand = 101;
// Dropped names longer than a path are cut there, as the shell's own
// buffers would.
constexpr UINT kDroppedNameChars = 260;

HWND MainWindow() {
  const PanelHost& host = Panels().host;
  return host.mainWindow ? host.mainWindow() : nullptr;
}

int32_t DockField() {
  const PanelHost& host = Panels().host;
  return host.dockField ? host.dockField() : 0;
}

bool RegisterPaneClass() {
  if (SKCHECKCLASS(kPaneClass) != 0) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  if (SKOSVERSION() > 500) windowClass.style |= CS_DROPSHADOW;
  windowClass.lpfnWndProc = PaneWindowProc;
  windowClass.hInstance = Panels().host.instance;
  windowClass.hIcon = Panels().host.icon;
  windowClass.hIconSm = Panels().host.icon;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  return SKREGISTERCLASS(&windowClass, kPaneClass) != 0;
}

PanelPoint DockedPlace(int32_t width, int32_t height) {
  RECT main = {};
  HWND mainWindow = MainWindow();
  if (mainWindow != nullptr) GetWindowRect(mainWindow, &main);
  return DockPosition(DockField(), ScreenRect{main.left, main.top, main.right, main.bottom},
                      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height);
}

// The audio kind's pane carries the level meter: its keyed shape joins the
// pane's region and its image is drawn into a copy of the pane bitmap.
void AddLevelMeter(PanelState& s, HRGN region) {
  int32_t x = 0, y = 0;
  bool owned = false;
  HBITMAP image = LoadPanelImages(kLevelMeterImage, &x, &y, 8, &owned);
  if (image == nullptr) return;
  HRGN meterRegion = SKBMPTORGN(image, kKeyColour);
  if (meterRegion != nullptr) {
    OffsetRgn(meterRegion, x, y);
    CombineRgn(region, region, meterRegion, RGN_OR);
    DeleteObject(meterRegion);
  }
  int32_t width = 0, height = 0;
  SKGETPIXMAPSIZE(image, &width, &height);
  HDC screen = GetDC(nullptr);
  HDC target = CreateCompatibleDC(screen);
  HBITMAP composed = CreateCompatibleBitmap(screen, s.paneWidth, s.paneHeight);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(target, composed);
  SKTRANSBLT(target, 0, 0, s.paneWidth, s.paneHeight, reinterpret_cast<HDC>(s.paneBitmap), 0, 0, kKeyColour);
  SKTRANSBLT(target, x, y, width, height, reinterpret_cast<HDC>(image), 0, 0, kKeyColour);
  SelectObject(target, old);
  DeleteDC(target);
  DeleteObject(s.paneBitmap);
  s.paneBitmap = composed;
  // The meter takes the image (VuMeterProc deletes it); an engine image is
  // copied first.
  if (!owned) image = static_cast<HBITMAP>(CopyImage(image, IMAGE_BITMAP, 0, 0, 0));
  s.meter = VUMETERWIN(s.pane, image, x, y);
  if (s.meter == nullptr && image != nullptr) DeleteObject(image);
}

void FollowWithMarquee(HWND pane) {
  PanelState& s = Panels();
  if (s.marquee != nullptr) SendMessageA(s.marquee, WM_MOVE, 0, 0);
  // The other player's pane sits over this one when both show.
  if (s.host.companionClass.empty()) return;
  HWND other = FindPaneOf(s.host.companionClass.c_str());
  if (other != nullptr && other != pane) {
    RECT r = {};
    GetWindowRect(pane, &r);
    SetWindowPos(other, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void OnDropFiles(HDROP drop) {
  std::vector<std::string> files;
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    char name[kDroppedNameChars + 1] = {};
    UINT length = DragQueryFileA(drop, i, name, sizeof(name));
    if (length > 0) files.emplace_back(name, std::min<UINT>(length, kDroppedNameChars));
  }
  // The shell's drop memory is ours to give back.
  DragFinish(drop);
  const PanelHost& host = Panels().host;
  if (!files.empty() && host.filesDropped) host.filesDropped(files);
}

void OnRightButton(HWND pane) {
  const PanelHost& host = Panels().host;
  HMENU menu = host.popupMenu ? host.popupMenu() : nullptr;
  if (menu == nullptr) return;
  POINT cursor = {};
  GetCursorPos(&cursor);
  UINT command = static_cast<UINT>(TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                    cursor.x, cursor.y, pane, nullptr));
  if (command == 0) return;
  if (command == kAlwaysOnTopCommand && host.alwaysOnTop && host.setAlwaysOnTop) {
    bool onTop = !host.alwaysOnTop();
    host.setAlwaysOnTop(onTop);
    HWND mainWindow = MainWindow();
    if (mainWindow != nullptr) {
      SetWindowPos(mainWindow, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return;
  }
  if (host.commandProcedure != nullptr) host.commandProcedure(pane, WM_COMMAND, command, 0);
}

// The engine's track bars report their handle; the program's commands 76
// (volume) and 77 (position) take the bar's value.
LPARAM CommandValue(WPARAM wParam, LPARAM lParam) {
  int32_t id = LOWORD(wParam);
  if ((id == 76 || id == 77) && lParam != 0 && reinterpret_cast<HWND>(lParam) == Control(id)) {
    return SKGETTRACKPOS(reinterpret_cast<HWND>(lParam));
  }
  return lParam;
}

LRESULT PassCommand(HWND pane, WPARAM wParam, LPARAM lParam) {
  const PanelHost& host = Panels().host;
  if (host.commandProcedure == nullptr) return 0;
  return host.commandProcedure(pane, WM_COMMAND, wParam, CommandValue(wParam, lParam));
}

void CopyPaneBitmap(HDC dc, const RECT& area) {
  PanelState& s = Panels();
  if (s.paneBitmap == nullptr) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, s.paneBitmap);
  BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, source, area.left, area.top,
         SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

void PlaceMainBehind(HWND pane) {
  HWND mainWindow = MainWindow();
  if (mainWindow != nullptr && IsWindowVisible(mainWindow)) {
    SetWindowPos(mainWindow, pane, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void OnLeftButton(HWND pane) {
  const PanelHost& host = Panels().host;
  bool zoomed = host.zoomed && host.zoomed();
  if (!PaneFloats(DockField()) && !zoomed) return;
  ReleaseCapture();
  SendMessageA(pane, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  FollowWithMarquee(pane);
  if (host.afterDrag) host.afterDrag(pane);
}

bool DoubleClicksActive() {
  const PanelHost& host = Panels().host;
  return !host.doubleClicksActive || host.doubleClicksActive();
}

void ReleaseChildBitmaps(HWND pane) {
  for (HWND child = GetWindow(pane, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    SKDELETEMEMBMP(child);
  }
}

}  // namespace

PanelState& Panels() {
  static PanelState state;
  return state;
}

HWND Control(int32_t id) {
  PanelState& s = Panels();
  if (id < 0 || id >= kControlCount) return nullptr;
  return s.controls[static_cast<size_t>(id)];
}

bool ReadPanelDefinition() {
  PanelState& s = Panels();
  std::string name = themecore::FetchText([](char* out, int32_t size) { return SKLOADSTRING("POPUPPANE", out, size); });
  name = suite::ReplaceAll(suite::LowerAscii(suite::TrimBlanks(name)), "@path@", s.host.programFolder);
  suite::TextTable table;
  if (name.empty() || !suite::ReadTextTable(name, &table) || table.count() < 1) {
    s.definition = suite::TextTable();
    return false;
  }
  s.definition = table;
  return true;
}

HWND FindPaneOf(const char* mainWindowClass) {
  HWND main = FindWindowA(mainWindowClass, nullptr);
  if (main == nullptr) return nullptr;
  struct Search {
    HWND found = nullptr;
  } search;
  EnumThreadWindows(
      GetWindowThreadProcessId(main, nullptr),
      [](HWND window, LPARAM data) CALLBACK -> BOOL {
        char name[16] = {};
        GetClassNameA(window, name, sizeof(name));
        if (lstrcmpiA(name, kPaneClass) != 0) return TRUE;
        reinterpret_cast<Search*>(data)->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND CreatePane(int32_t layoutValue) {
  PanelState& s = Panels();
  if (!ReadPanelDefinition()) return nullptr;
  std::string file = PaneBitmapFile(s.definition.entry(1), LayoutColumn(layoutValue), s.host.programFolder);
  s.paneBitmap = file.empty() ? nullptr : SKLOADIMAGE(file.c_str());
  if (s.paneBitmap == nullptr) return nullptr;
  SKGETPIXMAPSIZE(s.paneBitmap, &s.paneWidth, &s.paneHeight);
  if (!RegisterPaneClass()) {
    DeleteObject(s.paneBitmap);
    s.paneBitmap = nullptr;
    return nullptr;
  }
  int32_t screenWidth = GetSystemMetrics(SM_CXSCREEN);
  int32_t screenHeight = GetSystemMetrics(SM_CYSCREEN);
  PanelPoint place{s.paneX, s.paneY};
  if (!SavedPaneUsable(s.paneX, s.paneY, s.paneWidth, s.paneHeight, screenWidth, screenHeight) ||
      !PaneFloats(DockField())) {
    place = DockedPlace(s.paneWidth, s.paneHeight);
  }
  s.pane = CreateWindowExA(WS_EX_APPWINDOW, kPaneClass, s.host.paneTitle.c_str(),
                           WS_POPUP | WS_CLIPSIBLINGS | WS_SYSMENU, place.x, place.y, s.paneWidth, s.paneHeight,
                           MainWindow(), nullptr, s.host.instance, nullptr);
  if (s.pane == nullptr) {
    DeleteObject(s.paneBitmap);
    s.paneBitmap = nullptr;
    return nullptr;
  }
  HRGN region = SKBMPTORGN(s.paneBitmap, kCornerKey);
  if (layoutValue == 8 && region != nullptr) AddLevelMeter(s, region);
  if (region != nullptr && SetWindowRgn(s.pane, region, TRUE) == 0) DeleteObject(region);
  // A hidden player shows no control bar: the bar comes with the main
  // window (ShowPaneWithMainWindow).
  HWND mainWindow = MainWindow();
  if (mainWindow == nullptr || IsWindowVisible(mainWindow)) {
    ShowWindow(s.pane, SW_SHOWNOACTIVATE);
    UpdateWindow(s.pane);
  }
  DragAcceptFiles(s.pane, TRUE);
  return s.pane;
}

void DestroyPane() {
  PanelState& s = Panels();
  if (s.pane != nullptr) {
    RECT r = {};
    if (GetWindowRect(s.pane, &r)) {
      s.paneX = r.left;
      s.paneY = r.top;
    }
    DestroyWindow(s.pane);
  }
  s.pane = nullptr;
  s.meter = nullptr;
  s.marquee = nullptr;
  if (s.paneBitmap != nullptr) DeleteObject(s.paneBitmap);
  s.paneBitmap = nullptr;
}

void ShowPaneWithMainWindow(bool shown) {
  PanelState& s = Panels();
  if (s.pane == nullptr) return;
  ShowWindow(s.pane, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void DockPane() {
  PanelState& s = Panels();
  // A main window parked off the screen (nothing to show) takes no pane
  // with it: the pane stays where the user sees it.
  if (s.pane == nullptr || PaneFloats(DockField()) || s.offScreen) return;
  PanelPoint place = DockedPlace(s.paneWidth, s.paneHeight);
  SetWindowPos(s.pane, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK PaneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND engineWindow = window;
  UINT engineMessage = message;
  WPARAM engineWParam = wParam;
  LPARAM engineLParam = lParam;
  int32_t handled = SKGETMESSAGE(&engineWindow, &engineMessage, &engineWParam, &engineLParam);
  if (handled != 0) return handled;
  PanelState& s = Panels();
  switch (message) {
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_MOVE:
      FollowWithMarquee(window);
      return 0;
    case WM_USER:
      return reinterpret_cast<LRESULT>(s.paneBitmap);
    case WM_MOUSEMOVE:
      if (GetWindow(window, GW_HWNDNEXT) != MainWindow()) PlaceMainBehind(window);
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        if (MainWindow() != nullptr) PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
      }
      break;
    case WM_RBUTTONDOWN:
      OnRightButton(window);
      return 0;
    case WM_COMMAND:
      return PassCommand(window, wParam, lParam);
    case WM_ERASEBKGND: {
      RECT client = {};
      GetClientRect(window, &client);
      CopyPaneBitmap(reinterpret_cast<HDC>(wParam), client);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (dc != nullptr) {
        CopyPaneBitmap(dc, paint.rcPaint);
        EndPaint(window, &paint);
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) PlaceMainBehind(window);
      break;
    case WM_LBUTTONDOWN:
      OnLeftButton(window);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (DoubleClicksActive()) PassCommand(window, 54, 0);
      return 0;
    case WM_RBUTTONDBLCLK:
      if (DoubleClicksActive()) PassCommand(window, 53, 0);
      return 0;
    case WM_DESTROY:
      ReleaseChildBitmaps(window);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace panels
