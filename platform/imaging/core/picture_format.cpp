#include "picture_format.h"

#include <cstring>

namespace imaging {

namespace {

bool StartsWith(const uint8_t* bytes, size_t size, const char* signature, size_t length) {
  return size >= length && std::memcmp(bytes, signature, length) == 0;
}

}  // namespace

FileFormat DetectFileFormat(const uint8_t* bytes, size_t size) {
  if (bytes == nullptr) return kFormatUnknown;
  // A BMP file header is 14 bytes and the smallest info header 12.
  if (StartsWith(bytes, size, "BM", 2) && size >= 26) return kFormatBmp;
  if (StartsWith(bytes, size, "\xFF\xD8\xFF", 3)) return kFormatJpeg;
  if (StartsWith(bytes, size, "\x89PNG\r\n\x1A\n", 8)) return kFormatPng;
  if (StartsWith(bytes, size, "GIF87a", 6) || StartsWith(bytes, size, "GIF89a", 6)) return kFormatGif;
  if (StartsWith(bytes, size, "II*\0", 4) || StartsWith(bytes, size, "MM\0*", 4)) return kFormatTiff;
  return kFormatUnknown;
}

bool IsSupportedFormat(int32_t format) {
  switch (format) {
    case kFormatBmp:
    case kFormatJpeg:
    case kFormatPng:
    case kFormatGif:
    case kFormatTiff:
      return true;
    default:
      return false;
  }
}

const char* EncoderMimeType(int32_t format) {
  switch (format) {
    case kFormatJpeg: return "image/jpeg";
    case kFormatPng: return "image/png";
    case kFormatGif: return "image/gif";
    case kFormatTiff: return "image/tiff";
    default: return nullptr;
  }
}

uint32_t JpegQualityPercent(int32_t qualityFactor) {
  if (qualityFactor <= 2) return 95;
  if (qualityFactor >= 255) return 5;
  // 3..254 falls linearly from 95 to 5.
  return 95 - static_cast<uint32_t>((qualityFactor - 2) * 90 / 253);
}

}  // namespace imaging
