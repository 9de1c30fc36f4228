// The opening effects' schedules: slides, zoom steps and the fade.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/opening_effects.h"

namespace skinning {
namespace {

TEST(OpeningEffects, OnlyEffectsOneToFiveStartOffScreen) {
  const struct {
    int32_t effect;
    bool moves;
  } cases[] = {{-1, false}, {0, false}, {1, true}, {2, true}, {3, true}, {4, true}, {5, true}, {6, false}};
  for (const auto& c : cases) EXPECT_EQ(c.moves, MovesOffScreen(c.effect)) << c.effect;
}

TEST(OpeningEffects, Slides) {
  const struct {
    const char* label;
    int32_t effect, y, width, height, offScreen;
    size_t steps;
    int32_t first, last;
  } cases[] = {
      // Slide down from y - width to 0 in steps of 4.
      {"down", 3, 100, 300, 200, 768, 51, -200, 0},
      {"down, uneven start", 3, 100, 303, 200, 768, 51, -203, -3},
      {"down, top below the width", 3, 400, 300, 200, 768, 0, 0, 0},
      {"down, top equal to the width", 3, 300, 300, 200, 768, 1, 0, 0},
      // Slide up from the off-screen offset - height to 0.
      {"up", 4, 100, 300, 200, 768, 143, 568, 0},
      {"up, taller than the screen", 4, 0, 300, 800, 768, 0, 0, 0},
      {"not a slide", 2, 100, 300, 200, 768, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const std::vector<int32_t> offsets = SlideOffsets(c.effect, c.y, c.width, c.height, c.offScreen);
    ASSERT_EQ(c.steps, offsets.size());
    if (offsets.empty()) continue;
    EXPECT_EQ(c.first, offsets.front());
    EXPECT_EQ(c.last, offsets.back());
    for (size_t i = 1; i < offsets.size(); ++i) {
      EXPECT_EQ(c.effect == 3 ? 4 : -4, offsets[i] - offsets[i - 1]);
    }
  }
}

TEST(OpeningEffects, ZoomGrowsFromTheCentre) {
  const std::vector<Rect> steps = ZoomSteps(100, 50, 400, 200);
  ASSERT_EQ(20u, steps.size());
  EXPECT_TRUE((Rect{290, 145, 310, 155}) == steps.front());  // 400/20 x 200/20 in the middle
  EXPECT_TRUE((Rect{100, 50, 500, 250}) == steps.back());
  EXPECT_TRUE((Rect{200, 100, 400, 200}) == steps[18]);       // half size
  // A window smaller than 20 pixels starts from nothing.
  const std::vector<Rect> tiny = ZoomSteps(0, 0, 10, 10);
  EXPECT_EQ(0, tiny.front().width());
  EXPECT_TRUE((Rect{0, 0, 10, 10}) == tiny.back());
}

TEST(OpeningEffects, FadePercentsAndMix) {
  const std::vector<int32_t> fade = BlendPercents(kFadeStep);
  ASSERT_EQ(25u, fade.size());
  EXPECT_EQ(1, fade.front());
  EXPECT_EQ(97, fade.back());
  EXPECT_EQ(5, fade[1]);
  EXPECT_EQ(100u, BlendPercents(0).size());
  EXPECT_EQ(100, BlendPercents(0).back());
  EXPECT_EQ(100u, BlendPercents(-3).size());
  EXPECT_EQ(1u, BlendPercents(100).size());

  const struct {
    uint32_t source, background;
    int32_t percent;
    uint32_t expected;
  } cases[] = {
      {0x00FFFFFF, 0x00000000, 100, 0x00FFFFFF},
      {0x00FFFFFF, 0x00000000, 0, 0x00000000},
      {0x00FF0000, 0x000000FF, 50, 0x007F007F},
      {0x00102030, 0x00203040, 1, 0x001F2F3F},   // (16 + 32*99)/100 = 31 ...
      {0xFF123456, 0xEE000000, 100, 0x00123456},  // the top byte is 0
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.percent));
    EXPECT_EQ(c.expected, BlendPixel(c.source, c.background, c.percent));
  }
  const uint32_t source[3] = {0x00FFFFFF, 0x00000000, 0x00808080};
  const uint32_t background[3] = {0x00000000, 0x00FFFFFF, 0x00808080};
  uint32_t out[3] = {1, 1, 1};
  BlendPixels(source, background, out, 3, 25);
  EXPECT_EQ(0x003F3F3Fu, out[0]);
  EXPECT_EQ(0x00BFBFBFu, out[1]);
  EXPECT_EQ(0x00808080u, out[2]);
}

}  // namespace
}  // namespace skinning
