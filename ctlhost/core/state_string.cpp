// State string shape and reader; see state_string.h.
#include "core/state_string.h"

namespace ctlhost {

StateStringShape ShapeOfStateBlock(size_t blockBytes) {
  StateStringShape shape;
  shape.byteLength = static_cast<uint32_t>(blockBytes > kMaxStateBytes ? kMaxStateBytes : blockBytes);
  shape.unitLength = shape.byteLength / 2;
  shape.hasOddByte = (shape.byteLength % 2) != 0;
  return shape;
}

StateReadResult ReadStateString(const char* bytes, uint32_t byteLength, std::string* block) {
  if (block != nullptr) block->clear();
  if (bytes == nullptr || block == nullptr) return StateReadResult::kNull;
  if (byteLength == 0) return StateReadResult::kEmpty;
  if (byteLength > kMaxStateBytes) return StateReadResult::kTooLarge;
  block->assign(bytes, byteLength);
  return StateReadResult::kOk;
}

}  // namespace ctlhost
