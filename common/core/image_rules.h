// The decisions behind the GDI+ image functions that need no GDI+: ARGB
// colours, the bits of a pixel format, the shared shadow convention and the
// choice of encoder by file extension.  common/image_functions.cpp makes the
// calls.
#pragma once

#include <cstdint>
#include <string>

namespace suite {

// ARGB: alpha in bits 24-31, red 16-23, green 8-15, blue 0-7 (GDI+'s layout;
// a COLORREF keeps red in the low byte instead).
constexpr uint32_t ArgbFromParts(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue) {
  return (uint32_t{alpha} << 24) | (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
}
// Splits an ARGB value into its four bytes.
void ImgSplitArgb(uint32_t argb, uint8_t* alpha, uint8_t* red, uint8_t* green, uint8_t* blue);

// Bits per pixel of a GDI+ pixel format: (format >> 8) & 0xFF.
int32_t ImgBitsPerPixel(int32_t pixelFormat);

// A shadow is a black copy with alpha 128 drawn first at (x + d, y + |d|):
// always downward, to the right for positive d and to the left for negative.
constexpr uint32_t kShadowArgb = 0x80000000u;
// |d|, capped for the smallest 32-bit value (whose absolute value has no
// 32-bit form).
int32_t ShadowDown(int32_t shadow);

// GDI+ status of a save that chose no encoder: the path has no "." or an
// extension outside the list.  (0 would be GDI+'s Ok.)
constexpr int32_t kUnknownImageFormat = 13;

struct SaveEncoderChoice {
  int32_t status = 0;    // 0: save with mimeType; -1: empty path; kUnknownImageFormat
  std::string mimeType;  // "image/png" ...
};
// The encoder for a path, by the text after its last "." compared in upper
// case: DIB and BMP "image/bmp", EMF "image/x-emf", GIF "image/gif", ICO
// "image/x-icon", JPG and JPEG "image/jpeg", PNG "image/png", TIF and TIFF
// "image/tiff", WMF "image/x-wmf".
SaveEncoderChoice ChooseSaveEncoder(const std::string& path);

}  // namespace suite
