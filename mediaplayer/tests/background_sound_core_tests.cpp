// The background sound's rules: the loop and the timer's decision.
#include <gtest/gtest.h>

#include <vector>

#include "core/background_sound.h"

namespace {

using namespace player;

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
