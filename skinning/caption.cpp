// The skinned caption: the caption-button windows that hold the buttons'
// pictures, the caption drawn from the skin's pieces with icon, title, LED
// and buttons, the buttons under the pointer and their hot and pressed
// looks, the window's shape and the caption buttons' tooltips.  Where each
// part goes is core/caption_layout.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/caption_layout.h"
#include "core/frame_rules.h"
#include "library_state.h"
#include "themeapi.h"
#include "themecore.h"
#include "themecore_painttool.h"

namespace skinning {

namespace {

constexpr int32_t kKeyColour = 0xFF00FF;
constexpr int kIconSide = 16;

// `CaptionButtonSlots`: the buttons of the window skinned last that has
// them, by slot.
std::vector<HWND> g_buttonSlots;
// The glyph font of every caption button.  The buttons keep it as their
// font and draw their pictures with it again whenever they change, so it
// lives as long as the library.
HFONT g_marlett = nullptr;
std::string g_captionTips;
HWND g_tooltip = nullptr;
HWND g_lastHovered = nullptr;

SIZE PictureSize(HBITMAP picture) {
  int32_t width = 0;
  int32_t height = 0;
  if (picture != nullptr) SKGETPIXMAPSIZE(picture, &width, &height);
  return {width, height};
}

// A caption piece copied to the DC with its key colour left out.
void DrawPiece(HDC dc, HBITMAP piece, int x, int y) {
  const SIZE size = PictureSize(piece);
  if (size.cx <= 0 || size.cy <= 0) return;
  HDC source = CreateCompatibleDC(dc);
  if (source == nullptr) return;
  HGDIOBJ old = SelectObject(source, piece);
  SKTRANSBLTUSEDC();
  SKTRANSBLT(dc, x, y, size.cx, size.cy, source, 0, 0, kKeyColour);
  SelectObject(source, old);
  DeleteDC(source);
}

HICON CaptionIcon(HWND window) {
  auto icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
  if (icon == nullptr) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    icon = LoadIconA(instance, "PROGRAM");
  }
  return icon;
}

HBITMAP RightPiece(const WindowRecord& record) {
  const bool isTool = (record.initialExStyle & WS_EX_TOOLWINDOW) != 0 || record.toolCaption;
  if (isTool) {
    if (HBITMAP tool = SKCPOPUPR()) return tool;
  }
  return SKCAPTIONR();
}

// The caption button window of a button of this window (never another
// window's: each window draws its own buttons).
HWND ButtonWindowOf(const WindowRecord& record, int32_t button) {
  const int32_t id = CaptionButtonControlId(button, record.frameFlags);
  return id != 0 ? GetDlgItem(record.window, id) : nullptr;
}

void DrawButtonPicture(const WindowRecord& record, HDC dc, int32_t button, const Rect& box,
                       int32_t state) {
  HWND buttonWindow = ButtonWindowOf(record, button);
  if (buttonWindow == nullptr) return;
  HDC pictures = SKGETHDCMEMBMP(buttonWindow);
  if (pictures == nullptr) return;
  SKTRANSBLTUSEDC();
  SKTRANSBLT(dc, box.left, box.top, box.width(), box.height(), pictures, state * box.width(), 0,
             kKeyColour);
}

HWND TooltipWindow(HWND forWindow) {
  if (g_tooltip != nullptr && IsWindow(g_tooltip)) return g_tooltip;
  // One tooltip window for every skinned window.  It has no owner: the
  // system destroys owned windows with their owner, and the first window to
  // use it may go long before the others.
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  g_tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  (void)forWindow;
  return g_tooltip;
}

// `AddCaptionTip`: the tooltip window, null when it could not be made.
HWND AddCaptionTip(HWND window, int32_t toolId, const std::string& text, const Rect& box) {
  HWND tooltip = TooltipWindow(window);
  if (tooltip == nullptr) return nullptr;
  std::string cut = text.substr(0, kMaxTipBytes);
  TOOLINFOA info = {};
  info.cbSize = TTTOOLINFOA_V1_SIZE;
  info.uFlags = TTF_SUBCLASS;
  info.hwnd = window;
  info.uId = static_cast<UINT_PTR>(toolId);
  info.rect = {box.left, box.top, box.right, box.bottom};
  info.hinst = GetModuleHandleA(nullptr);
  info.lpszText = cut.data();
  SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageA(tooltip, TTM_SETTIPTEXTCOLOR, static_cast<WPARAM>(SKGETSYSCOLOR(101)), 0);
  SendMessageA(tooltip, TTM_SETTIPBKCOLOR, static_cast<WPARAM>(SKGETSYSCOLOR(104)), 0);
  return tooltip;
}

}  // namespace

void SizeCaptionButtonSlots() {
  if (g_buttonSlots.size() < 7) g_buttonSlots.resize(7, nullptr);
}

HWND CaptionButtonWindow(int32_t slot) {
  if (slot < 0 || slot > 6 || static_cast<size_t>(slot) >= g_buttonSlots.size()) return nullptr;
  return g_buttonSlots[static_cast<size_t>(slot)];
}

void CreateCaptionButtons(const WindowRecordPtr& record) {
  SizeCaptionButtonSlots();
  if (g_marlett == nullptr) g_marlett = SKMARLETT(12);
  HFONT font = g_marlett;
  const int32_t width = SKGETSYSTEMMETRICS(7);
  const int32_t height = SKGETSYSTEMMETRICS(8);
  // The engine's style record, filled as the buttons are made.
  uint8_t style[64] = {};
  auto put16 = [&style](size_t at, uint16_t value) {
    style[at] = static_cast<uint8_t>(value);
    style[at + 1] = static_cast<uint8_t>(value >> 8);
  };
  put16(28, 2);
  style[56] = 1;
  for (const CaptionButtonSpec& spec : CaptionButtonsFor(record->frameFlags)) {
    if (spec.slot == 6) put16(26, 2);
    if (spec.slot == 3) put16(26, 3);
    const char glyph[2] = {spec.glyph, '\0'};
    g_buttonSlots[static_cast<size_t>(spec.slot)] =
        SKBUT3D(record->window, glyph, font, -1000, -1000, width, height, spec.controlId,
                reinterpret_cast<intptr_t>(style));
  }
}

void DeleteCaptionFont() {
  if (g_marlett == nullptr) return;
  HGDIOBJ object = g_marlett;
  SKDELETEOBJECT(&object);
  g_marlett = nullptr;
}

void DrawCaption(const WindowRecord& record, HDC dc, const std::string& title, bool inactive) {
  const SkinMetrics m = ReadSkinMetrics();
  const int32_t width = WindowSize(record.window).cx;
  HBITMAP left = SKCAPTIONL();
  HBITMAP middle = SKCAPTIONM();
  HBITMAP right = RightPiece(record);
  const SIZE leftSize = PictureSize(left);
  const SIZE middleSize = PictureSize(middle);
  const SIZE rightSize = PictureSize(right);

  DrawPiece(dc, left, 0, 0);
  if (HICON icon = CaptionIcon(record.window)) {
    DrawIconEx(dc, m.iconX, m.iconY, icon, kIconSide, kIconSide, 0, nullptr, DI_NORMAL);
  }
  SKHORZTILE(dc, leftSize.cx, 0, width - rightSize.cx - leftSize.cx, middleSize.cy, middle);

  HBITMAP led = SKCAPTIONLED();
  const SIZE ledSize = PictureSize(led);
  const bool hasSystemMenu = (GetWindowLongA(record.window, GWL_STYLE) & WS_SYSMENU) != 0;
  const int32_t ledFrame = LedFrame(led != nullptr, !inactive, hasSystemMenu);
  const int32_t ledFrameWidth = ledFrame != 0 ? ledSize.cx / 2 : 0;
  const TitleLayout titleLayout =
      LayOutTitle(title, width, leftSize.cx, rightSize.cx, middleSize.cy, ledFrameWidth, m);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, SKCAPTIONFONT());
  const COLORREF oldColour = SetTextColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(inactive ? 102 : 101)));
  RECT titleBox = {titleLayout.box.left, titleLayout.box.top, titleLayout.box.right,
                   titleLayout.box.bottom};
  const UINT format = titleLayout.isCentred ? (DT_CENTER | DT_SINGLELINE)
                                            : (DT_SINGLELINE | DT_END_ELLIPSIS);
  std::string text = titleLayout.text;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &titleBox, format | DT_NOPREFIX);
  SetTextColor(dc, oldColour);
  SelectObject(dc, oldFont);
  SetBkMode(dc, oldMode);

  if (ledFrame != 0) {
    const Rect ledBox = LedBox(width, leftSize.cx, rightSize.cx, ledFrameWidth, ledSize.cy, m);
    // The LED is a skin image: handed over as a bitmap.
    SKTRANSBLT(dc, ledBox.left, ledBox.top, ledBox.width(), ledBox.height(),
               reinterpret_cast<HDC>(led), (ledFrame - 1) * ledFrameWidth, 0, kKeyColour);
  }
  DrawPiece(dc, right, width - rightSize.cx, 0);

  for (const ButtonBox& box : CaptionButtonBoxes(width, record.frameFlags, record.state, m)) {
    DrawButtonPicture(record, dc, box.button, box.box, kButtonNormal);
  }
}

void PaintFrame(const WindowRecord& record, bool withBorder) {
  HDC windowDc = GetWindowDC(record.window);
  if (windowDc == nullptr) return;
  const int32_t width = WindowSize(record.window).cx;
  const std::string title = WindowTextOf(record.window);
  HDC buffer = SKOFFSCREEN(windowDc, width, SKGETSYSTEMMETRICS(1), 1);
  DrawCaption(record, buffer != nullptr ? buffer : windowDc, title, record.captionInactive);
  if (buffer != nullptr) SKOFFSCREEN(nullptr, 0, 0, 0);
  if (withBorder) SKDRAWBORDER(record.window, windowDc);
  ReleaseDC(record.window, windowDc);
}

int32_t CaptionButtonAt(const WindowRecord& record, POINT screen) {
  RECT rect;
  GetWindowRect(record.window, &rect);
  return skinning::CaptionButtonAt(screen.x - rect.left, screen.y - rect.top, rect.right - rect.left,
                                   record.frameFlags, record.state, ReadSkinMetrics());
}

void DrawCaptionButton(const WindowRecord& record, int32_t button, int32_t state) {
  const int32_t width = WindowSize(record.window).cx;
  for (const ButtonBox& box : CaptionButtonBoxes(width, record.frameFlags, record.state, ReadSkinMetrics())) {
    // The maximize position shows restore while the window is maximized.
    const bool isThisButton = box.button == button ||
                              (button == kRestoreButton && box.button == kMaximizeButton) ||
                              (button == kMaximizeButton && box.button == kRestoreButton);
    if (!isThisButton) continue;
    HDC dc = GetWindowDC(record.window);
    if (dc == nullptr) return;
    DrawButtonPicture(record, dc, button, box.box, state);
    ReleaseDC(record.window, dc);
    return;
  }
}

int32_t TrackCaptionHover(const WindowRecordPtr& record, POINT screen) {
  const int32_t under = CaptionButtonAt(*record, screen);
  WindowRecordPtr last = g_lastHovered != nullptr ? FindWindowRecord(g_lastHovered) : nullptr;
  HoverInput input;
  input.lastIsOtherWindow = last != nullptr && last != record;
  input.lastWindowHot = input.lastIsOtherWindow ? last->hot : record->hot;
  input.hot = record->hot;
  input.pressed = record->pressed;
  input.under = under;
  const HoverResult result = TrackHover(input);
  for (const ButtonRedraw& redraw : result.redraws) {
    DrawCaptionButton(redraw.onLastWindow ? *last : *record, redraw.button, redraw.state);
  }
  if (input.lastIsOtherWindow) last->hot = result.lastWindowHot;
  record->hot = result.hot;
  g_lastHovered = record->window;
  return under;
}

void SetupCaption(const WindowRecordPtr& record) {
  const SIZE size = WindowSize(record->window);
  if (record->toolCaption) SKUSETOOLCAPTION();
  SKFRAMERGN(record->window, size.cx, size.cy);
  const std::string& tips = CaptionTipsText(std::string());
  if (tips.empty()) return;
  for (const CaptionTip& tip : CaptionTips(tips, size.cx, record->frameFlags, record->state,
                                           record->menuBar != nullptr, ReadSkinMetrics())) {
    bool& added = record->tooltipAdded[tip.toolId];
    if (added) SKREMOVECAPTIONTIP(record->window, tip.toolId);
    added = AddCaptionTip(record->window, tip.toolId, tip.text, tip.box) != nullptr;
  }
}

const std::string& CaptionTipsText(const std::string& text) {
  if (!text.empty()) g_captionTips = text;
  return g_captionTips;
}

HWND CaptionTooltipWindow() { return g_tooltip != nullptr && IsWindow(g_tooltip) ? g_tooltip : nullptr; }

void DestroyCaptionTooltipWindow() {
  if (g_tooltip != nullptr && IsWindow(g_tooltip)) DestroyWindow(g_tooltip);
  g_tooltip = nullptr;
}

void ForgetHoveredWindow(HWND window) {
  if (g_lastHovered == window) g_lastHovered = nullptr;
}

}  // namespace skinning

THEMEAPI_API void __stdcall SKREMOVECAPTIONTIP(HWND window, int32_t toolId) {
  try {
    HWND tooltip = skinning::CaptionTooltipWindow();
    if (toolId == 0 || tooltip == nullptr) return;
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = window;
    info.uId = static_cast<UINT_PTR>(toolId);
    SendMessageA(tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  } catch (...) {
  }
}
