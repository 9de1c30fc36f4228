// The drive's settings: file lines, environment variables over the file,
// and the stored layout of a medium (the state file a second process reads).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "drive_config.h"
#include "medium_state.h"

namespace {

using namespace softdrive;

TEST(DriveConfig, FileLinesAndEnvironment) {
  std::map<std::string, std::string> env = {
      {"ORB_DRIVE_CONFIG", "/cfg"}, {"ORB_DRIVE_MEDIUM", "dvd+rw"}, {"ORB_DRIVE_SLOW_MS", "20"}};
  std::string file =
      "# drive\nletter = q\nvendor=ACME\nproduct=Burner 9000\nmedium=cd-r\ncapacity=1000\n"
      "write_error_lba=77\nbogus=1\nsessions=300\nbacking=/tmp/x.img\n";
  std::vector<std::string> problems;
  DriveConfig config = LoadConfig(
      [&](const std::string& name) -> std::optional<std::string> {
        auto it = env.find(name);
        return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
      },
      [&](const std::string& path) -> std::optional<std::string> {
        return path == "/cfg" ? std::optional<std::string>(file) : std::nullopt;
      },
      &problems);
  EXPECT_EQ('Q', config.letter);
  EXPECT_EQ("ACME", config.vendor);
  EXPECT_EQ("Burner 9000", config.product);
  EXPECT_EQ(MediumKind::kDvdPlusRw, config.medium);  // the variable wins over the file
  EXPECT_EQ(1000u, config.EffectiveCapacity());
  EXPECT_EQ(77u, config.writeErrorLba.value_or(0));
  EXPECT_EQ(20u, config.slowMs);
  EXPECT_EQ("/tmp/x.img", config.backingPath);
  ASSERT_EQ(2u, problems.size());  // the unknown key and the 300 sessions
  EXPECT_EQ("bogus=1", problems[0]);
  EXPECT_EQ("sessions=300", problems[1]);
}

TEST(DriveConfig, RefusedValuesLeaveTheSettingAlone) {
  struct Case {
    const char* key;
    const char* value;
  } cases[] = {{"letter", "QQ"}, {"vendor", "NINECHARS"}, {"product", "ctl\x01"}, {"medium", "floppy"},
               {"capacity", "-1"}, {"capacity", "12x"}, {"slow_ms", "99999"}, {"finalized", "maybe"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    DriveConfig config;
    EXPECT_FALSE(ApplySetting(c.key, c.value, &config));
    DriveConfig untouched;
    EXPECT_EQ(untouched.letter, config.letter);
    EXPECT_EQ(untouched.vendor, config.vendor);
    EXPECT_EQ(untouched.capacityBlocks, config.capacityBlocks);
    EXPECT_EQ(untouched.slowMs, config.slowMs);
  }
}

TEST(MediumState, ConfiguredSessionsLieWhereDrivesPutThem) {
  DriveConfig config;
  config.medium = MediumKind::kCdR;
  config.sessions = 2;
  config.sessionBlocks = 1000;
  MediumState state = MakeInitialState(config);
  ASSERT_EQ(2u, state.sessions.size());
  EXPECT_EQ(0u, state.sessions[0].tracks[0].start);
  EXPECT_EQ(12400u, state.sessions[1].tracks[0].start);   // lead-out, lead-in and pre-gap
  EXPECT_EQ(13400u + 6900u, state.NextWritable());
  config.medium = MediumKind::kDvdPlusR;
  state = MakeInitialState(config);
  EXPECT_EQ(1000u, state.sessions[1].tracks[0].start);
  EXPECT_EQ(2000u, state.NextWritable());
}

TEST(MediumState, RoundTripAndRefusals) {
  DriveConfig config;
  config.medium = MediumKind::kDvdR;
  config.sessions = 3;
  config.sessionBlocks = 500;
  MediumState state = MakeInitialState(config);
  auto again = ParseState(SerializeState(state));
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(SerializeState(state), SerializeState(*again));

  const char* bad[] = {
      "",
      "not a state\n",
      "orb-soft-drive-state 1\nmedium cd-r\ncapacity 100\nsession 1\ntrack 0 200 0 1\n",  // past the end
      "orb-soft-drive-state 1\nmedium cd-r\ncapacity 1000\nsession 1\ntrack 10 20 0 1\ntrack 5 1 0 1\n",  // overlap
      "orb-soft-drive-state 1\nmedium cd-r\ncapacity 1000\nsession 0\ntrack 0 1 0 0\nsession 1\ntrack 9 1 0 1\n",
      "orb-soft-drive-state 1\nmedium cd-r\ncapacity 1000\ntrack 0 1 0 1\n",  // a track outside a session
      "orb-soft-drive-state 1\nmedium cd-r\ncapacity 99999999999\n",
      "orb-soft-drive-state 1\nmedium tape\n",
  };
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ParseState(text).has_value());
  }
}

}  // namespace
