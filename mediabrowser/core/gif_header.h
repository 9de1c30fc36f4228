// The logical screen size at the start of a GIF file, read without
// decoding: "GIF", a three-byte version ("87a", "89a"), then width and
// height as unsigned 16-bit little-endian numbers.
#pragma once

#include <cstdint>
#include <string>

namespace browser {

// The bytes GIF header reading needs.
inline constexpr size_t kGifHeaderBytes = 10;

struct GifHeader {
  std::string version;  // the three bytes after "GIF"
  uint32_t width = 0;
  uint32_t height = 0;
};

// Reads the first bytes of a file.  False (and *header left as it was) when
// they are fewer than kGifHeaderBytes or do not start with "GIF".
bool ParseGifHeader(const std::string& firstBytes, GifHeader* header);

}  // namespace browser
