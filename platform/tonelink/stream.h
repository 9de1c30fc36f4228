// Opening media files, shared by the current stream (stream.cpp) and the
// decoding streams (channels.cpp).
#pragma once

#include "error_codes.h"

namespace tonelink {

// Checks `path` as a media file to open: kErrorIllegalParameter for a null
// or empty path, kErrorNetwork for an internet address, kErrorFileOpen when
// the file cannot be opened for reading, kErrorFormat when it is not in a
// format this library decodes.
ErrorCode ProbeMediaFile(const char* path);

// The error of a call on the current stream when none is open:
// kErrorNotLoaded after BASSUNLOAD, else kErrorNoStream.  Lock held.
ErrorCode NoStreamError();

}  // namespace tonelink
