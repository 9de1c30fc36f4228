// The folder tree control, drive level.
#include "folder_tree.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "themecore.h"

namespace suite {

namespace {

LRESULT CALLBACK FolderTreeFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      HWND tree = GetWindow(window, GW_CHILD);
      if (tree != nullptr) MoveWindow(tree, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    }
    case WM_NOTIFY:
    case WM_COMMAND:
      return SendMessageA(GetParent(window), message, wParam, lParam);
    case WM_GETFONT: {
      HWND tree = GetWindow(window, GW_CHILD);
      return tree != nullptr ? SendMessageA(tree, WM_GETFONT, 0, 0) : 0;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterFolderTreeClass(HINSTANCE instance) {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, FOLDER_TREE_CLASS, &existing)) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = FolderTreeFrameProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = FOLDER_TREE_CLASS;
  return RegisterClassExA(&windowClass) != 0;
}

void AddDriveRoots(HWND tree) {
  char drives[512] = {};
  DWORD length = GetLogicalDriveStringsA(sizeof(drives) - 1, drives);
  if (length == 0 || length >= sizeof(drives)) return;
  for (const char* drive = drives; *drive != '\0'; drive += std::strlen(drive) + 1) {
    std::string label(drive);
    if (label.size() > 1 && label.back() == '\\') label.pop_back();
    TVINSERTSTRUCTA insert = {};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = label.data();
    SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
  }
}

}  // namespace

HWND FolderTreeCreate(HWND parent, int x, int y, int width, int height, int id) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  if (!RegisterFolderTreeClass(instance)) return nullptr;
  HWND frame = CreateWindowExA(0, FOLDER_TREE_CLASS, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x,
                               y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (frame == nullptr) return nullptr;
  HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                  TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                              0, 0, width, height, frame,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (tree == nullptr) {
    DestroyWindow(frame);
    return nullptr;
  }
  SendMessageA(tree, WM_SETFONT, reinterpret_cast<WPARAM>(SKDEFAULTFONT()), FALSE);
  AddDriveRoots(tree);
  return frame;
}

}  // namespace suite
