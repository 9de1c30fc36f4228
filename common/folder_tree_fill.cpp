// The folder tree's content: filling it in its three modes, inserting an
// item with the shell's icons and label, filling a branch on its first
// expansion, deleting item records, reading paths and finding a path.
#include <cstring>
#include <string>
#include <vector>

#include "core/folder_tree_rules.h"
#include "folder_tree_internal.h"

namespace suite {

namespace ft = folder_tree;
using namespace folder_tree_detail;

namespace folder_tree_detail {

namespace {

using WideFileInfoFunction = DWORD_PTR(WINAPI*)(LPCWSTR, DWORD, SHFILEINFOW*, UINT, UINT);

WideFileInfoFunction WideFileInfo() {
  static WideFileInfoFunction entry = [] {
    HMODULE shell = GetModuleHandleA("Shell32.Dll");
    if (shell == nullptr) shell = LoadLibraryA("Shell32.dll");
    return shell ? reinterpret_cast<WideFileInfoFunction>(GetProcAddress(shell, "SHGetFileInfoW"))
                 : nullptr;
  }();
  return entry;
}

}  // namespace

bool IsNtFamily() { return (GetVersion() & 0x80000000u) == 0; }

bool CanFill() { return !IsNtFamily() || WideFileInfo() != nullptr; }

FolderTreeData* DataOf(HWND tree) {
  return tree ? static_cast<FolderTreeData*>(GetPropA(tree, kDataProperty)) : nullptr;
}

FolderTreeItem* RecordOf(HWND tree, HTREEITEM item) {
  if (tree == nullptr || item == nullptr) return nullptr;
  TVITEMA query = {};
  query.mask = TVIF_HANDLE | TVIF_PARAM;
  query.hItem = item;
  if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return nullptr;
  return reinterpret_cast<FolderTreeItem*>(query.lParam);
}

void SetChildCount(HWND tree, HTREEITEM item, int count) {
  TVITEMA change = {};
  change.mask = TVIF_HANDLE | TVIF_CHILDREN;
  change.hItem = item;
  change.cChildren = count;
  SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change));
}

HIMAGELIST SystemSmallImages() {
  char windows[MAX_PATH + 1] = {};
  char shortPath[MAX_PATH + 1] = {};
  UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  DWORD shortLength = GetShortPathNameA(windows, shortPath, MAX_PATH);
  const char* folder = (shortLength > 0 && shortLength < MAX_PATH) ? shortPath : windows;
  SHFILEINFOA info = {};
  auto list = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA(folder, 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (list != nullptr) ImageList_SetBkColor(list, CLR_NONE);
  return list;
}

// Open icon and attributes through the wide entry on the NT family.
bool QueryOpenIconAndAttributes(const FolderTreeData& data, const FolderTreeItem& record,
                                int* openIcon, DWORD* attributes) {
  const UINT flags = SHGFI_SYSICONINDEX | SHGFI_OPENICON | SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES |
                     SHGFI_ATTR_SPECIFIED | (data.mode == kShellMode ? SHGFI_PIDL : 0);
  const DWORD asked = SFGAO_SHARE | SFGAO_HASSUBFOLDER;
  if (data.mode == kShellMode && record.absoluteIdList == nullptr) return false;
  if (data.mode != kShellMode && record.path.empty()) return false;
  if (IsNtFamily() && WideFileInfo() != nullptr) {
    SHFILEINFOW info = {};
    info.dwAttributes = asked;
    std::wstring widePath;
    LPCWSTR subject = reinterpret_cast<LPCWSTR>(record.absoluteIdList);
    if (data.mode != kShellMode) {
      int chars = MultiByteToWideChar(CP_ACP, 0, record.path.c_str(), -1, nullptr, 0);
      if (chars <= 0) return false;
      widePath.assign(static_cast<size_t>(chars), L'\0');
      MultiByteToWideChar(CP_ACP, 0, record.path.c_str(), -1, widePath.data(), chars);
      subject = widePath.c_str();
    }
    if (!WideFileInfo()(subject, 0, &info, sizeof(info), flags)) return false;
    *openIcon = info.iIcon;
    *attributes = info.dwAttributes;
    return true;
  }
  SHFILEINFOA info = {};
  info.dwAttributes = asked;
  LPCSTR subject = data.mode == kShellMode ? reinterpret_cast<LPCSTR>(record.absoluteIdList)
                                           : record.path.c_str();
  if (!SHGetFileInfoA(subject, 0, &info, sizeof(info), flags)) return false;
  *openIcon = info.iIcon;
  *attributes = info.dwAttributes;
  return true;
}

namespace {

// Fills a file-system item with its sub-folders; returns how many.
int ExpandFolderItem(HWND tree, HTREEITEM item, const FolderTreeItem& record) {
  const std::string folder = ft::WithOneTrailingBackslash(record.path);
  if (folder.empty()) return 0;
  std::vector<ft::DirectoryEntry> entries;
  WIN32_FIND_DATAA found = {};
  HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      entries.push_back({std::string(found.cFileName, strnlen(found.cFileName, MAX_PATH)),
                         (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  int inserted = 0;
  for (const std::string& path : ft::ChildFolderPaths(folder, entries)) {
    FolderTreeItem child;
    child.path = path;
    if (FolderTreeInsertItem(tree, item, "", &child) != nullptr) ++inserted;
  }
  return inserted;
}

void OnItemExpanding(HWND tree, const NMTREEVIEWA* info) {
  FolderTreeData* data = DataOf(tree);
  HTREEITEM item = info->itemNew.hItem;
  if (data == nullptr || item == nullptr) return;
  if (SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)) != 0) return;
  FolderTreeItem* record = RecordOf(tree, item);
  if (record == nullptr) return;
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  bool enumerated = true;
  int inserted = data->mode == kShellMode ? ExpandShellItem(tree, data, item, *record, &enumerated)
                                          : ExpandFolderItem(tree, item, *record);
  if (inserted == 0 && enumerated) SetChildCount(tree, item, 0);
  SetCursor(previous);
}

void OnDeleteItem(const NMTREEVIEWA* info) {
  auto* record = reinterpret_cast<FolderTreeItem*>(info->itemOld.lParam);
  if (record == nullptr) return;
  FreeIdList(record->relativeIdList);
  FreeIdList(record->absoluteIdList);
  delete record;
}

bool IsExistingDirectory(const std::string& path) {
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string PathArgumentOf(const char* text) {
  bool valid = false;
  return text ? ft::TakePathArgument(text, static_cast<int64_t>(std::strlen(text)), &valid)
              : std::string();
}

void ResetShellState(FolderTreeData* data) {
  FreeIdList(data->rootIdList);
  data->rootIdList = nullptr;
  if (data->desktop != nullptr) data->desktop->Release();
  data->desktop = nullptr;
}

HTREEITEM FillFolderRoot(HWND tree, FolderTreeData* data, const std::string& folder, int flag) {
  if (!IsExistingDirectory(folder)) return nullptr;
  FolderTreeItem record;
  record.path = ft::WithOneTrailingBackslash(folder);
  ResetShellState(data);
  FolderTreeClear(tree);
  data->mode = kFileSystemMode;
  HTREEITEM root = FolderTreeInsertItem(tree, nullptr, record.path.c_str(), &record);
  data->rootItem = root;
  if (root != nullptr && flag != 0)
    PostMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
  return root;
}

HTREEITEM FillSpecialRoot(HWND tree, FolderTreeData* data, int specialFolder, int flag) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, specialFolder, &list)) || list == nullptr)
    return nullptr;
  IShellFolder* desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop)) || desktop == nullptr) {
    FreeIdList(list);
    return nullptr;
  }
  ResetShellState(data);
  FolderTreeClear(tree);
  data->mode = kShellMode;
  data->rootIdList = list;
  data->desktop = desktop;
  FolderTreeItem record;
  record.absoluteIdList = CopyIdList(list);
  record.path = PathOfIdList(record.absoluteIdList);
  if (!record.path.empty() && record.path.back() != '\\') record.path += '\\';
  record.displayName = DisplayNameOf(desktop, record.absoluteIdList, SHGDN_INFOLDER);
  if (record.displayName.empty()) record.displayName = record.path;
  HTREEITEM root = FolderTreeInsertItem(tree, nullptr, record.displayName.c_str(), &record);
  if (root == nullptr) FreeIdList(record.absoluteIdList);
  data->rootItem = root;
  if (root != nullptr && flag != 0)
    PostMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
  return root;
}

HTREEITEM FillDriveList(HWND tree, FolderTreeData* data, const std::string& folder, int flag) {
  std::string selectFolder = IsExistingDirectory(folder) ? CharUpperA(std::string(folder).data())
                                                         : std::string();
  ResetShellState(data);
  FolderTreeClear(tree);
  data->mode = kFileSystemMode;
  HTREEITEM last = nullptr;
  bool selected = false;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    if (!ft::IsListedDriveType(GetDriveTypeA(root.c_str()), flag)) continue;
    FolderTreeItem record;
    record.path = root;
    HTREEITEM item = FolderTreeInsertItem(tree, nullptr, root.c_str(), &record);
    if (item == nullptr) continue;
    last = item;
    if (!selected && !selectFolder.empty() && selectFolder[0] == letter) {
      selected = true;
      SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
      if (flag != 0) SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    }
  }
  return last;
}

}  // namespace

}  // namespace folder_tree_detail

HTREEITEM FolderTreeFill(HWND tree, const char* folder, int specialFolder, int flag) {
  FolderTreeData* data = DataOf(tree);
  if (data == nullptr || !CanFill()) return nullptr;
  const std::string text = PathArgumentOf(folder);
  if (!text.empty() && flag >= 0) return FillFolderRoot(tree, data, text, flag);
  if (specialFolder >= 0) return FillSpecialRoot(tree, data, specialFolder, flag);
  return FillDriveList(tree, data, text, flag);
}

void FolderTreeClear(HWND tree) {
  FolderTreeData* data = DataOf(tree);
  if (data == nullptr) return;
  SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  data->rootItem = nullptr;
}

HTREEITEM FolderTreeInsertItem(HWND tree, HTREEITEM parent, const char* fallbackLabel,
                               FolderTreeItem* record) {
  FolderTreeData* data = DataOf(tree);
  if (data == nullptr || record == nullptr || !CanFill()) return nullptr;
  if (parent != nullptr) SetChildCount(tree, parent, 1);
  std::string label;
  SHFILEINFOA info = {};
  if (data->mode == kShellMode) {
    if (record->absoluteIdList != nullptr &&
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(record->absoluteIdList), 0, &info, sizeof(info),
                       SHGFI_SYSICONINDEX | SHGFI_PIDL))
      record->icon = info.iIcon;
    label = record->displayName;
  } else if (!record->path.empty() &&
             SHGetFileInfoA(record->path.c_str(), 0, &info, sizeof(info),
                            SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME)) {
    record->icon = info.iIcon;
    label.assign(info.szDisplayName, strnlen(info.szDisplayName, sizeof(info.szDisplayName)));
  }
  int openIcon = 0;
  DWORD attributes = SFGAO_HASSUBFOLDER;
  if (!QueryOpenIconAndAttributes(*data, *record, &openIcon, &attributes)) {
    openIcon = 0;
    attributes = SFGAO_HASSUBFOLDER;
  }
  record->openIcon = openIcon;
  if (label.empty() && fallbackLabel != nullptr) label = fallbackLabel;

  auto* copy = new (std::nothrow) FolderTreeItem(*record);
  if (copy == nullptr) return nullptr;
  copy->item = nullptr;
  copy->tree = tree;
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = label.data();
  insert.item.lParam = reinterpret_cast<LPARAM>(copy);
  insert.item.cChildren = (attributes & SFGAO_HASSUBFOLDER) ? 1 : 0;
  insert.item.iImage = record->icon;
  insert.item.iSelectedImage = record->openIcon;
  if (attributes & SFGAO_SHARE) {
    insert.item.mask |= TVIF_STATE;
    insert.item.state = INDEXTOOVERLAYMASK(1);
    insert.item.stateMask = TVIS_OVERLAYMASK;
  }
  auto item = reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (item == nullptr) {
    delete copy;  // the caller still owns the id lists in its record
    return nullptr;
  }
  record->item = item;
  record->tree = tree;
  return item;
}

std::string FolderTreeGetItemPath(HWND tree, HTREEITEM item) {
  if (DataOf(tree) == nullptr) return {};
  FolderTreeItem* record = RecordOf(tree, item);
  return record ? record->path : std::string();
}

std::string FolderTreeGetSelectedPath(HWND tree) {
  if (tree == nullptr) return {};
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  return FolderTreeGetItemPath(tree, item);
}

HTREEITEM FolderTreeGetTargetItem(HWND tree) {
  if (DataOf(tree) == nullptr) return nullptr;
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_DROPHILITE, 0));
  if (item == nullptr)
    item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  return item;
}

HTREEITEM FolderTreeFindPath(HWND tree, const char* path, UINT selectionKind) {
  FolderTreeData* data = DataOf(tree);
  if (data == nullptr || path == nullptr) return nullptr;
  const std::string text(path);
  if (ft::HasDoubleBackslash(text) || !IsExistingDirectory(text)) return nullptr;
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  std::string chain = DisplayChainOf(data, text);
  std::vector<std::string> components;
  for (size_t start = 0; !chain.empty();) {
    size_t slash = chain.find('\\', start);
    components.push_back(chain.substr(start, slash == std::string::npos ? slash : slash - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  HTREEITEM found = nullptr;
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  for (size_t level = 0; level < components.size() && item != nullptr; ++level) {
    HTREEITEM match = nullptr;
    for (HTREEITEM sibling = item; sibling != nullptr;
         sibling = reinterpret_cast<HTREEITEM>(
             SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(sibling)))) {
      std::vector<char> label(components[level].size() + 2, '\0');
      TVITEMA query = {};
      query.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_CHILDREN;
      query.hItem = sibling;
      query.pszText = label.data();
      query.cchTextMax = static_cast<int>(label.size());
      if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) continue;
      if (components[level] == label.data()) {
        match = sibling;
        break;
      }
    }
    if (match == nullptr) break;
    if (level + 1 == components.size()) {
      SendMessageA(tree, TVM_SELECTITEM, selectionKind, reinterpret_cast<LPARAM>(match));
      found = match;
      break;
    }
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(match));
    item = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(match)));
    UpdateWindow(tree);
  }
  SetCursor(previous);
  return found;
}

HTREEITEM FolderTreeSelectPath(HWND tree, const char* path) {
  return FolderTreeFindPath(tree, path, TVGN_CARET);
}

HTREEITEM FolderTreeHighlightPath(HWND tree, const char* path) {
  return FolderTreeFindPath(tree, path, TVGN_DROPHILITE);
}

LRESULT FolderTreeHandleNotify(HWND window, int treeId, NMHDR* header) {
  if (header == nullptr || static_cast<int>(header->idFrom) != treeId) return 0;
  auto* info = reinterpret_cast<NMTREEVIEWA*>(header);
  switch (header->code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW:
      if (info->action & TVE_EXPAND) OnItemExpanding(header->hwndFrom, info);
      return 1;
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
      OnDeleteItem(info);
      return 1;
  }
  return 0;
}

WORD FolderTreeNotifyCode(HWND tree, NMHDR* header) {
  if (header == nullptr) return 0;
  switch (header->code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
      UINT action = reinterpret_cast<NMTREEVIEWA*>(header)->action;
      return (action == TVC_BYMOUSE || action == TVC_BYKEYBOARD) ? FTN_SELCHANGED : 0;
    }
    case NM_RCLICK:
      return FTN_RCLICK;
  }
  return 0;
}

}  // namespace suite
