// The effects panel's calls.  The panel tells the library its window
// (BASSFXWINDOW) and, when a control changes, which effect to update; the
// library reads the controls' states from the panel itself (track bars 1-10
// by TBM_GETPOS, check boxes 11-17 by BM_GETCHECK) and applies them to the
// sound it plays (core/audio_effects).  The settings are read whole when
// the panel arrives and when a stream opens; the panel going takes the
// effects with it.
//
// With no stream open an update still takes the control's state, but fails
// with "no stream is open": there is nothing it changes yet.
#include <windows.h>
#include <commctrl.h>

#include "library_state.h"
#include "stream.h"
#include "tonelink.h"

namespace tonelink {

namespace {

using orbtrace::CallLine;

CallLine Call(const char* function) { return CallLine(kTraceLibrary, function); }

// The panel's control ids.
const int32_t kFirstBand = 1;
const int32_t kLastBand = 10;
const int kOnOffBox = 11;
const int kReverbBox = 13;
const int kChorusBox = 14;
const int kFlangerBox = 15;
const int kEchoBox = 16;
const int kRotateBox = 17;

enum class Control { kBand, kOnOff, kReverb, kChorus, kFlanger, kEcho, kRotate };

bool IsTicked(HWND panel, int id) {
  HWND box = GetDlgItem(panel, id);
  return box != nullptr && SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int32_t BandPosition(HWND panel, int32_t band, int32_t kept) {
  HWND bar = GetDlgItem(panel, band);
  return bar != nullptr ? static_cast<int32_t>(SendMessageA(bar, TBM_GETPOS, 0, 0)) : kept;
}

// The control's state as the panel shows it now; the rest as it was.  Read
// without the state lock: the panel answers on the caller's thread.
EffectSettings ReadControl(HWND panel, EffectSettings settings, Control control, int32_t band) {
  if (panel == nullptr || !IsWindow(panel)) return settings;
  switch (control) {
    case Control::kBand:
      settings.bands[band - 1] = BandPosition(panel, band, settings.bands[band - 1]);
      settings.equalizerOn = IsTicked(panel, kOnOffBox);
      break;
    case Control::kOnOff:
      settings.equalizerOn = IsTicked(panel, kOnOffBox);
      break;
    case Control::kReverb:
      settings.reverb = IsTicked(panel, kReverbBox);
      break;
    case Control::kChorus:
      settings.chorus = IsTicked(panel, kChorusBox);
      break;
    case Control::kFlanger:
      settings.flanger = IsTicked(panel, kFlangerBox);
      break;
    case Control::kEcho:
      settings.echo = IsTicked(panel, kEchoBox);
      break;
    case Control::kRotate:
      settings.rotate = IsTicked(panel, kRotateBox);
      break;
  }
  return settings;
}

void Apply(const EffectSettings& settings) {
  LibraryState& state = State();
  if (state.effects == settings) return;
  state.effects = settings;
  ++state.effectsVersion;
  if (CurrentStream* stream = Current()) stream->NoteChange();
}

HWND Panel() {
  auto lock = LockState();
  return State().effectsPanel;
}

EffectSettings Effects() {
  auto lock = LockState();
  return State().effects;
}

// The error of an update of the current stream's effects (`stream` must be
// 0, the current stream).  Lock held.
ErrorCode UpdateError(int32_t stream, ErrorCode argumentsError = kErrorNone) {
  ErrorCode code = LoadedOrError();
  if (code != kErrorNone) return code;
  if (stream != 0) return kErrorHandle;
  if (argumentsError != kErrorNone) return argumentsError;
  return Current() != nullptr ? kErrorNone : NoStreamError();
}

int32_t Update(const char* function, int32_t stream, Control control, int32_t band = 0) {
  return Guarded(0, [&] {
    const EffectSettings read = ReadControl(Panel(), Effects(), control, band);
    ErrorCode code;
    {
      auto lock = LockState();
      code = UpdateError(stream);
      if (code == kErrorNone || code == kErrorNoStream) Apply(read);
    }
    CallLine call = Call(function).Number(stream);
    if (control == Control::kBand) call.Number(band);
    return Finish(call, code, code == kErrorNone ? 1 : 0);
  });
}

// Every control of the panel; the settings of no panel are neutral.
EffectSettings ReadPanelSettings(HWND panel) {
  EffectSettings settings;
  if (panel == nullptr || !IsWindow(panel)) return settings;
  for (int32_t band = kFirstBand; band <= kLastBand; ++band) {
    settings = ReadControl(panel, settings, Control::kBand, band);
  }
  for (Control control : {Control::kReverb, Control::kChorus, Control::kFlanger, Control::kEcho, Control::kRotate}) {
    settings = ReadControl(panel, settings, control, 0);
  }
  return settings;
}

}  // namespace

}  // namespace tonelink

using namespace tonelink;

TONELINK_API int32_t __stdcall BASSFXWINDOW(HWND panel, int32_t flags) {
  return Guarded(0, [&] {
    ErrorCode code = kErrorNone;
    if (panel != nullptr && !IsWindow(panel)) code = kErrorIllegalParameter;
    if (code == kErrorNone) {
      const EffectSettings settings = ReadPanelSettings(panel);
      auto lock = LockState();
      State().effectsPanel = panel;
      Apply(settings);
    }
    return Finish(Call("BASSFXWINDOW").Raw(WindowArgument(panel)).Number(flags), code,
                  code == kErrorNone ? 1 : 0);
  });
}

TONELINK_API int32_t __stdcall BASSUPDATEEQ(int32_t stream, int32_t band) {
  if (band >= kFirstBand && band <= kLastBand) {
    return Update("BASSUPDATEEQ", stream, Control::kBand, band);
  }
  return Guarded(0, [&] {
    ErrorCode code;
    {
      auto lock = LockState();
      code = UpdateError(stream, kErrorIllegalParameter);
    }
    return Finish(Call("BASSUPDATEEQ").Number(stream).Number(band), code, 0);
  });
}

// Every band back to flat and the equalizer off: the panel's bars are put
// back in the middle, and the panel unticks its On/Off box itself.
TONELINK_API int32_t __stdcall BASSRESETEQ(int32_t stream) {
  return Guarded(0, [&] {
    HWND panel = Panel();
    if (panel != nullptr && IsWindow(panel)) {
      for (int32_t band = kFirstBand; band <= kLastBand; ++band) {
        HWND bar = GetDlgItem(panel, band);
        if (bar != nullptr) SendMessageA(bar, TBM_SETPOS, TRUE, kFlatPosition);
      }
    }
    ErrorCode code;
    {
      auto lock = LockState();
      code = UpdateError(stream);
      if (code == kErrorNone || code == kErrorNoStream) {
        EffectSettings settings = State().effects;
        settings.bands.fill(kFlatPosition);
        settings.equalizerOn = false;
        Apply(settings);
      }
    }
    return Finish(Call("BASSRESETEQ").Number(stream), code, code == kErrorNone ? 1 : 0);
  });
}

TONELINK_API int32_t __stdcall BASSUPDATEREVERB(int32_t stream) {
  return Update("BASSUPDATEREVERB", stream, Control::kReverb);
}

TONELINK_API int32_t __stdcall BASSUPDATECHORUS(int32_t stream) {
  return Update("BASSUPDATECHORUS", stream, Control::kChorus);
}

TONELINK_API int32_t __stdcall BASSUPDATEFLANGER(int32_t stream) {
  return Update("BASSUPDATEFLANGER", stream, Control::kFlanger);
}

TONELINK_API int32_t __stdcall BASSUPDATEECHO(int32_t stream) {
  return Update("BASSUPDATEECHO", stream, Control::kEcho);
}

TONELINK_API int32_t __stdcall BASSUPDATEROTATE(int32_t stream) {
  return Update("BASSUPDATEROTATE", stream, Control::kRotate);
}
