// Native tests of the playback engine's decisions (core/playback_rules).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/playback_rules.h"

namespace player {
namespace {

TEST(PlaybackRules, ClipIsHeldToTheLength) {
  struct Case {
    const char* name;
    uint32_t from, to, length;
    uint32_t start, end;
  };
  const Case cases[] = {
      {"whole medium", 0, 0, 5000, 0, 5000},
      {"end beyond the length plays to the length", 1000, 9000, 5000, 1000, 5000},
      {"start beyond the length", 7000, 0, 5000, 5000, 5000},
      {"inner clip", 1000, 2000, 5000, 1000, 2000},
      {"no length", 100, 200, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClipRange clip = ClampClip(c.from, c.to, c.length);
    EXPECT_EQ(clip.start, c.start);
    EXPECT_EQ(clip.end, c.end);
  }
}

TEST(PlaybackRules, PercentOfTheClip) {
  struct Case {
    const char* name;
    uint32_t position, start, end;
    int32_t percent;
  };
  const Case cases[] = {
      {"start", 0, 0, 1000, 0},
      {"a third, integer part", 333, 0, 1000, 33},
      {"just before the end", 999, 0, 1000, 99},
      {"end", 1000, 0, 1000, 100},
      {"past the end", 1500, 0, 1000, 100},
      {"empty clip never advances", 500, 700, 700, 0},
      {"inner clip", 1500, 1000, 2000, 50},
      {"before the clip start does not wrap", 10, 1000, 2000, 0},
      {"large positions", 0xFFFFFFF0u, 0, 0xFFFFFFFFu, 99},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PlayPercent(c.position, ClipRange{c.start, c.end}), c.percent);
  }
}

TEST(PlaybackRules, AudioPercentReadsOnlyAStoppedStreamAsFinished) {
  struct Case {
    const char* name;
    AudioProgress progress;
    int32_t percent;
  };
  const ClipRange clip{0, 4000};
  const Case cases[] = {
      {"playing at position 0 has just begun", {0, false, true, false, false, 4000}, 0},
      {"playing half way", {2000, false, true, false, false, 4000}, 50},
      {"stopped file stream is done", {1200, true, true, false, false, 4000}, 100},
      {"stopped tracker module, new library", {1200, true, false, true, true, 4000}, 100},
      {"stopped tracker module, old library", {1200, true, false, true, false, 4000}, 100},
      {"stopped stream of unknown length", {1200, true, false, false, false, 0}, 100},
      {"stopped other stream keeps its position", {1200, true, false, false, false, 4000}, 30},
      {"stopped other stream at 0 is at the end", {0, true, false, false, false, 4000}, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(AudioPlayPercent(c.progress, clip), c.percent);
  }
}

TEST(PlaybackRules, SeekGoesToTheRoundedShareOfTheClip) {
  struct Case {
    int32_t percent;
    uint32_t start, end, position;
  };
  const Case cases[] = {
      {0, 0, 1000, 0},     {50, 0, 1000, 500},   {100, 0, 1000, 1000}, {33, 0, 999, 330},
      {50, 1000, 2001, 1501}, {150, 0, 1000, 1000}, {-5, 200, 1000, 200}, {50, 700, 700, 700},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.percent) + " of " + std::to_string(c.start) + ".." + std::to_string(c.end));
    EXPECT_EQ(SeekPosition(c.percent, ClipRange{c.start, c.end}), c.position);
  }
}

TEST(PlaybackRules, UnmuteRestoresTheSavedVolumeOr50) {
  const std::pair<int32_t, int32_t> cases[] = {{0, 50}, {-1, 50}, {1, 1}, {73, 73}, {100, 100}, {250, 100}};
  for (const auto& [saved, restored] : cases) {
    SCOPED_TRACE(saved);
    EXPECT_EQ(VolumeAfterUnmute(saved), restored);
  }
}

TEST(PlaybackRules, StepsWrapRoundTheList) {
  struct Case {
    int32_t index, count, direction, expected;
  };
  const Case cases[] = {{1, 3, 1, 2}, {3, 3, 1, 1}, {1, 3, -1, 3}, {2, 3, -1, 1}, {0, 0, 1, 0}, {1, 1, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.index) + "/" + std::to_string(c.count) + " " + std::to_string(c.direction));
    EXPECT_EQ(SteppedIndex(c.index, c.count, c.direction), c.expected);
  }
}

TEST(PlaybackRules, PicturePositionsAndSeeks) {
  EXPECT_EQ(PictureTrackPosition(1, 4), 13);  // 25 - 12.5, rounded
  EXPECT_EQ(PictureTrackPosition(4, 4), 88);
  EXPECT_EQ(PictureTrackPosition(1, 1), 50);
  EXPECT_EQ(PictureTrackPosition(1, 0), 0);
  EXPECT_EQ(SeekPictureIndex(0, 4), 1);
  EXPECT_EQ(SeekPictureIndex(50, 4), 2);
  EXPECT_EQ(SeekPictureIndex(63, 4), 3);
  EXPECT_EQ(SeekPictureIndex(100, 4), 4);
  EXPECT_EQ(SeekPictureIndex(100, 0), 0);
}

TEST(PlaybackRules, SinglePassStopsAfterTheLastPicture) {
  // Three pictures: the first shows with counter 1; "next" twice shows the
  // others, the third "next" stops the show.
  SinglePassStep step{1, false};
  int32_t index = 1;
  for (int32_t shown = 2; shown <= 3; ++shown) {
    step = CountSinglePass(step.counter, index, 3);
    EXPECT_FALSE(step.stopShow) << shown;
    index = SteppedIndex(index, 3, 1);
  }
  step = CountSinglePass(step.counter, index, 3);
  EXPECT_TRUE(step.stopShow);
  EXPECT_EQ(step.counter, 1);
  // Off: never stops.
  step = CountSinglePass(0, 3, 3);
  EXPECT_FALSE(step.stopShow);
  EXPECT_EQ(step.counter, 0);
}

TEST(PlaybackRules, EndOfItemMovesOnRepeatsOrCloses) {
  struct Case {
    const char* name;
    int32_t index, count;
    bool repeat;
    EndOfItem action;
    int32_t newIndex;
  };
  const Case cases[] = {
      {"first of two moves on", 1, 2, false, EndOfItem::NextItem, 1},
      {"first of two moves on, repeat or not", 1, 2, true, EndOfItem::NextItem, 1},
      {"last without repeat closes", 2, 2, false, EndOfItem::Close, 2},
      {"last with repeat wraps to 1", 2, 2, true, EndOfItem::Repeat, 1},
      {"single item with repeat", 0, 1, true, EndOfItem::Repeat, 1},
      {"single item without repeat closes", 0, 1, false, EndOfItem::Close, 0},
      {"empty list with repeat", 0, 0, true, EndOfItem::Repeat, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EndOfItemDecision decision = DecideEndOfItem(c.index, c.count, c.repeat);
    EXPECT_EQ(decision.action, c.action);
    EXPECT_EQ(decision.index, c.newIndex);
  }
}

TEST(PlaybackRules, AudioLibraryTakesTheAudioPatterns) {
  const std::string patterns = "*.mp3;*.WAV;*.ogg";
  struct Case {
    const char* path;
    bool available, noAudioLibrary, expected;
  };
  const Case cases[] = {
      {"C:\\music\\a.wav", true, false, true},
      {"C:\\music\\A.MP3", true, false, true},
      {"C:\\music\\a.wav", false, false, false},
      {"C:\\music\\a.wav", true, true, false},
      {"C:\\film\\a.avi", true, false, false},
      {"C:\\music.wav\\a", true, false, false},
      {"C:\\music\\a.mp", true, false, false},  // ".mp." is not inside ".mp3."
      {"C:\\music\\noext", true, false, false},
      {"C:\\music\\dot.", true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(PlaysThroughAudioLibrary(c.path, patterns, c.available, c.noAudioLibrary), c.expected);
  }
}

TEST(PlaybackRules, VersionAndMeterScale) {
  EXPECT_TRUE(VersionAbove1_6("2.0"));
  EXPECT_TRUE(VersionAbove1_6("1.7"));
  EXPECT_FALSE(VersionAbove1_6("1.6"));
  EXPECT_FALSE(VersionAbove1_6(""));

  struct Case {
    uint32_t level;
    int32_t left, right;
  };
  const Case cases[] = {
      {0, 0, 0},
      {128u | (64u << 16), 128, 64},
      {32u | (128u << 16), 32, 128},
      {0xFFFFu | (0x9000u << 16), 128, 128},  // held at full scale
      {0xFFFFFFFFu, 0, 0},                   // nothing plays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    MeterLevels levels = MeterLevelsOf(c.level);
    EXPECT_EQ(levels.left, c.left);
    EXPECT_EQ(levels.right, c.right);
  }
}

TEST(PlaybackRules, TitlesAndTexts) {
  EXPECT_EQ(PlayingTitle("Orb Play", "C:\\clips\\a b.wav"), "Orb Play - a b.wav");
  EXPECT_EQ(PlayingTitle("Orb Play", "http://host/x.mp3"), "Orb Play - x.mp3");
  EXPECT_EQ(PlaybackFailureText("Error # (#) opening ", "C:\\a#1.avi", -7),
            "Error -7 (-7) opening C:\\a#1.avi");
  EXPECT_FALSE(SeekAllowedForTitle("Orb Play - TITLE.VOB"));
  EXPECT_FALSE(SeekAllowedForTitle("x.vob"));
  EXPECT_TRUE(SeekAllowedForTitle("Orb Play - a.avi"));
  EXPECT_TRUE(SeekAllowedForTitle("vob"));
}

}  // namespace
}  // namespace player

TEST(PlaybackRules, FrameTargetTakesTheBitmapExtension) {
  const struct {
    const char* chosen;
    const char* target;
  } cases[] = {
      {"C:\\pics\\shot.jpg", "C:\\pics\\shot.bmp"},
      {"C:\\pics\\shot", "C:\\pics\\shot.bmp"},
      {"C:\\pics\\my.trip.frame.BMP", "C:\\pics\\my.trip.frame.bmp"},
      {"C:\\my.pics\\shot", "C:\\my.pics\\shot.bmp"},
      {"C:\\pics\\", ""},
      {"C:\\pics\\.jpg", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(player::FrameTargetPath(c.chosen), c.target) << c.chosen;
}
