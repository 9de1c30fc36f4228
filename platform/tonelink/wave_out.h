// Sends the current stream's samples to a wave-out device.  The stream's
// position comes from the clock (stream_timeline); the feeder keeps the
// device a few hundred milliseconds ahead of it, from the clock's position,
// so what the device plays is what the position and the level say.  A seek,
// a pause or any other change of the timeline drops what was queued.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "wave_file.h"

namespace tonelink {

class WaveOutPlayer {
 public:
  // Opens wave-out device `deviceId` for 16-bit samples with the format's
  // channels and rate, and starts feeding the stream with handle
  // `streamHandle` from its own thread.  Null when the device refuses the
  // format: the stream then keeps its clock without sound.
  static std::unique_ptr<WaveOutPlayer> Open(uint32_t deviceId, int32_t streamHandle,
                                             const WaveFormat& format);
  ~WaveOutPlayer();
  // Feeds at once (after a change of the stream) rather than at the next
  // round.
  void Wake();
  WaveOutPlayer(const WaveOutPlayer&) = delete;
  WaveOutPlayer& operator=(const WaveOutPlayer&) = delete;

 private:
  struct Impl;
  explicit WaveOutPlayer(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace tonelink
