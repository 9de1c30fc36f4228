// Shared between the folder tree's files: the per-tree data attached to the
// inner tree view, the shell helpers, the drag entry points.  Not for the
// control's users (they include folder_tree.h).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "folder_tree.h"

namespace suite::folder_tree_detail {

// Property of the inner tree holding its FolderTreeData.
constexpr char kDataProperty[] = "#BffTVPRP";

enum TreeMode : int { kFileSystemMode = 0, kShellMode = 1 };

// One per inner tree, made by FolderTreeCreateControl, freed at WM_DESTROY.
struct FolderTreeData {
  WNDPROC oldProc = nullptr;
  HIMAGELIST systemImages = nullptr;  // shared system list, not owned
  LPITEMIDLIST rootIdList = nullptr;  // owned (shell allocator)
  IShellFolder* desktop = nullptr;    // owned reference, shell mode
  int mode = kFileSystemMode;
  HTREEITEM rootItem = nullptr;
};

FolderTreeData* DataOf(HWND tree);
FolderTreeItem* RecordOf(HWND tree, HTREEITEM item);
void SetChildCount(HWND tree, HTREEITEM item, int count);

// True when this system can fill a tree: on the NT family the wide
// SHGetFileInfoW entry must exist.
bool CanFill();
bool IsNtFamily();

// Item-id lists (shell allocator).
void FreeIdList(LPITEMIDLIST list);
LPITEMIDLIST CopyIdList(LPCITEMIDLIST list);
LPITEMIDLIST JoinIdLists(LPCITEMIDLIST parent, LPCITEMIDLIST child);
std::string PathOfIdList(LPCITEMIDLIST list);
// In-folder display name of `child` in `folder` ("" on failure).
std::string DisplayNameOf(IShellFolder* folder, LPCITEMIDLIST child, DWORD flags);
// Fills a shell-mode item with its sub-folders; *enumerated tells whether
// the enumeration itself succeeded.  Returns the number inserted.
int ExpandShellItem(HWND tree, FolderTreeData* data, HTREEITEM item, const FolderTreeItem& record,
                    bool* enumerated);
// The chain of in-folder display names from the desktop down to `path`,
// joined by "\" ("" when the shell cannot parse it).
std::string DisplayChainOf(FolderTreeData* data, const std::string& path);

// Dragging (folder_tree_drag.cpp); `frame` is the skBff window.  Each
// skBff window calls CreateDragCursorImages at creation and
// DestroyDragImages at WM_DESTROY (which also frees a drag image left over).
void CreateDragCursorImages();
void DestroyDragImages();
void BeginFolderDrag(HWND frame, HWND tree, const NMTREEVIEWA* info);
bool IsDragging();
void OnDragMouseMove(HWND frame, HWND tree);
void OnDragButtonUp(HWND frame, HWND tree);
void OnDragTimer(HWND frame, HWND tree, UINT_PTR timerId);
void CancelDrag(HWND frame);

// The shared system image list of small icons.
HIMAGELIST SystemSmallImages();

}  // namespace suite::folder_tree_detail
