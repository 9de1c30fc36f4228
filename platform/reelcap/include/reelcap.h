// The window recorder's exported functions (reelcap.dll), as the media
// player loads them (LoadLibraryA, GetProcAddress): a window's client area
// recorded to an AVI file through the system's AVIFile functions.  All four
// are stdcall, exported undecorated, and answer 0 on success.
//
// While it records, the recorder posts to the owner window: 0x7EA with the
// frame number after each frame written, 0x7ED after a frame written again
// to keep the rate when capturing fell behind, and 0x7EC with the seconds
// recorded after each whole second.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <vfw.h>

#ifdef REELCAP_BUILDING
#define REELCAP_API extern "C"
#else
#define REELCAP_API extern "C" __declspec(dllimport)
#endif

// Errors (besides 0).
#define REELCAP_ERROR_ARGUMENT 1  // a null or unusable argument, or an unknown handle
#define REELCAP_ERROR_FILE 2      // the AVI file or its stream could not be made, or the
                                  // capture ended early (window gone, frame not written)
#define REELCAP_ERROR_STATE 3     // started twice, the capture thread could not start or
                                  // stop, or all 16 recordings are open

// Opens `file` (created or replaced) for a recording at `framesPerSecond`
// (1-60) of frames as `video` describes them: 24 bits, BI_RGB, its width
// and height (each 1-8192); rows are padded to four bytes, whatever
// biSizeImage says.  `options` names a compressor; when the system has
// none for it the frames are stored uncompressed.  `audio` is taken as
// given, but this recorder writes no sound (it has no device to take it
// from).  `*recording` receives the recording's handle (0 on failure).
REELCAP_API int WINAPI rvWndToAviInit(int* recording, HWND owner, const char* file, int framesPerSecond,
                                      int reserved, BITMAPINFOHEADER* video, WAVEFORMATEX* audio,
                                      AVICOMPRESSOPTIONS* options, int reserved2);
// Starts capturing `window`'s client area on a thread of the recorder.
REELCAP_API int WINAPI rvWndToAviStart(int recording, HWND window);
// Stops capturing (waits for the thread, at most 5 seconds).  Answers
// REELCAP_ERROR_FILE when the capture had ended early, so the file is short.
REELCAP_API int WINAPI rvWndToAviStop(int recording);
// Stops if needed, closes the file and forgets the handle; answers what
// stopping answered (the file is closed after REELCAP_ERROR_FILE too).
REELCAP_API int WINAPI rvWndToAviEnd(int recording);
