// The media player's item list.
#include "player_list.h"

#include <limits>

#include "core/item_list.h"
#include "core/text_rules.h"

namespace player {

int32_t ItemCount(const std::string& itemList) {
  size_t count = suite::ItemFieldCount(itemList);
  if (count > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  return static_cast<int32_t>(count);
}

std::string WithoutTrailingBars(std::string text) {
  while (!text.empty() && text.back() == '|') text.pop_back();
  return text;
}

void SetPlayerList(PlayerList* list, const std::string& itemList, const std::string& displayTimes) {
  list->itemList = WithoutTrailingBars(itemList);
  list->displayTimes = WithoutTrailingBars(displayTimes);
  list->count = ItemCount(list->itemList);
  // A list of one item starts at it too: a stale index from the list
  // before would name an item that is not there.
  list->index = list->count > 0 ? 1 : 0;
}

std::string FirstItemToOpen(const PlayerList& list) {
  if (list.count > 1) return suite::ItemField(list.itemList, 1);
  return list.itemList;
}

std::string CurrentItem(const PlayerList& list) {
  if (list.index < 1 || list.index > list.count) return std::string();
  return suite::ItemField(list.itemList, static_cast<size_t>(list.index));
}

std::string SlideShowFolder(const PlayerList& list, const std::string& programFolder) {
  return list.slideShowFolder.empty() ? programFolder : list.slideShowFolder;
}

int32_t DisplayTimeOf(const PlayerList& list, int32_t n) {
  if (n < 1) return 0;
  std::string field = suite::ItemField(list.displayTimes, static_cast<size_t>(n));
  int32_t ms = suite::LeadingNumber(field);
  return ms > 0 ? ms : 0;
}

}  // namespace player
