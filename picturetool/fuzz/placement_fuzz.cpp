// The placement file as it may lie on disk, cut short or overwritten: any
// bytes read into a record within the rules, and a record written and read
// again comes back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/placement_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const paint::PlacementContext context = {180, 120, 1024, 768, "C:\\windows\\"};
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const paint::PlacementRecord record = paint::ReadPlacement(bytes, context, 11, 12);
  if (record.x < 0 || record.y < 0 || record.width < 180 || record.height < 120) std::abort();
  if (record.lastFolder.find('\0') != std::string::npos || record.lastFilter.find('\0') != std::string::npos) {
    std::abort();
  }
  // Folders never hold "|" and the filter never "#": what was read that
  // way comes back unchanged through a write.
  if (record.lastFolder.find('|') == std::string::npos && record.lastFilter.find('#') == std::string::npos &&
      record.lastFilter.find('|') == std::string::npos) {
    const paint::PlacementRecord again = paint::ReadPlacement(paint::PlacementBytes(record), context, 0, 0);
    if (again.x != record.x || again.y != record.y || again.width != record.width ||
        again.height != record.height || again.lastFolder != record.lastFolder ||
        again.lastFilter != record.lastFilter || again.magnifierX != record.magnifierX ||
        again.magnifierY != record.magnifierY) {
      std::abort();
    }
  }
  return 0;
}
