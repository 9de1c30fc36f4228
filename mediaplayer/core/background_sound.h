// The background sound of slide shows, its rules without the sound
// libraries: the next entry of the loop and when the timer's check moves
// on.
#pragma once

#include <cstddef>
#include <cstdint>

namespace player {

// Kinds of the sound playing.
constexpr int32_t SOUND_NONE = 0;
constexpr int32_t SOUND_IMAGING = 1;  // the imaging library's multimedia object
constexpr int32_t SOUND_AUDIO = 2;    // an audio-library channel

// The 1-based position after `position` in a list of `count`: past the end
// back to 1; 0 for an empty list.
size_t NextSoundPosition(size_t position, size_t count);

// What the timer's check sees of the sound playing.
struct SoundProgress {
  int32_t kind = SOUND_NONE;
  bool channelActive = false;   // audio library: the channel still plays
  int32_t position = 0;         // imaging library: the current position...
  int32_t length = 0;           // ...against the length
  bool isPlaying = false;       // imaging library: the object still plays
};
// Whether the check moves on to the next sound.  An imaging-library sound
// is over at its end, and also when it stopped short of it (a player that
// ends a little early would otherwise hold the list for ever).
bool SoundHasEnded(const SoundProgress& progress);

}  // namespace player
