// The skin-engine exports the media player needs beyond the common ones:
// SKINSET, SKSYSBUTHANDLE, SKWINDOW and SKBUILDREGION.  SKWINDOW windows
// route their messages like holders (holders.cpp) but are plain: no layout,
// no background of their own.
#include <windows.h>

#include "engine_internal.h"
#include "themecore_player.h"
#include "trace_writer.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";
const char kWindowClass[] = "SKWINDOW";
const char kProcProperty[] = "themecore.skwindow.proc";

struct CreationData {
  WNDPROC proc;
  LONG_PTR param;
};

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    const auto* data = static_cast<const CreationData*>(create->lpCreateParams);
    if (data == nullptr || data->proc == nullptr) return FALSE;
    SetPropA(window, kProcProperty, reinterpret_cast<HANDLE>(data->proc));
    SetWindowLongPtrA(window, GWLP_USERDATA, data->param);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    RemovePropA(window, kProcProperty);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  auto proc = reinterpret_cast<WNDPROC>(GetPropA(window, kProcProperty));
  if (proc == nullptr || message == WM_CREATE || message == WM_DESTROY) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return CallWindowProcA(proc, window, message, wParam, lParam);
}

bool RegisterPlainClass() {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof(existing);
  HINSTANCE module = GetModuleHandleA(nullptr);
  if (GetClassInfoExA(module, kWindowClass, &existing)) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = PlainWindowProc;
  windowClass.hInstance = module;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreatePlainWindow(HWND parent, DWORD style, int x, int y, int width, int height, WNDPROC proc,
                       LONG_PTR param) {
  if (proc == nullptr || !RegisterPlainClass()) return nullptr;
  if ((style & WS_CHILD) != 0 && (parent == nullptr || !IsWindow(parent))) return nullptr;
  HWND owner = parent;
  if ((style & WS_CHILD) == 0 && parent != nullptr) owner = GetAncestor(parent, GA_ROOT);
  CreationData data = {proc, param};
  return CreateWindowExA(0, kWindowClass, "", style, x, y, width, height, owner, nullptr,
                         GetModuleHandleA(nullptr), &data);
}

}  // namespace

}  // namespace themecore

using themecore::engine::HandleText;

THEMECORE_API int32_t __stdcall SKINSET(int32_t value, int32_t bit) {
  const int32_t result = value & bit;
  orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKINSET").Number(value).Number(bit),
                      result);
  return result;
}

THEMECORE_API HWND __stdcall SKSYSBUTHANDLE(int32_t n) {
  orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKSYSBUTHANDLE").Number(n),
                      HandleText(nullptr));
  return nullptr;
}

THEMECORE_API HWND __stdcall SKWINDOW(HWND parent, int32_t style, int32_t x, int32_t y,
                                      int32_t width, int32_t height, WNDPROC proc, int32_t param) {
  try {
    HWND window = themecore::CreatePlainWindow(parent, static_cast<DWORD>(style), x, y, width,
                                               height, proc, param);
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKWINDOW")
                            .Raw(HandleText(parent))
                            .Number(static_cast<uint32_t>(style))
                            .Number(x)
                            .Number(y)
                            .Number(width)
                            .Number(height)
                            .Raw(HandleText(reinterpret_cast<const void*>(proc)))
                            .Number(param),
                        HandleText(window));
    return window;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKBUILDREGION(HWND window) {
  try {
    int32_t result = 0;
    RECT rect = {};
    if (window != nullptr && IsWindow(window) && GetWindowRect(window, &rect)) {
      HRGN region = CreateRectRgn(0, 0, rect.right - rect.left, rect.bottom - rect.top);
      // The window owns the region once SetWindowRgn succeeds.
      if (region != nullptr && SetWindowRgn(window, region, TRUE)) {
        result = 1;
      } else if (region != nullptr) {
        DeleteObject(region);
      }
    }
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKBUILDREGION").Raw(HandleText(window)),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}
