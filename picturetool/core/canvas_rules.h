// Portable rules of the picture tool's canvas: scroll steps and limits, the
// selection rectangle, the red-eye brush (its square, its grey and the
// records that undo it) and the full-screen view's panning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace paint {

// The new scroll position for a scroll-bar code (SB_LINEUP 0, SB_LINEDOWN
// 1, SB_PAGEUP 2, SB_PAGEDOWN 3, SB_THUMBPOSITION 4, SB_THUMBTRACK 5; other
// codes keep it), limited to 0..MAX(0, bitmap - client).
int32_t ScrolledPosition(int32_t position, int32_t code, int32_t thumb, int32_t bitmapSize, int32_t clientSize);

// The grey of a colour (0x00BBGGRR) by the luma weights in 16.16 fixed point.
uint32_t GreyOfColor(uint32_t colour);

// The points a red-eye click changes: the 5 x 5 square around the centre
// less its corners, row by row, only those inside 0..width-1 by
// 0..height-1 of the picture.
struct CanvasPoint {
  int32_t x, y;
  bool operator==(const CanvasPoint&) const = default;
};
std::vector<CanvasPoint> RedEyePoints(int32_t centreX, int32_t centreY, int32_t width, int32_t height);

// One red-eye click: the square's top-left and the colours it replaced, in
// the order RedEyePoints gives them.
struct RedEyeRecord {
  int32_t left = 0, top = 0;
  std::vector<uint32_t> previous;
};

// The strokes of the red-eye brush since the canvas was last written to the
// working copy: undoing the last one of them clears the canvas-only mark,
// undoing within a later spell of the mode does not drop an earlier spell's
// mark.
class RedEyeStrokes {
 public:
  void Add(RedEyeRecord record);
  // The newest record of this spell, taken off; false when none.
  bool TakeNewest(RedEyeRecord* record);
  // The mode ends: its records are dropped, the strokes stay counted.
  void EndSpell() { records_.clear(); }
  // The canvas was written to a file: no stroke is only on the canvas.
  void Flushed() { records_.clear(); unflushed_ = 0; }
  bool AnyOnCanvasOnly() const { return unflushed_ > 0; }
  size_t RecordCount() const { return records_.size(); }

 private:
  std::vector<RedEyeRecord> records_;
  int32_t unflushed_ = 0;
};

// A selection with its corners in order; false when it is not a rectangle
// of at least one pixel (a corner unset or the corners equal on an axis).
struct Selection {
  int32_t left = -1, top = -1, right = -1, bottom = -1;
};
bool OrderedSelection(const Selection& selection, Selection* ordered);

// One step of the full-screen view's panning: `offset` moved by `delta`,
// limited to lowest..0 (lowest = screen - picture, not above 0).
int32_t PannedOffset(int32_t offset, int32_t delta, int32_t lowest);

// The print layout on a page of `pageWidth` x `pageHeight` pixels: the
// picture scaled to fit inside the margins (60/0 on a landscape page, 15/60
// on a portrait one), centred, then moved by the margins.
struct PrintPlacement {
  int32_t x = 0, y = 0, width = 0, height = 0;
};
PrintPlacement PrintLayout(int32_t pageWidth, int32_t pageHeight, bool landscape, int32_t pictureWidth,
                           int32_t pictureHeight);

}  // namespace paint
