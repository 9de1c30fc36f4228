// Side files of a picture.
#include "side_files.h"

#include "core/path_names.h"
#include "core/text_rules.h"

namespace player {

namespace {

// The side file's bytes, "" when it is missing, unreadable or fails
// part-way (half a keyword list is not shown).
std::string SideFileText(const std::string& path, const PlayerFiles& files) {
  std::string bytes;
  bool cut = false;
  if (path.empty() || files.ReadFile(path, MAX_SIDE_FILE_BYTES, &bytes, &cut) != FileReadStatus::Read) {
    return std::string();
  }
  return bytes;
}

std::string KeywordsOf(std::string text) {
  size_t zero = text.find('\0');
  if (zero != std::string::npos) text.resize(zero);
  // Blanks, tabs and line ends around the words: an editor ends its file
  // with a line end.
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string SideFileName(const std::string& picture, const std::string& extension) {
  // A "." in a folder's name is not the picture's extension: "C:\a.b\pic"
  // has no side files, not "C:\a.kwd".
  if (suite::ExtensionOf(picture).empty()) return std::string();
  return suite::WithoutExtension(picture) + "." + extension;
}

PictureSideFiles ReadSideFiles(const std::string& picture, const PlayerFiles& files, bool moduleMode,
                               int32_t moduleDisplayTimeMs) {
  PictureSideFiles side;
  if (moduleMode) {
    std::string time = SideFileName(picture, "tim");
    int32_t ms = files.FileExists(time) ? suite::LeadingNumber(KeywordsOf(SideFileText(time, files)))
                                        : moduleDisplayTimeMs;
    side.displayTimeMs = ms < MIN_SIDE_DISPLAY_MS ? FALLBACK_SIDE_DISPLAY_MS : ms;
  }
  if (SideFileName(picture, "kwd").empty()) return side;
  side.keywords = KeywordsOf(SideFileText(SideFileName(picture, "kwd"), files));
  std::string sound = SideFileName(picture, "wav");
  if (files.FileExists(sound)) side.soundPath = sound;
  std::string document = SideFileName(picture, "doc");
  if (files.FileExists(document)) side.documentPath = document;
  side.transitions = SideFileText(SideFileName(picture, "sfx"), files);
  return side;
}

}  // namespace player
