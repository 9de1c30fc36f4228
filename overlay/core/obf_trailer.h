// The 284-byte trailer that ends an OBF sidecar (packed, little-endian):
//
//   offset  length  content
//        0     260  file name of the picture, padded with blanks
//      260       4  canvas width in pixels (signed)
//      264       4  canvas height in pixels (signed)
//      268       4  colour count of the canvas picture (signed)
//      272       1  bits per pixel of the preview (24)
//      273       4  J: length of the JPEG preview = offset of the first line
//      277       7  "0100OBF": the version "0100" and the tag
#pragma once

#include <string>
#include <string_view>

#include "obf_types.h"

namespace overlay {

// The trailer's 284 bytes.  A name longer than 260 bytes is cut; a version
// that is not 4 bytes long is written as "0100".
std::string EncodeObfTrailer(const ObfTrailer& trailer);

// Reads 284 bytes; false (and *trailer untouched) when `bytes` is not 284
// bytes long or does not end in "OBF".  The name loses its padding blanks.
bool DecodeObfTrailer(std::string_view bytes, ObfTrailer* trailer);

}  // namespace overlay
