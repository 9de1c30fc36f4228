// The engine's helpers for the picture loader and the programs that paint
// pictures: the screen's DC (SKDISPLAYDC), a window's DC taken and given
// back (SKGETDC, SKRELEASEDC) and fitting a picture into a box
// (SKICONISE, arithmetic in core/fit_box).
#include <windows.h>

#include "engine_internal.h"
#include "fit_box.h"
#include "themecore_loader.h"
#include "trace_writer.h"

namespace {

const char kLibrary[] = "themecore";

}  // namespace

using themecore::engine::HandleText;

THEMECORE_API HDC __stdcall SKDISPLAYDC() {
  try {
    HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKDISPLAYDC"), HandleText(dc));
    return dc;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HDC __stdcall SKGETDC(HWND window) {
  try {
    HDC dc = GetDC(window);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKGETDC").Raw(HandleText(window)), HandleText(dc));
    return dc;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKRELEASEDC(HWND window, HDC dc) {
  try {
    const int32_t result = dc != nullptr && ReleaseDC(window, dc) == 1 ? 1 : 0;
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKRELEASEDC").Raw(HandleText(window)).Raw(HandleText(dc)), result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKICONISE(int32_t width, int32_t height, int32_t boxWidth,
                                          int32_t boxHeight, int32_t* x, int32_t* y,
                                          int32_t* fittedWidth, int32_t* fittedHeight) {
  try {
    themecore::FittedBox box;
    const int32_t result = themecore::FitIntoBox(width, height, boxWidth, boxHeight, &box) ? 1 : 0;
    if (x != nullptr) *x = box.x;
    if (y != nullptr) *y = box.y;
    if (fittedWidth != nullptr) *fittedWidth = box.width;
    if (fittedHeight != nullptr) *fittedHeight = box.height;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKICONISE")
                            .Number(width)
                            .Number(height)
                            .Number(boxWidth)
                            .Number(boxHeight)
                            .Raw(std::to_string(box.x) + "," + std::to_string(box.y) + "," +
                                 std::to_string(box.width) + "x" + std::to_string(box.height)),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}
