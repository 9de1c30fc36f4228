// A whole OBF sidecar: the JPEG preview (J bytes from offset 0, so an image
// decoder handed the file shows the preview), one line per object ended by
// CR LF, and the 284-byte trailer.  Bytes in, bytes out; the files are the
// callers' (overlay/obf_file.h).
#pragma once

#include <string>
#include <string_view>

#include "obf_types.h"

namespace overlay {

// The file's bytes.  The trailer's J is set from the preview's length; the
// objects are written in their order (bottom-most first).
std::string EncodeObfDocument(const ObfDocument& document);

struct ObfReadResult {
  ObfStatus status = ObfStatus::kMissing;
  ObfDocument document;  // empty unless status is kOk
};

// Reads a sidecar's bytes.  The file must hold at least the trailer, end in
// "OBF" and have 0 <= J <= size - 284; otherwise there are no objects and
// the status says why.  The object area is split on CR LF; empty lines are
// skipped and every other line is decoded (see DecodeObfLine), whatever its
// kind, so that the picture tool gets back what it wrote.
ObfReadResult DecodeObfDocument(std::string_view bytes);

}  // namespace overlay
