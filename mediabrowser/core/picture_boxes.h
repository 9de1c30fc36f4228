// The layouts and values of the media browser's picture boxes that need no
// window: the picture-type box (a simple combo over a centred row of
// buttons, the shape the list-file box shares) and the new-size box (a
// column of buttons beside the program icon, a keep-proportions check box
// and two number fields).  The windows are batch_boxes.cpp's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace browser {

struct BoxRect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// A combo box over a row of buttons.  Each button is as wide as the widest
// caption with a space's width and 3 pixels on each side, and as high as the
// text with 3 pixels above and below; the buttons stand 4 pixels apart,
// centred under the combo.  The box is at least 330 pixels wide and 227
// high inside its frame.
struct ComboBoxLayout {
  int32_t innerWidth = 0;
  int32_t innerHeight = 0;
  BoxRect combo;
  std::vector<BoxRect> buttons;
};
ComboBoxLayout LayoutComboBox(int32_t widestCaption, int32_t spaceWidth, int32_t textHeight, int32_t buttonCount);

// The picture-type list: "|"-separated pairs of what the box shows
// ("JPEG picture - jpg") and the choice it gives ("jpg.10").  A last
// display text without its value gets an empty value.
struct PictureTypeEntry {
  std::string display;
  std::string value;
};
std::vector<PictureTypeEntry> ParsePictureTypeList(const std::string& list);
// What the box's line shows for an entry: the part after " - " upper-cased
// (the whole text upper-cased when it has none).
std::string PictureTypeLine(const std::string& display);

// The new-size box for `buttonCount` buttons whose widest caption is
// `widestCaption` pixels wide: buttons bw = widest + 40 by 22 in a column at
// x bw + 10 from y 5, 25 apart; the icon in the left column; the check box
// 10 pixels under the last button; the labels and the width and height
// fields at the bottom, side by side.
struct NewSizeLayout {
  int32_t innerWidth = 0;
  int32_t innerHeight = 0;
  std::vector<BoxRect> buttons;
  BoxRect icon;
  BoxRect checkBox;
  BoxRect widthLabel;
  BoxRect heightLabel;
  BoxRect widthField;
  BoxRect heightField;
};
NewSizeLayout LayoutNewSizeBox(int32_t widestCaption, int32_t buttonCount);

// A side typed in a field of the new-size box: its leading number, kept
// within 1 to 9999 (an empty or zero field gives the smallest side, never
// an empty picture).
int32_t NewSizeFieldValue(const std::string& text);

}  // namespace browser
