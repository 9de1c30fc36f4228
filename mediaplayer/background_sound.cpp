// The background sound of slide shows: a list of sounds played one after
// the other behind the pictures, through the audio library when it takes
// the format and otherwise through a multimedia object of the imaging
// library (not the playback engine's), checked by the sound timer.  The
// loop rules are core/background_sound.h.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "core/background_sound.h"
#include "core/list_file.h"
#include "core/media_masks.h"
#include "core/player_files.h"
#include "imaging.h"
#include "player_parts.h"
#include "player_state.h"
#include "thread_timer.h"
#include "tonelink.h"

namespace player {

namespace {

constexpr size_t T_AUDIO_EXTENSIONS = 88;

struct BackgroundSound {
  std::string listFile;
  int32_t volume = 100;
  int32_t intervalMs = 1000;
  std::vector<std::string> sounds;
  size_t position = 0;  // 1-based; 0 with no list
  int32_t kind = SOUND_NONE;
  int32_t channel = 0;
  L_HMM media = nullptr;
};

BackgroundSound& Sound() {
  static BackgroundSound sound;
  return sound;
}

// Stops what plays, then starts `path` (nothing for an empty path); the
// kind that plays it.
int32_t PlayBackgroundSound(const std::string& path) {
  PlayerState& p = Player();
  BackgroundSound& s = Sound();
  if (s.kind == SOUND_AUDIO && s.channel != 0) BASSCLOSECHANNEL(s.channel);
  if (s.media != nullptr) L_MMFree(s.media);
  s.media = nullptr;
  s.channel = 0;
  s.kind = SOUND_NONE;
  if (path.empty()) return s.kind;
  if (p.audioAvailable && IsAudioItem(path, p.texts.entry(T_AUDIO_EXTENSIONS)) &&
      BASSOPEN(0, path.c_str()) == 0 && BASSPLAY(0, 0) == 0) {
    s.channel = BASSHANDLEINUSE();
    // Frequency and panning stay as they are.
    BASSCHANNELSETATTRIBUTES(s.channel, -1, s.volume, -101);
    s.kind = SOUND_AUDIO;
    return s.kind;
  }
  L_HMM media = nullptr;
  if (L_MMInit(&media) != 1 || media == nullptr) return s.kind;
  L_MMSetVolume(media, s.volume);
  L_MMLoad(media, path.c_str(), 0);
  L_MMMarkClip(media, -1, -1);
  if (L_MMPlay(media, nullptr) == 1) {
    s.media = media;
    s.kind = SOUND_IMAGING;
  } else {
    L_MMFree(media);
  }
  return s.kind;
}

void StartList() {
  PlayerState& p = Player();
  BackgroundSound& s = Sound();
  s.position = 0;
  s.sounds.clear();
  StdPlayerFiles files;
  std::string bytes;
  bool isCut = false;
  if (files.ReadFile(s.listFile, suite::MAX_LIST_FILE_BYTES, &bytes, &isCut) == FileReadStatus::Missing) return;
  // Lines trimmed, "@path@" the slide show's folder; sounds that are gone
  // are left out.
  for (std::string& path : suite::ReadListEntries(bytes, p.slideShowFolder, isCut)) {
    if (files.FileExists(path)) s.sounds.push_back(std::move(path));
  }
  if (s.sounds.empty()) return;
  s.position = 1;
  PlayBackgroundSound(s.sounds.front());
  p.soundTimer = StartThreadTimer(static_cast<UINT>(s.intervalMs > 0 ? s.intervalMs : 1000));
}

SoundProgress Progress() {
  BackgroundSound& s = Sound();
  SoundProgress progress;
  progress.kind = s.kind;
  if (s.kind == SOUND_AUDIO) progress.channelActive = BASSUSECHANNELISACTIVE(s.channel) != 0;
  if (s.kind == SOUND_IMAGING && s.media != nullptr) {
    L_MMGetCurrentPos(s.media, &progress.position);
    L_MMGetLength(s.media, &progress.length);
    progress.isPlaying = L_MMIsPlaying(s.media) != 0;
  }
  return progress;
}

}  // namespace

void StartBackgroundSound(const std::string& soundList, int32_t volume, int32_t intervalMs) {
  StopBackgroundSound();
  BackgroundSound& s = Sound();
  s.listFile = soundList;
  s.volume = volume;
  s.intervalMs = intervalMs;
  StartList();
}

void StopBackgroundSound() {
  KillThreadTimer(Player().soundTimer);
  PlayBackgroundSound("");
}

// The sound timer's check: the next entry once the current one is over.
void RepeatBackgroundSound() {
  BackgroundSound& s = Sound();
  if (s.sounds.empty()) return;
  if (!SoundHasEnded(Progress())) return;
  PlayBackgroundSound("");
  s.position = NextSoundPosition(s.position, s.sounds.size());
  PlayBackgroundSound(s.sounds[s.position - 1]);
}

}  // namespace player
