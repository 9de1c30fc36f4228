// How the frame of a main window looks: the caption in the caption colours
// with the window's icon, its title (the window text, or the application
// title) and the caption buttons, drawn off screen and copied in one go;
// the borders in the window face colour with a 3-D outline.  Where each
// part goes comes from the skin's sizes.
#include <windows.h>

#include <algorithm>
#include <string>

#include "engine_state.h"
#include "frame.h"
#include "ui_internal.h"

namespace themecore::frame {

namespace {

constexpr int kButtonGap = 2;
constexpr int kIconSide = 16;  // the small icon

HICON WindowIcon(HWND window) {
  auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
  if (icon == nullptr) icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  return icon;
}

std::string CaptionText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return text.empty() ? AppTitle() : text;
}

void DrawGlyph(HDC dc, RECT box, Part part, bool isZoomed, COLORREF colour) {
  const int side = std::min(box.right - box.left, box.bottom - box.top);
  const int margin = std::max(3, side / 4);
  const int thickness = std::max(1, side / 9);
  HPEN pen = CreatePen(PS_SOLID, thickness, colour);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  // A square glyph in the middle of the button.
  const int half = std::max(2, side / 2 - margin + 1);
  const int middleX = (box.left + box.right) / 2;
  const int middleY = (box.top + box.bottom) / 2;
  const int l = middleX - half;
  const int t = middleY - half;
  const int r = middleX + half;
  const int b = middleY + half;
  switch (part) {
    case Part::kClose:
      MoveToEx(dc, l, t, nullptr);
      LineTo(dc, r, b);
      MoveToEx(dc, r - 1, t, nullptr);
      LineTo(dc, l - 1, b);
      break;
    case Part::kMaximise:
      if (isZoomed) {
        const int shift = std::max(2, (r - l) / 3);
        Rectangle(dc, l + shift, t, r, b - shift);
        Rectangle(dc, l, t + shift, r - shift, b);
      } else {
        Rectangle(dc, l, t, r, b);
        MoveToEx(dc, l, t + 1, nullptr);
        LineTo(dc, r, t + 1);
      }
      break;
    case Part::kMinimise: {
      RECT bar = {l, b - std::max(2, thickness + 1), r, b};
      FillSolid(dc, bar, colour);
      break;
    }
    default:
      break;
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void DrawCaption(HDC dc, HWND window, const Geometry& g, const FrameState& state) {
  const COLORREF back = SkinColour(state.isActive ? colour::kCaptionBack : colour::kCaptionBackIdle);
  const COLORREF text = SkinColour(state.isActive ? colour::kCaptionText : colour::kCaptionTextIdle);
  RECT caption = {0, 0, g.width, g.top};
  FillSolid(dc, caption, back);

  const int side = g.system.right - g.system.left;
  if (side > 0) {
    DrawIconEx(dc, g.system.left, g.system.top, WindowIcon(window), side, side, 0, nullptr,
               DI_NORMAL);
  }

  std::string title = CaptionText(window);
  HGDIOBJ oldFont = SelectObject(dc, SkinCaptionFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  RECT titleRect = g.title;
  DrawTextA(dc, title.c_str(), static_cast<int>(title.size()), &titleRect,
            DT_SINGLELINE | DT_TOP | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, oldFont);

  const bool isZoomed = IsZoomed(window) != FALSE;
  for (Part part : {Part::kClose, Part::kMaximise, Part::kMinimise}) {
    RECT box = RectOf(g, part);
    if (IsRectEmpty(&box)) continue;
    const bool isDown = state.pressed == part && state.isPressedInside;
    const bool isHot = state.hot == part || state.pressed == part;
    if (isDown) {
      FillSolid(dc, box, SkinColour(colour::kHighlightBack));
      DrawEdgeLines(dc, box, SkinColour(colour::kShadow), SkinColour(colour::kLight));
      OffsetRect(&box, 1, 1);
    } else if (isHot) {
      FillSolid(dc, box, SkinColour(colour::kHighlightBack));
      DrawEdgeLines(dc, box, SkinColour(colour::kLight), SkinColour(colour::kShadow));
    }
    DrawGlyph(dc, box, part, isZoomed, isHot ? SkinColour(colour::kHighlightText) : text);
  }
}

}  // namespace

Geometry Measure(HWND window) {
  Geometry g;
  RECT rect;
  GetWindowRect(window, &rect);
  g.width = rect.right - rect.left;
  g.height = rect.bottom - rect.top;
  g.left = FrameMetric(metric::kFrameLeft);
  g.top = FrameMetric(metric::kCaptionHeight);
  g.right = FrameMetric(metric::kFrameRight);
  g.bottom = FrameMetric(metric::kFrameBottom);

  // The caption's parts where the skin puts them.
  const int buttonWidth = FrameMetric(metric::kCaptionButtonWidth);
  const int buttonHeight = std::min(FrameMetric(metric::kCaptionButtonHeight), g.top);
  const int y = std::min(FrameMetric(metric::kCaptionButtonsTop), g.top - buttonHeight);
  int x = g.width - FrameMetric(metric::kCaptionButtonsRight) - buttonWidth;
  const int32_t bits = WindowStyleBits();
  auto place = [&](RECT* button) {
    *button = {x, y, x + buttonWidth, y + buttonHeight};
    x -= buttonWidth + kButtonGap;
  };
  if (bits & kCloseBit) place(&g.close);
  if (bits & kMaximiseBit) place(&g.maximise);
  if (bits & kMinimiseBit) place(&g.minimise);
  const int buttonsLeft = x + buttonWidth + kButtonGap;
  const int iconY = FrameMetric(metric::kIconY);
  const int iconSide = std::max(0, std::min(kIconSide, g.top - iconY));
  const int iconX = FrameMetric(metric::kIconX);
  g.system = {iconX, iconY, iconX + iconSide, iconY + iconSide};
  const LONG titleLeft = std::max<LONG>(FrameMetric(metric::kTitleX), g.system.right + 2);
  g.title = {titleLeft, FrameMetric(metric::kTitleY), std::max<LONG>(titleLeft, buttonsLeft - 4),
             g.top};
  return g;
}

RECT RectOf(const Geometry& g, Part part) {
  switch (part) {
    case Part::kClose:
      return g.close;
    case Part::kMaximise:
      return g.maximise;
    case Part::kMinimise:
      return g.minimise;
    case Part::kSystem:
      return g.system;
    default:
      return RECT{};
  }
}

Part PartAt(const Geometry& g, POINT point) {
  for (Part part : {Part::kClose, Part::kMaximise, Part::kMinimise, Part::kSystem}) {
    RECT rect = RectOf(g, part);
    if (PtInRect(&rect, point)) return part;
  }
  return Part::kNone;
}

// A point of the screen in window coordinates.
// Draws the whole frame on a DC whose origin is the window's top-left
// corner; the client area is left alone.
void PaintFrameOn(HDC dc, HWND window, const FrameState& state) {
  const Geometry g = Measure(window);
  if (g.width <= 0 || g.height <= 0) return;
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, g.left, g.top, g.width - g.right, g.height - g.bottom);

  const COLORREF border = SkinColour(colour::kWindowFace);
  RECT left = {0, g.top, g.left, g.height};
  RECT right = {g.width - g.right, g.top, g.width, g.height};
  RECT bottom = {0, g.height - g.bottom, g.width, g.height};
  FillSolid(dc, left, border);
  FillSolid(dc, right, border);
  FillSolid(dc, bottom, border);

  // The caption is drawn off screen and copied in one go: no flicker when
  // the pointer moves over its buttons.
  HDC buffer = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, g.width, std::max(g.top, 1));
  if (buffer != nullptr && bitmap != nullptr) {
    HGDIOBJ old = SelectObject(buffer, bitmap);
    DrawCaption(buffer, window, g, state);
    BitBlt(dc, 0, 0, g.width, g.top, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, old);
  } else {
    DrawCaption(dc, window, g, state);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (buffer != nullptr) DeleteDC(buffer);

  RECT outline = {0, 0, g.width, g.height};
  DrawEdgeLines(dc, outline, SkinColour(colour::kLight), SkinColour(colour::kShadow));
  RestoreDC(dc, saved);
}

void PaintFrame(HWND window, const FrameState& state) {
  HDC dc = GetWindowDC(window);
  if (dc == nullptr) return;
  PaintFrameOn(dc, window, state);
  ReleaseDC(window, dc);
}


}  // namespace themecore::frame
