// The current stream: the one stream the library keeps for the players
// (BASSOPEN, BASSPLAY, BASSCLOSE and the calls without a handle that read
// its position, length, level, type and titles).
//
// PCM WAV files open and play for real: the position runs on the
// monotonic clock from BASSPLAY, holds while the output or the channel is
// paused and ends with the played range, with or without a sound device;
// the level is the peak of the samples just played, as the effects of the
// effects panel make them.  With a wave-out device
// the samples also go to it (wave_out.cpp).  Any other file fails to open
// with "format not supported", an internet address with "internet stream".
#include "stream.h"

#include <windows.h>

#include <algorithm>

#include "audio_effects.h"
#include "library_settings.h"
#include "library_state.h"
#include "output.h"
#include "output_buffer.h"
#include "tonelink.h"
#include "wave_out.h"

namespace tonelink {

namespace {

std::unique_ptr<CurrentStream> g_current;
// The output's frequency when the first stream starts it (the players'
// own, as they would pass it to BASSINIT).
constexpr int32_t kDefaultOutputFrequency = 44100;

// Handles of the current stream count up, so a closed stream's handle
// stays invalid.
int32_t g_nextHandle = 0x10001;

// The file's bytes through Win32 reads.
class FileSource : public ByteSource {
 public:
  explicit FileSource(HANDLE file) : file_(file) {}
  uint64_t Size() const override {
    LARGE_INTEGER size;
    return GetFileSizeEx(file_, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
  }
  size_t ReadAt(uint64_t offset, void* out, size_t size) override {
    size_t done = 0;
    while (done < size) {
      OVERLAPPED at = {};
      uint64_t where = offset + done;
      at.Offset = static_cast<DWORD>(where);
      at.OffsetHigh = static_cast<DWORD>(where >> 32);
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 20));
      DWORD read = 0;
      if (!ReadFile(file_, static_cast<uint8_t*>(out) + done, chunk, &read, &at) || read == 0) {
        break;
      }
      done += read;
    }
    return done;
  }

 private:
  HANDLE file_;
};

}  // namespace

MediaFile::~MediaFile() { CloseHandle(file_); }

std::vector<uint8_t> MediaFile::ReadFrames(uint64_t first, uint64_t count) {
  const WaveFormat& format = info_.format;
  first = std::min(first, info_.frameCount);
  count = std::min(count, info_.frameCount - first);
  std::vector<uint8_t> bytes(static_cast<size_t>(count * format.bytesPerFrame));
  FileSource source(file_);
  size_t read = source.ReadAt(info_.dataOffset + first * format.bytesPerFrame, bytes.data(),
                              bytes.size());
  bytes.resize(read / format.bytesPerFrame * format.bytesPerFrame);
  return bytes;
}

std::vector<int16_t> MediaFile::ReadPcm16(uint64_t first, uint64_t count) {
  std::vector<uint8_t> bytes = ReadFrames(first, count);
  size_t frames = bytes.size() / info_.format.bytesPerFrame;
  std::vector<int16_t> samples(frames * info_.format.channels);
  DecodeToPcm16(bytes.data(), frames, info_.format, samples.data());
  return samples;
}

ErrorCode OpenMediaFile(const char* path, std::unique_ptr<MediaFile>* opened) {
  if (path == nullptr || path[0] == '\0') return kErrorIllegalParameter;
  if (IsInternetAddress(path)) return kErrorNetwork;
  // Others may go on reading, writing or deleting the file meanwhile.
  const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE file = CreateFileA(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kErrorFileOpen;
  // Closed on every way out until the MediaFile owns it (an allocation may
  // throw on the way).
  std::unique_ptr<void, decltype(&CloseHandle)> owner(file, &CloseHandle);
  FileSource source(file);
  WaveInfo info;
  if (ParseWave(source, &info) != WaveParseResult::kOk) return kErrorFormat;
  *opened = std::make_unique<MediaFile>(file, info);
  owner.release();
  return kErrorNone;
}

CurrentStream::CurrentStream(int32_t handle, std::unique_ptr<MediaFile> file)
    : handle(handle),
      media(std::move(file)),
      timeline(media->info().frameCount, media->info().format.sampleRate) {}

CurrentStream::~CurrentStream() = default;

void CurrentStream::NoteChange() {
  ++changes;
  if (player) player->Wake();
}

int32_t CurrentStream::VolumeAt(uint64_t nowMs) {
  if (!isSliding) return volume;
  volume = volumeSlide.ValueAt(nowMs);
  if (volumeSlide.IsDone(nowMs)) {
    isSliding = false;
    if (stopAfterSlide) {
      // Stopped when the fade ended, however late this call noticed it.
      stopAfterSlide = false;
      timeline.Stop(std::min(nowMs, volumeSlide.startMs + volumeSlide.durationMs));
      NoteChange();
    }
  }
  return volume;
}

CurrentStream* Current() { return g_current.get(); }

CurrentStream* StreamByHandle(int32_t handle) {
  return g_current && g_current->handle == handle ? g_current.get() : nullptr;
}

void CloseCurrentStream() {
  // The wave-out feeder never waits for the state lock, held here, so its
  // thread can be joined while the stream goes.
  g_current.reset();
}

void HoldCurrentStream(uint32_t reasons) {
  if (!g_current) return;
  g_current->timeline.Hold(reasons, NowMs());
  g_current->NoteChange();
}

void ReleaseCurrentStream(uint32_t reasons) {
  if (!g_current) return;
  g_current->timeline.Release(reasons, NowMs());
  g_current->NoteChange();
}

ErrorCode NoStreamError() {
  ErrorCode code = LoadedOrError();
  return code != kErrorNone ? code : kErrorNoStream;
}

}  // namespace tonelink

namespace {

using orbtrace::CallLine;
using namespace tonelink;

CallLine Call(const char* function) { return CallLine(kTraceLibrary, function); }

// The current stream with the lock held and pending slides applied, or
// null with `*code` saying why.
CurrentStream* CurrentOrError(ErrorCode* code) {
  *code = LoadedOrError();
  if (*code != kErrorNone) return nullptr;
  CurrentStream* stream = Current();
  if (stream == nullptr) {
    *code = kErrorNoStream;
    return nullptr;
  }
  stream->VolumeAt(NowMs());
  return stream;
}

// A call that reads a number of the current stream: `read` gives it, 0
// without a stream.
template <typename Read>
int32_t ReadCurrent(const CallLine& call, Read read) {
  ErrorCode code;
  int32_t result = 0;
  {
    auto lock = LockState();
    CurrentStream* stream = CurrentOrError(&code);
    if (stream != nullptr) result = read(*stream);
  }
  return Finish(call, code, result);
}

// The level of the window as the effects make it: the chain runs from
// early enough before the window to have settled, since the sound there
// carries what came before (echoes, the reverberation's tail).
PeakLevels EffectLevel(CurrentStream& stream, const FrameSpan& window, const EffectSettings& effects) {
  const WaveFormat& format = stream.media->info().format;
  const uint64_t settle = SettleFrames(effects, format.sampleRate);
  const uint64_t start = window.start > settle ? window.start - settle : 0;
  std::vector<float> samples = ToFloat(stream.media->ReadPcm16(start, window.start + window.count - start));
  const size_t frames = samples.size() / format.channels;
  EffectChain chain(effects, format.sampleRate, format.channels);
  chain.Process(samples.data(), frames, start);
  const size_t skip = static_cast<size_t>(window.start - start);
  if (frames <= skip) return PeakLevels{};
  return MeasureFloatPeaks(samples.data() + skip * format.channels, frames - skip, format.channels);
}

int32_t StreamMs(const CurrentStream& stream, uint64_t frames) {
  return ClampToInt32(FramesToMs(frames, stream.rate()));
}

// A title of the current stream: "" with none open.
int32_t Title(const char* function, bool isStreamTitle, char* out, int32_t outSize) {
  ErrorCode code;
  std::string title;
  {
    auto lock = LockState();
    CurrentStream* stream = CurrentOrError(&code);
    if (stream != nullptr && isStreamTitle) title = stream->media->info().title;
  }
  int32_t length = themecore::CopyTextOut(title, out, outSize);
  bool wroteBuffer = out != nullptr && outSize > 0;
  return Finish(Call(function).OutText(wroteBuffer ? out : nullptr).Number(outSize), code, length);
}

}  // namespace

TONELINK_API int32_t __stdcall BASSOPEN(int32_t stream, const char* path) {
  return Guarded(static_cast<int32_t>(kErrorMemory), [&] {
    ErrorCode code;
    {
      auto lock = LockState();
      code = LoadedOrError();
    }
    if (code == kErrorNone && stream != 0) code = kErrorIllegalParameter;
    std::unique_ptr<MediaFile> media;
    if (code == kErrorNone) code = OpenMediaFile(path, &media);
    if (code == kErrorNone) {
      auto lock = LockState();
      code = LoadedOrError();
      // The players never call BASSINIT: the first stream starts the
      // default output.
      if (code == kErrorNone && !State().output.isInitialised) {
        code = InitialiseOutput(-1, kDefaultOutputFrequency, nullptr);
      }
      if (code == kErrorNone) {
        CloseCurrentStream();
        auto opened = std::make_unique<CurrentStream>(g_nextHandle, std::move(media));
        g_nextHandle = g_nextHandle >= 0x7FFFFFF0 ? 0x10001 : g_nextHandle + 1;
        if (State().output.clock.state() != OutputClock::State::kRunning) {
          opened->timeline.Hold(kHoldOutput, NowMs());
        }
        if (!State().output.isNullDevice) {
          opened->player = WaveOutPlayer::Open(State().output.waveOutId, opened->handle,
                                               opened->media->info().format);
        }
        g_current = std::move(opened);
      }
    }
    return Finish(Call("BASSOPEN").Number(stream).Text(path), code, code);
  });
}

TONELINK_API int32_t __stdcall BASSPLAY(int32_t from, int32_t to) {
  return Guarded(static_cast<int32_t>(kErrorMemory), [&] {
    ErrorCode code;
    {
      auto lock = LockState();
      CurrentStream* stream = CurrentOrError(&code);
      if (stream != nullptr && (from < 0 || to < 0 || (to != 0 && to < from))) {
        code = kErrorIllegalParameter;
      }
      if (stream != nullptr && code == kErrorNone) {
        // Playing starts the output when it was paused or stopped.
        code = StartOutput();
        uint64_t end = to == 0 ? stream->timeline.FrameCount() : MsToFrames(to, stream->rate());
        stream->timeline.Play(MsToFrames(from, stream->rate()), end, NowMs());
        stream->NoteChange();
      }
    }
    return Finish(Call("BASSPLAY").Number(from).Number(to), code, code);
  });
}

TONELINK_API int32_t __stdcall BASSCLOSE() {
  return Guarded(0, [] {
    ErrorCode code;
    {
      auto lock = LockState();
      code = LoadedOrError();
      if (code == kErrorNone) CloseCurrentStream();
    }
    // With no stream open there is nothing to close, and none is open after.
    return Finish(Call("BASSCLOSE"), code, code == kErrorNone ? 1 : 0);
  });
}

TONELINK_API int32_t __stdcall BASSHANDLEINUSE() {
  return Guarded(0, [] {
    return ReadCurrent(Call("BASSHANDLEINUSE"), [](CurrentStream& s) { return s.handle; });
  });
}

TONELINK_API int32_t __stdcall BASSMEDIAGETLENGTH() {
  return Guarded(0, [] {
    return ReadCurrent(Call("BASSMEDIAGETLENGTH"),
                       [](CurrentStream& s) { return StreamMs(s, s.timeline.FrameCount()); });
  });
}

TONELINK_API int32_t __stdcall BASSCHANNELGETPOSITION() {
  return Guarded(0, [] {
    return ReadCurrent(Call("BASSCHANNELGETPOSITION"), [](CurrentStream& s) {
      return StreamMs(s, s.timeline.PositionFrames(NowMs()));
    });
  });
}

TONELINK_API int32_t __stdcall BASSCHANNELSETPOSITION(int32_t position) {
  return Guarded(0, [&] {
    ErrorCode code;
    int32_t result = 0;
    {
      auto lock = LockState();
      CurrentStream* stream = CurrentOrError(&code);
      if (stream != nullptr && position < 0) code = kErrorIllegalParameter;
      if (stream != nullptr && code == kErrorNone) {
        stream->timeline.Seek(MsToFrames(position, stream->rate()), NowMs());
        stream->NoteChange();
        result = 1;
      }
    }
    return Finish(Call("BASSCHANNELSETPOSITION").Number(position), code, result);
  });
}

TONELINK_API int32_t __stdcall BASSCHANNELISACTIVE() {
  return Guarded(0, [] {
    return ReadCurrent(Call("BASSCHANNELISACTIVE"),
                       [](CurrentStream& s) { return s.timeline.IsAdvancing(NowMs()) ? 1 : 0; });
  });
}

TONELINK_API uint32_t __stdcall BASSCHANNELGETLEVEL() {
  // 0xFFFFFFFF is "nothing plays": the players then take the stream as ended.
  const uint32_t kNothingPlays = 0xFFFFFFFFu;
  return Guarded(kNothingPlays, [&] {
    ErrorCode code;
    uint32_t level = kNothingPlays;
    {
      auto lock = LockState();
      CurrentStream* stream = CurrentOrError(&code);
      uint64_t now = NowMs();
      if (stream != nullptr && stream->timeline.IsLive(now)) {
        level = 0;  // paused: silence
        if (stream->timeline.holds() == 0) {
          const WaveInfo& info = stream->media->info();
          FrameSpan window = LevelWindow(stream->timeline.PositionFrames(now), info.frameCount,
                                         info.format.sampleRate);
          if (State().effects.IsNeutral()) {
            std::vector<uint8_t> bytes = stream->media->ReadFrames(window.start, window.count);
            level = LevelWord(
                MeasurePeaks(bytes.data(), bytes.size() / info.format.bytesPerFrame, info.format));
          } else {
            level = LevelWord(EffectLevel(*stream, window, State().effects));
          }
        }
      }
    }
    return FinishUnsigned(Call("BASSCHANNELGETLEVEL"), code, level);
  });
}

TONELINK_API int32_t __stdcall BASSMEDIATYPE(int32_t type) {
  // Every stream this library opens is a file stream (type 1).
  return Guarded(0, [&] {
    return ReadCurrent(Call("BASSMEDIATYPE").Number(type),
                       [&](CurrentStream&) { return type == 1 ? 1 : 0; });
  });
}

TONELINK_API int32_t __stdcall BASSMUSICNAME(char* out, int32_t outSize) {
  return Guarded(0, [&] { return Title("BASSMUSICNAME", false, out, outSize); });
}

TONELINK_API int32_t __stdcall BASSSTREAMNAME(char* out, int32_t outSize) {
  return Guarded(0, [&] { return Title("BASSSTREAMNAME", true, out, outSize); });
}
