// The full-screen view: the picture alone on a topmost holder, panned with
// the keys and by moving the mouse to a screen edge, fitted to the screen by
// a right click when it is larger, ended by a left click or another key.
#include <windows.h>

#include <algorithm>

#include "core/canvas_rules.h"
#include "imaging.h"
#include "paint_state.h"
#include "themecore.h"
#include "themecore_loader.h"
#include "themecore_wait.h"

namespace paint {

namespace {

constexpr int32_t kPanStep = 4;

void CopyPictureToView() {
  PaintState& p = Paint();
  HDC view = SKGETDC(p.fullView);
  HDC canvas = SKGETHDCMEMBMP(p.canvasWindow);
  if (view != nullptr && canvas != nullptr) {
    BitBlt(view, p.viewOriginX, p.viewOriginY, p.pictureWidth, p.pictureHeight, canvas, 0, 0, SRCCOPY);
  }
  if (view != nullptr) SKRELEASEDC(p.fullView, view);
}

void MoveView() {
  PaintState& p = Paint();
  SetWindowPos(p.fullView, HWND_TOPMOST, p.viewX, p.viewY, p.viewWidth, p.viewHeight, SWP_NOREDRAW);
  CopyPictureToView();
}

void EndView() {
  PaintState& p = Paint();
  ShowWindow(p.fullView, SW_HIDE);
  p.viewOn = false;
}

void FitView() {
  PaintState& p = Paint();
  if (p.pictureWidth <= p.screenWidth && p.pictureHeight <= p.screenHeight) return;
  HCURSOR previous = SetCursor(SKCURSORWAIT());
  int32_t x = 0, y = 0, width = 0, height = 0;
  SKICONISE(p.pictureWidth, p.pictureHeight, p.screenWidth, p.screenHeight, &x, &y, &width, &height);
  BITMAPHANDLE bitmap = {};
  HDC canvas = SKGETHDCMEMBMP(p.canvasWindow);
  if (width > 0 && canvas != nullptr &&
      L_CreateBitmap(&bitmap, TYPE_CONV, p.pictureWidth, p.pictureHeight, 24, ORDER_BGR, nullptr, 0, nullptr, 0) ==
          IMG_SUCCESS) {
    if (HDC lead = L_CreateLeadDC(&bitmap)) {
      BitBlt(lead, 0, 0, p.pictureWidth, p.pictureHeight, canvas, 0, 0, SRCCOPY);
      L_DeleteLeadDC(lead);
    }
    L_SizeBitmap(&bitmap, width, height, SIZE_RESAMPLE);
    p.viewX = p.viewY = 0;
    p.viewWidth = p.screenWidth;
    p.viewHeight = p.screenHeight;
    SetWindowPos(p.fullView, HWND_TOPMOST, 0, 0, p.screenWidth, p.screenHeight, 0);
    if (HDC view = SKGETDC(p.fullView)) {
      SKFILLRECT(view, 0, 0, p.screenWidth, p.screenHeight, RGB(0, 0, 0));
      HPALETTE palette = L_CreatePaintPalette(view, &bitmap);
      HPALETTE old = palette != nullptr ? SelectPalette(view, palette, FALSE) : nullptr;
      if (palette != nullptr) RealizePalette(view);
      const RECT target = {x, y, x + width, y + height};
      L_PaintDC(view, &bitmap, nullptr, nullptr, &target, SRCCOPY);
      if (palette != nullptr) {
        SelectPalette(view, old, FALSE);
        DeleteObject(palette);
      }
      SKRELEASEDC(p.fullView, view);
    }
    L_FreeBitmap(&bitmap);
  }
  p.panX = p.panY = false;
  p.viewFitted = true;
  SetCursor(previous);
}

bool OnViewKey(WPARAM key) {
  PaintState& p = Paint();
  const int32_t x = p.viewX, y = p.viewY;
  switch (key) {
    case VK_HOME: if (p.panX) p.viewX = 0; break;
    case VK_END: if (p.panX) p.viewX = p.lowestX; break;
    case VK_PRIOR: if (p.panY) p.viewY = 0; break;
    case VK_NEXT: if (p.panY) p.viewY = p.lowestY; break;
    case VK_LEFT: if (p.panX) p.viewX = PannedOffset(p.viewX, kPanStep, p.lowestX); break;
    case VK_RIGHT: if (p.panX) p.viewX = PannedOffset(p.viewX, -kPanStep, p.lowestX); break;
    case VK_UP: if (p.panY) p.viewY = PannedOffset(p.viewY, kPanStep, p.lowestY); break;
    case VK_DOWN: if (p.panY) p.viewY = PannedOffset(p.viewY, -kPanStep, p.lowestY); break;
    default:
      EndView();
      return true;
  }
  if (x != p.viewX || y != p.viewY) MoveView();
  return true;
}

void OnViewMouseMove(LPARAM lParam) {
  PaintState& p = Paint();
  const int32_t mouseX = static_cast<short>(LOWORD(lParam)), mouseY = static_cast<short>(HIWORD(lParam));
  const int32_t x = p.viewX, y = p.viewY;
  if (p.panX) {
    if (p.viewX + mouseX > p.screenWidth - 10) p.viewX = PannedOffset(p.viewX, -kPanStep, p.lowestX);
    else if (p.viewX + mouseX < 10) p.viewX = PannedOffset(p.viewX, kPanStep, p.lowestX);
  }
  if (p.panY) {
    if (p.viewY + mouseY > p.screenHeight - 11) p.viewY = PannedOffset(p.viewY, -kPanStep, p.lowestY);
    else if (p.viewY + mouseY < 10) p.viewY = PannedOffset(p.viewY, kPanStep, p.lowestY);
  }
  if (x != p.viewX || y != p.viewY) MoveView();
}

}  // namespace

void ShowFullView() {
  PaintState& p = Paint();
  if (p.fullView == nullptr || p.pictureWidth < 1 || p.pictureHeight < 1) return;
  p.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  p.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  p.viewWidth = std::max(p.screenWidth, p.pictureWidth);
  p.viewHeight = std::max(p.screenHeight, p.pictureHeight);
  p.viewX = p.viewY = 0;
  SetWindowPos(p.fullView, HWND_TOPMOST, 0, 0, p.viewWidth, p.viewHeight, SWP_SHOWWINDOW);
  p.viewOriginX = std::max(0, (p.screenWidth - p.pictureWidth) / 2);
  p.viewOriginY = std::max(0, (p.screenHeight - p.pictureHeight) / 2);
  if (HDC view = SKGETDC(p.fullView)) {
    SKFILLRECT(view, 0, 0, p.viewWidth, p.viewHeight, RGB(0, 0, 0));
    SKRELEASEDC(p.fullView, view);
  }
  CopyPictureToView();
  p.lowestX = p.screenWidth - p.pictureWidth;
  p.lowestY = p.screenHeight - p.pictureHeight;
  p.panX = p.screenWidth < p.pictureWidth;
  p.panY = p.screenHeight < p.pictureHeight;
  p.viewOn = true;
  p.viewFitted = false;
  SetFocus(p.fullView);
}

bool OnFullViewMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  PaintState& p = Paint();
  if (!p.viewOn) return false;
  switch (message) {
    case WM_KEYDOWN:
      return OnViewKey(wParam);
    case WM_MOUSEMOVE:
      OnViewMouseMove(lParam);
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      EndView();
      return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      FitView();
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(p.fullView, &paint);
      EndPaint(p.fullView, &paint);
      if (!p.viewFitted) CopyPictureToView();
      return true;
    }
    default:
      return false;
  }
}

}  // namespace paint
