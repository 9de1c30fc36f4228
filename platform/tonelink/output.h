// The output device: BASSINIT's choice between a wave-out device and the
// null device, and its clock.  The null device plays nothing and keeps real
// time, so a program on a machine without a sound card (Wine here:
// waveOutGetNumDevs is 0) sees its streams advance and end as with one.
// Every function here is called with the state lock held.
#pragma once

#include <windows.h>

#include <cstdint>

#include "error_codes.h"

namespace tonelink {

// Initialises the output (see BASSINIT for the device numbers).  Leaves the
// state unchanged on failure.
ErrorCode InitialiseOutput(int32_t device, int32_t frequency, HWND window);

// Frees the output and closes the current stream; kErrorNotInitialised
// when there was none.
ErrorCode FreeOutput();

// BASSSTART, BASSPAUSE, BASSSTOP on the output clock and the current
// stream (which holds while the output does); kErrorNotInitialised without
// an output.
ErrorCode StartOutput();
ErrorCode PauseOutput();
ErrorCode StopOutput();

}  // namespace tonelink
