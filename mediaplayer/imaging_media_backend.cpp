// The playback back-end over the imaging library's multimedia layer: one
// media object made by Init and freed by Free, a clip marked before each
// play, results 1 for success and negative codes for failures.
//
// The imaging library in this tree has no multimedia calls yet: until it
// has, `MultimediaLayer` below answers every call with the library's
// "feature not supported" result, so the engine reports an imaging-route
// item as failed rather than pretending it plays.
#include <windows.h>

#include "media_backend.h"
#include "trace_writer.h"

namespace player {

namespace {

constexpr int32_t kSuccess = 1;
// The imaging library's "the operation exists but cannot be done here".
constexpr int32_t kFeatureNotSupported = -10;
// The play flags the player asks for: the video is drawn into the window.
constexpr uint32_t kPlayIntoWindow = 0x40000000u;

// The multimedia calls as the engine makes them (names and arguments of the
// imaging library's L_MM functions).
struct MultimediaLayer {
  int32_t Init(void** media) {
    *media = nullptr;
    return kFeatureNotSupported;
  }
  int32_t Load(void*, const char*, uint32_t) { return kFeatureNotSupported; }
  int32_t SetPlayExt(void*, HWND, int32_t, int32_t, int32_t, int32_t, uint32_t) { return kFeatureNotSupported; }
  int32_t AdjustWin(void*, int32_t, int32_t, int32_t, int32_t) { return kFeatureNotSupported; }
  int32_t MarkClip(void*, uint32_t, uint32_t) { return kFeatureNotSupported; }
  int32_t Play(void*, const char*) { return kFeatureNotSupported; }
  int32_t GetCurrentPos(void*, uint32_t* position) {
    *position = 0;
    return kFeatureNotSupported;
  }
  int32_t GetLength(void*, uint32_t* length) {
    *length = 0;
    return kFeatureNotSupported;
  }
  int32_t IsPlaying(void*) { return 0; }
  int32_t Pause(void*) { return kFeatureNotSupported; }
  int32_t Resume(void*) { return kFeatureNotSupported; }
  int32_t Stop(void*) { return kFeatureNotSupported; }
  int32_t SetCurrentPos(void*, uint32_t) { return kFeatureNotSupported; }
  int32_t CopyFrames(void*, uint32_t, int32_t, int32_t) { return kFeatureNotSupported; }
  int32_t Free(void*) { return kSuccess; }
};

class ImagingMedia : public MediaBackend {
 public:
  int32_t Open(HWND window, const std::string& path) override {
    Close();
    int32_t result = layer_.Init(&media_);
    if (result != kSuccess) return Failed(result);
    result = layer_.Load(media_, path.c_str(), 0);
    if (result != kSuccess) return Failed(result);
    if (window != nullptr) {
      result = layer_.SetPlayExt(media_, window, 0, 0, 0, 0, kPlayIntoWindow);
      if (result != kSuccess) return Failed(result);
      result = layer_.AdjustWin(media_, 0, 0, 0, 0);
      if (result != kSuccess) return Failed(result);
    }
    return 1;
  }

  int32_t Play(uint32_t from, uint32_t to, ClipRange* clip) override {
    uint32_t length = 0;
    layer_.GetLength(media_, &length);
    *clip = ClampClip(from, to, length);
    layer_.MarkClip(media_, clip->start, clip->end);
    return layer_.Play(media_, "");
  }

  int32_t PlayPercent(const ClipRange& clip) override { return player::PlayPercent(Position(), clip); }
  bool IsPlaying() override { return media_ != nullptr && layer_.IsPlaying(media_) != 0; }
  void Pause() override { layer_.Pause(media_); }
  void Resume() override { layer_.Resume(media_); }
  void Stop() override { layer_.Stop(media_); }
  void Seek(uint32_t position) override { layer_.SetCurrentPos(media_, position); }

  uint32_t Position() override {
    uint32_t position = 0;
    if (media_ != nullptr && layer_.GetCurrentPos(media_, &position) != kSuccess) position = 0;
    return position;
  }

  void Close() override {
    if (media_ != nullptr) layer_.Free(media_);
    media_ = nullptr;
  }

  uint32_t Level() override { return 0xFFFFFFFFu; }

  int32_t FitVideo(HWND window) override {
    RECT client = {};
    if (window != nullptr) GetClientRect(window, &client);
    return layer_.AdjustWin(media_, 0, 0, client.right, client.bottom);
  }

  int32_t CopyFrames(uint32_t position, int32_t count, int32_t flag) override {
    return layer_.CopyFrames(media_, position, count, flag);
  }

 private:
  int32_t Failed(int32_t result) {
    Close();
    // 1 and 2 are the engine's success values: a failure never reads as one.
    return result >= 1 ? kFeatureNotSupported : result;
  }

  MultimediaLayer layer_;
  void* media_ = nullptr;
};

}  // namespace

MediaBackend& ImagingBackend() {
  static ImagingMedia media;
  return media;
}

void RegisterImagingEvents() {}

}  // namespace player
