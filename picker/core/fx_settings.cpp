// The effects panel's settings line; see fx_settings.h.
#include "core/fx_settings.h"

#include <cstdint>
#include <limits>

namespace picker {

FxSettings DefaultFxSettings() {
  FxSettings settings;
  settings.bands.fill(50);
  settings.boxes.fill(0);
  return settings;
}

std::string BuildFxLine(const FxSettings& settings) {
  std::string line;
  for (size_t i = 0; i < kFxFieldCount; ++i) {
    if (i > 0) line += "|";
    line += std::to_string(i < kFxBandCount ? settings.bands[i] : settings.boxes[i - kFxBandCount]);
  }
  return line;
}

int32_t ReadFxNumber(const std::string& field) {
  size_t at = 0;
  while (at < field.size() && (field[at] == ' ' || field[at] == '\t')) ++at;
  bool negative = false;
  if (at < field.size() && (field[at] == '-' || field[at] == '+')) {
    negative = field[at] == '-';
    ++at;
  }
  // Whole part, saturated well before it could overflow.
  const int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t whole = 0;
  while (at < field.size() && field[at] >= '0' && field[at] <= '9') {
    whole = whole * 10 + (field[at] - '0');
    if (whole > kLimit) whole = kLimit;
    ++at;
  }
  // A decimal part rounds half away from zero.
  if (at < field.size() && field[at] == '.' && at + 1 < field.size() && field[at + 1] >= '5' &&
      field[at + 1] <= '9') {
    whole = whole < kLimit ? whole + 1 : whole;
  }
  int64_t value = negative ? -whole : whole;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

FxSettings ParseFxLine(const std::string& bytes) {
  FxSettings settings;  // missing fields read as 0
  const std::string text = bytes.substr(0, kFxMaxFileBytes);
  size_t start = 0;
  for (size_t i = 0; i < kFxFieldCount && start <= text.size(); ++i) {
    size_t bar = text.find('|', start);
    const std::string field =
        text.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    const int32_t value = ReadFxNumber(field);
    if (i < kFxBandCount) {
      settings.bands[i] = value;
    } else {
      settings.boxes[i - kFxBandCount] = value;
    }
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return settings;
}

}  // namespace picker
