// Sidecar names; see obf_name.h.
#include "obf_name.h"

namespace overlay {

namespace {

size_t FileNameStart(const std::string& path) {
  const size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? 0 : separator + 1;
}

}  // namespace

std::string ObfFileNamePart(const std::string& path) { return path.substr(FileNameStart(path)); }

std::string ObfSidecarPath(const std::string& picturePath) {
  if (picturePath.empty()) return "";
  const size_t nameStart = FileNameStart(picturePath);
  const size_t dot = picturePath.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return picturePath + ".obf";
  return picturePath.substr(0, dot) + ".obf";
}

}  // namespace overlay
