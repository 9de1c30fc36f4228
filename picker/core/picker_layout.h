// Where the picker dialog's controls go, how large it is and where it
// opens, and how Tab walks its controls.  Client coordinates; the column
// width is 184 and the list 164 high.
#pragma once

#include <cstdint>

namespace picker {

struct Box {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

struct PickerLayoutInput {
  int32_t mode = 0;              // non-zero: address mode
  bool hasTreeLabel = false;
  bool hasFieldLabel = false;
  int32_t widestCaption = 0;     // pixels of the widest button caption
  int32_t buttonCount = 0;
};

struct PickerLayout {
  bool isCompact = false;  // no tree, no field row
  Box tree;                // only shown with a tree label
  Box list;
  Box filter;
  bool hasFieldRow = false;
  Box fieldFrame;          // the field row's frame
  Box edit;                // address mode's edit box
  Box pathDisplay;         // the read-only path display
  int32_t buttonX = 0;
  int32_t buttonWidth = 0;
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  int32_t listLabelX = 0;
};

PickerLayout LayOutPicker(const PickerLayoutInput& input);

// Button k (1-based).
Box ButtonBox(const PickerLayout& layout, int32_t k);

// The frame around the client adds these (skin sizes 4 + 5 across, 1 + 6
// down).
struct FrameSizes {
  int32_t left = 0, right = 0, caption = 0, bottom = 0;
};

// Where the framed dialog opens: centred on the owner's rectangle, kept
// off the screen's right and bottom edges first and its left and top
// edges last (x := MAX(0, centred), then MIN(x, screen - framed)).
struct Point {
  int32_t x = 0, y = 0;
};
Point PlaceCentred(const Box& owner, int32_t framedWidth, int32_t framedHeight,
                   int32_t screenWidth, int32_t screenHeight);

// Tab from stop `position` (1-based; 0 when the focus is on none) among
// `count` stops, forwards or backwards, wrapping around.  0 when there is
// no stop.
int32_t NextTabStop(int32_t position, int32_t count, bool backwards);

}  // namespace picker
