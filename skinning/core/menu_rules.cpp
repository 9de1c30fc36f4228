#include "core/menu_rules.h"

#include <algorithm>

namespace skinning {

MenuItemSize SizeMenuItem(int32_t textWidth, int32_t textHeight, bool hasTab, int32_t osVersion,
                          bool isPopup, int32_t checkWidth, int32_t* widestSoFar) {
  MenuItemSize size = {textWidth, textHeight};
  if (hasTab) size.width += osVersion > 499 ? 15 : -25;
  if (isPopup) {
    size.width += 2 * checkWidth + 6;
    if (widestSoFar != nullptr) {
      size.width = std::max(size.width, *widestSoFar);
      *widestSoFar = size.width;
    }
    size.height += 3;
  }
  size.width = std::max<int32_t>(size.width, 0);
  return size;
}

MenuItemText SplitMenuItemText(std::string_view text) {
  MenuItemText split;
  const size_t tab = text.find('\t');
  if (tab == std::string_view::npos) {
    split.label = std::string(text);
    return split;
  }
  split.hasTab = true;
  std::string_view label = text.substr(0, tab);
  while (!label.empty() && label.back() == ' ') label.remove_suffix(1);
  std::string_view shortcut = text.substr(tab + 1);
  while (!shortcut.empty() && shortcut.front() == ' ') shortcut.remove_prefix(1);
  split.label = std::string(label);
  split.shortcut = std::string(shortcut);
  return split;
}

int32_t BarItemExtra(int32_t barWidth, int32_t x, int32_t width, bool isLast, int32_t nextItemWidth,
                     int32_t padding) {
  const bool wrapped = !isLast && barWidth < x + width + nextItemWidth + padding;
  if (!isLast && !wrapped) return 0;
  return std::max<int32_t>(0, barWidth - x - width);
}

}  // namespace skinning
