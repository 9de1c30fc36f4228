// The library's state shared by its parts: whether it is loaded, the output,
// the configuration values, the wrapper's own settings, and the last error.
// library.cpp and output.cpp change the library-wide parts; stream.cpp,
// channels.cpp, cd_encode.cpp and effects.cpp read them.  Also the helpers
// every export ends with: set the last error, write the trace line.
#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>

#include "audio_effects.h"
#include "error_codes.h"
#include "library_settings.h"
#include "output_clock.h"
#include "trace_writer.h"

namespace tonelink {

// The name every trace line of this library carries.
inline constexpr char kTraceLibrary[] = "tonelink";

struct OutputState {
  bool isInitialised = false;
  bool isNullDevice = true;
  uint32_t waveOutId = 0;  // when !isNullDevice
  int32_t frequency = 0;
  HWND window = nullptr;  // the window BASSINIT was given
  OutputClock clock;
};

struct LibraryState {
  // Loaded from the start: the programs call BASSAVAILABLE, not BASSLOAD,
  // when they start.
  bool isLoaded = true;
  LibraryConfig config;
  OutputState output;
  // The wrapper's own settings, kept across BASSUNLOAD and BASSLOAD.
  std::string downloadFolder;
  HWND effectsPanel = nullptr;
  // What the panel's controls said when they were last read; the version
  // counts the changes, so the wave-out feeder knows when to rebuild its
  // effects chain.
  EffectSettings effects;
  uint32_t effectsVersion = 0;
};

// The state, guarded by one lock that an export holds for its whole call
// (a program may call from its timer and its thread alike).
std::unique_lock<std::mutex> LockState();
// The lock when it is free at once (owns_lock() false otherwise): for the
// wave-out feeder thread, which must never wait for it.
std::unique_lock<std::mutex> TryLockState();
LibraryState& State();  // only with the lock held

// Milliseconds of a monotonic clock (the performance counter).
uint64_t NowMs();

// The library's last error: one for the whole process.
void SetErrorCode(int32_t code);
int32_t LastErrorCode();

// kErrorNotLoaded after BASSUNLOAD, else kErrorNone.  Lock held.
ErrorCode LoadedOrError();

// The error of a call on the handle of a stream, channel or encoder whose
// other arguments gave `argumentsError`: "not loaded" first, then the
// arguments, then the handle.  For the calls on handles this library never
// gives (CD streams, encoders).  Takes the lock.
ErrorCode HandleCallError(ErrorCode argumentsError = kErrorNone);

// Ends a call: records `code` as the last error (kErrorNone on success),
// traces the call with its result and returns the result.
int32_t Finish(const orbtrace::CallLine& call, ErrorCode code, int32_t result);
uint32_t FinishUnsigned(const orbtrace::CallLine& call, ErrorCode code, uint32_t result);

// Trace arguments that are no plain number or text: a window as its handle
// value in decimal, a data pointer as "buffer" or NULL, an integer output as
// out:value (out:NULL when the caller gave no pointer).
std::string WindowArgument(HWND window);
std::string PointerArgument(const void* pointer);
std::string OutNumberArgument(const int32_t* value);

// Runs an export's body.  No exception crosses an export: one thrown (only
// an allocation can throw) ends the call with `failure` and kErrorMemory.
template <typename Result, typename Body>
Result Guarded(Result failure, Body body) {
  try {
    return body();
  } catch (...) {
    SetErrorCode(kErrorMemory);
    return failure;
  }
}

}  // namespace tonelink
