// A bounded reader of an AVI file's headers (RIFF "AVI ", LIST "hdrl":
// "avih" and one LIST "strl" per stream with its "strh" and "strf"), used
// to tell a video from other files and to refuse absurd headers before the
// system's AVI reader sees the file.  It reads only the bytes it is given
// (the file's first bytes are enough) and never trusts a size.
#pragma once

#include <cstddef>
#include <cstdint>

namespace imaging {

enum class AviCheck {
  kVideo,     // an AVI file with a sane main header and a video stream
  kNotAvi,    // not a RIFF "AVI " file, or one without a video stream
  kDamaged,   // an AVI file whose headers are missing, cut short or absurd
};

struct AviHeader {
  uint32_t microsPerFrame = 0;  // avih
  uint32_t totalFrames = 0;     // avih (of the first RIFF part)
  uint32_t width = 0;           // avih
  uint32_t height = 0;          // avih
  uint32_t streams = 0;         // "strl" lists read
  // The first video stream.
  uint32_t videoHandler = 0;      // strh fccHandler
  uint32_t videoCompression = 0;  // strf biCompression (0 = uncompressed)
  uint32_t videoBitCount = 0;     // strf biBitCount
  uint32_t videoRate = 0;         // strh dwRate
  uint32_t videoScale = 0;        // strh dwScale
  uint32_t videoLength = 0;       // strh dwLength (frames)
  bool hasAudio = false;
};

// The largest picture side accepted.
constexpr uint32_t kMaxVideoSide = 16384;

// Reads the headers from the `size` first bytes of a file.  *header is
// filled as far as it was read; only kVideo promises a complete one.
AviCheck ReadAviHeader(const uint8_t* data, size_t size, AviHeader* header);

// A four-character code as the number a RIFF file holds ("vids").
constexpr uint32_t FourCc(const char (&text)[5]) {
  return uint32_t(uint8_t(text[0])) | uint32_t(uint8_t(text[1])) << 8 | uint32_t(uint8_t(text[2])) << 16 |
         uint32_t(uint8_t(text[3])) << 24;
}

}  // namespace imaging
