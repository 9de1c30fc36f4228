// Fuzz target of the ".m3u" reader: the input is the list file's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/item_list.h"
#include "core/list_lines.h"
#include "core/media_masks.h"
#include "core/play_lists.h"
#include "memory_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  fuzzing::MemoryFiles files(bytes);
  player::PlayerList list;
  if (!player::ReadPlaylist("C:\\lists\\p.m3u", "C:\\Orb\\", files, &list)) std::abort();
  if (list.count != player::ItemCount(list.itemList) || list.index != (list.count > 0 ? 1 : 0)) std::abort();
  if (!list.displayTimes.empty()) std::abort();
  for (const std::string& item : suite::SplitItemList(list.itemList)) {
    if (item.empty() || item[0] == '#' || item.size() > player::MAX_LIST_LINE_BYTES + 16) std::abort();
  }
  // The input as a line of a list and as the name of a list.
  player::ListEntryPath(player::TrimLine(bytes), "\\\\server\\share\\lists\\");
  player::PlaylistPath(bytes, "C:\\Orb\\");
  std::string pictures = player::KeepPictureItems(list.itemList + "|" + bytes);
  if (player::ItemCount(pictures) > player::ItemCount(list.itemList + "|" + bytes)) std::abort();
  return 0;
}
