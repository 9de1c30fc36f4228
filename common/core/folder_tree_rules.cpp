// The folder tree control's portable rules (see folder_tree_rules.h).
#include "core/folder_tree_rules.h"

#include <algorithm>

namespace suite::folder_tree {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string TakePathArgument(const char* text, int64_t length, bool* valid) {
  *valid = text != nullptr && length >= 0;
  if (!*valid) return {};
  size_t taken = 0;
  while (static_cast<int64_t>(taken) < length && text[taken] != '\0') ++taken;
  size_t begin = 0;
  size_t end = taken;
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return std::string(text + begin, end - begin);
}

std::string WithOneTrailingBackslash(const std::string& path) {
  if (path.empty()) return path;
  size_t end = path.size();
  while (end > 0 && path[end - 1] == '\\') --end;
  return path.substr(0, end) + "\\";
}

bool HasDoubleBackslash(const std::string& path) { return path.find("\\\\") != std::string::npos; }

bool IsListedChildFolder(const std::string& name, bool isDirectory) {
  return isDirectory && !name.empty() && name[0] != '.';
}

bool IsReachableFolderPath(const std::string& pathWithBackslash) {
  return !pathWithBackslash.empty() && pathWithBackslash.size() <= kMaxFolderPathBytes;
}

int CompareNoCaseAscii(const std::string& a, const std::string& b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const unsigned char left = FoldAscii(static_cast<unsigned char>(a[i]));
    const unsigned char right = FoldAscii(static_cast<unsigned char>(b[i]));
    if (left != right) return left < right ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

void SortFolderPaths(std::vector<std::string>* paths) {
  std::stable_sort(paths->begin(), paths->end(), [](const std::string& a, const std::string& b) {
    return CompareNoCaseAscii(a, b) < 0;
  });
}

std::vector<std::string> ChildFolderPaths(const std::string& folder,
                                          const std::vector<DirectoryEntry>& entries) {
  const std::string base = WithOneTrailingBackslash(folder);
  std::vector<std::string> paths;
  for (const DirectoryEntry& entry : entries) {
    if (!IsListedChildFolder(entry.name, entry.isDirectory)) continue;
    std::string path = base + entry.name + "\\";
    if (IsReachableFolderPath(path)) paths.push_back(std::move(path));
  }
  SortFolderPaths(&paths);
  return paths;
}

bool IsListedDriveType(uint32_t driveType, int32_t fillFlag) {
  if (driveType == 5) return fillFlag != -2;
  return driveType >= 2 && driveType <= 6;
}

size_t PathCopyCount(int64_t bufferSize, size_t pathLength) {
  if (bufferSize < 1) return 0;
  return std::min(static_cast<size_t>(bufferSize), pathLength);
}

bool AllowsHoverExpand(const std::string& path) {
  return !path.empty() && static_cast<unsigned char>(path[0]) > 'B';
}

ScrollDecision DecideAutoScroll(int32_t x, int32_t y, int32_t clientWidth, int32_t clientHeight,
                                int32_t bandHeight) {
  const bool insideX = x >= 0 && x < clientWidth;
  const bool insideY = y >= 0 && y < clientHeight;
  if (insideX && insideY) {
    if (y < bandHeight) return {ScrollAction::kLineUp, kSlowScrollMs};
    if (y >= clientHeight - bandHeight) return {ScrollAction::kLineDown, kSlowScrollMs};
    return {ScrollAction::kStop, 0};
  }
  if (y < 0) return {ScrollAction::kLineUp, kFastScrollMs};
  if (y >= clientHeight) return {ScrollAction::kLineDown, kFastScrollMs};
  return {ScrollAction::kUnchanged, 0};
}

}  // namespace suite::folder_tree
