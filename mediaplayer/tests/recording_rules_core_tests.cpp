// The window recording's rules: the frame rate, the file name, the status.
#include <gtest/gtest.h>

#include <string>

#include "core/recording_rules.h"

namespace {

TEST(RecordingRules, FrameRate) {
  const int32_t cases[][2] = {{-5, 3}, {0, 3}, {1, 1}, {15, 15}, {30, 30}, {45, 30}};
  for (const auto& c : cases) EXPECT_EQ(c[1], player::RecordingFrameRate(c[0])) << c[0];
}

TEST(RecordingRules, FileNameAndStatus) {
  EXPECT_EQ("orbplay.avi", player::RecordingFileName("ORBPLAY.EXE"));
  EXPECT_EQ("my.show.avi", player::RecordingFileName("C:\\Programs\\My.Show.exe"));
  EXPECT_EQ("kiosk.avi", player::RecordingFileName("Kiosk"));
  EXPECT_EQ("Frames 12, again 3 (12)", player::RecordingStatusText("Frames @, again # (@)", 12, 3));
  EXPECT_EQ("", player::RecordingStatusText("", 1, 2));
}

}  // namespace
