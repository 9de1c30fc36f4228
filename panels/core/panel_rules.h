// The portable rules of the player panels that the media player and the
// audio player compile in: the panel definition file (which pane bitmap a
// layout takes, which image line a control has, where the control sits),
// the layout columns, where a docked control bar goes, and the mixer's
// volume scale.  The Win32 side is panels/*.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace panels {

// Layout values: 1 document, 2 video (media), 4 picture, 8 audio (media).
// A value's column is its 1-based position in 1, 2, 4, 8, ... 128; the
// value is first held within 1..128, and a value that is no power of two
// takes the column of its highest bit.
int32_t LayoutColumn(int32_t layoutValue);

// Entry 1 of the panel definition: the pane bitmap of each column, a comma
// list.  The field is trimmed and lower-cased, then "@path@" becomes the
// program folder (whose case is kept).  "" when the column has none.
std::string PaneBitmapFile(const std::string& entry1, int32_t column, const std::string& programFolder);

// Panel image ids: the command ids 48..78 and the extra images.
constexpr int32_t kFirstPanelImageId = 48;
constexpr int32_t kLastPanelImageId = 83;
constexpr int32_t kPositionThumbImage = 79;
constexpr int32_t kVolumeThumbImage = 80;
constexpr int32_t kBusyImage = 81;
constexpr int32_t kLevelMeterImage = 82;
constexpr int32_t kMarqueeImage = 83;

// Entry 2: field id - 47 is the number k of the id's image line (entry
// k + 2).  0 when the id is out of range or its field is empty, zero or
// not a positive number.
int32_t ImageLineNumber(const std::string& entry2, int32_t id);

struct PanelPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const PanelPoint&) const = default;
};

// An image line: "name, file, x1, y1, x2, y2, ..." with one pair per
// column; a column past the last pair takes the last pair, a line without
// pairs gives 0, 0.
struct PanelImageLine {
  std::string name;
  std::string file;  // "@path@" replaced, blanks trimmed
  std::vector<PanelPoint> places;
  PanelPoint PlaceFor(int32_t column) const;
};
PanelImageLine ParseImageLine(const std::string& line, const std::string& programFolder);

// Where the control bar goes.  Field 5 of the option line: 1 or 0x21 the
// main window's top-left corner, 2 or 0x22 top-right, 8 or 0x28
// bottom-left, anything else bottom-right; values from 0x20 float (the
// user drags the bar), below it the bar follows the main window.
constexpr int32_t kFloatingPane = 0x20;
bool PaneFloats(int32_t field5);

struct ScreenRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};
// The corner of `mainWindow` (first held within the screen) that a pane of
// the given size docks to; the pane itself is then kept on the screen.
PanelPoint DockPosition(int32_t field5, ScreenRect mainWindow, int32_t screenWidth, int32_t screenHeight,
                        int32_t paneWidth, int32_t paneHeight);
// A remembered pane position is kept unless it is none (-1, -1) or lies
// further off the screen than the pane's own size.
bool SavedPaneUsable(int32_t x, int32_t y, int32_t paneWidth, int32_t paneHeight, int32_t screenWidth,
                     int32_t screenHeight);

// The mixer's volume control counts 0..65535; the panels count 0..100.
int32_t VolumeFromMixerValue(uint32_t value);
// The percent held within 0..100, times 655 (100 is written as 65500).
uint32_t MixerValueFromVolume(int32_t percent);

// The scrolling title's words: at most 256 bytes, trimmed, split at
// blanks, each word lower-cased with its first letter upper-cased (and its
// second too when the word starts with an apostrophe or a parenthesis),
// joined by single blanks.
std::string MarqueeTitle(const std::string& text);

}  // namespace panels
