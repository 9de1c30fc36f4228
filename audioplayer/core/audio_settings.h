// The audio player's settings file: one line in the temporary folder,
// fields separated by "|", no line end:
//
//   left|top|width|height|last open folder|second folder|skin|pane x|pane y
//
// Numbers are written as BASIC's Str writes them (a blank before a value of
// 0 and above, "-" before a negative one) and read as its Val reads them
// (leading blanks skipped, digits up to the first other byte, nothing: 0).
// The skin field is always written empty.
#pragma once

#include <cstdint>
#include <string>

namespace audio {

struct AudioSettings {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::string lastFolder;
  std::string secondFolder;
  std::string skin;
  int32_t paneX = -1;  // -1, -1: no pane position
  int32_t paneY = -1;
};

// "<temp folder><program file name up to its first '.'>.cfg".
std::string SettingsFilePath(const std::string& tempFolder, const std::string& exeName);

std::string NumberText(int32_t value);  // Str
int32_t NumberValue(const std::string& text);  // Val, held to 32 bits

std::string EncodeSettingsLine(const AudioSettings& settings);
// Reads a line: left and top are held at 0 and above, the pane position is
// read only from a line of more than 8 fields.  False (nothing changed) for
// an empty line.
bool DecodeSettingsLine(const std::string& line, AudioSettings* settings);

struct ScreenArea {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};
// Whether a pane saved at (x, y) of the given size shows at least partly on
// the (virtual) screen; (-1, -1) is no position.
bool PanePlaceVisible(int32_t x, int32_t y, int32_t width, int32_t height, const ScreenArea& screen);

// Where a window of the given size sits centred in `screen`.
void CentreIn(const ScreenArea& screen, int32_t width, int32_t height, int32_t* x, int32_t* y);

}  // namespace audio
