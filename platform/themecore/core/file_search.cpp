// The search order of SKFINDF; see file_search.h.
#include "file_search.h"

namespace themecore {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool StartsWithDrive(std::string_view name) {
  return name.size() >= 2 && IsDriveLetter(name[0]) && name[1] == ':';
}

}  // namespace

bool IsAbsolutePath(std::string_view name) {
  if (name.empty()) return false;
  // "C:name" is relative to that drive's current folder, but it names one
  // place all the same: searching other folders for it would be wrong.
  return IsSeparator(name[0]) || StartsWithDrive(name);
}

bool HasFolderPart(std::string_view name) {
  if (StartsWithDrive(name)) return true;
  for (char c : name) {
    if (IsSeparator(c)) return true;
  }
  return false;
}

std::vector<std::string> SplitPathList(std::string_view pathValue) {
  std::vector<std::string> folders;
  size_t start = 0;
  while (start <= pathValue.size()) {
    size_t end = pathValue.find(';', start);
    if (end == std::string_view::npos) end = pathValue.size();
    std::string_view entry = pathValue.substr(start, end - start);
    if (entry.size() >= 2 && entry.front() == '"' && entry.back() == '"') {
      entry = entry.substr(1, entry.size() - 2);
    }
    if (!entry.empty()) folders.emplace_back(entry);
    start = end + 1;
  }
  return folders;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  if (!joined.empty() && !IsSeparator(joined.back()) && !(joined.size() == 2 && joined[1] == ':')) {
    joined.push_back('\\');
  }
  joined.append(name);
  return joined;
}

std::vector<std::string> FoldersInSearchOrder(const SearchFolders& folders) {
  std::vector<std::string> order;
  for (const std::string* folder : {&folders.programFolder, &folders.currentFolder,
                                    &folders.windowsFolder, &folders.systemFolder}) {
    if (!folder->empty()) order.push_back(*folder);
  }
  for (std::string& folder : SplitPathList(folders.pathVariable)) {
    order.push_back(std::move(folder));
  }
  return order;
}

std::optional<std::string> FindInSearchOrder(
    std::string_view name, const SearchFolders& folders,
    const std::function<bool(const std::string&)>& isFile) {
  if (name.empty()) return std::nullopt;
  std::string asGiven(name);
  if (HasFolderPart(name) && isFile(asGiven)) return asGiven;
  if (IsAbsolutePath(name)) return std::nullopt;
  for (const std::string& folder : FoldersInSearchOrder(folders)) {
    std::string candidate = JoinPath(folder, name);
    if (isFile(candidate)) return candidate;
  }
  return std::nullopt;
}

}  // namespace themecore
