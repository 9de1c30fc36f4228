// The placement file of the picture tool: read once at start-up, before the
// main window exists, and written at the orderly close.  The last folder
// and filter go to the program's state, the magnifier's position to the
// magnifier; the window's place and size are returned.
#pragma once

#include <cstdint>
#include <string>

namespace paint {

struct Placement {
  int32_t x = 0, y = 0, width = 600, height = 400;
};

// <temp><program name up to its first ".">.cfg
std::string PlacementFilePath();
Placement ReadPlacementFile();
// Writes the window's place and size with the last folder, the last filter
// and the magnifier's position, through a temporary file; a failed write
// leaves the old file.
void WritePlacementFile(const Placement& placement);

}  // namespace paint
