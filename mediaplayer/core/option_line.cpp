// Option-line fields, numbers and rewrites.
#include "core/option_line.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace player {

namespace {

std::vector<std::string> SplitAtCommas(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t comma = line.find(',', start);
    if (comma == std::string::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string OptionFieldText(const std::string& line, size_t n) {
  if (n == 0) return std::string();
  size_t start = 0;
  for (size_t field = 1; field < n; ++field) {
    size_t comma = line.find(',', start);
    if (comma == std::string::npos) return std::string();
    start = comma + 1;
  }
  size_t end = line.find(',', start);
  return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

int32_t OptionNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  double value = 0;
  bool anyDigit = false;
  while (i < text.size() && IsDigit(text[i])) {
    value = value * 10 + (text[i++] - '0');
    anyDigit = true;
    if (value > 1e12) value = 1e12;  // far beyond 32 bits: saturates below
  }
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && IsDigit(text[i]); ++i, scale /= 10) {
      value += (text[i] - '0') * scale;
      anyDigit = true;
    }
  }
  if (!anyDigit) return 0;
  if (negative) value = -value;
  value = std::nearbyint(value);  // the default rounding: halves to even
  value = std::clamp(value, static_cast<double>(std::numeric_limits<int32_t>::min()),
                     static_cast<double>(std::numeric_limits<int32_t>::max()));
  return static_cast<int32_t>(value);
}

std::string RewriteOptionFields(const std::string& line,
                                const std::vector<std::pair<size_t, std::string>>& fields) {
  std::vector<std::string> parts = SplitAtCommas(line);
  size_t needed = OPTION_FIELD_COUNT;
  for (const auto& [n, text] : fields) needed = std::max(needed, n);
  if (parts.size() < needed) parts.resize(needed);
  for (const auto& [n, text] : fields) {
    if (n >= 1) parts[n - 1] = text;
  }
  std::string joined;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) joined += ',';
    joined += parts[i];
  }
  return joined;
}

std::string RewriteForAviKiosk(const std::string& line) {
  return RewriteOptionFields(line, {{7, "1"}, {3, "304"}});
}

std::string RewriteDisplayTime(const std::string& line, const std::string& displayTime) {
  return RewriteOptionFields(line, {{19, displayTime}});
}

OptionLine::OptionLine(std::function<std::string()> line, std::function<bool()> alwaysOnTop,
                       std::function<uint32_t()> buttonShadowColour)
    : line_(std::move(line)),
      alwaysOnTop_(std::move(alwaysOnTop)),
      buttonShadowColour_(std::move(buttonShadowColour)) {}

std::string OptionLine::Text(size_t n) const { return OptionFieldText(line_ ? line_() : "", n); }
int32_t OptionLine::Number(size_t n) const { return OptionNumber(Text(n)); }

int32_t OptionLine::OptionField1() const { return Number(1); }
int32_t OptionLine::OptionField2() const { return Number(2); }
int32_t OptionLine::OptionField3() const { return Number(3); }
int32_t OptionLine::OptionField4() const { return Number(4); }
int32_t OptionLine::OptionField5() const { return Number(5); }
int32_t OptionLine::OptionField6() const { return Number(6); }
int32_t OptionLine::OptionField7() const { return Number(7); }
int32_t OptionLine::OptionField8() const {
  if (alwaysOnTop_ && alwaysOnTop_()) return 1;
  return Number(8);
}
int32_t OptionLine::OptionField9() const { return Number(9); }
int32_t OptionLine::OptionField10() const { return Number(10); }
int32_t OptionLine::OptionField11() const { return Number(11); }
std::string OptionLine::OptionField12() const { return Text(12); }
std::string OptionLine::OptionField13() const { return Text(13); }
int32_t OptionLine::OptionField14() const {
  std::string text = Text(14);
  if (text.empty()) return OPTION_KEEP_VOLUME;
  int32_t volume = OptionNumber(text);
  if (volume < 0) return OPTION_KEEP_VOLUME;
  return std::min(volume, 100);
}
int32_t OptionLine::OptionField15() const { return Number(15); }
int32_t OptionLine::OptionField16() const { return Number(16); }
int32_t OptionLine::OptionField17() const { return Number(17); }
int32_t OptionLine::OptionField18() const { return 0; }
int32_t OptionLine::OptionField19() const { return Number(19); }
int32_t OptionLine::OptionField20() {
  if (!field20Read_) {
    field20_ = Number(20);
    field20Read_ = true;
  }
  return field20_;
}
int32_t OptionLine::OptionField21() {
  if (!field21Read_) {
    std::string text = Text(21);
    field21_ = text.empty() ? static_cast<int32_t>(buttonShadowColour_ ? buttonShadowColour_() : 0)
                            : OptionNumber(text);
    field21Read_ = true;
  }
  return field21_;
}
int32_t OptionLine::OptionField22() const { return Number(22); }
int32_t OptionLine::OptionField23() const { return Number(23); }

}  // namespace player
