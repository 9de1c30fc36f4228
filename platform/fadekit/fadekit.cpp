// skEffect: a fade of a new picture over what a device context shows,
// through AlphaBlend, with the caller's status callback between steps so
// its user can cut the fade short.  See include/fadekit.h.

#include "fadekit.h"

#include <windows.h>

#include <algorithm>

#include "trace_writer.h"

namespace {

constexpr int32_t kMaxSteps = 256;

// A memory DC with a bitmap of its own or a caller's selected; released on
// every exit path.
struct MemoryDc {
  HDC dc = nullptr;
  HBITMAP owned = nullptr;
  HGDIOBJ old = nullptr;
  MemoryDc(HDC like, HBITMAP select, int32_t width, int32_t height) {
    dc = CreateCompatibleDC(like);
    if (dc == nullptr) return;
    if (select == nullptr) select = owned = CreateCompatibleBitmap(like, width, height);
    if (select != nullptr) old = SelectObject(dc, select);
  }
  ~MemoryDc() {
    if (old != nullptr) SelectObject(dc, old);
    if (owned != nullptr) DeleteObject(owned);
    if (dc != nullptr) DeleteDC(dc);
  }
  bool ready() const { return old != nullptr; }
};

bool Blend(HDC target, int32_t width, int32_t height, HDC source, int32_t sourceWidth, int32_t sourceHeight,
           int32_t alpha) {
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), 0};
  return AlphaBlend(target, 0, 0, width, height, source, 0, 0, sourceWidth, sourceHeight, blend) != FALSE;
}

int32_t Fade(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, HBITMAP picture, void* userData,
             FadeStatusCallback callback, int32_t steps, int32_t durationMs, int32_t kind) {
  BITMAP info = {};
  if (dc == nullptr || picture == nullptr || width <= 0 || height <= 0 ||
      GetObjectA(picture, sizeof(info), &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0) {
    return 0;
  }
  steps = std::clamp(steps, 1, kMaxSteps);
  const DWORD stepMs = static_cast<DWORD>(std::max(0, durationMs) / steps);
  MemoryDc before(dc, nullptr, width, height);
  MemoryDc frame(dc, nullptr, width, height);
  MemoryDc source(dc, picture, 0, 0);
  if (!before.ready() || !frame.ready() || !source.ready()) return 0;
  BitBlt(before.dc, 0, 0, width, height, dc, x, y, SRCCOPY);
  const bool throughBlack = kind > 0 && kind % 2 == 1;
  for (int32_t step = 1; step <= steps; ++step) {
    const int32_t alpha = step * 255 / steps;
    if (throughBlack) {
      PatBlt(frame.dc, 0, 0, width, height, BLACKNESS);
      // The first half darkens the old picture, the second brings the new.
      if (alpha < 128) {
        Blend(frame.dc, width, height, before.dc, width, height, 255 - 2 * alpha);
      } else {
        Blend(frame.dc, width, height, source.dc, info.bmWidth, info.bmHeight, 2 * (alpha - 128) + 1);
      }
    } else {
      BitBlt(frame.dc, 0, 0, width, height, before.dc, 0, 0, SRCCOPY);
      Blend(frame.dc, width, height, source.dc, info.bmWidth, info.bmHeight, alpha);
    }
    if (step == steps) {
      SetStretchBltMode(frame.dc, HALFTONE);
      StretchBlt(frame.dc, 0, 0, width, height, source.dc, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
    BitBlt(dc, x, y, width, height, frame.dc, 0, 0, SRCCOPY);
    GdiFlush();
    if (callback != nullptr) {
      const int32_t status = callback(step * 100 / steps, userData);
      if (status != 1) return status;
    }
    if (step < steps && stepMs > 0) Sleep(stepMs);
  }
  return 1;
}

}  // namespace

FADEKIT_API int32_t __stdcall skEffect(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height,
                                       HBITMAP picture, void* userData, FadeStatusCallback callback,
                                       int32_t steps, int32_t durationMs, int32_t kind) {
  int32_t result = 0;
  try {
    result = Fade(dc, x, y, width, height, picture, userData, callback, steps, durationMs, kind);
  } catch (...) {
    result = 0;
  }
  orbtrace::WriteCall(orbtrace::CallLine("fadekit", "skEffect")
                          .Number(x)
                          .Number(y)
                          .Number(width)
                          .Number(height)
                          .Number(steps)
                          .Number(durationMs)
                          .Number(kind),
                      result);
  return result;
}
