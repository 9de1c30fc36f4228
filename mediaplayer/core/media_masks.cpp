// Extension runs of the media player.
#include "media_masks.h"

#include <limits>

#include "core/item_list.h"
#include "core/path_names.h"
#include "core/text_rules.h"

namespace player {

namespace {

// Position (1-based) of `extension` in `run`, 0 when absent or empty.
int32_t PositionInRun(const std::string& extension, const std::string& run) {
  if (extension.empty()) return 0;
  size_t at = run.find(extension);
  if (at == std::string::npos || at >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    return 0;
  }
  return static_cast<int32_t>(at + 1);
}

}  // namespace

std::string ItemExtension(const std::string& item) {
  const std::string extension = suite::ExtensionOf(item);
  if (extension.size() < 2) return std::string();
  return suite::LowerAscii(extension) + ".";
}

std::string AudioExtensionRun(const std::string& audioPatterns) {
  // "*.mp3;*.wav" -> ".mp3.wav.": each pattern loses its "*" and keeps the
  // extension with its dot.
  std::string run;
  size_t start = 0;
  while (start <= audioPatterns.size()) {
    size_t end = audioPatterns.find(';', start);
    if (end == std::string::npos) end = audioPatterns.size();
    std::string pattern = suite::TrimBlanks(audioPatterns.substr(start, end - start));
    size_t first = pattern.find_first_not_of("*.");
    if (first != std::string::npos) run += "." + suite::LowerAscii(pattern.substr(first));
    start = end + 1;
  }
  return run.empty() ? run : run + ".";
}

std::string MediaExtensionRun(const std::string& mediaExtensions, const std::string& audioPatterns,
                              bool audioLibraryAvailable) {
  std::string run = suite::LowerAscii(suite::TrimBlanks(mediaExtensions));
  if (!audioLibraryAvailable) return run;
  std::string audio = AudioExtensionRun(audioPatterns);
  if (audio.empty()) return run;
  // The two runs share the dot between them.
  if (!run.empty() && run.back() == '.') run.pop_back();
  return run + audio;
}

int32_t MatchFileMask(const std::string& item, const std::string& mediaExtensionRun) {
  return PositionInRun(ItemExtension(item), mediaExtensionRun);
}

bool IsAudioItem(const std::string& item, const std::string& audioPatterns) {
  return PositionInRun(ItemExtension(item), AudioExtensionRun(audioPatterns)) > 0;
}

bool IsPictureItem(const std::string& item) {
  return PositionInRun(suite::UpperAscii(ItemExtension(item)), PICTURE_EXTENSIONS) > 0;
}

std::string KeepPictureItems(const std::string& itemList) {
  std::string pictures;
  for (const std::string& item : suite::SplitItemList(itemList)) {
    if (!IsPictureItem(item)) continue;
    if (!pictures.empty()) pictures += '|';
    pictures += item;
  }
  return pictures;
}

}  // namespace player
