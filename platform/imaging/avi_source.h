// One AVI file opened through the system's AVIFile API (avifil32): its
// first video stream, its frame count and rate, and its frames decoded by
// whatever decompressor the system has into a 24-bit device context.
// Not thread-safe: the media object serialises every use.
#pragma once

#include <windows.h>
#include <vfw.h>

#include <cstdint>
#include <memory>
#include <string>

#include "media_clock.h"

namespace imaging {

class AviSource {
 public:
  // Opens `path`: kSuccess and *source, or kErrorFileNotFound (missing or
  // unreadable), kErrorFileFormat (not an AVI file, no video stream, or a
  // compression no decompressor of the system reads), kErrorFileRead
  // (damaged headers, no frames, an impossible frame rate).
  static int32_t Open(const std::string& path, std::unique_ptr<AviSource>* source);
  ~AviSource();
  AviSource(const AviSource&) = delete;
  AviSource& operator=(const AviSource&) = delete;

  int32_t length() const { return length_; }  // frames
  const FrameRate& rate() const { return rate_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

  // Decodes frame `frame` (0 .. length - 1) and draws it at (0, 0) in its
  // own size into `target`.  False when the frame cannot be decoded.
  bool DrawFrame(int32_t frame, HDC target);

 private:
  AviSource() = default;

  PAVIFILE file_ = nullptr;
  PAVISTREAM stream_ = nullptr;
  PGETFRAME frames_ = nullptr;
  int32_t start_ = 0;
  int32_t length_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  FrameRate rate_;
};

}  // namespace imaging
