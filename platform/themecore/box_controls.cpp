// The controls of boxes and panels as the engine helps with them: list,
// combo and edit helpers, 3-D edges, owner-drawn items in skin colours,
// static colours, group boxes, bitmap files, the work area, the panel
// images of the skin, tooltips removed and per-window resources freed.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "engine_internal.h"
#include "engine_state.h"
#include "output_buffer.h"
#include "themecore_popup.h"
#include "trace_writer.h"
#include "ui_internal.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";

// BDR_* bits of an edge: the outer ring, then the inner one.
constexpr int32_t kRaisedOuter = 1;
constexpr int32_t kSunkenOuter = 2;
constexpr int32_t kRaisedInner = 4;
constexpr int32_t kSunkenInner = 8;

// One ring of an edge; only the sides asked for are drawn.
void DrawRing(HDC dc, RECT rect, COLORREF topLeft, COLORREF bottomRight, int32_t sides) {
  if (sides & BF_LEFT) FillSolid(dc, {rect.left, rect.top, rect.left + 1, rect.bottom}, topLeft);
  if (sides & BF_TOP) FillSolid(dc, {rect.left, rect.top, rect.right, rect.top + 1}, topLeft);
  if (sides & BF_RIGHT) FillSolid(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
  if (sides & BF_BOTTOM) FillSolid(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
}

bool DrawSkinEdge(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, int32_t edge,
                  int32_t sides) {
  if (dc == nullptr || width <= 0 || height <= 0) return false;
  const COLORREF light = SkinColour(colour::kLight);
  const COLORREF shadow = SkinColour(colour::kShadow);
  RECT rect = {x, y, x + width, y + height};
  if (edge & (kRaisedOuter | kSunkenOuter)) {
    const bool raised = (edge & kRaisedOuter) != 0;
    DrawRing(dc, rect, raised ? light : shadow, raised ? shadow : light, sides);
    InflateRect(&rect, -1, -1);
  }
  if (edge & (kRaisedInner | kSunkenInner)) {
    const bool raised = (edge & kRaisedInner) != 0;
    DrawRing(dc, rect, raised ? light : shadow, raised ? shadow : light, sides);
  }
  return true;
}

std::string ItemText(HWND control, int32_t index, bool isCombo) {
  if (control == nullptr || !IsWindow(control) || index < 0) return std::string();
  const UINT lengthMessage = isCombo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  const UINT textMessage = isCombo ? CB_GETLBTEXT : LB_GETTEXT;
  const LRESULT length = SendMessageA(control, lengthMessage, static_cast<WPARAM>(index), 0);
  if (length < 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(control, textMessage, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  if (copied < 0) return std::string();
  text.resize(static_cast<size_t>(copied));
  return text;
}

bool DrawListItem(const DRAWITEMSTRUCT* item) {
  if (item == nullptr) return false;
  const bool isCombo = item->CtlType == ODT_COMBOBOX;
  if (!isCombo && item->CtlType != ODT_LISTBOX) return false;
  HDC dc = item->hDC;
  RECT rect = item->rcItem;
  if (static_cast<int>(item->itemID) < 0) {
    if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &rect);
    return true;
  }
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  const COLORREF back = SkinColour(selected ? colour::kHighlightBack : colour::kControlBack);
  const COLORREF text = SkinColour(selected ? colour::kHighlightText : colour::kControlText);
  FillSolid(dc, rect, back);
  const std::string label = ItemText(item->hwndItem, static_cast<int32_t>(item->itemID), isCombo);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldText = SetTextColor(dc, text);
  TextOutA(dc, rect.left, rect.top, label.c_str(), static_cast<int>(label.size()));
  SetTextColor(dc, oldText);
  SetBkMode(dc, oldMode);
  if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &rect);
  return true;
}

HBRUSH StaticColour(HDC dc, HWND control) {
  LRESULT brush = 0;
  if (AnswerControlColour(WM_CTLCOLORSTATIC, dc, control, false, &brush)) {
    return reinterpret_cast<HBRUSH>(brush);
  }
  SetTextColor(dc, SkinColour(colour::kBoxText));
  SetBkMode(dc, TRANSPARENT);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

HWND MakeGroupBox(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height,
                  const char* caption, HFONT font, int32_t textColour) {
  if (parent == nullptr || !IsWindow(parent)) return nullptr;
  HWND box = CreateWindowExA(WS_EX_TRANSPARENT, "BUTTON", caption != nullptr ? caption : "",
                             WS_CHILD | WS_VISIBLE | BS_GROUPBOX, x, y, width, height, parent, nullptr,
                             EngineInstance(), nullptr);
  if (box == nullptr) return nullptr;
  SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font != nullptr ? font : SkinCaptionFont()), TRUE);
  SKSETCOLOR(box, textColour, -1);
  // Below the controls it groups, so it never paints over them.
  SetWindowPos(box, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return box;
}

int32_t FreeColoursBelow(HWND window) {
  if (window == nullptr || !IsWindow(window)) return 0;
  int32_t freed = 0;
  if (ColoursOf(window) != nullptr) {
    FreeColours(window);
    ++freed;
  }
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    freed += FreeColoursBelow(child);
  }
  return freed;
}

}  // namespace

}  // namespace themecore

using themecore::engine::HandleText;
using themecore::kLibrary;

THEMECORE_API int32_t __stdcall SKADDSTRINGLISTBOX(HWND list, const char* text) {
  try {
    int32_t index = LB_ERR;
    if (list != nullptr && IsWindow(list)) {
      index = static_cast<int32_t>(
          SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : "")));
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKADDSTRINGLISTBOX").Raw(HandleText(list)).Text(text),
                        index);
    return index;
  } catch (...) {
    return LB_ERR;
  }
}

THEMECORE_API int32_t __stdcall SKGETTEXTCOMBO(HWND combo, int32_t index, char* out, int32_t outSize) {
  try {
    return themecore::engine::ReturnTextOut(
        orbtrace::CallLine(kLibrary, "SKGETTEXTCOMBO").Raw(HandleText(combo)).Number(index),
        themecore::ItemText(combo, index, true), out, outSize);
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKGETTEXTLISTBOX(HWND list, int32_t index, char* out, int32_t outSize) {
  try {
    return themecore::engine::ReturnTextOut(
        orbtrace::CallLine(kLibrary, "SKGETTEXTLISTBOX").Raw(HandleText(list)).Number(index),
        themecore::ItemText(list, index, false), out, outSize);
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKLIMITTEXTEDIT(HWND edit, int32_t limit) {
  try {
    int32_t result = 0;
    if (edit != nullptr && IsWindow(edit)) {
      SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(limit > 0 ? limit : 0), 0);
      result = 1;
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKLIMITTEXTEDIT").Raw(HandleText(edit)).Number(limit),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKDRAWEDGE(HDC dc, int32_t x, int32_t y, int32_t width,
                                           int32_t height, int32_t edge, int32_t sides) {
  try {
    const int32_t result = themecore::DrawSkinEdge(dc, x, y, width, height, edge, sides) ? 1 : 0;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKDRAWEDGE")
                            .Raw(HandleText(dc))
                            .Number(x)
                            .Number(y)
                            .Number(width)
                            .Number(height)
                            .Number(edge)
                            .Number(sides),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

// Called for every owner-drawn item a box paints: not traced.
THEMECORE_API int32_t __stdcall SKDRAWITEM(const DRAWITEMSTRUCT* item) {
  try {
    return themecore::DrawListItem(item) || themecore::DrawButtonItem(item) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

// Called at every repaint of a static: not traced.
THEMECORE_API HBRUSH __stdcall SKCTLCOLORSTATIC(HDC dc, HWND control) {
  try {
    return themecore::StaticColour(dc, control);
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HWND __stdcall SKGROUPBOX(HWND parent, int32_t x, int32_t y, int32_t width,
                                        int32_t height, const char* caption, HFONT font,
                                        int32_t colour) {
  try {
    HWND box = themecore::MakeGroupBox(parent, x, y, width, height, caption, font, colour);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKGROUPBOX")
                            .Raw(HandleText(parent))
                            .Number(x)
                            .Number(y)
                            .Number(width)
                            .Number(height)
                            .Text(caption)
                            .Raw(HandleText(font))
                            .Number(colour),
                        HandleText(box));
    return box;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HBITMAP __stdcall SKLOADIMAGE(const char* path) {
  try {
    HBITMAP image = nullptr;
    if (path != nullptr && path[0] != '\0') {
      image = static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKLOADIMAGE").Text(path), HandleText(image));
    return image;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKGETWORKAREA(int32_t* left, int32_t* top, int32_t* width,
                                              int32_t* height) {
  try {
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    if (left != nullptr) *left = area.left;
    if (top != nullptr) *top = area.top;
    if (width != nullptr) *width = area.right - area.left;
    if (height != nullptr) *height = area.bottom - area.top;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKGETWORKAREA")
                            .Raw(std::to_string(area.left) + "," + std::to_string(area.top) + "," +
                                 std::to_string(area.right - area.left) + "x" +
                                 std::to_string(area.bottom - area.top)),
                        1);
    return 1;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API HBITMAP __stdcall SKPANELCHILDXY(int32_t id, int32_t* x, int32_t* y, int32_t layout) {
  try {
    const std::string name = "panel" + std::to_string(id);
    HBITMAP image = themecore::SkinBitmap(name.c_str());
    if (x != nullptr) *x = 0;
    if (y != nullptr) *y = 0;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKPANELCHILDXY").Number(id).Number(layout),
                        HandleText(image));
    return image;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKREMOVETIP(HWND parent, HWND control) {
  try {
    const int32_t result = SKBUTTONTIP(parent, control, "");
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKREMOVETIP").Raw(HandleText(parent)).Raw(HandleText(control)),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKFREEOBJECTCOLOR(HWND window) {
  try {
    const int32_t freed = themecore::FreeColoursBelow(window);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKFREEOBJECTCOLOR").Raw(HandleText(window)), freed);
    return freed;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKFREEOBJECTFONT(HWND window) {
  const int32_t result = window != nullptr && IsWindow(window) ? 1 : 0;
  orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKFREEOBJECTFONT").Raw(HandleText(window)), result);
  return result;
}

THEMECORE_API int32_t __stdcall SKFREECHECKBUTTON(HWND window) {
  const int32_t result = window != nullptr && IsWindow(window) ? 1 : 0;
  orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKFREECHECKBUTTON").Raw(HandleText(window)), result);
  return result;
}
