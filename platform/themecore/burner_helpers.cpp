// The engine's erase animation and number formatting (SKANIMATE,
// SKLONGFORMAT).
//
// An animation keeps its own copy of the frame strip on the window (a
// property) and a timer of the window; both go with WM_NCDESTROY, which the
// engine sees through the window's subclass procedure.
#include <windows.h>

#include <string>

#include "engine_internal.h"
#include "themecore.h"
#include "trace_writer.h"

namespace {

const char kLibrary[] = "themecore";
const char kAnimationProperty[] = "themecore.animation";
constexpr UINT_PTR kAnimationTimer = 0x5A41;
constexpr UINT kFrameMs = 100;

struct Animation {
  HBITMAP strip = nullptr;
  int frameSize = 0;
  int frames = 0;
  int current = 0;
  WNDPROC previous = nullptr;
};

Animation* AnimationOf(HWND window) { return static_cast<Animation*>(GetPropA(window, kAnimationProperty)); }

void PaintFrame(HWND window, HDC dc, const Animation& animation) {
  HDC source = CreateCompatibleDC(dc);
  if (source == nullptr) return;
  HGDIOBJ old = SelectObject(source, animation.strip);
  BitBlt(dc, 0, 0, animation.frameSize, animation.frameSize, source, animation.current * animation.frameSize, 0,
         SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

LRESULT CALLBACK AnimationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Animation* animation = AnimationOf(window);
  if (animation == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  WNDPROC previous = animation->previous;
  switch (message) {
    case WM_TIMER:
      if (wParam == kAnimationTimer) {
        animation->current = (animation->current + 1) % animation->frames;
        InvalidateRect(window, nullptr, FALSE);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (dc != nullptr) PaintFrame(window, dc, *animation);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_NCDESTROY:
      KillTimer(window, kAnimationTimer);
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      RemovePropA(window, kAnimationProperty);
      DeleteObject(animation->strip);
      delete animation;
      return CallWindowProcA(previous, window, message, wParam, lParam);
    default:
      break;
  }
  return CallWindowProcA(previous, window, message, wParam, lParam);
}

}  // namespace

using themecore::engine::HandleText;

THEMECORE_API int32_t __stdcall SKANIMATE(HWND window, HBITMAP bitmap) {
  try {
    int32_t result = 0;
    BITMAP info{};
    if (window != nullptr && IsWindow(window) && AnimationOf(window) == nullptr && bitmap != nullptr &&
        GetObjectA(bitmap, sizeof info, &info) == sizeof info && info.bmHeight > 0 &&
        info.bmWidth >= info.bmHeight) {
      HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
      if (copy != nullptr) {
        auto* animation = new Animation;
        animation->strip = copy;
        animation->frameSize = info.bmHeight;
        animation->frames = info.bmWidth / info.bmHeight;
        SetPropA(window, kAnimationProperty, animation);
        animation->previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnimationProc)));
        SetWindowPos(window, nullptr, 0, 0, animation->frameSize, animation->frameSize,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetTimer(window, kAnimationTimer, kFrameMs, nullptr);
        InvalidateRect(window, nullptr, FALSE);
        result = 1;
      }
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKANIMATE").Raw(HandleText(window)).Raw(HandleText(bitmap)),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKLONGFORMAT(int32_t value, char* out, int32_t outSize) {
  try {
    std::string digits = std::to_string(value);
    NUMBERFMTA format{};
    char decimal[8] = ".";
    char thousand[8] = ",";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof decimal);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand, sizeof thousand);
    format.NumDigits = 0;
    // Without decimals this only keeps the zero itself: Wine writes 0 as ""
    // when leading zeros are off.
    format.LeadingZero = 1;
    format.Grouping = 3;
    format.lpDecimalSep = decimal;
    format.lpThousandSep = thousand;
    format.NegativeOrder = 1;
    char formatted[64] = "";
    std::string text = GetNumberFormatA(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, formatted,
                                        sizeof formatted) > 0
                           ? std::string(formatted)
                           : digits;
    return themecore::engine::ReturnTextOut(orbtrace::CallLine(kLibrary, "SKLONGFORMAT").Number(value), text, out,
                                            outSize);
  } catch (...) {
    return 0;
  }
}
