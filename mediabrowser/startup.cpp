// The media browser's entry: everything from process start to the end of
// the message loop, then clean-up and the optional restart.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "browser_state.h"
#include "core/browser_command_line.h"
#include "core/item_list.h"
#include "core/path_names.h"
#include "core/startup_rules.h"
#include "core/text_rules.h"
#include "folder_tree.h"
#include "image_startup.h"
#include "module_start.h"
#include "orbboxes.h"
#include "picture_loader.h"
#include "skin_texts.h"
#include "themecore.h"
#include "tonelink.h"

namespace browser {

BrowserState& Browser() {
  static BrowserState state;
  return state;
}

namespace {

constexpr char kMainClass[] = "ORBMEDIA";
constexpr char kMutexName[] = "ORBMEDIA";
// How long a second start waits for the first instance's window before it
// gives up (the first may still be starting, or be ending).
constexpr DWORD kSecondStartWaitMs = 5000;

// Menus whose items from a given one on start modules: (menu, first item).
constexpr int32_t kModuleMenus[][2] = {{2, 11}, {5, 3}, {10, 1}, {11, 9}};

void FindProgramPaths(BrowserState& b) {
  suite::ProgramPaths paths = suite::FindProgramPaths();
  b.programFolder = paths.folder;
  b.exeName = paths.exeName;
  b.basePath = paths.basePath;
}

bool ReadTables(BrowserState& b) {
  std::string tablePath = b.basePath + ".SYS";
  if (!SKEXIST(tablePath.c_str())) {
    MessageBoxA(nullptr, (tablePath + " missing !").c_str(), suite::NameBeforeFirstDot(b.exeName).c_str(),
                MB_ICONHAND);
    return false;
  }
  suite::ReadMenuTables(tablePath, &b.menus);
  suite::ReadTextTable(tablePath, &b.texts);
  b.itemHeight = ItemHeightFromEntry(b.texts.entry(16));
  std::string title = b.texts.entry(1);
  for (std::string& entry : b.texts.entries()) entry = suite::ReplaceAll(entry, "@prog@", title);
  return true;
}

// A second start brings the running browser forward.  The first instance
// may hold the mutex before its window exists, so the wait is bounded.
int SecondStart() {
  HWND window = suite::WaitForModuleWindow(kMainClass, kSecondStartWaitMs);
  if (window == nullptr) return 0;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  return 0;
}

bool ProgramInstalled(const std::string& program) {
  return !program.empty() && SKEXIST((Browser().programFolder + program).c_str()) != 0;
}

void TrimModuleMenus(BrowserState& b) {
  for (const auto& [menu, first] : kModuleMenus) {
    if (menu >= static_cast<int32_t>(b.menus.definitions.size())) continue;
    MenuTrim trimmed = TrimModuleMenu(b.menus.definitions[menu], b.menus.actions, menu, first,
                                      ProgramInstalled);
    b.menus.definitions[menu] = trimmed.definition;
    b.menus.actions = trimmed.actions;
  }
}

// Skins are the sub-folders of the program folder holding a "*.skp" and a
// "*.sks" file; the skin menu (menu 3) lists them.
void BuildSkinMenu(BrowserState& b) {
  std::vector<std::string> folders;
  ListSubfolders(b.programFolder, &folders);
  std::vector<std::string> labels;
  for (const std::string& folder : folders) {
    WIN32_FIND_DATAA found = {};
    HANDLE panel = FindFirstFileA((folder + "*.skp").c_str(), &found);
    if (panel == INVALID_HANDLE_VALUE) continue;
    FindClose(panel);
    HANDLE skin = FindFirstFileA((folder + "*.sks").c_str(), &found);
    if (skin == INVALID_HANDLE_VALUE) continue;
    FindClose(skin);
    b.skins.push_back(folder + found.cFileName);
    labels.push_back(SkinMenuLabel(found.cFileName));
  }
  if (b.menus.definitions.size() > 3 && !labels.empty()) {
    std::string definition;
    for (size_t i = 0; i < labels.size(); ++i) definition += (i ? "|" : "") + labels[i];
    b.menus.definitions[3] = definition;
  }
  b.mainMenu = suite::BuildMainMenu(b.menus);
  HMENU skinMenu = SKPOPUPHANDLE(3);
  std::string currentSkinFolder = suite::LowerAscii(suite::SkinFolder());
  for (size_t i = 0; i < b.skins.size() && skinMenu != nullptr; ++i) {
    std::string folder = suite::FolderOf(b.skins[i]);
    if (suite::LowerAscii(folder) == currentSkinFolder) {
      CheckMenuItem(skinMenu, static_cast<UINT>(i), MF_BYPOSITION | MF_CHECKED);
    }
  }
  if (b.skins.size() == 1 && skinMenu != nullptr) EnableMenuItem(skinMenu, 301, MF_BYCOMMAND | MF_GRAYED);
  SKSETTRANSMENU(1);
}

bool RegisterMainClass(BrowserState& b) {
  if (SKCHECKCLASS(kMainClass) != 0) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = BrowserWindowProc;
  windowClass.hInstance = b.instance;
  windowClass.hIcon = b.icon;
  windowClass.hIconSm = b.smallIcon;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  return SKREGISTERCLASS(&windowClass, kMainClass) != 0;
}

HWND CreateCombo(HWND parent, int id, DWORD extraStyle) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST |
                CBS_OWNERDRAWFIXED | CBS_AUTOHSCROLL | CBS_HASSTRINGS | extraStyle;
  return CreateWindowExA(WS_EX_CLIENTEDGE, "COMBOBOX", "", style, 0, 0, 100, 200, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Browser().instance, nullptr);
}

HWND CreateList(HWND parent, int id, DWORD style) {
  return CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0,
                         0, 100, 100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         Browser().instance, nullptr);
}

void FillTypeCombo(BrowserState& b, const std::string& startPattern) {
  b.types = ParseMediaTypes(b.texts.entry(15));
  for (const MediaType& type : b.types) SKADDSTRINGCOMBO(b.typeCombo, (" " + type.name).c_str());
  int32_t selected = SelectedMediaType(b.types, startPattern);
  if (selected != -1) SendMessageA(b.typeCombo, CB_SETCURSEL, selected, 0);
  b.currentType = selected;
}

bool IsFixedFolder(const std::string& folder) {
  UINT type = GetDriveTypeA(folder.substr(0, 3).c_str());
  return type != DRIVE_CDROM && type != DRIVE_REMOVABLE;
}

void FillFavourites(BrowserState& b, std::string* startFolder) {
  for (const std::string& folder : FavouriteCandidates(ReadFavourites())) {
    std::string item = " " + folder;
    if (SendMessageA(b.favouritesCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(item.c_str())) != CB_ERR) {
      continue;
    }
    if (!IsFixedFolder(folder)) continue;
    if (!SKEXIST((suite::WithoutFinalBackslash(folder) + "\\*.*").c_str())) continue;
    SKADDSTRINGCOMBO(b.favouritesCombo, item.c_str());
    if (startFolder->empty()) *startFolder = folder;
  }
  if (startFolder->empty()) *startFolder = b.programFolder;
  std::string tip = suite::LowerAscii(suite::WithoutFinalBackslash(*startFolder));
  SKBUTTONTIP(b.clientHolder, b.favouritesCombo, tip.c_str());
  std::string item = " " + tip;
  if (SendMessageA(b.favouritesCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(item.c_str())) == CB_ERR) {
    SendMessageA(b.favouritesCombo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  if (SendMessageA(b.favouritesCombo, CB_GETCOUNT, 0, 0) > 0) SendMessageA(b.favouritesCombo, CB_SETCURSEL, 0, 0);
}

HWND CreateEntryButton(BrowserState& b, HWND parent, int id, const std::string& caption,
                       const std::string& tip) {
  HWND button = SKBUT3D(parent, caption.c_str(), SKCAPTIONFONT(), 0, 0, 60, 22, id, 0);
  if (button != nullptr && !tip.empty()) SKBUTTONTIP(parent, button, tip.c_str());
  return button;
}

void CreateControls(BrowserState& b, const std::string& startPattern, std::string startFolder) {
  b.typeCombo = CreateCombo(b.clientHolder, ID_TYPE_COMBO, CBS_UPPERCASE);
  SKBUTTONTIP(b.clientHolder, b.typeCombo, b.texts.entry(66).c_str());
  b.favouritesCombo = CreateCombo(b.clientHolder, ID_FAVOURITES_COMBO, 0);
  FillTypeCombo(b, startPattern);
  FillFavourites(b, &startFolder);
  b.currentFolder = suite::WithFinalBackslash(suite::LowerAscii(startFolder));

  b.folderTree = suite::FolderTreeCreate(b.clientHolder, b.currentFolder.c_str(), 0, 0, 100, 100,
                                         ID_FOLDER_TREE);
  HWND innerTree = b.folderTree ? GetDlgItem(b.folderTree, ID_FOLDER_TREE) : nullptr;
  HFONT listFont = innerTree ? reinterpret_cast<HFONT>(SendMessageA(innerTree, WM_GETFONT, 0, 0)) : nullptr;
  if (listFont == nullptr) listFont = SKDEFAULTFONT();
  SKSETCTLFONT(b.typeCombo, listFont);
  SKSETCTLFONT(b.favouritesCombo, listFont);
  b.filterList = b.texts.entry(3);

  b.fileList = CreateList(b.clientHolder, ID_FILE_LIST,
                          WS_HSCROLL | LBS_NOTIFY | LBS_SORT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                              LBS_NOINTEGRALHEIGHT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_MULTICOLUMN);
  b.secondList = CreateList(b.clientHolder, ID_SECOND_LIST,
                            WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                LBS_NOINTEGRALHEIGHT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL);
  for (HWND list : {b.fileList, b.secondList}) {
    SKSETCTLFONT(list, listFont);
    SKSETCOLOR(list, SKGETSYSCOLOR(101), SKGETSYSCOLOR(104));
  }
  SubclassFileList();

  for (int id : {5, 6, 7, 8}) {
    const std::string& entry = b.texts.entry(static_cast<size_t>(id));
    b.buttons.push_back(CreateEntryButton(b, b.clientHolder, id, suite::CommaField(entry, 1),
                                          suite::CommaField(entry, 2)));
  }
  b.checkButton = SKCHECKBUTTON(b.clientHolder, b.texts.entry(42).c_str(), SKDEFAULTFONT(), 0, 0, 60, 22,
                                ID_CHECK_BUTTON, 0);
  if (b.checkButton) SKBUTTONTIP(b.clientHolder, b.checkButton, b.texts.entry(43).c_str());
  if (b.menuHolder) {
    b.helpButton = CreateEntryButton(b, b.menuHolder, ID_HELP_BUTTON, "?",
                                     suite::CommaField(b.texts.entry(9), 2));
  }
  for (int id : {10, 11, 12, 13, 14, 95}) {
    const std::string& entry = b.texts.entry(static_cast<size_t>(id));
    b.buttons.push_back(CreateEntryButton(b, b.clientHolder, id, suite::CommaField(entry, 1),
                                          suite::CommaField(entry, 2)));
  }
  b.buttons.erase(std::remove(b.buttons.begin(), b.buttons.end(), nullptr), b.buttons.end());
}

// The boxes and pumps every command uses take their owner and texts from
// here.
void SetUpBoxes(BrowserState& b) {
  static suite::boxes::BoxContext context;
  context.mainWindow = b.mainWindow;
  context.iconModule = b.instance;
  context.fileList = b.fileList;
  context.yesNoButtons = b.texts.entry(29);
  context.cancelCaption = b.texts.entry(51);
  context.cancelQuestion = b.texts.entry(52);
  context.beforeBox = [] { RequestThumbnailStop(); };
  suite::boxes::SetBoxContext(&context);
}

void MaybeShowStartNotice(BrowserState& b) {
  if (b.currentType + 1 == 5 || b.noticeSeen != 0 || b.startedByDevice) return;
  int32_t checkMask = 0;
  ShowStartNotice(b.mainWindow, SKDEFAULTFONT(), b.texts.entry(1), b.texts.entry(67),
                  b.texts.entry(68), "", &checkMask);
  if (checkMask & 1) {
    WindowSettings settings;
    LoadSettings(&settings);
    b.noticeSeen = -1;
    settings.folder = b.currentFolder;
    SaveSettings(settings);
  }
}

int RunMessageLoop(BrowserState& b) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (KeyPreFilter(b.mainWindow, &msg) == 1) continue;
    if (b.mainWindow != nullptr && SKDIALOGMESSAGE(b.mainWindow, &msg) != 0) continue;
    if (b.mainWindow != nullptr && IsDialogMessageA(b.mainWindow, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void CleanUpAndRestart(BrowserState& b, HANDLE mutex) {
  BASSUNLOAD();
  HGDIOBJ led = b.miniLed;
  SKDELETEOBJECT(&led);
  b.miniLed = nullptr;
  suite::DeleteGifConversionFiles();
  suite::ImgShutdown(b.gdiplusToken);

  std::string argument;
  if (b.restartMode == RESTART_AFTER_DEVICE) {
    b.restartMode = RESTART_PLAIN;
    argument = "USBDETECTED";
  }
  // The mutex goes first: the new instance must not find this one's.
  if (mutex != nullptr) CloseHandle(mutex);
  if (b.restartMode == RESTART_PLAIN) {
    std::string exe = b.programFolder + b.exeName;
    ShellExecuteA(nullptr, "open", exe.c_str(), argument.c_str(),
                  suite::WithoutFinalBackslash(b.programFolder).c_str(), SW_SHOW);
  }
}

int RunBrowser(HINSTANCE instance, const std::string& commandLine) {
  BrowserState& b = Browser();
  b.instance = instance;
  FindProgramPaths(b);
  b.icon = LoadIconA(instance, "PROGRAM");
  b.smallIcon = static_cast<HICON>(LoadImageA(instance, "PROGRAM", IMAGE_ICON, 16, 16, 0));
  b.miniLed = LoadBitmapA(instance, "miniled");
  if (!ReadTables(b)) return 2;

  BrowserCommandLine parsed = ParseBrowserCommandLine(commandLine);
  switch (parsed.kind) {
    case CommandLineKind::UsbDetected:
      b.startedByDevice = true;
      break;
    case CommandLineKind::SkinFile:
      b.skinFile = parsed.skinFile;
      break;
    case CommandLineKind::Files:
      // Handed over: 0; no player to take them: 1.
      return SendFilesToModule(parsed.itemList) != nullptr ? 0 : 1;
    case CommandLineKind::Empty:
      break;
  }

  HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
  if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    int code = SecondStart();
    CloseHandle(mutex);
    return code;
  }

  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  SKINITENGINE(b.skinFile.c_str());
  SKUSEFOCUSRECT(1);
  TrimModuleMenus(b);
  BuildSkinMenu(b);

  std::string userFolder = UserFolderFromEntry(b.texts.entry(21), b.programFolder);
  if (!userFolder.empty()) SKMAKEDIR(userFolder.c_str());
  b.userFolder = suite::WithFinalBackslash(userFolder);
  b.defaultListFile = b.userFolder + b.texts.entry(24) + b.texts.entry(25);

  int exitCode = 0;
  if (RegisterMainClass(b)) {
    SKAPPTITLE(b.texts.entry(1).c_str());
    SKWINDOWSTYLE(31);
    SKSETSHADOW(0);
    WindowSettings settings;
    LoadSettings(&settings);
    if (b.mainMenu != nullptr) {
      if (settings.option809 != 0) CheckMenuItem(b.mainMenu, 809, MF_BYCOMMAND | MF_CHECKED);
      if (b.option408 != 0) CheckMenuItem(b.mainMenu, 408, MF_BYCOMMAND | MF_CHECKED);
    }
    int32_t width = settings.width, height = settings.height;
    SKSETMAXSIZE(settings.width, settings.height, &width, &height);

    b.mainWindow = CreateWindowExA(0, kMainClass, b.texts.entry(1).c_str(), WS_POPUP | WS_SYSMENU,
                                   settings.left, settings.top, width, height, nullptr, nullptr,
                                   instance, nullptr);
    if (b.mainWindow != nullptr) {
      b.clientHolder = SKHOLDER(b.mainWindow, "SKCLIP", 0, 0, BrowserWindowProc);
      b.menuHolder = SKHOLDER(b.mainWindow, "SKMENU", 0, 0, BrowserWindowProc);
      b.statusWindow = SKSTATUSWINDOW(b.mainWindow, "");
      if (!b.texts.entry(17).empty()) SKSETSYSBUTTONTIP(b.mainWindow, b.texts.entry(17).c_str());
      CreateControls(b, settings.pattern, settings.folder);
      SetUpBoxes(b);
      b.gdiplusToken = suite::ImgStartupWhenPresent();

      RECT client = {};
      if (b.clientHolder) GetClientRect(b.clientHolder, &client);
      LayoutBrowserWindow(client.right, client.bottom);
      FillFileList(b.currentFolder, CurrentPattern());
      ShowWindow(b.mainWindow, SW_SHOW);
      UpdateWindow(b.mainWindow);
      BringWindowToTop(b.mainWindow);
      MaybeShowStartNotice(b);
      exitCode = RunMessageLoop(b);
    }
  }
  CleanUpAndRestart(b, mutex);
  return exitCode;
}

}  // namespace

}  // namespace browser

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  return browser::RunBrowser(instance, commandLine != nullptr ? commandLine : "");
}
