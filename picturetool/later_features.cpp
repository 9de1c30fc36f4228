#include "later_features.h"

#include "paint_state.h"

namespace paint {

namespace {
void NotBuilt(const char* name, const std::string& argument = "") { TraceProgramCall(name, argument, "not built"); }
}  // namespace

Placement ReadPlacementFile() {
  NotBuilt("ReadPlacementFile");
  return Placement{};
}
void WritePlacementFile(const Placement& placement) {
  NotBuilt("WritePlacementFile", std::to_string(placement.x) + ", " + std::to_string(placement.y) + ", " +
                                     std::to_string(placement.width) + ", " + std::to_string(placement.height));
}
void CommandNotBuilt(int32_t id) { NotBuilt("Command", std::to_string(id)); }
void ShowMagnifier() { NotBuilt("ShowMagnifier"); }

HWND CreateColorPicker(HWND parent, int32_t x, int32_t y, HBITMAP) {
  NotBuilt("CreateColorPicker");
  return CreateWindowExA(WS_EX_CLIENTEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ETCHEDFRAME, x, y, 132, 100,
                         parent, nullptr, Paint().instance, nullptr);
}

HWND CreateColorSwatch(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height, int32_t id,
                       COLORREF colour) {
  constexpr char kSwatchClass[] = "SKSTATIC";
  WNDCLASSEXA known = {};
  known.cbSize = sizeof(known);
  if (!GetClassInfoExA(Paint().instance, kSwatchClass, &known)) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = Paint().instance;
    windowClass.hbrBackground = CreateSolidBrush(colour);
    windowClass.lpszClassName = kSwatchClass;
    if (RegisterClassExA(&windowClass) == 0) return nullptr;
  }
  return CreateWindowExA(WS_EX_CLIENTEDGE, kSwatchClass, "", WS_CHILD | WS_VISIBLE | WS_DISABLED, x, y, width, height,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Paint().instance, nullptr);
}

}  // namespace paint
