// Pane arithmetic of the media browser's main window.
#include "window_layout.h"

#include <algorithm>

namespace browser {

BrowserLayout ComputeBrowserLayout(const LayoutInput& in) {
  BrowserLayout out;
  const int32_t width = std::max(in.clientWidth, 0);
  const int32_t height = std::max(in.clientHeight, 0);
  const int32_t cell = std::max(in.itemHeight, 1) + 10;
  const int32_t panel = in.screenWidth > 1280 ? 250 : 200;
  const int32_t combo = std::max(in.comboHeight, 1);

  out.rightWidth = std::max(cell, ((width - panel) / cell) * cell + 4);
  out.leftWidth = std::max(0, width - out.rightWidth);

  out.typeCombo = {0, 0, out.leftWidth, combo};
  out.favouritesCombo = {0, std::max(0, height - combo), out.leftWidth, combo};
  out.folderTree = {0, combo + 1, out.leftWidth, std::max(0, height - 2 * combo - 1)};

  // h0: the upper half less a combo row; m: what whole rows of cells fit
  // into twice that, less the scroll bar and the button row.
  const int32_t halfHeight = height - height / 2 - (combo + 1);
  const int32_t rows = (2 * halfHeight - (in.scrollBarHeight + 69)) / cell;
  const int32_t listHeight = rows >= 1 ? rows * cell + in.scrollBarHeight + 5 : std::max(halfHeight, 0);
  const int32_t listX = out.leftWidth + 1;
  out.fileList = {listX, 0, std::max(0, out.rightWidth - 1), listHeight};

  out.buttonRowY = listHeight + 2;
  const int32_t secondTop = out.buttonRowY + combo + 2;
  const int32_t secondHeight = std::max(0, height - secondTop - combo - 2);
  out.secondList = {listX, secondTop, std::max(0, out.rightWidth - 1), secondHeight};
  out.lowerRowY = secondTop + secondHeight + 2;
  return out;
}

char DriveLetterFromUnitMask(uint32_t unitMask) {
  for (int bit = 0; bit < 26; ++bit) {
    if (unitMask & (1u << bit)) return static_cast<char>('A' + bit);
  }
  return 0;
}

}  // namespace browser
