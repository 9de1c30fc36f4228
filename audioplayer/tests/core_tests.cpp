// Native tests of the audio player's portable rules: the command line, the
// start item, the forwarded batch, the settings line and the pane's place,
// and the playback decisions.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "core/audio_command_line.h"
#include "core/audio_rules.h"
#include "core/audio_settings.h"
#include "core/text_rules.h"

namespace audio {
namespace {

TEST(AudioCommandLine, ParseCommandLine) {
  struct Case {
    const char* name;
    const char* text;
    const char* items;
    bool multi;
  };
  const Case cases[] = {
      {"empty line", "", "", false},
      {"one plain path", "C:\\music\\one.wav", "C:\\music\\one.wav", false},
      {"two quoted paths with blanks", "\"C:\\my music\\one.wav\" \"D:\\more music\\two.wav\"",
       "C:\\my music\\one.wav|D:\\more music\\two.wav", true},
      {"two full paths, the first with a blank", "C:\\my music\\one.wav D:\\two.wav",
       "C:\\my music\\one.wav|D:\\two.wav", true},
      {"a path with a blank and a bare name stays one item", "C:\\my music\\one.wav two.wav",
       "C:\\my music\\one.wav two.wav", false},
      {"a quoted name then unquoted text: blanks kept", "\"C:\\a b\\one.wav\" x y.wav",
       "C:\\a b\\one.wav x y.wav", false},
      {"a trailing quoted name lets blanks separate", "C:\\one.wav \"C:\\a b\\two.wav\"",
       "C:\\one.wav|C:\\a b\\two.wav", true},
      {"three quoted names", "\"C:\\a\" \"C:\\b c\" \"C:\\d\"", "C:\\a|C:\\b c|C:\\d", true},
      {"unmatched quote: dropped, the rest as one text", "\"C:\\a b\\one.wav", "C:\\a b\\one.wav", false},
      {"unmatched quote after a pair: the drive still splits", "\"C:\\a.wav\" \"C:\\b c.wav",
       "C:\\a.wav|C:\\b c.wav", true},
      {"blank at the end before a drive letter too short", "C:\\one.wav D", "C:\\one.wav D", false},
      {"blank and drive without backslash", "C:\\one.wav D:", "C:\\one.wav D:", false},
      {"blank at the very end after quotes", "\"C:\\x.wav\" ", "C:\\x.wav ", false},
      {"blank and a lone letter at the end", "C:\\one.wav C", "C:\\one.wav C", false},
      {"empty quotes", "\"\"", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ParsedLine parsed = ParseCommandLine(c.text);
    EXPECT_EQ(parsed.itemList, c.items);
    EXPECT_EQ(parsed.multiItem, c.multi);
  }
}

TEST(AudioCommandLine, StartItem) {
  const std::map<std::string, std::string> lists = {{"C:\\lists\\mix.M3U", "C:\\a.wav|C:\\b.wav|C:\\c.wav"}};
  auto read = [&lists](const std::string& path) {
    auto found = lists.find(path);
    return found == lists.end() ? std::string() : found->second;
  };
  struct Case {
    const char* name;
    const char* text;
    bool multi;
    const char* found;
    const char* list;
    int32_t count, index;
    const char* item;
  };
  const Case cases[] = {
      {"nothing", "", false, "", "", 0, 0, ""},
      {"one file", "one.wav", false, "C:\\music\\one.wav", "C:\\music\\one.wav", 1, 0, "C:\\music\\one.wav"},
      {"a list of three", "C:\\a.wav|C:\\b.wav|C:\\c.wav", true, "", "C:\\a.wav|C:\\b.wav|C:\\c.wav", 3, 1,
       "C:\\a.wav"},
      {"an m3u in capitals", "mix.M3U", false, "C:\\lists\\mix.M3U", "C:\\a.wav|C:\\b.wav|C:\\c.wav", 3, 1,
       "C:\\a.wav"},
      {"an m3u that cannot be read", "gone.m3u", false, "C:\\gone.m3u", "C:\\gone.m3u", 1, 0, "C:\\gone.m3u"},
      {"not a file: made a file URL", "song.wav", false, "", "", 0, 0, "file://song.wav"},
      {"an http address unchanged", "HTTP://host/a.mp3", false, "", "", 0, 0, "HTTP://host/a.mp3"},
      {"a file URL unchanged", "file://C:/a.wav", false, "", "", 0, 0, "file://C:/a.wav"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartItem start = DecideStartItem(c.text, c.multi, c.found, read);
    EXPECT_EQ(start.playList, c.list);
    EXPECT_EQ(start.count, c.count);
    EXPECT_EQ(start.index, c.index);
    EXPECT_EQ(start.item, c.item);
  }
}

TEST(AudioCommandLine, QueueBatch) {
  struct Case {
    const char* name;
    const char* command;
    const char* queue;
    bool first;
    const char* batch;
  };
  const Case cases[] = {
      {"first flush puts the start-up line first", "A", "B1|B2", true, "A|B1|B2"},
      {"later flushes send the queue alone", "A|B1|B2", "C", false, "C"},
      {"first flush without a start-up line", "", "B", true, "B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(QueueBatch(c.command, c.queue, c.first), c.batch);
  }
}

TEST(AudioSettings, Names) {
  EXPECT_EQ(SettingsFilePath("C:\\temp\\", "orbaudio.exe"), "C:\\temp\\orbaudio.cfg");
  EXPECT_EQ(SettingsFilePath("C:\\temp\\", "orb.audio.exe"), "C:\\temp\\orb.cfg");
}

TEST(AudioSettings, NumbersAsBasicWritesAndReadsThem) {
  struct Case {
    int32_t value;
    const char* text;
  };
  const Case cases[] = {{0, " 0"}, {42, " 42"}, {-1, "-1"}, {-300, "-300"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(NumberText(c.value), c.text);
    EXPECT_EQ(NumberValue(c.text), c.value);
  }
  EXPECT_EQ(NumberValue(""), 0);
  EXPECT_EQ(NumberValue("  17px"), 17);
  EXPECT_EQ(NumberValue("x"), 0);
  EXPECT_EQ(NumberValue("99999999999"), INT32_MAX);
}

TEST(AudioSettings, LineCodec) {
  AudioSettings s;
  s.left = 10;
  s.top = 0;
  s.width = 800;
  s.height = 600;
  s.lastFolder = "C:\\music\\";
  s.secondFolder = "C:\\temp\\";
  s.skin = "C:\\orb\\orbaudio.skl";
  s.paneX = -1;
  s.paneY = 250;
  EXPECT_EQ(EncodeSettingsLine(s), " 10| 0| 800| 600|C:\\music\\|C:\\temp\\||-1| 250");

  struct Case {
    const char* name;
    const char* line;
    bool read;
    int32_t left, top, width, height;
    const char* folder;
    const char* skin;
    int32_t paneX, paneY;
  };
  const Case cases[] = {
      {"nine fields", " 10| 20| 300| 400|C:\\m\\|C:\\t\\|| 5| 6", true, 10, 20, 300, 400, "C:\\m\\", "", 5, 6},
      {"negative left and top are held at 0", "-10|-20| 300| 400|a|b|c| 5| 6", true, 0, 0, 300, 400, "a", "c",
       5, 6},
      {"eight fields: no pane place", " 1| 2| 3| 4|a|b|c| 5", true, 1, 2, 3, 4, "a", "c", -1, -1},
      {"short line", " 1", true, 1, 0, 0, 0, "", "", -1, -1},
      {"empty", "", false, 0, 0, 0, 0, "", "", -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AudioSettings read;
    ASSERT_EQ(DecodeSettingsLine(c.line, &read), c.read);
    EXPECT_EQ(read.left, c.left);
    EXPECT_EQ(read.top, c.top);
    EXPECT_EQ(read.width, c.width);
    EXPECT_EQ(read.height, c.height);
    EXPECT_EQ(read.lastFolder, c.folder);
    EXPECT_EQ(read.skin, c.skin);
    EXPECT_EQ(read.paneX, c.paneX);
    EXPECT_EQ(read.paneY, c.paneY);
  }
}

TEST(AudioSettings, PanePlace) {
  const ScreenArea screen{0, 0, 1024, 768};
  struct Case {
    const char* name;
    int32_t x, y;
    bool visible;
  };
  const Case cases[] = {
      {"none", -1, -1, false},
      {"inside", 100, 100, true},
      {"partly left of the origin", -50, 10, true},
      {"wholly left of the origin", -400, 10, false},
      {"wholly above", 10, -200, false},
      {"beyond the right edge (a removed monitor)", 1500, 100, false},
      {"beyond the bottom edge", 100, 900, false},
      {"partly past the right edge", 1000, 100, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PanePlaceVisible(c.x, c.y, 300, 100, screen), c.visible);
  }
  int32_t x = 0, y = 0;
  CentreIn(screen, 300, 100, &x, &y);
  EXPECT_EQ(x, 362);
  EXPECT_EQ(y, 334);
}

// The items the player takes: those whose extension, in any case, is one of
// the audio patterns.
TEST(AudioRules, AudioItemsByTheirExtension) {
  const std::string patterns = "*.mp3;*.WAV;*.ogg";
  struct Case {
    const char* item;
    bool audio;
  };
  const Case cases[] = {
      {"C:\\a\\song.wav", true},
      {"C:\\a\\SONG.Mp3", true},
      {"C:\\a\\clip.avi", false},
      {"C:\\a\\noext", false},
      {"C:\\a.wav\\noext", false},
      {"C:\\a\\x.wa", false},
      {"C:\\a\\x.mp", false},
      {"http://host/live.ogg", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(suite::PatternListTakes(patterns, c.item), c.audio);
  }
}

TEST(AudioRules, TypedNameAndAddresses) {
  EXPECT_EQ(ItemOrTypedName("HTTP://radio/a.mp3", "C:\\x.wav", "http://"), "HTTP://radio/a.mp3");
  EXPECT_EQ(ItemOrTypedName("http://", "C:\\x.wav", "http://"), "C:\\x.wav") << "only the field's start";
  EXPECT_EQ(ItemOrTypedName("", "C:\\x.wav", "http://"), "C:\\x.wav");
  EXPECT_EQ(ItemOrTypedName("C:\\typed.wav", "C:\\x.wav", "http://"), "C:\\x.wav");
  EXPECT_TRUE(IsInternetAddress("FTP://host/a.mp3"));
  EXPECT_TRUE(IsInternetAddress("http://host/a.mp3"));
  EXPECT_FALSE(IsInternetAddress("file://C:/a.mp3"));
}

TEST(AudioRules, WrapAround) {
  struct Case {
    const char* name;
    int32_t index, count, previous, next;
  };
  const Case cases[] = {
      {"middle", 2, 3, 1, 3},
      {"first wraps back to the last", 1, 3, 3, 2},
      {"last wraps on to the first", 3, 3, 2, 1},
      {"one item does not move", 1, 1, 1, 1},
      {"empty list", 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PreviousIndex(c.index, c.count), c.previous);
    EXPECT_EQ(NextIndex(c.index, c.count), c.next);
  }
}

TEST(AudioRules, EndOfItem) {
  struct Case {
    const char* name;
    int32_t index, count;
    bool repeat;
    EndOfItem action;
    int32_t nextIndex;
  };
  const Case cases[] = {
      {"more items follow", 1, 3, false, EndOfItem::NextItem, 1},
      {"more items follow, repeat ticked", 2, 3, true, EndOfItem::NextItem, 2},
      {"last item, repeat ticked: from the first", 3, 3, true, EndOfItem::Repeat, 1},
      {"last item, repeat clear: rest", 3, 3, false, EndOfItem::Stop, 3},
      {"single item repeats itself", 0, 1, true, EndOfItem::Repeat, 0},
      {"single item without repeat", 0, 1, false, EndOfItem::Stop, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EndDecision decision = DecideEndOfItem(c.index, c.count, c.repeat);
    EXPECT_EQ(decision.action, c.action);
    EXPECT_EQ(decision.index, c.nextIndex);
  }
}

TEST(AudioRules, Seeking) {
  struct Case {
    const char* name;
    int32_t percent;
    uint32_t start, end, position;
  };
  const Case cases[] = {
      {"half", 50, 0, 1000, 500},
      {"above 100 seeks to the end", 150, 0, 1000, 1000},
      {"below 0 seeks to the start", -5, 100, 1000, 100},
      {"half rounds to even, down", 50, 0, 3, 2},
      {"half rounds to even, up", 50, 0, 5, 2},
      {"half rounds to even from an odd offset", 50, 0, 7, 4},
      {"above half rounds up", 33, 0, 10, 3},
      {"with a start", 10, 1000, 2000, 1100},
      {"end before start taken unsigned", 1, 10, 0, 42949683},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SeekPosition(c.percent, c.start, c.end), c.position);
  }
  EXPECT_EQ(PositionPercent(500, 0, 1000), 50);
  EXPECT_EQ(PositionPercent(1000, 0, 1000), 100);
  EXPECT_EQ(PositionPercent(5, 10, 1000), 0);
  EXPECT_EQ(PositionPercent(5, 0, 0), 0);
}

TEST(AudioRules, Texts) {
  EXPECT_EQ(PlaybackErrorText("Cannot play (error #): ", "C:\\#1 hit.wav", -99),
            "Cannot play (error -99): C:\\#1 hit.wav")
      << "a # in the file name is left alone";
  EXPECT_EQ(PlaybackErrorText("Error # (#) ", "x", 0), "Error 0 (0) x");
  EXPECT_EQ(PlayingTitle("Orb Audio", "C:\\music\\one.wav"), "Orb Audio - one.wav");
  EXPECT_EQ(PlayingTitle("Orb Audio", "http://host/live"), "Orb Audio - live");
  EXPECT_EQ(MarqueeText("Orb Audio - one.wav", "Orb Audio"), "one.wav");
  EXPECT_EQ(PickerFilters("*.mp3;*.wav"), "Audio|*.mp3;*.wav|Winamp|*.m3u");
}

TEST(AudioRules, PickedListsAreExpandedInPlace) {
  auto read = [](const std::string& path) {
    if (path == "C:\\mix.M3U") return std::string("C:\\x.wav|C:\\y.wav");
    return std::string();
  };
  struct Case {
    const char* name;
    const char* picked;
    const char* list;
  };
  const Case cases[] = {
      {"files only, trailing bars dropped", "C:\\a.wav|C:\\b.wav||", "C:\\a.wav|C:\\b.wav"},
      {"a file and a list", "C:\\a.mp3|C:\\mix.M3U|", "C:\\a.mp3|C:\\x.wav|C:\\y.wav"},
      {"a list alone", "C:\\mix.M3U", "C:\\x.wav|C:\\y.wav"},
      {"an unreadable list is left out", "C:\\gone.m3u|C:\\a.wav", "C:\\a.wav"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExpandPickedLists(c.picked, read), c.list);
  }
}

}  // namespace
}  // namespace audio
