// The media player's item list: one ItemList of paths and URLs with its
// count, the current index, and the display times of a slide show.
//
// Stepping through the list (next, previous, wrapping) is the playback
// engine's; this file keeps the list consistent when a new one arrives.
#pragma once

#include <cstdint>
#include <string>

namespace player {

struct PlayerList {
  std::string itemList;      // items separated by "|", numbered from 1
  int32_t count = 0;         // number of items (0 for an empty list)
  int32_t index = 0;         // current item, 1..count (0 for an empty list)
  // One decimal number of milliseconds per item, "|"-separated and
  // parallel to `itemList`; an empty field (or a list shorter than the
  // items) means the default display time.  Empty unless the list came
  // from a slide-show file.
  std::string displayTimes;
  // Folder of the last slide-show file read, what its "@path@" stood for
  // ("" until one is read: the program folder).
  std::string slideShowFolder;
};

// Most items a list keeps; a list file naming more is cut there.
constexpr int32_t MAX_LIST_ITEMS = 65536;

// The number of "|"-separated fields, held within MAX_LIST_ITEMS' type.
int32_t ItemCount(const std::string& itemList);

// Takes a new list: trailing "|" removed from both texts, the count taken
// and the index set to the first item (0 when the list is empty).
void SetPlayerList(PlayerList* list, const std::string& itemList, const std::string& displayTimes);

// The item opened when a list arrives: its first item when it holds more
// than one, else the whole text (the one item, or "").
std::string FirstItemToOpen(const PlayerList& list);

// The item at `list.index`; "" when the index is outside the list.
std::string CurrentItem(const PlayerList& list);

// The display time of item `n` in milliseconds; 0 when the list gives none
// (the caller then uses its default).
int32_t DisplayTimeOf(const PlayerList& list, int32_t n);

// The slide-show folder: the stored one, else the program folder.
std::string SlideShowFolder(const PlayerList& list, const std::string& programFolder);

// Removes every trailing "|".
std::string WithoutTrailingBars(std::string text);

}  // namespace player
