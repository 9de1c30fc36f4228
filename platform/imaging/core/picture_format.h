// File format numbers of the imaging library, recognising a picture file by
// its first bytes, and the choices made when one is written (GDI+ encoder
// MIME type, JPEG quality).
//
// The numbers are the ones the programs pass: the picture tool's Save As
// table, the media browser's batch work and its picture-type list.  Only
// BMP, JPEG, PNG, GIF and TIFF are read and written; the other numbers are
// named so that a caller can pass them and get kErrorFormatNotSupported.
#pragma once

#include <cstddef>
#include <cstdint>

namespace imaging {

enum FileFormat : int32_t {
  kFormatUnknown = 0,
  kFormatPcx = 1,
  kFormatTiff = 3,
  kFormatTga = 4,
  kFormatCmp = 5,   // the vendor's own compressed format: never written here
  kFormatBmp = 6,
  kFormatGif = 7,
  kFormatJpeg = 10,
  kFormatWmf = 15,
  kFormatEps = 16,
  kFormatWpg = 54,
  kFormatRas = 55,
  kFormatPct = 56,
  kFormatPng = 75,
  kFormatPsd = 76,
  kFormatFpx = 80,
};

// The format of a file from its first bytes (a BMP needs 26 for its two
// headers' start; the others 8 at most); kFormatUnknown when they are too
// few or match none of BMP, JPEG, PNG, GIF and TIFF.
FileFormat DetectFileFormat(const uint8_t* bytes, size_t size);

// True for the formats this library reads and writes.
bool IsSupportedFormat(int32_t format);

// The MIME type of the GDI+ encoder that writes `format`, nullptr for a
// format not written through GDI+ (BMP is written by our own encoder).
const char* EncoderMimeType(int32_t format);

// JPEG quality in percent (GDI+'s EncoderQuality) for the library's quality
// factor: 0 is the default, 2 the best quality; larger factors compress
// harder (25 is the album pages' "good enough", 255 the roughest).  Negative
// factors (the vendor's lossless modes) give the best quality.
uint32_t JpegQualityPercent(int32_t qualityFactor);

}  // namespace imaging
