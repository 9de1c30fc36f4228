// The playback back-end over the audio library (tonelink): one current
// stream, positions and lengths in milliseconds.
#include <windows.h>

#include "media_backend.h"
#include "tonelink.h"

namespace player {

namespace {

constexpr uint32_t kNoLevel = 0xFFFFFFFFu;

class AudioLibraryMedia : public MediaBackend {
 public:
  int32_t Open(HWND, const std::string& path) override {
    int32_t code = BASSOPEN(0, path.c_str());
    if (code == 0) return 2;
    // The library's codes are positive; the engine's failures are not.
    return code > 0 ? -code : code;
  }

  int32_t Play(uint32_t from, uint32_t to, ClipRange* clip) override {
    if (BASSPLAY(static_cast<int32_t>(from), static_cast<int32_t>(to)) != 0) return -99;
    uint32_t length = static_cast<uint32_t>(BASSMEDIAGETLENGTH());
    *clip = ClampClip(from, to, length);
    return 1;
  }

  int32_t PlayPercent(const ClipRange& clip) override {
    AudioProgress progress;
    progress.position = static_cast<uint32_t>(BASSCHANNELGETPOSITION());
    progress.ended = BASSCHANNELGETLEVEL() == kNoLevel;
    if (progress.ended) {
      progress.fileStream = BASSMEDIATYPE(1) != 0;
      progress.trackerModule = !progress.fileStream && BASSMEDIATYPE(5) != 0;
      if (progress.trackerModule) progress.versionAbove1_6 = VersionAbove1_6(tonelink::VersionText());
      progress.length = static_cast<uint32_t>(BASSMEDIAGETLENGTH());
    }
    return AudioPlayPercent(progress, clip);
  }

  bool IsPlaying() override { return BASSCHANNELISACTIVE() != 0; }
  void Pause() override { BASSPAUSE(); }
  void Resume() override { BASSSTART(); }
  void Stop() override { BASSSTOP(); }
  void Seek(uint32_t position) override { BASSCHANNELSETPOSITION(static_cast<int32_t>(position)); }
  uint32_t Position() override { return static_cast<uint32_t>(BASSCHANNELGETPOSITION()); }
  void Close() override { BASSCLOSE(); }
  uint32_t Level() override { return BASSCHANNELGETLEVEL(); }
  // Audio has no video and no frames.
  int32_t FitVideo(HWND) override { return 0; }
  int32_t CopyFrames(uint32_t, int32_t, int32_t) override { return 0; }
};

}  // namespace

MediaBackend& AudioLibraryBackend() {
  static AudioLibraryMedia media;
  return media;
}

}  // namespace player
