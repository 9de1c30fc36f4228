// The media player's slide-show file: a list of pictures with their display
// times and one settings line, which the player turns into its item list
// and into the commands it sends itself before the first picture shows.
//
// The file (its name ends with text entry 89) is read line by line, each
// line with its leading blanks removed and lower-cased:
//   "[settings]"     the settings text (the last such line wins)
//   "picture,ms"     a picture and its display time in milliseconds
// "@path@" stands for the slide-show file's own folder.
//
// Settings text, "|"-separated, fields from 1:
//   1 background sound list file     5 background sound volume (0-100)
//   2 0 = pictures advance on their own   6 sound check interval, ms
//   3 single pass                    7 default display time, ms
//   4 non-zero: option 407 on        8 black band behind the caption
//
// Nothing is sent from here: `PlanSlideShow` returns the commands, in the
// order the player sends them to its own main window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/player_files.h"
#include "core/player_list.h"

namespace player {

// Whether `path` is a slide-show file: its name ends with `suffix`
// (ASCII case ignored).  An empty suffix names none.
bool IsSlideShowFile(const std::string& path, const std::string& suffix);

// The folder the slide show's "@path@" stands for: the file's folder, or
// the program folder when the path has none.
std::string SlideShowFolderOf(const std::string& path, const std::string& programFolder);

struct SlideShowSettings {
  int32_t fieldCount = 0;        // fields present in the settings text
  std::string soundList;         // 1
  int32_t advanceMode = 0;       // 2: 0 = the pictures advance on their own
  int32_t singlePass = 0;        // 3
  int32_t option407 = 0;         // 4
  int32_t soundVolume = 0;       // 5, held within 0..100
  int32_t soundCheckMs = 0;      // 6, not negative
  std::string displayTime;       // 7: "" when absent
  bool captionBand = false;      // 8
};

// Reads a settings text (the part between "[" and "]").  Fields beyond 8
// are ignored; missing or non-numeric numbers read 0.
SlideShowSettings ParseSlideShowSettings(const std::string& text);

struct SlideShowFile {
  std::string folder;        // what "@path@" stood for
  bool hasSettings = false;  // a non-empty settings line was found
  std::string settingsText;
};

// Reads a slide-show file into `list`: each existing picture (its
// extension among the picture extensions) with its display time; pictures
// that are missing or of another kind are dropped together with their
// times.  The list's slide-show folder becomes the file's.  False, with
// `list` untouched, when the file cannot be read.
bool ReadSlideShowFile(const std::string& path, const std::string& programFolder,
                       const PlayerFiles& files, PlayerList* list, SlideShowFile* show);

// One suite command the player sends to its own main window.
struct PlannedCommand {
  uint32_t code = 0;
  std::string text;
};

struct SlideShowPlan {
  // Code 4 (background sound), then 5 when field 4 is set, 6 when field 2
  // is 0, and 7 (play if shown).
  std::vector<PlannedCommand> commands;
  // The option line's field 19 (default display time) as it is to be:
  // field 7 when given, else `optionDisplayTime` unchanged.
  std::string optionDisplayTime;
  bool displayTimeChanged = false;
  bool singlePass = false;        // forced in recording mode
  bool captionBand = false;       // only when 8 fields are given
  // Field 2 non-zero: showing the first picture leaves a hidden main
  // window hidden.
  bool keepHiddenWindow = false;
};

// What a slide-show file's settings make the player do.  `optionDisplayTime`
// is the option line's field 19 as it stands; `recordingMode` is set when
// the show is being recorded.
SlideShowPlan PlanSlideShow(const SlideShowSettings& settings, const std::string& optionDisplayTime,
                            bool recordingMode);

}  // namespace player
