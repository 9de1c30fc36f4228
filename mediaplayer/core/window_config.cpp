// The configuration file's line, its place and the default window size
// (window_config.h).
#include "core/window_config.h"

#include <algorithm>
#include <vector>

#include "core/text_rules.h"

namespace player {

namespace {

constexpr size_t kFieldCount = 11;

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t bar = line.find('|', start);
    if (bar == std::string::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, bar - start));
    start = bar + 1;
  }
}

// Str(n) as written, or any whole number with blanks around it.
bool ParseWhole(const std::string& text, int32_t* value) {
  std::string trimmed = suite::TrimBlanks(text);
  size_t i = 0;
  bool negative = false;
  if (!trimmed.empty() && (trimmed[0] == '-' || trimmed[0] == '+')) {
    negative = trimmed[0] == '-';
    i = 1;
  }
  if (i >= trimmed.size()) return false;
  int64_t result = 0;
  for (; i < trimmed.size(); ++i) {
    if (trimmed[i] < '0' || trimmed[i] > '9') return false;
    result = result * 10 + (trimmed[i] - '0');
    if (result > 0x7FFFFFFF) return false;
  }
  *value = static_cast<int32_t>(negative ? -result : result);
  return true;
}

// The optional fields read as VAL does: a damaged one counts as 0.
int32_t LooseNumber(const std::string& text) {
  int32_t value = 0;
  return ParseWhole(text, &value) ? value : 0;
}

}  // namespace

std::string StrNumber(int32_t n) { return n >= 0 ? " " + std::to_string(n) : std::to_string(n); }

bool ParseWindowConfig(const std::string& bytes, WindowConfig* config) {
  if (bytes.size() > kMaxWindowConfigBytes) return false;
  std::string line = bytes;
  if (!line.empty() && line.back() == '\n') line.pop_back();
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return false;
  std::vector<std::string> fields = SplitFields(line);
  if (fields.size() < 7) return false;
  WindowConfig read;
  if (!ParseWhole(fields[0], &read.left) || !ParseWhole(fields[1], &read.top) ||
      !ParseWhole(fields[2], &read.width) || !ParseWhole(fields[3], &read.height)) {
    return false;
  }
  if (read.width < 1 || read.width > kMaxWindowSide || read.height < 1 || read.height > kMaxWindowSide) return false;
  read.left = std::max(0, read.left);
  read.top = std::max(0, read.top);
  read.folderA = fields[4];
  read.folderB = fields[5];
  read.skin = fields[6];
  if (fields.size() > 8) {
    read.barX = LooseNumber(fields[7]);
    read.barY = LooseNumber(fields[8]);
  }
  if (fields.size() > 9) {
    int32_t item = LooseNumber(fields[9]);
    read.layoutItem = item >= 303 && item <= 308 ? item : 0;
  }
  if (fields.size() > 10) read.alwaysOnTop = LooseNumber(fields[10]) != 0;
  *config = read;
  return true;
}

std::string FormatWindowConfig(const WindowConfig& config) {
  int32_t item = config.layoutItem == 308 ? 307 : config.layoutItem;
  std::string line;
  for (int32_t n : {config.left, config.top, config.width, config.height}) line += StrNumber(n) + "|";
  line += config.folderA + "|" + config.folderB + "||";
  line += StrNumber(config.barX) + "|" + StrNumber(config.barY) + "|" + StrNumber(item) + "|";
  line += StrNumber(config.alwaysOnTop ? -1 : 0);
  return line;
}

std::string WindowConfigPath(const std::string& field13, const ConfigFolders& folders, const std::string& baseName) {
  std::string field = suite::LowerAscii(field13);
  std::string defaultName = baseName + ".cfg";
  if (field.find("0o") != std::string::npos) return std::string();
  if (field.empty()) return folders.tempFolder + defaultName;
  if (field.rfind("@path@", 0) == 0) return suite::ReplaceAll(field, "@path@", folders.programFolder);
  if (field.find("@win@") != std::string::npos) return folders.windowsFolder + defaultName;
  if (field.find("@sys@") != std::string::npos) {
    return folders.systemFolder + suite::ReplaceAll(field, "@sys@", "");
  }
  if (field.find("@temp@") != std::string::npos || field.find("@tmp@") != std::string::npos) {
    return folders.tempFolder + defaultName;
  }
  return field;
}

WindowRect DefaultWindowRect(WindowRect read, bool nothingRead, int32_t field9, int32_t field10,
                             int32_t screenWidth, int32_t screenHeight, const MaxSizeFunction& maxSize) {
  if (!nothingRead && field9 == 0 && field10 == 0) return read;
  WindowRect rect = read;
  if (nothingRead) rect.width = rect.height = 0;
  if (field9 != 0) rect.width = field9;
  if (rect.width == 0) {
    int32_t width = 800, height = 600;
    if (maxSize) maxSize(800, 600, &width, &height);
    rect.width = width;
    rect.height = height;
  } else if (rect.width < 0) {
    rect.width = screenWidth;
  }
  if (field10 != 0) rect.height = field10;
  if (rect.height == 0) {
    rect.height = 600;
  } else if (rect.height < 0) {
    rect.height = screenHeight;
  }
  rect.left = std::max(0, (screenWidth - rect.width) / 2);
  rect.top = std::max(0, (screenHeight - rect.height) / 2);
  return rect;
}

}  // namespace player
