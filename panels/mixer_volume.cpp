// The wave mixer's master volume: the volume control of mixer 0's
// speakers line, read and written on the panels' 0..100 scale
// (core/panel_rules).  Without a sound device there is no mixer: reads
// give -1 and writes 0, and nothing else changes.
#include <windows.h>
#include <mmsystem.h>

#include "core/panel_rules.h"
#include "panels.h"
#include "trace_writer.h"

namespace panels {

// The mixer checks cbmxctrl against its own structure's size and rejects
// any other with MMSYSERR_INVALPARAM; the record has no pointer in it, so
// the size is the same for 32 and 64-bit callers.
static_assert(sizeof(MIXERCONTROLA) == 148, "MIXERCONTROLA as the mixer API defines it");

bool FindVolumeControl(HMIXER mixer, MIXERCONTROLA* control) {
  if (mixer == nullptr || control == nullptr) return false;
  MIXERLINEA line = {};
  line.cbStruct = sizeof(line);
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &line,
                        MIXER_GETLINEINFOF_COMPONENTTYPE | MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) {
    return false;
  }
  *control = MIXERCONTROLA{};
  control->cbStruct = sizeof(MIXERCONTROLA);
  MIXERLINECONTROLSA controls = {};
  controls.cbStruct = sizeof(controls);
  controls.dwLineID = line.dwLineID;
  controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof(MIXERCONTROLA);
  controls.pamxctrl = control;
  return mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer), &controls,
                               MIXER_GETLINECONTROLSF_ONEBYTYPE | MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR;
}

int32_t MixerGetVolume(HMIXER mixer) {
  MIXERCONTROLA control;
  if (!FindVolumeControl(mixer, &control)) return -1;
  MIXERCONTROLDETAILS_UNSIGNED value = {};
  MIXERCONTROLDETAILS details = {};
  details.cbStruct = sizeof(details);
  details.dwControlID = control.dwControlID;
  details.cChannels = 1;
  details.cbDetails = sizeof(value);
  details.paDetails = &value;
  if (mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                              MIXER_GETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) {
    return -1;
  }
  return VolumeFromMixerValue(value.dwValue);
}

int32_t MixerSetVolume(HMIXER mixer, int32_t volume) {
  int32_t result = 0;
  MIXERCONTROLA control;
  if (FindVolumeControl(mixer, &control)) {
    MIXERCONTROLDETAILS_UNSIGNED value = {};
    value.dwValue = MixerValueFromVolume(volume);
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof(details);
    details.dwControlID = control.dwControlID;
    details.cChannels = 1;
    details.cbDetails = sizeof(value);
    details.paDetails = &value;
    result = mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                                    MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR
                 ? 1
                 : 0;
  }
  orbtrace::WriteCall(orbtrace::CallLine("panels", "MixerSetVolume").Number(volume), result);
  return result;
}

}  // namespace panels
