// Fuzz target for reading a state string handed back by a client: the first
// 4 bytes are the byte length the string claims, the rest its bytes.  The
// block taken must be exactly the claimed bytes when they exist, and a
// claim past the bytes is never read (the library takes the length from the
// string itself, so the claim is bounded by what was allocated).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/state_string.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  uint32_t claimed;
  std::memcpy(&claimed, data, 4);
  std::vector<char> bytes(data + 4, data + size);
  const uint32_t length = claimed < bytes.size() ? claimed : static_cast<uint32_t>(bytes.size());
  std::string block = "stale";
  const ctlhost::StateReadResult result =
      ctlhost::ReadStateString(bytes.empty() ? nullptr : bytes.data(), length, &block);
  switch (result) {
    case ctlhost::StateReadResult::kOk:
      if (block.size() != length || std::memcmp(block.data(), bytes.data(), length) != 0) std::abort();
      break;
    case ctlhost::StateReadResult::kEmpty:
      if (length != 0 || !block.empty()) std::abort();
      break;
    case ctlhost::StateReadResult::kNull:
      if (!bytes.empty() || !block.empty()) std::abort();
      break;
    case ctlhost::StateReadResult::kTooLarge:
      std::abort();  // nothing this size reaches a fuzz target
  }
  const ctlhost::StateStringShape shape = ctlhost::ShapeOfStateBlock(length);
  if (shape.byteLength != length || shape.unitLength * 2 + (shape.hasOddByte ? 1 : 0) != length) std::abort();
  return 0;
}
