// The picture tool's helpers: the symbol font of its page buttons, its
// image buttons, the standard cursor, display and desktop device contexts
// and the default printer (themecore_painttool.h).
#include <windows.h>

#include <commdlg.h>

#include <string>

#include "boxes_answers.h"

#include "engine_internal.h"
#include "themecore_painttool.h"
#include "trace_writer.h"

namespace {

const char kLibrary[] = "themecore";

// A picture of the desktop: a memory DC holding a screen-sized bitmap.
struct DesktopCopy {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
};

// The copy SKDCDESKTOP(1) keeps until SKDCDESKTOP(2): while a menu is open
// or a folder tree is being rebuilt, painters copy from it what the screen
// showed before.
DesktopCopy& HeldDesktop() {
  static DesktopCopy copy;
  return copy;
}

// The copy SKDCDESKTOP(0) takes when none is held, replaced by the next one.
DesktopCopy& MomentaryDesktop() {
  static DesktopCopy copy;
  return copy;
}

bool FreeDesktopCopy(DesktopCopy& copy) {
  if (copy.dc == nullptr) return false;
  if (copy.previous != nullptr) SelectObject(copy.dc, copy.previous);
  DeleteObject(copy.bitmap);
  DeleteDC(copy.dc);
  copy = DesktopCopy{};
  return true;
}

// Replaces `into` with the screen's pixels as they are now.
HDC TakeDesktopCopy(DesktopCopy& into) {
  FreeDesktopCopy(into);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return nullptr;
  DesktopCopy copy;
  copy.dc = CreateCompatibleDC(screen);
  copy.bitmap = copy.dc != nullptr ? CreateCompatibleBitmap(screen, width, height) : nullptr;
  if (copy.bitmap != nullptr) {
    copy.previous = SelectObject(copy.dc, copy.bitmap);
    BitBlt(copy.dc, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  }
  ReleaseDC(nullptr, screen);
  if (copy.bitmap == nullptr) {
    if (copy.dc != nullptr) DeleteDC(copy.dc);
    return nullptr;
  }
  into = copy;
  return copy.dc;
}

}  // namespace

using themecore::engine::HandleText;

THEMECORE_API HFONT __stdcall SKMARLETT(int32_t size) {
  try {
    HFONT font = size > 0 ? CreateFontA(-size, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH, "Marlett")
                          : nullptr;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKMARLETT").Number(size), HandleText(font));
    return font;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HWND __stdcall SKBUTIMAGE(HWND parent, const char* image, int32_t x, int32_t y,
                                        int32_t id) {
  try {
    HWND button = nullptr;
    HBITMAP bitmap = nullptr;
    if (parent != nullptr && IsWindow(parent) && image != nullptr && image[0] != '\0') {
      bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), image, IMAGE_BITMAP, 0, 0, 0));
      // A name that is no resource of the program may be a bitmap file (the
      // panels' help buttons are images beside the program).
      if (bitmap == nullptr) {
        bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, image, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
      }
    }
    BITMAP size = {};
    if (bitmap != nullptr && GetObjectA(bitmap, sizeof(size), &size) != 0) {
      const int left = x == -1 ? 1 : x;
      button = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP,
                               left, y, size.bmWidth + 4, size.bmHeight + 4, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                               nullptr);
      if (button != nullptr) {
        SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
      } else {
        DeleteObject(bitmap);
      }
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKBUTIMAGE")
                            .Raw(HandleText(parent))
                            .Text(image)
                            .Number(x)
                            .Number(y)
                            .Number(id),
                        HandleText(button));
    return button;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKCURSORSTD(HWND window) {
  try {
    int32_t result = 0;
    if (window != nullptr && IsWindow(window)) {
      HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
      SetClassLongPtrA(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(arrow));
      POINT pointer = {};
      if (GetCursorPos(&pointer) && WindowFromPoint(pointer) == window) SetCursor(arrow);
      result = 1;
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKCURSORSTD").Raw(HandleText(window)), result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API HDC __stdcall SKDCDESKTOP(int32_t mode) {
  try {
    HDC result = nullptr;
    if (mode == 0) {
      result = HeldDesktop().dc != nullptr ? HeldDesktop().dc : TakeDesktopCopy(MomentaryDesktop());
    } else if (mode == 1) {
      FreeDesktopCopy(MomentaryDesktop());
      result = TakeDesktopCopy(HeldDesktop());
    } else if (mode == 2) {
      FreeDesktopCopy(MomentaryDesktop());
      result = FreeDesktopCopy(HeldDesktop()) ? reinterpret_cast<HDC>(1) : nullptr;
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKDCDESKTOP").Number(mode), HandleText(result));
    return result;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKGETDEFAULTPRINTER(char* out, int32_t outSize) {
  try {
    std::string device(1024, '\0');
    DWORD length = GetProfileStringA("windows", "device", "", device.data(), static_cast<DWORD>(device.size()));
    device.resize(length);
    // An entry without its two commas names no usable printer.
    if (device.find(',') == std::string::npos) device.clear();
    return themecore::engine::ReturnTextOut(orbtrace::CallLine(kLibrary, "SKGETDEFAULTPRINTER"), device, out,
                                            outSize);
  } catch (...) {
    return 0;
  }
}

THEMECORE_API HDC __stdcall SKPRINTDLG(HWND owner) {
  orbtrace::CallLine call(kLibrary, "SKPRINTDLG");
  HDC dc = nullptr;
  try {
    themecore::BoxAnswer answer;
    if (themecore::NextScriptedAnswer(themecore::BoxKind::kMessageBox, 2, &answer)) {
      if (answer.button == 1) {
        std::string device(1024, '\0');
        DWORD length = GetProfileStringA("windows", "device", "", device.data(), static_cast<DWORD>(device.size()));
        device.resize(length);
        const size_t comma = device.find(',');
        if (comma != std::string::npos) {
          const std::string name = device.substr(0, comma);
          dc = CreateDCA(nullptr, name.c_str(), nullptr, nullptr);
        }
      }
    } else {
      PRINTDLGA dialog = {};
      dialog.lStructSize = sizeof(dialog);
      dialog.hwndOwner = owner;
      dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
      if (PrintDlgA(&dialog)) dc = dialog.hDC;
      if (dialog.hDevMode != nullptr) GlobalFree(dialog.hDevMode);
      if (dialog.hDevNames != nullptr) GlobalFree(dialog.hDevNames);
    }
  } catch (...) {
    dc = nullptr;
  }
  orbtrace::WriteCall(call, dc != nullptr ? 1 : 0);
  return dc;
}
