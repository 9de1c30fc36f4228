// The background sound's rules: the list file, the loop, the routing by
// extension and the timer's decision.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/background_sound.h"

namespace {

using namespace player;

TEST(BackgroundSound, ListKeepsExistingFilesWithTheFolderFilledIn) {
  const std::set<std::string> present = {"C:\\show\\one.wav", "C:\\show\\sub\\two.mp3", "D:\\three.mid"};
  auto exists = [&](const std::string& path) { return present.count(path) != 0; };
  struct Case {
    const char* name;
    std::string bytes;
    bool lastLineCut;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"placeholders, blanks and missing files", "@path@one.wav\r\n  @path@sub\\two.mp3 \r\n@path@gone.wav\r\n\r\nD:\\three.mid",
       false, {"C:\\show\\one.wav", "C:\\show\\sub\\two.mp3", "D:\\three.mid"}},
      {"nothing there", "x.wav\nmissing.mp3\n", false, {}},
      {"empty file", "", false, {}},
      {"a cut last line is not a sound", "@path@one.wav\nD:\\three.mi", true, {"C:\\show\\one.wav"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, ReadSoundList(c.bytes, c.lastLineCut, "C:\\show\\", exists));
  }
}

TEST(BackgroundSound, LoopGoesRoundTheList) {
  // Two sounds: 1, 2, 1, 2 ...
  size_t position = 1;
  std::vector<size_t> seen = {position};
  for (int i = 0; i < 3; ++i) seen.push_back(position = NextSoundPosition(position, 2));
  EXPECT_EQ((std::vector<size_t>{1, 2, 1, 2}), seen);
  EXPECT_EQ(1u, NextSoundPosition(1, 1));
  EXPECT_EQ(0u, NextSoundPosition(0, 0));
  EXPECT_EQ(1u, NextSoundPosition(7, 3));  // past the end of a list that shrank
}

TEST(BackgroundSound, ExtensionsRouteToTheAudioLibrary) {
  struct Case {
    const char* path;
    const char* extensions;
    bool audio;
  };
  const Case cases[] = {
      {"C:\\a\\song.MP3", "*.mp3;*.wav", true},
      {"C:\\a\\song.wav", "*.mp3;*.wav", true},
      {"C:\\a\\tune.mid", "*.mp3;*.wav", false},
      {"C:\\a\\song.mp", "*.mp3;*.wav", false},       // a part of an extension is not one
      {"C:\\a\\song.p3", "*.mp3;*.wav", false},
      {"C:\\a.mp3\\noextension", "*.mp3;*.wav", false},
      {"C:\\a\\song.ogg", "*.MP3;*.OGG", true},
      {"C:\\a\\song.wav", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " in " + c.extensions);
    EXPECT_EQ(c.audio, IsAudioLibrarySound(c.path, c.extensions));
  }
}

TEST(BackgroundSound, TimerMovesOnWhenTheSoundIsOver) {
  struct Case {
    const char* name;
    SoundProgress progress;
    bool ended;
  };
  const Case cases[] = {
      {"nothing plays", {SOUND_NONE, false, 0, 0, false}, true},
      {"channel active", {SOUND_AUDIO, true, 0, 0, false}, false},
      {"channel over", {SOUND_AUDIO, false, 0, 0, false}, true},
      {"imaging, playing mid-way", {SOUND_IMAGING, false, 10, 100, true}, false},
      {"imaging, at its end", {SOUND_IMAGING, false, 100, 100, true}, true},
      {"imaging, stopped short of its end", {SOUND_IMAGING, false, 97, 100, false}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.ended, SoundHasEnded(c.progress));
  }
}

}  // namespace
