// The transition painter L_EfxPaintBitmap and the status callback it calls
// while it waits between steps.  The steps' geometry is
// core/transition_steps; this file stretches the picture once into a
// memory DC of the destination's size and copies each step's rectangles
// from there.
#include <windows.h>

#include <algorithm>
#include <atomic>

#include "bitmap_store.h"
#include "error_codes.h"
#include "imaging.h"
#include "library_calls.h"
#include "transition_steps.h"

using namespace imaging;

namespace {

// One status callback per process, as the programs set it around a call.
std::atomic<STATUSCALLBACK> g_statusCallback{nullptr};
std::atomic<void*> g_statusUserData{nullptr};

// Calls the status callback; 1 (go on) when none is set.
int32_t ReportStatus(int32_t percent) {
  STATUSCALLBACK callback = g_statusCallback.load();
  if (callback == nullptr) return kSuccess;
  return callback(percent, g_statusUserData.load());
}

// Waits `delayMs`, calling the status callback at least once and about
// every 10 ms meanwhile; the callback's result when it asks to stop.
int32_t WaitReporting(int32_t percent, uint32_t delayMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    const int32_t status = ReportStatus(percent);
    if (status != kSuccess) return status;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= delayMs) return kSuccess;
    Sleep(std::min<DWORD>(10, delayMs - elapsed));
  }
}

// A memory DC holding the picture stretched to the destination's size.
struct StretchedPicture {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  ~StretchedPicture() {
    if (old != nullptr) SelectObject(dc, old);
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (dc != nullptr) DeleteDC(dc);
  }
};

bool Stretch(HDC target, BITMAPHANDLE* bitmap, const RECT& from, int32_t width, int32_t height,
             StretchedPicture* out) {
  out->dc = CreateCompatibleDC(target);
  out->bitmap = CreateCompatibleBitmap(target, width, height);
  if (out->dc == nullptr || out->bitmap == nullptr) return false;
  out->old = SelectObject(out->dc, out->bitmap);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bitmap->Width;
  info.bmiHeader.biHeight = -bitmap->Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bitmap->BitsPerPixel);
  info.bmiHeader.biCompression = BI_RGB;
  GdiFlush();
  SetStretchBltMode(out->dc, HALFTONE);
  SetBrushOrgEx(out->dc, 0, 0, nullptr);
  // A top-down DIB: StretchDIBits counts the source's y from the bottom.
  const int32_t sourceHeight = from.bottom - from.top;
  return StretchDIBits(out->dc, 0, 0, width, height, from.left, bitmap->Height - from.bottom,
                       from.right - from.left, sourceHeight, bitmap->Data, &info, DIB_RGB_COLORS,
                       SRCCOPY) != 0;
}

int32_t PaintWithTransition(HDC dc, BITMAPHANDLE* bitmap, const RECT* source, const RECT* destination,
                            uint32_t effect, uint32_t grain, uint32_t delay, DWORD rop) {
  if (dc == nullptr) return kErrorInvalidParameter;
  if (!HoldsPixels(bitmap)) return kErrorNoBitmap;
  const RECT whole{0, 0, bitmap->Width, bitmap->Height};
  const RECT from = source != nullptr ? *source : whole;
  const RECT to = destination != nullptr ? *destination : whole;
  if (from.right <= from.left || from.bottom <= from.top || from.left < 0 || from.top < 0 ||
      from.right > bitmap->Width || from.bottom > bitmap->Height || to.right <= to.left || to.bottom <= to.top) {
    return kErrorInvalidParameter;
  }
  const int32_t width = to.right - to.left;
  const int32_t height = to.bottom - to.top;
  StretchedPicture picture;
  if (!Stretch(dc, bitmap, from, width, height, &picture)) return kErrorNoMemory;
  const auto steps = TransitionSteps(effect, width, height, static_cast<int32_t>(std::min<uint32_t>(grain, 1 << 20)));
  for (size_t i = 0; i < steps.size(); ++i) {
    for (const RevealRect& r : steps[i]) {
      BitBlt(dc, to.left + r.x, to.top + r.y, r.width, r.height, picture.dc, r.x, r.y, rop);
    }
    GdiFlush();
    const int32_t percent = static_cast<int32_t>((i + 1) * 100 / steps.size());
    const int32_t status = WaitReporting(percent, i + 1 < steps.size() ? delay : 0);
    if (status != kSuccess) return status;
  }
  return kSuccess;
}

}  // namespace

IMAGING_API STATUSCALLBACK WINAPI L_SetStatusCallBack(STATUSCALLBACK callback, void* userData) {
  STATUSCALLBACK previous = g_statusCallback.exchange(callback);
  g_statusUserData.store(userData);
  Traced(Call("L_SetStatusCallBack").Number(callback != nullptr ? 1 : 0), kSuccess);
  return previous;
}

IMAGING_API STATUSCALLBACK WINAPI L_GetStatusCallBack(void) { return g_statusCallback.load(); }

IMAGING_API L_INT WINAPI L_EfxPaintBitmap(HDC dc, pBITMAPHANDLE bitmap, const RECT* source, const RECT*,
                                          const RECT* destination, L_UINT effect, L_UINT grain, L_UINT delay,
                                          L_INT, L_INT, L_UINT, COLORREF, L_UINT, COLORREF, DWORD rop) {
  int32_t result =
      Guarded([&] { return PaintWithTransition(dc, bitmap, source, destination, effect, grain, delay, rop); });
  return Traced(Call("L_EfxPaintBitmap").Number(effect).Number(grain).Number(delay), result);
}
