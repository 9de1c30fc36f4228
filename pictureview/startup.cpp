// The picture browser's entry: names, text table, skin, menus, the main
// window with its holders, the controls, the message loop and the orderly
// exit.  Several browsers may run at once.
#include <windows.h>

#include <string>

#include "core/path_names.h"
#include "core/view_rules.h"
#include "image_startup.h"
#include "orbboxes.h"
#include "picture_loader.h"
#include "themecore.h"
#include "trace_writer.h"
#include "view_state.h"

namespace view {

ViewState& View() {
  static ViewState state;
  return state;
}

void TraceProgramCall(const char* function, const std::string& argument, const std::string& result) {
  orbtrace::CallLine call("orbview", function);
  if (!argument.empty()) call.Raw(argument);
  orbtrace::WriteCall(call, result);
}

namespace {

constexpr char kMainClass[] = "ORBVIEW";

void FindProgramPaths(ViewState& v) {
  const std::string exe = suite::ExeName();
  v.programFolder = suite::FolderOf(exe);
  v.programName = suite::FileNameOf(exe);
  // The name up to its last ".": an install folder with a "." in it still
  // finds the text table beside the program.
  v.basePath = BasePathOf(exe);
  v.tablePath = v.basePath + ".SYS";
  v.helpFolder = v.programFolder;
}

bool RegisterMainClass(ViewState& v) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = ViewWindowProc;
  windowClass.hInstance = v.instance;
  windowClass.hIcon = LoadIconA(v.instance, "PROGRAM");
  windowClass.lpszClassName = kMainClass;
  return RegisterClassExA(&windowClass) != 0;
}

bool CreateWindows(ViewState& v, const Placement& placement) {
  if (!RegisterMainClass(v)) return false;
  SKWINDOWSTYLE(0x1B);
  int32_t width = 0, height = 0;
  MainWindowSize(SKGETSYSTEMMETRICS(4), SKGETSYSTEMMETRICS(5), SKGETSYSTEMMETRICS(1), SKGETSYSTEMMETRICS(2),
                 SKGETSYSTEMMETRICS(3), SKGETSYSTEMMETRICS(6), &width, &height);
  int32_t usedWidth = width, usedHeight = height;
  SKSETMAXSIZE(width, height, &usedWidth, &usedHeight);
  v.mainWindow = CreateWindowExA(0, kMainClass, v.texts.entry(T_TITLE).c_str(), WS_POPUP | WS_SYSMENU, placement.x,
                                 placement.y, usedWidth, usedHeight, nullptr, nullptr, v.instance, nullptr);
  if (v.mainWindow == nullptr) return false;
  v.menuHolder = SKHOLDER(v.mainWindow, "SKMENU", 0, 0, ViewWindowProc);
  v.clientHolder = SKHOLDER(v.mainWindow, "SKCLIP", 0, 0, ViewWindowProc);
  if (v.clientHolder == nullptr) return false;
  SetWindowLongA(v.clientHolder, GWL_STYLE, GetWindowLongA(v.clientHolder, GWL_STYLE) | WS_CLIPCHILDREN);
  v.statusWindow = SKSTATUSWINDOW(v.mainWindow, "");
  if (!v.texts.entry(T_SYSBUTTON_TIP).empty()) SKSETSYSBUTTONTIP(v.mainWindow, v.texts.entry(T_SYSBUTTON_TIP).c_str());
  if (!themecore::FindFile("gdiplus.dll").empty()) v.gdiplusToken = suite::ImgStartup();
  v.zoomWindow = SKHOLDER(v.mainWindow, "SKZOOM", 0, 0, ViewWindowProc);
  return true;
}

bool IsPlaceWindow(const ViewState& v, HWND window) {
  for (HWND place : v.places) {
    if (place != nullptr && place == window) return true;
  }
  return false;
}

int RunMessageLoop(ViewState& v) {
  MSG msg = {};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_LBUTTONDOWN && IsPlaceWindow(v, msg.hwnd)) {
      ViewWindowProc(msg.hwnd, WM_LBUTTONDOWN, 0, 0);
      continue;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
      PostMessageA(v.mainWindow, WM_COMMAND, 15, 0);
      continue;
    }
    if (SKDIALOGMESSAGE(v.mainWindow, &msg) == 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

int RunView(HINSTANCE instance) {
  ViewState& v = View();
  v.instance = instance;
  FindProgramPaths(v);
  SKINITENGINE("LUMINAR.SKL");
  // Each running browser converts into a file of its own: several may run.
  v.conversionFile = suite::TempFolder() + "ORBEXPCONV" + std::to_string(GetCurrentProcessId()) + ".BMP";
  v.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  v.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (!SKEXIST(v.tablePath.c_str())) {
    static suite::boxes::MessageBoxStyle style{};
    suite::boxes::PrepareBoxStyle(&style, suite::boxes::BoxLook::kMessage,
                                  suite::boxes::BoxIconField(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_HAND))),
                                  static_cast<uint32_t>(SKGETSYSCOLOR(113)), static_cast<uint32_t>(SKGETSYSCOLOR(112)));
    SKMSGBOX(nullptr, SKDEFAULTFONT(), suite::NameBeforeFirstDot(v.programName).c_str(),
             (v.tablePath + " missing !").c_str(), "", &style, 0);
    return 2;
  }
  v.configPath = suite::TempFolder() + suite::FileNameOf(v.basePath) + ".cfg";
  v.helpFile = v.programFolder;
  suite::ReadMenuTables(v.tablePath, &v.menus);
  v.menu = suite::BuildMainMenu(v.menus);
  suite::ReadTextTable(v.tablePath, &v.texts);
  v.helpFile = v.programFolder + v.texts.entry(T_HELP_FILE);

  Placement placement;
  LoadPlacement(&placement);
  v.lastFolder = placement.folder;

  int exitCode = 0;
  static suite::boxes::BoxContext boxes;
  if (CreateWindows(v, placement)) {
    boxes.mainWindow = v.mainWindow;
    boxes.iconModule = v.instance;
    suite::boxes::SetBoxContext(&boxes);
    SendMessageA(v.mainWindow, WM_INITDIALOG, reinterpret_cast<WPARAM>(v.mainWindow), 0);
    ShowWindow(v.mainWindow, SW_SHOW);
    UpdateWindow(v.mainWindow);
    exitCode = RunMessageLoop(v);
  }
  if (v.startupTimer != 0) KillTimer(nullptr, v.startupTimer);
  if (v.viewBitmap != nullptr) DeleteObject(v.viewBitmap);
  if (v.printDc != nullptr) DeleteDC(v.printDc);
  if (v.mainWindow != nullptr && IsWindow(v.mainWindow)) DestroyWindow(v.mainWindow);
  SKKILLFILE(v.conversionFile.c_str());
  suite::DeleteGifConversionFiles();
  suite::ImgShutdown(v.gdiplusToken);
  if (v.menu != nullptr) DestroyMenu(v.menu);
  if (v.marlettFont != nullptr) DeleteObject(v.marlettFont);
  return exitCode;
}

}  // namespace

}  // namespace view

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return view::RunView(instance); }
