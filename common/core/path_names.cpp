// The parts of a Windows path; see path_names.h.
#include "core/path_names.h"

#include "core/text_rules.h"

namespace suite {

size_t FileNameStart(const std::string& path) {
  const size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? 0 : separator + 1;
}

std::string FileNameOf(const std::string& path) { return path.substr(FileNameStart(path)); }

std::string FolderOf(const std::string& path) { return path.substr(0, FileNameStart(path)); }

std::string ExtensionOf(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < FileNameStart(path)) return std::string();
  return path.substr(dot);
}

std::string WithoutExtension(const std::string& path) {
  return path.substr(0, path.size() - ExtensionOf(path).size());
}

std::string WithoutFinalBackslash(std::string path) {
  while (!path.empty() && path.back() == '\\') {
    if (path.size() == 3 && path[1] == ':') break;
    path.pop_back();
  }
  return path;
}

std::string WithFinalBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path.push_back('\\');
  return path;
}

std::string BasePath(const std::string& folder, const std::string& exeName) {
  return folder + WithoutExtension(FileNameOf(exeName));
}

std::string NameBeforeFirstDot(const std::string& fileName) {
  return fileName.substr(0, fileName.find('.'));
}

bool IsSameOrInsideFolder(const std::string& source, const std::string& folder) {
  std::string from = LowerAscii(source);
  std::string to = LowerAscii(folder);
  while (!from.empty() && from.back() == '\\') from.pop_back();
  while (!to.empty() && to.back() == '\\') to.pop_back();
  if (from.empty()) return false;
  if (to == from) return true;
  return to.size() > from.size() && to.compare(0, from.size(), from) == 0 && to[from.size()] == '\\';
}

}  // namespace suite
