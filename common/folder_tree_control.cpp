// The folder tree's inner tree view: creation with the skin's font and
// colours, its data, the subclass that paints it over the skin colour with
// the selected item in the skin's selection colours, and its clean-up.
#include <cstring>
#include <string>
#include <vector>

#include "folder_tree_internal.h"
#include "themecore.h"

namespace suite {

using namespace folder_tree_detail;

namespace {

constexpr int kTextColourIndex = 101;
constexpr int kBackgroundColourIndex = 104;
constexpr int kSelectedBackIndex = 114;
constexpr int kSelectedTextIndex = 115;
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Skin colours come back as COLORREF in an int.
COLORREF SkinColour(int index) { return static_cast<COLORREF>(SKGETSYSCOLOR(index)); }

// A colour that is drawn: the transparent key colour of the copy moved by
// one step, so that a label in that colour stays visible (the selected
// label is white on many skins, like the tree's white background).
COLORREF VisibleAgainst(COLORREF colour, COLORREF key) {
  if (colour != key) return colour;
  return colour == kWhite ? RGB(250, 250, 250) : (colour ^ RGB(1, 1, 1));
}

// Draws the selected item's band and label into the two pictures; `key` is
// the colour the copy onto the buffer leaves out.
void PaintSelection(HWND tree, HDC buffer, HDC picture, int width, COLORREF key) {
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (item == nullptr) return;
  RECT text = {};
  std::memcpy(&text, &item, sizeof(item));  // TVM_GETITEMRECT takes the item in the rectangle
  if (!SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text))) return;
  const COLORREF back = SkinColour(kSelectedBackIndex);
  SKFILLRECT(buffer, 0, text.top, width, text.bottom - text.top, static_cast<int32_t>(back));
  SKFILLRECT(picture, text.left, text.top, text.right - text.left, text.bottom - text.top,
             static_cast<int32_t>(back));
  std::vector<char> label(1024, '\0');
  TVITEMA query = {};
  query.mask = TVIF_HANDLE | TVIF_TEXT;
  query.hItem = item;
  query.pszText = label.data();
  query.cchTextMax = static_cast<int>(label.size());
  if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return;
  SKPRINT(picture, label.data(), text.left + 2, text.top + 1,
          static_cast<int32_t>(VisibleAgainst(SkinColour(kSelectedTextIndex), key)),
          static_cast<int32_t>(VisibleAgainst(back, key)),
          reinterpret_cast<HFONT>(SendMessageA(tree, WM_GETFONT, 0, 0)));
}

LRESULT PaintTree(HWND tree, FolderTreeData* data) {
  PAINTSTRUCT paint = {};
  HDC dc = BeginPaint(tree, &paint);
  if (dc == nullptr) return 0;
  RECT client = {};
  GetClientRect(tree, &client);
  const int width = client.right;
  const int height = client.bottom;
  HDC buffer = width > 0 && height > 0 ? SKOFFSCREEN(dc, width, height, 1) : nullptr;
  HDC picture = buffer ? CreateCompatibleDC(dc) : nullptr;
  HBITMAP bitmap = picture ? CreateCompatibleBitmap(dc, width, height) : nullptr;
  if (bitmap == nullptr) {
    if (picture) DeleteDC(picture);
    if (buffer) SKOFFSCREEN(nullptr, 0, 0, 0);
    CallWindowProcA(data->oldProc, tree, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    EndPaint(tree, &paint);
    return 0;
  }
  HGDIOBJ oldBitmap = SelectObject(picture, bitmap);
  SKFILLRECT(buffer, 0, 0, width, height, static_cast<int32_t>(SkinColour(kBackgroundColourIndex)));
  COLORREF treeBack = static_cast<COLORREF>(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0));
  if (treeBack == CLR_NONE) treeBack = GetSysColor(COLOR_WINDOW);
  SKFILLRECT(picture, 0, 0, width, height, static_cast<int32_t>(treeBack));
  CallWindowProcA(data->oldProc, tree, WM_PAINT, reinterpret_cast<WPARAM>(picture), 0);
  PaintSelection(tree, buffer, picture, width, treeBack);
  SKTRANSBLT(buffer, 0, 0, width, height, picture, 0, 0, static_cast<int32_t>(treeBack));
  SelectObject(picture, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(picture);
  SKOFFSCREEN(nullptr, 0, 0, 0);
  EndPaint(tree, &paint);
  return 0;
}

void DestroyTreeData(HWND tree, FolderTreeData* data) {
  SetWindowLongPtrA(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(data->oldProc));
  SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
  FreeIdList(data->rootIdList);
  if (data->desktop != nullptr) data->desktop->Release();
  RemovePropA(tree, kDataProperty);
  delete data;
}

}  // namespace

HWND FolderTreeCreateControl(DWORD exStyle, HWND parent, DWORD style, int x, int y, int width,
                             int height, int id, int expand) {
  if (parent == nullptr || id == 0) return nullptr;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  style |= WS_CHILD | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
  HWND tree = CreateWindowExA(exStyle, WC_TREEVIEWA, "", style, x, y, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (tree == nullptr) return nullptr;
  SKSETCTLFONT(tree, SKDEFAULTFONT());
  COLORREF text = SkinColour(kTextColourIndex);
  if (text == kWhite) text = RGB(250, 250, 250);
  SendMessageA(tree, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
  SendMessageA(tree, TVM_SETLINECOLOR, 0, static_cast<LPARAM>(text));
  SendMessageA(tree, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(kWhite));

  auto* data = new (std::nothrow) FolderTreeData();
  if (data == nullptr) {
    DestroyWindow(tree);
    return nullptr;
  }
  data->oldProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(tree, GWLP_WNDPROC));
  data->systemImages = SystemSmallImages();
  if (data->systemImages != nullptr)
    SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(data->systemImages));
  if (!SetPropA(tree, kDataProperty, data)) {
    delete data;
    return tree;  // a plain tree view: every folder-tree call on it does nothing
  }
  SetWindowLongPtrA(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FolderTreeControlProc));
  FolderTreeFill(tree, "", 0, expand);
  return tree;
}

COLORREF FolderTreeSetBackColor(HWND tree, COLORREF colour) {
  if (DataOf(tree) == nullptr) return 0;
  auto previous = static_cast<COLORREF>(SendMessageA(tree, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(colour)));
  // The lines keep their old background until the style bit is toggled.
  LONG_PTR style = GetWindowLongPtrA(tree, GWL_STYLE);
  SetWindowLongPtrA(tree, GWL_STYLE, style & ~static_cast<LONG_PTR>(TVS_HASLINES));
  SetWindowLongPtrA(tree, GWL_STYLE, style | TVS_HASLINES);
  return previous;
}

LRESULT CALLBACK FolderTreeControlProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
  FolderTreeData* data = DataOf(tree);
  if (data == nullptr) return DefWindowProcA(tree, message, wParam, lParam);
  WNDPROC oldProc = data->oldProc;
  switch (message) {
    case WM_ERASEBKGND:
      // WM_PAINT covers the whole client area; erasing first only flickers.
      return 1;
    case WM_PAINT:
      if (wParam != 0) break;  // a caller's DC (WM_PRINTCLIENT path): plain paint
      return PaintTree(tree, data);
    case WM_DESTROY:
      DestroyTreeData(tree, data);
      return CallWindowProcA(oldProc, tree, message, wParam, lParam);
  }
  return CallWindowProcA(oldProc, tree, message, wParam, lParam);
}

}  // namespace suite
