// How a skinned child control looks and answers, by kind: the skin's
// control background tiled so that it continues the window's, the skin's
// glyphs for check boxes and radio buttons, skin colours for trees, tabs
// and headers, toolbars, track bars and status bars laid over the skin's
// images, skinned borders.  Called from ControlWindowProc (controls.cpp)
// for every message of a control that is not shown from its window's
// picture.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/control_kinds.h"
#include "core/control_looks.h"
#include "core/opening_effects.h"
#include "library_state.h"
#include "themeapi.h"
#include "themecore.h"
#include "themecore_looks.h"
#include "themecore_popup.h"
#include "themecore_wait.h"

namespace skinning {

namespace {

COLORREF SkinColour(int32_t n) { return static_cast<COLORREF>(SKGETSYSCOLOR(n)); }

LRESULT CallPreviousProc(const ControlRecord& control, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(control.previousProc, control.window, message, wParam, lParam);
}

SIZE ClientSize(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

POINT OffsetOf(HWND window) {
  int32_t x = 0;
  int32_t y = 0;
  skChildOffset(window, &x, &y);
  return {x, y};
}

// A double buffer over a DC: the engine's when it can give one, else the DC
// itself (the engine keeps one buffer per thread).
class Buffer {
 public:
  Buffer(HDC dc, int width, int height) : dc_(dc) {
    buffer_ = width > 0 && height > 0 ? SKOFFSCREEN(dc, width, height, 1) : nullptr;
  }
  ~Buffer() {
    if (buffer_ != nullptr) SKOFFSCREEN(nullptr, 0, 0, 0);
  }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  HDC dc() const { return buffer_ != nullptr ? buffer_ : dc_; }

 private:
  HDC dc_;
  HDC buffer_ = nullptr;
};

// A memory bitmap the size of a control, filled with one colour.
class Canvas {
 public:
  Canvas(HDC reference, int width, int height, COLORREF fill) {
    dc_ = CreateCompatibleDC(reference);
    bitmap_ = dc_ != nullptr && width > 0 && height > 0 ? CreateCompatibleBitmap(reference, width, height) : nullptr;
    if (bitmap_ != nullptr) {
      old_ = SelectObject(dc_, bitmap_);
      RECT all = {0, 0, width, height};
      HBRUSH brush = CreateSolidBrush(fill);
      FillRect(dc_, &all, brush);
      DeleteObject(brush);
    }
  }
  ~Canvas() {
    if (old_ != nullptr) SelectObject(dc_, old_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC dc() const { return bitmap_ != nullptr ? dc_ : nullptr; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// The tab and header colours' shades, worked out once per process.
struct TabColours {
  Shades selected;    // of colour 103
  Shades unselected;  // of colour 104
};
const TabColours& ComputeTabColours() {
  static const TabColours colours = {ShadesOf(static_cast<Colour>(SKGETSYSCOLOR(103))),
                                     ShadesOf(static_cast<Colour>(SKGETSYSCOLOR(104)))};
  return colours;
}

void Line(HDC dc, int x1, int y1, int x2, int y2, Colour colour) {
  SKLINE(dc, x1, y1, x2, y2, static_cast<int32_t>(colour), 0, 1);
}

// --- toolbars, track bars, status bars: the control's own picture laid
// over the skin's image, its button-face pixels left out.

std::string StatusPartText(HWND status, int part) {
  const LRESULT lengths = SendMessageA(status, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0);
  const size_t length = LOWORD(lengths);
  std::string text(length + 1, '\0');
  SendMessageA(status, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
  text.resize(strnlen(text.c_str(), length));
  return text;
}

LRESULT PaintOverImage(const ControlRecord& control, UINT message, HDC dc, LPARAM lParam) {
  const SIZE size = ClientSize(control.window);
  const POINT offset = OffsetOf(control.window);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  Buffer buffer(dc, size.cx, size.cy);
  Canvas picture(dc, size.cx, size.cy, face);
  const LRESULT result =
      CallPreviousProc(control, message, reinterpret_cast<WPARAM>(picture.dc() != nullptr ? picture.dc() : dc), lParam);
  if (picture.dc() == nullptr) return result;
  const bool isStatus = control.kind == kStatusBar;
  // An opaque toolbar and a status bar line their image up two pixels
  // further left, under their raised left edge.
  const int shift = control.kind == kToolbar && control.transparent == 0 ? 2 : isStatus ? 2 : 0;
  struct Part {
    RECT rect;
    std::string text;
  };
  std::vector<Part> parts;
  if (isStatus) {
    const int count = std::clamp(static_cast<int>(SendMessageA(control.window, SB_GETPARTS, 0, 0)), 0, 256);
    for (int i = 0; i < count; ++i) {
      Part part;
      part.text = StatusPartText(control.window, i);
      SendMessageA(control.window, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&part.rect));
      if (part.text.empty()) continue;
      // The system's text is covered: the library writes it in the skin's colour.
      RECT cover = {part.rect.left + 2, 3, part.rect.right - 1, part.rect.bottom - 1};
      HBRUSH brush = CreateSolidBrush(face);
      FillRect(picture.dc(), &cover, brush);
      DeleteObject(brush);
      parts.push_back(part);
    }
  }
  TileAtOffset(buffer.dc(), offset.x + shift, offset.y, size.cx, size.cy, isStatus ? SKSTATUSBACK() : SKCTLBACK());
  SKTRANSBLT(buffer.dc(), 0, 0, size.cx, size.cy, picture.dc(), 0, 0, static_cast<int32_t>(face));
  if (isStatus) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control.window, WM_GETFONT, 0, 0));
    HGDIOBJ old = font != nullptr ? SelectObject(buffer.dc(), font) : nullptr;
    SetBkMode(buffer.dc(), TRANSPARENT);
    SetTextColor(buffer.dc(), SkinColour(120));
    for (Part& part : parts) {
      RECT rect = {part.rect.left + 2, 2, part.rect.right, part.rect.bottom};
      DrawTextA(buffer.dc(), part.text.c_str(), static_cast<int>(part.text.size()), &rect,
                DT_VCENTER | DT_SINGLELINE);
    }
    if (old != nullptr) SelectObject(buffer.dc(), old);
  }
  return result;
}

// --- check boxes and radio buttons

void DrawGlyph(HWND window, HDC dc, int32_t kind, int32_t frame) {
  HBITMAP glyph = kind == kCheckBox ? SKCHECKBUT() : SKRADIOBUT();
  int32_t width = 0;
  int32_t height = 0;
  if (glyph == nullptr || !SKGETPIXMAPSIZE(glyph, &width, &height) || width < 4) return;
  const int32_t frameWidth = width / 4;
  const SIZE size = WindowSize(window);
  const POINT offset = OffsetOf(window);
  const int32_t strip = GlyphStripWidth(frameWidth, kind == kRadioButton);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, 0, 0, strip, size.cy);
  TileAtOffset(dc, offset.x, offset.y, strip, size.cy, SKCTLBACK());
  RestoreDC(dc, saved);
  SKTRANSBLT(dc, 0, GlyphTop(size.cy, height), frameWidth, height, reinterpret_cast<HDC>(glyph),
             frame * frameWidth, 0, 0xFF00FF);
}

void PaintCheckOrRadio(const ControlRecord& control, UINT message, HDC dc, LPARAM lParam) {
  const int32_t frame =
      GlyphFrameOfCheck(static_cast<uint32_t>(CallPreviousProc(control, BM_GETCHECK, 0, 0)));
  const SIZE size = ClientSize(control.window);
  const POINT offset = OffsetOf(control.window);
  Buffer buffer(dc, size.cx, size.cy);
  TileAtOffset(buffer.dc(), offset.x, offset.y, size.cx, size.cy, SKCTLBACK());
  CallPreviousProc(control, message, reinterpret_cast<WPARAM>(buffer.dc()), lParam);
  DrawGlyph(control.window, buffer.dc(), control.kind, frame);
}

void RedrawGlyph(const ControlRecord& control, int32_t frame) {
  if (control.kind != kCheckBox && control.kind != kRadioButton) return;
  HDC dc = GetDC(control.window);
  if (dc == nullptr) return;
  DrawGlyph(control.window, dc, control.kind, frame);
  ReleaseDC(control.window, dc);
}

// --- tab controls

void PaintTabs(const ControlRecord& control, HDC dc) {
  const TabColours& colours = ComputeTabColours();
  const int count = static_cast<int>(CallPreviousProc(control, TCM_GETITEMCOUNT, 0, 0));
  const int selected = static_cast<int>(CallPreviousProc(control, TCM_GETCURSEL, 0, 0));
  const SIZE window = WindowSize(control.window);
  const SIZE size = ClientSize(control.window);
  RECT display = {0, 0, window.cx, window.cy};
  CallPreviousProc(control, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const int band = std::max<int>(0, display.top);
  // Set once: a tab control lays its tabs out again for a new font, which
  // would ask for another paint.
  HFONT captionFont = SKCAPTIONFONT();
  if (reinterpret_cast<HFONT>(CallPreviousProc(control, WM_GETFONT, 0, 0)) != captionFont) {
    CallPreviousProc(control, WM_SETFONT, reinterpret_cast<WPARAM>(captionFont), FALSE);
  }
  const POINT offset = OffsetOf(control.window);
  {
    Buffer buffer(dc, size.cx, band);
    HDC target = buffer.dc();
    TileAtOffset(target, offset.x, offset.y, size.cx, band, SKCTLBACK());
    HGDIOBJ old = SelectObject(target, reinterpret_cast<HFONT>(CallPreviousProc(control, WM_GETFONT, 0, 0)));
    SetBkMode(target, TRANSPARENT);
    for (int i = 0; i < count; ++i) {
      char text[260] = {};
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof(text);
      CallPreviousProc(control, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      RECT rect = {};
      CallPreviousProc(control, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect));
      if (i == selected) {
        OffsetRect(&rect, 0, 2);
        const Shades& s = colours.selected;
        SKFILLRECT(target, rect.left, rect.top - 2, rect.right - rect.left, rect.bottom - rect.top + 2,
                   SKGETSYSCOLOR(103));
        Line(target, rect.left, rect.bottom, rect.left, rect.top - 2, s.lighter);
        Line(target, rect.left, rect.top - 2, rect.right, rect.top - 2, s.lighter);
        Line(target, rect.left + 1, rect.bottom, rect.left + 1, rect.top - 1, s.middle);
        Line(target, rect.left + 1, rect.top - 1, rect.right - 1, rect.top - 1, s.middle);
        Line(target, rect.right - 2, rect.top - 1, rect.right - 2, rect.bottom, s.darker);
        Line(target, rect.right - 1, rect.top - 2, rect.right - 1, rect.bottom, s.darkest);
        SetTextColor(target, SkinColour(101));
      } else {
        OffsetRect(&rect, 0, 3);
        const Shades& s = colours.unselected;
        SKFILLRECT(target, rect.left + 2, rect.top + 2, rect.right - rect.left - 4, rect.bottom - rect.top - 2,
                   SKGETSYSCOLOR(104));
        if (i != selected + 1) Line(target, rect.left, rect.bottom, rect.left, rect.top, s.lighter);
        Line(target, rect.left, rect.top, rect.right - 1, rect.top, s.lighter);
        Line(target, rect.right - 2, rect.top + 1, rect.right - 2, rect.bottom, s.darker);
        Line(target, rect.right - 1, rect.top, rect.right - 1, rect.bottom, s.darkest);
        SetTextColor(target, SkinColour(102));
      }
      DrawTextA(target, text, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(target, old);
  }
  SKDRAWRECT3D(dc, 0, band - 2, window.cx, window.cy - band + 2, SKGETSYSCOLOR(119), SKGETSYSCOLOR(118));
  SKDRAWRECT3D(dc, 1, band - 1, window.cx - 2, window.cy - band, SKGETSYSCOLOR(119), SKGETSYSCOLOR(118));
}

// --- tree views: the tree's picture laid over colour 104, the selection
// in the skin's highlight colours.

LRESULT PaintTree(const ControlRecord& control, UINT message, HDC dc, LPARAM lParam) {
  const SIZE size = ClientSize(control.window);
  const COLORREF back = static_cast<COLORREF>(CallPreviousProc(control, TVM_GETBKCOLOR, 0, 0));
  Buffer buffer(dc, size.cx, size.cy);
  Canvas picture(dc, size.cx, size.cy, back);
  if (picture.dc() == nullptr) return CallPreviousProc(control, message, reinterpret_cast<WPARAM>(dc), lParam);
  SetBkMode(picture.dc(), TRANSPARENT);
  const LRESULT result = CallPreviousProc(control, message, reinterpret_cast<WPARAM>(picture.dc()), lParam);
  SKFILLRECT(buffer.dc(), 0, 0, size.cx, size.cy, SKGETSYSCOLOR(104));
  const auto caret = reinterpret_cast<HTREEITEM>(CallPreviousProc(control, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (caret != nullptr) {
    // TVM_GETITEMRECT takes the item in the rectangle's first bytes.
    RECT rect = {};
    memcpy(&rect, &caret, sizeof(caret));
    if (CallPreviousProc(control, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect))) {
      char text[260] = {};
      TVITEMA item = {};
      item.mask = TVIF_TEXT | TVIF_HANDLE;
      item.hItem = caret;
      item.pszText = text;
      item.cchTextMax = sizeof(text);
      CallPreviousProc(control, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
      SKFILLRECT(buffer.dc(), 0, rect.top, size.cx, rect.bottom - rect.top, SKGETSYSCOLOR(114));
      SKFILLRECT(picture.dc(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SKGETSYSCOLOR(114));
      HFONT font = reinterpret_cast<HFONT>(CallPreviousProc(control, WM_GETFONT, 0, 0));
      SKPRINT(picture.dc(), text, rect.left + 2, rect.top + 1, SKGETSYSCOLOR(115), SKGETSYSCOLOR(114),
              font != nullptr ? font : SKDEFAULTFONT());
    }
  }
  SKTRANSBLT(buffer.dc(), 0, 0, size.cx, size.cy, picture.dc(), 0, 0, static_cast<int32_t>(back & 0xFFFFFF));
  return result;
}

// --- headers, drawn by the library

void PaintHeader(const ControlRecord& control, UINT message, HDC dc) {
  const TabColours& colours = ComputeTabColours();
  const SIZE size = ClientSize(control.window);
  Buffer buffer(dc, size.cx, size.cy);
  HDC target = buffer.dc();
  const Shades& face = colours.selected;
  const Shades& pressedFace = colours.unselected;
  SKFILLRECT(target, 2, 2, size.cx - 4, size.cy, SKGETSYSCOLOR(103));
  SKDRAWRECT3D(target, 0, 0, size.cx, size.cy, static_cast<int32_t>(face.lighter), static_cast<int32_t>(face.darkest));
  SKDRAWRECT3D(target, 1, 1, size.cx - 2, size.cy - 2, static_cast<int32_t>(face.middle),
               static_cast<int32_t>(face.darker));
  HFONT font = reinterpret_cast<HFONT>(CallPreviousProc(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(target, font != nullptr ? font : SKDEFAULTFONT());
  SetBkMode(target, TRANSPARENT);
  SetTextColor(target, SkinColour(101));
  const int count = static_cast<int>(CallPreviousProc(control, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[260] = {};
    HDITEMA item = {};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    CallPreviousProc(control, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    RECT rect = {};
    CallPreviousProc(control, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect));
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    RECT textRect;
    if (control.pressedHeaderItem == i + 1) {
      SKFILLRECT(target, rect.left + 1, rect.top + 1, w - 2, h - 2, SKGETSYSCOLOR(104));
      SKDRAWRECT3D(target, rect.left, rect.top, w, h, static_cast<int32_t>(pressedFace.darker),
                   static_cast<int32_t>(pressedFace.darkest));
      textRect = {rect.left + 7, rect.top + 3, rect.right - 5, rect.bottom + 1};
    } else {
      SKFILLRECT(target, rect.left + 2, rect.top + 2, w - 4, h - 4, SKGETSYSCOLOR(103));
      SKDRAWRECT3D(target, rect.left, rect.top, w, h, static_cast<int32_t>(face.lighter),
                   static_cast<int32_t>(face.darkest));
      SKDRAWRECT3D(target, rect.left + 1, rect.top + 1, w - 2, h - 2, static_cast<int32_t>(face.middle),
                   static_cast<int32_t>(face.darker));
      textRect = {rect.left + 6, rect.top + 2, rect.right - 6, rect.bottom};
    }
    UINT format = DT_VCENTER | DT_SINGLELINE;
    if (item.fmt & HDF_RIGHT) format |= DT_RIGHT;
    else if (item.fmt & HDF_CENTER) format |= DT_CENTER;
    DrawTextA(target, text, -1, &textRect, format);
  }
  SelectObject(target, old);
  if (message != WM_PRINTCLIENT) return;
  // Printed into a picture: the corner of a list's vertical scroll bar
  // beside the header.
  HWND parent = GetParent(control.window);
  const int bars = FindControlRecord(parent) != nullptr ? SKCHECKSCROLLBAR(parent) : 0;
  if (bars != 1 && bars != 3) return;
  const int b = std::max(0, PaintControlBorder(parent, nullptr) - 1);
  const int scroll = GetSystemMetrics(SM_CXVSCROLL);
  RECT arrow = {size.cx - scroll - b, 0, size.cx - b, scroll};
  DrawFrameControl(target, &arrow, DFC_SCROLL, DFCS_SCROLLUP);
  Line(target, arrow.left, arrow.bottom, arrow.right, arrow.bottom, GetSysColor(COLOR_BTNFACE));
}

void PaintEtchedStatic(HDC dc, SIZE size) {
  const int32_t light = SKGETSYSCOLOR(119);
  const int32_t dark = SKGETSYSCOLOR(118);
  SKDRAWRECT3D(dc, 0, 0, size.cx, size.cy, light, light);
  SKDRAWRECT3D(dc, 1, 1, size.cx - 1, size.cy - 1, light, light);
  SKDRAWRECT3D(dc, 0, 0, size.cx - 1, size.cy - 1, dark, dark);
}

bool IsEtched(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & 0x12) == 0x12; }

// WM_PAINT and WM_PRINTCLIENT; false for the kinds the control paints alone.
bool Paint(const ControlRecord& control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const int32_t kind = control.kind;
  const bool paintsAlone = kind == kDialog || kind == kMdiClient || kind == kRichEdit || kind == kListBox ||
                           kind == kListView || kind == kOtherControl || kind == kPushButton || kind > 999 ||
                           (kind == kStatic && !IsEtched(control.window));
  if (paintsAlone) return false;
  PAINTSTRUCT paint = {};
  HDC dc = message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : BeginPaint(control.window, &paint);
  if (dc == nullptr) return false;
  *result = 0;
  switch (kind) {
    case kToolbar:
    case kTrackbar:
    case kStatusBar:
      *result = PaintOverImage(control, message, dc, lParam);
      break;
    case kGroupBox:
      PaintGroupBox(control.window, dc);
      break;
    case kCheckBox:
    case kRadioButton:
      PaintCheckOrRadio(control, message, dc, lParam);
      break;
    case kTabControl:
      PaintTabs(control, dc);
      break;
    case kStatic:
      PaintEtchedStatic(dc, ClientSize(control.window));
      break;
    case kTreeView:
      *result = PaintTree(control, message, dc, lParam);
      break;
    case kHeader:
      PaintHeader(control, message, dc);
      break;
    default:
      break;
  }
  if (message != WM_PRINTCLIENT) EndPaint(control.window, &paint);
  return true;
}

bool EraseBackground(const ControlRecord& control, HDC dc, LRESULT* result) {
  const SIZE size = ClientSize(control.window);
  const POINT offset = OffsetOf(control.window);
  switch (control.kind) {
    case kStatusBar:
    case kGroupBox:
    case kTrackbar:
      *result = 1;
      return true;
    case kTabControl:
    case kDialog:
      TileAtOffset(dc, offset.x, offset.y, size.cx, size.cy, SKCTLBACK());
      *result = 1;
      return true;
    case kStatic: {
      if (!IsEtched(control.window)) return false;
      Buffer buffer(dc, size.cx, size.cy);
      TileAtOffset(buffer.dc(), offset.x, offset.y, size.cx, size.cy, SKCTLBACK());
      *result = 1;
      return true;
    }
    case kTreeView:
      SKFILLRECT(dc, 0, 0, size.cx, size.cy, SKGETSYSCOLOR(104));
      *result = 1;
      return true;
    default:
      return false;
  }
}

bool NcPaint(const ControlRecord& control, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HWND window = control.window;
  *result = 0;
  switch (control.kind) {
    case kMdiClient:
    case kStatusBar:
    case kStatic:
      return PaintControlBorder(window, nullptr) > 0;
    case kToolbar:
      *result = CallPreviousProc(control, WM_NCPAINT, wParam, lParam);
      PaintControlBorder(window, nullptr);
      return true;
    case kTabControl:
      return true;
    default: {
      const int32_t width = PaintControlBorder(window, nullptr);
      if (SKCHECKSCROLLBAR(window) != 0) {
        *result = CallPreviousProc(control, WM_NCPAINT, wParam, lParam);
        PaintControlBorder(window, nullptr);
        return true;
      }
      return width > 0;
    }
  }
}

// Header items pressed by the mouse: drawn pressed while the button is held
// on them.
HCURSOR g_headerCursor = nullptr;

void TrackHeaderMouse(const ControlRecord& control, UINT message, WPARAM wParam, LPARAM lParam) {
  HDHITTESTINFO hit = {};
  hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const int item = static_cast<int>(CallPreviousProc(control, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  int32_t pressed = control.pressedHeaderItem;
  const bool onHeader = (hit.flags & HHT_ONHEADER) != 0 && item >= 0;
  if (message == WM_LBUTTONDOWN) {
    if (onHeader) {
      pressed = item + 1;
      g_headerCursor = GetCursor();
    }
  } else if (message == WM_MOUSEMOVE) {
    if (onHeader && wParam == MK_LBUTTON && pressed == 0 && GetCursor() == g_headerCursor) {
      pressed = item + 1;
    } else if (!(onHeader && wParam == MK_LBUTTON && pressed == item + 1)) {
      pressed = 0;
    }
  } else {
    pressed = 0;
    g_headerCursor = nullptr;
  }
  for (ControlRecord& record : SkinnedControls()) {
    if (record.window == control.window && record.pressedHeaderItem != pressed) {
      record.pressedHeaderItem = pressed;
      InvalidateRect(control.window, nullptr, FALSE);
    }
  }
}

void SetTooltipColours(LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header == nullptr || header->hwndFrom == nullptr) return;
  char className[32] = {};
  GetClassNameA(header->hwndFrom, className, sizeof(className));
  if (lstrcmpiA(className, "tooltips_class32") != 0) return;
  SendMessageA(header->hwndFrom, TTM_SETTIPTEXTCOLOR, static_cast<WPARAM>(SkinColour(101)), 0);
  SendMessageA(header->hwndFrom, TTM_SETTIPBKCOLOR, static_cast<WPARAM>(SkinColour(104)), 0);
}

}  // namespace

bool HandleControlMessage(const ControlRecord& control, const WindowRecordPtr& owner, UINT message,
                          WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HWND window = control.window;
  const int32_t kind = control.kind;
  switch (message) {
    case WM_INITMENUPOPUP:
    case WM_UNINITMENUPOPUP:
      PreparePopup(window, message, wParam, lParam);
      return false;
    case WM_MEASUREITEM:
      if (wParam == 0 && MeasureMenuItem(window, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
        *result = 1;
        return true;
      }
      return false;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      return item != nullptr && AnswerDrawItem(window, control.previousProc, wParam, item, result);
    }
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      *result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return true;
    case WM_CTLCOLORSTATIC: {
      HWND child = reinterpret_cast<HWND>(lParam);
      if (MaySkin(child) == 0) return false;
      *result = reinterpret_cast<LRESULT>(AnswerControlColourStatic(child, reinterpret_cast<HDC>(wParam), true));
      return true;
    }
    case WM_NOTIFY:
      SetTooltipColours(lParam);
      return false;
    case WM_ENABLE:
      *result = CallPreviousProc(control, message, wParam, lParam);
      InvalidateRect(window, nullptr, TRUE);
      UpdateWindow(window);
      return true;
    case WM_SETTEXT:
      if (kind == kPushButton) {
        SKDELETEMEMBMP(window);
        MakePushButtonPictures(window, reinterpret_cast<const char*>(lParam));
        return false;
      }
      if (kind == kGroupBox) {
        CallPreviousProc(control, WM_SETREDRAW, FALSE, 0);
        *result = CallPreviousProc(control, message, wParam, lParam);
        CallPreviousProc(control, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
        return true;
      }
      return false;
    case WM_SYSKEYDOWN:
      if (owner != nullptr && SendSysKeyToMenuBar(*owner, wParam, lParam)) {
        *result = 0;
        return true;
      }
      return false;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      if (kind == kHeader) TrackHeaderMouse(control, message, wParam, lParam);
      return false;
    case WM_PRINT:
      *result = CallPreviousProc(control, message, wParam, lParam);
      if (owner != nullptr && owner->snapshotDc != nullptr && reinterpret_cast<HDC>(wParam) == owner->snapshotDc) {
        PaintControlBorder(window, reinterpret_cast<HDC>(wParam));
      }
      return true;
    case BM_SETSTATE:
    case BM_SETCHECK: {
      if (kind >= 1000 || kind == kPushButton) return false;
      *result = CallPreviousProc(control, message, wParam, lParam);
      const uint32_t check = static_cast<uint32_t>(CallPreviousProc(control, BM_GETCHECK, 0, 0));
      RedrawGlyph(control, message == BM_SETSTATE ? GlyphFrameOfSetState(wParam != 0, check)
                                                  : GlyphFrameOfSetCheck(static_cast<uint32_t>(wParam)));
      if (owner != nullptr && owner->effect == kEffectSnapshotLater) CopyToFrameBitmap(owner, window);
      return true;
    }
    case WM_ERASEBKGND:
      return EraseBackground(control, reinterpret_cast<HDC>(wParam), result);
    case WM_NCPAINT:
      return NcPaint(control, wParam, lParam, result);
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      const bool done = Paint(control, message, wParam, lParam, result);
      if (done && owner != nullptr && owner->effect == kEffectSnapshotLater) CopyToFrameBitmap(owner, window);
      return done;
    }
    default:
      return false;
  }
}

}  // namespace skinning
