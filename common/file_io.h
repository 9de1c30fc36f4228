// Whole-file reads and safe whole-file writes for settings and sidecars.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace suite {

// Reads a whole file of at most `maxBytes`; false when it cannot be read or
// is larger (a settings file that big is not ours).
bool ReadWholeFile(const std::string& path, size_t maxBytes, std::string* bytes);

// Writes `bytes` to `path` through a temporary file beside it that replaces
// the old file only once it is written completely, so a failed write (full
// disk, no rights, a crash) leaves the old file as it was.  False on failure.
// With `error` (may be null), the Windows error number of the step that
// failed, 0 on success.
bool WriteFileReplacing(const std::string& path, const std::string& bytes, uint32_t* error = nullptr);

}  // namespace suite
