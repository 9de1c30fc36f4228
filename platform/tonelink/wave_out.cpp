// The wave-out feeder; see wave_out.h.
#include "wave_out.h"

#include <windows.h>
// mmsystem.h needs windows.h first.
#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "audio_effects.h"
#include "library_state.h"
#include "stream.h"

namespace tonelink {

namespace {

constexpr int kBufferCount = 4;
constexpr uint64_t kBufferMs = 100;
constexpr uint64_t kAheadMs = 300;
constexpr DWORD kFeedIntervalMs = 20;

struct Buffer {
  WAVEHDR header = {};
  std::vector<int16_t> samples;
  bool isQueued = false;
};

}  // namespace

struct WaveOutPlayer::Impl {
  HWAVEOUT device = nullptr;
  int32_t streamHandle = 0;
  WaveFormat format;
  Buffer buffers[kBufferCount];
  std::atomic<bool> stop{false};
  HANDLE wake = nullptr;
  std::thread thread;
  uint32_t seenChanges = 0xFFFFFFFFu;
  uint64_t writeFrame = 0;
  // The effects of the panel on what is queued: one chain for as long as
  // the blocks follow each other and the settings stay.
  std::unique_ptr<EffectChain> effects;
  uint32_t effectsVersion = 0;
  uint64_t effectsNextFrame = 0;

  // Ends the thread, then drops what is queued and closes the device.
  ~Impl();
  void Run();
  void Feed(CurrentStream& stream);
  void Reclaim();
  void DropQueued();
  bool QueueBlock(CurrentStream& stream, uint64_t count, uint64_t nowMs);
  void ApplyEffects(CurrentStream& stream, std::vector<int16_t>* samples);
};

void WaveOutPlayer::Impl::ApplyEffects(CurrentStream& stream, std::vector<int16_t>* samples) {
  const LibraryState& state = State();
  if (state.effects.IsNeutral()) {
    effects.reset();
    return;
  }
  const uint32_t rate = format.sampleRate;
  if (effects == nullptr || effectsVersion != state.effectsVersion || effectsNextFrame != writeFrame) {
    // A new chain starts early enough to sound as if it had run all along.
    effects = std::make_unique<EffectChain>(state.effects, rate, format.channels);
    effectsVersion = state.effectsVersion;
    const uint64_t settle = SettleFrames(state.effects, rate);
    const uint64_t start = writeFrame > settle ? writeFrame - settle : 0;
    std::vector<float> before = ToFloat(stream.media->ReadPcm16(start, writeFrame - start));
    effects->Process(before.data(), before.size() / format.channels, start);
  }
  std::vector<float> sound = ToFloat(*samples);
  const size_t frames = sound.size() / format.channels;
  effects->Process(sound.data(), frames, writeFrame);
  effectsNextFrame = writeFrame + frames;
  for (size_t i = 0; i < sound.size(); ++i) (*samples)[i] = ToPcm16(sound[i]);
}

void WaveOutPlayer::Impl::Reclaim() {
  for (Buffer& buffer : buffers) {
    if (buffer.isQueued && (buffer.header.dwFlags & WHDR_DONE) != 0) {
      waveOutUnprepareHeader(device, &buffer.header, sizeof(WAVEHDR));
      buffer.isQueued = false;
    }
  }
}

void WaveOutPlayer::Impl::DropQueued() {
  waveOutReset(device);  // marks every queued buffer done
  Reclaim();
}

bool WaveOutPlayer::Impl::QueueBlock(CurrentStream& stream, uint64_t count, uint64_t nowMs) {
  Buffer* free = nullptr;
  for (Buffer& buffer : buffers) {
    if (!buffer.isQueued) free = &buffer;
  }
  if (free == nullptr) return false;
  std::vector<int16_t> source = stream.media->ReadPcm16(writeFrame, count);
  ApplyEffects(stream, &source);
  uint32_t channels = format.channels;
  uint64_t sourceFrames = source.size() / channels;
  if (sourceFrames == 0) return false;
  // The channel's frequency attribute plays the frames faster or slower:
  // the device's frames pick the nearest source frame.
  uint32_t speed = stream.timeline.Speed();
  uint64_t outFrames = std::max<uint64_t>(1, sourceFrames * format.sampleRate / speed);
  int32_t volume = stream.VolumeAt(nowMs) * State().config.streamVolume;  // 0..10000
  int32_t panning = stream.panning;
  int32_t gain[2] = {volume, volume};
  if (channels == 2 && panning > 0) gain[0] = gain[0] * (100 - panning) / 100;
  if (channels == 2 && panning < 0) gain[1] = gain[1] * (100 + panning) / 100;
  free->samples.resize(static_cast<size_t>(outFrames * channels));
  for (uint64_t frame = 0; frame < outFrames; ++frame) {
    uint64_t from = std::min(sourceFrames - 1, frame * speed / format.sampleRate);
    for (uint32_t channel = 0; channel < channels; ++channel) {
      int32_t sample = source[from * channels + channel];
      free->samples[frame * channels + channel] =
          static_cast<int16_t>(sample * gain[channel] / 10000);
    }
  }
  free->header = WAVEHDR{};
  free->header.lpData = reinterpret_cast<LPSTR>(free->samples.data());
  free->header.dwBufferLength = static_cast<DWORD>(free->samples.size() * sizeof(int16_t));
  if (waveOutPrepareHeader(device, &free->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
    return false;
  }
  if (waveOutWrite(device, &free->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
    waveOutUnprepareHeader(device, &free->header, sizeof(WAVEHDR));
    return false;
  }
  free->isQueued = true;
  writeFrame += sourceFrames;
  return true;
}

void WaveOutPlayer::Impl::Feed(CurrentStream& stream) {
  uint64_t now = NowMs();
  Reclaim();
  StreamTimeline& timeline = stream.timeline;
  uint64_t position = timeline.PositionFrames(now);
  uint32_t speed = timeline.Speed();
  if (stream.changes != seenChanges) {
    // Start again where the change left the stream; the device then trails
    // the clock by no more than the time it took to get here.
    DropQueued();
    seenChanges = stream.changes;
    writeFrame = timeline.AnchorFrame();
  }
  if (!timeline.IsAdvancing(now)) return;
  // Fallen far behind the clock (the machine was busy): catch up.
  if (writeFrame + MsToFrames(kBufferMs, speed) < position) writeFrame = position;
  uint64_t aheadUntil = position + MsToFrames(kAheadMs, speed);
  while (writeFrame < timeline.EndFrame() && writeFrame < aheadUntil) {
    uint64_t count = std::min(MsToFrames(kBufferMs, speed), timeline.EndFrame() - writeFrame);
    if (count == 0 || !QueueBlock(stream, count, now)) break;
  }
}

void WaveOutPlayer::Impl::Run() {
  while (!stop.load()) {
    WaitForSingleObject(wake, kFeedIntervalMs);
    if (stop.load()) break;
    // Never wait for the lock: closing the stream holds it while it waits
    // for this thread to end.
    auto lock = TryLockState();
    if (!lock.owns_lock()) continue;
    CurrentStream* stream = StreamByHandle(streamHandle);
    if (stream != nullptr && stream->player != nullptr) Feed(*stream);
  }
}

std::unique_ptr<WaveOutPlayer> WaveOutPlayer::Open(uint32_t deviceId, int32_t streamHandle,
                                                   const WaveFormat& format) {
  auto impl = std::make_unique<Impl>();
  WAVEFORMATEX wave = {};
  wave.wFormatTag = WAVE_FORMAT_PCM;
  wave.nChannels = static_cast<WORD>(format.channels);
  wave.nSamplesPerSec = format.sampleRate;
  wave.wBitsPerSample = 16;
  wave.nBlockAlign = static_cast<WORD>(format.channels * 2);
  wave.nAvgBytesPerSec = wave.nSamplesPerSec * wave.nBlockAlign;
  HWAVEOUT device = nullptr;
  if (waveOutOpen(&device, deviceId, &wave, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    return nullptr;
  }
  impl->device = device;
  impl->streamHandle = streamHandle;
  impl->format = format;
  impl->wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (impl->wake == nullptr) return nullptr;
  std::unique_ptr<WaveOutPlayer> player(new WaveOutPlayer(std::move(impl)));
  Impl* raw = player->impl_.get();
  try {
    raw->thread = std::thread([raw] { raw->Run(); });
  } catch (...) {
    return nullptr;  // no thread: the stream keeps its clock without sound
  }
  return player;
}

WaveOutPlayer::WaveOutPlayer(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

void WaveOutPlayer::Wake() { SetEvent(impl_->wake); }

WaveOutPlayer::~WaveOutPlayer() = default;

WaveOutPlayer::Impl::~Impl() {
  stop.store(true);
  if (wake != nullptr) SetEvent(wake);
  if (thread.joinable()) thread.join();
  if (device != nullptr) {
    DropQueued();
    waveOutClose(device);
  }
  if (wake != nullptr) CloseHandle(wake);
}

}  // namespace tonelink
