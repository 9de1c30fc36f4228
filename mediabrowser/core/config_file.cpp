// Text forms of the media browser's settings and favourites.
#include "config_file.h"

#include <algorithm>

#include "core/item_list.h"
#include "core/list_file.h"
#include "core/text_rules.h"

namespace browser {

std::string FormatSettingNumber(int32_t value) {
  return value >= 0 ? " " + std::to_string(value) : std::to_string(value);
}

std::string FormatSettingsLine(const BrowserSettings& s) {
  return FormatSettingNumber(s.left) + "|" + FormatSettingNumber(s.top) + "|" +
         FormatSettingNumber(s.width) + "|" + FormatSettingNumber(s.height) + "|" + s.folder + "|" +
         s.pattern + "|" + FormatSettingNumber(s.option809) + "|" +
         FormatSettingNumber(s.noticeSeen) + "|" + FormatSettingNumber(s.option408);
}

namespace {

// A decimal number between blanks: what FormatSettingNumber writes, and
// what a hand-edited file holds.
bool IsNumberField(const std::string& field) {
  size_t i = field.find_first_not_of(' ');
  if (i == std::string::npos) return false;
  if (field[i] == '-' || field[i] == '+') ++i;
  size_t digits = 0;
  while (i < field.size() && field[i] >= '0' && field[i] <= '9') {
    ++i;
    ++digits;
  }
  while (i < field.size() && field[i] == ' ') ++i;
  return digits > 0 && i == field.size();
}

bool HoldsControlBytes(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return true;
  }
  return false;
}

// The line without one line end after it: a file saved by an editor ends
// its one line with CR LF (or LF, or CR).
std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// The lower of two sizes, but never below a minimum.
int32_t FitSize(int32_t size, int32_t room, int32_t minimum) {
  return std::max(std::min(size, room), minimum);
}

// The start of a span of `size` moved into [start, start + room): as little
// as needed, and to `start` when it does not fit.
int32_t FitStart(int32_t position, int32_t size, int32_t start, int32_t room) {
  int64_t last = static_cast<int64_t>(start) + room - size;
  int64_t moved = std::min<int64_t>(position, last);
  return static_cast<int32_t>(std::max<int64_t>(moved, start));
}

}  // namespace

bool IsReadableSettingsLine(const std::string& text) {
  std::string line(WithoutLineEnd(text));
  if (line.empty() || HoldsControlBytes(line)) return false;
  std::vector<std::string> f = suite::SplitItemList(line);
  if (f.size() < 4 || f.size() > 9) return false;
  for (size_t i = 0; i < 4; ++i) {
    if (!IsNumberField(f[i])) return false;
  }
  return true;
}

void KeepInsideWorkArea(BrowserSettings* s, const WorkArea& area, int32_t minWidth, int32_t minHeight) {
  if (area.width <= 0 || area.height <= 0) return;
  s->width = FitSize(s->width, area.width, minWidth);
  s->height = FitSize(s->height, area.height, minHeight);
  s->left = FitStart(s->left, s->width, area.left, area.width);
  s->top = FitStart(s->top, s->height, area.top, area.height);
}

BrowserSettings ParseSettingsLine(const std::string& line, int32_t minWidth, int32_t minHeight) {
  std::vector<std::string> f = suite::SplitItemList(std::string(WithoutLineEnd(line)));
  f.resize(std::max<size_t>(f.size(), 9));
  BrowserSettings s;
  s.left = std::max(suite::LeadingNumber(f[0]), 0);
  s.top = std::max(suite::LeadingNumber(f[1]), 0);
  s.width = std::max(suite::LeadingNumber(f[2]), minWidth);
  s.height = std::max(suite::LeadingNumber(f[3]), minHeight);
  s.folder = f[4];
  s.pattern = f[5];
  s.option809 = suite::LeadingNumber(f[6]);
  s.noticeSeen = suite::LeadingNumber(f[7]);
  s.option408 = suite::LeadingNumber(f[8]);
  return s;
}

std::string FormatFavourites(const std::vector<std::string>& folders) {
  std::string text;
  for (const std::string& folder : folders) text += suite::TrimBlanks(folder) + "\r\n";
  return text;
}

std::vector<std::string> ReadFavouriteLines(std::string_view bytes) {
  std::vector<std::string> lines;
  suite::ListLines reader(bytes, false);
  std::string_view line;
  while (reader.Next(&line)) {
    if (line.size() > kMaxFavouriteLineBytes || HoldsControlBytes(line)) continue;
    lines.emplace_back(line);
  }
  return lines;
}

bool ParseAssociationEntry(const std::string& entry, const std::string& programFolder,
                           AssociationEntry* out) {
  std::vector<std::string> f = suite::SplitCommaList(entry);
  if (f.size() != 4) return false;
  std::string extension = suite::LowerAscii(f[0]);
  size_t first = extension.find_first_not_of(" .");
  size_t last = extension.find_last_not_of(" .");
  extension = first == std::string::npos ? std::string() : extension.substr(first, last - first + 1);
  out->extensionKey = "." + extension;
  out->identifier = f[1];
  std::string program = suite::ReplaceAll(suite::LowerAscii(f[2]), "@path@", suite::LowerAscii(programFolder));
  out->command = program.empty() ? std::string() : "\"" + program + "\"";
  out->description = f[3];
  return true;
}

}  // namespace browser
