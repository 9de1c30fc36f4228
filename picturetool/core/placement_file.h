// The picture tool's placement file (<temp>orbpaint.cfg): the main window's
// place and size, the folder and file pattern of the last picture opened and
// the magnifier's position, kept between runs in a few bytes.
//
// Layout, little-endian, no header and no terminator:
//   0  i16 window x (its top-left corner on the screen)
//   2  i16 window y
//   4  i16 window width (outer size)
//   6  i16 window height
//   8  last folder, up to "|"
//      "|"
//      last filter ("*" and the upper-case extension), up to "#"
//      "#"                       (always the fifth byte from the end)
//  -4  i16 magnifier x, -2 i16 magnifier y
// Values are stored as the low 16 bits of the program's 32-bit values.
#pragma once

#include <cstdint>
#include <string>

namespace paint {

struct PlacementRecord {
  int32_t x = 0, y = 0, width = 0, height = 0;
  std::string lastFolder, lastFilter;
  int32_t magnifierX = 0, magnifierY = 0;
};

// What a read needs from the machine: the skin engine's smallest window,
// the screen size and the Windows folder (the first run's start folder).
struct PlacementContext {
  int32_t minimumWidth = 0, minimumHeight = 0;
  int32_t screenWidth = 0, screenHeight = 0;
  std::string windowsFolder;
};

// The first run's placement: 600 x 400 centred (never left of or above the
// screen), the magnifier at 0, 0, the Windows folder and no filter.
PlacementRecord DefaultPlacement(const PlacementContext& context);

// Reads the file's bytes.  An empty or short file (fewer than the four
// window values) gives the defaults.  Positions below 0 become 0; a size
// below the smallest window becomes it.  The magnifier position is taken
// only when the "#" stands five bytes from the end with its four bytes
// after it; otherwise the caller's `magnifierX`, `magnifierY` stay, and a
// damaged tail from a last "#" on is dropped.  Folder and filter end at a
// zero byte, so no caller sees a cut text.
PlacementRecord ReadPlacement(const std::string& bytes, const PlacementContext& context, int32_t magnifierX,
                              int32_t magnifierY);

// The bytes of the file for a record.
std::string PlacementBytes(const PlacementRecord& record);

}  // namespace paint
