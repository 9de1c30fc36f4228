// The playback back-end over the imaging library's multimedia layer: one
// media object made by L_MMInit and freed by L_MMFree, a clip marked before
// each play, results 1 for success and negative codes for failures.
// Positions, lengths and clips count frames.
#include <windows.h>

#include "imaging.h"
#include "media_backend.h"

extern "C" int32_t __cdecl OrbPlayLeadEvent(void* media, int32_t event, int32_t data, void* user);

namespace player {

namespace {

constexpr int32_t kSuccess = 1;
// The imaging library's "the operation exists but cannot be done here".
constexpr int32_t kFeatureNotSupported = -10;
// The play flags the player asks for: the video is drawn into the window.
constexpr L_UINT kPlayIntoWindow = 0x40000000u;

L_INT __cdecl ForwardEvent(L_HMM media, L_INT event, L_INT param, void* userData) {
  return OrbPlayLeadEvent(media, event, param, userData);
}

class ImagingMedia : public MediaBackend {
 public:
  int32_t Open(HWND window, const std::string& path) override {
    Close();
    int32_t result = L_MMInit(&media_);
    if (result != kSuccess) return Failed(result);
    result = L_MMLoad(media_, path.c_str(), 0);
    if (result != kSuccess) return Failed(result);
    if (window != nullptr) {
      result = L_MMSetPlayExt(media_, window, 0, 0, 0, 0, kPlayIntoWindow);
      if (result != kSuccess) return Failed(result);
      result = L_MMAdjustWin(media_, 0, 0, 0, 0);
      if (result != kSuccess) return Failed(result);
    }
    return 1;
  }

  int32_t Play(uint32_t from, uint32_t to, ClipRange* clip) override {
    L_INT length = 0;
    if (media_ == nullptr || L_MMGetLength(media_, &length) != kSuccess || length < 0) length = 0;
    *clip = ClampClip(from, to, static_cast<uint32_t>(length));
    L_MMMarkClip(media_, static_cast<L_INT>(clip->start), static_cast<L_INT>(clip->end));
    return L_MMPlay(media_, "");
  }

  int32_t PlayPercent(const ClipRange& clip) override { return player::PlayPercent(Position(), clip); }
  bool IsPlaying() override { return media_ != nullptr && L_MMIsPlaying(media_) == 1; }
  void Pause() override {
    if (media_ != nullptr) L_MMPause(media_);
  }
  void Resume() override {
    if (media_ != nullptr) L_MMResume(media_);
  }
  void Stop() override {
    if (media_ != nullptr) L_MMStop(media_);
  }
  void Seek(uint32_t position) override {
    if (media_ != nullptr) L_MMSetCurrentPos(media_, static_cast<L_INT>(position));
  }

  uint32_t Position() override {
    L_INT position = 0;
    if (media_ == nullptr || L_MMGetCurrentPos(media_, &position) != kSuccess || position < 0) return 0;
    return static_cast<uint32_t>(position);
  }

  void Close() override {
    if (media_ != nullptr) L_MMFree(media_);
    media_ = nullptr;
  }

  // Videos play without sound here: no levels.
  uint32_t Level() override { return 0xFFFFFFFFu; }

  int32_t FitVideo(HWND window) override {
    RECT client = {};
    if (window != nullptr) GetClientRect(window, &client);
    if (media_ == nullptr) return -2;
    return L_MMAdjustWin(media_, 0, 0, client.right, client.bottom);
  }

  int32_t CopyFrames(uint32_t position, int32_t count, int32_t flag) override {
    if (media_ == nullptr) return -2;
    return L_MMCopyFrames(media_, static_cast<L_INT>(position), count, static_cast<L_UINT>(flag));
  }

 private:
  int32_t Failed(int32_t result) {
    Close();
    // 1 and 2 are the engine's success values: a failure never reads as one.
    return result >= 1 ? kFeatureNotSupported : result;
  }

  L_HMM media_ = nullptr;
};

}  // namespace

MediaBackend& ImagingBackend() {
  static ImagingMedia media;
  return media;
}

void RegisterImagingEvents() { L_MMSetEventCallback(ForwardEvent, nullptr); }

}  // namespace player
