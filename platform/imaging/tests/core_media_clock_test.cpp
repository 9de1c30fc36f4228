#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "media_clock.h"

using namespace imaging;

TEST(FrameRateTest, TermsAreReducedAndRangeChecked) {
  struct Case {
    uint32_t rate, scale;
    bool valid;
    uint32_t wantRate, wantScale;
  } cases[] = {
      {10, 1, true, 10, 1},
      {30000, 1001, true, 30000, 1001},
      {2500, 100, true, 25, 1},
      {0, 1, false, 0, 0},
      {1, 0, false, 0, 0},
      {1001, 1, false, 0, 0},        // above 1000 frames a second
      {1, 3601, false, 0, 0},        // below one frame an hour
      {1, 3600, true, 1, 3600},
      {1000, 1, true, 1000, 1},
  };
  for (const Case& c : cases) {
    auto rate = MakeFrameRate(c.rate, c.scale);
    ASSERT_EQ(rate.has_value(), c.valid) << c.rate << "/" << c.scale;
    if (!c.valid) continue;
    EXPECT_EQ(rate->rate, c.wantRate);
    EXPECT_EQ(rate->scale, c.wantScale);
  }
}

TEST(FrameRateTest, LargeTermsKeepTheirRatio) {
  // 10000000 / 333333: about 30 frames a second, with terms above 2^20.
  auto rate = MakeFrameRate(10000000, 333333);
  ASSERT_TRUE(rate.has_value());
  EXPECT_LE(rate->rate, 1u << 20);
  EXPECT_LE(rate->scale, 1u << 20);
  double fps = double(rate->rate) / rate->scale;
  EXPECT_NEAR(fps, 10000000.0 / 333333.0, 1e-9);
  auto micros = FrameRateOfMicros(40000);  // 25 frames a second
  ASSERT_TRUE(micros.has_value());
  EXPECT_EQ(micros->rate, 25u);
  EXPECT_EQ(micros->scale, 1u);
  EXPECT_FALSE(FrameRateOfMicros(0).has_value());
}

TEST(FrameClockTest, FramesAndTimesAgree) {
  struct Case {
    uint32_t rate, scale;
    int64_t micros, frames;
  } cases[] = {
      {10, 1, 0, 0},        {10, 1, 99999, 0},       {10, 1, 100000, 1},     {10, 1, 1550000, 15},
      {30000, 1001, 33366, 0}, {30000, 1001, 33367, 1}, {25, 1, -5, 0},       {1, 3600, 3600000000LL, 1},
  };
  for (const Case& c : cases) {
    FrameRate rate = *MakeFrameRate(c.rate, c.scale);
    EXPECT_EQ(FramesAfter(rate, c.micros), c.frames) << c.rate << "/" << c.scale << " at " << c.micros;
  }
  // MicrosOfFrames is the first moment FramesAfter reaches the count.
  for (auto [r, s] : {std::pair<uint32_t, uint32_t>{10, 1}, {30000, 1001}, {7, 3}, {1000, 1}}) {
    FrameRate rate = *MakeFrameRate(r, s);
    for (int64_t n : {1, 2, 29, 30, 1000, 123457}) {
      int64_t t = MicrosOfFrames(rate, n);
      EXPECT_GE(FramesAfter(rate, t), n);
      EXPECT_LT(FramesAfter(rate, t - 1), n) << r << "/" << s << " frame " << n;
    }
  }
  FrameRate ten = *MakeFrameRate(10, 1);
  EXPECT_EQ(MillisOfFrames(ten, 25), 2500);
  EXPECT_EQ(MicrosOfFrames(ten, 0), 0);
  EXPECT_EQ(MillisOfFrames(ten, -3), 0);
}

TEST(FrameClockTest, HugeValuesSaturate) {
  FrameRate slow = *MakeFrameRate(1, 3600);
  FrameRate fast = *MakeFrameRate(1000, 1);
  const int64_t max = std::numeric_limits<int64_t>::max();
  EXPECT_EQ(MicrosOfFrames(slow, max), max);
  EXPECT_GT(FramesAfter(fast, max), 0);
  EXPECT_EQ(FramesAfter(FrameRate{}, 1000), 0);
}

TEST(ClipTest, MarksAreClampedAndChecked) {
  struct Case {
    int32_t start, end, length;
    bool valid;
    int32_t wantStart, wantEnd;
  } cases[] = {
      {-1, -1, 30, true, 0, 30},   // the whole file
      {5, 10, 30, true, 5, 10},
      {5, 99, 30, true, 5, 30},    // an end beyond the length plays to it
      {-1, 12, 30, true, 0, 12},
      {10, 10, 30, false, 0, 0},   // empty
      {12, 4, 30, false, 0, 0},    // reversed
      {30, -1, 30, false, 0, 0},   // starts at the end
      {-2, 5, 30, false, 0, 0},
      {0, -7, 30, false, 0, 0},
      {-1, -1, 0, false, 0, 0},    // nothing to play
  };
  for (const Case& c : cases) {
    auto clip = MarkClip(c.start, c.end, c.length);
    ASSERT_EQ(clip.has_value(), c.valid) << c.start << ".." << c.end << " of " << c.length;
    if (!c.valid) continue;
    EXPECT_EQ(clip->start, c.wantStart);
    EXPECT_EQ(clip->end, c.wantEnd);
  }
}

TEST(FitPictureTest, KeepsProportionsAndCentres) {
  struct Case {
    int32_t pw, ph, bw, bh;
    Box want;
  } cases[] = {
      {64, 48, 300, 100, {83, 0, 216, 100}},   // height-bound: 133 x 100
      {64, 48, 128, 300, {0, 102, 128, 198}},  // width-bound: 128 x 96
      {64, 48, 64, 48, {0, 0, 64, 48}},
      {32, 24, 320, 240, {0, 0, 320, 240}},    // enlarged
      {1000, 1, 10, 10, {0, 4, 10, 5}},        // never thinner than a pixel
      {0, 48, 100, 100, {0, 0, 0, 0}},
      {64, 48, 0, 100, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    Box box = FitPicture(c.pw, c.ph, c.bw, c.bh);
    EXPECT_EQ(box.left, c.want.left) << c.pw << "x" << c.ph << " in " << c.bw << "x" << c.bh;
    EXPECT_EQ(box.top, c.want.top);
    EXPECT_EQ(box.right, c.want.right);
    EXPECT_EQ(box.bottom, c.want.bottom);
  }
}
