// Fuzz target for the command line: every text ends, no quote survives a
// line that had pairs only, and the stand-in byte for kept blanks never
// leaks into the items.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/audio_command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  // The program's command text never holds the stand-in byte: the shell
  // gives it no control bytes.
  if (text.find('\x01') != std::string::npos) return 0;
  audio::ParsedLine parsed = audio::ParseCommandLine(text);
  if (parsed.itemList.find('\x01') != std::string::npos) std::abort();
  if (parsed.itemList.find('"') != std::string::npos) std::abort();
  if (parsed.itemList.size() > text.size()) std::abort();
  return 0;
}
