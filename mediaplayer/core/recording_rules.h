// The window recording's small rules: the frame rate asked for, the AVI
// file's name and the status text of the recorder's counters.
#pragma once

#include <cstdint>
#include <string>

namespace player {

// The rate a recording runs at: the request held to 0-30, and 3 for one
// below 1.
int32_t RecordingFrameRate(int32_t requested);
// The program's file name with its extension replaced by "avi",
// lower-cased, without a folder ("ORBPLAY.EXE" -> "orbplay.avi").
std::string RecordingFileName(const std::string& exeName);
// Text entry 77 with "@" replaced by the first counter and "#" by the second.
std::string RecordingStatusText(const std::string& entry, int32_t frames, int32_t framesAgain);

}  // namespace player
