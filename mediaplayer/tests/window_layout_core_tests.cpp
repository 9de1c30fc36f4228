// The configuration file's line and place, the default window size, the
// video layout's rectangles and the controls of each layout.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/layout_controls.h"
#include "core/video_layout.h"
#include "core/window_config.h"

namespace {

using player::LayoutArea;
using player::WindowConfig;

TEST(WindowConfig, ReadsTheLine) {
  struct Case {
    const char* name;
    std::string line;
    WindowConfig expected;
  } cases[] = {
      {"eleven fields", " 10| 20| 640| 480|C:\\media\\|C:\\frames\\|| 5| 6| 305|-1",
       {10, 20, 640, 480, "C:\\media\\", "C:\\frames\\", "", 5, 6, 305, true}},
      {"negative left read as 0, zoom kept", "-20| 10| 640| 480|||| -1| -1| 308| 0",
       {0, 10, 640, 480, "", "", "", -1, -1, 308, false}},
      {"exactly 8 fields: no bar position", " 1| 2| 300| 200|a|b|c| 7", {1, 2, 300, 200, "a", "b", "c", -1, -1, 0, false}},
      {"9 fields: bar position", " 1| 2| 300| 200|a|b|c| 7| 8", {1, 2, 300, 200, "a", "b", "c", 7, 8, 0, false}},
      {"10 fields: layout", " 1| 2| 300| 200|||| 7| 8| 303", {1, 2, 300, 200, "", "", "", 7, 8, 303, false}},
      {"layout out of range ignored", " 1| 2| 300| 200|||| 7| 8| 309| 1", {1, 2, 300, 200, "", "", "", 7, 8, 0, true}},
      {"a line end an editor added", " 1| 2| 300| 200|||\r\n", {1, 2, 300, 200, "", "", "", -1, -1, 0, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WindowConfig read;
    ASSERT_TRUE(player::ParseWindowConfig(c.line, &read));
    EXPECT_EQ(c.expected, read) << read.left << "," << read.top << "," << read.width << "x" << read.height << " bar "
                                << read.barX << "," << read.barY << " item " << read.layoutItem;
  }
}

// A damaged file is ignored whole: the player starts with its defaults
// rather than a window of no size somewhere.
TEST(WindowConfig, RejectsDamagedFiles) {
  const std::string cases[] = {
      "",
      " 1| 2| 300| 200|a|b",                      // six fields
      "garbage",
      " 1| 2| 0| 200||||",                         // no width
      " 1| 2| 300| -5||||",
      " 1| 2| 99999| 200||||",
      " 1| x| 300| 200||||",
      " 1| 2| 3.5| 200||||",
      std::string(" 1| 2| 300| 200|a\0b|||", 22),  // zero byte
      " 1| 2| 300| 200|a\nb|||",
      " 1| 2| 300| 200|||" + std::string(5000, 'x'),
      " 99999999999| 2| 300| 200||||",
  };
  for (const std::string& line : cases) {
    SCOPED_TRACE(line.substr(0, 60));
    WindowConfig read;
    read.left = 12345;
    EXPECT_FALSE(player::ParseWindowConfig(line, &read));
    EXPECT_EQ(12345, read.left);
  }
}

TEST(WindowConfig, WritesTheLine) {
  WindowConfig config{0, 10, 640, 480, "C:\\a\\", "C:\\b\\", "skin.skl", 700, -1, 308, true};
  EXPECT_EQ(" 0| 10| 640| 480|C:\\a\\|C:\\b\\|| 700|-1| 307|-1", player::FormatWindowConfig(config));
  WindowConfig plain{5, 6, 7, 8, "", "", "", -1, -1, 304, false};
  std::string line = player::FormatWindowConfig(plain);
  EXPECT_EQ(" 5| 6| 7| 8||||-1|-1| 304| 0", line);
  WindowConfig read;
  ASSERT_TRUE(player::ParseWindowConfig(line, &read));
  EXPECT_EQ(plain, read);
}

TEST(WindowConfig, FileLocation) {
  player::ConfigFolders folders{"C:\\Orb\\", "C:\\Temp\\", "C:\\Windows\\", "C:\\Windows\\System32\\"};
  struct Case {
    const char* field13;
    const char* path;
  } cases[] = {
      {"", "C:\\Temp\\orbplay.cfg"},
      {"@TEMP@", "C:\\Temp\\orbplay.cfg"},
      {"x@tmp@", "C:\\Temp\\orbplay.cfg"},
      {"0o", ""},
      {"@path@0o.cfg", ""},
      {"@path@settings\\play.cfg", "C:\\Orb\\settings\\play.cfg"},
      {"@win@", "C:\\Windows\\orbplay.cfg"},
      {"@sys@orb.cfg", "C:\\Windows\\System32\\orb.cfg"},
      {"D:\\Kiosk\\Play.CFG", "d:\\kiosk\\play.cfg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field13);
    EXPECT_EQ(c.path, player::WindowConfigPath(c.field13, folders, "orbplay"));
  }
}

TEST(WindowConfig, DefaultSizes) {
  auto maxSize = [](int32_t w, int32_t h, int32_t* wo, int32_t* ho) {
    *wo = std::min(w, 1000);
    *ho = std::min(h, 500);
  };
  struct Case {
    const char* name;
    player::WindowRect read;
    bool nothingRead;
    int32_t field9, field10;
    player::WindowRect expected;
  } cases[] = {
      {"nothing read", {}, true, 0, 0, {112, 134, 800, 500}},
      {"read and no option", {10, 20, 300, 200}, false, 0, 0, {10, 20, 300, 200}},
      {"option width", {10, 20, 300, 200}, false, 500, 0, {262, 284, 500, 200}},
      {"option sizes", {}, true, 400, 300, {312, 234, 400, 300}},
      {"screen sizes", {}, true, -1, -1, {0, 0, 1024, 768}},
      {"larger than the screen", {}, true, 2000, 1000, {0, 0, 2000, 1000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    player::WindowRect rect = player::DefaultWindowRect(c.read, c.nothingRead, c.field9, c.field10, 1024, 768, maxSize);
    EXPECT_EQ(c.expected, rect) << rect.left << "," << rect.top << " " << rect.width << "x" << rect.height;
  }
}

TEST(VideoLayout, Rectangles) {
  struct Case {
    const char* name;
    int32_t item;
    bool keep;
    LayoutArea content;
    int32_t w, h;
    LayoutArea expected;
  } cases[] = {
      {"half", 303, false, {0, 0, 640, 480}, 321, 240, {240, 180, 160, 120}},
      {"native centred", 304, false, {0, 0, 640, 480}, 320, 240, {160, 120, 320, 240}},
      {"one and a half", 305, false, {0, 0, 640, 480}, 320, 240, {80, 60, 480, 360}},
      {"double, cut", 306, false, {0, 0, 640, 480}, 400, 300, {0, 0, 640, 480}},
      {"double, proportions", 306, true, {0, 0, 640, 480}, 400, 300, {0, 0, 640, 480}},
      {"fill", 307, false, {0, 0, 1000, 500}, 320, 240, {0, 0, 1000, 500}},
      {"fill with proportions", 307, true, {0, 0, 1000, 500}, 320, 240, {166, 0, 667, 500}},
      {"native fits, proportions", 304, true, {0, 0, 640, 480}, 320, 240, {160, 120, 320, 240}},
      {"beside an index pane", 304, false, {200, 0, 440, 480}, 320, 240, {260, 120, 320, 240}},
      {"zoom to the screen", 308, true, {0, 0, 640, 480}, 320, 240, {0, 0, 1024, 768}},
      {"zoom, wide video", 308, true, {0, 0, 640, 480}, 400, 100, {0, 256, 1024, 256}},
      {"no video", 304, true, {0, 0, 640, 480}, 0, 0, {320, 240, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    player::VideoLayoutInput input;
    input.item = c.item;
    input.keepProportions = c.keep;
    input.content = c.content;
    input.nativeWidth = c.w;
    input.nativeHeight = c.h;
    input.screenWidth = 1024;
    input.screenHeight = 768;
    LayoutArea got = player::PlaceVideo(input);
    EXPECT_EQ(c.expected, got) << got.left << "," << got.top << " " << got.width << "x" << got.height;
  }
}

TEST(VideoLayout, IndexPaneSides) {
  const LayoutArea content{0, 0, 640, 480};
  struct Case {
    int32_t side;
    LayoutArea expected;
  } cases[] = {{2, {0, 100, 640, 380}}, {3, {0, 0, 441, 480}}, {4, {0, 0, 640, 381}}, {1, {200, 0, 440, 480}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.side);
    EXPECT_EQ(c.expected, player::AreaBesideIndexPane(content, c.side, 200, 100));
  }
}

std::string Texts(size_t n) {
  static const std::map<size_t, std::string> texts = {
      {14, "Play"}, {86, "Show"}, {16, "x,Effects"}, {17, "x,Spectrum"}, {51, ",page.htm,"},
      {54, "a,Page one,c"}, {90, "h,,h,"}, {36, "Restart"}, {20, "Open"}};
  auto found = texts.find(n);
  return found == texts.end() ? "" : found->second;
}

TEST(LayoutControls, EachLayoutsControls) {
  struct Case {
    const char* name;
    player::LayoutFacts facts;
    std::vector<int32_t> ids;
  } cases[] = {
      {"video", {player::LAYOUT_MEDIA, 2, true, true}, {51, 52, 53, 54, 55, 56, 61, 62, 63, 67, 71, 76, 77, 78, 48}},
      {"audio", {player::LAYOUT_MEDIA, 8, true, true}, {51, 52, 53, 54, 55, 56, 61, 62, 63, 67, 71, 76, 77, 78}},
      {"document", {player::LAYOUT_DOCUMENT, 0, true, true},
       {51, 52, 53, 54, 55, 56, 57, 64, 65, 66, 69, 70, 67, 68, 71, 72, 76}},
      {"picture", {player::LAYOUT_PICTURE, 0, true, true}, {51, 52, 53, 54, 55, 56, 73, 61, 62, 67, 68, 71, 72, 74, 76, 77}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<int32_t> ids;
    for (const player::PlannedControl& control : player::PlanLayoutControls(c.facts, Texts)) ids.push_back(control.id);
    EXPECT_EQ(c.ids, ids);
  }
}

TEST(LayoutControls, ShownEnabledAndTips) {
  auto find = [](const player::LayoutFacts& facts, int32_t id) {
    for (const player::PlannedControl& control : player::PlanLayoutControls(facts, Texts)) {
      if (control.id == id) return control;
    }
    return player::PlannedControl{};
  };
  player::LayoutFacts video{player::LAYOUT_MEDIA, 2, true, true};
  player::LayoutFacts audio{player::LAYOUT_MEDIA, 8, true, true};
  player::LayoutFacts floatingAudio{player::LAYOUT_MEDIA, 8, false, true};
  player::LayoutFacts picture{player::LAYOUT_PICTURE, 0, true, false};
  EXPECT_EQ("Play", find(video, 51).tip);
  EXPECT_EQ("Show", find(picture, 51).tip);
  EXPECT_FALSE(find(video, 52).shown);
  EXPECT_FALSE(find(video, 63).shown);
  EXPECT_EQ("Effects", find(video, 53).tip);
  EXPECT_FALSE(find(video, 53).enabled);
  EXPECT_TRUE(find(audio, 53).enabled);
  EXPECT_FALSE(find(floatingAudio, 53).enabled);
  EXPECT_FALSE(find(picture, 53).enabled);
  EXPECT_FALSE(find(picture, 54).enabled);
  EXPECT_FALSE(find(picture, 67).enabled);
  EXPECT_EQ("Page one", find(video, 48).tip);
  EXPECT_EQ(8, find(audio, 51).imageLayout);
  EXPECT_EQ(player::LAYOUT_PICTURE, find(picture, 74).imageLayout);
  EXPECT_EQ(3, find(video, 78).kind);
  EXPECT_EQ(2, find(video, 77).kind);
}

}  // namespace
