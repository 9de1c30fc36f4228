// Pictures in and out of files and memory: what a file is (signature and
// GDI+), decoding into a BITMAPHANDLE, and encoding a bitmap as BMP (our
// encoder) or as JPEG, PNG, GIF and TIFF (GDI+'s encoders).
#pragma once

#include <cstdint>
#include <string>

#include "imaging.h"

namespace imaging {

// Fills `info` (cleared first) for the picture in `path`.
int32_t ReadFileInfo(const char* path, FILEINFO* info);

// Decodes the first frame of `path` into `bitmap` at bitsPerPixel (0 = 32
// for a file with alpha, else 24); fills `info` when given.
int32_t DecodePicture(const char* path, int32_t bitsPerPixel, BITMAPHANDLE* bitmap, FILEINFO* info);

// The file bytes of `bitmap` in `format` at bitsPerPixel (0 = the bitmap's).
int32_t EncodePicture(const BITMAPHANDLE& bitmap, int32_t format, int32_t bitsPerPixel,
                      int32_t qualityFactor, std::string* bytes);

// Writes `bytes` to `path` through a temporary file in the same folder
// renamed over it, so a failure leaves the old file as it was.
int32_t WriteFileReplacing(const char* path, const std::string& bytes);

}  // namespace imaging
