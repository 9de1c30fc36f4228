// The names the disc burner shows for the library's drives and media, and
// the status text of its 500 ms progress step.
#pragma once

#include <cstdint>
#include <string>

namespace burner {

// The device line of a drive: the library's name trimmed of blanks, the
// part after its first comma (the whole name when it has none), every run
// of blanks one blank: "R: ORB SOFT DVD WRITER 1.00".  "" for no name.
std::string DeviceDisplayName(const char* libraryName);
// The drive letter of a device line ('\0' when the line starts with none).
char DriveLetterOf(const std::string& deviceLine);

// The medium picture's name for vdscDiscIs + 1 (1-based into the medium
// table: 1 "unknown" ... 15 "cdrw"); a CD-ROM whose volume label is
// "AUDIO CD" (any case) is "cdaudio".  Positions outside the table are
// "unknown".
std::string MediumBitmapName(int32_t discIsPlusOne, const std::string& volumeLabel);

// The progress step's decision.
struct ProgressTexts {
  std::string percentDone;   // T(7): "#" the percent
  std::string closing;       // T(9): the drive still holds data
  std::string blinkingWord;  // T(10)
  std::string erasing;       // T(11), before the blinking word
  std::string idle;          // T(12)
  std::string finishing;     // T(13), before the blinking word
};
struct ProgressInput {
  int64_t written = 0;
  int64_t image = 0;
  int64_t buffer = 0;
  int32_t state = 0;
  bool blink = false;        // the blinking word in upper case
  int32_t keptPercent = 0;   // the percent shown last
};
struct ProgressStep {
  std::string status;
  bool setBar = false;       // the progress bar gets keptPercent
  int32_t keptPercent = 0;
  bool showMiB = false;      // the size text shows written/image MiB
  bool blinked = false;      // the blinking word was shown: invert the flag
};
ProgressStep DecideProgress(const ProgressInput& input, const ProgressTexts& texts);
// "written/image" in MiB with the unit, each figure formatted by `format`.
std::string MiBText(int64_t writtenSectors, int64_t imageSectors, const std::string& unit,
                    std::string (*format)(int64_t));

}  // namespace burner
