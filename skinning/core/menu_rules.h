// The skinned menus' rules: the size an owner-drawn item is given, the
// split of an item's text at its tab (label and shortcut), and how far the
// last item of a bar stretches.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace skinning {

// The first id the library gives a menu item with text but no id; the
// counter starts one below it for each skinned window's menu.
inline constexpr uint32_t kFirstMenuItemId = 65001;

struct MenuItemSize {
  int32_t width = 0;
  int32_t height = 0;
};

// An item's size from its text's size.  A text with a tab gets 15 more
// (the shortcut's room) on systems from version 500 (`osVersion` as the
// engine gives it), 25 less before.  A popup's items are as wide as the
// widest met so far (`widestSoFar`, updated; items are measured from the
// last to the first), with room for the check mark on both sides
// (`checkWidth` each) and 6 more, and 3 pixels higher than their text.
MenuItemSize SizeMenuItem(int32_t textWidth, int32_t textHeight, bool hasTab, int32_t osVersion,
                          bool isPopup, int32_t checkWidth, int32_t* widestSoFar);

// A popup item's text split at its first tab: the label without trailing
// blanks, the shortcut without leading blanks.
struct MenuItemText {
  std::string label;
  std::string shortcut;
  bool hasTab = false;
};
MenuItemText SplitMenuItemText(std::string_view text);

// How much wider a bar item is drawn: to the bar's right edge for the last
// item, or when the next item would not fit after it (the bar has wrapped);
// else 0.  Never negative.
int32_t BarItemExtra(int32_t barWidth, int32_t x, int32_t width, bool isLast, int32_t nextItemWidth,
                     int32_t padding);

}  // namespace skinning
