// Fuzz target of the ".upl" reader: the input is the list file's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/item_list.h"
#include "core/play_lists.h"
#include "memory_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::MemoryFiles files(std::string(reinterpret_cast<const char*>(data), size));
  player::PlayerList list;
  list.displayTimes = "500";
  std::string items = player::ReadUplList("lists\\mine.upl", "C:\\Orb", files, &list);
  if (items != list.itemList || !list.displayTimes.empty()) std::abort();
  if (list.count != player::ItemCount(items) || list.count > player::MAX_LIST_ITEMS) std::abort();
  for (const std::string& item : suite::SplitItemList(items)) {
    if (item.empty() || item.find("@path@") != std::string::npos) std::abort();
  }
  return 0;
}
