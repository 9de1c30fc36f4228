// Dragging a folder onto another item of the folder tree.  The control only
// reports the drop (FTN_DRAGMOVE with the dragged and the target item); the
// parent moves the folder.  While dragging, the tree scrolls when the
// pointer nears or leaves its top or bottom edge, and a folder the pointer
// rests on for a second opens.  One drag at a time per process.
#include "core/folder_tree_rules.h"
#include "folder_tree_internal.h"

namespace suite::folder_tree_detail {

namespace {

namespace ft = suite::folder_tree;

constexpr UINT_PTR kScrollTimer = 0xC8;
constexpr UINT_PTR kHoverTimer = 0xC9;
constexpr UINT kHoverExpandMs = 1000;

struct DragState {
  bool dragging = false;
  HTREEITEM dragged = nullptr;
  HIMAGELIST image = nullptr;        // owned during a drag
  HTREEITEM hovered = nullptr;
  HIMAGELIST arrowImages = nullptr;  // made with the first window, freed with the last
  int windowCount = 0;
  bool scrollTimerOn = false;
  int scrollCode = -1;
};
DragState g_drag;

POINT CursorIn(HWND window) {
  POINT point = {};
  GetCursorPos(&point);
  ScreenToClient(window, &point);
  return point;
}

HTREEITEM HitItem(HWND tree) {
  TVHITTESTINFO hit = {};
  hit.pt = CursorIn(tree);
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return (hit.flags & TVHT_ONITEM) ? item : nullptr;
}

bool CursorOverTree(HWND tree) {
  POINT point = {};
  GetCursorPos(&point);
  RECT bounds = {};
  GetWindowRect(tree, &bounds);
  return PtInRect(&bounds, point) != 0;
}

void StopScrolling(HWND frame) {
  if (g_drag.scrollTimerOn) KillTimer(frame, kScrollTimer);
  g_drag.scrollTimerOn = false;
  g_drag.scrollCode = -1;
}

void EvaluateAutoScroll(HWND frame, HWND tree) {
  SCROLLINFO range = {};
  range.cbSize = sizeof(range);
  range.fMask = SIF_RANGE | SIF_PAGE;
  bool canScroll = GetScrollInfo(tree, SB_VERT, &range) &&
                   range.nMax - range.nMin + 1 > static_cast<int>(range.nPage);
  if (!canScroll) {
    StopScrolling(frame);
    return;
  }
  RECT client = {};
  GetClientRect(tree, &client);
  POINT point = CursorIn(tree);
  ft::ScrollDecision decision = ft::DecideAutoScroll(point.x, point.y, client.right, client.bottom,
                                                     GetSystemMetrics(SM_CYHSCROLL));
  switch (decision.action) {
    case ft::ScrollAction::kUnchanged:
      return;
    case ft::ScrollAction::kStop:
      StopScrolling(frame);
      return;
    case ft::ScrollAction::kLineUp:
    case ft::ScrollAction::kLineDown:
      g_drag.scrollCode = decision.action == ft::ScrollAction::kLineUp ? SB_LINEUP : SB_LINEDOWN;
      SetTimer(frame, kScrollTimer, decision.intervalMs, nullptr);
      g_drag.scrollTimerOn = true;
      return;
  }
}

bool HasSubFolders(const std::string& path) {
  SHFILEINFOA info = {};
  info.dwAttributes = SFGAO_HASSUBFOLDER;
  if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_ATTRIBUTES | SHGFI_ATTR_SPECIFIED))
    return false;
  return (info.dwAttributes & SFGAO_HASSUBFOLDER) != 0;
}

void EndDragImage() {
  if (g_drag.image == nullptr) return;
  ImageList_DragLeave(nullptr);
  ImageList_EndDrag();
  ImageList_Destroy(g_drag.image);
  g_drag.image = nullptr;
}

}  // namespace

void CreateDragCursorImages() {
  ++g_drag.windowCount;
  if (g_drag.arrowImages != nullptr) return;
  g_drag.arrowImages = ImageList_Create(32, 32, ILC_COLOR4 | ILC_MASK, 1, 0);
  if (g_drag.arrowImages != nullptr)
    ImageList_AddIcon(g_drag.arrowImages, reinterpret_cast<HICON>(LoadCursorA(nullptr, IDC_ARROW)));
}

void DestroyDragImages() {
  EndDragImage();
  if (g_drag.windowCount > 0) --g_drag.windowCount;
  if (g_drag.windowCount > 0) return;
  if (g_drag.arrowImages != nullptr) ImageList_Destroy(g_drag.arrowImages);
  g_drag.arrowImages = nullptr;
}

bool IsDragging() { return g_drag.dragging; }

void BeginFolderDrag(HWND frame, HWND tree, const NMTREEVIEWA* info) {
  if (g_drag.dragging || info->itemNew.hItem == nullptr) return;
  EndDragImage();
  g_drag.dragged = info->itemNew.hItem;
  g_drag.hovered = nullptr;
  g_drag.image = reinterpret_cast<HIMAGELIST>(
      SendMessageA(tree, TVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(info->itemNew.hItem)));
  if (g_drag.image != nullptr) {
    ImageList_BeginDrag(g_drag.image, 0, 0, 0);
    if (g_drag.arrowImages != nullptr) ImageList_SetDragCursorImage(g_drag.arrowImages, 0, 0, 0);
  }
  ShowCursor(FALSE);
  SetCapture(frame);
  g_drag.dragging = true;
  POINT point = info->ptDrag;
  ClientToScreen(tree, &point);
  if (g_drag.image != nullptr) ImageList_DragEnter(nullptr, point.x, point.y);
}

void OnDragMouseMove(HWND frame, HWND tree) {
  if (!g_drag.dragging) return;
  HTREEITEM hit = HitItem(tree);
  if (g_drag.hovered != nullptr && g_drag.hovered != hit) {
    g_drag.hovered = nullptr;
    KillTimer(frame, kHoverTimer);
  }
  if (g_drag.image) ImageList_DragShowNolock(FALSE);
  SendMessageA(tree, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(hit));
  POINT screen = {};
  GetCursorPos(&screen);
  if (g_drag.image) {
    ImageList_DragMove(screen.x, screen.y);
    ImageList_DragShowNolock(CursorOverTree(tree));
  }
  EvaluateAutoScroll(frame, tree);
  if (hit == nullptr) return;
  std::string path = FolderTreeGetItemPath(tree, hit);
  if (ft::AllowsHoverExpand(path) && HasSubFolders(path)) {
    g_drag.hovered = hit;
    SetTimer(frame, kHoverTimer, kHoverExpandMs, nullptr);
  }
}

void OnDragTimer(HWND frame, HWND tree, UINT_PTR timerId) {
  if (timerId == kScrollTimer) {
    if (!g_drag.dragging || g_drag.scrollCode < 0) {
      StopScrolling(frame);
      return;
    }
    if (g_drag.image) ImageList_DragShowNolock(FALSE);
    SendMessageA(tree, WM_VSCROLL, static_cast<WPARAM>(g_drag.scrollCode), 0);
    EvaluateAutoScroll(frame, tree);
    if (g_drag.image && CursorOverTree(tree)) ImageList_DragShowNolock(TRUE);
    return;
  }
  if (timerId != kHoverTimer) return;
  KillTimer(frame, kHoverTimer);
  HTREEITEM hovered = g_drag.hovered;
  g_drag.hovered = nullptr;
  if (!g_drag.dragging || hovered == nullptr) return;
  auto target = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_DROPHILITE, 0));
  if (target != hovered) return;
  if (g_drag.image) ImageList_DragShowNolock(FALSE);
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hovered));
  if (g_drag.image) ImageList_DragShowNolock(TRUE);
}

void OnDragButtonUp(HWND frame, HWND tree) {
  if (!g_drag.dragging) return;
  StopScrolling(frame);
  KillTimer(frame, kHoverTimer);
  g_drag.hovered = nullptr;
  EndDragImage();
  g_drag.dragging = false;
  ReleaseCapture();
  HTREEITEM hit = HitItem(tree);
  ShowCursor(TRUE);
  HTREEITEM dragged = g_drag.dragged;
  g_drag.dragged = nullptr;
  if (hit != nullptr && hit != dragged) {
    HTREEITEM pair[2] = {dragged, hit};
    int id = GetDlgCtrlID(frame);
    SendMessageA(GetParent(frame), WM_COMMAND, MAKEWPARAM(id, FTN_DRAGMOVE),
                 reinterpret_cast<LPARAM>(pair));
  }
  SendMessageA(tree, TVM_SELECTITEM, TVGN_DROPHILITE, 0);
}

void CancelDrag(HWND frame) {
  if (!g_drag.dragging) return;
  StopScrolling(frame);
  KillTimer(frame, kHoverTimer);
  EndDragImage();
  g_drag.dragging = false;
  g_drag.dragged = nullptr;
  g_drag.hovered = nullptr;
  if (GetCapture() == frame) ReleaseCapture();
  ShowCursor(TRUE);
}

}  // namespace suite::folder_tree_detail
