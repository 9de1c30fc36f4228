// The output device and its clock; see output.h.  Which device a number
// selects is decided in core/library_settings; this file asks Windows how
// many wave-out devices there are and whether the chosen one takes the
// format.
#include "output.h"

#include <windows.h>
// mmsystem.h needs windows.h first.
#include <mmsystem.h>

#include "library_settings.h"
#include "library_state.h"
#include "stream.h"

namespace tonelink {

namespace {

// True when wave-out device `id` accepts 16-bit stereo PCM at `frequency`.
// WAVE_FORMAT_QUERY opens nothing.
bool AcceptsFormat(uint32_t id, int32_t frequency) {
  WAVEFORMATEX format = {};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = static_cast<DWORD>(frequency);
  format.wBitsPerSample = 16;
  format.nBlockAlign = 4;
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  return waveOutOpen(nullptr, id, &format, 0, 0, WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR;
}

}  // namespace

ErrorCode InitialiseOutput(int32_t device, int32_t frequency, HWND window) {
  OutputState& output = State().output;
  if (output.isInitialised) return kErrorAlreadyInitialised;
  if (!IsValidOutputFrequency(frequency)) return kErrorIllegalParameter;
  OutputChoice choice;
  ErrorCode code = ResolveOutputDevice(device, waveOutGetNumDevs(), &choice);
  if (code != kErrorNone) return code;
  if (!choice.isNullDevice && !AcceptsFormat(choice.waveOutId, frequency)) {
    if (!choice.mayFallBack) return kErrorDevice;
    choice.isNullDevice = true;
  }
  output.isInitialised = true;
  output.isNullDevice = choice.isNullDevice;
  output.waveOutId = choice.waveOutId;
  output.frequency = frequency;
  output.window = window;
  output.clock = OutputClock(NowMs());
  return kErrorNone;
}

ErrorCode FreeOutput() {
  OutputState& output = State().output;
  if (!output.isInitialised) return kErrorNotInitialised;
  CloseCurrentStream();
  FreeDecodingStreams();
  output = OutputState{};
  return kErrorNone;
}

ErrorCode StartOutput() {
  OutputState& output = State().output;
  if (!output.isInitialised) return kErrorNotInitialised;
  output.clock.Start(NowMs());
  ReleaseCurrentStream(kHoldOutput);
  return kErrorNone;
}

ErrorCode PauseOutput() {
  OutputState& output = State().output;
  if (!output.isInitialised) return kErrorNotInitialised;
  output.clock.Pause(NowMs());
  HoldCurrentStream(kHoldOutput);
  return kErrorNone;
}

ErrorCode StopOutput() {
  OutputState& output = State().output;
  if (!output.isInitialised) return kErrorNotInitialised;
  output.clock.Stop(NowMs());
  HoldCurrentStream(kHoldOutput);
  return kErrorNone;
}

}  // namespace tonelink
