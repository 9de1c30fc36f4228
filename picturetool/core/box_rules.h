// Portable rules of the text box and the shape box: track-bar positions
// and colour bytes, the character grid's cells and its enlarged viewer,
// the grid's keys, the values OK takes from the lists, and the sample the
// shape box previews.
#pragma once

#include <cstdint>
#include <string>

namespace paint {

// A track position (0-100) as a colour byte: round(position x 2.55), the
// factor held in single precision (slightly below 2.55), so 50 gives 127
// and 100 gives 255; the low 8 bits.
uint8_t TrackToByte(int32_t position);
// A colour byte as a track position: component x 100 \ 255.
int32_t ByteToTrack(int32_t component);

// The character grid: 32 columns, 7 rows, characters 32-255.
constexpr int32_t kGridColumns = 32;
constexpr int32_t kGridRows = 7;
constexpr int32_t kFirstGridChar = 32;
constexpr int32_t kLastGridChar = 255;

// The character under a point of a grid of the given client size: the
// cell drawn there; a point beyond the cells takes the nearest one.
int32_t GridCharAt(int32_t x, int32_t y, int32_t width, int32_t height);

// Where character k's text of the given extent starts, centred in its cell.
struct GridPoint {
  int32_t x = 0, y = 0;
};
GridPoint GridTextOrigin(int32_t k, int32_t width, int32_t height, int32_t textWidth, int32_t textHeight);

// The hover rectangle of the current character (grid coordinates) and the
// viewer's rectangle (the box's coordinates; the grid at gridLeft, gridTop).
struct ViewerPlace {
  int32_t hoverX = 0, hoverY = 0, hoverWidth = 0, hoverHeight = 0;
  int32_t viewerX = 0, viewerY = 0, viewerWidth = 0, viewerHeight = 0;
};
ViewerPlace PlaceViewer(int32_t character, int32_t gridLeft, int32_t gridTop, int32_t width, int32_t height);

// The grid's arrow keys.
enum class GridKey { kLeft, kRight, kUp, kDown };
// The current character after a key: left and right step by one, up and
// down by a row when one is there; always within 32-255.
int32_t MoveGridChar(int32_t character, GridKey key);

// What OK takes from a list: the list's choice, or the value the box came
// with when the list holds none (a family not installed here, a size
// outside the list), and the default only when that is empty too.
std::string ChosenFamily(const std::string& listText, const std::string& incoming);
int32_t ChosenSize(int32_t listSize, int32_t incoming, int32_t fallback);

// The sample shape the shape box previews for an object word, in a strip
// of the given client width: kind and style drawn, its place, its two
// points and its pen width.
struct ShapeSample {
  uint16_t kind = 0, style = 0;
  int32_t x = 0, y = 0;
  int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int32_t penWidth = 0;
};
ShapeSample SampleFor(uint32_t word, int32_t clientWidth, int32_t shadow, int32_t penWidth);
// The pen-width list is disabled for the filled styles 2, 3 and 4.
bool IsFilledStyle(uint16_t style);

}  // namespace paint
