// The attribute values BASSCHANNELSETATTRIBUTES and BASSCHANNELSLIDEATTRIBUTES
// take.  The players pass -1 and -101 to keep a channel's frequency and
// panning and change only its volume; a slide to volume -2 fades the channel
// out and stops it (the slide show's background sound at its last picture).
#pragma once

#include <cstdint>

#include "error_codes.h"

namespace tonelink {

inline constexpr int32_t kKeepFrequency = -1;
inline constexpr int32_t kKeepVolume = -1;
inline constexpr int32_t kFadeOutAndStop = -2;  // volume of a slide only
inline constexpr int32_t kKeepPanning = -101;

// Frequencies 100 to 100000 Hz (0 also: back to the stream's own), volumes
// 0 to 100, panning -100 (left) to 100 (right).
inline constexpr int32_t kMinChannelFrequency = 100;
inline constexpr int32_t kMaxChannelFrequency = 100000;
inline constexpr int32_t kMaxChannelVolume = 100;
inline constexpr int32_t kMaxPanning = 100;

struct ChannelAttributes {
  int32_t frequency = kKeepFrequency;
  int32_t volume = kKeepVolume;
  int32_t panning = kKeepPanning;
};

// kErrorNone when every value is in range or a "keep" value; a slide also
// takes kFadeOutAndStop as its volume and needs a duration of 0 ms or more.
ErrorCode CheckAttributes(const ChannelAttributes& attributes);
ErrorCode CheckSlide(const ChannelAttributes& target, int32_t durationMs);

}  // namespace tonelink
