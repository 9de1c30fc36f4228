// Ranges of channel attributes and slides.
#include <gtest/gtest.h>

#include "channel_attributes.h"

namespace {

using namespace tonelink;

struct AttributesCase {
  const char* name;
  ChannelAttributes attributes;
  int32_t durationMs;  // for the slide
  ErrorCode expectedSet;
  ErrorCode expectedSlide;
};

TEST(ChannelAttributes, Ranges) {
  const ErrorCode ok = kErrorNone;
  const ErrorCode bad = kErrorIllegalParameter;
  const AttributesCase cases[] = {
      {"players' volume change", {-1, 80, -101}, 0, ok, ok},
      {"fade out and stop", {-1, -2, -101}, 3000, bad, ok},
      {"keep everything", {-1, -1, -101}, 0, ok, ok},
      {"full range", {100000, 100, 100}, 10, ok, ok},
      {"low ends", {100, 0, -100}, 10, ok, ok},
      {"stream's own frequency", {0, 50, 0}, 10, ok, ok},
      {"volume too high", {-1, 101, -101}, 10, bad, bad},
      {"volume -3", {-1, -3, -101}, 10, bad, bad},
      {"frequency too low", {99, 50, 0}, 10, bad, bad},
      {"frequency too high", {100001, 50, 0}, 10, bad, bad},
      {"frequency -2", {-2, 50, 0}, 10, bad, bad},
      {"panning too far left", {-1, 50, -102}, 10, bad, bad},
      {"panning too far right", {-1, 50, 101}, 10, bad, bad},
      {"negative duration", {-1, 50, 0}, -1, ok, bad},
      {"fade with bad panning", {-1, -2, 101}, 10, bad, bad},
  };
  for (const AttributesCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expectedSet, CheckAttributes(c.attributes));
    EXPECT_EQ(c.expectedSlide, CheckSlide(c.attributes, c.durationMs));
  }
}

}  // namespace
