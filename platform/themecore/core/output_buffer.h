// The output-buffer convention of every themecore function that returns a
// text: the function returns the full length of the text and copies it, with
// its terminating zero, only when the caller's buffer holds it; otherwise it
// writes an empty string (when the buffer has room for the zero at all), so
// the caller can retry with a buffer of the returned length + 1.
#pragma once

#include <cstdint>
#include <string_view>

namespace themecore {

// Applies the convention: copies `text` to `out` (of `outSize` bytes; `out`
// may be null and `outSize` zero or negative, then nothing is written) and
// returns text.size(), capped at INT32_MAX.  A text holding zero bytes is
// copied whole; the caller sees it up to the first zero.
int32_t CopyTextOut(std::string_view text, char* out, int32_t outSize);

}  // namespace themecore
