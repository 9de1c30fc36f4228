// The opening effects a skinned window runs on its private messages: the
// picture of the window drawn where the window belongs, copied, faded in,
// slid or zoomed (core/opening_effects has the schedules), and for effect
// -1 the picture taken once the window is back in its place.
#include <windows.h>

#include <vector>

#include "core/opening_effects.h"
#include "library_state.h"
#include "themecore.h"

namespace skinning {

namespace {

// A 32-bit top-down DIB section of w x h with its own DC.
class DibPicture {
 public:
  DibPicture(HDC reference, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc_ = bitmap_ != nullptr ? CreateCompatibleDC(reference) : nullptr;
    if (dc_ != nullptr) old_ = SelectObject(dc_, bitmap_);
    bits_ = static_cast<uint32_t*>(bits);
  }
  ~DibPicture() {
    if (dc_ != nullptr) {
      SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
  }
  DibPicture(const DibPicture&) = delete;
  DibPicture& operator=(const DibPicture&) = delete;
  bool ok() const { return dc_ != nullptr && bits_ != nullptr; }
  HDC dc() const { return dc_; }
  uint32_t* bits() const { return bits_; }

 private:
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

// `BlendIn`: the source faded in over what the destination shows, in steps
// of `step` percent, ending with the source itself.
void BlendIn(HDC destination, int x, int y, int width, int height, HDC source, int32_t step) {
  if (width <= 0 || height <= 0) return;
  DibPicture picture(destination, width, height);
  DibPicture background(destination, width, height);
  DibPicture output(destination, width, height);
  if (picture.ok() && background.ok() && output.ok()) {
    BitBlt(background.dc(), 0, 0, width, height, destination, x, y, SRCCOPY);
    BitBlt(picture.dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (int32_t percent : BlendPercents(step)) {
      BlendPixels(picture.bits(), background.bits(), output.bits(), count, percent);
      BitBlt(destination, x, y, width, height, output.dc(), 0, 0, SRCCOPY);
    }
  }
  BitBlt(destination, x, y, width, height, source, 0, 0, SRCCOPY);
}

// Effects 1, 2 and 5 draw on the screen, clipped to the window's shape.
void DrawOnScreen(HWND window, int32_t effect, HDC picture, int x, int y, int width, int height) {
  MoveWindow(window, x, y, width, height, FALSE);
  HRGN shape = CreateRectRgn(0, 0, width, height);
  if (shape == nullptr) return;
  SKMAKEREGION(window, shape, width, height);
  OffsetRgn(shape, x, y);
  HWND desktop = GetDesktopWindow();
  HDC screen = GetDC(desktop);
  if (screen != nullptr) {
    SelectClipRgn(screen, shape);
    if (effect == kEffectCopy) {
      BitBlt(screen, x, y, width, height, picture, 0, 0, SRCCOPY);
    } else if (effect == kEffectFade) {
      BlendIn(screen, x, y, width, height, picture, kFadeStep);
    } else {
      if (GetStretchBltMode(screen) != COLORONCOLOR) SetStretchBltMode(screen, COLORONCOLOR);
      const bool pause = SKCPUSPEED() > kZoomPauseAboveMhz;
      for (const Rect& step : ZoomSteps(x, y, width, height)) {
        StretchBlt(screen, step.left, step.top, step.width(), step.height(), picture, 0, 0, width,
                   height, SRCCOPY);
        if (pause) Sleep(kZoomPauseMs);
      }
    }
    ReleaseDC(desktop, screen);
  }
  DeleteObject(shape);
}

void Slide(HWND window, int32_t effect, HDC picture, int x, int y, int width, int height,
           int32_t offScreenOffset) {
  for (int32_t offset : SlideOffsets(effect, y, width, height, offScreenOffset)) {
    SetWindowPos(window, nullptr, x, y + offset, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ValidateRect(window, nullptr);
    HDC windowDc = GetWindowDC(window);
    if (windowDc != nullptr) {
      BitBlt(windowDc, 0, 0, width, height, picture, 0, 0, SRCCOPY);
      ReleaseDC(window, windowDc);
    }
    Sleep(kSlideStepMs);
  }
}

}  // namespace

LRESULT OnOpeningEffect(const WindowRecordPtr& record, int32_t effect, LPARAM offsets) {
  HWND window = record->window;
  const int32_t xOffset = static_cast<int32_t>(LOWORD(offsets));
  const int32_t yOffset = static_cast<int32_t>(HIWORD(offsets));
  RECT rect = {};
  GetWindowRect(window, &rect);
  const int x = rect.left - xOffset;
  const int y = rect.top - yOffset;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (HDC picture = SnapShotOn(record, false)) {
    switch (effect) {
      case kEffectCopy:
      case kEffectFade:
      case kEffectZoom:
        DrawOnScreen(window, effect, picture, x, y, width, height);
        break;
      case kEffectSlideDown:
      case kEffectSlideUp:
        Slide(window, effect, picture, x, y, width, height, yOffset);
        break;
      default:
        break;
    }
    ClearSnapshotDC(record);
  }
  if (record->menuBar != nullptr) {
    RECT bar = {};
    GetWindowRect(record->menuBar, &bar);
    SetWindowPos(record->menuBar, nullptr, SKGETSYSTEMMETRICS(4) + x, SKGETSYSTEMMETRICS(1) + y,
                 bar.right - bar.left, bar.bottom - bar.top, SWP_NOREDRAW | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_FRAMECHANGED);
  // The effect drew the picture on the screen where the window is; where
  // the screen's DC lies under the windows (X displays), that is not the
  // window's own picture, so the window paints itself once more.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return 0;
}

LRESULT OnSnapshotReady(const WindowRecordPtr& record) {
  HWND window = record->window;
  if (record->offScreenOffset != 0) {
    // Back by exactly what it was moved down, wherever it started.
    RECT rect = {};
    GetWindowRect(window, &rect);
    MoveWindow(window, rect.left, rect.top - record->offScreenOffset, rect.right - rect.left,
               rect.bottom - rect.top, TRUE);
    record->offScreenOffset = 0;
    PostMessageA(window, kMsgSnapshotReady, 0, 0);
    return 0;
  }
  // The picture is taken off the screen: what the window still has to paint
  // is painted first.
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  TakeFrameSnapshot(record);
  return 0;
}

}  // namespace skinning
