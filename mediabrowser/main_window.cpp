// The media browser's main window procedure: layout of its panes, painting
// of its owner-drawn lists and combos, suite commands from other programs,
// and closing.  Commands from menus and buttons go to DispatchBrowserCommand.
#include <windows.h>
#include <dbt.h>

#include <algorithm>
#include <string>
#include <vector>

#include "batch.h"
#include "browser_state.h"
#include "core/item_list.h"
#include "core/module_lists.h"
#include "core/path_names.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"
#include "core/window_layout.h"
#include "orbboxes.h"
#include "skin_texts.h"
#include "suite_command.h"
#include "themecore.h"

namespace browser {

namespace {

constexpr size_t kYesNoEntry = 29;
constexpr size_t kPictureModuleEntry = 64;
constexpr size_t kPicturePatternsEntry = 65;
constexpr size_t kNewDriveQuestionEntry = 76;
constexpr size_t kLabelsEntry = 81;

int ComboHeight(HWND combo) {
  RECT rect = {};
  if (combo != nullptr) GetWindowRect(combo, &rect);
  return std::max<int>(rect.bottom - rect.top, 20);
}

int ButtonWidth(HWND button) {
  char text[256] = {};
  GetWindowTextA(button, text, sizeof(text));
  int32_t width = 0, height = 0;
  SKGETTEXTEXTENT(button, SKCAPTIONFONT(), text[0] ? text : " ", &width, &height);
  return width + 16;
}

HWND ButtonById(int id) {
  for (HWND button : Browser().buttons) {
    if (GetDlgCtrlID(button) == id) return button;
  }
  return nullptr;
}

void PlaceButtonRow(const int* ids, size_t count, int x, int y, int height) {
  for (size_t i = 0; i < count; ++i) {
    HWND button = ButtonById(ids[i]);
    if (button == nullptr) continue;
    int width = ButtonWidth(button);
    MoveWindow(button, x, y, width, height, TRUE);
    x += width + 1;
  }
}

LRESULT OnCopyData(HWND window, WPARAM wParam, LPARAM lParam) {
  BrowserState& b = Browser();
  std::string text;
  uint32_t code = suite::ReceiveSuiteCommand(text, wParam, lParam);
  switch (code) {
    case suite::CMD_SET_TARGET_PROGRAM:
      b.overrideProgram = suite::CommaField(text, 1);
      b.overrideClass = suite::CommaField(text, 2);
      if (!b.overrideProgram.empty() && b.checkButton != nullptr) ShowWindow(b.checkButton, SW_HIDE);
      break;
    case suite::CMD_CLOSE:
      if (IsIconic(b.mainWindow)) ShowWindow(b.mainWindow, SW_HIDE);
      PostMessageA(b.mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case 11: case 12: case 13: case 14: case 15: case 16: {
      int32_t index = static_cast<int32_t>(code) - 11;
      if (index != b.currentType && index < static_cast<int32_t>(b.types.size())) {
        int32_t previous = b.currentType;
        SendMessageA(b.typeCombo, CB_SETCURSEL, index, 0);
        b.currentType = index;
        FillFileList(b.currentFolder, CurrentPattern());
        // Leaving the thumbnails: the whole window is drawn again.
        if (previous == 4) PostMessageA(b.mainWindow, WM_BROWSER_REPAINT, reinterpret_cast<WPARAM>(b.mainWindow), 0);
      }
      break;
    }
    case suite::CMD_FOLDER_CHANGED:
      // Another program changed files of the folder the thumbnails show.
      if (b.option408 != 0 && b.thumbnailMode &&
          suite::UpperAscii(text) == suite::UpperAscii(suite::WithFinalBackslash(b.currentFolder))) {
        PostMessageA(b.mainWindow, WM_BROWSER_REPAINT, reinterpret_cast<WPARAM>(b.fileList), 0);
      }
      break;
    case suite::CMD_GO_TO_FOLDER:
      ShowFolder(text);
      break;
  }
  return suite::SUITE_COMMAND_HANDLED;
}

// Set once the close has saved the settings: SC_CLOSE goes on to WM_CLOSE.
bool isClosing = false;

void OnClose(HWND window) {
  BrowserState& b = Browser();
  isClosing = true;
  StopThumbnails();
  StopFolderWatcher();
  StopDriveWatcher();
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  GetWindowPlacement(window, &placement);
  WindowSettings settings;
  settings.left = placement.rcNormalPosition.left;
  settings.top = placement.rcNormalPosition.top;
  settings.width = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
  settings.height = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
  settings.folder = b.currentFolder;
  if (b.currentType >= 0 && b.currentType < static_cast<int32_t>(b.types.size())) {
    settings.pattern = b.types[b.currentType].pattern;
  }
  settings.option809 =
      b.mainMenu != nullptr && (GetMenuState(b.mainMenu, 809, MF_BYCOMMAND) & MF_CHECKED) ? -1 : 0;
  SaveSettings(settings);
  PostQuitMessage(0);
}

// The About entry of the system menu: the engine's line, then the program's
// text with "#" standing for the current year.
void ShowAbout() {
  BrowserState& b = Browser();
  suite::boxes::ShowAboutBox(suite::boxes::AboutText(b.texts.entry(2)));
}

// Alt+arrow keys move the selected entry of a list one place: the
// collection's single selected entry up or down, the file list's selected
// item towards the start (Left, Up) or the end (Right, Down).
void MoveListEntry(HWND list, WPARAM key) {
  BrowserState& b = Browser();
  bool towardsStart = key == VK_UP || (list == b.fileList && key == VK_LEFT);
  bool towardsEnd = key == VK_DOWN || (list == b.fileList && key == VK_RIGHT);
  if (!towardsStart && !towardsEnd) return;
  if (list == b.secondList && SendMessageA(list, LB_GETSELCOUNT, 0, 0) != 1) return;
  int index = -1;
  if (SendMessageA(list, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&index)) != 1 || index < 0) return;
  LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  int target = towardsStart ? index - 1 : index + 1;
  if (target < 0 || target >= count) return;
  std::string text = ListItemText(list, index);
  LRESULT data = SendMessageA(list, LB_GETITEMDATA, index, 0);
  SendMessageA(list, LB_DELETESTRING, index, 0);
  LRESULT placed = SendMessageA(list, LB_INSERTSTRING, target, reinterpret_cast<LPARAM>(text.c_str()));
  if (placed == LB_ERR || placed == LB_ERRSPACE) return;
  SendMessageA(list, LB_SETITEMDATA, placed, data);
  SendMessageA(list, LB_SETSEL, FALSE, -1);
  SendMessageA(list, LB_SETSEL, TRUE, placed);
  SendMessageA(list, LB_SETCARETINDEX, placed, FALSE);
  if (list == b.fileList) b.fileOrderChanged = true;
}

// Menu animation is switched off while a context menu opens at the cursor
// (it would slide in over the item that was clicked) and back on after.
bool g_menuAnimationOff = false;

bool IsMenuEffectOn() {
  BOOL animation = FALSE;
  return SystemParametersInfoA(SPI_GETMENUANIMATION, 0, &animation, 0) && animation;
}

void RestoreMenuAnimation() {
  if (!g_menuAnimationOff) return;
  SystemParametersInfoA(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(TRUE), 0);
  g_menuAnimationOff = false;
}

// A drive came or went.  A new CD is listed at once; any other new drive
// needs a restart to be listed everywhere, which the user is asked for; the
// file list forgets a drive that went away.
void OnDeviceChange(WPARAM event, LPARAM lParam) {
  BrowserState& b = Browser();
  if ((event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) || lParam == 0) return;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
  if (header->dbch_devicetype != DBT_DEVTYP_VOLUME) return;
  const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lParam);
  char letter = DriveLetterFromUnitMask(volume->dbcv_unitmask);
  if (letter == 0) return;
  std::string drive = std::string(1, letter) + ":";

  if (event == DBT_DEVICEREMOVECOMPLETE) {
    if (suite::UpperAscii(b.currentFolder.substr(0, 2)) == drive) {
      SendMessageA(b.fileList, LB_RESETCONTENT, 0, 0);
      if (b.statusWindow != nullptr) SKSETCTLTEXT(b.statusWindow, "");
      RebuildFolderTree();
      b.currentFolder.clear();
    }
    MessageBeep(MB_OK);
    return;
  }
  std::string root = drive + "\\";
  if (GetDriveTypeA(root.c_str()) == DRIVE_CDROM) {
    ShowFolder(root);
    return;
  }
  RebuildFolderTree();
  std::string question = suite::ReplaceAll(b.texts.entry(kNewDriveQuestionEntry), "@", drive);
  if (suite::boxes::ShowInfoBox(question, b.texts.entry(kYesNoEntry)) == 1) {
    b.restartMode = RESTART_AFTER_DEVICE;
    suite::SendSuiteCommand(b.mainWindow, suite::CMD_CLOSE, "");
  } else {
    MessageBeep(MB_OK);
  }
}

// Before a popup opens, its items are enabled or greyed from what is
// selected: each needs a selection, and the hand-overs a file their module
// takes and the module's program.
void EnableMenuItems(HMENU popup) {
  BrowserState& b = Browser();
  std::vector<std::string> selected = SelectedFilePaths();
  auto enable = [popup](UINT id, bool on) {
    EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  };
  auto anySelected = [&selected](auto test) {
    return std::any_of(selected.begin(), selected.end(), test);
  };
  auto programOf = [&b](int id) {
    std::string name = suite::CommaField(suite::MenuAction(id, b.menus), 1);
    return name.empty() ? std::string() : themecore::FindFile(name.c_str());
  };
  enable(109, !selected.empty());
  enable(110, !selected.empty());
  std::string pictureTypes = b.types.size() > 4 ? b.types[4].pattern : std::string();
  bool pictureSelected =
      anySelected([&pictureTypes](const std::string& path) { return suite::PatternListTakes(pictureTypes, path); });
  for (UINT id = 1001; id <= 1005; ++id) enable(id, pictureSelected && !programOf(static_cast<int>(id)).empty());

  std::string viewer = suite::ParseModuleRef(b.texts.entry(kPictureModuleEntry)).program;
  bool viewerPresent = !viewer.empty() && !themecore::FindFile(viewer.c_str()).empty();
  std::string picturePatterns = b.texts.entry(kPicturePatternsEntry);
  auto takesPicture = [&picturePatterns](const std::string& path) {
    return suite::PatternListTakes(picturePatterns, path);
  };
  enable(116, viewerPresent && anySelected(takesPicture));
  std::vector<std::string> collected = CollectionPaths(true);
  enable(210, viewerPresent && std::any_of(collected.begin(), collected.end(), takesPicture));
  enable(118, !programOf(118).empty() &&
                  anySelected([](const std::string& path) { return suite::ExtensionIsOneOf(path, ".cda"); }));
  enable(119, anySelected([](const std::string& path) { return suite::ExtensionIsOneOf(path, ".wav.wma.mp3.ogg"); }));
}

// The labels of the lists, at the free right end of the button row under
// each list.
void PaintLabels(HWND window) {
  BrowserState& b = Browser();
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  std::string labels = b.texts.entry(kLabelsEntry);
  const HWND rowEnds[] = {nullptr, ButtonById(8), ButtonById(95)};
  const HWND lists[] = {nullptr, b.fileList, b.secondList};
  HFONT font = SKDEFAULTFONT();
  for (size_t field = 2; field <= 3; ++field) {
    std::string label = suite::CommaField(labels, field);
    HWND list = lists[field - 1];
    if (label.empty() || list == nullptr) continue;
    RECT listRect;
    GetWindowRect(list, &listRect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&listRect), 2);
    int32_t width = 0, height = 0;
    SKGETTEXTEXTENT(window, font, label.c_str(), &width, &height);
    int x = listRect.right - width - 6;
    int y = listRect.bottom + 2 + std::max(0, (ComboHeight(b.typeCombo) - height) / 2);
    if (HWND last = rowEnds[field - 1]) {
      RECT buttonRect;
      GetWindowRect(last, &buttonRect);
      MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&buttonRect), 2);
      if (field == 2 && b.checkButton != nullptr) {
        GetWindowRect(b.checkButton, &buttonRect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&buttonRect), 2);
      }
      // No room beside the buttons: no label.
      if (x < buttonRect.right + 4) continue;
    }
    SKPRINT3DU(dc, label.c_str(), x, y, SKGETSYSCOLOR(113), SKGETSYSCOLOR(112), font, 1);
  }
  EndPaint(window, &paint);
}

void DrawListItem(const DRAWITEMSTRUCT* item) {
  if (item->itemID == static_cast<UINT>(-1)) return;
  bool selected = (item->itemState & ODS_SELECTED) != 0;
  COLORREF text = static_cast<COLORREF>(SKGETSYSCOLOR(selected ? 115 : 101));
  COLORREF back = static_cast<COLORREF>(SKGETSYSCOLOR(selected ? 114 : 104));
  const RECT& r = item->rcItem;
  SKFILLRECT(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, static_cast<int32_t>(back));
  UINT getLength = item->CtlType == ODT_COMBOBOX ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  UINT getText = item->CtlType == ODT_COMBOBOX ? CB_GETLBTEXT : LB_GETTEXT;
  LRESULT length = SendMessageA(item->hwndItem, getLength, item->itemID, 0);
  if (length > 0) {
    std::string label(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(item->hwndItem, getText, item->itemID, reinterpret_cast<LPARAM>(label.data()));
    label.resize(static_cast<size_t>(length));
    SetBkMode(item->hDC, TRANSPARENT);
    SetTextColor(item->hDC, text);
    TextOutA(item->hDC, r.left + 2, r.top + 1, label.c_str(), static_cast<int>(label.size()));
  }
  if (item->itemState & ODS_FOCUS) DrawFocusRect(item->hDC, &r);
}

void MoveTo(HWND control, const Box& box, int32_t dropHeight = 0) {
  if (control != nullptr) MoveWindow(control, box.x, box.y, box.width, box.height + dropHeight, TRUE);
}

}  // namespace

void OpenPopupAtCursor(HMENU popup) {
  BrowserState& b = Browser();
  if (popup == nullptr) return;
  if (IsMenuEffectOn()) {
    SystemParametersInfoA(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(FALSE), 0);
    g_menuAnimationOff = true;
  }
  POINT cursor = {};
  GetCursorPos(&cursor);
  TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, b.clientHolder, nullptr);
}

void LayoutBrowserWindow(int32_t width, int32_t height) {
  BrowserState& b = Browser();
  LayoutInput input;
  input.clientWidth = width;
  input.clientHeight = height;
  input.itemHeight = b.itemHeight;
  input.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  input.comboHeight = ComboHeight(b.typeCombo);
  input.scrollBarHeight = GetSystemMetrics(SM_CXHSCROLL);
  BrowserLayout layout = ComputeBrowserLayout(input);

  // Combo boxes get their drop-down height on top of the closed one.
  MoveTo(b.typeCombo, layout.typeCombo, 164);
  MoveTo(b.favouritesCombo, layout.favouritesCombo, 164);
  MoveTo(b.folderTree, layout.folderTree);
  MoveTo(b.fileList, layout.fileList);
  MoveTo(b.secondList, layout.secondList);

  const int buttonHeight = input.comboHeight;
  static const int kUpperRow[] = {5, 6, 7, 8};
  PlaceButtonRow(kUpperRow, 4, layout.fileList.x, layout.buttonRowY, buttonHeight);
  if (b.checkButton) {
    int x = layout.fileList.x;
    for (int id : kUpperRow) {
      if (HWND button = ButtonById(id)) x += ButtonWidth(button) + 1;
    }
    char text[256] = {};
    GetWindowTextA(b.checkButton, text, sizeof(text));
    int32_t textWidth = 0, textHeight = 0, imageWidth = 0, imageHeight = 0;
    SKGETTEXTEXTENT(b.checkButton, SKDEFAULTFONT(), text[0] ? text : " ", &textWidth, &textHeight);
    SKGETPIXMAPSIZE(SKCHECKBUT(), &imageWidth, &imageHeight);
    int checkWidth = std::max<int>(textWidth + imageWidth / 4 + 8, imageWidth / 4);
    MoveWindow(b.checkButton, x + 5, layout.buttonRowY, checkWidth, buttonHeight, TRUE);
  }
  static const int kLowerRow[] = {10, 11, 12, 13, 14, 95};
  PlaceButtonRow(kLowerRow, 6, layout.fileList.x, layout.lowerRowY, buttonHeight);

  if (b.helpButton && b.menuHolder) {
    RECT bar;
    GetClientRect(b.menuHolder, &bar);
    int32_t barWidth = 0, barHeight = 0;
    SKGETPIXMAPSIZE(SKMENUBAR(), &barWidth, &barHeight);
    int helpWidth = SKGETSYSTEMMETRICS(7);
    int helpHeight = barHeight > 0 ? barHeight : bar.bottom;
    MoveWindow(b.helpButton, bar.right - helpWidth, 0, helpWidth, helpHeight, TRUE);
  }
}

LRESULT CALLBACK BrowserWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND engineWindow = window;
  UINT engineMessage = message;
  WPARAM engineWParam = wParam;
  LPARAM engineLParam = lParam;
  int32_t handled = SKGETMESSAGE(&engineWindow, &engineMessage, &engineWParam, &engineLParam);
  if (handled != 0) return handled;

  BrowserState& b = Browser();
  switch (message) {
    case WM_DEVICECHANGE:
      OnDeviceChange(wParam, lParam);
      break;
    case WM_BROWSER_REPAINT:
      InvalidateRgn(reinterpret_cast<HWND>(wParam), nullptr, TRUE);
      return 0;
    case WM_BROWSER_THUMBNAIL:
      return OnThumbnailLoaded(lParam);
    case WM_BROWSER_FOLDER_CHANGED:
      RefreshFileListByDiff();
      return 0;
    case WM_BROWSER_DRIVES_CHANGED:
      OnDrivesChanged();
      return 0;
    case WM_BROWSER_BATCH_STEP:
      return OnBatchStep(wParam, lParam);
    case WM_CTLCOLORLISTBOX: {
      HWND list = reinterpret_cast<HWND>(lParam);
      if (list != b.fileList && list != b.secondList) break;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(101)));
      SetBkColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(104)));
      static HBRUSH background = nullptr;
      static COLORREF backgroundColour = CLR_INVALID;
      COLORREF wanted = static_cast<COLORREF>(SKGETSYSCOLOR(104));
      if (background == nullptr || backgroundColour != wanted) {
        if (background != nullptr) DeleteObject(background);
        background = CreateSolidBrush(wanted);
        backgroundColour = wanted;
      }
      return reinterpret_cast<LRESULT>(background);
    }
    case WM_PAINT:
      if (window == b.clientHolder) {
        PaintLabels(window);
        return 0;
      }
      break;
    case WM_INITMENUPOPUP:
      EnableMenuItems(reinterpret_cast<HMENU>(wParam));
      break;
    case WM_COPYDATA:
      return OnCopyData(window, wParam, lParam);
    case WM_SIZE:
      if (window == b.clientHolder) {
        LayoutBrowserWindow(LOWORD(lParam), HIWORD(lParam));
        if (b.mainWindow != nullptr) {
          PostMessageA(b.mainWindow, WM_BROWSER_REPAINT, reinterpret_cast<WPARAM>(b.mainWindow), 0);
        }
      }
      break;
    case WM_MEASUREITEM: {
      // The file list's height follows its mode (FillFileList sets it).
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      item->itemHeight = item->CtlID == ID_FILE_LIST ? 16 : 18;
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->hwndItem == b.fileList && b.thumbnailMode) {
        DrawThumbnailCell(item);
      } else {
        DrawListItem(item);
      }
      return TRUE;
    }
    case WM_COMMAND:
      DispatchBrowserCommand(window, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      // Boxes of the command may have stopped the loader.
      if (b.mainWindow != nullptr) StartThumbnails();
      return 0;
    case WM_SYSCOMMAND:
      if (window == b.mainWindow && wParam == 0) {
        ShowAbout();
        return 0;
      }
      if ((wParam & 0xFFF0) == SC_CLOSE && window == b.mainWindow) OnClose(window);
      break;
    case WM_RBUTTONDOWN:
      if (window == b.fileList || window == b.secondList) {
        OpenPopupAtCursor(SKPOPUPHANDLE(window == b.fileList ? kFileListPopup : kSecondListPopup));
        return 0;
      }
      break;
    case WM_EXITMENULOOP:
      RestoreMenuAnimation();
      break;
    case WM_SYSKEYDOWN:
      if (window == b.fileList || window == b.secondList) {
        MoveListEntry(window, wParam);
        return 0;
      }
      break;
    case WM_CLOSE:
      // From outside (taskkill, another program): closed as the close
      // button closes it, settings saved; DefWindowProc then destroys it.
      if (window == b.mainWindow && !isClosing) OnClose(window);
      break;
    case WM_DESTROY:
      if (window != b.mainWindow) break;
      FreeThumbnails();
      b.mainWindow = nullptr;
      // However the window went, the program ends with it: a process
      // without its window would hold the single-instance mutex for good.
      PostQuitMessage(0);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace browser

// The main window procedure as the program exports it (named WNDPROC in
// orbmedia.def).
extern "C" LRESULT __stdcall OrbMediaWindowProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  return browser::BrowserWindowProc(window, message, wParam, lParam);
}
