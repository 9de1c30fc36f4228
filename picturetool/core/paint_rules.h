// Portable rules of the picture tool's start-up and main window: the names
// derived from the program's path, the About text, the tool-bar layout and
// the titles of object windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/command_line.h"

namespace paint {

// The program's path without the extension of its file name: only a "."
// after the last "\" or "/" starts the extension, so a folder such as
// "C:\Users\john.doe\" stays whole.  A name without "." is returned as it
// is.  The text table is this + ".SYS".
std::string BasePathOf(const std::string& exePath);

// The About text: every "#" of `text` replaced by the year, which is the
// last four characters of a month-day-year date text ("12-10-2026").
std::string AboutText(const std::string& author, const std::string& text, const std::string& dateText);

// "|"-separated picture lists: the number of fields ("" is 0) and field n
// (1-based; "" beyond the last).
size_t PictureCountOf(const std::string& list);
std::string PictureAt(const std::string& list, size_t n);

// A suite command's text carries a new picture list only when it names at
// least one picture: an empty text leaves the current list alone.
bool CarriesPictureList(const std::string& text);

// The x positions of the tool bar.  B is the page-button width (39).
constexpr int32_t kPageButtonWidth = 39;
struct ToolbarLayout {
  int32_t previousX, fullViewX, nextX, revertX, revertWidth;
  int32_t trackX, trackY, counterX;
  std::vector<int32_t> toolY;  // the six drawing tools, down the left column
};
ToolbarLayout LayOutToolbar(int32_t revertTextWidth, int32_t trackWidth, int32_t trackHeight);

// An object window's title: the prefix and the number in three digits
// (the last three of "000" + number).
std::string ObjectTitle(const std::string& prefix, int32_t number);

}  // namespace paint
