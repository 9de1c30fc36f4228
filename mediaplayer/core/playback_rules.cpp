// The playback engine's decisions (see playback_rules.h).
#include "core/playback_rules.h"

#include "core/media_masks.h"
#include "core/path_names.h"
#include "core/text_rules.h"

#include <algorithm>
#include <cstdlib>

namespace player {

namespace {

}  // namespace

ClipRange ClampClip(uint32_t from, uint32_t to, uint32_t length) {
  ClipRange clip;
  clip.start = std::min(from, length);
  clip.end = std::min(to, length);
  if (clip.end == 0) clip.end = length;
  return clip;
}

int32_t PlayPercent(uint32_t position, const ClipRange& clip) {
  int64_t range = static_cast<int64_t>(clip.end) - clip.start;
  if (range <= 0) return 0;
  int64_t played = static_cast<int64_t>(position) - clip.start;
  if (played <= 0) return 0;
  int64_t percent = played * 100 / range;
  return static_cast<int32_t>(std::min<int64_t>(percent, 100));
}

int32_t AudioPlayPercent(const AudioProgress& progress, const ClipRange& clip) {
  uint32_t position = progress.position;
  if (progress.ended) {
    if (progress.fileStream) {
      position = 0;
    } else if (progress.trackerModule) {
      if (progress.versionAbove1_6) return 100;
      position = 0;
    } else if (progress.length == 0) {
      return 100;
    }
    // A stream that has stopped at 0 has played to its end.
    if (position == 0) position = progress.length;
  }
  return PlayPercent(position, clip);
}

uint32_t SeekPosition(int32_t percent, const ClipRange& clip) {
  int64_t p = std::clamp<int64_t>(percent, 0, 100);
  int64_t range = std::max<int64_t>(static_cast<int64_t>(clip.end) - clip.start, 0);
  return static_cast<uint32_t>(clip.start + (p * range + 50) / 100);
}

int32_t VolumeAfterUnmute(int32_t savedVolume) {
  if (savedVolume <= 0) return 50;
  return std::min(savedVolume, 100);
}

int32_t SteppedIndex(int32_t index, int32_t count, int32_t direction) {
  if (count < 1) return 0;
  int64_t next = static_cast<int64_t>(index) + (direction < 0 ? -1 : 1);
  if (next < 1) return count;
  if (next > count) return 1;
  return static_cast<int32_t>(next);
}

int32_t PictureTrackPosition(int32_t index, int32_t count) {
  if (count < 1) return 0;
  double share = 100.0 / count;
  double position = share * index - share / 2;
  return static_cast<int32_t>(std::clamp(position + 0.5, 0.0, 100.0));
}

int32_t SeekPictureIndex(int32_t percent, int32_t count) {
  if (count < 1) return 0;
  int64_t p = std::clamp<int64_t>(percent, 0, 100);
  int64_t index = (p * count + 50) / 100;
  return static_cast<int32_t>(std::clamp<int64_t>(index, 1, count));
}

SinglePassStep CountSinglePass(int32_t counter, int32_t index, int32_t count) {
  SinglePassStep step;
  step.counter = counter;
  if (counter == 0) return step;
  step.counter = counter + 1;
  if (step.counter > count && index >= count) {
    step.stopShow = true;
    step.counter = 1;
  }
  return step;
}

EndOfItemDecision DecideEndOfItem(int32_t index, int32_t count, bool repeatChecked) {
  EndOfItemDecision decision;
  decision.index = index;
  if (count > 1 && index < count) {
    decision.action = EndOfItem::NextItem;
  } else if (repeatChecked) {
    decision.action = EndOfItem::Repeat;
    if (index >= count || index < 1) decision.index = 1;
  } else {
    decision.action = EndOfItem::Close;
  }
  return decision;
}

bool PlaysThroughAudioLibrary(const std::string& path, const std::string& audioPatterns,
                              bool audioLibraryAvailable, bool noAudioLibrary) {
  return audioLibraryAvailable && !noAudioLibrary && IsAudioItem(path, audioPatterns);
}

bool VersionAbove1_6(const std::string& versionText) {
  return std::strtod(versionText.c_str(), nullptr) > 1.6;
}

MeterLevels MeterLevelsOf(uint32_t libraryLevel) {
  MeterLevels levels;
  if (libraryLevel == 0xFFFFFFFFu) return levels;
  levels.left = std::min<int32_t>(static_cast<int32_t>(libraryLevel & 0xFFFF), METER_FULL_SCALE);
  levels.right = std::min<int32_t>(static_cast<int32_t>(libraryLevel >> 16), METER_FULL_SCALE);
  return levels;
}

std::string PlayingTitle(const std::string& title, const std::string& item) {
  return title + " - " + suite::FileNameOf(item);
}

std::string PlaybackFailureText(const std::string& text, const std::string& item, int32_t result) {
  return suite::ReplaceAll(text, "#", std::to_string(result)) + item;
}

bool SeekAllowedForTitle(const std::string& windowTitle) {
  const std::string suffix = ".vob";
  if (windowTitle.size() < suffix.size()) return true;
  return !suite::EndsWithNoCase(windowTitle, suffix);
}

std::string FrameTargetPath(const std::string& chosen) {
  const size_t separator = chosen.find_last_of("\\/");
  const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
  if (nameStart >= chosen.size()) return std::string();
  const size_t dot = chosen.rfind('.');
  const size_t stemEnd = dot == std::string::npos || dot < nameStart ? chosen.size() : dot;
  if (stemEnd == nameStart) return std::string();
  return chosen.substr(0, stemEnd) + ".bmp";
}

}  // namespace player
