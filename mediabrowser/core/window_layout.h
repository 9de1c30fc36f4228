// Where the media browser's main window puts its panes for a client size:
// a left panel of type box, folder tree and favourites box, and a right
// panel of whole thumbnail columns holding the file list, a button row, the
// collection list and a second button row.  Pure arithmetic; the window
// code measures the buttons and moves the controls.
#pragma once

#include <cstdint>

namespace browser {

struct Box {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

struct LayoutInput {
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  int32_t itemHeight = 50;     // thumbnail size
  int32_t screenWidth = 1024;
  int32_t comboHeight = 20;    // height of a closed combo box
  int32_t scrollBarHeight = 16;
};

struct BrowserLayout {
  int32_t leftWidth = 0;       // width of the left panel
  int32_t rightWidth = 0;      // width of the right panel (whole columns + 4)
  Box typeCombo, favouritesCombo, folderTree, fileList;
  int32_t buttonRowY = 0;      // upper button row (5-8 and the check button)
  Box secondList;
  int32_t lowerRowY = 0;       // lower button row (10-14, 95)
};

// The left panel is 200 pixels wide (250 on screens wider than 1280); the
// right panel takes whole thumbnail columns of item height + 10 pixels.
// The file list takes about half of the height, cut to whole rows.
BrowserLayout ComputeBrowserLayout(const LayoutInput& in);

// The drive letter of the lowest set bit of a volume unit mask ("A" for bit
// 0); 0 when no bit is set.
char DriveLetterFromUnitMask(uint32_t unitMask);

}  // namespace browser
