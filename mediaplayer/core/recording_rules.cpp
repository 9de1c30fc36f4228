// The window recording's rules.
#include "core/recording_rules.h"

#include <algorithm>
#include <cctype>

#include "core/text_rules.h"

namespace player {

int32_t RecordingFrameRate(int32_t requested) {
  int32_t rate = std::clamp(requested, 0, 30);
  return rate < 1 ? 3 : rate;
}

std::string RecordingFileName(const std::string& exeName) {
  std::string name = exeName.substr(exeName.find_last_of("\\/:") == std::string::npos ? 0 : exeName.find_last_of("\\/:") + 1);
  size_t dot = name.find_last_of('.');
  name = (dot == std::string::npos ? name : name.substr(0, dot)) + ".avi";
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name;
}

std::string RecordingStatusText(const std::string& entry, int32_t frames, int32_t framesAgain) {
  return suite::ReplaceAll(suite::ReplaceAll(entry, "@", std::to_string(frames)), "#", std::to_string(framesAgain));
}

}  // namespace player
