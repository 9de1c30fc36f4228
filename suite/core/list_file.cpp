// The ".upl" list file: writer, line reader and the readers built on it.
#include "core/list_file.h"

#include "core/path_names.h"
#include "core/text_rules.h"

namespace suite {

ListLines::ListLines(std::string_view bytes, bool lastLineCut) : bytes_(bytes), lastLineCut_(lastLineCut) {
  if (bytes_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
}

bool ListLines::Next(std::string_view* line) {
  while (pos_ < bytes_.size()) {
    size_t end = bytes_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) {
      if (lastLineCut_) {
        pos_ = bytes_.size();
        return false;
      }
      end = bytes_.size();
    }
    std::string_view found = bytes_.substr(pos_, end - pos_);
    pos_ = end;
    if (pos_ < bytes_.size() && bytes_[pos_] == '\r') ++pos_;
    if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
    if (found.size() > MAX_LIST_LINE_BYTES) continue;
    *line = found;
    return true;
  }
  return false;
}

std::string TrimLine(std::string_view line) {
  size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::string();
  size_t last = line.find_last_not_of(" \t");
  return std::string(line.substr(first, last - first + 1));
}

std::string WriteListFile(const std::vector<std::string>& entries) {
  std::string bytes;
  for (const std::string& entry : entries) {
    bool shownWithBlank = !entry.empty() && entry.front() == ' ';
    bytes.append(entry, shownWithBlank ? 1 : 0, std::string::npos);
    bytes += "\r\n";
  }
  return bytes;
}

std::vector<std::string> ReadListEntries(std::string_view bytes, const std::string& programFolder,
                                         bool lastLineCut) {
  std::vector<std::string> entries;
  ListLines lines(bytes, lastLineCut);
  std::string_view line;
  while (lines.Next(&line)) {
    std::string entry = TrimLine(line);
    if (!entry.empty()) entries.push_back(ReplaceAll(entry, "@path@", programFolder));
  }
  return entries;
}

ListFileContents ReadListFile(std::string_view bytes, const std::string& programFolder,
                              const std::function<bool(const std::string&)>& fileExists, bool lastLineCut) {
  ListFileContents contents;
  for (std::string& path : ReadListEntries(bytes, programFolder, lastLineCut)) {
    ++contents.namedCount;
    if (fileExists && fileExists(path)) {
      contents.files.push_back(std::move(path));
    } else {
      ++contents.missingCount;
    }
  }
  return contents;
}

std::string ListFileBaseName(const std::string& typed, const std::string& extension) {
  std::string name = typed;
  if (!extension.empty() && EndsWithNoCase(name, extension)) name.resize(name.size() - extension.size());
  return TrimBlanks(FileNameOf(TrimBlanks(name)));
}

}  // namespace suite
