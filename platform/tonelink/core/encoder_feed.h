// What an outside encoder program reads on its standard input: a WAV header
// for 16-bit PCM whose sizes are not known yet (they read "as long as the
// input lasts", 0xFFFFFFFF), then the samples as they are decoded.  Command
// line encoders take such a header to learn the rate and channel count.
//
// Portable: no windows.h.
#pragma once

#include <cstdint>
#include <string>

namespace tonelink {

inline constexpr uint32_t kUnknownWaveSize = 0xFFFFFFFFu;

// The 44-byte header for 16-bit samples of `channels` at `rate` Hz.
std::string StreamingWaveHeader(uint32_t rate, uint32_t channels);

}  // namespace tonelink
