// The media player's configuration file: one line without a line end,
// eleven fields joined by "|":
//
//   left|top|width|height|folderA|folderB|skin|bar x|bar y|layout|on top
//
// Numbers are written as Str(n) (a blank before a number that is not
// negative).  folderA is where the open command starts, folderB where a
// saved frame goes; the skin is always written empty; bar x, bar y are the
// control bar's place (-1 = none); layout is the video layout item 303-307
// (the zoom, 308, is saved as 307); on top is 0 or -1.  Where the file lies
// is chosen by the option line's field 13.  Also here: the window size the
// player takes when no file was read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace player {

struct WindowConfig {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::string folderA;
  std::string folderB;
  std::string skin;
  int32_t barX = -1;
  int32_t barY = -1;
  int32_t layoutItem = 0;  // 0: none in the file
  bool alwaysOnTop = false;
  bool operator==(const WindowConfig&) const = default;
};

// Files larger than this are no configuration file.
constexpr size_t kMaxWindowConfigBytes = 4096;
// A window side read from the file must lie within 1..this.
constexpr int32_t kMaxWindowSide = 16384;

// Reads the line.  False (and *config untouched) for a damaged file: fewer
// than seven fields, a zero byte or a line break inside, a size field that
// is no whole number, a width or height outside 1..kMaxWindowSide, or a
// file above kMaxWindowConfigBytes.  Left and top below 0 read as 0;
// fields 8 and 9 count only when the line has more than 8 fields, 10 when
// it has more than 9 (a value outside 303..308 is ignored), 11 when more
// than 10.  One trailing line end is tolerated.
bool ParseWindowConfig(const std::string& bytes, WindowConfig* config);

// The line written back (no line end): layout 308 as 307, skin empty.
std::string FormatWindowConfig(const WindowConfig& config);

// Str(n): a blank before a number that is not negative.
std::string StrNumber(int32_t n);

struct ConfigFolders {
  std::string programFolder;  // each ends in "\"
  std::string tempFolder;
  std::string windowsFolder;
  std::string systemFolder;
};
// The file named by field 13 (lower-cased first): "" (no file) when it
// contains "0o"; empty, "@temp@" or "@tmp@": the temporary folder; "@path@"
// at the start: replaced by the program folder; "@win@": the Windows
// folder; "@sys@": the system folder + the field without "@sys@"; anything
// else as it stands.  The default name is `baseName` + ".cfg".
std::string WindowConfigPath(const std::string& field13, const ConfigFolders& folders, const std::string& baseName);

// The window size when nothing was read or the option line sets it
// (fields 9 and 10): a width of 0 takes `maxSize`'s width for 800 x 600,
// a negative one the screen's; a height of 0 becomes 600, a negative one
// the screen's; the window is then centred (never left of or above 0).
struct WindowRect {
  int32_t left = 0, top = 0, width = 0, height = 0;
  bool operator==(const WindowRect&) const = default;
};
using MaxSizeFunction = std::function<void(int32_t width, int32_t height, int32_t* widthOut, int32_t* heightOut)>;
WindowRect DefaultWindowRect(WindowRect read, bool nothingRead, int32_t field9, int32_t field10,
                             int32_t screenWidth, int32_t screenHeight, const MaxSizeFunction& maxSize);

}  // namespace player
