// Channels and decoding streams by handle: pause, resume, attributes,
// closing, and the decoding streams the media browser converts from
// (BASSSTREAMDECODEFILE, BASSCHANNELGETDATA and their queries).
//
// A handle is valid only when the library gave it.  This library decodes no
// audio format, so it gives none: the current stream never opens and
// BASSSTREAMDECODEFILE reports why a file fails.  Every call on a handle
// checks its arguments first and then fails with "handle not valid", with the
// failure value the programs expect (0, or -1 for lengths and positions).
#include <windows.h>

#include "channel_attributes.h"
#include "library_state.h"
#include "stream.h"
#include "tonelink.h"

namespace {

using orbtrace::CallLine;
using namespace tonelink;

CallLine Call(const char* function) { return CallLine(kTraceLibrary, function); }

int32_t FailOnHandle(const CallLine& call, int32_t failure, ErrorCode argumentsError = kErrorNone) {
  return Finish(call, HandleCallError(argumentsError), failure);
}

const int32_t kNoLength = -1;

}  // namespace

TONELINK_API int32_t __stdcall BASSCHANNELPAUSE(int32_t channel) {
  return Guarded(0, [&] { return FailOnHandle(Call("BASSCHANNELPAUSE").Number(channel), 0); });
}

TONELINK_API int32_t __stdcall BASSCHANNELRESUME(int32_t channel) {
  return Guarded(0, [&] { return FailOnHandle(Call("BASSCHANNELRESUME").Number(channel), 0); });
}

TONELINK_API int32_t __stdcall BASSCHANNELSETATTRIBUTES(int32_t channel, int32_t frequency,
                                                        int32_t volume, int32_t panning) {
  return Guarded(0, [&] {
    ErrorCode arguments = CheckAttributes({frequency, volume, panning});
    return FailOnHandle(Call("BASSCHANNELSETATTRIBUTES")
                            .Number(channel)
                            .Number(frequency)
                            .Number(volume)
                            .Number(panning),
                        0, arguments);
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
    if (channel != 0) return FailOnHandle(call, 0, arguments);
    // Channel 0 is the current stream, of which there is none.
    ErrorCode code;
    {
      auto lock = LockState();
      code = LoadedOrError();
      if (code == kErrorNone) code = arguments != kErrorNone ? arguments : NoStreamError();
    }
    return Finish(call, code, 0);
  });
}

TONELINK_API int32_t __stdcall BASSCLOSECHANNEL(int32_t channel) {
  return Guarded(0, [&] { return FailOnHandle(Call("BASSCLOSECHANNEL").Number(channel), 0); });
}

TONELINK_API int32_t __stdcall BASSSTREAMDECODEFILE(const char* path) {
  return Guarded(0, [&] {
    ErrorCode code;
    {
      auto lock = LockState();
      code = LoadedOrError();
    }
    if (code == kErrorNone) code = ProbeMediaFile(path);
    return Finish(Call("BASSSTREAMDECODEFILE").Text(path), code, 0);
  });
}

TONELINK_API int32_t __stdcall BASSSTREAMGETLENGTH(int32_t stream) {
  return Guarded(kNoLength, [&] {
    return FailOnHandle(Call("BASSSTREAMGETLENGTH").Number(stream), kNoLength);
  });
}

TONELINK_API int32_t __stdcall BASSCHANNELGETINFO(int32_t channel, int32_t* frequency,
                                                  int32_t* channels, int32_t* flags) {
  return Guarded(0, [&] {
    ErrorCode code = HandleCallError();
    return Finish(Call("BASSCHANNELGETINFO")
                      .Number(channel)
                      .Raw(OutNumberArgument(frequency))
                      .Raw(OutNumberArgument(channels))
                      .Raw(OutNumberArgument(flags)),
                  code, 0);
  });
}

TONELINK_API int32_t __stdcall BASSCHANNELGETATTRIBUTES(int32_t channel, int32_t* frequency,
                                                        int32_t* volume, int32_t* panning) {
  return Guarded(0, [&] {
    ErrorCode code = HandleCallError();
    return Finish(Call("BASSCHANNELGETATTRIBUTES")
                      .Number(channel)
                      .Raw(OutNumberArgument(frequency))
                      .Raw(OutNumberArgument(volume))
                      .Raw(OutNumberArgument(panning)),
                  code, 0);
  });
}

TONELINK_API int32_t __stdcall BASSUSECHANNELISACTIVE(int32_t channel) {
  return Guarded(0,
                 [&] { return FailOnHandle(Call("BASSUSECHANNELISACTIVE").Number(channel), 0); });
}

TONELINK_API int32_t __stdcall BASSCHANNELGETDATA(int32_t channel, void* buffer, int32_t length) {
  return Guarded(0, [&] {
    ErrorCode arguments =
        length < 0 || (buffer == nullptr && length > 0) ? kErrorIllegalParameter : kErrorNone;
    return FailOnHandle(
        Call("BASSCHANNELGETDATA").Number(channel).Raw(PointerArgument(buffer)).Number(length), 0,
        arguments);
  });
}

TONELINK_API int32_t __stdcall BASSUSECHANNELGETPOSITION(int32_t channel) {
  return Guarded(kNoLength, [&] {
    return FailOnHandle(Call("BASSUSECHANNELGETPOSITION").Number(channel), kNoLength);
  });
}

TONELINK_API int32_t __stdcall BASSCHANNELSTOP(int32_t channel) {
  return Guarded(0, [&] { return FailOnHandle(Call("BASSCHANNELSTOP").Number(channel), 0); });
}

TONELINK_API int32_t __stdcall BASSSTREAMFREE(int32_t stream) {
  return Guarded(0, [&] { return FailOnHandle(Call("BASSSTREAMFREE").Number(stream), 0); });
}
