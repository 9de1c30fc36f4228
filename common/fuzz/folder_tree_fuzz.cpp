// Fuzz target for the folder tree's handling of foreign path texts: the
// first 4 bytes are the announced length (a private message's wParam), the
// rest the caller's bytes.  The text taken must lie inside both, and the
// folder rules applied to it must keep their promises.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/folder_tree_rules.h"

namespace ft = suite::folder_tree;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  int32_t announced;
  std::memcpy(&announced, data, 4);
  // The caller's bytes in a block of their own, so any over-read is caught.
  std::vector<char> bytes(data + 4, data + size);
  bytes.push_back('\0');  // a caller's text always ends somewhere
  const int64_t length = std::min<int64_t>(announced, static_cast<int64_t>(bytes.size()));

  bool valid = false;
  std::string text = ft::TakePathArgument(bytes.data(), length, &valid);
  if (valid != (length >= 0)) std::abort();
  if (text.size() > static_cast<size_t>(length < 0 ? 0 : length)) std::abort();
  if (text.find('\0') != std::string::npos) std::abort();
  if (!text.empty() && (text.front() == ' ' || text.back() == ' ')) std::abort();

  std::string folder = ft::WithOneTrailingBackslash(text);
  if (!text.empty() && (folder.back() != '\\' || (folder.size() > 1 && folder[folder.size() - 2] == '\\')))
    std::abort();

  // Split the text at "/" into directory entries of that folder.
  std::vector<ft::DirectoryEntry> entries;
  for (size_t start = 0; start <= text.size();) {
    size_t slash = text.find('/', start);
    size_t end = slash == std::string::npos ? text.size() : slash;
    entries.push_back({text.substr(start, end - start), (end - start) % 2 == 0});
    start = end + 1;
  }
  std::vector<std::string> paths = ft::ChildFolderPaths(folder, entries);
  for (size_t i = 0; i < paths.size(); ++i) {
    if (!ft::IsReachableFolderPath(paths[i])) std::abort();
    if (i > 0 && ft::CompareNoCaseAscii(paths[i - 1], paths[i]) > 0) std::abort();
  }
  if (ft::PathCopyCount(announced, text.size()) > text.size()) std::abort();
  return 0;
}
