// The folder tree control (window class "skBff"): a frame window holding a
// tree view of the same control id that shows folders as a tree: the shell
// namespace from the desktop down, one folder as the single root, or the
// drive list.  Branches are filled when first expanded.  The parent drives it
// with the FTM_* messages and hears from it through WM_COMMAND notifications
// (wParam = MAKEWPARAM(control id, FTN_*)).
//
// Files: folder_tree.cpp the skBff window and its messages;
// folder_tree_control.cpp the inner tree (creation, painting, subclass);
// folder_tree_fill.cpp filling, inserting, expanding, finding;
// folder_tree_shell.cpp the shell namespace; folder_tree_drag.cpp dragging a
// folder.  The decisions that need no Win32 are in core/folder_tree_rules.h.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>

namespace suite {

constexpr char FOLDER_TREE_CLASS[] = "skBff";

// Private messages, sent to the skBff window.  Every message from 0x7E8 to
// 0xBD0 is answered by the control; an unknown one returns 0.
enum FolderTreeMessage : UINT {
  FTM_CLEAR = 0x7E8,           // delete every item; returns 1
  FTM_REPAINT = 0x7E9,         // invalidate (erase); returns 1
  FTM_SETROOT = 0x7EA,         // wParam length, lParam path: root item or 0
  FTM_SETSPECIALROOT = 0x7EB,  // wParam special-folder id (< 0: drives)
  FTM_SELECTPATH = 0x7EC,      // wParam length, lParam path: item or 0
  FTM_GETPATH = 0x7ED,         // wParam size, lParam buffer: bytes copied
  FTM_GETPATHLENGTH = 0x7EE,   // length of the selected item's path
  FTM_EXPANDROOT = 0x7EF,      // wParam != 0 expand, 0 collapse; returns 1
  FTM_SETBKCOLOR = 0x7F0,      // lParam COLORREF; returns the old colour
};
constexpr UINT FTM_FIRST_OWN = 0x7E8;
constexpr UINT FTM_LAST_OWN = 0xBD0;

// Notification codes (HIWORD of the WM_COMMAND wParam).
enum FolderTreeNotification : WORD {
  FTN_CREATED = 1,      // posted; lParam the skBff window
  FTN_SELCHANGED = 2,   // sent; lParam the inner tree; by mouse or keyboard
  FTN_RCLICK = 3,       // sent; lParam the inner tree
  FTN_BEGINRENAME = 4,  // sent; lParam the inner tree
  FTN_ENDRENAME = 5,    // sent; lParam the inner tree; the old label stays
  FTN_DRAGMOVE = 6,     // sent; lParam the address of HTREEITEM[2]: dragged,
                        // target (valid only during the call)
};

// One item of the tree.  The tree keeps its own heap copy as the item's
// lParam and frees it (and its id lists) when the item is deleted.
struct FolderTreeItem {
  std::string path;         // folder path ending in "\"; shell mode: "" for virtual folders
  std::string displayName;  // shell mode: the in-folder display name
  HTREEITEM item = nullptr;  // set in the caller's record after insertion
  LPITEMIDLIST absoluteIdList = nullptr;  // shell mode; owned by the tree's copy
  LPITEMIDLIST relativeIdList = nullptr;  // shell mode; owned; the sort key
  int32_t icon = 0;
  int32_t openIcon = 0;
  HWND tree = nullptr;
};

// Creates the control in `parent`; its inner tree view has the same id.
// A non-empty start folder is selected (FTM_SELECTPATH).  Null on failure.
HWND FolderTreeCreate(HWND parent, const char* startFolder, int x, int y, int width, int height,
                      int id);
// The same with no start folder.
HWND FolderTreeCreate(HWND parent, int x, int y, int width, int height, int id);

// Creates a bare inner tree (no skBff frame) filled with the desktop
// namespace; needs a parent and a non-zero id.  The parent forwards its
// WM_NOTIFY to FolderTreeHandleNotify and FolderTreeNotifyCode.
HWND FolderTreeCreateControl(DWORD exStyle, HWND parent, DWORD style, int x, int y, int width,
                             int height, int id, int expand);

// Fills the tree: a folder (flag >= 0) as single root, else a special folder
// (id >= 0) as root, else the drive list (flag -2 leaves out CD-ROM drives).
// A non-zero flag expands the root.  Returns the root item (the last drive
// in drive-list mode), 0 when nothing was filled.
HTREEITEM FolderTreeFill(HWND tree, const char* folder, int specialFolder, int flag);
void FolderTreeClear(HWND tree);
// Inserts `record` under `parent` (0: a root); fills its icons and label
// and sets record->item.  Returns the new item or 0.
HTREEITEM FolderTreeInsertItem(HWND tree, HTREEITEM parent, const char* fallbackLabel,
                               FolderTreeItem* record);
std::string FolderTreeGetSelectedPath(HWND tree);
std::string FolderTreeGetItemPath(HWND tree, HTREEITEM item);
HTREEITEM FolderTreeGetTargetItem(HWND tree);
// Finds a folder by walking the shell display chain from the desktop root
// and selects it with `selectionKind` (TVGN_CARET, TVGN_DROPHILITE).
HTREEITEM FolderTreeFindPath(HWND tree, const char* path, UINT selectionKind);
HTREEITEM FolderTreeSelectPath(HWND tree, const char* path);
HTREEITEM FolderTreeHighlightPath(HWND tree, const char* path);
COLORREF FolderTreeSetBackColor(HWND tree, COLORREF colour);
// 1 when it handled TVN_ITEMEXPANDING or TVN_DELETEITEM for `treeId`.
LRESULT FolderTreeHandleNotify(HWND window, int treeId, NMHDR* header);
// FTN_SELCHANGED for a user selection change, FTN_RCLICK for NM_RCLICK, else 0.
WORD FolderTreeNotifyCode(HWND tree, NMHDR* header);
int CALLBACK FolderTreeCompare(LPARAM first, LPARAM second, LPARAM shellFolder);
LRESULT CALLBACK FolderTreeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FolderTreeControlProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace suite
