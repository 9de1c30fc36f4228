// The background sound's list, loop and routing rules.
#include "core/background_sound.h"

#include <algorithm>
#include <cctype>

#include "core/list_file.h"
#include "core/path_placeholders.h"

namespace player {

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string ReplaceEvery(std::string text, const std::string& token, const std::string& value) {
  for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + value.size())) {
    text.replace(at, token.size(), value);
  }
  return text;
}

}  // namespace

std::vector<std::string> ReadSoundList(std::string_view bytes, bool lastLineCut,
                                       const std::string& slideShowFolder,
                                       const std::function<bool(const std::string&)>& exists) {
  std::vector<std::string> sounds;
  suite::ListLines lines(bytes, lastLineCut);
  std::string_view line;
  while (lines.Next(&line)) {
    std::string path = ExpandProgramFolder(suite::TrimLine(line), slideShowFolder);
    if (!path.empty() && exists(path)) sounds.push_back(path);
  }
  return sounds;
}

size_t NextSoundPosition(size_t position, size_t count) {
  if (count == 0) return 0;
  return position >= count ? 1 : position + 1;
}

bool IsAudioLibrarySound(const std::string& path, const std::string& extensions) {
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || path.find_first_of("\\/", dot) != std::string::npos) return false;
  std::string list = ReplaceEvery(Lower(extensions), ";*", "") + ".";
  if (!list.empty() && list.front() == '*') list.erase(0, 1);
  return list.find(Lower(path.substr(dot)) + ".") != std::string::npos;
}

bool SoundHasEnded(const SoundProgress& progress) {
  switch (progress.kind) {
    case SOUND_AUDIO:
      return !progress.channelActive;
    case SOUND_IMAGING:
      return progress.position >= progress.length || !progress.isPlaying;
    default:
      return true;
  }
}

}  // namespace player
