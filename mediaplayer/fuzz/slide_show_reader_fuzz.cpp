// Fuzz target of the slide-show file reader and its settings: the input is
// the file's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/item_list.h"
#include "core/media_masks.h"
#include "core/slide_show_file.h"
#include "core/suite_command_codes.h"
#include "memory_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  fuzzing::MemoryFiles files(bytes);
  player::PlayerList list;
  player::SlideShowFile show;
  if (!player::ReadSlideShowFile("D:\\Show\\trip.ssl", "C:\\Orb\\", files, &list, &show)) std::abort();
  if (show.folder != "D:\\Show\\") std::abort();
  if (player::ItemCount(list.displayTimes) > list.count) std::abort();
  for (const std::string& item : suite::SplitItemList(list.itemList)) {
    if (!player::IsPictureItem(item)) std::abort();
  }
  for (const std::string& settings : {show.settingsText, bytes}) {
    player::SlideShowPlan plan =
        player::PlanSlideShow(player::ParseSlideShowSettings(settings), "4000", size % 2 == 1);
    if (plan.commands.size() < 2 || plan.commands.front().code != suite::CMD_SET_BACKGROUND_SOUND ||
        plan.commands.back().code != suite::CMD_PLAY_IF_SHOWN) {
      std::abort();
    }
    if (plan.optionDisplayTime.find(',') != std::string::npos) std::abort();
  }
  return 0;
}
