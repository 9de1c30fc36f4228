// The main window's menu and button commands: the file list and collection
// commands, the folder tree's notifications, the skin menu, and the routing
// of every other command to the hand-overs (module_handover.cpp), the folder
// commands (folder_commands.cpp), the batch picture work, the album pages
// and contact sheets, the audio copies and the media search.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "batch.h"
#include "browser_state.h"
#include "list_files.h"
#include "picture_overviews.h"
#include "core/module_lists.h"
#include "core/path_names.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"
#include "folder_tree.h"
#include "orbboxes.h"
#include "skin_texts.h"
#include "suite_command.h"
#include "themecore.h"

namespace browser {

namespace {

constexpr size_t kEmptyCollectionEntry = 18;
constexpr size_t kYesNoEntry = 29;
constexpr size_t kClearQuestionEntry = 30;
constexpr size_t kOkCancelEntry = 32;
constexpr size_t kAddressPromptEntry = 34;
constexpr size_t kSkinFilesEntry = 69;
constexpr size_t kSkinQuestionEntry = 70;

// The full path of a file-list item (" name" in the current folder).
std::string FilePath(int index) {
  return Browser().currentFolder + suite::TrimLeadingBlanks(ListItemText(Browser().fileList, index));
}

// Where new entries go in the collection: before its first selected entry,
// else at the end.
int InsertionIndex(HWND list) {
  std::vector<int> selected = SelectedIndexes(list);
  if (!selected.empty()) return *std::min_element(selected.begin(), selected.end());
  return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
}

// Inserts files of the file list into the collection and puts the
// collection's caret on them.
void AddToCollection(const std::vector<int>& fileIndexes) {
  BrowserState& b = Browser();
  if (fileIndexes.empty()) return;
  int at = InsertionIndex(b.secondList);
  HeldListDrawing held(b.secondList);
  SendMessageA(b.secondList, LB_SETSEL, FALSE, -1);
  for (int index : fileIndexes) {
    std::string entry = " " + FilePath(index);
    LRESULT placed = SendMessageA(b.secondList, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(entry.c_str()));
    if (placed == LB_ERR || placed == LB_ERRSPACE) break;
    SendMessageA(b.secondList, LB_SETSEL, TRUE, placed);
    GrowListExtent(b.secondList, entry);
    at = static_cast<int>(placed) + 1;
  }
  SendMessageA(b.secondList, LB_SETCARETINDEX, at - 1, FALSE);
}

std::vector<int> AllIndexes(HWND list) {
  std::vector<int> indexes(static_cast<size_t>(std::max<LRESULT>(SendMessageA(list, LB_GETCOUNT, 0, 0), 0)));
  for (size_t i = 0; i < indexes.size(); ++i) indexes[i] = static_cast<int>(i);
  return indexes;
}

void RemoveSelected(HWND list) {
  std::vector<int> selected = SelectedIndexes(list);
  std::sort(selected.rbegin(), selected.rend());
  for (int index : selected) SendMessageA(list, LB_DELETESTRING, index, 0);
}

void ClearCollection() {
  BrowserState& b = Browser();
  if (SendMessageA(b.secondList, LB_GETCOUNT, 0, 0) <= 0) return;
  if (suite::boxes::ShowInfoBox(b.texts.entry(kClearQuestionEntry), b.texts.entry(kYesNoEntry)) != 1) {
    return;
  }
  SendMessageA(b.secondList, LB_RESETCONTENT, 0, 0);
  SendMessageA(b.secondList, LB_SETHORIZONTALEXTENT, 0, 0);
}

void InvertSelection(HWND list) {
  LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT selected = SendMessageA(list, LB_GETSEL, i, 0);
    SendMessageA(list, LB_SETSEL, selected > 0 ? FALSE : TRUE, i);
  }
}

void PlaySelectedFiles() {
  std::vector<std::string> paths = SelectedFilePaths();
  if (paths.empty()) return;
  SendFilesToModule(JoinPaths(paths));
  Sleep(200);
}

void PlayCollection(bool selectedOnly) {
  BrowserState& b = Browser();
  std::vector<std::string> paths = CollectionPaths(selectedOnly);
  if (paths.empty()) {
    if (!selectedOnly) suite::boxes::ShowInfoBox(b.texts.entry(kEmptyCollectionEntry), "");
    return;
  }
  SendFilesToModule(JoinPaths(paths));
  if (selectedOnly) {
    Sleep(200);
  } else {
    ShowWindow(b.mainWindow, SW_MINIMIZE);
  }
}

// Asks for an internet address and hands it to the player.
void PlayAddress() {
  BrowserState& b = Browser();
  char address[2048] = "http://";
  int32_t button = SKINPUTBOX(b.mainWindow, SKCAPTIONFONT(), b.texts.entry(1).c_str(),
                              b.texts.entry(kAddressPromptEntry).c_str(),
                              b.texts.entry(kOkCancelEntry).c_str(), address, sizeof(address),
                              nullptr, 0);
  std::string answer = suite::TrimBlanks(address);
  if (button != 1 || answer.empty()) return;
  SendFilesToModule(answer);
  ShowWindow(b.mainWindow, SW_MINIMIZE);
}

void ToggleMenuCheck(UINT id) {
  HMENU menu = Browser().mainMenu;
  if (menu == nullptr) return;
  bool checked = (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
  CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_UNCHECKED : MF_CHECKED));
}

// The selected folder of the tree ("" for a folder that is not a file
// system folder, such as My Computer).
std::string TreeSelection() {
  HWND tree = Browser().folderTree;
  if (tree == nullptr) return std::string();
  LRESULT length = SendMessageA(tree, suite::FTM_GETPATHLENGTH, 0, 0);
  if (length <= 0) return std::string();
  std::string path(static_cast<size_t>(length), '\0');
  LRESULT copied = SendMessageA(tree, suite::FTM_GETPATH, path.size(), reinterpret_cast<LPARAM>(path.data()));
  path.resize(static_cast<size_t>(std::max<LRESULT>(copied, 0)));
  return path;
}

// The favourites box keeps the folders last chosen in the tree, newest first.
void RememberFolder(const std::string& folder) {
  BrowserState& b = Browser();
  std::string shown = suite::WithoutFinalBackslash(folder);
  std::string item = " " + shown;
  LRESULT found = SendMessageA(b.favouritesCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(item.c_str()));
  if (found != CB_ERR) SendMessageA(b.favouritesCombo, CB_DELETESTRING, found, 0);
  SendMessageA(b.favouritesCombo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageA(b.favouritesCombo, CB_SETCURSEL, 0, 0);
  SKBUTTONTIP(b.clientHolder, b.favouritesCombo, shown.c_str());
}

void OnFolderTree(int code, LPARAM lParam) {
  BrowserState& b = Browser();
  switch (code) {
    case suite::FTN_DRAGMOVE:
      MoveDraggedFolder(reinterpret_cast<const HTREEITEM*>(lParam));
      return;
    case suite::FTN_RCLICK:
      OnTreeRightClick();
      return;
    case suite::FTN_ENDRENAME:
      OnTreeEndRename();
      return;
    case suite::FTN_CREATED:
    case suite::FTN_SELCHANGED:
      break;
    default:
      return;
  }
  std::string folder = suite::LowerAscii(TreeSelection());
  if (folder.empty()) return;
  folder = suite::WithFinalBackslash(folder);
  // Start-up has listed the start folder already; the tree's first
  // notification lists again only when it chose another one.
  bool listed = folder == suite::LowerAscii(b.currentFolder);
  b.currentFolder = folder;
  if (code == suite::FTN_SELCHANGED || !listed) FillFileList(b.currentFolder, CurrentPattern());
  if (code == suite::FTN_SELCHANGED) RememberFolder(b.currentFolder);
}

// A folder chosen in the favourites box becomes the current folder.
void OnFavouriteChosen() {
  BrowserState& b = Browser();
  LRESULT index = SendMessageA(b.favouritesCombo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return;
  LRESULT length = SendMessageA(b.favouritesCombo, CB_GETLBTEXTLEN, index, 0);
  if (length <= 0) return;
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(b.favouritesCombo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  std::string folder = suite::WithFinalBackslash(suite::LowerAscii(suite::WithoutFinalBackslash(suite::TrimBlanks(text))));
  if (folder.size() < 3 || folder == suite::LowerAscii(b.currentFolder)) return;
  ShowFolder(folder);
}

// Skin n of the skin menu: its files are copied over the skin in use, the
// check mark moves to it, and after a question the suite restarts with it.
void ChooseSkin(int number) {
  BrowserState& b = Browser();
  if (number < 1 || static_cast<size_t>(number) > b.skins.size()) return;
  const std::string& skinPath = b.skins[static_cast<size_t>(number) - 1];
  std::string skinFolder = suite::FolderOf(skinPath);
  std::string currentFolder = suite::SkinFolder();
  if (suite::LowerAscii(suite::WithFinalBackslash(skinFolder)) != suite::LowerAscii(suite::WithFinalBackslash(currentFolder))) {
    std::string source = skinFolder + b.texts.entry(kSkinFilesEntry);
    if (int32_t error = SKSHELLCOPY(source.c_str(), suite::WithFinalBackslash(currentFolder).c_str(), "")) {
      suite::boxes::ShowWarningBox(suite::WindowsErrorText(error));
      return;
    }
  }
  HMENU skinMenu = SKPOPUPHANDLE(kSkinPopup);
  for (size_t i = 0; i < b.skins.size() && skinMenu != nullptr; ++i) {
    CheckMenuItem(skinMenu, static_cast<UINT>(i),
                  MF_BYPOSITION | (static_cast<int>(i) + 1 == number ? MF_CHECKED : MF_UNCHECKED));
  }
  char label[256] = "";
  if (skinMenu != nullptr) GetMenuStringA(skinMenu, static_cast<UINT>(number - 1), label, sizeof(label), MF_BYPOSITION);
  std::string question = suite::ReplaceAll(b.texts.entry(kSkinQuestionEntry), "@", label);
  if (suite::boxes::ShowInfoBox(question, b.texts.entry(kYesNoEntry)) != 1) return;
  // Every other running module closes; the browser restarts itself.
  for (size_t module = 2; module <= suite::MODULE_COUNT; ++module) {
    std::string windowClass = suite::ModuleClass(module);
    HWND window = windowClass.empty() ? nullptr : FindWindowA(windowClass.c_str(), nullptr);
    if (window != nullptr) suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  }
  b.restartMode = RESTART_PLAIN;
  suite::SendSuiteCommand(b.mainWindow, suite::CMD_CLOSE, "");
}

}  // namespace

std::string JoinPaths(const std::vector<std::string>& paths, char separator) {
  std::string list;
  for (const std::string& path : paths) {
    if (!list.empty()) list += separator;
    list += path;
  }
  return list;
}

std::vector<std::string> SelectedFilePaths() {
  std::vector<std::string> paths;
  for (int index : SelectedIndexes(Browser().fileList)) paths.push_back(FilePath(index));
  return paths;
}

std::string CaretFilePath() {
  HWND list = Browser().fileList;
  LRESULT caret = SendMessageA(list, LB_GETCARETINDEX, 0, 0);
  if (caret == LB_ERR || caret < 0 || caret >= SendMessageA(list, LB_GETCOUNT, 0, 0)) return std::string();
  return FilePath(static_cast<int>(caret));
}

std::vector<std::string> CollectionPaths(bool selectedOnly) {
  BrowserState& b = Browser();
  std::vector<int> indexes = selectedOnly ? SelectedIndexes(b.secondList) : AllIndexes(b.secondList);
  std::vector<std::string> paths;
  for (int index : indexes) paths.push_back(suite::TrimLeadingBlanks(ListItemText(b.secondList, index)));
  return paths;
}

std::vector<int> SelectedIndexes(HWND list) {
  LRESULT count = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
  if (count == LB_ERR) {
    // A single-selection list: its current item.
    LRESULT current = SendMessageA(list, LB_GETCURSEL, 0, 0);
    return current == LB_ERR ? std::vector<int>() : std::vector<int>{static_cast<int>(current)};
  }
  std::vector<int> indexes(static_cast<size_t>(std::max<LRESULT>(count, 0)));
  if (indexes.empty()) return indexes;
  LRESULT got = SendMessageA(list, LB_GETSELITEMS, indexes.size(), reinterpret_cast<LPARAM>(indexes.data()));
  indexes.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, count)));
  std::sort(indexes.begin(), indexes.end());
  return indexes;
}

std::string ListItemText(HWND list, int index) {
  LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR || length < 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT got = SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return text;
}

void ShowFolder(const std::string& folder) {
  BrowserState& b = Browser();
  if (folder.empty()) return;
  b.currentFolder = suite::WithFinalBackslash(suite::LowerAscii(folder));
  if (b.folderTree != nullptr) {
    SendMessageA(b.folderTree, suite::FTM_SELECTPATH, b.currentFolder.size(),
                 reinterpret_cast<LPARAM>(b.currentFolder.c_str()));
  }
  FillFileList(b.currentFolder, CurrentPattern());
}

void DispatchBrowserCommand(HWND window, int id, int code, HWND control) {
  BrowserState& b = Browser();
  // A menu item whose action is "END" closes the program.
  if (id >= 100 && suite::MenuAction(id, b.menus) == "END") {
    SendMessageA(b.mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  if (id == 95 || IsBurnerItem(id)) {
    HandToBurner(id);
    return;
  }
  switch (id) {
    case ID_FOLDER_TREE:
      OnFolderTree(code, reinterpret_cast<LPARAM>(control));
      return;
    case ID_TYPE_COMBO:
      if (code == CBN_SELCHANGE) {
        LRESULT index = SendMessageA(b.typeCombo, CB_GETCURSEL, 0, 0);
        if (index != CB_ERR && index != b.currentType) {
          b.currentType = static_cast<int32_t>(index);
          FillFileList(b.currentFolder, CurrentPattern());
        }
      }
      return;
    case ID_FAVOURITES_COMBO:
      if (code == CBN_SELCHANGE) OnFavouriteChosen();
      return;
    case ID_FILE_LIST:
      if (code == LBN_SELCHANGE && b.checkButton != nullptr && SKGETCHECK(b.checkButton) != 0) {
        PreviewCaretFile();
      }
      return;
    case ID_SECOND_LIST:
      return;
    case 5: case 103:
      AddToCollection(SelectedIndexes(b.fileList));
      return;
    case 6: case 104:
      AddToCollection(AllIndexes(b.fileList));
      return;
    case 10: case 201:
      RemoveSelected(b.secondList);
      return;
    case 11: case 202:
      ClearCollection();
      return;
    case 8:
      PlayAddress();
      return;
    case 7: case 105:
      DeleteSelectedFiles();
      return;
    case 106: case 107:
      TransferSelectedFiles(id == 107);
      return;
    case 14:
      PlayCollection(false);
      return;
    case 101:
      PlaySelectedFiles();
      return;
    case 206:
      PlayCollection(true);
      return;
    case 9: case 108: case 205:
      ShowBrowserHelp();
      return;
    case 116:
      HandPicturesToViewer(false);
      return;
    case 210:
      HandPicturesToViewer(true);
      return;
    case 12: case 203:
      LoadListIntoCollection();
      return;
    case 13: case 204:
      SaveCollectionAsList();
      return;
    case 701:
      OpenSelectedInEditors();
      return;
    case 112:
      SendMessageA(b.fileList, LB_SETSEL, TRUE, -1);
      return;
    case 113:
      InvertSelection(b.fileList);
      return;
    case 114:
      SendMessageA(b.fileList, LB_SETSEL, FALSE, -1);
      return;
    case 208:
      SendMessageA(b.secondList, LB_SETSEL, FALSE, -1);
      return;
    case 408:
      ToggleMenuCheck(408);
      b.option408 = b.option408 != 0 ? 0 : -1;
      InvalidateRect(b.fileList, nullptr, TRUE);
      InvalidateRect(b.secondList, nullptr, TRUE);
      return;
    case 809:
      ToggleMenuCheck(809);
      return;
    case kNewFolderCommand: case kRenameFolderCommand: case kDeleteFolderCommand:
      RunFolderCommand(id);
      return;
    case 1107: case 1108:
      OpenDocument(suite::MenuAction(id, b.menus));
      return;
  }
  if (id >= 301 && id <= 399) {
    ChooseSkin(id - 300);
    return;
  }
  if (id >= 1001 && id <= 1005) {
    StartModuleWithFiles(id);
    return;
  }
  if (RunBatchCommand(id)) return;
  if (RunOverviewCommand(id)) return;
  if (RunAudioCopyCommand(id)) return;
  if (RunMediaSearchCommand(id)) return;
  // Every other command starts what its action entry names.
  LaunchAction(id);
}

}  // namespace browser
