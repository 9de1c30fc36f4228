// The disc burner's burn list as text (burn_list.h).
#include "core/burn_list.h"

#include <set>

#include "core/item_list.h"
#include "core/path_names.h"
#include "core/text_rules.h"

namespace burner {

std::string ListFileArgument(const std::string& commandLine) {
  std::string text = suite::LowerAscii(suite::TrimBlanks(commandLine));
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  const std::string extension = ".upl";
  if (text.size() <= extension.size() || text.compare(text.size() - extension.size(), extension.size(), extension) != 0) {
    return std::string();
  }
  return text;
}

std::vector<std::string> CompanionFiles(const std::string& path, const std::string& suffixes,
                                        const std::string& patterns,
                                        const std::function<bool(const std::string&)>& exists) {
  std::vector<std::string> found;
  if (suite::ExtensionOf(path).empty() || !suite::PatternListTakes(patterns, path)) return found;
  const std::string base = suite::WithoutExtension(path);
  for (const std::string& suffix : suite::SplitCommaList(suffixes)) {
    if (suffix.empty()) continue;
    std::string companion = base + suffix;
    if (suite::EqualsNoCase(companion, path)) continue;
    if (exists(companion)) found.push_back(companion);
  }
  return found;
}

std::vector<std::string> ItemListLines(const std::string& items, const std::string& programFolder) {
  size_t first = items.find_first_not_of('|');
  size_t last = items.find_last_not_of('|');
  std::vector<std::string> lines;
  if (first == std::string::npos) return lines;
  const std::string folder = suite::LowerAscii(programFolder);
  for (const std::string& field : suite::SplitItemList(items.substr(first, last - first + 1))) {
    if (field.empty()) continue;
    lines.push_back(suite::ReplaceAll(field, "@path@", folder));
  }
  return lines;
}

std::string DroppedLine(const std::string& path, bool isFolder) {
  if (!isFolder) return path;
  return suite::WithoutFinalBackslash(path) + kFolderEntrySuffix;
}

ProjectEntry ProjectEntryOf(const std::string& line) {
  ProjectEntry entry;
  if (line.size() >= 3 && line.compare(line.size() - 3, 3, "*.*") == 0) {
    entry.isFolder = true;
    size_t cut = suite::FileNameStart(line);
    entry.mask = line.substr(cut);
    entry.source = suite::WithoutFinalBackslash(line.substr(0, cut));
    return entry;
  }
  entry.source = line;
  return entry;
}

std::string FirstNameClash(const std::vector<std::string>& discPaths) {
  std::set<std::string> taken;
  for (const std::string& path : discPaths) {
    if (!taken.insert(suite::LowerAscii(path)).second) return path;
  }
  return std::string();
}

bool MoveSelected(std::vector<std::string>& lines, std::vector<bool>& selected, bool up) {
  const size_t count = lines.size();
  if (selected.size() != count || count < 2) return false;
  bool moved = false;
  if (up) {
    for (size_t i = 1; i < count; ++i) {
      if (selected[i] && !selected[i - 1]) {
        std::swap(lines[i], lines[i - 1]);
        selected[i - 1] = true;
        selected[i] = false;
        moved = true;
      }
    }
  } else {
    for (size_t i = count - 1; i-- > 0;) {
      if (selected[i] && !selected[i + 1]) {
        std::swap(lines[i], lines[i + 1]);
        selected[i + 1] = true;
        selected[i] = false;
        moved = true;
      }
    }
  }
  return moved;
}

std::string StatusLines(const std::string& text) { return suite::ReplaceAll(text, "|", "\r\n"); }

std::string WithNumber(const std::string& text, int64_t number) {
  return suite::ReplaceAll(text, "#", std::to_string(number));
}

}  // namespace burner
