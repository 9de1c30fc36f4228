// Wire form of a suite command's text.
#include "suite_payload.h"

#include <algorithm>

namespace suite {

std::string EncodeSuitePayload(const std::string& text) {
  std::string buffer = text;
  buffer.push_back('\0');
  return buffer;
}

std::string DecodeSuitePayload(uint32_t announcedLength, const void* data, uint32_t cbData) {
  if (data == nullptr || cbData == 0) return std::string();
  // The last byte of the buffer is the terminator, never text.  Computing in
  // the buffer's size (not wParam + 1) keeps wParam = 0xFFFFFFFF from wrapping.
  const uint32_t textBytes = cbData - 1;
  const uint32_t length = std::min(announcedLength, textBytes);
  return std::string(static_cast<const char*>(data), length);
}

}  // namespace suite
