// The effects panel's settings line and layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/fx_layout.h"
#include "core/fx_settings.h"

namespace picker {
namespace {

TEST(FxSettingsLine, DefaultLineIsExact) {
  const std::string line = BuildFxLine(DefaultFxSettings());
  EXPECT_EQ(line, "50|50|50|50|50|50|50|50|50|50|0|0|0|0|0|0|0");
}

TEST(FxSettingsLine, BuildWritesEveryFieldPlain) {
  FxSettings settings = DefaultFxSettings();
  settings.bands[4] = 10;
  settings.bands[9] = 100;
  settings.boxes[0] = 1;
  settings.boxes[6] = 1;
  settings.bands[0] = -3;
  const std::string line = BuildFxLine(settings);
  EXPECT_EQ(line, "-3|50|50|50|10|50|50|50|50|100|1|0|0|0|0|0|1");
  EXPECT_EQ(std::count(line.begin(), line.end(), '|'), 16);
  EXPECT_EQ(line.find(' '), std::string::npos);
  const FxSettings back = ParseFxLine(line);
  EXPECT_EQ(back.bands, settings.bands);
  EXPECT_EQ(back.boxes, settings.boxes);
}

TEST(FxSettingsLine, ReadsWhatFilesHold) {
  struct Case {
    const char* name;
    std::string bytes;
    std::array<int32_t, kFxBandCount> bands;
    std::array<int32_t, kFxBoxCount> boxes;
  };
  const Case cases[] = {
      {"short file: missing fields are 0", "10|20|30", {10, 20, 30, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}},
      {"long file: extra fields ignored",
       "1|2|3|4|5|6|7|8|9|10|1|0|1|0|1|0|1|99|98",
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
       {1, 0, 1, 0, 1, 0, 1}},
      {"line end after the last field",
       "50|50|50|50|50|50|50|50|50|50|0|0|0|0|0|0|1\r\n",
       {50, 50, 50, 50, 50, 50, 50, 50, 50, 50},
       {0, 0, 0, 0, 0, 0, 1}},
      {"blanks, signs and decimals", " 12|-4|2.5|2.4|+7|x|||", {12, -4, 3, 2, 7, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}},
      {"empty file", "", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}},
      {"huge number saturates", "99999999999999999999|-99999999999999999999",
       {2147483647, -2147483647 - 1, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FxSettings settings = ParseFxLine(c.bytes);
    EXPECT_EQ(settings.bands, c.bands);
    EXPECT_EQ(settings.boxes, c.boxes);
  }
}

TEST(FxSettingsLine, ReadsNoMoreThanItsLimit) {
  // Fields past the limit are never read, however the file goes on.
  std::string bytes(kFxMaxFileBytes - 1, ' ');
  bytes += "|7|8";
  FxSettings settings = ParseFxLine(bytes);
  EXPECT_EQ(settings.bands[0], 0);
  EXPECT_EQ(settings.bands[1], 0);  // the limit falls right after the first bar
  EXPECT_EQ(settings.bands[2], 0);
}

FxLayoutInput SampleInput() {
  FxLayoutInput input;
  input.track = {20, 120};
  for (auto& label : input.labels) label = {20, 13};
  input.labels[4] = {30, 13};  // "1K" widest
  input.checkImage = {13, 13};
  input.boxTexts = {{{40, 16}, {36, 16}, {44, 16}, {46, 16}, {48, 16}, {34, 16}, {44, 16}}};
  input.frame = {4, 4, 24, 4};
  input.pane = {600, 500, 300, 100};
  input.workArea = {0, 0, 1024, 738};
  return input;
}

TEST(FxPanelLayout, ColumnsBoxesAndSizes) {
  FxLayoutInput input = SampleInput();
  FxLayout layout = LayOutFxPanel(input);
  EXPECT_EQ(layout.column, 30);
  EXPECT_EQ(layout.bars[0].x, 12 + 5);
  EXPECT_EQ(layout.bars[0].y, 20);
  EXPECT_EQ(layout.bars[1].x, 12 + 32 + 5);
  EXPECT_EQ(layout.labels[4].x, 12 + 4 * 32);
  EXPECT_EQ(layout.labels[0].y, 142);
  const int32_t x = 12 + 10 * 32;
  EXPECT_EQ(layout.boxes[0].x, x);
  EXPECT_EQ(layout.boxes[0].width, 40 + 13 + 3);
  EXPECT_EQ(layout.boxes[1].y, 20 + 120 - 16);
  const int32_t g = x + 56 + 6;
  EXPECT_EQ(layout.group.width, g);
  EXPECT_EQ(layout.group.height, 120 + 13 + 26);
  EXPECT_EQ(layout.clientWidth, g + 4);
  EXPECT_EQ(layout.boxes[2].y, 120 + 13 + 32);
  EXPECT_EQ(layout.boxes[3].y, layout.boxes[2].y + 16 + 2);
  EXPECT_EQ(layout.clientHeight, layout.boxes[6].y + 16 + 4);
  // Above the pane, right-aligned with it.
  EXPECT_EQ(layout.frame.x, 900 - (layout.clientWidth + 8));
  EXPECT_EQ(layout.frame.y, 500 - (layout.clientHeight + 28 + 2));
}

TEST(FxPanelLayout, HelpButtonIsCentredRightOfTheEffects) {
  FxLayoutInput input = SampleInput();
  input.hasHelpButton = true;
  input.helpButton = {24, 24};
  FxLayout layout = LayOutFxPanel(input);
  const int32_t r = 12 + 48 + 13 + 3 + 4;  // widest effect box + 4
  const int32_t g = layout.group.width;
  EXPECT_EQ(layout.help.x, r + (g - r - 24) / 2);
  const int32_t top = layout.boxes[2].y;
  EXPECT_EQ(layout.help.y, top + (layout.clientHeight - 4 - top - 24) / 2);
  EXPECT_EQ(layout.help.width, 24);
}

TEST(FxPanelLayout, StaysInsideTheWorkArea) {
  struct Case {
    const char* name;
    Box pane;
    Box work;
    bool atTop;
    bool atLeft;
  };
  const Case cases[] = {
      {"pane at the top of the screen", {600, 0, 300, 100}, {0, 0, 1024, 738}, true, false},
      {"work area below a top task bar", {600, 40, 300, 100}, {0, 30, 1024, 738}, true, false},
      {"pane at the left", {0, 500, 100, 100}, {0, 0, 1024, 738}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FxLayoutInput input = SampleInput();
    input.pane = c.pane;
    input.workArea = c.work;
    FxLayout layout = LayOutFxPanel(input);
    if (c.atTop) {
      EXPECT_EQ(layout.frame.y, c.work.y);
    }
    if (c.atLeft) {
      EXPECT_EQ(layout.frame.x, c.work.x);
    }
    EXPECT_GE(layout.frame.x, c.work.x);
    EXPECT_LE(layout.frame.x + layout.clientWidth + 8, c.work.x + c.work.width);
  }
}

}  // namespace
}  // namespace picker
