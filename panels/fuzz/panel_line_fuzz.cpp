// Fuzz target for the panel definition's entries: any bytes as the image
// index entry and as an image line, each place of each column read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/panel_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  for (int32_t id = panels::kFirstPanelImageId - 1; id <= panels::kLastPanelImageId + 1; ++id) {
    if (panels::ImageLineNumber(bytes, id) < 0) std::abort();
  }
  panels::PanelImageLine line = panels::ParseImageLine(bytes, "C:\\Orb\\");
  for (int32_t column = 0; column <= 9; ++column) line.PlaceFor(column);
  for (int32_t column = 1; column <= 8; ++column) panels::PaneBitmapFile(bytes, column, "C:\\Orb\\");
  if (panels::MarqueeTitle(bytes).size() > 256) std::abort();
  return 0;
}
