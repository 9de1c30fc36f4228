// The picture tool's window procedure: one procedure for the main window,
// the menu and tool holders, the canvas and the full-screen holder, told
// apart by their handles.  Commands are commands.cpp, the canvas
// canvas.cpp, the drawing objects object_manager.cpp.
#include <windows.h>

#include <string>

#include "core/item_list.h"
#include "core/paint_rules.h"
#include "core/path_names.h"
#include "core/suite_command_codes.h"
#include "effect_boxes.h"
#include "imaging.h"
#include "orbboxes.h"
#include "paint_state.h"
#include "placement.h"
#include "suite_command.h"
#include "themecore.h"
#include "themecore_painttool.h"
#include "window_settings.h"

namespace paint {

void RepaintWindow(HWND window, bool erase) {
  InvalidateRect(window, nullptr, erase ? TRUE : FALSE);
  UpdateWindow(window);
}

void SetStatusText(const std::string& text) {
  if (Paint().statusWindow != nullptr) SKSETCTLTEXT(Paint().statusWindow, text.c_str());
}

namespace {

// The start message: the picture named on the command line, when it exists.
void OnStart() {
  PaintState& p = Paint();
  p.defaultPrinter = themecore::FetchText([](char* out, int32_t size) { return SKGETDEFAULTPRINTER(out, size); });
  std::string argument = GetCommandLineA();
  // The program's own name comes first on the command line.
  size_t start = 0;
  if (!argument.empty() && argument[0] == '"') {
    start = argument.find('"', 1);
    start = start == std::string::npos ? argument.size() : start + 1;
  } else {
    start = argument.find(' ');
    if (start == std::string::npos) start = argument.size();
  }
  argument = argument.substr(start);
  while (!argument.empty() && argument.front() == ' ') argument.erase(0, 1);
  while (!argument.empty() && argument.back() == ' ') argument.pop_back();
  if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"') {
    argument = argument.substr(1, argument.size() - 2);
  }
  std::string found = argument.empty() ? std::string() : themecore::FindFile(argument.c_str());
  CharLowerBuffA(found.data(), static_cast<DWORD>(found.size()));
  p.currentPicture = found;
  if (!found.empty() && SKEXIST(found.c_str())) {
    p.pictureCount = 1;
    p.pictureIndex = 1;
    p.pictureList = found;
    p.lastFolder = suite::FolderOf(found);
    LoadPictureFile();
  } else {
    p.currentPicture.clear();
  }
}

LRESULT OnNewPictureList() {
  PaintState& p = Paint();
  SaveChangesPrompt();
  p.pictureList = p.pendingList;
  p.pendingList.clear();
  p.pictureCount = static_cast<int32_t>(PictureCountOf(p.pictureList));
  p.pictureIndex = 1;
  p.currentPicture = p.pictureCount == 1 ? p.pictureList : PictureAt(p.pictureList, 1);
  p.lastFolder = suite::FolderOf(p.currentPicture);
  LoadPictureFile();
  return 0;
}

LRESULT OnCopyData(WPARAM wParam, LPARAM lParam) {
  PaintState& p = Paint();
  std::string text;
  const uint32_t code = suite::ReceiveSuiteCommand(text, wParam, lParam);
  if (code == suite::CMD_CLOSE) {
    // The close sequence asks about unsaved changes, so it runs after the
    // sender has its answer.
    PostMessageA(p.mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (CarriesPictureList(text)) {
    // Each list keeps its own slot: a later command replaces a list that
    // has not been opened yet, and an empty one never empties the canvas.
    p.pendingList = text;
    PostMessageA(p.mainWindow, WM_NEW_PICTURE_LIST, 0, 0);
  }
  return 1;
}

void OnInitMenu(WPARAM wParam) {
  PaintState& p = Paint();
  EnableMenuItem(p.menu, 309, MF_BYCOMMAND | (L_ClipboardReady() > 0 ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(p.menu, 217, MF_BYCOMMAND | (HasUnderlayFile() && p.pictureWidth > 0 ? MF_ENABLED : MF_GRAYED));
  if (reinterpret_cast<HMENU>(wParam) != p.selectionPopup || p.selectionPopup == nullptr) {
    EndCanvasModes();
    SKCURSORSTD(p.canvasWindow);
  }
}

void ShowAbout() {
  PaintState& p = Paint();
  const std::string author = themecore::FetchText([](char* out, int32_t size) { return SKAUTHOR(out, size); });
  char date[32] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, 0, nullptr, "MM'-'dd'-'yyyy", date, sizeof(date));
  const std::string text = AboutText(author, p.texts.entry(T_ABOUT), date);
  suite::boxes::MessageBoxStyle style{};
  style.icon = suite::boxes::BoxIconField(LoadIconA(p.instance, "PROGRAM"));
  style.colour1 = static_cast<uint32_t>(SKGETSYSCOLOR(113));
  style.colour2 = static_cast<uint32_t>(SKGETSYSCOLOR(112));
  style.boxKind = 6;
  style.boxVariant = 0xFFFF;
  style.frameValue = 3;
  style.buttonValue = 3;
  style.defaultButton = 1;
  SKMSGBOX(p.mainWindow, nullptr, p.texts.entry(T_TITLE).c_str(), text.c_str(), "", &style, 0);
}

void CloseSequence() {
  PaintState& p = Paint();
  SaveChangesPrompt();
  ShowWindow(p.mainWindow, SW_RESTORE);
  RECT rect = {};
  GetWindowRect(p.mainWindow, &rect);
  // The window's own corner, where the next start creates it: its client
  // origin lies below the skinned caption and would move the window down
  // by the caption on every run.
  WritePlacementFile(Placement{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
  if (p.startedBrowser) {
    HWND browser = FindWindowA(suite::CommaField(p.texts.entry(T_BROWSER), 2).c_str(), nullptr);
    if (browser != nullptr) suite::SendSuiteCommand(browser, suite::CMD_CLOSE, "");
  }
  if (p.fullView != nullptr) DestroyWindow(p.fullView);
  p.fullView = nullptr;
  BlitCanvas(0);
  if (p.selectionPopup != nullptr) DestroyMenu(p.selectionPopup);
  p.selectionPopup = nullptr;
  DestroyWindow(p.mainWindow);
}

void MoveHelpButton() {
  PaintState& p = Paint();
  if (p.helpButton == nullptr || p.menuHolder == nullptr) return;
  RECT client = {};
  GetClientRect(p.mainWindow, &client);
  const int32_t side = SKGETSYSTEMMETRICS(7);
  RECT bar = {};
  GetClientRect(p.menuHolder, &bar);
  MoveWindow(p.helpButton, client.right - side, 0, side, bar.bottom, TRUE);
}

}  // namespace

LRESULT CALLBACK PaintWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const int32_t handled = SKGETMESSAGE(&window, &message, &wParam, &lParam);
  if (handled != 0) return handled;
  PaintState& p = Paint();
  if (p.viewOn && (window == p.fullView || message == WM_KEYDOWN) && OnFullViewMessage(message, wParam, lParam)) {
    return message == WM_PAINT ? 0 : 1;
  }
  const bool isMain = window == p.mainWindow;
  const bool isCanvas = window != nullptr && window == p.canvasWindow;
  switch (message) {
    case WM_NEW_PICTURE_LIST:
      if (isMain) return OnNewPictureList();
      break;
    case WM_COPYDATA:
      return OnCopyData(wParam, lParam);
    case WM_SIZE:
      if (window == p.toolHolder) {
        MoveHelpButton();
        PlaceCanvasWindow();
      } else if (isCanvas) {
        ObjectWindowProc(nullptr, WM_SIZE, wParam, lParam);
        return 0;
      }
      break;
    case WM_INITDIALOG:
      if (isMain && reinterpret_cast<HWND>(wParam) == p.mainWindow) OnStart();
      return 0;
    case WM_ERASEBKGND:
      if (isCanvas) return 1;
      break;
    case WM_PAINT:
      if (window == p.toolHolder) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client = {};
        GetClientRect(window, &client);
        HBITMAP back = SKCTLBACK();
        if (back != nullptr) {
          SKTILEBLT(dc, 0, 0, client.right, client.bottom, back);
        } else {
          SKFILLRECT(dc, 0, 0, client.right, client.bottom, SKGETSYSCOLOR(112));
        }
        EndPaint(window, &paint);
        return 0;
      }
      if (isCanvas) {
        PaintCanvas(window);
        return 0;
      }
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (isCanvas) {
        ScrollCanvas(message == WM_HSCROLL ? SB_HORZ : SB_VERT, wParam);
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      if (isCanvas) return OnCanvasMouse(message, wParam, lParam);
      break;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE && p.toolWord != 0) {
        DisarmDrawingTool();
        return 0;
      }
      break;
    case WM_INITMENU:
      OnInitMenu(wParam);
      break;
    case WM_INITMENUPOPUP:
      if (suite::ISMENUEFFECTON()) {
        SystemParametersInfoA(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(FALSE), 0);
        p.menuAnimationOff = true;
      }
      SKDCDESKTOP(1);
      break;
    case WM_UNINITMENUPOPUP:
      if (p.menuAnimationOff) {
        SystemParametersInfoA(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(TRUE), 0);
        p.menuAnimationOff = false;
      }
      SKDCDESKTOP(2);
      break;
    case WM_EXITMENULOOP:
      SKDCDESKTOP(2);
      break;
    case WM_SYSCOMMAND:
      if (isMain && (wParam & 0xFFF0) == SC_CLOSE) {
        CloseSequence();
        return 1;
      }
      if (isMain && wParam == 0) {
        ShowAbout();
        return 0;
      }
      break;
    case WM_COMMAND:
      return OnCommand(window, wParam, lParam);
    case WM_DESTROY:
      if (isMain) PostQuitMessage(0);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace paint

// The window procedure under the name the program exports (orbpaint.def).
extern "C" LRESULT __stdcall OrbPaintWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return paint::PaintWindowProc(window, message, wParam, lParam);
}
