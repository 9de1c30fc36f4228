#include "later_features.h"

#include "paint_state.h"

namespace paint {

namespace {
void NotBuilt(const char* name, const std::string& argument = "") { TraceProgramCall(name, argument, "not built"); }
}  // namespace

void CommandNotBuilt(int32_t id) { NotBuilt("Command", std::to_string(id)); }

}  // namespace paint
