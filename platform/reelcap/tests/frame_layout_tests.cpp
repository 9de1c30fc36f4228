// Frame sizes: rows padded to four bytes, sides out of range refused.
#include <gtest/gtest.h>

#include "frame_layout.h"

namespace {

TEST(FrameLayout, RowsArePadded) {
  struct Case {
    uint32_t width, height;
    uint64_t bytes;
  };
  const Case cases[] = {
      {4, 2, 24},        // 12-byte rows need no padding
      {1, 1, 4},         // 3 -> 4
      {161, 121, 484 * 121},  // 483 -> 484
      {2, 3, 8 * 3},     // 6 -> 8
      {3, 1, 12},        // 9 -> 12
      {0, 10, 0},
      {10, 0, 0},
      {8193, 1, 0},
      {8192, 8192, uint64_t{24576} * 8192},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    EXPECT_EQ(c.bytes, reelcap::FrameBytes(c.width, c.height));
  }
}

}  // namespace
