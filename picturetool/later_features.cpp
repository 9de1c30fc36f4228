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

}  // namespace paint
