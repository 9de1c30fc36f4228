// The skinned child controls' preparation by kind (colours, styles,
// regions, a push button's pictures), their skinned borders, group boxes,
// the host's owner-drawn list box items, and the colour and owner-draw
// answers a control gives its own children.  Painting by kind is
// control_paint.cpp; the table and ControlWindowProc are controls.cpp.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/control_kinds.h"
#include "core/control_looks.h"
#include "core/opening_effects.h"
#include "library_state.h"
#include "themeapi.h"
#include "themecore.h"
#include "themecore_frame.h"
#include "themecore_looks.h"
#include "themecore_popup.h"
#include "themecore_wait.h"

namespace skinning {

namespace {

COLORREF SkinColour(int32_t n) { return static_cast<COLORREF>(SKGETSYSCOLOR(n)); }

void ReplaceClassBrush(HWND window, HBRUSH brush) {
  HBRUSH old = reinterpret_cast<HBRUSH>(
      SetClassLongPtrA(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush)));
  // A system colour brush (COLOR_x + 1) is no object to delete.
  if (old != nullptr && reinterpret_cast<ULONG_PTR>(old) > COLOR_MENUBAR + 1) DeleteObject(old);
}

void AddExStyle(HWND window, LONG bits) {
  SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | bits);
}

HFONT FontOf(HWND window) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  return font != nullptr ? font : SKDEFAULTFONT();
}

std::string ControlText(HWND window) { return WindowTextOf(window); }

void PrepareToolbar(HWND toolbar) {
  COLORSCHEME scheme = {};
  scheme.dwSize = sizeof(scheme);
  scheme.clrBtnHighlight = SkinColour(119);
  scheme.clrBtnShadow = SkinColour(118);
  SendMessageA(toolbar, CCM_SETCOLORSCHEME, 0, reinterpret_cast<LPARAM>(&scheme));
  HWND parent = GetParent(toolbar);
  if (parent != nullptr && GetParent(parent) != nullptr) {
    ReplaceClassBrush(toolbar, nullptr);
    AddExStyle(toolbar, WS_EX_TRANSPARENT);
    for (ControlRecord& record : SkinnedControls()) {
      if (record.window == toolbar) record.transparent = 1;
    }
  }
}

void PrepareTabControl(HWND tab) {
  ReplaceClassBrush(tab, CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  RECT window = {};
  GetWindowRect(tab, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  RECT display = {0, 0, width, height};
  SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  // The page area shows the parent: the tab keeps its band of tabs and the
  // page's frame.
  HRGN region = CreateRectRgn(0, 0, width, height);
  HRGN page = CreateRectRgn(display.left, display.top, display.right, display.bottom);
  CombineRgn(region, region, page, RGN_DIFF);
  DeleteObject(page);
  if (SetWindowRgn(tab, region, TRUE) == 0) DeleteObject(region);
}

void PrepareTree(HWND tree) {
  SendMessageA(tree, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(RGB(255, 255, 255)));
  COLORREF text = SkinColour(101);
  if ((text & 0xFFFFFF) == RGB(255, 255, 255)) text = RGB(250, 250, 250);
  SendMessageA(tree, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
  SendMessageA(tree, TVM_SETLINECOLOR, 0, static_cast<LPARAM>(text));
}

void PrepareListView(HWND list) {
  SendMessageA(list, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(SkinColour(104)));
  SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(SkinColour(104)));
  SendMessageA(list, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(SkinColour(101)));
}

}  // namespace

void MakePushButtonPictures(HWND button, const char* text) {
  const SIZE size = WindowSize(button);
  uint8_t style[64] = {};
  style[56] = 1;
  SKDRAWBUT3D(button, text, FontOf(button), size.cx, size.cy, style);
}

void PreparePushButtonStyle(HWND button) {
  // A push button of the host drawn with a dialog's modal frame loses it:
  // the skin draws the button's whole face.
  const LONG exStyle = GetWindowLongA(button, GWL_EXSTYLE);
  if (exStyle & WS_EX_DLGMODALFRAME) SetWindowLongA(button, GWL_EXSTYLE, exStyle & ~WS_EX_DLGMODALFRAME);
}

void PrepareControl(HWND control, int32_t kind) {
  switch (kind) {
    case kMdiClient: {
      HWND parent = GetParent(control);
      if (parent != nullptr && GetParent(parent) == nullptr) {
        ReplaceClassBrush(control, CreateSolidBrush(SkinColour(104)));
      }
      break;
    }
    case kToolbar:
      PrepareToolbar(control);
      break;
    case kStatusBar:
    case kGroupBox:
      AddExStyle(control, WS_EX_TRANSPARENT);
      break;
    case kPushButton: {
      const LONG style = GetWindowLongA(control, GWL_STYLE);
      SetWindowLongA(control, GWL_STYLE, (style & ~0xF) | BS_OWNERDRAW);
      MakePushButtonPictures(control, ControlText(control).c_str());
      InvalidateRect(control, nullptr, TRUE);
      break;
    }
    case kTabControl:
      PrepareTabControl(control);
      break;
    case kStatic:
      if (SendMessageA(control, WM_GETFONT, 0, 0) == 0) {
        PostMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(SKDEFAULTFONT()), TRUE);
      }
      break;
    case kTreeView:
      PrepareTree(control);
      break;
    case kListView:
      PrepareListView(control);
      break;
    default:
      break;
  }
}

int32_t PaintControlBorder(HWND window, HDC dc) {
  if (SkinnedControls().empty()) return 0;
  const ControlRecord* record = FindControlRecord(window);
  const bool isStatus = record != nullptr && record->kind == kStatusBar;
  const Colour a = static_cast<Colour>(SKGETSYSCOLOR(isStatus ? 121 : 118));
  const Colour b = static_cast<Colour>(SKGETSYSCOLOR(isStatus ? 122 : 119));
  const std::vector<BorderRing> rings =
      BorderRings(static_cast<uint32_t>(GetWindowLongA(window, GWL_STYLE)),
                  static_cast<uint32_t>(GetWindowLongA(window, GWL_EXSTYLE)), a, b);
  if (rings.empty()) return 0;
  HDC own = dc == nullptr ? GetWindowDC(window) : nullptr;
  HDC target = dc != nullptr ? dc : own;
  if (target == nullptr) return 0;
  const SIZE size = WindowSize(window);
  int32_t n = 0;
  for (const BorderRing& ring : rings) {
    SKDRAWRECT3D(target, n, n, size.cx - 2 * n, size.cy - 2 * n, static_cast<int32_t>(ring.topLeft),
                 static_cast<int32_t>(ring.bottomRight));
    ++n;
  }
  if (own != nullptr) ReleaseDC(window, own);
  return n;
}

void PaintGroupBox(HWND window, HDC dc) {
  const std::string title = ControlText(window);
  HFONT font = FontOf(window);
  int32_t textWidth = 0;
  int32_t textHeight = 0;
  SKGETFULLTEXTEXTENT(dc, font, title.empty() ? "W" : title.c_str(), &textWidth, &textHeight);
  if (title.empty()) textWidth = 0;
  RECT client = {};
  GetClientRect(window, &client);
  const int w = client.right;
  const int h = client.bottom;
  const GroupFrame frame = GroupFrameOf(textWidth, textHeight, !title.empty());
  const int32_t light = SKGETSYSCOLOR(119);
  const int32_t dark = SKGETSYSCOLOR(118);
  // Three outlines: light, light one pixel inside, dark.
  const struct {
    int inset;
    int32_t colour;
    int gapLeft;
  } outlines[] = {{0, light, frame.gapLeft}, {1, light, frame.gapLeft - 1}, {0, dark, frame.gapLeft}};
  for (const auto& o : outlines) {
    const int left = o.inset;
    const int top = frame.top + o.inset;
    const int right = w - 1 - (o.colour == dark ? 1 : 0) - o.inset;
    const int bottom = h - 1 - (o.colour == dark ? 1 : 0) - o.inset;
    if (frame.hasGap) {
      SKLINE(dc, left, top, left + o.gapLeft, top, o.colour, 0, 1);
      SKLINE(dc, left + frame.gapRight, top, right + 1, top, o.colour, 0, 1);
    } else {
      SKLINE(dc, left, top, right + 1, top, o.colour, 0, 1);
    }
    SKLINE(dc, left, top, left, bottom + 1, o.colour, 0, 1);
    SKLINE(dc, right, top, right, bottom + 1, o.colour, 0, 1);
    SKLINE(dc, left, bottom, right + 1, bottom, o.colour, 0, 1);
  }
  if (!title.empty()) {
    int32_t ox = 0;
    int32_t oy = 0;
    skChildOffset(window, &ox, &oy);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, 10, 0, 10 + textWidth, textHeight);
    TileAtOffset(dc, ox, oy, w, textHeight, SKCTLBACK());
    RestoreDC(dc, saved);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, SkinColour(113));
    TextOutA(dc, 10, 0, title.c_str(), static_cast<int>(title.size()));
    SelectObject(dc, old);
  }
  PaintControlBorder(window, nullptr);
}

void TileAtOffset(HDC dc, int32_t ox, int32_t oy, int32_t width, int32_t height, HBITMAP tile) {
  if (tile == nullptr || SKTILEBLT(dc, -ox, -oy, width + ox, height + oy, tile) == 0) {
    SKFILLRECT(dc, 0, 0, width, height, SKGETSYSCOLOR(112));
  }
}

bool DrawListBoxItem(HWND, const DRAWITEMSTRUCT* item) {
  if (item == nullptr || item->hDC == nullptr) return false;
  RECT rect = item->rcItem;
  if (item->itemID == static_cast<UINT>(-1)) {
    if (item->itemState & ODS_FOCUS) DrawFocusRect(item->hDC, &rect);
    return true;
  }
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  SKFILLRECT(item->hDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
             SKGETSYSCOLOR(selected ? 114 : 104));
  const std::string text = themecore::FetchText([item](char* out, int32_t size) {
    return SKGETTEXTLISTBOX(item->hwndItem, static_cast<int32_t>(item->itemID), out, size);
  });
  SetBkMode(item->hDC, TRANSPARENT);
  SetTextColor(item->hDC, SkinColour(selected ? 115 : 101));
  TextOutA(item->hDC, rect.left, rect.top, text.c_str(), static_cast<int>(text.size()));
  if (item->itemState & ODS_FOCUS) DrawFocusRect(item->hDC, &rect);
  return true;
}

bool AnswerDrawItem(HWND window, WNDPROC previous, WPARAM wParam, DRAWITEMSTRUCT* item, LRESULT* result) {
  switch (item->CtlType) {
    case ODT_MENU:
      if (DrawMenuItem(window, item)) {
        *result = 1;
        return true;
      }
      return false;
    case ODT_LISTBOX: {
      const ControlRecord* control = FindControlRecord(item->hwndItem);
      if (control != nullptr && control->kind == kListBox && DrawListBoxItem(window, item)) {
        *result = 1;
        return true;
      }
      return false;
    }
    case ODT_BUTTON: {
      const ControlRecord* control = FindControlRecord(item->hwndItem);
      const bool hostDraws = control != nullptr && control->kind > 999;
      if (hostDraws) {
        *result = CallWindowProcA(previous, window, WM_DRAWITEM, wParam, reinterpret_cast<LPARAM>(item));
      } else {
        *result = SKDRAWITEM(item);
      }
      WindowRecordPtr owner = FindWindowRecord(TopLevelOwner(item->hwndItem));
      if (owner != nullptr && owner->effect == kEffectSnapshotLater) CopyToFrameBitmap(owner, item->hwndItem);
      return true;
    }
    default:
      return false;
  }
}

HBRUSH AnswerControlColourStatic(HWND control, HDC dc, bool tileUnder) {
  HBRUSH brush = SKCTLCOLORSTATIC(dc, control);
  if (tileUnder && brush == GetStockObject(NULL_BRUSH)) SKTILEBACK(control, dc);
  if (SKCHECKCOLORPROPERTY(control) == 0) SetTextColor(dc, SkinColour(113));
  return brush;
}

}  // namespace skinning
