// Position arithmetic of a playing stream: real-time advance, holds, seeks,
// the end of the played range, frequency changes and volume slides.
#include <gtest/gtest.h>

#include <vector>

#include "stream_timeline.h"

namespace {

using namespace tonelink;

TEST(StreamTimeline, ConvertsFramesAndMilliseconds) {
  const struct {
    uint64_t frames;
    uint32_t rate;
    uint64_t ms;
  } cases[] = {
      {44100, 44100, 1000}, {44099, 44100, 999},        {0, 44100, 0},
      {1, 8000, 0},         {12345, 12345, 1000},       {96000ull * 3600 * 24, 96000, 86400000},
      {100, 0, 0},          {0xFFFFFFFFFFull, 1, 0xFFFFFFFFFFull * 1000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frames);
    EXPECT_EQ(c.ms, FramesToMs(c.frames, c.rate));
  }
  EXPECT_EQ(44100u, MsToFrames(1000, 44100));
  EXPECT_EQ(4410u, MsToFrames(100, 44100));
  EXPECT_EQ(12u, MsToFrames(1, 12345));
  EXPECT_EQ(0u, MsToFrames(1000, 0));
  EXPECT_EQ(INT32_MAX, ClampToInt32(1ull << 40));
  EXPECT_EQ(1234, ClampToInt32(1234));
}

enum class Op {
  kPlay,
  kSeek,
  kStop,
  kHoldChannel,
  kReleaseChannel,
  kHoldOutput,
  kReleaseOutput,
  kSpeed,
};

struct Step {
  Op op;
  uint64_t atMs;
  uint64_t a = 0;  // frame, or speed
  uint64_t b = 0;  // end frame of a play
};

struct Check {
  uint64_t atMs;
  uint64_t position;
  bool advancing;
  bool live;
};

// Every check reads the timeline after all the steps of its case.
struct TimelineCase {
  const char* name;
  std::vector<Step> steps;
  std::vector<Check> checks;
};

// A stream of 10 s at 1000 frames a second: frames read as milliseconds.
TEST(StreamTimeline, FollowsTheClock) {
  const TimelineCase cases[] = {
      {"idle until played", {}, {{5000, 0, false, false}}},
      {"advances in real time",
       {{Op::kPlay, 100, 0, 10000}},
       {{100, 0, true, true}, {350, 250, true, true}, {1100, 1000, true, true}}},
      {"ends at the end of the stream",
       {{Op::kPlay, 0, 9000, 10000}},
       {{999, 9999, true, true}, {1000, 10000, false, false}, {60000, 10000, false, false}}},
      {"ends at the end of the range",
       {{Op::kPlay, 0, 2000, 2500}},
       {{400, 2400, true, true}, {500, 2500, false, false}, {900, 2500, false, false}}},
      {"a range past the stream is cut",
       {{Op::kPlay, 0, 12000, 20000}},
       {{0, 10000, false, false}}},
      {"channel pause holds",
       {{Op::kPlay, 0, 0, 10000}, {Op::kHoldChannel, 300}},
       {{800, 300, false, true}}},
      {"resume continues",
       {{Op::kPlay, 0, 0, 10000}, {Op::kHoldChannel, 300}, {Op::kReleaseChannel, 1300}},
       {{1500, 500, true, true}}},
      {"output hold outlasts its release while the channel holds",
       {{Op::kPlay, 0, 0, 10000},
        {Op::kHoldOutput, 100},
        {Op::kHoldChannel, 200},
        {Op::kReleaseOutput, 300}},
       {{350, 100, false, true}}},
      {"both holds released",
       {{Op::kPlay, 0, 0, 10000},
        {Op::kHoldOutput, 100},
        {Op::kHoldChannel, 200},
        {Op::kReleaseOutput, 300},
        {Op::kReleaseChannel, 400}},
       {{450, 150, true, true}}},
      {"a new play clears the channel hold",
       {{Op::kPlay, 0, 0, 10000}, {Op::kHoldChannel, 100}, {Op::kPlay, 200, 500, 10000}},
       {{300, 600, true, true}}},
      {"seek moves and keeps going",
       {{Op::kPlay, 0, 0, 10000}, {Op::kSeek, 500, 7000}},
       {{500, 7000, true, true}, {700, 7200, true, true}}},
      {"seek while held stays held",
       {{Op::kPlay, 0, 0, 10000}, {Op::kHoldOutput, 100}, {Op::kSeek, 200, 4000}},
       {{900, 4000, false, true}}},
      {"seek beyond the range plays to the stream's end",
       {{Op::kPlay, 0, 0, 2000}, {Op::kSeek, 100, 5000}},
       {{200, 5100, true, true}}},
      {"seek back after the end plays again",
       {{Op::kPlay, 0, 9500, 10000}, {Op::kSeek, 1000, 1000}},
       {{1100, 1100, true, true}}},
      {"seek past the end ends",
       {{Op::kPlay, 0, 0, 10000}, {Op::kSeek, 10, 99999}},
       {{20, 10000, false, false}}},
      {"stop holds for good",
       {{Op::kPlay, 0, 0, 10000}, {Op::kStop, 400}},
       {{900, 400, false, false}}},
      {"seek on an idle stream only moves",
       {{Op::kSeek, 0, 3000}},
       {{500, 3000, false, false}}},
      {"double speed",
       {{Op::kPlay, 0, 0, 10000}, {Op::kSpeed, 1000, 2000}},
       {{1500, 2000, true, true}}},
      {"speed 0 is ignored",
       {{Op::kPlay, 0, 0, 10000}, {Op::kSpeed, 100, 0}},
       {{300, 300, true, true}}},
      {"clock going back adds nothing",
       {{Op::kPlay, 1000, 0, 10000}},
       {{400, 0, true, true}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StreamTimeline timeline(10000, 1000);
    for (const Step& step : c.steps) {
      switch (step.op) {
        case Op::kPlay: timeline.Play(step.a, step.b, step.atMs); break;
        case Op::kSeek: timeline.Seek(step.a, step.atMs); break;
        case Op::kStop: timeline.Stop(step.atMs); break;
        case Op::kHoldChannel: timeline.Hold(kHoldChannel, step.atMs); break;
        case Op::kReleaseChannel: timeline.Release(kHoldChannel, step.atMs); break;
        case Op::kHoldOutput: timeline.Hold(kHoldOutput, step.atMs); break;
        case Op::kReleaseOutput: timeline.Release(kHoldOutput, step.atMs); break;
        case Op::kSpeed: timeline.SetSpeed(static_cast<uint32_t>(step.a), step.atMs); break;
      }
    }
    for (const Check& check : c.checks) {
      SCOPED_TRACE(check.atMs);
      EXPECT_EQ(check.position, timeline.PositionFrames(check.atMs));
      EXPECT_EQ(check.advancing, timeline.IsAdvancing(check.atMs));
      EXPECT_EQ(check.live, timeline.IsLive(check.atMs));
    }
  }
}

TEST(StreamTimeline, SlidesLinearly) {
  const struct {
    Slide slide;
    uint64_t atMs;
    int32_t expected;
  } cases[] = {
      {{100, 0, 1000, 500}, 900, 100},  {{100, 0, 1000, 500}, 1000, 100},
      {{100, 0, 1000, 500}, 1250, 50},  {{100, 0, 1000, 500}, 1500, 0},
      {{100, 0, 1000, 500}, 9000, 0},   {{20, 80, 0, 300}, 100, 40},
      {{100, 0, 1000, 0}, 1000, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, c.slide.ValueAt(c.atMs)) << c.atMs;
  }
  EXPECT_FALSE((Slide{100, 0, 1000, 500}.IsDone(1499)));
  EXPECT_TRUE((Slide{100, 0, 1000, 500}.IsDone(1500)));
}

}  // namespace

namespace {

TEST(StreamTimeline, LevelWindowIsWhatWasJustPlayed) {
  const struct {
    uint64_t position, frameCount;
    uint32_t rate;
    uint64_t start, count;
  } cases[] = {
      {44100, 441000, 44100, 44100 - 882, 882},  // the 20 ms before
      {0, 441000, 44100, 0, 882},                // the start: the first 20 ms
      {500, 441000, 44100, 0, 882},
      {441000, 441000, 44100, 441000 - 882, 882},
      {999999, 441000, 44100, 441000 - 882, 882},  // past the end: the last 20 ms
      {0, 100, 44100, 0, 100},                     // a stream shorter than the window
      {10, 100, 10, 9, 1},                         // a slow rate takes one frame
      {0, 0, 44100, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.position);
    tonelink::FrameSpan span = tonelink::LevelWindow(c.position, c.frameCount, c.rate);
    EXPECT_EQ(c.start, span.start);
    EXPECT_EQ(c.count, span.count);
  }
}

}  // namespace
