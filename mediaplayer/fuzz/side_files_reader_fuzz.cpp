// Fuzz target of the side-file readers, the extension runs and the
// placeholder rules: the input is every side file's bytes, and in halves a
// path and a text-table entry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/media_masks.h"
#include "core/path_placeholders.h"
#include "core/side_files.h"
#include "memory_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  fuzzing::MemoryFiles files(bytes);
  player::PictureSideFiles side = player::ReadSideFiles("C:\\Pics\\ab.jpg", files, true, 0);
  if (side.keywords.find('\0') != std::string::npos) std::abort();
  if (side.displayTimeMs < player::MIN_SIDE_DISPLAY_MS) std::abort();
  if (side.transitions.size() > player::MAX_SIDE_FILE_BYTES) std::abort();

  std::string first = bytes.substr(0, size / 2);
  std::string second = bytes.substr(size / 2);
  std::string run = player::MediaExtensionRun(first, second, true);
  int32_t position = player::MatchFileMask(second, run);
  if (position < 0 || static_cast<size_t>(position) > run.size()) std::abort();
  player::IsAudioItem(first, second);
  player::IsPictureItem(bytes);
  player::SideFileName(bytes, "kwd");
  std::string folder = player::UserDataFolderFromEntry(first, "C:\\Orb\\", second);
  if (!folder.empty() && folder.back() != '\\') std::abort();
  player::ExpandPlaceholders(bytes, {"C:\\Orb\\", "C:\\Docs\\", "C:\\Win\\", "C:\\Win\\Sys\\", "C:\\Tmp\\"});
  return 0;
}
