// The engine's helpers for long operations and plain panels: the wait
// cursor, the skin's control background and the tiling that lays it over a
// window (SKCURSORWAIT, SKCTLBACK, SKTILEBLT).
//
// Panels and wait windows tile the background from their own top-left
// corner; a caller that wants its tiles to line up with a parent's passes a
// negative origin and a larger size, which is why the rectangle is only cut
// at its far edges here.
#include <windows.h>

#include <algorithm>
#include <string>

#include "engine_state.h"
#include "themecore.h"
#include "trace_writer.h"
#include "ui_internal.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";

}  // namespace

bool TileBitmap(HDC dc, int x, int y, int width, int height, HBITMAP tile) {
  int tileWidth = 0;
  int tileHeight = 0;
  if (!BitmapSize(tile, &tileWidth, &tileHeight) || tileWidth < 1 || tileHeight < 1) return false;
  HDC source = CreateCompatibleDC(dc);
  if (source == nullptr) return false;
  HGDIOBJ previous = SelectObject(source, tile);
  bool copied = previous != nullptr;
  for (int top = y; copied && top < y + height; top += tileHeight) {
    const int rowHeight = std::min(tileHeight, y + height - top);
    for (int left = x; copied && left < x + width; left += tileWidth) {
      const int columnWidth = std::min(tileWidth, x + width - left);
      copied = BitBlt(dc, left, top, columnWidth, rowHeight, source, 0, 0, SRCCOPY) != FALSE;
    }
  }
  if (previous != nullptr) SelectObject(source, previous);
  DeleteDC(source);
  return copied;
}

}  // namespace themecore

using themecore::engine::HandleText;
using themecore::kLibrary;

THEMECORE_API HCURSOR __stdcall SKCURSORWAIT() {
  try {
    HCURSOR before = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKCURSORWAIT"), HandleText(before));
    return before;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HBITMAP __stdcall SKCTLBACK() {
  try {
    HBITMAP image = themecore::SkinBitmap("ctlback");
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKCTLBACK"), HandleText(image));
    return image;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKTILEBLT(HDC dc, int32_t x, int32_t y, int32_t width,
                                          int32_t height, HBITMAP tile) {
  try {
    int32_t result = 0;
    if (dc != nullptr && tile != nullptr && width > 0 && height > 0) {
      result = themecore::TileBitmap(dc, x, y, width, height, tile) ? 1 : 0;
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKTILEBLT")
                            .Raw(HandleText(dc))
                            .Number(x)
                            .Number(y)
                            .Number(width)
                            .Number(height)
                            .Raw(HandleText(tile)),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}
