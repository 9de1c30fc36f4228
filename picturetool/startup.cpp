// The picture tool's entry: names, single instance, text table, skin,
// menus, the main window with its holders and tool bar, the canvas and the
// object manager's first record, the start message, the message loop and
// the orderly exit.
#include <windows.h>

#include <string>

#include "core/item_list.h"
#include "core/paint_rules.h"
#include "core/path_names.h"
#include "image_startup.h"
#include "module_start.h"
#include "orbboxes.h"
#include "paint_state.h"
#include "placement.h"
#include "themecore.h"
#include "themecore_painttool.h"
#include "themecore_player.h"
#include "trace_writer.h"

namespace paint {

PaintState& Paint() {
  static PaintState state;
  return state;
}

void TraceProgramCall(const char* function, const std::string& argument, const std::string& result) {
  orbtrace::CallLine call("orbpaint", function);
  if (!argument.empty()) call.Raw(argument);
  orbtrace::WriteCall(call, result);
}

namespace {

constexpr char kMainClass[] = "ORBPAINT";
constexpr char kMutexName[] = "ORBPAINT";
// A second start waits this long for the first instance's window; the first
// may still be starting, or be ending.
constexpr DWORD kSecondStartWaitMs = 2000;
constexpr int32_t kButtonHeight = 20;

int SecondStart() {
  HWND window = suite::WaitForModuleWindow(kMainClass, kSecondStartWaitMs);
  if (window == nullptr) return 0;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  return 0;
}

void FindProgramPaths(PaintState& p) {
  suite::ProgramPaths paths = suite::FindProgramPaths();
  p.programFolder = paths.folder;
  p.programName = paths.exeName;
  p.basePath = paths.basePath;
  p.tablePath = p.basePath + ".SYS";
}

void GrayPictureMenus() {
  const int ranges[][2] = {{201, 214}, {301, 308}, {313, 313}, {315, 315}, {317, 317},
                           {601, 608}, {701, 708}, {901, 908}};
  for (const auto& range : ranges) {
    for (int id = range[0]; id <= range[1]; ++id) EnableMenuItem(Paint().menu, id, MF_BYCOMMAND | MF_GRAYED);
  }
}

bool RegisterMainClass(PaintState& p) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = PaintWindowProc;
  windowClass.hInstance = p.instance;
  windowClass.hIconSm = LoadIconA(p.instance, "PROGRAM");
  windowClass.lpszClassName = kMainClass;
  return RegisterClassExA(&windowClass) != 0;
}

int32_t TextWidth(HWND window, const std::string& text) {
  int32_t width = 0, height = 0;
  SKGETTEXTEXTENT(window, SKDEFAULTFONT(), text.c_str(), &width, &height);
  return width;
}

void CreateToolBar(PaintState& p) {
  const std::string revert = p.texts.entry(T_REVERT);
  HWND probe = SKTRACKBAR(p.toolHolder, 1, nullptr, 0, 0, 0, 76, nullptr);
  RECT trackRect = {};
  if (probe != nullptr) GetWindowRect(probe, &trackRect);
  const ToolbarLayout layout =
      LayOutToolbar(TextWidth(p.toolHolder, revert), trackRect.right - trackRect.left, trackRect.bottom - trackRect.top);
  if (probe != nullptr) SetWindowPos(probe, nullptr, layout.trackX, layout.trackY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  p.trackBar = probe;
  SKBUTTONTIP(p.toolHolder, p.trackBar, p.texts.entry(T_TRACK_TIP).c_str());

  HFONT marlett = SKMARLETT(15);
  struct PageButton {
    int id;
    char symbol;
    int x;
    size_t tip;
    int32_t style;
  };
  const PageButton pages[] = {{1, 51, layout.previousX, T_PREVIOUS_TIP, 0},
                              {2, 49, layout.fullViewX, T_FULL_VIEW_TIP, 2},
                              {3, 52, layout.nextX, T_NEXT_TIP, 0}};
  for (const PageButton& page : pages) {
    const char caption[2] = {page.symbol, '\0'};
    HWND button = SKBUT3D(p.toolHolder, caption, marlett, page.x, 2, kPageButtonWidth, kButtonHeight, page.id,
                          page.style);
    SKBUTTONTIP(p.toolHolder, button, p.texts.entry(page.tip).c_str());
  }
  HWND revertButton = SKBUT3D(p.toolHolder, revert.c_str(), SKDEFAULTFONT(), layout.revertX, 2,
                              layout.revertWidth, kButtonHeight, 4, 0);
  SKBUTTONTIP(p.toolHolder, revertButton, p.texts.entry(T_REVERT_TIP).c_str());
  // The buttons draw with the font for as long as they live: it is freed at
  // exit, not here.
  p.marlettFont = marlett;

  p.counterLabel = CreateWindowExA(0, "STATIC", "", WS_CHILD | SS_SUNKEN | SS_CENTER, layout.counterX, 5, 20, 15,
                                   p.toolHolder, nullptr, p.instance, nullptr);
  if (p.counterLabel != nullptr) {
    SendMessageA(p.counterLabel, WM_SETFONT, reinterpret_cast<WPARAM>(SKDEFAULTFONT()), 0);
    SKSETCOLOR(p.counterLabel, SKGETSYSCOLOR(101), SKGETSYSCOLOR(103));
  }
  const int32_t side = SKGETSYSTEMMETRICS(7);
  RECT client = {};
  GetClientRect(p.mainWindow, &client);
  p.helpButton = SKBUT3D(p.menuHolder, "?", nullptr, client.right - side, 0, side, SKGETSYSTEMMETRICS(2), 42, 0);
  SKBUTTONTIP(p.menuHolder, p.helpButton, suite::CommaField(p.texts.entry(T_HELP), 2).c_str());

  // Without a fourth menu-bar title the drawing tools are not offered.
  const bool toolsOffered = p.menus.definitions.size() > 0 && !PictureAt(p.menus.definitions[0], 4).empty();
  if (!toolsOffered && p.menus.definitions.size() > 4) {
    p.menus.definitions[4].clear();
    p.menu = suite::BuildMainMenu(p.menus);
  }
  const char* images[] = {"TOOLTXT", "ELLIPSE", "RECT", "CURVE", "ARROW", "POLYLINE"};
  for (int k = 0; k < 6; ++k) {
    HWND tool = SKBUTIMAGE(p.toolHolder, images[k], -1, layout.toolY[k], 401 + k);
    SKBUTTONTIP(p.toolHolder, tool, p.texts.entry(T_FIRST_TOOL_TIP + k).c_str());
    if (!toolsOffered && tool != nullptr) {
      EnableWindow(tool, FALSE);
      ShowWindow(tool, SW_HIDE);
    }
    p.toolButtons.push_back(tool);
  }
}

bool CreateWindows(PaintState& p, const Placement& placement) {
  if (!RegisterMainClass(p)) return false;
  SKWINDOWSTYLE(31);
  int32_t width = placement.width, height = placement.height;
  SKSETMAXSIZE(placement.width, placement.height, &width, &height);
  p.mainWindow = CreateWindowExA(0, kMainClass, p.texts.entry(T_TITLE).c_str(), WS_POPUP | WS_SYSMENU, placement.x,
                                 placement.y, width, height, nullptr, nullptr, p.instance, nullptr);
  if (p.mainWindow == nullptr) return false;
  p.menuHolder = SKHOLDER(p.mainWindow, "SKMENU", 0, 0, PaintWindowProc);
  // The engine's client-area holder is the tool holder.
  p.toolHolder = SKHOLDER(p.mainWindow, "SKCLIP", 0, 0, PaintWindowProc);
  if (p.toolHolder == nullptr) return false;
  SetWindowLongA(p.toolHolder, GWL_STYLE, GetWindowLongA(p.toolHolder, GWL_STYLE) | WS_CLIPCHILDREN);
  p.statusWindow = SKSTATUSWINDOW(p.mainWindow, "");
  if (!p.texts.entry(T_SYSBUTTON_TIP).empty()) SKSETSYSBUTTONTIP(p.mainWindow, p.texts.entry(T_SYSBUTTON_TIP).c_str());
  p.fullView = SKHOLDER(p.mainWindow, "SKZOOM", 0, 0, PaintWindowProc);
  CreateToolBar(p);
  // The canvas: a window of the engine whose messages come to this
  // procedure, below the page buttons and right of the drawing tools.
  p.canvasWindow = SKWINDOW(p.toolHolder, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN, 24, 24,
                            0, 0, PaintWindowProc, 0);
  if (p.canvasWindow == nullptr) return false;
  PlaceCanvasWindow();
  return true;
}

int RunMessageLoop(PaintState& p) {
  MSG msg = {};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
      PostMessageA(p.mainWindow, WM_COMMAND, 42, 0);
      continue;
    }
    if (SKDIALOGMESSAGE(p.mainWindow, &msg) == 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

int RunPaint(HINSTANCE instance) {
  PaintState& p = Paint();
  p.instance = instance;
  FindProgramPaths(p);
  SKINITENGINE("LUMINAR.SKS");
  // The text table is checked before the mutex is taken, so that a second
  // start never waits for a first one that is only showing this box.
  if (!SKEXIST(p.tablePath.c_str())) {
    MessageBoxA(nullptr, (p.tablePath + " missing !").c_str(), suite::NameBeforeFirstDot(p.programName).c_str(),
                MB_ICONHAND);
    return 2;
  }
  HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
  if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return SecondStart();
  }
  p.conversionFile = suite::TempFolder() + "ORBPAINTCONV.BMP";
  p.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  p.screenHeight = GetSystemMetrics(SM_CYSCREEN);

  suite::ReadMenuTables(p.tablePath, &p.menus);
  p.menu = suite::BuildMainMenu(p.menus);
  SKSETTRANSMENU(1);
  const Placement placement = ReadPlacementFile();
  GrayPictureMenus();
  suite::ReadTextTable(p.tablePath, &p.texts);

  int exitCode = 0;
  if (CreateWindows(p, placement)) {
    static suite::boxes::BoxContext boxes;
    boxes.mainWindow = p.mainWindow;
    boxes.iconModule = p.instance;
    suite::boxes::SetBoxContext(&boxes);
    if (!themecore::FindFile("gdiplus.dll").empty()) p.gdiplusToken = suite::ImgStartup();
    p.boxSettings.fontFamily = FirstUsableFontFamily();
    LoadPictureIntoCanvas("");
    CreateObjectWindow(p.canvasWindow, 0);
    BlitCanvas(1);
    SendMessageA(p.mainWindow, WM_INITDIALOG, reinterpret_cast<WPARAM>(p.mainWindow), 0);
    ShowWindow(p.mainWindow, SW_SHOW);
    UpdateWindow(p.mainWindow);
    exitCode = RunMessageLoop(p);
  }
  if (p.mainWindow != nullptr && IsWindow(p.mainWindow)) DestroyWindow(p.mainWindow);
  p.objects.clear();
  suite::ImgShutdown(p.gdiplusToken);
  if (p.menu != nullptr) DestroyMenu(p.menu);
  if (p.marlettFont != nullptr) DeleteObject(p.marlettFont);
  if (p.canvasWindow != nullptr) SKDELETEMEMBMP(p.canvasWindow);
  SKKILLFILE(p.conversionFile.c_str());
  if (mutex != nullptr) CloseHandle(mutex);
  return exitCode;
}

}  // namespace

}  // namespace paint

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return paint::RunPaint(instance); }
