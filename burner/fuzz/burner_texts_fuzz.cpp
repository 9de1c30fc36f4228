// Feeds arbitrary bytes to the burner's readers of texts that come from
// outside: a suite command's item list, a command line, a list line as the
// project takes it, a device name, and the lines moved in the list.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/burn_list.h"
#include "core/burner_names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines = burner::ItemListLines(text, "C:\\Orb Suite\\");
  for (const std::string& line : lines) {
    burner::ProjectEntry entry = burner::ProjectEntryOf(line);
    if (entry.isFolder && entry.mask.empty()) __builtin_trap();
  }
  burner::ListFileArgument(text);
  std::string name = burner::DeviceDisplayName(text.c_str());
  if (name.find("  ") != std::string::npos) __builtin_trap();
  std::vector<bool> selected(lines.size());
  for (size_t i = 0; i < selected.size(); ++i) selected[i] = (i < size && (data[i] & 1) != 0);
  std::vector<std::string> moved = lines;
  burner::MoveSelected(moved, selected, size > 0 && (data[0] & 2) != 0);
  if (moved.size() != lines.size()) __builtin_trap();
  return 0;
}
