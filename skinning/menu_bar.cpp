// The skinned menu bar: an owned popup window of class SKMENU under the
// skinned caption that holds the window's menu (its own menu line shows the
// items, painted by menu_items.cpp), forwards the menu's commands to the
// window and keeps the window's caption and capture right while it is
// used.  Also the bar drawn into a window's picture, and Alt keys sent to
// it.
#include <windows.h>

#include <string>
#include <vector>

#include "core/key_rules.h"
#include "library_state.h"
#include "themecore.h"
#include "themecore_wait.h"

namespace skinning {

namespace {

constexpr char kBarClass[] = "SKMENU";
HINSTANCE g_registeredIn = nullptr;

bool IsDirectSubmenu(HMENU menu, HMENU popup) {
  const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    if (GetSubMenu(menu, i) == popup) return true;
  }
  return false;
}

std::vector<std::string> BarItemTexts(HWND bar) {
  std::vector<std::string> texts;
  HMENU menu = GetMenu(bar);
  const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    char text[260] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
    texts.push_back(text);
  }
  return texts;
}

LRESULT ToOwnerPrevious(const WindowRecordPtr& owner, UINT message, WPARAM wParam, LPARAM lParam) {
  if (owner == nullptr) return 0;
  return CallPrevious(*owner, owner->window, message, wParam, lParam);
}

LRESULT OnDrawItem(HWND bar, const WindowRecordPtr& owner, WPARAM wParam, LPARAM lParam) {
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (owner != nullptr && IsShownFromPicture(*owner)) {
    // The bar as the window's picture shows it.
    HDC picture = SKGETHDCMEMBMP(owner->window);
    HDC barDc = GetWindowDC(bar);
    const SIZE size = WindowSize(bar);
    if (picture != nullptr && barDc != nullptr) {
      BitBlt(barDc, 0, 0, size.cx, size.cy, picture, SKGETSYSTEMMETRICS(4), SKGETSYSTEMMETRICS(1), SRCCOPY);
    }
    if (barDc != nullptr) ReleaseDC(bar, barDc);
    return 1;
  }
  if (DrawMenuItem(bar, item)) return 1;
  return ToOwnerPrevious(owner, WM_DRAWITEM, wParam, lParam);
}

LRESULT OnEraseBackground(HWND bar, const WindowRecordPtr& owner, HDC dc) {
  if (owner != nullptr && IsShownFromPicture(*owner)) return 1;
  const SIZE size = WindowSize(bar);
  SKTILEBLT(dc, 0, -GetSystemMetrics(SM_CYMENU), size.cx, size.cy, SKMENUBAR());
  return 1;
}

LRESULT CALLBACK MenuBarWindowProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND ownerWindow = GetParent(bar);
  WindowRecordPtr owner = FindWindowRecord(ownerWindow);
  switch (message) {
    case WM_NCHITTEST: {
      HWND front = GetForegroundWindow();
      WindowRecordPtr frontRecord = FindWindowRecord(front);
      // A modal box of the host in front: the bar takes no clicks.
      if (front != ownerWindow && frontRecord != nullptr && frontRecord->modalFrame) return HTTRANSPARENT;
      break;
    }
    case WM_MENUSELECT:
      if (owner != nullptr) return FrameWindowProc(ownerWindow, message, wParam, lParam);
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE && lParam == 0 && owner != nullptr) {
        owner->captionInactive = true;
        PaintFrame(*owner, false);
        return 0;
      }
      break;
    case WM_ACTIVATEAPP:
      if (wParam != 0 && ownerWindow != nullptr) BringWindowToTop(ownerWindow);
      break;
    case WM_INITMENUPOPUP: {
      HMENU popup = reinterpret_cast<HMENU>(wParam);
      if (IsDirectSubmenu(GetMenu(bar), popup)) {
        SkinWindowMenu(bar);
        OpenPopup(bar, popup);
      }
      MarkPopupOpened(bar);
      break;
    }
    case WM_UNINITMENUPOPUP:
      if (IsDirectSubmenu(GetMenu(bar), reinterpret_cast<HMENU>(wParam))) ClosePopup(bar);
      break;
    case WM_MEASUREITEM:
      if (MeasureMenuItem(bar, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return 1;
      return ToOwnerPrevious(owner, message, wParam, lParam);
    case WM_DRAWITEM:
      return OnDrawItem(bar, owner, wParam, lParam);
    case WM_ERASEBKGND:
      return OnEraseBackground(bar, owner, reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
      if ((GetWindowLongA(bar, GWL_STYLE) & WS_POPUP) && ownerWindow != nullptr) {
        SetFocus(ownerWindow);
        PostMessageA(ownerWindow, WM_COMMAND, wParam, lParam);
      }
      break;
    case WM_NCACTIVATE:
      if (wParam == FALSE) return 1;
      if (owner != nullptr) {
        owner->captured = false;
        owner->snapshotDc = nullptr;
      }
      return 0;
    case WM_NCDESTROY:
      ForgetPopupState(bar);
      break;
    default:
      break;
  }
  return DefWindowProcA(bar, message, wParam, lParam);
}

HWND CreateMenuBar(HWND owner, int32_t x, int32_t y, int32_t width, int32_t height) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
  // The engine has an SKMENU class of its own for its holders: the bar's
  // class is registered under the host's instance unless that holds it.
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof(existing);
  const bool isOurs = GetClassInfoExA(instance, kBarClass, &existing) && existing.lpfnWndProc == &MenuBarWindowProc;
  if (SKCHECKCLASS(kBarClass) == 0 || !isOurs) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &MenuBarWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kBarClass;
    if (SKREGISTERCLASS(&wc, kBarClass) == 0) return nullptr;
    g_registeredIn = wc.hInstance;
  }
  return CreateWindowExA(0, kBarClass, "", WS_POPUP | WS_VISIBLE, x, y, width, height, owner, nullptr,
                         instance, nullptr);
}

// The top-level items as plain text items, their drop-down menus kept, so
// that every one of them is converted.
void MakeBarItemsPlain(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[260] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.fType = MFT_STRING;
    info.wID = 0;
    info.dwTypeData = text;
    SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
  }
}

}  // namespace

HWND MoveMenuToBar(HWND window, HMENU menu, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (menu == nullptr) return nullptr;
  MakeBarItemsPlain(menu);
  RestartMenuIds();
  SkinWindowMenu(window);
  SetMenu(window, nullptr);
  HWND bar = CreateMenuBar(window, x, y, width, height);
  // No bar: the window keeps its menu.
  SetMenu(bar != nullptr ? bar : window, menu);
  return bar;
}

void PrintMenuBar(HWND bar, HDC dc, int32_t x, int32_t y) {
  HMENU menu = GetMenu(bar);
  if (bar == nullptr || dc == nullptr || menu == nullptr) return;
  RECT barRect = {};
  GetWindowRect(bar, &barRect);
  const SIZE size = WindowSize(bar);
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, x, y, nullptr);
  IntersectClipRect(dc, 0, 0, size.cx, size.cy);
  SKTILEBLT(dc, 0, -GetSystemMetrics(SM_CYMENU), size.cx, size.cy + GetSystemMetrics(SM_CYMENU), SKMENUBAR());
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    RECT rect = {};
    if (!GetMenuItemRect(bar, menu, static_cast<UINT>(i), &rect)) continue;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_DATA | MIIM_STATE;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_MENU;
    item.itemID = info.wID;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = (info.fState & MFS_GRAYED) ? ODS_GRAYED : 0;
    item.hwndItem = reinterpret_cast<HWND>(menu);
    item.hDC = dc;
    item.rcItem = {rect.left - barRect.left, rect.top - barRect.top, rect.right - barRect.left,
                   rect.bottom - barRect.top};
    item.itemData = info.dwItemData;
    DrawMenuItem(bar, &item);
  }
  RestoreDC(dc, saved);
}

bool SendSysKeyToMenuBar(const WindowRecord& owner, WPARAM wParam, LPARAM lParam) {
  if (owner.menuBar == nullptr) return false;
  const char key = MnemonicOfKey(MapVirtualKeyA(static_cast<UINT>(wParam), MAPVK_VK_TO_CHAR));
  const bool itemHasKey = key != 0 && FindMnemonic(BarItemTexts(owner.menuBar), key) >= 0;
  if (!SendsSysKeyToBar(itemHasKey, GetFocus() != nullptr, static_cast<uint32_t>(wParam))) return false;
  SetFocus(owner.menuBar);
  SendMessageA(owner.menuBar, WM_SYSKEYDOWN, wParam, lParam);
  return true;
}

void UnregisterMenuBarClass() {
  if (g_registeredIn != nullptr) UnregisterClassA(kBarClass, g_registeredIn);
  g_registeredIn = nullptr;
}

}  // namespace skinning
