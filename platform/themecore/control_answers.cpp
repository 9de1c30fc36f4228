// The engine's answers for controls of windows a caller skins itself (the
// skinning library): an owner-drawn button drawn in the engine's button
// look (SKDRAWITEM), a static's colours (SKCTLCOLORSTATIC), the skin's
// control background tiled behind a control so that it continues its
// window's (SKTILEBACK), and whether a control has colours of its own
// (SKCHECKCOLORPROPERTY, set with SKSETCOLOR).
#include <windows.h>

#include "engine_state.h"
#include "themecore.h"
#include "themecore_frame.h"
#include "trace_writer.h"
#include "ui_internal.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";

bool DrawItem(const DRAWITEMSTRUCT* item) {
  if (item == nullptr || item->CtlType != ODT_BUTTON || item->hDC == nullptr ||
      item->hwndItem == nullptr) {
    return false;
  }
  const bool pushed = (item->itemState & ODS_SELECTED) != 0;
  const bool hot = (item->itemState & ODS_HOTLIGHT) != 0;
  const bool focused = (item->itemState & ODS_FOCUS) != 0;
  DrawPushButtonLook(item->hwndItem, item->hDC, item->rcItem, pushed, hot, focused);
  return true;
}

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

HBRUSH StaticColours(HDC dc, HWND control) {
  LRESULT brush = 0;
  if (ColoursOf(control) != nullptr &&
      AnswerControlColour(WM_CTLCOLORSTATIC, dc, control, false, &brush)) {
    return reinterpret_cast<HBRUSH>(brush);
  }
  // The caller shows the skin's background behind the text.
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, SkinColour(colour::kBoxText));
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

}  // namespace

}  // namespace themecore

using themecore::engine::HandleText;
using themecore::kLibrary;

THEMECORE_API int32_t __stdcall SKDRAWITEM(const DRAWITEMSTRUCT* item) {
  try {
    const int32_t result = themecore::DrawItem(item) ? 1 : 0;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKDRAWITEM")
                            .Raw(item != nullptr ? HandleText(item->hwndItem) : std::string("NULL")),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API HBRUSH __stdcall SKCTLCOLORSTATIC(HDC dc, HWND control) {
  try {
    HBRUSH brush = dc != nullptr ? themecore::StaticColours(dc, control) : nullptr;
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKCTLCOLORSTATIC").Raw(HandleText(dc)).Raw(HandleText(control)),
        HandleText(brush));
    return brush;
  } catch (...) {
    return nullptr;
  }
}

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
