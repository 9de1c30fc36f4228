// The ".upl" list file: writer, line splitting and the two readers.
#include "core/list_file.h"

#include "core/text_rules.h"

namespace browser {

std::string WriteListFile(const std::vector<std::string>& entries) {
  std::string bytes;
  for (const std::string& entry : entries) {
    bool shownWithBlank = !entry.empty() && entry.front() == ' ';
    bytes.append(entry, shownWithBlank ? 1 : 0, std::string::npos);
    bytes += "\r\n";
  }
  return bytes;
}

std::vector<std::string> ListFileLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    char c = bytes[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines.push_back(bytes.substr(start, i - start));
    i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

std::string ExpandListLine(const std::string& line, const std::string& programFolder) {
  return ReplaceAll(line, "@path@", programFolder);
}

ListFileContents ReadListFile(const std::string& bytes, const std::string& programFolder,
                              const std::function<bool(const std::string&)>& fileExists) {
  ListFileContents contents;
  for (const std::string& line : ListFileLines(bytes)) {
    std::string path = TrimBlanks(ExpandListLine(line, programFolder));
    if (path.empty()) continue;
    ++contents.namedCount;
    if (fileExists && fileExists(path)) {
      contents.files.push_back(path);
    } else {
      ++contents.missingCount;
    }
  }
  return contents;
}

std::string ListFileItemList(const std::string& bytes, const std::string& programFolder) {
  std::string list;
  for (const std::string& line : ListFileLines(bytes)) {
    std::string item = TrimLeadingBlanks(line);
    if (item.empty()) continue;
    if (!list.empty()) list += '|';
    list += ExpandListLine(item, programFolder);
  }
  return list;
}

std::string ListFileBaseName(const std::string& typed, const std::string& extension) {
  std::string name = typed;
  if (!extension.empty() && name.size() >= extension.size() &&
      LowerAscii(name.substr(name.size() - extension.size())) == LowerAscii(extension)) {
    name.resize(name.size() - extension.size());
  }
  name = TrimBlanks(name);
  size_t separator = name.find_last_of("\\/");
  if (separator != std::string::npos) name = name.substr(separator + 1);
  return TrimBlanks(name);
}

}  // namespace browser
