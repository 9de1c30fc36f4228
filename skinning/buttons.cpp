// The skinned buttons a host makes through the library (the engine's push,
// check and radio buttons in the skin's default font), and the exports of
// the menu bar.
#include <windows.h>

#include <cstdint>

#include "library_state.h"
#include "themeapi.h"
#include "themecore.h"

THEMEAPI_API HWND __stdcall skButtonPush(HWND parent, const char* text, HFONT font, int32_t x,
                                         int32_t y, int32_t width, int32_t height, int32_t id) {
  try {
    if (font == nullptr) font = SKDEFAULTFONT();
    // The engine's style record: zero but for the byte at 56.
    uint8_t style[64] = {};
    style[56] = 1;
    return SKBUT3D(parent, text, font, x, y, width, height, id, reinterpret_cast<intptr_t>(style));
  } catch (...) {
    return nullptr;
  }
}

namespace {

using MakeButton = HWND(__stdcall*)(HWND, const char*, HFONT, int32_t, int32_t, int32_t, int32_t,
                                   int32_t, intptr_t);

HWND MakeWithFont(MakeButton make, HWND parent, const char* text, HFONT font, int32_t x, int32_t y,
                  int32_t width, int32_t height, int32_t id) {
  HWND button = make(parent, text, nullptr, x, y, width, height, id, 0);
  if (button == nullptr) return nullptr;
  SKSETCTLFONT(button, font != nullptr ? font : SKDEFAULTFONT());
  return button;
}

}  // namespace

THEMEAPI_API HWND __stdcall skButtonCheck(HWND parent, const char* text, HFONT font, int32_t x,
                                          int32_t y, int32_t width, int32_t height, int32_t id) {
  try {
    return MakeWithFont(&SKCHECKBUTTON, parent, text, font, x, y, width, height, id);
  } catch (...) {
    return nullptr;
  }
}

THEMEAPI_API HWND __stdcall skButtonRadio(HWND parent, const char* text, HFONT font, int32_t x,
                                          int32_t y, int32_t width, int32_t height, int32_t id) {
  try {
    return MakeWithFont(&SKRADIOBUTTON, parent, text, font, x, y, width, height, id);
  } catch (...) {
    return nullptr;
  }
}

THEMEAPI_API HWND __stdcall skMenuContainer(HWND window) {
  skinning::WindowRecordPtr record = skinning::FindWindowRecord(window);
  return record != nullptr ? record->menuBar : nullptr;
}

THEMEAPI_API HMENU __stdcall skGetMenu(HWND window) {
  HWND bar = skMenuContainer(window);
  return bar != nullptr ? GetMenu(bar) : nullptr;
}

THEMEAPI_API void __stdcall skDrawMenuBar(HWND window) {
  if (HWND bar = skMenuContainer(window)) DrawMenuBar(bar);
}
