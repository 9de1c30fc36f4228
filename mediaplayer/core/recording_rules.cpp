// The window recording's rules.
#include "core/recording_rules.h"

#include <algorithm>

#include "core/path_names.h"
#include "core/text_rules.h"

namespace player {

int32_t RecordingFrameRate(int32_t requested) {
  int32_t rate = std::clamp(requested, 0, 30);
  return rate < 1 ? 3 : rate;
}

std::string RecordingFileName(const std::string& exeName) {
  return suite::LowerAscii(suite::WithoutExtension(suite::FileNameOf(exeName)) + ".avi");
}

std::string RecordingStatusText(const std::string& entry, int32_t frames, int32_t framesAgain) {
  return suite::ReplaceAll(suite::ReplaceAll(entry, "@", std::to_string(frames)), "#", std::to_string(framesAgain));
}

}  // namespace player
