// A picture's keyword file and the caption made from it: any bytes give a
// status text and keyword that are parts of the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/picture_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const paint::Keywords keywords = paint::ParseKeywordFile(bytes);
  if (keywords.status.size() > size || keywords.caption.size() > size) std::abort();
  if (keywords.status.find('\0') != std::string::npos || keywords.caption.find('\0') != std::string::npos) std::abort();
  if (bytes.compare(0, keywords.status.size(), keywords.status) != 0) std::abort();
  paint::PictureInfo info;
  info.fileName = bytes;
  paint::PictureInfoText(info, keywords.caption, keywords.status);
  return 0;
}
