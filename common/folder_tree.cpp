// The folder tree control's skBff window: creation, the private FTM_*
// messages, and turning the inner tree's notifications into the FTN_*
// notifications of the parent.  The inner tree is folder_tree_control.cpp,
// its content folder_tree_fill.cpp, dragging folder_tree_drag.cpp.
#include "folder_tree.h"

#include <cstring>
#include <string>

#include "core/folder_tree_rules.h"
#include "folder_tree_internal.h"
#include "themecore.h"
#include "themecore_painttool.h"

namespace suite {

namespace ft = folder_tree;
using namespace folder_tree_detail;

namespace {

constexpr int kBackgroundColourIndex = 104;  // the tree's skin background
// Set on the skBff window while a label edit runs: Wine's tree view sends
// TVN_ENDLABELEDIT a second time while the edit box is destroyed, and the
// parent must hear of one rename only once.
constexpr char kRenamingProperty[] = "#BffRename";

HWND InnerTreeOf(HWND frame) {
  return reinterpret_cast<HWND>(GetWindowLongPtrA(frame, GWLP_USERDATA));
}

void NotifyParent(HWND frame, WORD code, LPARAM lParam) {
  SendMessageA(GetParent(frame), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(frame), code), lParam);
}

LRESULT OnCreate(HWND frame) {
  RECT client = {};
  GetClientRect(frame, &client);
  HWND tree = FolderTreeCreateControl(0, frame, WS_VISIBLE | WS_TABSTOP, 0, 0, client.right,
                                      client.bottom, GetDlgCtrlID(frame), 1);
  SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(tree));
  PostMessageA(GetParent(frame), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(frame), FTN_CREATED),
               reinterpret_cast<LPARAM>(frame));
  CreateDragCursorImages();
  return 0;
}

LRESULT OnDestroy(HWND frame) {
  RemovePropA(frame, kRenamingProperty);
  CancelDrag(frame);
  DestroyDragImages();
  return 0;
}

// The frame shows only while its tree is hidden.  A program that rebuilds
// the tree hides it and holds the engine's desktop picture (SKDCDESKTOP(1))
// meanwhile; the frame copies from that picture what the screen showed at
// its place, so the rebuild does not flicker.  Without a picture it falls
// back to the tree's skin background colour.
LRESULT OnPaint(HWND frame) {
  PAINTSTRUCT paint = {};
  HDC dc = BeginPaint(frame, &paint);
  HWND tree = InnerTreeOf(frame);
  if (dc != nullptr && tree != nullptr && IsWindow(tree) && !IsWindowVisible(tree)) {
    RECT client = {};
    GetClientRect(frame, &client);
    POINT onScreen = {0, 0};
    ClientToScreen(frame, &onScreen);
    HDC desktop = SKDCDESKTOP(0);
    if (desktop == nullptr ||
        !BitBlt(dc, 0, 0, client.right, client.bottom, desktop, onScreen.x, onScreen.y, SRCCOPY)) {
      SKFILLRECT(dc, 0, 0, client.right, client.bottom, SKGETSYSCOLOR(kBackgroundColourIndex));
    }
  }
  EndPaint(frame, &paint);
  return 0;
}

LRESULT OnNotify(HWND frame, NMHDR* header) {
  HWND tree = InnerTreeOf(frame);
  if (header == nullptr || header->hwndFrom != tree) return 0;
  if (FolderTreeHandleNotify(frame, GetDlgCtrlID(frame), header)) return 0;
  if (WORD code = FolderTreeNotifyCode(tree, header); code != 0) {
    NotifyParent(frame, code, reinterpret_cast<LPARAM>(tree));
    return 0;
  }
  switch (header->code) {
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW:
      SetPropA(frame, kRenamingProperty, reinterpret_cast<HANDLE>(1));
      NotifyParent(frame, FTN_BEGINRENAME, reinterpret_cast<LPARAM>(tree));
      return 0;
    case TVN_ENDLABELEDITA:
    case TVN_ENDLABELEDITW:
      if (RemovePropA(frame, kRenamingProperty) != nullptr)
        NotifyParent(frame, FTN_ENDRENAME, reinterpret_cast<LPARAM>(tree));
      return 0;
    case TVN_BEGINDRAGA:
    case TVN_BEGINDRAGW:
      BeginFolderDrag(frame, tree, reinterpret_cast<NMTREEVIEWA*>(header));
      return 0;
  }
  return 0;
}

// A path argument of FTM_SETROOT / FTM_SELECTPATH: read no further than the
// caller's length or its first zero byte.
bool TakePath(WPARAM length, LPARAM address, std::string* path) {
  bool valid = false;
  *path = ft::TakePathArgument(reinterpret_cast<const char*>(address),
                               static_cast<int64_t>(static_cast<INT_PTR>(length)), &valid);
  return valid;
}

LRESULT OnSetRoot(HWND tree, WPARAM wParam, LPARAM lParam) {
  std::string path;
  if (!TakePath(wParam, lParam, &path)) return 0;
  if (path.empty()) return reinterpret_cast<LRESULT>(FolderTreeFill(tree, "", -1, 0));
  return reinterpret_cast<LRESULT>(FolderTreeFill(tree, path.c_str(), -1, 0));
}

LRESULT OnSetSpecialRoot(HWND tree, WPARAM wParam) {
  int id = static_cast<int>(static_cast<INT_PTR>(wParam));
  // A negative id gives the drive list; a failed fill leaves the tree and returns 0.
  return reinterpret_cast<LRESULT>(FolderTreeFill(tree, "", id < 0 ? -1 : id, 0));
}

LRESULT OnSelectPath(HWND tree, WPARAM wParam, LPARAM lParam) {
  std::string path;
  if (!TakePath(wParam, lParam, &path) || path.empty()) return 0;
  return reinterpret_cast<LRESULT>(FolderTreeSelectPath(tree, path.c_str()));
}

LRESULT OnGetPath(HWND tree, WPARAM wParam, LPARAM lParam) {
  char* buffer = reinterpret_cast<char*>(lParam);
  if (buffer == nullptr) return 0;
  const std::string path = FolderTreeGetSelectedPath(tree);
  size_t count = ft::PathCopyCount(static_cast<int64_t>(static_cast<INT_PTR>(wParam)), path.size());
  if (count > 0) memcpy(buffer, path.data(), count);
  return static_cast<LRESULT>(count);
}

LRESULT OnExpandRoot(HWND tree, WPARAM wParam) {
  FolderTreeData* data = DataOf(tree);
  if (data != nullptr && data->rootItem != nullptr)
    SendMessageA(tree, TVM_EXPAND, wParam ? TVE_EXPAND : TVE_COLLAPSE,
                 reinterpret_cast<LPARAM>(data->rootItem));
  return 1;
}

LRESULT OnFolderTreeMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND tree = InnerTreeOf(frame);
  switch (message) {
    case FTM_CLEAR:
      FolderTreeClear(tree);
      if (FolderTreeData* data = DataOf(tree)) data->mode = kFileSystemMode;
      return 1;
    case FTM_REPAINT:
      InvalidateRect(frame, nullptr, TRUE);
      if (tree) InvalidateRect(tree, nullptr, TRUE);
      return 1;
    case FTM_SETROOT:
      return OnSetRoot(tree, wParam, lParam);
    case FTM_SETSPECIALROOT:
      return OnSetSpecialRoot(tree, wParam);
    case FTM_SELECTPATH:
      return OnSelectPath(tree, wParam, lParam);
    case FTM_GETPATH:
      return OnGetPath(tree, wParam, lParam);
    case FTM_GETPATHLENGTH:
      return static_cast<LRESULT>(FolderTreeGetSelectedPath(tree).size());
    case FTM_EXPANDROOT:
      return OnExpandRoot(tree, wParam);
    case FTM_SETBKCOLOR:
      return static_cast<LRESULT>(FolderTreeSetBackColor(tree, static_cast<COLORREF>(lParam)));
  }
  return 0;
}

// The module this code is linked into: the program, or a DLL that
// compiles the control in (the outside file picker).  The class belongs to
// that module, so a DLL's control never takes, or leaves behind, a class of
// the program's whose procedure lies in code that may be unloaded.
HINSTANCE FolderTreeModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&FolderTreeWindowProc), &module);
  return module != nullptr ? module : GetModuleHandleA(nullptr);
}

bool RegisterFolderTreeClass() {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(FolderTreeModule(), FOLDER_TREE_CLASS, &existing)) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = FolderTreeWindowProc;
  windowClass.hInstance = FolderTreeModule();
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  return SKREGISTERCLASS(&windowClass, FOLDER_TREE_CLASS) != 0;
}

}  // namespace

LRESULT CALLBACK FolderTreeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= FTM_FIRST_OWN && message <= FTM_LAST_OWN)
    return OnFolderTreeMessage(window, message, wParam, lParam);
  HWND tree = InnerTreeOf(window);
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_DESTROY:
      return OnDestroy(window);
    case WM_PAINT:
      return OnPaint(window);
    case WM_SIZE:
      if (tree) MoveWindow(tree, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (tree) SetFocus(tree);
      return 0;
    case WM_GETFONT:
      return tree ? SendMessageA(tree, WM_GETFONT, 0, 0) : 0;
    case WM_NOTIFY:
      return OnNotify(window, reinterpret_cast<NMHDR*>(lParam));
    case WM_MOUSEMOVE:
      if (IsDragging()) OnDragMouseMove(window, tree);
      return 0;
    case WM_LBUTTONUP:
      if (IsDragging()) OnDragButtonUp(window, tree);
      return 0;
    case WM_TIMER:
      OnDragTimer(window, tree, static_cast<UINT_PTR>(wParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (IsDragging() && reinterpret_cast<HWND>(lParam) != window) CancelDrag(window);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND FolderTreeCreate(HWND parent, const char* startFolder, int x, int y, int width, int height,
                      int id) {
  if (parent == nullptr || !RegisterFolderTreeClass()) return nullptr;
  HINSTANCE instance = FolderTreeModule();
  HWND frame = CreateWindowExA(WS_EX_CLIENTEDGE, FOLDER_TREE_CLASS, "",
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, x, y, width,
                               height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               instance, nullptr);
  if (frame == nullptr) return nullptr;
  if (startFolder != nullptr && startFolder[0] != '\0') {
    const size_t length = strlen(startFolder);
    SendMessageA(frame, FTM_SELECTPATH, static_cast<WPARAM>(length),
                 reinterpret_cast<LPARAM>(startFolder));
  }
  return frame;
}

HWND FolderTreeCreate(HWND parent, int x, int y, int width, int height, int id) {
  return FolderTreeCreate(parent, "", x, y, width, height, id);
}

}  // namespace suite
