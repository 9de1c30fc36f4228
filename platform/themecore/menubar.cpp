// The menu bar a "SKMENU" holder draws: the titles of the main menu's popups
// (MainMenu(), built by SKCHANGEMENU or SKMENU) over the menu-bar image, each
// opening its popup with TrackPopupMenuEx.  The popups are owned by the main
// window, so it gets WM_INITMENUPOPUP, WM_MENUSELECT and the loop messages as
// with a system menu bar; the chosen item's id reaches it as WM_COMMAND
// (posted, lParam 0, as a menu sends it).
//
// While a popup is open a message filter watches the menu loop: the pointer
// on another title, or Left and Right, close it and open the neighbour, so
// the bar behaves as a menu bar and not as a row of buttons.
#include <windows.h>

#include <string>
#include <vector>

#include "engine_state.h"
#include "ui_internal.h"

namespace themecore {

struct MenuBarState {
  int hotItem = -1;   // under the pointer
  int openItem = -1;  // its popup is open
  bool isTrackingLeave = false;
  bool showsMnemonics = false;  // opened from the keyboard
};

namespace {

constexpr int kItemPadding = 8;
constexpr int kFirstItemX = 2;

// The popup being tracked, for the message filter.
struct OpenPopup {
  HMENU popup = nullptr;
  int index = -1;
  int count = 0;
  std::vector<RECT> screenRects;  // the bar titles
  int switchTo = -1;              // the title to open once this popup closed
  bool switchByKey = false;
};

thread_local OpenPopup* openPopup = nullptr;

std::string ItemText(HMENU bar, int index) {
  char text[256] = {};
  int length = GetMenuStringA(bar, static_cast<UINT>(index), text, sizeof(text), MF_BYPOSITION);
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

// The titles' rectangles in the holder's client coordinates.
std::vector<RECT> ItemRects(HWND holder, HMENU bar) {
  std::vector<RECT> rects;
  if (bar == nullptr) return rects;
  RECT client;
  GetClientRect(holder, &client);
  HDC dc = GetDC(holder);
  if (dc == nullptr) return rects;
  HGDIOBJ oldFont = SelectObject(dc, SkinMenuFont());
  const int count = GetMenuItemCount(bar);
  int x = kFirstItemX;
  for (int i = 0; i < count; ++i) {
    std::string text = ItemText(bar, i);
    RECT measure = {0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measure,
              DT_SINGLELINE | DT_CALCRECT);
    const int width = (measure.right - measure.left) + 2 * kItemPadding;
    rects.push_back({x, client.top, x + width, client.bottom});
    x += width;
  }
  SelectObject(dc, oldFont);
  ReleaseDC(holder, dc);
  return rects;
}

// A mnemonic compared as the code page sees letters.
char UpperCase(char c) {
  char buffer[1] = {c};
  CharUpperBuffA(buffer, 1);
  return buffer[0];
}

int ItemAt(const std::vector<RECT>& rects, POINT point) {
  for (size_t i = 0; i < rects.size(); ++i) {
    if (PtInRect(&rects[i], point)) return static_cast<int>(i);
  }
  return -1;
}

bool IsItemEnabled(HMENU bar, int index) {
  const UINT state = GetMenuState(bar, static_cast<UINT>(index), MF_BYPOSITION);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

void PaintBar(HWND holder, const MenuBarState& state, HDC target) {
  RECT client;
  GetClientRect(holder, &client);
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0) return;
  HDC dc = CreateCompatibleDC(target);
  HBITMAP buffer = CreateCompatibleBitmap(target, width, height);
  if (dc == nullptr || buffer == nullptr) {
    if (dc != nullptr) DeleteDC(dc);
    if (buffer != nullptr) DeleteObject(buffer);
    return;
  }
  HGDIOBJ oldBuffer = SelectObject(dc, buffer);

  FillSolid(dc, client, SkinColour(colour::kMenuBack));
  int imageWidth = 0;
  int imageHeight = 0;
  HBITMAP image = MenuBarImage();
  if (BitmapSize(image, &imageWidth, &imageHeight)) {
    HDC imageDc = CreateCompatibleDC(target);
    HGDIOBJ oldImage = SelectObject(imageDc, image);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, width, height, imageDc, 0, 0, imageWidth, imageHeight, SRCCOPY);
    SelectObject(imageDc, oldImage);
    DeleteDC(imageDc);
  }

  HMENU bar = MainMenu();
  std::vector<RECT> rects = ItemRects(holder, bar);
  HGDIOBJ oldFont = SelectObject(dc, SkinMenuFont());
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < rects.size(); ++i) {
    const int index = static_cast<int>(i);
    const bool isLit = index == state.openItem || (state.openItem < 0 && index == state.hotItem);
    COLORREF text = SkinColour(colour::kMenuText);
    if (!IsItemEnabled(bar, index)) {
      text = SkinColour(colour::kShadow);
    } else if (isLit) {
      RECT lit = rects[i];
      InflateRect(&lit, 0, -1);
      FillSolid(dc, lit, SkinColour(colour::kHighlightBack));
      text = SkinColour(colour::kHighlightText);
    }
    SetTextColor(dc, text);
    std::string title = ItemText(bar, index);
    DrawTextA(dc, title.c_str(), static_cast<int>(title.size()), &rects[i],
              DT_SINGLELINE | DT_VCENTER | DT_CENTER | (state.showsMnemonics ? 0 : DT_HIDEPREFIX));
  }
  SelectObject(dc, oldFont);

  BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBuffer);
  DeleteObject(buffer);
  DeleteDC(dc);
}

void Repaint(HWND holder) {
  RedrawWindow(holder, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
}

// Left and Right leave a popup for its neighbour unless Right opens a
// submenu of the highlighted item.
bool HighlightedItemHasSubmenu(HMENU popup) {
  const int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    if (GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) {
      return GetSubMenu(popup, i) != nullptr;
    }
  }
  return false;
}

LRESULT CALLBACK MenuLoopFilter(int code, WPARAM wParam, LPARAM lParam) {
  OpenPopup* open = openPopup;
  if (code != MSGF_MENU || open == nullptr || open->count == 0) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  switch (message->message) {
    case WM_MOUSEMOVE: {
      const int item = ItemAt(open->screenRects, message->pt);
      if (item >= 0 && item != open->index) {
        open->switchTo = item;
        open->switchByKey = false;
        EndMenu();
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN: {
      const int item = ItemAt(open->screenRects, message->pt);
      if (item < 0) break;
      // A click on the open title closes it; on another title opens that.
      open->switchTo = item == open->index ? -1 : item;
      EndMenu();
      return TRUE;
    }
    case WM_KEYDOWN:
      if (message->wParam == VK_LEFT) {
        open->switchTo = (open->index + open->count - 1) % open->count;
        open->switchByKey = true;
        EndMenu();
        return TRUE;
      }
      if (message->wParam == VK_RIGHT && !HighlightedItemHasSubmenu(open->popup)) {
        open->switchTo = (open->index + 1) % open->count;
        open->switchByKey = true;
        EndMenu();
        return TRUE;
      }
      break;
    default:
      break;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Opens popup `index` and the popups the user moves to from it, until one
// closes for good.
void TrackBar(HWND holder, MenuBarState* state, int index, bool fromKeyboard) {
  HWND owner = GetAncestor(holder, GA_ROOT);
  while (index >= 0) {
    HMENU bar = MainMenu();
    if (bar == nullptr || index >= GetMenuItemCount(bar)) return;
    if (!IsItemEnabled(bar, index)) return;
    HMENU popup = GetSubMenu(bar, index);
    if (popup == nullptr) {
      // A command on the bar itself.
      const UINT id = GetMenuItemID(bar, index);
      if (id != static_cast<UINT>(-1)) PostMessageA(owner, WM_COMMAND, MAKEWPARAM(id, 0), 0);
      return;
    }
    std::vector<RECT> rects = ItemRects(holder, bar);
    OpenPopup open;
    open.popup = popup;
    open.index = index;
    open.count = static_cast<int>(rects.size());
    for (RECT rect : rects) {
      MapWindowPoints(holder, nullptr, reinterpret_cast<POINT*>(&rect), 2);
      open.screenRects.push_back(rect);
    }
    const RECT title = open.screenRects[static_cast<size_t>(index)];

    state->openItem = index;
    state->showsMnemonics = fromKeyboard;
    Repaint(holder);
    // From the keyboard the first item is selected, as in a system menu bar.
    if (fromKeyboard) PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);

    OpenPopup* outer = openPopup;
    openPopup = &open;
    HHOOK filter = SetWindowsHookExA(WH_MSGFILTER, MenuLoopFilter, nullptr, GetCurrentThreadId());
    TPMPARAMS params = {};
    params.cbSize = sizeof(params);
    params.rcExclude = title;
    const UINT command = static_cast<UINT>(TrackPopupMenuEx(
        popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON | TPM_RETURNCMD,
        title.left, title.bottom, owner, &params));
    if (filter != nullptr) UnhookWindowsHookEx(filter);
    openPopup = outer;

    // The program may have destroyed its window while the menu was open.
    if (!IsWindow(holder)) return;
    state->openItem = -1;
    state->showsMnemonics = false;
    Repaint(holder);
    if (command != 0) {
      PostMessageA(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
      return;
    }
    index = open.switchTo;
    fromKeyboard = open.switchByKey;
  }
}

}  // namespace

MenuBarState* CreateMenuBarState() { return new MenuBarState; }

void DestroyMenuBarState(MenuBarState* state) { delete state; }

bool HandleMenuBarMessage(HWND holder, MenuBarState* state, UINT message, WPARAM wParam,
                          LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(holder, &paint);
      if (dc != nullptr) PaintBar(holder, *state, dc);
      EndPaint(holder, &paint);
      *result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      PaintBar(holder, *state, reinterpret_cast<HDC>(wParam));
      *result = 0;
      return true;
    case WM_MOUSEMOVE: {
      POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const int item = ItemAt(ItemRects(holder, MainMenu()), point);
      if (item != state->hotItem) {
        state->hotItem = item;
        InvalidateRect(holder, nullptr, FALSE);
      }
      if (!state->isTrackingLeave) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, holder, 0};
        state->isTrackingLeave = TrackMouseEvent(&track) != FALSE;
      }
      return false;  // the program may want the pointer too
    }
    case WM_MOUSELEAVE:
      state->isTrackingLeave = false;
      if (state->hotItem >= 0) {
        state->hotItem = -1;
        InvalidateRect(holder, nullptr, FALSE);
      }
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const int item = ItemAt(ItemRects(holder, MainMenu()), point);
      if (item < 0) return false;
      TrackBar(holder, state, item, false);
      *result = 0;
      return true;
    }
    default:
      return false;
  }
}

bool OpenMenuBarFromKey(HWND holder, char mnemonic) {
  MenuBarState* state = MenuBarOf(holder);
  HMENU bar = MainMenu();
  if (state == nullptr || bar == nullptr) return false;
  const int count = GetMenuItemCount(bar);
  if (count <= 0) return false;
  int index = mnemonic == 0 ? 0 : -1;
  const char wanted = UpperCase(mnemonic);
  for (int i = 0; index < 0 && i < count; ++i) {
    std::string text = ItemText(bar, i);
    for (size_t at = text.find('&'); at != std::string::npos && at + 1 < text.size();
         at = text.find('&', at + 2)) {
      if (text[at + 1] == '&') continue;  // "&&" is a plain '&'
      if (UpperCase(text[at + 1]) == wanted) index = i;
      break;
    }
  }
  if (index < 0) return false;
  TrackBar(holder, state, index, true);
  return true;
}

HBITMAP MenuBarImage() {
  if (HBITMAP image = SkinBitmap("menubar")) return image;
  // Made once per height and colours; earlier ones stay alive, since a
  // program may still hold the handle it was given.
  struct Made {
    HBITMAP image = nullptr;
    int height = 0;
    COLORREF back = 0, light = 0, shadow = 0;
  };
  static Made made;
  const int height = FrameMetric(metric::kMenuBarHeight) > 0 ? FrameMetric(metric::kMenuBarHeight) : 1;
  const COLORREF back = SkinColour(colour::kMenuBack);
  const COLORREF light = SkinColour(colour::kLight);
  const COLORREF shadow = SkinColour(colour::kShadow);
  if (made.image != nullptr && made.height == height && made.back == back &&
      made.light == light && made.shadow == shadow) {
    return made.image;
  }
  constexpr int kWidth = 8;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP image = CreateCompatibleBitmap(screen, kWidth, height);
  ReleaseDC(nullptr, screen);
  if (dc == nullptr || image == nullptr) {
    if (dc != nullptr) DeleteDC(dc);
    if (image != nullptr) DeleteObject(image);
    return made.image;
  }
  HGDIOBJ old = SelectObject(dc, image);
  RECT all = {0, 0, kWidth, height};
  FillSolid(dc, all, back);
  RECT top = {0, 0, kWidth, 1};
  FillSolid(dc, top, light);
  if (height > 1) {
    RECT bottom = {0, height - 1, kWidth, height};
    FillSolid(dc, bottom, shadow);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  made = {image, height, back, light, shadow};
  return image;
}

}  // namespace themecore
