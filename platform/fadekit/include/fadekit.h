// fadekit.dll, the transition library: fades a picture in over what a
// device context shows.  Callers load it by name and look skEffect up; it
// is stdcall and exported undecorated.
#pragma once

#include <windows.h>

#include <cstdint>

#ifdef FADEKIT_BUILDING
#define FADEKIT_API extern "C"
#else
#define FADEKIT_API extern "C" __declspec(dllimport)
#endif

// Called between the steps of a fade with the part done in percent; any
// result other than 1 ends the fade at once.
typedef int32_t(__cdecl* FadeStatusCallback)(int32_t percentComplete, void* userData);

// Fades `picture` (a device-dependent bitmap, drawn stretched into x, y,
// width, height) in over what `dc` shows there, in `steps` steps (at least
// 1, at most 256) spread over `durationMs`.  `kind` chooses the fade: an
// odd number goes through black (the old picture fades out, then the new
// one in), any other a cross-fade (-1, the simplest, too).  `userData` is
// handed to the callback.  1 when the new picture is shown complete, the
// callback's result when it ended the fade, 0 for bad arguments (nothing
// drawn).
typedef int32_t(__stdcall* SkEffectFunction)(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height,
                                              HBITMAP picture, void* userData, FadeStatusCallback callback,
                                              int32_t steps, int32_t durationMs, int32_t kind);
FADEKIT_API int32_t __stdcall skEffect(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height,
                                       HBITMAP picture, void* userData, FadeStatusCallback callback,
                                       int32_t steps, int32_t durationMs, int32_t kind);
