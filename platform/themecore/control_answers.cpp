// The engine's answers for controls of windows a caller skins itself (the
// skinning library): an owner-drawn button drawn in the engine's button
// look (for SKDRAWITEM, box_controls.cpp), the skin's control background
// tiled behind a control so that it continues its window's (SKTILEBACK),
// and whether a control has colours of its own (SKCHECKCOLORPROPERTY, set
// with SKSETCOLOR).
#include <windows.h>

#include "engine_state.h"
#include "themecore.h"
#include "themecore_frame.h"
#include "trace_writer.h"
#include "ui_internal.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";

}  // namespace

bool DrawButtonItem(const DRAWITEMSTRUCT* item) {
  if (item == nullptr || item->CtlType != ODT_BUTTON || item->hDC == nullptr ||
      item->hwndItem == nullptr) {
    return false;
  }
  // Only a button window is drawn as one.
  char className[16] = {};
  GetClassNameA(item->hwndItem, className, sizeof(className));
  if (lstrcmpiA(className, "Button") != 0 && ClassOf(item->hwndItem) != EngineClass::kButton) return false;
  const bool pushed = (item->itemState & ODS_SELECTED) != 0;
  const bool hot = (item->itemState & ODS_HOTLIGHT) != 0;
  const bool focused = (item->itemState & ODS_FOCUS) != 0;
  const int width = item->rcItem.right - item->rcItem.left;
  const int height = item->rcItem.bottom - item->rcItem.top;
  int stripWidth = 0;
  int stripHeight = 0;
  HDC strip = WindowBitmapDc(item->hwndItem);
  const bool hasPictures = strip != nullptr && WindowBitmapSize(item->hwndItem, &stripWidth, &stripHeight) &&
                           width > 0 && stripWidth == 3 * width && stripHeight == height;
  if (!hasPictures || (item->itemState & ODS_DISABLED) != 0) {
    DrawPushButtonLook(item->hwndItem, item->hDC, item->rcItem, pushed, hot, focused);
    return true;
  }
  // The pictures SKDRAWBUT3D made: normal, hot, pressed.
  const int frame = pushed ? 2 : hot ? 1 : 0;
  BitBlt(item->hDC, item->rcItem.left, item->rcItem.top, width, height, strip, frame * width, 0, SRCCOPY);
  if (focused && FocusRectEnabled()) {
    RECT focus = item->rcItem;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(item->hDC, &focus);
  }
  return true;
}

namespace {

// The control's client origin less its top-level window's client origin.
POINT OffsetInTopLevel(HWND control) {
  POINT origin = {0, 0};
  ClientToScreen(control, &origin);
  HWND top = GetAncestor(control, GA_ROOT);
  POINT topOrigin = {0, 0};
  if (top != nullptr) ClientToScreen(top, &topOrigin);
  return {origin.x - topOrigin.x, origin.y - topOrigin.y};
}

bool TileBehind(HWND control, HDC dc) {
  RECT client;
  if (control == nullptr || dc == nullptr || !GetClientRect(control, &client)) return false;
  const POINT offset = OffsetInTopLevel(control);
  if (TileBitmap(dc, -offset.x, -offset.y, client.right + offset.x, client.bottom + offset.y,
                 SkinBitmap("ctlback"))) {
    return true;
  }
  // A skin without a control background: its panel colour.
  FillSolid(dc, client, SkinColour(colour::kBoxBack));
  return true;
}

}  // namespace

}  // namespace themecore

using themecore::engine::HandleText;
using themecore::kLibrary;

THEMECORE_API int32_t __stdcall SKTILEBACK(HWND control, HDC dc) {
  try {
    const int32_t result = themecore::TileBehind(control, dc) ? 1 : 0;
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKTILEBACK").Raw(HandleText(control)).Raw(HandleText(dc)),
        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKCHECKCOLORPROPERTY(HWND control) {
  try {
    const int32_t result = control != nullptr && themecore::ColoursOf(control) != nullptr ? 1 : 0;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKCHECKCOLORPROPERTY").Raw(HandleText(control)),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}
