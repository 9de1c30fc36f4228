// Text forms of the media browser's settings and favourites.
#include "config_file.h"

#include <algorithm>

#include "core/item_list.h"
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

BrowserSettings ParseSettingsLine(const std::string& line, int32_t minWidth, int32_t minHeight) {
  std::vector<std::string> f = suite::SplitItemList(line);
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

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
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
