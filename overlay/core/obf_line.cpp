// Object lines of an OBF sidecar; see obf_line.h.
#include "obf_line.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace overlay {

namespace {

constexpr char kStoredBar = 24;  // "|" inside a text
constexpr char kStoredCr = 25;   // CR inside a text
constexpr char kStoredLf = 26;   // LF inside a text
constexpr size_t kFieldCount = 18;

bool IsTrimmed(char c) { return c == ' ' || c == '\0'; }

// Fields 5, 6 and 18 are written as they are by the other programs; bytes
// that would break the line are dropped here.
std::string CleanPlainField(std::string_view text, size_t limit) {
  std::string trimmed = TrimObfText(text);
  std::string clean;
  for (char c : trimmed) {
    if (c != '|' && c != '\r' && c != '\n') clean.push_back(c);
  }
  if (clean.size() > limit) clean.resize(limit);
  return TrimObfText(clean);
}

std::vector<std::string_view> SplitOn(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    if (end == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

// A decimal integer with an optional "-"; anything else (empty, blanks,
// letters, more than 18 digits) is 0.
int64_t ParseNumber(std::string_view field) {
  bool negative = false;
  if (!field.empty() && field[0] == '-') {
    negative = true;
    field.remove_prefix(1);
  }
  if (field.empty() || field.size() > 18) return 0;
  int64_t value = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

// The low 32 bits of the number, as a signed field stores them (a colour
// written as "-65536" is 0xFFFF0000).
uint32_t Low32(int64_t value) { return static_cast<uint32_t>(static_cast<uint64_t>(value)); }
int32_t Signed32(int64_t value) { return static_cast<int32_t>(Low32(value)); }

int16_t Clamp16(int64_t value) {
  return static_cast<int16_t>(std::clamp<int64_t>(value, std::numeric_limits<int16_t>::min(),
                                                  std::numeric_limits<int16_t>::max()));
}

void AppendNumber(std::string* line, int64_t value) {
  line->append(std::to_string(value));
  line->push_back('|');
}

std::string EncodePoints(const std::vector<ObfPoint>& points, size_t count) {
  std::string payload;
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) payload.push_back(',');
    payload.append(std::to_string(points[i].x));
    payload.push_back(',');
    payload.append(std::to_string(points[i].y));
  }
  return payload;
}

std::vector<ObfPoint> DecodePoints(std::string_view payload, int64_t count) {
  std::vector<ObfPoint> points;
  if (count <= 0 || payload.empty()) return points;
  const std::vector<std::string_view> values = SplitOn(payload, ',');
  const size_t wanted = std::min<size_t>({static_cast<size_t>(std::min<int64_t>(count, kObfMaxPoints)),
                                          kObfMaxPoints, values.size() / 2});
  points.reserve(wanted);
  for (size_t i = 0; i < wanted; ++i) {
    points.push_back({Clamp16(ParseNumber(values[2 * i])), Clamp16(ParseNumber(values[2 * i + 1]))});
  }
  return points;
}

}  // namespace

std::string TrimObfText(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsTrimmed(text[begin])) ++begin;
  while (end > begin && IsTrimmed(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string EscapeObfText(std::string_view text) {
  std::string stored(text);
  for (char& c : stored) {
    if (c == '|') c = kStoredBar;
    else if (c == '\r') c = kStoredCr;
    else if (c == '\n') c = kStoredLf;
  }
  return stored;
}

std::string UnescapeObfText(std::string_view stored) {
  std::string text(stored);
  for (char& c : text) {
    if (c == kStoredBar) c = '|';
    else if (c == kStoredCr) c = '\r';
    else if (c == kStoredLf) c = '\n';
  }
  return text;
}

std::string EncodeObfLine(const ObfObject& object) {
  std::string line;
  AppendNumber(&line, object.kind);
  AppendNumber(&line, object.style);
  if (object.kind == kKindText) {
    std::string text = TrimObfText(object.text);
    if (text.size() > kObfMaxTextBytes) text = TrimObfText(text.substr(0, kObfMaxTextBytes));
    AppendNumber(&line, static_cast<int64_t>(text.size()));
    line.append(EscapeObfText(text));
  } else {
    const size_t count = std::min(object.points.size(), kObfMaxPoints);
    AppendNumber(&line, static_cast<int64_t>(count));
    line.append(EncodePoints(object.points, count));
  }
  line.push_back('|');
  line.append(CleanPlainField(object.secondText, kObfMaxTextBytes));
  line.push_back('|');
  line.append(CleanPlainField(object.fontFamily, kObfMaxNameBytes));
  line.push_back('|');
  AppendNumber(&line, object.size);
  AppendNumber(&line, object.formatFlags);
  AppendNumber(&line, static_cast<int32_t>(object.colour));
  AppendNumber(&line, object.shadow);
  AppendNumber(&line, object.x);
  AppendNumber(&line, object.y);
  AppendNumber(&line, object.width);
  AppendNumber(&line, object.height);
  AppendNumber(&line, object.shown);
  AppendNumber(&line, object.number);
  AppendNumber(&line, object.flag);
  line.append(CleanPlainField(object.note, kObfMaxNameBytes));
  return line;
}

ObfObject DecodeObfLine(std::string_view line) {
  std::vector<std::string_view> fields = SplitOn(line, '|');
  fields.resize(std::max(fields.size(), kFieldCount));
  auto number = [&fields](size_t field) { return ParseNumber(fields[field - 1]); };

  ObfObject object;
  object.kind = static_cast<uint16_t>(Low32(number(1)));
  object.style = static_cast<uint16_t>(Low32(number(2)));
  const int64_t count = number(3);
  if (count > 0) {
    if (object.kind == kKindText) {
      object.text = UnescapeObfText(fields[3].substr(0, kObfMaxTextBytes));
    } else {
      object.points = DecodePoints(fields[3], count);
    }
  }
  object.secondText = TrimObfText(fields[4].substr(0, kObfMaxTextBytes));
  object.fontFamily = TrimObfText(fields[5].substr(0, kObfMaxNameBytes));
  object.size = Signed32(number(7));
  object.formatFlags = Signed32(number(8));
  object.colour = Low32(number(9));
  object.shadow = Signed32(number(10));
  object.x = Signed32(number(11));
  object.y = Signed32(number(12));
  object.width = Signed32(number(13));
  object.height = Signed32(number(14));
  object.shown = Signed32(number(15));
  object.number = Signed32(number(16));
  object.flag = static_cast<uint8_t>(std::clamp<int64_t>(number(17), 0, 255));
  object.note = TrimObfText(fields[17].substr(0, kObfMaxNameBytes));
  return object;
}

}  // namespace overlay
