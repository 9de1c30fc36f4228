// Ripping CD tracks and converting audio files: the progress window and the
// workers that copy one item (audio_copy.cpp).  Every worker returns 0 when
// the item is done, 1067 when Escape cancelled it, a file error (Windows
// error number) of the WAV writers or the audio library's error code.
// `bar` is the progress bar that follows the item, or null.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace browser {

// The wait window's look with a progress bar (0-100) below the text; the
// bar comes back through `bar`.  Null when the window cannot be made.
HWND ShowProgressWindow(HWND owner, const std::string& text, HWND* bar);

// CD track `track` (from 0) of CD drive `drive` (from 0).
int32_t RipCdToWav(int32_t drive, int32_t track, const std::string& target, HWND bar);
int32_t RipCdToWma(int32_t drive, int32_t track, const std::string& target, HWND bar);
int32_t RipCdToEncoder(int32_t drive, int32_t track, const std::string& commandLine, HWND bar);
int32_t ConvertToWav(const std::string& source, const std::string& target, HWND bar);
int32_t ConvertToWma(const std::string& source, const std::string& target, HWND bar);
int32_t ConvertWithEncoder(const std::string& source, const std::string& commandLine, HWND bar);

}  // namespace browser
