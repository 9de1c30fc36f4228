// The side files of a picture: companions beside it with the same name and
// another extension, which the picture view reads when it shows the
// picture.
//
//   "kwd"  keywords shown in the status line
//   "wav"  a sound played while the picture shows
//   "doc"  a document opened in the help viewer meanwhile
//   "sfx"  the transition list for the picture
//   "tim"  its display time in milliseconds (module mode only)
//
// The overlay sidecar (".obf") has its own naming and reader in the overlay
// renderer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/player_files.h"

namespace player {

// Side files are read up to this size; keywords and transition lists are
// a line or two.
constexpr size_t MAX_SIDE_FILE_BYTES = 64 * 1024;
// A "tim" time below this is taken as a mistake...
constexpr int32_t MIN_SIDE_DISPLAY_MS = 1000;
// ...and replaced by this.
constexpr int32_t FALLBACK_SIDE_DISPLAY_MS = 4000;

// The side file of `picture` with `extension` ("kwd", no dot): the picture
// path up to and with the last "." of its file name, then the extension.
// "" when the file name has no ".".
std::string SideFileName(const std::string& picture, const std::string& extension);

struct PictureSideFiles {
  std::string keywords;      // "kwd": the text before any zero byte, trimmed
  std::string soundPath;     // "wav": the side file's path when it exists
  std::string documentPath;  // "doc": likewise
  std::string transitions;   // "sfx": the whole file as it is
  // Module mode only: the "tim" number, or the module's display time when
  // there is no such file; below MIN_SIDE_DISPLAY_MS it becomes
  // FALLBACK_SIDE_DISPLAY_MS.  0 outside module mode.
  int32_t displayTimeMs = 0;
};

// Reads the side files of `picture`.  Missing or unreadable side files give
// empty values.
PictureSideFiles ReadSideFiles(const std::string& picture, const PlayerFiles& files, bool moduleMode,
                               int32_t moduleDisplayTimeMs);

}  // namespace player
