// The effects panel's calls.  The panel tells the library its window
// (BASSFXWINDOW) and, when a control changes, which effect to update; the
// library reads the control's state from the panel itself and applies it to
// the current stream.  With no stream open there is nothing to apply the
// effect to: the update fails with "no stream is open", and the panel's
// settings are read again when a stream starts.  This library has no effect
// processing yet: with a stream open an update fails with "not available".
#include <windows.h>

#include "library_state.h"
#include "stream.h"
#include "tonelink.h"

namespace {

using orbtrace::CallLine;
using namespace tonelink;

CallLine Call(const char* function) { return CallLine(kTraceLibrary, function); }

// The panel's equalizer track bars have the ids 1 to 10.
const int32_t kFirstBand = 1;
const int32_t kLastBand = 10;

// The error of an update of the current stream's effects (`stream` must be
// 0, the current stream).
ErrorCode UpdateError(int32_t stream, ErrorCode argumentsError = kErrorNone) {
  auto lock = LockState();
  ErrorCode code = LoadedOrError();
  if (code != kErrorNone) return code;
  if (stream != 0) return kErrorHandle;
  if (argumentsError != kErrorNone) return argumentsError;
  return Current() != nullptr ? kErrorNotAvailable : NoStreamError();
}

int32_t Update(const char* function, int32_t stream) {
  return Guarded(0, [&] { return Finish(Call(function).Number(stream), UpdateError(stream), 0); });
}

}  // namespace

TONELINK_API int32_t __stdcall BASSFXWINDOW(HWND panel, int32_t flags) {
  return Guarded(0, [&] {
    ErrorCode code = kErrorNone;
    if (panel != nullptr && !IsWindow(panel)) code = kErrorIllegalParameter;
    if (code == kErrorNone) {
      auto lock = LockState();
      State().effectsPanel = panel;
    }
    return Finish(Call("BASSFXWINDOW").Raw(WindowArgument(panel)).Number(flags), code,
                  code == kErrorNone ? 1 : 0);
  });
}

TONELINK_API int32_t __stdcall BASSUPDATEEQ(int32_t stream, int32_t band) {
  return Guarded(0, [&] {
    ErrorCode arguments =
        band < kFirstBand || band > kLastBand ? kErrorIllegalParameter : kErrorNone;
    return Finish(Call("BASSUPDATEEQ").Number(stream).Number(band), UpdateError(stream, arguments),
                  0);
  });
}

TONELINK_API int32_t __stdcall BASSRESETEQ(int32_t stream) { return Update("BASSRESETEQ", stream); }

TONELINK_API int32_t __stdcall BASSUPDATEREVERB(int32_t stream) {
  return Update("BASSUPDATEREVERB", stream);
}

TONELINK_API int32_t __stdcall BASSUPDATECHORUS(int32_t stream) {
  return Update("BASSUPDATECHORUS", stream);
}

TONELINK_API int32_t __stdcall BASSUPDATEFLANGER(int32_t stream) {
  return Update("BASSUPDATEFLANGER", stream);
}

TONELINK_API int32_t __stdcall BASSUPDATEECHO(int32_t stream) {
  return Update("BASSUPDATEECHO", stream);
}

TONELINK_API int32_t __stdcall BASSUPDATEROTATE(int32_t stream) {
  return Update("BASSUPDATEROTATE", stream);
}
