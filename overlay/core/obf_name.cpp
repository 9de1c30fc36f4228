// Sidecar names; see obf_name.h.
#include "obf_name.h"

#include "core/path_names.h"

namespace overlay {

std::string ObfFileNamePart(const std::string& path) { return suite::FileNameOf(path); }

std::string ObfSidecarPath(const std::string& picturePath) {
  if (picturePath.empty()) return "";
  return suite::WithoutExtension(picturePath) + ".obf";
}

}  // namespace overlay
