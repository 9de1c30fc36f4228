// Fitting a picture into a box (SKICONISE's arithmetic).
#include <gtest/gtest.h>

#include "fit_box.h"

namespace {

struct FitCase {
  const char* name;
  int32_t width, height, boxWidth, boxHeight;
  bool ok;
  int32_t x, y, fittedWidth, fittedHeight;
};

TEST(FitBox, Table) {
  const FitCase cases[] = {
      {"landscape into a square", 400, 300, 100, 100, true, 0, 12, 100, 75},
      {"portrait into a square", 300, 400, 100, 100, true, 12, 0, 75, 100},
      {"exact size", 100, 50, 100, 50, true, 0, 0, 100, 50},
      {"smaller keeps its size, centred", 40, 30, 100, 100, true, 30, 35, 40, 30},
      {"taller than the box only", 50, 200, 100, 100, true, 37, 0, 25, 100},
      {"rounded to the nearest pixel", 3, 2, 2, 2, true, 0, 0, 2, 1},
      {"a line stays one pixel", 10000, 1, 100, 100, true, 0, 49, 100, 1},
      {"largest sides", 2147483647, 2147483647, 64, 32, true, 16, 0, 32, 32},
      {"zero width", 0, 10, 100, 100, false, 0, 0, 0, 0},
      {"negative box", 10, 10, -1, 100, false, 0, 0, 0, 0},
  };
  for (const FitCase& c : cases) {
    SCOPED_TRACE(c.name);
    themecore::FittedBox box;
    box.x = 99;
    EXPECT_EQ(themecore::FitIntoBox(c.width, c.height, c.boxWidth, c.boxHeight, &box), c.ok);
    EXPECT_EQ(box.x, c.x);
    EXPECT_EQ(box.y, c.y);
    EXPECT_EQ(box.width, c.fittedWidth);
    EXPECT_EQ(box.height, c.fittedHeight);
  }
}

}  // namespace
