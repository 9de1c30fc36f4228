// Splitting texts and paths; see split.h.
#include "split.h"

namespace themecore {

std::vector<std::string> SplitAtSeparator(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  if (separator.empty()) {
    parts.emplace_back(text);
    return parts;
  }
  size_t start = 0;
  for (;;) {
    size_t found = text.find(separator, start);
    if (found == std::string_view::npos) {
      parts.emplace_back(text.substr(start));
      return parts;
    }
    parts.emplace_back(text.substr(start, found - start));
    start = found + separator.size();
  }
}

PathParts SplitPath(std::string_view path) {
  size_t slash = path.find_last_of("\\/");
  if (slash == std::string_view::npos) return PathParts{std::string(), std::string(path)};
  return PathParts{std::string(path.substr(0, slash + 1)), std::string(path.substr(slash + 1))};
}

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The length of the part of `path` that is never created: a drive, a root,
// or a UNC server and share with the separator after them.
size_t FixedPrefixLength(std::string_view path) {
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // \\server\share: skip two names.
    size_t position = 2;
    for (int name = 0; name < 2; ++name) {
      while (position < path.size() && !IsSeparator(path[position])) ++position;
      if (name == 0 && position < path.size()) ++position;
    }
    return position;
  }
  size_t position = 0;
  bool isDrive = path.size() >= 2 && path[1] == ':' &&
                 ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (isDrive) position = 2;
  return position;
}

}  // namespace

std::vector<std::string> FolderChain(std::string_view path) {
  std::vector<std::string> chain;
  size_t position = FixedPrefixLength(path);
  while (position < path.size()) {
    while (position < path.size() && IsSeparator(path[position])) ++position;
    if (position >= path.size()) break;
    while (position < path.size() && !IsSeparator(path[position])) ++position;
    chain.emplace_back(path.substr(0, position));
  }
  return chain;
}

}  // namespace themecore
