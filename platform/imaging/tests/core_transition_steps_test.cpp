// Every transition uncovers each pixel of the picture exactly once, in at
// most kMaxTransitionSteps steps, and wipes go the way their number says.
#include <gtest/gtest.h>

#include <vector>

#include "transition_steps.h"

namespace {

TEST(TransitionSteps, CoverThePictureExactlyOnce) {
  struct Case {
    uint32_t effect;
    int32_t width, height, grain;
  } cases[] = {{0, 640, 480, 4}, {1, 640, 480, 64}, {2, 33, 17, 5},  {3, 1, 1, 4},
               {4, 640, 480, 4}, {5, 640, 480, 8},  {5, 1024, 768, 1}, {11, 7, 300, 0},
               {4, 5, 5, 100},   {1, 1024, 768, 64}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "effect " << c.effect << " " << c.width << "x" << c.height << " grain "
                                    << c.grain);
    auto steps = imaging::TransitionSteps(c.effect, c.width, c.height, c.grain);
    ASSERT_FALSE(steps.empty());
    EXPECT_LE(steps.size(), static_cast<size_t>(imaging::kMaxTransitionSteps));
    std::vector<int> covered(static_cast<size_t>(c.width) * c.height, 0);
    for (const auto& step : steps) {
      EXPECT_FALSE(step.empty());
      for (const imaging::RevealRect& r : step) {
        ASSERT_GE(r.x, 0);
        ASSERT_GE(r.y, 0);
        ASSERT_LE(r.x + r.width, c.width);
        ASSERT_LE(r.y + r.height, c.height);
        for (int32_t y = r.y; y < r.y + r.height; ++y) {
          for (int32_t x = r.x; x < r.x + r.width; ++x) ++covered[static_cast<size_t>(y) * c.width + x];
        }
      }
    }
    for (size_t i = 0; i < covered.size(); ++i) ASSERT_EQ(1, covered[i]) << "pixel " << i;
  }
}

TEST(TransitionSteps, WipesStartAtTheirSide) {
  EXPECT_EQ((imaging::RevealRect{0, 0, 10, 480}), imaging::TransitionSteps(0, 640, 480, 10).front().front());
  EXPECT_EQ((imaging::RevealRect{0, 0, 640, 60}), imaging::TransitionSteps(1, 640, 480, 64).front().front());
  EXPECT_EQ((imaging::RevealRect{630, 0, 10, 480}), imaging::TransitionSteps(2, 640, 480, 10).front().front());
  EXPECT_EQ((imaging::RevealRect{0, 420, 640, 60}), imaging::TransitionSteps(3, 640, 480, 64).front().front());
  EXPECT_EQ(12u, imaging::TransitionSteps(1, 1024, 768, 64).size());
  EXPECT_TRUE(imaging::TransitionSteps(0, 0, 480, 4).empty());
}

}  // namespace
