// The caption's rules: buttons made and placed, the button under a point,
// the title and the LED, the tooltips and the hover redraws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/caption_layout.h"
#include "core/frame_rules.h"

namespace skinning {
namespace {

SkinMetrics Metrics() {
  SkinMetrics m;
  m.captionBand = 24;
  m.leftFrame = 4;
  m.rightFrame = 4;
  m.bottomFrame = 4;
  m.buttonWidth = 20;
  m.buttonHeight = 18;
  m.buttonsRight = 4;
  m.buttonTop = 3;
  m.titleX = 26;
  m.titleY = 5;
  m.ledY = 7;
  m.menuBar = 20;
  return m;
}

constexpr uint32_t kAll = 0xF;   // close, minimize, maximize, second row
constexpr uint32_t kTool = 0x9;  // close and second row

TEST(CaptionLayout, ButtonsMadeFollowTheFrameFlags) {
  const struct {
    const char* label;
    uint32_t flags;
    std::string glyphs;
    std::vector<int32_t> ids;
  } cases[] = {
      {"all", kAll, "r210ut", {32196, 32195, 32194, 32193, 32192, 32191}},
      {"tool caption", kTool, "rut", {32196, 32192, 32191}},
      {"minimize only", 0xB, "r0ut", {32196, 32193, 32192, 32191}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::string glyphs;
    std::vector<int32_t> ids;
    for (const CaptionButtonSpec& spec : CaptionButtonsFor(c.flags)) {
      glyphs += spec.glyph;
      ids.push_back(spec.controlId);
    }
    EXPECT_EQ(c.glyphs, glyphs);
    EXPECT_EQ(c.ids, ids);
  }
  EXPECT_EQ(32195, CaptionButtonControlId(kRestoreButton, kAll));
  EXPECT_EQ(0, CaptionButtonControlId(kMaximizeButton, kTool));
  EXPECT_EQ(0, CaptionButtonControlId(kNoButton, kAll));
}

TEST(CaptionLayout, ButtonsLineUpFromTheRight) {
  const SkinMetrics m = Metrics();
  // Width 400: x starts at 397; close 376-396, maximize 355-375, minimize 334-354.
  const auto all = CaptionButtonBoxes(400, kAll, 0, m);
  ASSERT_EQ(3u, all.size());
  EXPECT_EQ(kCloseButton, all[0].button);
  EXPECT_TRUE((Rect{376, 3, 396, 21}) == all[0].box);
  EXPECT_EQ(kMaximizeButton, all[1].button);
  EXPECT_TRUE((Rect{355, 3, 375, 21}) == all[1].box);
  EXPECT_EQ(kMinimizeButton, all[2].button);
  EXPECT_TRUE((Rect{334, 3, 354, 21}) == all[2].box);
  EXPECT_EQ(kRestoreButton, CaptionButtonBoxes(400, kAll, kMaximizedByCaption, m)[1].button);
  const auto tool = CaptionButtonBoxes(400, kTool, 0, m);
  ASSERT_EQ(1u, tool.size());
  EXPECT_TRUE((Rect{376, 3, 396, 21}) == tool[0].box) << "a tool caption's close button at the right end";
}

TEST(CaptionLayout, ButtonAtAPoint) {
  const SkinMetrics m = Metrics();
  const struct {
    int32_t x, y;
    uint32_t flags, state;
    int32_t expected;
  } cases[] = {
      {386, 12, kAll, 0, kCloseButton},  {376, 3, kAll, 0, kCloseButton},
      {396, 12, kAll, 0, kNoButton},     {374, 12, kAll, 0, kMaximizeButton},
      {375, 12, kAll, 0, kNoButton},
      {365, 12, kAll, kMaximizedByCaption, kRestoreButton},
      {340, 20, kAll, 0, kMinimizeButton}, {340, 21, kAll, 0, kNoButton},
      {340, 2, kAll, 0, kNoButton},      {365, 12, kTool, 0, kNoButton},
      {386, 25, kAll, 0, kNoButton},     {100, 12, kAll, 0, kNoButton},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_EQ(c.expected, CaptionButtonAt(c.x, c.y, 400, c.flags, c.state, m));
  }
}

TEST(CaptionLayout, TitleAndLed) {
  const SkinMetrics m = Metrics();
  const TitleLayout plain = LayOutTitle("Disc burner", 400, 10, 12, 24, 0, m);
  EXPECT_EQ("Disc burner", plain.text);
  EXPECT_FALSE(plain.isCentred);
  EXPECT_TRUE((Rect{26, 5, 400 + 26 - 10 - 12 - 0 - 8, 29}) == plain.box);
  const TitleLayout centred = LayOutTitle("%Centred", 400, 10, 12, 24, 9, m);
  EXPECT_EQ("Centred", centred.text);
  EXPECT_TRUE(centred.isCentred);
  EXPECT_EQ(400 + 26 - 10 - 12 - 9 - 8, centred.box.right);
  EXPECT_EQ("", LayOutTitle("%", 400, 0, 0, 24, 0, m).text);
  EXPECT_EQ("a%", LayOutTitle("a%", 400, 0, 0, 24, 0, m).text);

  EXPECT_EQ(2, LedFrame(true, true, true));
  EXPECT_EQ(1, LedFrame(true, false, true));
  EXPECT_EQ(0, LedFrame(true, true, false)) << "no system menu, no LED";
  EXPECT_EQ(0, LedFrame(false, true, true));
  EXPECT_TRUE((Rect{400 - 12 - 9 - 26 + 10, 7, 400 - 12 - 26 + 10, 7 + 9}) ==
              LedBox(400, 10, 12, 9, 9, m));
}

TEST(CaptionLayout, TooltipsTakeFieldsThreeToSix) {
  const SkinMetrics m = Metrics();
  const std::string tips = "one|two|Minimize|Maximize|Restore|Close";
  auto texts = [](const std::vector<CaptionTip>& list) {
    std::vector<std::string> out;
    for (const CaptionTip& tip : list) out.push_back(std::to_string(tip.toolId) + ":" + tip.text);
    return out;
  };
  EXPECT_EQ((std::vector<std::string>{"6:Close", "4:Maximize", "3:Minimize"}),
            texts(CaptionTips(tips, 400, kAll, 0, false, m)));
  EXPECT_EQ((std::vector<std::string>{"6:Close", "4:Restore", "3:Minimize"}),
            texts(CaptionTips(tips, 400, kAll, kMaximizedByCaption, false, m)));
  EXPECT_EQ((std::vector<std::string>{"6:Close"}), texts(CaptionTips(tips, 400, kTool, 0, false, m)));
  EXPECT_TRUE(CaptionTips("", 400, kAll, 0, false, m).empty());
  EXPECT_EQ((std::vector<std::string>{"6:", "4:", "3:"}), texts(CaptionTips("a|b", 400, kAll, 0, false, m)));
  // Client coordinates: the caption band and the frame are outside.
  const auto placed = CaptionTips(tips, 400, kAll, 0, false, m);
  EXPECT_TRUE((Rect{372, -20, 392, -2}) == placed[0].box);
  EXPECT_EQ(-40, CaptionTips(tips, 400, kAll, 0, true, m)[0].box.top);
  const std::string longTip = "|||||" + std::string(300, 'x');
  EXPECT_EQ(kMaxTipBytes, CaptionTips(longTip, 400, kAll, 0, false, m)[0].text.size());
  EXPECT_EQ("b", ListField("a|b|c", 2));
  EXPECT_EQ("", ListField("a|b|c", 4));
  EXPECT_EQ("", ListField("a|b|c", 0));
  EXPECT_EQ("", ListField("a||c", 2));
}

TEST(CaptionLayout, HoverRedrawsTheRightWindowsButtons) {
  const struct {
    const char* label;
    HoverInput input;
    std::vector<std::string> redraws;  // "last:button:state" or "this:button:state"
    int32_t lastHot, hot;
  } cases[] = {
      {"onto close", {false, 0, 0, 0, kCloseButton}, {"this:6:2"}, 0, kCloseButton},
      {"still on close", {false, kCloseButton, kCloseButton, 0, kCloseButton}, {}, kCloseButton,
       kCloseButton},
      {"close to minimize", {false, kCloseButton, kCloseButton, 0, kMinimizeButton},
       {"this:6:0", "this:3:2"}, kCloseButton, kMinimizeButton},
      {"off the buttons", {false, kMinimizeButton, kMinimizeButton, 0, kNoButton}, {"this:3:0"},
       kMinimizeButton, 0},
      {"back onto the pressed button", {false, 0, 0, kCloseButton, kCloseButton}, {"this:6:1"}, 0,
       kCloseButton},
      // From window A's close button onto window B: A's own hot button is
      // reset even though B has none.
      {"from another window's button", {true, kCloseButton, 0, 0, kMaximizeButton},
       {"last:6:0", "this:4:2"}, 0, kMaximizeButton},
      {"from another window, nothing hot there", {true, 0, kMinimizeButton, 0, kMinimizeButton}, {},
       0, kMinimizeButton},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const HoverResult result = TrackHover(c.input);
    std::vector<std::string> got;
    for (const ButtonRedraw& r : result.redraws) {
      got.push_back(std::string(r.onLastWindow ? "last" : "this") + ":" + std::to_string(r.button) +
                    ":" + std::to_string(r.state));
    }
    EXPECT_EQ(c.redraws, got);
    EXPECT_EQ(c.lastHot, result.lastWindowHot);
    EXPECT_EQ(c.hot, result.hot);
  }
}

}  // namespace
}  // namespace skinning
