// The state file beside a medium's backing file is read back by every
// process that opens the medium: a damaged or hand-edited one must be
// refused or read consistently, never trusted.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "medium_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto state = softdrive::ParseState(text);
  if (state) {
    // What was accepted survives a round trip.
    auto again = softdrive::ParseState(softdrive::SerializeState(*state));
    if (!again || softdrive::SerializeState(*again) != softdrive::SerializeState(*state)) __builtin_trap();
    (void)state->NextWritable();
  }
  return 0;
}
