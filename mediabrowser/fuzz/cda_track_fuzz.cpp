// Fuzz target for reading the track number of a CD track file: any bytes;
// a number given is a track number, and only whole headers give one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/audio_copy_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int32_t number = browser::CdaTrackNumber(data, size);
  if (number != 0 && (number < 1 || number > 99 || size < 44)) std::abort();
  return 0;
}
