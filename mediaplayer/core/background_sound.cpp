// The background sound's loop and timer rules.
#include "core/background_sound.h"

namespace player {

size_t NextSoundPosition(size_t position, size_t count) {
  if (count == 0) return 0;
  return position >= count ? 1 : position + 1;
}

bool SoundHasEnded(const SoundProgress& progress) {
  switch (progress.kind) {
    case SOUND_AUDIO:
      return !progress.channelActive;
    case SOUND_IMAGING:
      return progress.position >= progress.length || !progress.isPlaying;
    default:
      return true;
  }
}

}  // namespace player
