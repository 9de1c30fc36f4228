// GIF header reading (see gif_header.h).
#include "core/gif_header.h"

namespace browser {

bool ParseGifHeader(const std::string& firstBytes, GifHeader* header) {
  if (header == nullptr || firstBytes.size() < kGifHeaderBytes || firstBytes.compare(0, 3, "GIF") != 0) return false;
  auto byteAt = [&](size_t at) { return static_cast<uint32_t>(static_cast<unsigned char>(firstBytes[at])); };
  header->version = firstBytes.substr(3, 3);
  header->width = byteAt(6) | byteAt(7) << 8;
  header->height = byteAt(8) | byteAt(9) << 8;
  return true;
}

}  // namespace browser
