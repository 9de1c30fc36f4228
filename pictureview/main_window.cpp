// The picture browser's window procedure (the main window, its holders, the
// film strip, the light table and the full-screen window, told apart by
// their handles), the controls built at WM_INITDIALOG, the command table,
// the suite commands it receives, the start-up timer, help and the
// placement file.
#include <windows.h>

#include <ctime>
#include <string>

#include "core/item_list.h"
#include "core/path_names.h"
#include "core/suite_command_codes.h"
#include "core/view_rules.h"
#include "file_io.h"
#include "folder_tree.h"
#include "module_start.h"
#include "orbboxes.h"
#include "suite_command.h"
#include "themecore.h"
#include "themecore_painttool.h"
#include "themecore_player.h"
#include "themecore_wait.h"
#include "view_state.h"

namespace view {

namespace {

constexpr size_t kMaxPlacementBytes = 64 * 1024;
constexpr int kTreeId = 16;
constexpr int kDocumentButtonId = 17;
constexpr int kHelpButtonId = 15;
// Control ids of the windows that send no commands, so that they can be
// told apart (and found by tests).
constexpr int kCountBoxId = 18;
constexpr int kStripId = 19;
constexpr int kLightTableId = 20;

void CALLBACK StartupTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  ViewWindowProc(nullptr, WM_TIMER, id, 0);
}

HWND Label(HWND parent, const std::string& text, DWORD style, int x, int y, int width, int height) {
  HWND label = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                               parent, nullptr, View().instance, nullptr);
  if (label != nullptr) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(SKDEFAULTFONT()), 0);
  return label;
}

void CreateNavigationButtons(ViewState& v) {
  const ViewGeometry& g = v.geometry;
  const std::string first = std::string(1, '\x7F') + "<";
  const std::string last = ">" + std::string(1, '\x7F');
  struct Button {
    int id;
    std::string caption;
    int width;
    bool captionFont;
  };
  const Button buttons[] = {{1, first, 32, false},
                            {2, "<<", 32, false},
                            {3, v.texts.entry(T_PRINT), 100, true},
                            {4, v.texts.entry(T_PREVIEW), 100, true},
                            {5, ">>", 32, false},
                            {6, last, 32, false}};
  int x = g.buttonX;
  for (const Button& b : buttons) {
    HWND button = SKBUT3D(v.clientHolder, b.caption.c_str(), b.captionFont ? SKCAPTIONFONT() : SKDEFAULTFONT(), x,
                          g.buttonY, b.width, 23, b.id, WS_TABSTOP);
    SKBUTTONTIP(v.clientHolder, button, v.texts.entry(T_FIRST_BUTTON_TIP + b.id - 1).c_str());
    x += b.width + 2;
  }
  x += 8;
  HWND label = Label(v.clientHolder, v.texts.entry(T_COUNT_LABEL), SS_RIGHT, x, g.buttonY + 4, 60, 16);
  if (label != nullptr) SKSETCOLOR(label, SKGETSYSCOLOR(113), -1);
  v.countBox = Label(v.clientHolder, "", SS_SUNKEN | SS_CENTER, x + 64, g.buttonY + 3, 48, 17);
  if (v.countBox != nullptr) SetWindowLongPtrA(v.countBox, GWLP_ID, kCountBoxId);
}

void CreateHelpButton(ViewState& v) {
  if (!SKEXIST(v.helpFile.c_str()) || v.menuHolder == nullptr) return;
  RECT bar = {};
  GetClientRect(v.menuHolder, &bar);
  const int32_t side = SKGETSYSTEMMETRICS(7) > 0 ? SKGETSYSTEMMETRICS(7) : 18;
  v.helpButton = SKBUT3D(v.menuHolder, "?", nullptr, bar.right - side, 0, side,
                         bar.bottom > 0 ? bar.bottom : side, kHelpButtonId, 0);
  SKBUTTONTIP(v.menuHolder, v.helpButton, v.texts.entry(T_HELP_TIP).c_str());
}

void MoveHelpButton(ViewState& v) {
  if (v.helpButton == nullptr || v.menuHolder == nullptr) return;
  RECT bar = {};
  GetClientRect(v.menuHolder, &bar);
  RECT button = {};
  GetWindowRect(v.helpButton, &button);
  const int width = button.right - button.left;
  MoveWindow(v.helpButton, bar.right - width, 0, width, button.bottom - button.top, TRUE);
}

void OnInitDialog(ViewState& v) {
  v.defaultPrinter = themecore::FetchText([](char* out, int32_t size) { return SKGETDEFAULTPRINTER(out, size); });
  RECT holder = {};
  GetWindowRect(v.clientHolder, &holder);
  v.geometry = ComputeGeometry(holder.right - holder.left, holder.bottom - holder.top);
  const ViewGeometry& g = v.geometry;

  v.stripWindow = SKWINDOW(v.clientHolder, WS_CHILD | WS_VISIBLE, 0, 0, g.width, g.stripHeight, ViewWindowProc, 0);
  if (v.stripWindow != nullptr && SKCREATEMEMBMP(v.stripWindow, g.width, g.stripHeight) != 0) {
    HDC dc = SKGETHDCMEMBMP(v.stripWindow);
    SKFILLRECT(dc, 0, 0, g.width, g.stripHeight, 0);
    HBITMAP perforation = LoadBitmapA(v.instance, "CRAN");
    if (perforation != nullptr) {
      SKHORZTILE(dc, 0, 0, g.width, 13, perforation);
      SKHORZTILE(dc, 0, g.cellHeight + 12, g.width, 13, perforation);
      DeleteObject(perforation);
    }
  }
  if (v.stripWindow != nullptr) SetWindowLongPtrA(v.stripWindow, GWLP_ID, kStripId);
  v.lightTable = SKWINDOW(v.clientHolder, WS_CHILD | WS_VISIBLE, 0, g.lightTableY, g.width, g.cellHeight,
                          ViewWindowProc, 0);
  if (v.lightTable != nullptr && SKCREATEMEMBMP(v.lightTable, g.width, g.cellHeight) != 0) {
    SKFILLRECT(SKGETHDCMEMBMP(v.lightTable), 0, 0, g.width, g.cellHeight, RGB(160, 160, 160));
  }
  if (v.lightTable != nullptr) SetWindowLongPtrA(v.lightTable, GWLP_ID, kLightTableId);
  CreateNavigationButtons(v);
  CreateLayoutFrames();
  const int treeX = g.framesX + 3 * g.frameStep + g.frameWidth + 4;
  v.folderTree = suite::FolderTreeCreate(v.clientHolder, v.lastFolder.c_str(), treeX, g.treeY,
                                         std::max(40, g.width - 2 - treeX), 164, kTreeId);
  CreateLightTableRows();
  const std::string image = v.texts.entry(T_DOCUMENT_IMAGE);
  if (!image.empty() && SKEXIST((v.programFolder + image).c_str())) {
    HWND button = SKBUTIMAGE(v.clientHolder, (v.programFolder + image).c_str(), 2, g.treeY, kDocumentButtonId);
    SKBUTTONTIP(v.clientHolder, button, v.texts.entry(T_DOCUMENT).c_str());
  }
  CreateHelpButton(v);
  v.showNames = false;
  CheckMenuItem(v.menu, 206, MF_BYCOMMAND | MF_UNCHECKED);
  CheckMenuItem(v.menu, 207, MF_BYCOMMAND | MF_CHECKED);
  PostMessageA(v.mainWindow, WM_COMMAND, 99, 0);
}

// The start-up timer: the start folder, unless a list came first.
void OnStartupTimer(ViewState& v) {
  KillTimer(nullptr, v.startupTimer);
  v.startupTimer = 0;
  if (ListCount() != 0 || !v.pendingLists.empty()) return;
  const std::string commandFolder = CommandLineFolder(ArgumentsOf(GetCommandLineA()));
  const bool autorun = SKEXIST((v.programFolder + "AUTORUN.INF").c_str()) != 0;
  v.lastFolder = StartFolder(commandFolder, autorun, v.programFolder, v.lastFolder);
  v.folderName = FolderOwnName(v.lastFolder);
  v.scanMask = v.lastFolder + "*.*";
  TraceProgramCall("StartFolder", v.lastFolder, "");
  OpenFolder();
  if (v.folderTree != nullptr) {
    SendMessageA(v.folderTree, suite::FTM_SELECTPATH, v.lastFolder.size(),
                 reinterpret_cast<LPARAM>(v.lastFolder.c_str()));
    SetFocus(v.folderTree);
  }
}

LRESULT OnReceivedList(ViewState& v) {
  if (v.pendingLists.empty()) return 0;
  const std::string list = v.pendingLists.front();
  v.pendingLists.erase(v.pendingLists.begin());
  std::vector<std::string> items;
  for (const std::string& item : suite::SplitItemList(list)) {
    if (!item.empty()) items.push_back(item);
  }
  if (items.empty()) {
    ClearStrip();
    return 0;
  }
  SetList(items);
  return 0;
}

LRESULT OnCopyData(ViewState& v, WPARAM wParam, LPARAM lParam) {
  std::string text;
  const uint32_t code = suite::ReceiveSuiteCommand(text, wParam, lParam);
  TraceProgramCall("ReceiveSuiteCommand", std::to_string(code) + ", \"" + text + "\"", "");
  if (code == suite::CMD_CLOSE) {
    PostQuitMessage(0);
  } else if (!text.empty()) {
    // Every list keeps its own place in the queue; commands without one
    // (the media browser's "started by me", the picture tool's hello)
    // leave the strip as it is.
    v.pendingLists.push_back(text);
    PostMessageA(v.mainWindow, WM_SHOW_RECEIVED_LIST, 0, 0);
  }
  return 1;
}

void PaintClientHolder(ViewState& v, HWND window) {
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
  // The separator line under the buttons: dark over light.
  const int y = v.geometry.cellHeight + 53;
  SKFILLRECT(dc, 0, y, v.geometry.width + 3, 1, SKGETSYSCOLOR(118));
  SKFILLRECT(dc, 0, y + 1, v.geometry.width + 3, 1, SKGETSYSCOLOR(119));
  EndPaint(window, &paint);
}

void ShowAbout(ViewState& v) {
  const std::string text = suite::boxes::AboutText(v.texts.entry(T_ABOUT));
  static suite::boxes::MessageBoxStyle style{};
  suite::boxes::PrepareBoxStyle(&style, suite::boxes::BoxLook::kAbout,
                                suite::boxes::BoxIconField(LoadIconA(v.instance, "PROGRAM")),
                                static_cast<uint32_t>(SKGETSYSCOLOR(113)), static_cast<uint32_t>(SKGETSYSCOLOR(112)));
  SKMSGBOX(v.mainWindow, SKCAPTIONFONT(), v.texts.entry(T_TITLE).c_str(), text.c_str(), "", &style, 0);
}

void CloseSequence(ViewState& v, LPARAM) {
  if (v.printDc != nullptr) DeleteDC(v.printDc);
  v.printDc = nullptr;
  ShowWindow(v.mainWindow, SW_RESTORE);
  RECT rect = {};
  GetWindowRect(v.mainWindow, &rect);
  Placement placement;
  placement.x = rect.left;
  placement.y = rect.top;
  placement.width = rect.right - rect.left;
  placement.height = rect.bottom - rect.top;
  placement.folder = v.lastFolder;
  SavePlacement(placement);
  if (v.zoomWindow != nullptr) DestroyWindow(v.zoomWindow);
  v.zoomWindow = nullptr;
  PostQuitMessage(0);
}

void ShowDocument(ViewState& v, int id) {
  const std::string viewerRef = v.texts.entry(T_VIEWER);
  if (id == kDocumentButtonId) {
    const std::string document = v.texts.entry(T_DOCUMENT);
    const suite::HelpResult result = suite::ShowFileWithModule(document, viewerRef, "\"" + document + "\"", "");
    TraceProgramCall("ShowDocument", document, std::to_string(static_cast<int>(result)));
    return;
  }
  // The help file is handed over even when it is missing: the viewer or the
  // shell says so.
  const suite::HelpResult result =
      suite::ShowFileWithModule(v.helpFile, viewerRef, "\"" + v.helpFile + "\"", v.helpFolder);
  TraceProgramCall("ShowHelp", v.helpFile, std::to_string(static_cast<int>(result)));
}

void OnFolderTree(ViewState& v, WPARAM wParam) {
  if (HIWORD(wParam) != suite::FTN_SELCHANGED || v.folderTree == nullptr) return;
  std::string path(MAX_PATH, '\0');
  const LRESULT copied =
      SendDlgItemMessageA(v.clientHolder, kTreeId, suite::FTM_GETPATH, path.size(), reinterpret_cast<LPARAM>(path.data()));
  path.resize(copied > 0 ? std::min<size_t>(static_cast<size_t>(copied), path.size()) : 0);
  const size_t zero = path.find('\0');
  if (zero != std::string::npos) path.resize(zero);
  if (path.empty()) return;
  path = suite::WithFinalBackslash(path);
  if (path == v.lastFolder && ListCount() != 0) return;
  v.scanMask = path + "*.*";
  OpenFolder();
}

LRESULT OnCommand(ViewState& v, HWND window, WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  if (suite::MenuAction(id, v.menus) == "END") {
    SendMessageA(v.mainWindow, WM_SYSCOMMAND, SC_CLOSE, lParam);
    return 1;
  }
  switch (id) {
    case 1:
    case 2:
    case 5:
    case 6:
      StripCommand(id);
      return 1;
    case 3:
    case 4:
      PrintLayouts(id == 3);
      return 1;
    case 7:
    case 9:
    case 11:
    case 13:
      ShowSlotPicture((id - 7) / 2 + 1);
      return 1;
    case 8:
    case 10:
    case 12:
    case 14:
      ClearSlot((id - 8) / 2 + 1);
      return 1;
    case 15:
    case 209:
    case kDocumentButtonId:
      ShowDocument(v, id);
      return 1;
    case kTreeId:
      OnFolderTree(v, wParam);
      return 0;
    case 99:
      UpdateWindow(v.mainWindow);
      SetFocus(v.mainWindow);
      if (v.startupTimer == 0) v.startupTimer = SetTimer(nullptr, 0, 200, StartupTimerProc);
      return 1;
    case 101:
      ChoosePrinter();
      return 1;
    case 201:
      RunSlideShow();
      return 1;
    case 203:
    case 204:
      RunPictureWall(id);
      return 1;
    case 206:
    case 207:
      v.showNames = id == 206;
      CheckMenuItem(v.menu, 206, MF_BYCOMMAND | (v.showNames ? MF_CHECKED : MF_UNCHECKED));
      CheckMenuItem(v.menu, 207, MF_BYCOMMAND | (v.showNames ? MF_UNCHECKED : MF_CHECKED));
      return 1;
    default:
      break;
  }
  return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

}  // namespace

void SetStatusText(const std::string& text) {
  if (View().statusWindow != nullptr) SKSETCTLTEXT(View().statusWindow, text.c_str());
}

int32_t StockIconBox(const std::string& caption, const std::string& text, const std::string& buttons,
                     LPCSTR stockIcon) {
  static suite::boxes::MessageBoxStyle style{};
  suite::boxes::PrepareBoxStyle(&style, suite::boxes::BoxLook::kMessage,
                                suite::boxes::BoxIconField(LoadIconA(nullptr, stockIcon)),
                                static_cast<uint32_t>(SKGETSYSCOLOR(113)), static_cast<uint32_t>(SKGETSYSCOLOR(112)));
  const int32_t answer =
      SKMSGBOX(View().mainWindow, SKCAPTIONFONT(), caption.c_str(), text.c_str(), buttons.c_str(), &style, 0);
  TraceProgramCall("Box", "\"" + caption + "\", \"" + text + "\"", std::to_string(answer));
  return answer;
}

bool LoadPlacement(Placement* placement) {
  ViewState& v = View();
  std::string bytes;
  if (suite::ReadWholeFile(v.configPath, kMaxPlacementBytes, &bytes) && DecodePlacement(bytes, placement)) {
    return true;
  }
  char windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(windows, sizeof(windows));
  *placement = DefaultPlacement(v.screenWidth, v.screenHeight,
                                suite::WithFinalBackslash(std::string(windows, length < sizeof(windows) ? length : 0)));
  return false;
}

void SavePlacement(const Placement& placement) {
  suite::WriteFileReplacing(View().configPath, EncodePlacement(placement));
}

LRESULT CALLBACK ViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ViewState& v = View();
  if (window == nullptr && message == WM_TIMER) {
    if (wParam == v.startupTimer && v.startupTimer != 0) OnStartupTimer(v);
    return 0;
  }
  const int32_t handled = SKGETMESSAGE(&window, &message, &wParam, &lParam);
  if (handled != 0) return handled;
  const bool isMain = window == v.mainWindow;
  switch (message) {
    case WM_SHOW_RECEIVED_LIST:
      if (isMain) return OnReceivedList(v);
      break;
    case WM_COPYDATA:
      return OnCopyData(v, wParam, lParam);
    case WM_INITDIALOG:
      if (isMain) OnInitDialog(v);
      return 0;
    case WM_ERASEBKGND:
      // The full-screen window keeps what the views drew into it.
      if (window == v.stripWindow || window == v.lightTable || window == v.zoomWindow) return 1;
      break;
    case WM_PAINT:
      if (window == v.clientHolder) {
        PaintClientHolder(v, window);
        return 1;
      }
      if (window == v.stripWindow || window == v.lightTable) {
        PaintMemoryWindow(window);
        return 1;
      }
      if (window == v.zoomWindow) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 1;
      }
      break;
    case WM_SIZE:
      if (isMain || window == v.menuHolder) MoveHelpButton(v);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (v.viewState != 0) {
        HidePreview();
        return 1;
      }
      if (window == v.stripWindow) return StripMouse(message, lParam);
      if (window == v.lightTable) return LightTableMouse(message, lParam);
      if (v.dragSource != 0) return PlaceClicked(window);
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      if (window == v.stripWindow) return StripMouse(message, lParam);
      break;
    case WM_MOUSEMOVE:
      if (v.viewState == 1 && window == v.zoomWindow) return PreviewMouseMove(lParam);
      if (window == v.stripWindow && v.viewState == 0) return StripMouse(message, lParam);
      break;
    case WM_KEYDOWN:
      if (v.viewState == 1) return PreviewKey(wParam);
      if (v.viewState == 2) {
        HidePreview();
        return 1;
      }
      break;
    case WM_SYSCOMMAND:
      if (isMain && (wParam & 0xFFF0) == SC_CLOSE) {
        CloseSequence(v, lParam);
        return 1;
      }
      if (isMain && wParam == 0) {
        ShowAbout(v);
        return 1;
      }
      break;
    case WM_COMMAND:
      return OnCommand(v, window, wParam, lParam);
    case WM_DESTROY:
      if (window == v.stripWindow || window == v.lightTable) SKDELETEMEMBMP(window);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace view

// The window procedure under the name the program exports (orbview.def).
extern "C" LRESULT __stdcall OrbViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return view::ViewWindowProc(window, message, wParam, lParam);
}
