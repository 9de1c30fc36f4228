// The audio player's playback decisions (audio_rules.h).
#include "audio_rules.h"

#include <algorithm>

#include "core/item_list.h"
#include "core/text_rules.h"

namespace audio {

std::string ItemOrTypedName(const std::string& typedName, const std::string& item, const std::string& fieldStart) {
  size_t n = fieldStart.size();
  if (typedName.size() > n && suite::LowerAscii(typedName.substr(0, n)) == fieldStart) return typedName;
  return item;
}

bool IsInternetAddress(const std::string& item) {
  std::string lower = suite::LowerAscii(item);
  return lower.find("ftp://") != std::string::npos || lower.find("http://") != std::string::npos;
}

int32_t PreviousIndex(int32_t index, int32_t count) {
  if (count <= 1) return index;
  return index - 1 < 1 ? count : index - 1;
}

int32_t NextIndex(int32_t index, int32_t count) {
  if (count <= 1) return index;
  return index + 1 > count ? 1 : index + 1;
}

EndDecision DecideEndOfItem(int32_t index, int32_t count, bool repeatTicked) {
  if (count > 1 && index < count) return {EndOfItem::NextItem, index};
  if (!repeatTicked) return {EndOfItem::Stop, index};
  return {EndOfItem::Repeat, index == count ? 1 : index};
}

int32_t PositionPercent(uint32_t position, uint32_t start, uint32_t end) {
  if (end <= start || position <= start) return 0;
  if (position >= end) return 100;
  return static_cast<int32_t>(uint64_t{position - start} * 100 / (end - start));
}

uint32_t SeekPosition(int32_t percent, uint32_t start, uint32_t end) {
  percent = std::clamp(percent, 0, 100);
  uint64_t span = static_cast<uint32_t>(end - start);
  uint64_t scaled = span * static_cast<uint64_t>(percent);
  uint64_t offset = scaled / 100;
  uint64_t rest = scaled % 100;
  if (rest > 50 || (rest == 50 && offset % 2 == 1)) ++offset;
  return static_cast<uint32_t>(start + offset);
}

std::string PlaybackErrorText(const std::string& text, const std::string& item, int32_t result) {
  return suite::ReplaceAll(text, "#", std::to_string(result)) + item;
}

std::string PlayingTitle(const std::string& title, const std::string& item) {
  size_t slash = item.find_last_of("\\/");
  return title + " - " + (slash == std::string::npos ? item : item.substr(slash + 1));
}

std::string MarqueeText(const std::string& windowTitle, const std::string& title) {
  return suite::ReplaceAll(windowTitle, title + " - ", "");
}

std::string PickerFilters(const std::string& patterns) { return "Audio|" + patterns + "|Winamp|*.m3u"; }

std::string ExpandPickedLists(const std::string& list,
                              const std::function<std::string(const std::string&)>& readPlaylist) {
  std::string trimmed = list;
  while (!trimmed.empty() && trimmed.back() == '|') trimmed.pop_back();
  std::string expanded;
  for (const std::string& item : suite::SplitItemList(trimmed)) {
    std::string part = item;
    if (suite::EndsWithNoCase(item, ".m3u") && readPlaylist) part = readPlaylist(item);
    if (part.empty()) continue;
    expanded += (expanded.empty() ? "" : "|") + part;
  }
  return expanded;
}

}  // namespace audio
