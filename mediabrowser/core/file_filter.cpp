// The file list's entry filter and status text.
#include "file_filter.h"

#include "core/text_rules.h"

namespace browser {

FileListFilter MakeFileListFilter(const std::string& pattern, const std::string& excluded) {
  FileListFilter filter;
  if (pattern.find(';') != std::string::npos) {
    std::string list = suite::ReplaceAll(suite::LowerAscii(pattern), ";", "|");
    size_t first = list.find_first_not_of('|');
    size_t last = list.find_last_not_of('|');
    list = first == std::string::npos ? std::string() : list.substr(first, last - first + 1);
    filter.allowed = "|" + list + "|";
    filter.mask = "*.*";
  } else {
    filter.mask = pattern.empty() ? "*.*" : pattern;
  }
  std::string hidden = suite::ReplaceAll(suite::LowerAscii(excluded), ";", "|");
  while (!hidden.empty() && hidden.front() == '|') hidden.erase(0, 1);
  if (!hidden.empty() && hidden.back() != '|') hidden.push_back('|');
  filter.excluded = hidden;
  return filter;
}

bool FileListTakes(const FileListFilter& filter, const std::string& name, uint32_t attributes) {
  if (name.empty() || name[0] == '.') return false;
  if ((attributes & kUnlistedAttributes) != 0) return false;
  std::string lower = suite::LowerAscii(name);
  size_t dot = lower.rfind('.');
  if (dot == std::string::npos) return filter.allowed.empty();
  std::string extension = lower.substr(dot) + "|";
  if (!filter.excluded.empty() && ("|" + filter.excluded).find("|" + extension) != std::string::npos) {
    return false;
  }
  if (!filter.allowed.empty()) return filter.allowed.find(extension) != std::string::npos;
  return true;
}

std::string FileCountStatus(size_t count, const std::string& nounEntry, const std::string& folder) {
  std::string noun = suite::ReplaceAll(nounEntry, "(s)", count < 2 ? "" : "s");
  size_t first = folder.find_first_not_of('\\');
  size_t last = folder.find_last_not_of('\\');
  std::string shown = first == std::string::npos ? std::string() : folder.substr(first, last - first + 1);
  return std::to_string(count) + " " + noun + " " + shown;
}

}  // namespace browser
