// Fuzz target for the AVI header reader and the playback arithmetic fed
// with the header's values: no read outside the bytes, no overflow, and a
// file called a video always has sane sides and a video stream.
#include <cstddef>
#include <cstdint>
#include <climits>
#include <cstdlib>

#include "avi_header.h"
#include "media_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  imaging::AviHeader header;
  imaging::AviCheck check = imaging::ReadAviHeader(data, size, &header);
  if (check == imaging::AviCheck::kVideo) {
    if (header.width == 0 || header.height == 0 || header.width > imaging::kMaxVideoSide ||
        header.height > imaging::kMaxVideoSide || header.streams == 0)
      std::abort();
  }
  auto rate = imaging::MakeFrameRate(header.videoRate, header.videoScale);
  if (!rate) rate = imaging::FrameRateOfMicros(header.microsPerFrame);
  if (rate) {
    int64_t frames = header.videoLength;
    int64_t micros = imaging::MicrosOfFrames(*rate, frames);
    if (micros < 0) std::abort();
    if (micros < INT64_MAX && imaging::FramesAfter(*rate, micros) < frames) std::abort();
    if (imaging::MillisOfFrames(*rate, frames) < 0) std::abort();
  }
  int32_t length = static_cast<int32_t>(header.totalFrames & 0x7FFFFFFF);
  auto clip = imaging::MarkClip(static_cast<int32_t>(header.width & 0xFFFF) - 2,
                                static_cast<int32_t>(header.height & 0xFFFF) - 2, length);
  if (clip && (clip->start < 0 || clip->start >= clip->end || clip->end > length)) std::abort();
  imaging::Box box = imaging::FitPicture(static_cast<int32_t>(header.width & 0xFFFF),
                                         static_cast<int32_t>(header.height & 0xFFFF),
                                         static_cast<int32_t>(header.videoBitCount & 0xFFF),
                                         static_cast<int32_t>(header.videoHandler & 0xFFF));
  if (box.left < 0 || box.top < 0 || box.right < box.left || box.bottom < box.top) std::abort();
  return 0;
}
