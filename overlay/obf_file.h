// OBF sidecars on disk: reading the sidecar of a picture and writing it
// safely.  The bytes are overlay/core's (obf_document.h).
#pragma once

#include <string>

#include "core/obf_types.h"

namespace overlay {

// The sidecars the suite writes stay far below this; anything larger is not
// read into memory.
constexpr size_t kObfMaxFileBytes = 64u * 1024 * 1024;

// Reads the sidecar of `picturePath` (ObfSidecarPath).  kOk with the
// document, or the reason there is none (*document is then left empty).
ObfStatus ReadObfSidecar(const std::string& picturePath, ObfDocument* document);

// Writes the sidecar of `picturePath`: the trailer gets the picture's file
// name, the preview's length and its tag.  The file is written beside the
// sidecar under a temporary name and replaces the old one only once it is
// complete, so a failed save (kWriteFailed) keeps the old sidecar.  A
// document without objects removes the old sidecar and writes none
// (kNothingToWrite).  An empty path writes nothing (kMissing).
ObfStatus WriteObfSidecar(const std::string& picturePath, const ObfDocument& document);

}  // namespace overlay
