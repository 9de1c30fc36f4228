// The skinned menu items: a window's menu turned into owner-drawn items
// that the library measures and paints with the skin's menu images,
// translucency and colours (SkinMenuItems, DrawMenuItem), and the popup
// preparation of every skinned window, control and menu bar.  The bar
// window itself is menu_bar.cpp.
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/menu_rules.h"
#include "library_state.h"
#include "themecore.h"
#include "themecore_looks.h"
#include "themecore_painttool.h"
#include "themecore_wait.h"
#include "window_settings.h"

namespace skinning {

namespace {

// The host's picture of a popup item: wParam the command id; a bitmap the
// library draws in the item and deletes.
constexpr UINT kMsgMenuItemImage = WM_USER + 127;

// `SkinnedMenuIds`: the ids of the items the library made owner-drawn.
std::vector<uint32_t>& SkinnedMenuIds() {
  static std::vector<uint32_t> ids;
  return ids;
}

uint32_t g_nextMenuId = kFirstMenuItemId - 1;
// The bar items' padding: the system's room round an item's own width.
int32_t g_barPadding = -1;

// Per window procedure (frame, control, bar): the open popup, the saved
// menu-animation setting, and whether a popup was just opened.
struct PopupState {
  HMENU popup = nullptr;
  bool animationWasOn = false;
  bool justOpened = false;
};
std::map<HWND, PopupState>& PopupStates() {
  static std::map<HWND, PopupState> states;
  return states;
}

bool IsSkinnedId(uint32_t id) {
  const auto& ids = SkinnedMenuIds();
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

COLORREF SkinColour(int32_t n) { return static_cast<COLORREF>(SKGETSYSCOLOR(n)); }

std::string MenuText(HMENU menu, UINT item, UINT by) {
  char text[260] = {};
  GetMenuStringA(menu, item, text, sizeof(text), by);
  return text;
}

void SkinMenuItems(HWND window, HMENU menu) {
  const int count = GetMenuItemCount(menu);
  if (count <= 0) return;
  const bool isPopup = GetMenu(window) != menu;
  WindowRecordPtr record = FindWindowRecord(window);
  const bool isWindowBar = record != nullptr && record->menu == menu;
  const int32_t checkWidth = GetSystemMetrics(SM_CXMENUCHECK);
  const int32_t osVersion = SKOSVERSION();
  HFONT font = SKMENUFONT();
  int32_t widest = 0;
  for (int position = count - 1; position >= 0; --position) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_FTYPE | MIIM_DATA;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) continue;
    std::string text = MenuText(menu, static_cast<UINT>(position), MF_BYPOSITION);
    uint32_t id = info.wID;
    if (!text.empty() && id == 0) id = ++g_nextMenuId;
    const bool isNew = (info.fType & MFT_OWNERDRAW) == 0 || isWindowBar;
    if (isNew && !IsSkinnedId(id)) SkinnedMenuIds().push_back(id);
    UINT type = info.fType;
    int32_t textWidth = 0;
    int32_t textHeight = 0;
    SKGETFULLTEXTEXTENT(nullptr, font, text.empty() ? "-" : text.c_str(), &textWidth, &textHeight);
    if (text.empty()) type = MFT_SEPARATOR | MFT_OWNERDRAW;
    const MenuItemSize size = SizeMenuItem(textWidth, textHeight, text.find('\t') != std::string::npos,
                                           osVersion, isPopup, checkWidth, &widest);
    ULONG_PTR data = info.dwItemData;
    if (IsSkinnedId(id)) {
      type |= MFT_OWNERDRAW;
      data = static_cast<ULONG_PTR>(static_cast<uint32_t>(size.width & 0xFFFF) |
                                    (static_cast<uint32_t>(size.height & 0xFFFF) << 16));
    }
    MENUITEMINFOA changed = {};
    changed.cbSize = sizeof(changed);
    changed.fMask = MIIM_ID | MIIM_DATA | MIIM_FTYPE;
    changed.wID = id;
    changed.dwItemData = data;
    changed.fType = type;
    SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &changed);
    if (info.hSubMenu != nullptr) SkinMenuItems(window, info.hSubMenu);
  }
  // The engine's menu font is the caller's copy.
  if (font != nullptr) DeleteObject(font);
}

// A memory bitmap of w x h with the tile lined up at (x, y) of the bar and
// the host's picture at its left; the caller deletes it.
HBITMAP MakeMenuItemBitmap(int32_t x, int32_t y, HBITMAP image, int32_t w, int32_t h, HBITMAP tile) {
  if (w <= 0 || h <= 0) return nullptr;
  HDC screen = SKDISPLAYDC();
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = dc != nullptr ? CreateCompatibleBitmap(screen, w, h) : nullptr;
  if (bitmap != nullptr) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    if (tile == nullptr || SKTILEBLT(dc, -x, -y, w + x, h + y, tile) == 0) {
      SKFILLRECT(dc, 0, 0, w, h, SKGETSYSCOLOR(112));
    }
    BITMAP size = {};
    if (image != nullptr && GetObjectA(image, sizeof(size), &size) != 0) {
      SKTRANSBLT(dc, 0, 0, size.bmWidth, size.bmHeight, reinterpret_cast<HDC>(image), 0, 0,
                 static_cast<int32_t>(GetSysColor(COLOR_BTNFACE)));
    }
    SelectObject(dc, old);
  }
  if (dc != nullptr) DeleteDC(dc);
  if (screen != nullptr) DeleteDC(screen);
  return bitmap;
}

void DrawItemText(HDC dc, const std::string& text, RECT rect, UINT format) {
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

// The bar item's width after the item at `position` (its data width plus
// the padding); 0 when it is the last.
int32_t NextBarItemWidth(HMENU menu, UINT id, bool* isLast) {
  const int count = GetMenuItemCount(menu);
  *isLast = true;
  for (int i = 0; i < count; ++i) {
    if (GetMenuItemID(menu, i) != id) {
      MENUITEMINFOA info = {};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_ID | MIIM_SUBMENU;
      GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
      if (info.wID != id) continue;
    }
    if (i + 1 >= count) return 0;
    *isLast = false;
    MENUITEMINFOA next = {};
    next.cbSize = sizeof(next);
    next.fMask = MIIM_DATA;
    GetMenuItemInfoA(menu, static_cast<UINT>(i + 1), TRUE, &next);
    return static_cast<int32_t>(LOWORD(next.dwItemData));
  }
  return 0;
}

}  // namespace

void SkinWindowMenu(HWND window) {
  HMENU menu = GetMenu(window);
  if (menu != nullptr) SkinMenuItems(window, menu);
}

void RestartMenuIds() { g_nextMenuId = kFirstMenuItemId - 1; }

void OpenPopup(HWND window, HMENU popup) {
  PopupState& state = PopupStates()[window];
  state.animationWasOn = suite::ISMENUEFFECTON() != 0;
  if (state.animationWasOn) SystemParametersInfoA(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(FALSE), 0);
  SKDCDESKTOP(1);
  state.popup = popup;
}

void ClosePopup(HWND window) {
  PopupState& state = PopupStates()[window];
  if (state.animationWasOn) SystemParametersInfoA(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(TRUE), 0);
  state.animationWasOn = false;
  SKDCDESKTOP(2);
  state.popup = nullptr;
}

void MarkPopupOpened(HWND window) { PopupStates()[window].justOpened = true; }

void PreparePopup(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HMENU popup = reinterpret_cast<HMENU>(wParam);
  if (message == WM_INITMENUPOPUP) {
    if (LOWORD(lParam) == 0 && popup != nullptr) {
      SkinMenuItems(window, popup);
      OpenPopup(window, popup);
    }
    MarkPopupOpened(window);
    return;
  }
  auto found = PopupStates().find(window);
  if (found != PopupStates().end() && found->second.popup == popup && popup != nullptr) ClosePopup(window);
}

bool MeasureMenuItem(HWND, MEASUREITEMSTRUCT* item) {
  if (item == nullptr || item->CtlType != ODT_MENU || !IsSkinnedId(item->itemID)) return false;
  item->itemWidth = LOWORD(item->itemData);
  item->itemHeight = HIWORD(item->itemData);
  return true;
}

bool DrawMenuItem(HWND owner, const DRAWITEMSTRUCT* item) {
  if (item == nullptr || item->CtlType != ODT_MENU || item->hDC == nullptr || !IsSkinnedId(item->itemID)) {
    return false;
  }
  HDC dc = item->hDC;
  HMENU menu = reinterpret_cast<HMENU>(item->hwndItem);
  HWND menuWindow = WindowFromDC(dc);
  if (menuWindow == nullptr) menuWindow = GetTopWindow(nullptr);
  const std::string text = MenuText(menu, item->itemID, MF_BYCOMMAND);
  const int32_t x = item->rcItem.left;
  const int32_t y = item->rcItem.top;
  const int32_t w = item->rcItem.right - item->rcItem.left;
  const int32_t h = item->rcItem.bottom - item->rcItem.top;
  const bool isBar = GetMenu(owner) == menu;
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  const bool grayed = (item->itemState & ODS_GRAYED) != 0;

  HBITMAP image = nullptr;
  int32_t checkSpace = 0;
  int32_t opacity = 80;
  int32_t band = h;
  int32_t extra = 0;
  HBITMAP background = nullptr;
  if (!isBar) {
    if (item->itemID != 0) {
      image = reinterpret_cast<HBITMAP>(
          SendMessageA(TopLevelOwner(owner), kMsgMenuItemImage, item->itemID, 0));
      if (image != nullptr && GetObjectType(image) != OBJ_BITMAP) image = nullptr;
    }
    checkSpace = GetSystemMetrics(SM_CXMENUCHECK) + 8;
    background = MakeMenuItemBitmap(0, 0, image, w, h, SKMENUBACK());
  } else {
    opacity = 100;
    if (g_barPadding < 0) g_barPadding = std::max<int32_t>(0, w - static_cast<int32_t>(LOWORD(item->itemData)));
    RECT barClient = {};
    GetClientRect(owner, &barClient);
    bool isLast = true;
    const int32_t next = NextBarItemWidth(menu, item->itemID, &isLast);
    extra = BarItemExtra(barClient.right, x, w, isLast, next, g_barPadding);
    band = GetSystemMetrics(SM_CYMENU);
    background = MakeMenuItemBitmap(x, y, nullptr, w + extra, band, SKMENUBAR());
  }

  RECT window = {};
  GetWindowRect(menuWindow, &window);
  const int32_t desktopX = window.left + GetSystemMetrics(SM_CXFIXEDFRAME);
  const int32_t desktopY = window.top + GetSystemMetrics(SM_CYFIXEDFRAME);

  if (selected) {
    SKTRANSLUBLT(dc, x, y, w, band, background, 0, 0, 100);
    SKSHADOWBLT(dc, x, y, w, h, SKGETSYSCOLOR(124), 0, 0, 30);
    BITMAP size = {};
    if (image != nullptr && GetObjectA(image, sizeof(size), &size) != 0) {
      SKTRANSBLT(dc, x, y, size.bmWidth, size.bmHeight, reinterpret_cast<HDC>(image), 0, 0,
                 static_cast<int32_t>(GetSysColor(COLOR_BTNFACE)));
    }
  } else if (SKGETTRANSMENU() == 0) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = source != nullptr && background != nullptr ? SelectObject(source, background) : nullptr;
    if (old != nullptr) {
      BitBlt(dc, x, y, w + extra, band, source, 0, 0, SRCCOPY);
      SelectObject(source, old);
    }
    if (source != nullptr) DeleteDC(source);
  } else {
    PopupState& state = PopupStates()[owner];
    int32_t height = h;
    if (state.justOpened) {
      height = (window.bottom - window.top) - 2 * GetSystemMetrics(SM_CYFIXEDFRAME);
      state.justOpened = false;
    }
    if (HDC desktop = SKDCDESKTOP(0)) BitBlt(dc, x, y, w, height, desktop, x + desktopX, y + desktopY, SRCCOPY);
    SKTRANSLUBLT(dc, x, y, w + extra, band, background, 0, 0, opacity);
  }
  if (image != nullptr) DeleteObject(image);

  const COLORREF textColour = isBar ? SkinColour(grayed ? 117 : 116) : SkinColour(grayed ? 106 : 110);
  const COLORREF shadowColour = isBar ? SkinColour(117) : SkinColour(111);
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  if (text.empty()) {
    SKLINE(dc, x, y + h / 2 - 1, x + w, y + h / 2 - 1, static_cast<int32_t>(isBar ? textColour : SkinColour(110)), 0, 1);
    SKLINE(dc, x, y + h / 2, x + w, y + h / 2, static_cast<int32_t>(shadowColour), 0, 1);
  } else {
    HFONT font = SKMENUFONT();
    if (font != nullptr) SelectObject(dc, font);
    const RECT& r = item->rcItem;
    if (!isBar) {
      const MenuItemText split = SplitMenuItemText(text);
      const UINT format = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
      SetTextColor(dc, shadowColour);
      DrawItemText(dc, split.label, {x + checkSpace + 1, r.top, r.right + 1, r.bottom}, format);
      if (split.hasTab) {
        DrawItemText(dc, split.shortcut, {x + checkSpace + 1, r.top, r.right + 1 - checkSpace, r.bottom},
                     format | DT_RIGHT);
      }
      SetTextColor(dc, textColour);
      DrawItemText(dc, split.label, {x + checkSpace, r.top - 1, r.right, r.bottom - 1}, format);
      if (split.hasTab) {
        DrawItemText(dc, split.shortcut, {x + checkSpace, r.top - 1, r.right - checkSpace, r.bottom - 1},
                     format | DT_RIGHT);
      }
    } else {
      SetTextColor(dc, textColour);
      DrawItemText(dc, text + " ", {x + 1, r.top, r.right + 1, r.bottom},
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
    }
    RestoreDC(dc, saved);
    if (font != nullptr) DeleteObject(font);
  }
  if (text.empty()) RestoreDC(dc, saved);
  if (item->itemState & ODS_CHECKED) {
    HFONT marlett = SKMARLETT(11);
    const int saved2 = SaveDC(dc);
    if (marlett != nullptr) SelectObject(dc, marlett);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, SkinColour(110));
    RECT mark = {item->rcItem.left, item->rcItem.top,
                 item->rcItem.left + 2 * LOWORD(GetMenuCheckMarkDimensions()), item->rcItem.bottom};
    DrawTextA(dc, "b", 1, &mark, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    RestoreDC(dc, saved2);
    // The engine gives the caller a font of its own each time.
    if (marlett != nullptr) DeleteObject(marlett);
  }
  if (background != nullptr) DeleteObject(background);
  return true;
}

void ForgetPopupState(HWND window) { PopupStates().erase(window); }

}  // namespace skinning
