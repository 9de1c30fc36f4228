// The file list's refresh, side files, thumbnail texts and copy targets.
#include "file_list_rules.h"

#include <set>

#include "core/path_names.h"
#include "core/text_rules.h"

namespace browser {

ListChanges DiffFileList(const std::vector<std::string>& listed, const std::vector<ScannedEntry>& scanned) {
  ListChanges changes;
  std::set<std::string> listedKeys;
  for (const std::string& item : listed) listedKeys.insert(suite::LowerAscii(item));
  std::set<std::string> present;
  for (const ScannedEntry& entry : scanned) {
    std::string key = suite::LowerAscii(entry.item);
    if (!present.insert(key).second) continue;
    if (listedKeys.count(key) == 0) {
      changes.added.push_back(entry.item);
    } else if (entry.changedSinceListing) {
      changes.reloaded.push_back(entry.item);
    }
  }
  for (const std::string& item : listed) {
    if (present.count(suite::LowerAscii(item)) == 0) changes.removed.push_back(item);
  }
  return changes;
}

std::vector<std::string> SideFilePaths(const std::string& path, const std::string& extensions) {
  std::vector<std::string> paths;
  std::string base = suite::WithoutExtension(path);
  size_t start = 0;
  while (start <= extensions.size()) {
    size_t comma = extensions.find(',', start);
    if (comma == std::string::npos) comma = extensions.size();
    std::string extension = suite::TrimBlanks(extensions.substr(start, comma - start));
    while (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
    if (!extension.empty()) paths.push_back(base + "." + extension);
    start = comma + 1;
  }
  return paths;
}

std::string GroupedNumber(int64_t value) {
  bool negative = value < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return negative ? "-" + grouped : grouped;
}

std::string ThumbnailStatusText(const ThumbnailFacts& facts, const std::string& coloursWord,
                                const std::string& bytesWord, const std::string& overlayWord) {
  std::string text = suite::UpperAscii(facts.name) + " " + std::to_string(facts.width) + " x" +
                     std::to_string(facts.height) + " (" + GroupedNumber(facts.colours) + coloursWord +
                     GroupedNumber(facts.fileSize) + bytesWord;
  if (facts.hasOverlay) text += " " + overlayWord;
  return text;
}

std::string TimingCellText(const std::string& content) {
  std::string trimmed = suite::TrimBlanks(content);
  size_t digits = 0;
  while (digits < trimmed.size() && digits < 9 && trimmed[digits] >= '0' && trimmed[digits] <= '9') ++digits;
  if (digits == 0) return std::string();
  return " " + std::to_string(std::stol(trimmed.substr(0, digits))) + "\"";
}

std::string NormalisedFolder(const std::string& path) {
  std::string text = suite::ReplaceAll(suite::TrimBlanks(path), "/", "\\");
  std::string root;
  std::string rest;
  if (text.size() >= 3 && text[1] == ':' && text[2] == '\\' &&
      ((text[0] >= 'a' && text[0] <= 'z') || (text[0] >= 'A' && text[0] <= 'Z'))) {
    root = text.substr(0, 3);
    rest = text.substr(3);
  } else if (text.size() > 2 && text[0] == '\\' && text[1] == '\\' && text[2] != '\\') {
    // "\\server\share\": the server and share are the root.
    size_t server = text.find('\\', 2);
    if (server == std::string::npos || server == 2) return std::string();
    size_t share = text.find('\\', server + 1);
    if (share == std::string::npos) share = text.size();
    if (share == server + 1) return std::string();
    root = text.substr(0, share) + "\\";
    rest = share < text.size() ? text.substr(share + 1) : std::string();
  } else {
    return std::string();
  }
  std::vector<std::string> steps;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find('\\', start);
    if (end == std::string::npos) end = rest.size();
    std::string step = rest.substr(start, end - start);
    if (step == "..") {
      if (steps.empty()) return std::string();
      steps.pop_back();
    } else if (!step.empty() && step != ".") {
      steps.push_back(step);
    }
    start = end + 1;
  }
  std::string folder = root;
  for (const std::string& step : steps) folder += step + "\\";
  return folder;
}

TargetDecision DecideTarget(int32_t boxResult, const std::string& chosen, const std::string& currentFolder) {
  TargetDecision decision;
  if (boxResult != 1 && boxResult != 2) return decision;
  std::string folder = NormalisedFolder(chosen);
  if (folder.empty()) return decision;
  decision.folder = folder;
  std::string current = NormalisedFolder(currentFolder);
  if (!current.empty() && suite::EqualsNoCase(folder, current)) {
    decision.action = TargetAction::kSameFolder;
    return decision;
  }
  decision.action = boxResult == 2 ? TargetAction::kCreate : TargetAction::kTransfer;
  return decision;
}

}  // namespace browser
