// Ranges of channel attributes; see channel_attributes.h.
#include "channel_attributes.h"

namespace tonelink {

namespace {

bool IsValidFrequency(int32_t frequency) {
  return frequency == kKeepFrequency || frequency == 0 ||
         (frequency >= kMinChannelFrequency && frequency <= kMaxChannelFrequency);
}

bool IsValidPanning(int32_t panning) {
  return panning == kKeepPanning || (panning >= -kMaxPanning && panning <= kMaxPanning);
}

bool IsValidVolume(int32_t volume) {
  return volume == kKeepVolume || (volume >= 0 && volume <= kMaxChannelVolume);
}

}  // namespace

ErrorCode CheckAttributes(const ChannelAttributes& attributes) {
  if (!IsValidFrequency(attributes.frequency) || !IsValidVolume(attributes.volume) ||
      !IsValidPanning(attributes.panning)) {
    return kErrorIllegalParameter;
  }
  return kErrorNone;
}

ErrorCode CheckSlide(const ChannelAttributes& target, int32_t durationMs) {
  if (durationMs < 0) return kErrorIllegalParameter;
  if (target.volume == kFadeOutAndStop) {
    ChannelAttributes rest = target;
    rest.volume = kKeepVolume;
    return CheckAttributes(rest);
  }
  return CheckAttributes(target);
}

}  // namespace tonelink
