// The text box (class SKFONTBOX): the modal box in which the user writes a
// text object's text and chooses its family, size, colour and shadow, with
// a live preview drawn as the object will be, the system's TrueType
// families each drawn in its own face, and a grid of characters 32-255 of
// the chosen family (class orbCharGrid) with an enlarged viewer of the
// character under its cursor (class orbCharViewer).  The colour row, the
// buttons and the loop are box_parts.cpp's.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/box_rules.h"
#include "core/object_geometry.h"
#include "gdiplus_api.h"
#include "image_functions.h"
#include "object_boxes.h"
#include "overlay_draw.h"
#include "themecore.h"
#include "themecore_looks.h"
#include "themecore_popup.h"

namespace paint {

namespace {

constexpr char kBoxClass[] = "SKFONTBOX";
constexpr char kGridClass[] = "orbCharGrid";
constexpr char kViewerClass[] = "orbCharViewer";
constexpr int32_t kPreviewHeight = 100;
constexpr int32_t kControlsTop = 108;
constexpr int32_t kListWidth = 230;
constexpr int32_t kListHeight = 194;
constexpr int32_t kGridWidth = 576;
constexpr int32_t kGridHeight = 151;
constexpr int32_t kTextLimit = 1023;
constexpr int32_t kUnitPixel = 2;
constexpr int32_t kRenderingHint = 4;

struct TextBoxState {
  HWND box = nullptr, owner = nullptr;
  bool closing = false;
  int32_t result = 0;
  BoxSettingsRecord values;
  HWND fontList = nullptr, fontCaption = nullptr, sizeList = nullptr, sizeCaption = nullptr;
  HWND textField = nullptr, grid = nullptr, viewer = nullptr;
  std::vector<HWND> buttons;
  ColourRow colour;
  HFONT textFont = nullptr, gridFont = nullptr, viewerFont = nullptr;
  HBRUSH listBrush = nullptr;
  int32_t textHeight = 16;
  // The character grid.
  int32_t current = 'A', lastShown = -1;
  ViewerPlace place;
  bool cursorHidden = false;
  HDC gridDc = nullptr;
  HBITMAP gridBitmap = nullptr;
  HGDIOBJ gridPrevious = nullptr;
};

TextBoxState& Box() {
  static TextBoxState state;
  return state;
}

// --- fonts -----------------------------------------------------------------

// A GDI+ font of the family at `pixels`; null (nothing to free) when GDI+
// cannot make the family or the font.
Gdiplus::GpFont* MakeGdiplusFont(const std::string& family, float pixels, Gdiplus::GpFontFamily** familyOut) {
  *familyOut = nullptr;
  const suite::GdiplusApi* api = suite::Gdiplus();
  if (api == nullptr || family.empty()) return nullptr;
  const std::wstring wide = suite::ImgTextToWide(family);
  Gdiplus::GpFontFamily* made = nullptr;
  if (api->GdipCreateFontFamilyFromName(wide.c_str(), nullptr, &made) != suite::kGdiplusOk || made == nullptr) {
    return nullptr;
  }
  Gdiplus::GpFont* font = nullptr;
  if (api->GdipCreateFont(made, pixels, 0, static_cast<Gdiplus::Unit>(kUnitPixel), &font) != suite::kGdiplusOk) {
    api->GdipDeleteFontFamily(made);
    return nullptr;
  }
  *familyOut = made;
  return font;
}

void FreeGdiplusFont(Gdiplus::GpFont* font, Gdiplus::GpFontFamily* family) {
  const suite::GdiplusApi* api = suite::Gdiplus();
  if (api == nullptr) return;
  if (font != nullptr) api->GdipDeleteFont(font);
  if (family != nullptr) api->GdipDeleteFontFamily(family);
}

void DeleteFonts(TextBoxState& s) {
  for (HFONT* font : {&s.textFont, &s.gridFont, &s.viewerFont}) {
    if (*font != nullptr) DeleteObject(*font);
    *font = nullptr;
  }
}

void MakeFonts(TextBoxState& s) {
  DeleteFonts(s);
  s.textFont = CreateBoxFont(s.box, s.values.fontFamily, 16);
  s.gridFont = CreateBoxFont(s.box, s.values.fontFamily, 10);
  s.viewerFont = CreateBoxFont(s.box, s.values.fontFamily, 22);
}

// Only TrueType families that GDI+ can draw are listed.
int CALLBACK AddFontFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM list) {
  if ((type & TRUETYPE_FONTTYPE) == 0 || font->lfFaceName[0] == '@') return 1;
  Gdiplus::GpFontFamily* family = nullptr;
  Gdiplus::GpFont* made = MakeGdiplusFont(font->lfFaceName, 8.0f, &family);
  if (made != nullptr) {
    const auto combo = reinterpret_cast<HWND>(list);
    if (SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(font->lfFaceName)) ==
        CB_ERR) {
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(font->lfFaceName));
    }
  }
  FreeGdiplusFont(made, family);
  return 1;
}

// --- character grid ----------------------------------------------------------

void FreeGridBitmap(TextBoxState& s) {
  if (s.gridDc != nullptr) {
    if (s.gridPrevious != nullptr) SelectObject(s.gridDc, s.gridPrevious);
    DeleteDC(s.gridDc);
  }
  if (s.gridBitmap != nullptr) DeleteObject(s.gridBitmap);
  s.gridDc = nullptr;
  s.gridBitmap = nullptr;
  s.gridPrevious = nullptr;
}

void BuildCharGrid(HWND grid) {
  TextBoxState& s = Box();
  FreeGridBitmap(s);
  RECT client = {};
  GetClientRect(grid, &client);
  const int32_t width = client.right, height = client.bottom;
  HDC dc = GetDC(grid);
  if (dc == nullptr) return;
  s.gridDc = CreateCompatibleDC(dc);
  s.gridBitmap = CreateCompatibleBitmap(dc, std::max(1, width), std::max(1, height));
  ReleaseDC(grid, dc);
  if (s.gridDc == nullptr || s.gridBitmap == nullptr) {
    FreeGridBitmap(s);
    return;
  }
  s.gridPrevious = SelectObject(s.gridDc, s.gridBitmap);
  HGDIOBJ oldFont = SelectObject(s.gridDc, s.gridFont != nullptr ? s.gridFont : SKDEFAULTFONT());
  SKFILLRECT(s.gridDc, 0, 0, width, height, SKGETSYSCOLOR(104));
  HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(SKGETSYSCOLOR(106)));
  HGDIOBJ oldPen = SelectObject(s.gridDc, pen);
  for (int i = 1; i < kGridRows; ++i) {
    MoveToEx(s.gridDc, 0, height * i / kGridRows, nullptr);
    LineTo(s.gridDc, width, height * i / kGridRows);
  }
  for (int i = 1; i < kGridColumns; ++i) {
    MoveToEx(s.gridDc, width * i / kGridColumns, 0, nullptr);
    LineTo(s.gridDc, width * i / kGridColumns, height);
  }
  SelectObject(s.gridDc, oldPen);
  DeleteObject(pen);
  SetTextColor(s.gridDc, static_cast<COLORREF>(SKGETSYSCOLOR(113)));
  SetBkMode(s.gridDc, TRANSPARENT);
  for (int32_t k = kFirstGridChar; k <= kLastGridChar; ++k) {
    const char text[1] = {static_cast<char>(k)};
    SIZE extent = {};
    GetTextExtentPoint32A(s.gridDc, text, 1, &extent);
    const GridPoint at = GridTextOrigin(k, width, height, extent.cx, extent.cy);
    TextOutA(s.gridDc, at.x, at.y, text, 1);
  }
  SelectObject(s.gridDc, oldFont);
}

void PlaceCharViewer(HWND grid) {
  TextBoxState& s = Box();
  if (s.current == s.lastShown) return;
  s.lastShown = s.current;
  RECT client = {}, frame = {};
  GetClientRect(grid, &client);
  GetWindowRect(grid, &frame);
  MapWindowPoints(nullptr, s.box, reinterpret_cast<POINT*>(&frame), 2);
  s.place = PlaceViewer(s.current, frame.left, frame.top, client.right, client.bottom);
  MoveWindow(s.viewer, s.place.viewerX, s.place.viewerY, s.place.viewerWidth, s.place.viewerHeight, TRUE);
  InvalidateRect(s.viewer, nullptr, FALSE);
}

void DrawCharCursor(HDC dc) {
  const TextBoxState& s = Box();
  HPEN pen = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc, s.place.hoverX, s.place.hoverY, s.place.hoverX + s.place.hoverWidth,
            s.place.hoverY + s.place.hoverHeight);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void SetCursorHidden(bool hidden) {
  TextBoxState& s = Box();
  if (s.cursorHidden == hidden) return;
  s.cursorHidden = hidden;
  ShowCursor(hidden ? FALSE : TRUE);
}

void ShowViewer(HWND grid) {
  TextBoxState& s = Box();
  if (IsWindowVisible(s.viewer)) return;
  if (GetFocus() != grid) SetFocus(grid);
  ShowWindow(s.viewer, SW_SHOWNA);
  RepaintWindow(grid, false);
}

void InsertCurrentChar() {
  TextBoxState& s = Box();
  const char text[2] = {static_cast<char>(s.current), '\0'};
  SendMessageA(s.textField, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

void ChooseChar(HWND grid, int32_t character) {
  Box().current = std::clamp(character, kFirstGridChar, kLastGridChar);
  PlaceCharViewer(grid);
}

LRESULT OnGridKey(HWND grid, WPARAM key) {
  GridKey move;
  switch (key) {
    case VK_LEFT:
      move = GridKey::kLeft;
      break;
    case VK_RIGHT:
      move = GridKey::kRight;
      break;
    case VK_UP:
      move = GridKey::kUp;
      break;
    case VK_DOWN:
      move = GridKey::kDown;
      break;
    case VK_RETURN:
      InsertCurrentChar();
      return 0;
    default:
      return 0;
  }
  ChooseChar(grid, MoveGridChar(Box().current, move));
  ShowViewer(grid);
  return 0;
}

LRESULT OnGridButtonDown(HWND grid, LPARAM lParam) {
  TextBoxState& s = Box();
  SetCapture(grid);
  if (!IsWindowVisible(s.viewer)) {
    SetCursorHidden(true);
    SetFocus(grid);
  }
  RECT client = {};
  GetClientRect(grid, &client);
  ChooseChar(grid, GridCharAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), client.right,
                              client.bottom));
  ShowWindow(s.viewer, SW_SHOWNA);
  RepaintWindow(grid, false);
  return 0;
}

LRESULT OnGridMouseMove(HWND grid, WPARAM wParam, LPARAM lParam) {
  if ((wParam & MK_LBUTTON) == 0) return 0;
  RECT client = {};
  GetClientRect(grid, &client);
  const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (!PtInRect(&client, at)) {
    SetCursorHidden(false);
    return 0;
  }
  SetCursorHidden(true);
  ChooseChar(grid, GridCharAt(at.x, at.y, client.right, client.bottom));
  RepaintWindow(grid, false);
  return 0;
}

LRESULT OnGridButtonUp(HWND grid) {
  ReleaseCapture();
  SetCursorHidden(false);
  ShowWindow(Box().viewer, SW_HIDE);
  RepaintWindow(grid, false);
  return 0;
}

LRESULT PaintGrid(HWND grid) {
  const TextBoxState& s = Box();
  PAINTSTRUCT paint = {};
  HDC dc = BeginPaint(grid, &paint);
  RECT client = {};
  GetClientRect(grid, &client);
  if (s.gridDc != nullptr) BitBlt(dc, 0, 0, client.right, client.bottom, s.gridDc, 0, 0, SRCCOPY);
  if (IsWindowVisible(s.viewer)) DrawCharCursor(dc);
  EndPaint(grid, &paint);
  return 0;
}

LRESULT CALLBACK CharGridProc(HWND grid, UINT message, WPARAM wParam, LPARAM lParam) {
  TextBoxState& s = Box();
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_CHAR:
      if (wParam >= 32 && wParam <= 255) {
        ChooseChar(grid, static_cast<int32_t>(wParam));
        ShowViewer(grid);
      }
      return 0;
    case WM_KEYDOWN:
      return OnGridKey(grid, wParam);
    case WM_SETFOCUS: {
      const auto from = reinterpret_cast<HWND>(wParam);
      if (from != s.fontList && from != s.box && (from == nullptr || GetParent(from) != s.fontList)) {
        s.lastShown = -1;
        PlaceCharViewer(grid);
        ShowWindow(s.viewer, SW_SHOWNA);
        RepaintWindow(grid, false);
      }
      return 0;
    }
    case WM_KILLFOCUS:
      ShowWindow(s.viewer, SW_HIDE);
      RepaintWindow(grid, false);
      return 0;
    case WM_LBUTTONDOWN:
      return OnGridButtonDown(grid, lParam);
    case WM_MOUSEMOVE:
      return OnGridMouseMove(grid, wParam, lParam);
    case WM_LBUTTONDBLCLK:
      InsertCurrentChar();
      RepaintWindow(s.box, false);
      return 0;
    case WM_LBUTTONUP:
      return OnGridButtonUp(grid);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      return PaintGrid(grid);
    default:
      return DefWindowProcA(grid, message, wParam, lParam);
  }
}

LRESULT CALLBACK CharViewerProc(HWND viewer, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message != WM_PAINT) return DefWindowProcA(viewer, message, wParam, lParam);
  const TextBoxState& s = Box();
  PAINTSTRUCT paint = {};
  HDC dc = BeginPaint(viewer, &paint);
  RECT client = {};
  GetClientRect(viewer, &client);
  SKFILLRECT(dc, 0, 0, client.right, client.bottom, SKGETSYSCOLOR(104));
  SKDRAWRECT3D(dc, 0, 0, client.right, client.bottom, SKGETSYSCOLOR(106), SKGETSYSCOLOR(105));
  HGDIOBJ oldFont = SelectObject(dc, s.viewerFont != nullptr ? s.viewerFont : SKDEFAULTFONT());
  SetTextColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(101)));
  SetBkMode(dc, TRANSPARENT);
  const char text[1] = {static_cast<char>(s.current)};
  RECT area = client;
  area.bottom -= 2;
  DrawTextA(dc, text, 1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  EndPaint(viewer, &paint);
  return 0;
}

// --- the box ---------------------------------------------------------------

std::string FieldText(HWND field) {
  const int length = GetWindowTextLengthA(field);
  std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  GetWindowTextA(field, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(length, 0)));
  return text;
}

bool BuildBox(TextBoxState& s) {
  int32_t www = 0;
  SKGETTEXTEXTENT(s.box, SKDEFAULTFONT(), "WWW", &www, &s.textHeight);
  const int32_t scrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  const int32_t sizeWidth = www + scrollWidth + 4;
  const ButtonRow buttons = MeasureButtons(s.box, s.values.buttons);
  const int32_t clientWidth =
      std::max({buttons.width + 8, kListWidth + 4 + sizeWidth + 4 + 128 + 4 + 2 * GetSystemMetrics(SM_CXEDGE) + 8,
                kGridWidth + 8});
  const int32_t textTop = kControlsTop + 203;
  const int32_t gridTop = textTop + 34 + 4;
  const int32_t buttonTop = gridTop + kGridHeight + 8;
  const int32_t clientHeight = buttonTop + buttons.height + 8;

  s.listBrush = CreateSolidBrush(static_cast<COLORREF>(SKGETSYSCOLOR(104)));
  MakeFonts(s);
  s.fontList = MakeBoxList(s.box, 0x50210751, 4, kControlsTop, kListWidth, kListHeight, kIdFontList);
  s.sizeList = MakeBoxList(s.box, 0x50210651, 4 + kListWidth + 4, kControlsTop, sizeWidth, kListHeight, kIdSizeList);
  CreateColourRow(s.box, 4 + kListWidth + 4 + sizeWidth + 4, kControlsTop, s.values.colour, s.values.shadow,
                  &s.colour);
  s.textField = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", s.values.text.c_str(), 0x50010080, 4, textTop,
                                clientWidth - 8, 34, s.box, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdTextField)),
                                Paint().instance, nullptr);
  SendMessageA(s.textField, EM_LIMITTEXT, kTextLimit, 0);
  SendMessageA(s.textField, WM_SETFONT, reinterpret_cast<WPARAM>(s.textFont), FALSE);
  s.grid = CreateWindowExA(WS_EX_CLIENTEDGE, kGridClass, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 4,
                           gridTop, kGridWidth, kGridHeight, s.box,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdGrid)), Paint().instance, nullptr);
  s.viewer = CreateWindowExA(0, kViewerClass, "", WS_CHILD, 0, 0, 38, 38, s.box,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdViewer)), Paint().instance, nullptr);
  if (s.fontList == nullptr || s.sizeList == nullptr || s.textField == nullptr || s.grid == nullptr ||
      s.viewer == nullptr) {
    return false;
  }
  SetWindowPos(s.viewer, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  s.buttons = CreateButtons(s.box, buttons, clientWidth / 2, buttonTop);
  BuildCharGrid(s.grid);
  PlaceCharViewer(s.grid);

  HDC dc = GetDC(s.box);
  if (dc != nullptr) {
    EnumFontFamiliesA(dc, nullptr, AddFontFamily, reinterpret_cast<LPARAM>(s.fontList));
    ReleaseDC(s.box, dc);
  }
  SelectEntry(s.fontList, s.values.fontFamily);
  s.fontCaption = CoverListTop(s.fontList, s.values.fontFamily, kIdFontCaption);
  for (int size = 8; size <= 512; ++size) SKADDSTRINGCOMBO(s.sizeList, std::to_string(size).c_str());
  SelectEntry(s.sizeList, std::to_string(s.values.size));
  s.sizeCaption = CoverListTop(s.sizeList, BoxLabels().sizeLabel, kIdSizeCaption);

  ShowBoxCentred(s.box, s.owner, clientWidth, clientHeight);
  SetFocus(s.textField);
  return true;
}

LRESULT PaintPreview(HWND box) {
  const TextBoxState& s = Box();
  PAINTSTRUCT paint = {};
  HDC dc = BeginPaint(box, &paint);
  RECT client = {};
  GetClientRect(box, &client);
  HDC off = SKOFFSCREEN(dc, client.right, client.bottom, 1);
  HDC target = off != nullptr ? off : dc;
  PaintBoxBackground(target, client.right, client.bottom);
  const suite::GdiplusApi* api = suite::Gdiplus();
  Gdiplus::GpFontFamily* family = nullptr;
  Gdiplus::GpFont* font = MakeGdiplusFont(s.values.fontFamily, static_cast<float>(s.values.size), &family);
  std::string text = FieldText(s.textField);
  const auto blank = [](char c) { return c == ' ' || c == '\0'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  while (!text.empty() && blank(text.front())) text.erase(0, 1);
  if (api != nullptr && font != nullptr && !text.empty()) {
    Gdiplus::GpGraphics* graphics = nullptr;
    if (api->GdipCreateFromHDC(target, &graphics) == suite::kGdiplusOk) {
      const std::wstring wide = suite::ImgTextToWide(text);
      Gdiplus::RectF layout(0, 0, 0, 0), bounds(0, 0, 0, 0);
      api->GdipMeasureString(graphics, wide.c_str(), static_cast<INT>(wide.size()), font, &layout, nullptr, &bounds,
                             nullptr, nullptr);
      api->GdipDeleteGraphics(graphics);
      int32_t width = 0, height = 0;
      TextWindowSize(bounds.Width, bounds.Height, 0, &width, &height);
      overlay::ObfDrawText(target, text, 4, 4, width, height, TrackArgb(s.colour), kRenderingHint, font,
                           ShadowOf(s.colour), 0);
    }
  }
  FreeGdiplusFont(font, family);
  if (off != nullptr) SKOFFSCREEN(nullptr, 0, 0, 0);
  EndPaint(box, &paint);
  return 0;
}

LRESULT DrawFontItem(const DRAWITEMSTRUCT* item) {
  if (item->CtlID != kIdFontList) return SKDRAWITEM(item);
  HDC dc = item->hDC;
  const RECT& r = item->rcItem;
  if (static_cast<int>(item->itemID) < 0) {
    if ((item->itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &r);
    return TRUE;
  }
  const std::string name = ListText(item->hwndItem, static_cast<LRESULT>(item->itemID));
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  const auto text = static_cast<COLORREF>(SKGETSYSCOLOR(selected ? 115 : 101));
  const auto back = static_cast<COLORREF>(SKGETSYSCOLOR(selected ? 114 : 104));
  const int32_t height = r.bottom - r.top;
  suite::ImgFillRectI(dc, r.left, r.top + 1, r.right - r.left, height, suite::ImgArgbFromColor(255, back));
  Gdiplus::GpFontFamily* family = nullptr;
  Gdiplus::GpFont* font = MakeGdiplusFont(name, static_cast<float>(std::max(1, height - 2)), &family);
  if (font != nullptr) {
    suite::ImgDrawShadowText(dc, name, r.left, r.top, suite::ImgArgbFromColor(255, text), kRenderingHint, font, 0);
  }
  FreeGdiplusFont(font, family);
  if ((item->itemState & ODS_FOCUS) != 0) {
    RECT focus = {r.left, r.top + 1, r.right, r.bottom - 1};
    DrawFocusRect(dc, &focus);
  }
  return TRUE;
}

void OnFamilyChosen(TextBoxState& s) {
  const std::string family = SelectedText(s.fontList);
  if (family.empty()) return;
  s.values.fontFamily = family;
  SetWindowTextA(s.fontCaption, family.c_str());
  MakeFonts(s);
  SendMessageA(s.textField, WM_SETFONT, reinterpret_cast<WPARAM>(s.textFont), TRUE);
  BuildCharGrid(s.grid);
  RepaintWindow(s.grid, false);
  RepaintWindow(s.box, false);
  SetFocus(s.grid);
}

void OnOk(TextBoxState& s) {
  BoxSettingsRecord chosen = s.values;
  chosen.buttons.clear();
  chosen.fontFamily = ChosenFamily(SelectedText(s.fontList), s.values.fontFamily);
  chosen.size = ChosenSize(std::atoi(SelectedText(s.sizeList).c_str()), s.values.size, 14);
  chosen.colour = FieldArgb(s.colour);
  chosen.shadow = ShadowOf(s.colour);
  chosen.text = FieldText(s.textField);
  chosen.owner = kBoxOk;
  s.values = chosen;
  Paint().boxSettings = chosen;
  s.result = kBoxOk;
  PostMessageA(s.box, WM_CLOSE, static_cast<WPARAM>(GetDlgCtrlID(GetFocus())), 0);
}

LRESULT OnBoxCommand(HWND box, WPARAM wParam) {
  TextBoxState& s = Box();
  const int32_t id = LOWORD(wParam);
  const int32_t code = HIWORD(wParam);
  if (id == kIdFontList) {
    if (code == CBN_SELCHANGE) OnFamilyChosen(s);
    return 0;
  }
  if (id == kIdSizeList) {
    if (code == CBN_SELCHANGE) {
      const int32_t size = std::atoi(SelectedText(s.sizeList).c_str());
      if (size > 0) s.values.size = size;
      RepaintWindow(box, false);
    }
    return 0;
  }
  if (OnColourRowCommand(box, &s.colour, id)) return 0;
  if (id == kIdFirstButton) {
    OnOk(s);
  } else if (id == kSkinFrameCloseId || (id > kIdFirstButton && id < kIdFirstButton + 32)) {
    PostMessageA(box, WM_CLOSE, 0, 0);
  }
  return 0;
}

void OnBoxDestroy(TextBoxState& s) {
  FreeBoxParts(s.box, s.buttons, &s.listBrush);
  SetCursorHidden(false);
  DeleteFonts(s);
  FreeGridBitmap(s);
  s.closing = true;
}

LRESULT CALLBACK TextBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  TextBoxState& s = Box();
  LRESULT answer = 0;
  if (AnswerBoxControlMessage(message, wParam, lParam, s.textHeight, s.listBrush, &answer)) return answer;
  switch (message) {
    case WM_DRAWITEM:
      return DrawFontItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:
      return OnBoxCommand(box, wParam);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      return PaintPreview(box);
    case WM_CLOSE:
      CloseBox(box, s.owner);
      return 0;
    case WM_DESTROY:
      OnBoxDestroy(s);
      return 0;
    default:
      return DefWindowProcA(box, message, wParam, lParam);
  }
}

}  // namespace

int32_t RunTextBox(HWND owner, const std::string& title, BoxSettingsRecord* settings) {
  TextBoxState& s = Box();
  if (s.box != nullptr || settings == nullptr) return 0;
  if (!RegisterBoxClass(kBoxClass, TextBoxProc, CS_VREDRAW | CS_HREDRAW) ||
      !RegisterBoxClass(kGridClass, CharGridProc, CS_DBLCLKS | CS_PARENTDC) ||
      !RegisterBoxClass(kViewerClass, CharViewerProc, CS_DBLCLKS | CS_PARENTDC)) {
    return 0;
  }
  s = TextBoxState{};
  s.owner = owner;
  s.values = *settings;
  if (s.values.fontFamily.empty()) s.values.fontFamily = "Arial";
  if (s.values.size == 0) s.values.size = 14;
  if (s.values.colour == 0) s.values.colour = suite::ImgArgbFromColor(255, static_cast<COLORREF>(SKGETSYSCOLOR(101)));
  s.values.shadow = s.values.shadow != 0 ? 2 : 0;
  Paint().boxSettings = s.values;
  s.box = CreateWindowExA(0, kBoxClass, title.c_str(), WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, owner, nullptr,
                          Paint().instance, nullptr);
  if (s.box == nullptr) return 0;
  if (!BuildBox(s)) {
    DestroyWindow(s.box);
    s = TextBoxState{};
    return 0;
  }
  RunBoxLoop(s.box, owner, true, &s.closing);
  const int32_t result = s.result;
  if (result == kBoxOk) *settings = s.values;
  TraceProgramCall("RunTextBox", "", result == kBoxOk ? "2" : "0");
  s = TextBoxState{};
  return result;
}

}  // namespace paint
