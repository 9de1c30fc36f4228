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
// Asking to save changes before another picture replaces the canvas.
void SaveChangesPrompt();
// Writing a changed picture's pixels (save, save as).
void SavePictureAs(const std::string& target);
// The command of `id` that another part of the program will carry out.
void CommandNotBuilt(int32_t id);
// The canvas's full-screen view, selection, red-eye and magnifier.
void ShowFullView();
// The help hand-off.
void ShowHelp();

}  // namespace paint
