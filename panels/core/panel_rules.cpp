// The panels' portable rules (panel_rules.h).
#include "core/panel_rules.h"

#include <algorithm>
#include <cmath>

#include "core/item_list.h"
#include "core/text_rules.h"

namespace panels {

namespace {

constexpr size_t kMaxMarqueeBytes = 256;

// A whole number written in decimal after optional blanks; false for
// anything else (a damaged definition gives no control rather than a
// control at a made-up place).
bool ParseInteger(const std::string& text, int32_t* value) {
  std::string trimmed = suite::TrimBlanks(text);
  if (trimmed.empty()) return false;
  size_t i = 0;
  bool negative = false;
  if (trimmed[0] == '-' || trimmed[0] == '+') {
    negative = trimmed[0] == '-';
    i = 1;
  }
  if (i >= trimmed.size()) return false;
  int64_t result = 0;
  for (; i < trimmed.size(); ++i) {
    char c = trimmed[i];
    if (c < '0' || c > '9') return false;
    result = result * 10 + (c - '0');
    if (result > 1000000) return false;
  }
  *value = static_cast<int32_t>(negative ? -result : result);
  return true;
}

}  // namespace

int32_t LayoutColumn(int32_t layoutValue) {
  int32_t value = std::clamp(layoutValue, 1, 128);
  int32_t column = 1;
  while (value > 1) {
    value >>= 1;
    ++column;
  }
  return column;
}

std::string PaneBitmapFile(const std::string& entry1, int32_t column, const std::string& programFolder) {
  if (column < 1) return std::string();
  std::string field = suite::LowerAscii(suite::TrimBlanks(suite::CommaField(entry1, static_cast<size_t>(column))));
  return suite::ReplaceAll(field, "@path@", programFolder);
}

int32_t ImageLineNumber(const std::string& entry2, int32_t id) {
  if (id < kFirstPanelImageId || id > kLastPanelImageId) return 0;
  int32_t number = 0;
  if (!ParseInteger(suite::CommaField(entry2, static_cast<size_t>(id - 47)), &number)) return 0;
  return number > 0 ? number : 0;
}

PanelPoint PanelImageLine::PlaceFor(int32_t column) const {
  if (places.empty()) return PanelPoint{};
  size_t index = column < 1 ? 0 : static_cast<size_t>(column - 1);
  return places[std::min(index, places.size() - 1)];
}

PanelImageLine ParseImageLine(const std::string& line, const std::string& programFolder) {
  PanelImageLine result;
  std::vector<std::string> fields = suite::SplitCommaList(line);
  if (fields.empty()) return result;
  result.name = suite::TrimBlanks(fields[0]);
  if (fields.size() > 1) result.file = suite::ReplaceAll(suite::TrimBlanks(fields[1]), "@path@", programFolder);
  // Pairs from the third field on; a pair with a field that is no number
  // ends the list (what came before still counts).
  for (size_t i = 2; i + 1 < fields.size(); i += 2) {
    PanelPoint point;
    if (!ParseInteger(fields[i], &point.x) || !ParseInteger(fields[i + 1], &point.y)) break;
    result.places.push_back(point);
  }
  return result;
}

bool PaneFloats(int32_t field5) { return field5 >= kFloatingPane; }

PanelPoint DockPosition(int32_t field5, ScreenRect mainWindow, int32_t screenWidth, int32_t screenHeight,
                        int32_t paneWidth, int32_t paneHeight) {
  ScreenRect r{std::clamp(mainWindow.left, 0, screenWidth), std::clamp(mainWindow.top, 0, screenHeight),
               std::clamp(mainWindow.right, 0, screenWidth), std::clamp(mainWindow.bottom, 0, screenHeight)};
  PanelPoint place;
  switch (field5) {
    case 1: case 0x21: place = {r.left, r.top}; break;
    case 2: case 0x22: place = {r.right - paneWidth, r.top}; break;
    case 8: case 0x28: place = {r.left, r.bottom - paneHeight}; break;
    default: place = {r.right - paneWidth, r.bottom - paneHeight}; break;
  }
  // A pane wider than the window would start left of the screen.
  place.x = std::max(0, std::min(place.x, screenWidth - paneWidth));
  place.y = std::max(0, std::min(place.y, screenHeight - paneHeight));
  return place;
}

bool SavedPaneUsable(int32_t x, int32_t y, int32_t paneWidth, int32_t paneHeight, int32_t screenWidth,
                     int32_t screenHeight) {
  if (x == -1 && y == -1) return false;
  return x >= -paneWidth && y >= -paneHeight && x <= screenWidth && y <= screenHeight;
}

int32_t VolumeFromMixerValue(uint32_t value) {
  return static_cast<int32_t>(std::nearbyint(100.0 * static_cast<double>(value) / 65535.0));
}

uint32_t MixerValueFromVolume(int32_t percent) { return static_cast<uint32_t>(std::clamp(percent, 0, 100)) * 655u; }

std::string MarqueeTitle(const std::string& text) {
  std::string kept = suite::TrimBlanks(text.substr(0, std::min(text.size(), kMaxMarqueeBytes)));
  std::string result;
  size_t i = 0;
  while (i < kept.size()) {
    if (kept[i] == ' ') {
      ++i;
      continue;
    }
    size_t end = kept.find(' ', i);
    if (end == std::string::npos) end = kept.size();
    std::string word = suite::LowerAscii(kept.substr(i, end - i));
    word[0] = static_cast<char>(suite::UpperAscii(word.substr(0, 1))[0]);
    if (word.size() > 1 && (word[0] == '\'' || word[0] == '(')) {
      word[1] = static_cast<char>(suite::UpperAscii(word.substr(1, 1))[0]);
    }
    if (!result.empty()) result += ' ';
    result += word;
    i = end;
  }
  return result;
}

}  // namespace panels
