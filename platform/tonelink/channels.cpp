// Channels and decoding streams by handle: pause, resume, attributes,
// closing, and the decoding streams the media browser converts from
// (BASSSTREAMDECODEFILE, BASSCHANNELGETDATA and their queries).
//
// A handle is valid when the library gave it: the current stream's
// (BASSHANDLEINUSE) or a decoding stream's (BASSSTREAMDECODEFILE).  Every
// call checks its arguments first, then the handle ("handle not valid"),
// with the failure value the programs expect (0, or -1 for lengths and
// positions).  Decoding streams deliver 16-bit PCM whatever the file holds;
// their lengths and positions are bytes of it.  Attributes of a decoding
// stream are kept but change nothing in its data.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "channel_attributes.h"
#include "library_state.h"
#include "stream.h"
#include "tonelink.h"

namespace tonelink {

namespace {

struct DecodingStream {
  std::unique_ptr<MediaFile> media;
  uint64_t nextFrame = 0;
  bool isStopped = false;
  ChannelAttributes attributes{0, 100, 0};  // frequency 0: the file's own
};

std::map<int32_t, std::unique_ptr<DecodingStream>> g_decoders;
int32_t g_nextDecoder = 0x20001;

DecodingStream* DecoderByHandle(int32_t handle) {
  auto found = g_decoders.find(handle);
  return found != g_decoders.end() ? found->second.get() : nullptr;
}

uint64_t Pcm16Bytes(uint64_t frames, const WaveInfo& info) {
  return frames * info.format.channels * sizeof(int16_t);
}

}  // namespace

void FreeDecodingStreams() {
  for (const auto& entry : g_decoders) EndEncoder(entry.first);
  g_decoders.clear();
}

int32_t AddDecodingStream(std::unique_ptr<MediaFile> media) {
  auto decoder = std::make_unique<DecodingStream>();
  decoder->media = std::move(media);
  int32_t handle = g_nextDecoder;
  g_nextDecoder = g_nextDecoder >= 0x7FFFFFF0 ? 0x20001 : g_nextDecoder + 1;
  g_decoders[handle] = std::move(decoder);
  return handle;
}

bool DecodingStreamFormat(int32_t handle, uint32_t* rate, uint32_t* channels) {
  DecodingStream* decoder = DecoderByHandle(handle);
  if (decoder == nullptr) return false;
  *rate = decoder->media->info().format.sampleRate;
  *channels = decoder->media->info().format.channels;
  return true;
}

bool IsStreamHandle(int32_t handle) {
  return StreamByHandle(handle) != nullptr || DecoderByHandle(handle) != nullptr;
}

}  // namespace tonelink

namespace {

using orbtrace::CallLine;
using namespace tonelink;

CallLine Call(const char* function) { return CallLine(kTraceLibrary, function); }

const int32_t kNoLength = -1;

// What a handle names, with the lock held.
struct Target {
  CurrentStream* stream = nullptr;
  DecodingStream* decoder = nullptr;
};

// Runs `act` on the channel `handle` names (after "not loaded" and the
// arguments' error); `*result` stays `failure` unless `act` sets it.
template <typename Act>
ErrorCode RunOnChannel(int32_t handle, ErrorCode arguments, Act act, int32_t* result) {
  auto lock = LockState();
  ErrorCode code = LoadedOrError();
  if (code == kErrorNone) code = arguments;
  if (code != kErrorNone) return code;
  Target target{StreamByHandle(handle), DecoderByHandle(handle)};
  if (target.stream == nullptr && target.decoder == nullptr) return kErrorHandle;
  if (target.stream != nullptr) target.stream->VolumeAt(NowMs());
  return act(target, result);
}

// The same, ending the call with its result or `failure`.
template <typename Act>
int32_t OnChannel(const CallLine& call, int32_t handle, int32_t failure, ErrorCode arguments,
                  Act act) {
  int32_t result = failure;
  ErrorCode code = RunOnChannel(handle, arguments, act, &result);
  return Finish(call, code, result);
}

MediaFile& TargetMedia(const Target& target) {
  return target.stream != nullptr ? *target.stream->media : *target.decoder->media;
}

// Sets the attributes given (the "keep" values leave one as it is).
void ApplyAttributes(CurrentStream& stream, const ChannelAttributes& values, uint64_t nowMs) {
  if (values.frequency != kKeepFrequency) {
    uint32_t speed =
        values.frequency == 0 ? stream.rate() : static_cast<uint32_t>(values.frequency);
    stream.timeline.SetSpeed(speed, nowMs);
    stream.NoteChange();
  }
  if (values.volume != kKeepVolume) {
    stream.volume = values.volume;
    stream.isSliding = false;
    stream.stopAfterSlide = false;
  }
  if (values.panning != kKeepPanning) stream.panning = values.panning;
}

void ApplyAttributes(DecodingStream& decoder, const ChannelAttributes& values) {
  if (values.frequency != kKeepFrequency) decoder.attributes.frequency = values.frequency;
  if (values.volume >= 0) decoder.attributes.volume = values.volume;
  if (values.panning != kKeepPanning) decoder.attributes.panning = values.panning;
}

}  // namespace

TONELINK_API int32_t __stdcall BASSCHANNELPAUSE(int32_t channel) {
  return Guarded(0, [&] {
    return OnChannel(Call("BASSCHANNELPAUSE").Number(channel), channel, 0, kErrorNone,
                     [](Target& target, int32_t* result) {
                       if (target.stream == nullptr) return kErrorHandle;  // nothing plays it
                       HoldCurrentStream(kHoldChannel);
                       *result = 1;
                       return kErrorNone;
                     });
  });
}

TONELINK_API int32_t __stdcall BASSCHANNELRESUME(int32_t channel) {
  return Guarded(0, [&] {
    return OnChannel(Call("BASSCHANNELRESUME").Number(channel), channel, 0, kErrorNone,
                     [](Target& target, int32_t* result) {
                       if (target.stream == nullptr) return kErrorHandle;
                       ReleaseCurrentStream(kHoldChannel);
                       *result = 1;
                       return kErrorNone;
                     });
  });
}

TONELINK_API int32_t __stdcall BASSCHANNELSETATTRIBUTES(int32_t channel, int32_t frequency,
                                                        int32_t volume, int32_t panning) {
  return Guarded(0, [&] {
    ChannelAttributes values{frequency, volume, panning};
    return OnChannel(
        Call("BASSCHANNELSETATTRIBUTES")
            .Number(channel)
            .Number(frequency)
            .Number(volume)
            .Number(panning),
        channel, 0, CheckAttributes(values), [&](Target& target, int32_t* result) {
          if (target.stream != nullptr) ApplyAttributes(*target.stream, values, NowMs());
          if (target.decoder != nullptr) ApplyAttributes(*target.decoder, values);
          *result = 1;
          return kErrorNone;
        });
  });
}

TONELINK_API int32_t __stdcall BASSCHANNELSLIDEATTRIBUTES(int32_t channel, int32_t frequency,
                                                          int32_t volume, int32_t panning,
                                                          int32_t timeMs) {
  return Guarded(0, [&] {
    CallLine call = Call("BASSCHANNELSLIDEATTRIBUTES")
                        .Number(channel)
                        .Number(frequency)
                        .Number(volume)
                        .Number(panning)
                        .Number(timeMs);
    ErrorCode arguments = CheckSlide({frequency, volume, panning}, timeMs);
    if (channel == 0) {
      // Channel 0 is the current stream.
      auto lock = LockState();
      CurrentStream* stream = Current();
      channel = stream != nullptr ? stream->handle : 0;
      if (stream == nullptr && LoadedOrError() == kErrorNone && arguments == kErrorNone) {
        arguments = kErrorNoStream;
      }
    }
    return OnChannel(call, channel, 0, arguments, [&](Target& target, int32_t* result) {
      uint64_t now = NowMs();
      if (target.stream != nullptr) {
        CurrentStream& stream = *target.stream;
        // The volume slides; frequency and panning take their target at once.
        ApplyAttributes(stream, {frequency, kKeepVolume, panning}, now);
        if (volume != kKeepVolume) {
          int32_t to = volume == kFadeOutAndStop ? 0 : volume;
          stream.volumeSlide = Slide{stream.volume, to, now, static_cast<uint64_t>(timeMs)};
          stream.isSliding = true;
          stream.stopAfterSlide = volume == kFadeOutAndStop;
          stream.VolumeAt(now);
        }
      } else {
        ApplyAttributes(*target.decoder, {frequency, volume, panning});
      }
      *result = 1;
      return kErrorNone;
    });
  });
}

TONELINK_API int32_t __stdcall BASSCLOSECHANNEL(int32_t channel) {
  return Guarded(0, [&] {
    return OnChannel(Call("BASSCLOSECHANNEL").Number(channel), channel, 0, kErrorNone,
                     [&](Target& target, int32_t* result) {
                       if (target.stream != nullptr) CloseCurrentStream();
                       if (target.decoder != nullptr) {
                         EndEncoder(channel);
                         g_decoders.erase(channel);
                       }
                       *result = 1;
                       return kErrorNone;
                     });
  });
}

TONELINK_API int32_t __stdcall BASSSTREAMDECODEFILE(const char* path) {
  return Guarded(0, [&] {
    ErrorCode code;
    {
      auto lock = LockState();
      code = LoadedOrError();
    }
    std::unique_ptr<MediaFile> media;
    if (code == kErrorNone) code = OpenMediaFile(path, &media);
    int32_t handle = 0;
    if (code == kErrorNone) {
      auto lock = LockState();
      code = LoadedOrError();
      if (code == kErrorNone) handle = AddDecodingStream(std::move(media));
    }
    return Finish(Call("BASSSTREAMDECODEFILE").Text(path), code, handle);
  });
}

TONELINK_API int32_t __stdcall BASSSTREAMGETLENGTH(int32_t stream) {
  return Guarded(kNoLength, [&] {
    return OnChannel(Call("BASSSTREAMGETLENGTH").Number(stream), stream, kNoLength, kErrorNone,
                     [](Target& target, int32_t* result) {
                       MediaFile& media = TargetMedia(target);
                       *result = ClampToInt32(Pcm16Bytes(media.info().frameCount, media.info()));
                       return kErrorNone;
                     });
  });
}

TONELINK_API int32_t __stdcall BASSCHANNELGETINFO(int32_t channel, int32_t* frequency,
                                                  int32_t* channels, int32_t* flags) {
  return Guarded(0, [&] {
    int32_t result = 0;
    ErrorCode code = RunOnChannel(channel, kErrorNone, [&](Target& target, int32_t* out) {
      MediaFile& media = TargetMedia(target);
      const WaveFormat& format = media.info().format;
      // The data comes as 16-bit samples (flag bit 0 clear).
      if (frequency != nullptr) *frequency = static_cast<int32_t>(format.sampleRate);
      if (channels != nullptr) *channels = static_cast<int32_t>(format.channels);
      if (flags != nullptr) *flags = 0;
      *out = 1;
      return kErrorNone;
    }, &result);
    return Finish(Call("BASSCHANNELGETINFO")
                      .Number(channel)
                      .Raw(OutNumberArgument(frequency))
                      .Raw(OutNumberArgument(channels))
                      .Raw(OutNumberArgument(flags)),
                  code, result);
  });
}

TONELINK_API int32_t __stdcall BASSCHANNELGETATTRIBUTES(int32_t channel, int32_t* frequency,
                                                        int32_t* volume, int32_t* panning) {
  return Guarded(0, [&] {
    int32_t result = 0;
    ErrorCode code = RunOnChannel(channel, kErrorNone, [&](Target& target, int32_t* out) {
      ChannelAttributes values;
      if (target.stream != nullptr) {
        values = {static_cast<int32_t>(target.stream->timeline.Speed()), target.stream->volume,
                  target.stream->panning};
      } else {
        values = target.decoder->attributes;
        if (values.frequency == 0) {
          values.frequency = static_cast<int32_t>(target.decoder->media->info().format.sampleRate);
        }
      }
      if (frequency != nullptr) *frequency = values.frequency;
      if (volume != nullptr) *volume = values.volume;
      if (panning != nullptr) *panning = values.panning;
      *out = 1;
      return kErrorNone;
    }, &result);
    return Finish(Call("BASSCHANNELGETATTRIBUTES")
                      .Number(channel)
                      .Raw(OutNumberArgument(frequency))
                      .Raw(OutNumberArgument(volume))
                      .Raw(OutNumberArgument(panning)),
                  code, result);
  });
}

TONELINK_API int32_t __stdcall BASSUSECHANNELISACTIVE(int32_t channel) {
  return Guarded(0, [&] {
    return OnChannel(Call("BASSUSECHANNELISACTIVE").Number(channel), channel, 0, kErrorNone,
                     [](Target& target, int32_t* result) {
                       if (target.stream != nullptr) {
                         *result = target.stream->timeline.IsAdvancing(NowMs()) ? 1 : 0;
                       } else {
                         DecodingStream& d = *target.decoder;
                         *result = !d.isStopped && d.nextFrame < d.media->info().frameCount ? 1 : 0;
                       }
                       return kErrorNone;
                     });
  });
}

TONELINK_API int32_t __stdcall BASSCHANNELGETDATA(int32_t channel, void* buffer, int32_t length) {
  return Guarded(0, [&] {
    ErrorCode arguments =
        length < 0 || (buffer == nullptr && length > 0) ? kErrorIllegalParameter : kErrorNone;
    return OnChannel(
        Call("BASSCHANNELGETDATA").Number(channel).Raw(PointerArgument(buffer)).Number(length),
        channel, 0, arguments, [&](Target& target, int32_t* result) {
          // Only a decoding stream gives its data to the caller.
          if (target.decoder == nullptr) return kErrorHandle;
          DecodingStream& d = *target.decoder;
          uint32_t frameBytes = d.media->info().format.channels * sizeof(int16_t);
          uint64_t wanted = static_cast<uint64_t>(length) / frameBytes;
          if (length > 0 && wanted == 0) return kErrorIllegalParameter;
          if (d.isStopped) wanted = 0;
          std::vector<int16_t> samples = d.media->ReadPcm16(d.nextFrame, wanted);
          size_t bytes = samples.size() * sizeof(int16_t);
          if (bytes > 0) std::memcpy(buffer, samples.data(), bytes);
          d.nextFrame += bytes / frameBytes;
          if (bytes > 0) FeedEncoder(channel, samples.data(), bytes);
          *result = static_cast<int32_t>(bytes);  // 0 at the end, with no error
          return kErrorNone;
        });
  });
}

TONELINK_API int32_t __stdcall BASSUSECHANNELGETPOSITION(int32_t channel) {
  return Guarded(kNoLength, [&] {
    return OnChannel(Call("BASSUSECHANNELGETPOSITION").Number(channel), channel, kNoLength,
                     kErrorNone, [](Target& target, int32_t* result) {
                       uint64_t frames = target.stream
                                             ? target.stream->timeline.PositionFrames(NowMs())
                                             : target.decoder->nextFrame;
                       MediaFile& media = TargetMedia(target);
                       *result = ClampToInt32(Pcm16Bytes(frames, media.info()));
                       return kErrorNone;
                     });
  });
}

TONELINK_API int32_t __stdcall BASSCHANNELSTOP(int32_t channel) {
  return Guarded(0, [&] {
    return OnChannel(Call("BASSCHANNELSTOP").Number(channel), channel, 0, kErrorNone,
                     [](Target& target, int32_t* result) {
                       if (target.stream != nullptr) {
                         target.stream->timeline.Stop(NowMs());
                         target.stream->NoteChange();
                       } else {
                         target.decoder->isStopped = true;
                       }
                       *result = 1;
                       return kErrorNone;
                     });
  });
}

TONELINK_API int32_t __stdcall BASSSTREAMFREE(int32_t stream) {
  return Guarded(0, [&] {
    return OnChannel(Call("BASSSTREAMFREE").Number(stream), stream, 0, kErrorNone,
                     [&](Target& target, int32_t* result) {
                       if (target.stream != nullptr) CloseCurrentStream();
                       if (target.decoder != nullptr) {
                         EndEncoder(stream);
                         g_decoders.erase(stream);
                       }
                       *result = 1;
                       return kErrorNone;
                     });
  });
}
