// The audio player's settings line (audio_settings.h).
#include "audio_settings.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/item_list.h"
#include "core/path_names.h"

namespace audio {

std::string SettingsFilePath(const std::string& tempFolder, const std::string& exeName) {
  return tempFolder + suite::NameBeforeFirstDot(exeName) + ".cfg";
}

std::string NumberText(int32_t value) {
  if (value < 0) return std::to_string(value);
  return " " + std::to_string(value);
}

int32_t NumberValue(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{1} << 32);
  }
  if (negative) value = -value;
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

std::string EncodeSettingsLine(const AudioSettings& s) {
  return NumberText(s.left) + "|" + NumberText(s.top) + "|" + NumberText(s.width) + "|" + NumberText(s.height) +
         "|" + s.lastFolder + "|" + s.secondFolder + "||" + NumberText(s.paneX) + "|" + NumberText(s.paneY);
}

bool DecodeSettingsLine(const std::string& line, AudioSettings* settings) {
  if (line.empty()) return false;
  // Empty fields keep their place: the skin field is always written empty.
  std::vector<std::string> fields = suite::SplitItemList(line);
  auto field = [&fields](size_t n) { return n <= fields.size() ? fields[n - 1] : std::string(); };
  AudioSettings s;
  s.left = std::max(0, NumberValue(field(1)));
  s.top = std::max(0, NumberValue(field(2)));
  s.width = NumberValue(field(3));
  s.height = NumberValue(field(4));
  s.lastFolder = field(5);
  s.secondFolder = field(6);
  s.skin = field(7);
  if (fields.size() > 8) {
    s.paneX = NumberValue(field(8));
    s.paneY = NumberValue(field(9));
  }
  *settings = s;
  return true;
}

bool PanePlaceVisible(int32_t x, int32_t y, int32_t width, int32_t height, const ScreenArea& screen) {
  if (x == -1 && y == -1) return false;
  int64_t right = int64_t{x} + std::max(width, 1);
  int64_t bottom = int64_t{y} + std::max(height, 1);
  return right > screen.left && x < screen.right && bottom > screen.top && y < screen.bottom;
}

void CentreIn(const ScreenArea& screen, int32_t width, int32_t height, int32_t* x, int32_t* y) {
  *x = static_cast<int32_t>(screen.left + (int64_t{screen.right - screen.left} - width) / 2);
  *y = static_cast<int32_t>(screen.top + (int64_t{screen.bottom - screen.top} - height) / 2);
}

}  // namespace audio
