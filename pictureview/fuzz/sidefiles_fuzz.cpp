// The readers of the picture browser's outside data: the placement file and
// a picture's keyword side file, and the wall's action text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/view_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  view::Placement placement;
  if (view::DecodePlacement(bytes, &placement)) {
    view::Placement again;
    if (!view::DecodePlacement(view::EncodePlacement(placement), &again) || again.folder != placement.folder) {
      __builtin_trap();
    }
  }
  const std::string keywords = view::KeywordsOf(bytes);
  if (keywords.find('\0') != std::string::npos) __builtin_trap();
  const view::WallParameters wall = view::ParseWallParameters(bytes);
  if (wall.columns < 1 || wall.rows < 1 || wall.delayMs < 0) __builtin_trap();
  view::CommandLineFolder(bytes);
  return 0;
}
