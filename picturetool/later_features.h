// The picture tool's commands and files that are not built yet.  Each is
// called where the program will need it, writes one trace line
// ("orbpaint <Name>(...) = not built") and does nothing else, so nothing
// pretends to have done work it did not do.
#pragma once

#include <cstdint>
#include <string>

namespace paint {

struct Placement {
  int32_t x = 40, y = 40, width = 800, height = 600;
};

// The placement file: read gives the built-in placement, write nothing.
Placement ReadPlacementFile();
void WritePlacementFile(const Placement& placement);
// The command of `id` that another part of the program will carry out.
void CommandNotBuilt(int32_t id);
// The magnifier.
void ShowMagnifier();

}  // namespace paint
