// The capture export: L_CaptureSelectedObject, the user points at a window
// with the mouse and what the screen shows of it becomes a bitmap.
#include <windows.h>

#include <algorithm>

#include "bitmap_store.h"
#include "error_codes.h"
#include "imaging.h"
#include "library_calls.h"

using namespace imaging;

namespace {

constexpr char kPointerClass[] = "ImagingCapturePointer";
constexpr UINT_PTR kKeyTimer = 1;

// What the user did while the mouse was captured.
struct Pointing {
  HCURSOR cursor = nullptr;
  bool pressed = false;   // the left button went down
  bool finished = false;  // a window was chosen or the capture cancelled
  bool chosen = false;
  POINT at{};             // screen point of the left button press
};

Pointing* PointingOf(HWND window) { return reinterpret_cast<Pointing*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

void Finish(Pointing* pointing, bool chosen) {
  if (pointing->finished) return;
  pointing->finished = true;
  pointing->chosen = chosen;
}

bool EscapePressed() { return (GetAsyncKeyState(VK_ESCAPE) & 0x8001) != 0; }

// The hidden window that holds the mouse capture: every click lands here,
// whichever window is under the pointer.
LRESULT CALLBACK PointerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Pointing* pointing = PointingOf(window);
  if (pointing == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_MOUSEMOVE:
      SetCursor(pointing->cursor);
      return 0;
    case WM_LBUTTONDOWN: {
      const DWORD position = GetMessagePos();
      pointing->at = POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
      pointing->pressed = true;
      return 0;
    }
    case WM_LBUTTONUP:
      // The release is swallowed too, so the chosen window gets no half click.
      if (pointing->pressed) Finish(pointing, true);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      Finish(pointing, false);
      return 0;
    case WM_TIMER:
      if (EscapePressed()) Finish(pointing, false);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window) Finish(pointing, false);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// Runs the pointing with the mouse captured; true when a window was chosen
// (its screen point in *at).
bool PointAtWindow(HCURSOR cursor, POINT* at) {
  HINSTANCE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&PointerProc), &module);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = PointerProc;
  windowClass.hInstance = module;
  windowClass.lpszClassName = kPointerClass;
  RegisterClassA(&windowClass);  // fails harmlessly when already registered
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kPointerClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                module, nullptr);
  if (window == nullptr) return false;
  Pointing pointing;
  pointing.cursor = cursor != nullptr ? cursor : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pointing));
  HCURSOR previous = SetCursor(pointing.cursor);
  EscapePressed();  // forgets an Escape pressed before the pointing began
  SetCapture(window);
  SetTimer(window, kKeyTimer, 30, nullptr);
  MSG message;
  while (!pointing.finished) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // the caller's loop must still end
      Finish(&pointing, false);
      break;
    }
    if (got < 0) {
      Finish(&pointing, false);
      break;
    }
    // Escape reaches whichever window of this thread has the focus.
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && message.wParam == VK_ESCAPE) {
      Finish(&pointing, false);
      break;
    }
    DispatchMessageA(&message);
  }
  KillTimer(window, kKeyTimer);
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (GetCapture() == window) ReleaseCapture();
  DestroyWindow(window);
  SetCursor(previous);
  *at = pointing.at;
  return pointing.chosen;
}

// What the screen shows of `window`, clipped to the screen, as a new 24-bit
// bitmap.
int32_t CopyWindowPixels(HWND window, BITMAPHANDLE* bitmap) {
  RECT area{};
  if (window == nullptr || !GetWindowRect(window, &area)) return kErrorInvalidParameter;
  const LONG screenLeft = GetSystemMetrics(SM_XVIRTUALSCREEN), screenTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
  area.left = std::max(area.left, screenLeft);
  area.top = std::max(area.top, screenTop);
  area.right = std::min(area.right, screenLeft + GetSystemMetrics(SM_CXVIRTUALSCREEN));
  area.bottom = std::min(area.bottom, screenTop + GetSystemMetrics(SM_CYVIRTUALSCREEN));
  if (area.right <= area.left || area.bottom <= area.top) return kErrorInvalidParameter;
  BITMAPHANDLE made{};
  int32_t result = AllocateBitmap(&made, area.right - area.left, area.bottom - area.top, 24);
  if (result != kSuccess) return result;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = memory != nullptr ? SelectObject(memory, made.hDIB) : nullptr;
  const bool copied = memory != nullptr && BitBlt(memory, 0, 0, made.Width, made.Height, screen, area.left, area.top,
                                                  SRCCOPY | CAPTUREBLT);
  if (memory != nullptr) {
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  ReleaseDC(nullptr, screen);
  GdiFlush();
  if (!copied) {
    ReleasePixels(&made);
    return kErrorInvalidParameter;
  }
  *bitmap = made;
  return kSuccess;
}

}  // namespace

IMAGING_API L_INT WINAPI L_CaptureSelectedObject(pBITMAPHANDLE bitmap, pCAPTUREOPTION options, void* info,
                                                 void* callback, void* userData) {
  (void)info;
  (void)callback;
  (void)userData;
  int32_t result = Guarded([&]() -> int32_t {
    if (bitmap == nullptr) return kErrorInvalidParameter;
    POINT at{};
    if (!PointAtWindow(options != nullptr ? options->hCursor : nullptr, &at)) return kErrorUserAbort;
    // The pointer's window is gone by now, so the point names the window the
    // user sees there.
    return CopyWindowPixels(WindowFromPoint(at), bitmap);
  });
  return Traced(Call("L_CaptureSelectedObject").Number(options != nullptr && options->hCursor != nullptr ? 1 : 0),
                result);
}
