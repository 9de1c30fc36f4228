// What the user does to folders in the folder tree: its context menu (new
// folder, rename, delete), renaming in place, and moving a folder by
// dragging it onto another.  Folders on a CD are never changed.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "browser_state.h"
#include "core/item_list.h"
#include "core/path_names.h"
#include "core/text_rules.h"
#include "folder_tree.h"
#include "orbboxes.h"
#include "skin_texts.h"
#include "themecore.h"

namespace browser {

namespace {

constexpr size_t kYesNoEntry = 29;
constexpr size_t kOkCancelEntry = 32;
constexpr size_t kDeleteFolderQuestionEntry = 86;
constexpr size_t kMoveQuestionEntry = 87;
constexpr size_t kMoveFailedEntry = 88;
constexpr size_t kNewFolderPromptEntry = 89;
constexpr int32_t kCdErrorText = 29;          // SKWINERR: the disc cannot be changed
constexpr int32_t kCreateFailedErrorText = 82;

// The tree item the folder menu was opened on; the menu's commands act on
// it.
HTREEITEM g_menuItem = nullptr;

HWND InnerTree() {
  HWND frame = Browser().folderTree;
  return frame != nullptr ? GetDlgItem(frame, ID_FOLDER_TREE) : nullptr;
}

std::string ItemFolder(HTREEITEM item) {
  HWND tree = InnerTree();
  if (tree == nullptr || item == nullptr) return std::string();
  return suite::FolderTreeGetItemPath(tree, item);
}

// The folders below `folder`, parents before their children.
std::vector<std::string> FoldersBelow(const std::string& folder) {
  std::string list = themecore::FetchText(
      [&folder](char* out, int32_t size) { return SKREADDIRS(folder.c_str(), out, size); });
  std::vector<std::string> folders;
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find('\0', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) folders.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return folders;
}

// The plain files directly in `folder` (with a final backslash).
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) files.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return files;
}

// Removes `folder` and the folders below it that are empty, deepest first.
void RemoveEmptiedFolders(const std::string& folder) {
  std::vector<std::string> folders = FoldersBelow(folder);
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) RemoveDirectoryA(it->c_str());
  RemoveDirectoryA(folder.c_str());
}

// The tree is read again from the disk and shows `folder` (with a final
// backslash) as the current folder.
void ShowFolderAfterChange(const std::string& folder) {
  RebuildFolderTree();
  ShowFolder(folder);
}

void EndLabelEditing(HWND tree) {
  SetWindowLongPtrA(tree, GWL_STYLE, GetWindowLongPtrA(tree, GWL_STYLE) & ~static_cast<LONG_PTR>(TVS_EDITLABELS));
}

std::string LastName(const std::string& folder) {
  return suite::FileNameOf(suite::WithoutFinalBackslash(folder));
}

}  // namespace

void RebuildFolderTree() {
  g_menuItem = nullptr;
  if (HWND tree = InnerTree()) suite::FolderTreeFill(tree, nullptr, 0, 1);
}

bool RefuseOnCdDrive(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return false;
  std::string root = path.substr(0, 2) + "\\";
  if (GetDriveTypeA(root.c_str()) != DRIVE_CDROM) return false;
  suite::boxes::ShowWarningBox(suite::WindowsErrorText(kCdErrorText));
  return true;
}

// The folder menu opens on the item under the cursor.
void OnTreeRightClick() {
  HWND tree = InnerTree();
  if (tree == nullptr) return;
  TVHITTESTINFO hit = {};
  GetCursorPos(&hit.pt);
  ScreenToClient(tree, &hit.pt);
  g_menuItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (g_menuItem == nullptr) return;
  OpenPopupAtCursor(SKPOPUPHANDLE(kFolderMenuPopup));
}

// The label edit the rename command started has ended: the typed name
// becomes the folder's new name when it is a valid name.
void OnTreeEndRename() {
  BrowserState& b = Browser();
  HWND tree = InnerTree();
  if (tree == nullptr) return;
  HWND edit = reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
  if (edit == nullptr) return;
  int length = GetWindowTextLengthA(edit);
  std::string typed(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  typed.resize(static_cast<size_t>(GetWindowTextA(edit, typed.data(), length + 1)));
  std::string name = suite::LowerAscii(suite::TrimBlanks(typed));

  EndLabelEditing(tree);
  HTREEITEM item = g_menuItem;
  if (item == nullptr) return;
  std::string oldPath = suite::WithoutFinalBackslash(ItemFolder(item));
  if (oldPath.size() < 3 || name.empty() || name == suite::LowerAscii(LastName(oldPath))) return;
  if (RefuseOnCdDrive(oldPath)) return;
  if (int32_t invalid = SKVALIDNAME(name.c_str())) {
    suite::boxes::ShowWarningBox(name + "|" + suite::WindowsErrorText(invalid));
    return;
  }
  std::string newPath = suite::FolderOf(oldPath) + name;
  // The watcher holds the current folder open, which keeps it (or a folder
  // above it) from being renamed.
  StopFolderWatcher();
  int32_t error = SKRENAME(oldPath.c_str(), newPath.c_str(), 0);
  if (error == 0 && suite::IsSameOrInsideFolder(oldPath, b.currentFolder)) {
    b.currentFolder = suite::WithFinalBackslash(suite::LowerAscii(newPath + b.currentFolder.substr(oldPath.size())));
  }
  StartFolderWatcher();
  if (error != 0) {
    suite::boxes::ShowWarningBox(suite::WindowsErrorText(error));
    return;
  }
  TVITEMA label = {};
  label.mask = TVIF_TEXT;
  label.hItem = item;
  label.pszText = name.data();
  SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&label));
  UpdateStatusText();
}

// A folder dragged onto another moves there, after a question: its folders
// are made under the target, its files moved, and the emptied folders
// removed.  A folder is never moved onto itself or into one of its own
// sub-folders.
void MoveDraggedFolder(const HTREEITEM* items) {
  BrowserState& b = Browser();
  if (items == nullptr) return;
  std::string source = suite::WithoutFinalBackslash(ItemFolder(items[0]));
  std::string target = suite::WithoutFinalBackslash(ItemFolder(items[1]));
  if (source.size() < 3 || target.size() < 2 || suite::IsSameOrInsideFolder(source, target)) return;
  // The folder is already there.
  if (suite::LowerAscii(suite::FolderOf(source)) == suite::LowerAscii(suite::WithFinalBackslash(target))) return;
  if (RefuseOnCdDrive(source) || RefuseOnCdDrive(target)) return;

  std::string question = suite::FillPlaceholders(b.texts.entry(kMoveQuestionEntry), '@', {source, target});
  if (suite::boxes::ShowInfoBox(question, b.texts.entry(kYesNoEntry)) != 1) return;

  SKCURSORWAIT();
  // The watched current folder could not be removed while the watcher holds
  // it open; the listing afterwards starts it again.
  StopFolderWatcher();
  std::string from = suite::WithFinalBackslash(source);
  std::string to = suite::WithFinalBackslash(target) + LastName(source) + "\\";
  std::vector<std::string> folders = {from};
  for (const std::string& folder : FoldersBelow(from)) folders.push_back(folder);
  bool failed = false;
  for (const std::string& folder : folders) {
    std::string newFolder = to + folder.substr(from.size());
    if (SKMAKEDIR(newFolder.c_str()) == 0) {
      failed = true;
      break;
    }
    for (const std::string& file : FilesIn(folder)) {
      if (SKSHELLMOVE((folder + file).c_str(), (newFolder + file).c_str(), "") != 0) {
        failed = true;
        break;
      }
    }
    if (failed) break;
  }
  if (failed) {
    suite::boxes::ShowWarningBox(b.texts.entry(kMoveFailedEntry));
    ShowFolderAfterChange(b.currentFolder);
    return;
  }
  RemoveEmptiedFolders(from);
  ShowFolderAfterChange(to);
}

void RunFolderCommand(int id) {
  BrowserState& b = Browser();
  std::string folder = suite::WithFinalBackslash(ItemFolder(g_menuItem));
  if (folder.size() < 3) return;
  if (RefuseOnCdDrive(folder)) return;
  switch (id) {
    case kNewFolderCommand: {
      char answer[MAX_PATH] = "";
      int32_t button = SKINPUTBOX(b.mainWindow, SKCAPTIONFONT(), b.texts.entry(1).c_str(),
                                  b.texts.entry(kNewFolderPromptEntry).c_str(),
                                  b.texts.entry(kOkCancelEntry).c_str(), answer, sizeof(answer),
                                  nullptr, 0);
      std::string name = suite::TrimBlanks(answer);
      if (button != 1 || name.empty()) return;
      // Only a plain name: "..\x" or "c:\x" would create the folder
      // elsewhere.
      if (int32_t invalid = SKVALIDNAME(name.c_str())) {
        suite::boxes::ShowWarningBox(name + "|" + suite::WindowsErrorText(invalid));
        return;
      }
      std::string created = folder + name;
      if (GetFileAttributesA(created.c_str()) != INVALID_FILE_ATTRIBUTES ||
          SKMAKEDIR(created.c_str()) == 0) {
        suite::boxes::ShowWarningBox(suite::WindowsErrorText(kCreateFailedErrorText));
        return;
      }
      ShowFolderAfterChange(created);
      return;
    }
    case kRenameFolderCommand: {
      HWND tree = InnerTree();
      if (tree != nullptr && g_menuItem != nullptr) {
        // Labels are edited on this command only, never by a click.
        SetWindowLongPtrA(tree, GWL_STYLE, GetWindowLongPtrA(tree, GWL_STYLE) | TVS_EDITLABELS);
        SetFocus(tree);
        if (SendMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(g_menuItem)) == 0) {
          EndLabelEditing(tree);
        }
      }
      return;
    }
    case kDeleteFolderCommand: {
      // A drive's root is not deleted.
      if (folder.size() <= 3) return;
      std::string question = suite::FillPlaceholders(b.texts.entry(kDeleteFolderQuestionEntry), '@',
                                              {suite::WithoutFinalBackslash(folder),
                                               std::to_string(SKDIRCOUNT(folder.c_str()))});
      if (suite::boxes::ShowInfoBox(question, b.texts.entry(kYesNoEntry)) != 1) return;
      SKCURSORWAIT();
      StopFolderWatcher();
      std::vector<std::string> folders = {folder};
      for (const std::string& below : FoldersBelow(folder)) folders.push_back(below);
      for (const std::string& each : folders) {
        for (const std::string& file : FilesIn(each)) RecycleFile(each + file, 0);
      }
      RemoveEmptiedFolders(folder);
      std::string shown = suite::IsSameOrInsideFolder(folder, b.currentFolder) ? suite::FolderOf(suite::WithoutFinalBackslash(folder))
                                                                        : b.currentFolder;
      ShowFolderAfterChange(shown);
      return;
    }
  }
}

}  // namespace browser
