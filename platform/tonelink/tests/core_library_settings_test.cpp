// Version, configuration values, device numbers, the DirectX version and
// internet addresses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "library_settings.h"

namespace {

using namespace tonelink;

TEST(LibrarySettings, VersionReadsAsANumberAboveOnePointSix) {
  // The players compare the version with 1.6 as a decimal number.
  EXPECT_STREQ("2.0", kVersionText);
  EXPECT_GT(std::strtod(kVersionText, nullptr), 1.6);
}

struct ConfigCase {
  const char* name;
  int32_t option;
  int32_t value;
  ErrorCode expectedCode;
  LibraryConfig expected;  // the configuration after the call
};

TEST(LibrarySettings, ConfigValues) {
  const LibraryConfig start{50, 60, 70};
  const ConfigCase cases[] = {
      {"sample volume", 4, 100, kErrorNone, {100, 60, 70}},
      {"stream volume", 5, 100, kErrorNone, {50, 100, 70}},
      {"music volume", 6, 100, kErrorNone, {50, 60, 100}},
      {"zero volume", 5, 0, kErrorNone, {50, 0, 70}},
      {"volume too high", 4, 101, kErrorIllegalParameter, start},
      {"negative volume", 6, -1, kErrorIllegalParameter, start},
      {"option 3", 3, 100, kErrorIllegalParameter, start},
      {"option 7", 7, 100, kErrorIllegalParameter, start},
      {"option -1", -1, 0, kErrorIllegalParameter, start},
  };
  for (const ConfigCase& c : cases) {
    SCOPED_TRACE(c.name);
    LibraryConfig config = start;
    EXPECT_EQ(c.expectedCode, ApplyConfigValue(c.option, c.value, &config));
    EXPECT_EQ(c.expected.sampleVolume, config.sampleVolume);
    EXPECT_EQ(c.expected.streamVolume, config.streamVolume);
    EXPECT_EQ(c.expected.musicVolume, config.musicVolume);
  }
  LibraryConfig fresh;
  EXPECT_EQ(100, fresh.sampleVolume);
  EXPECT_EQ(100, fresh.streamVolume);
  EXPECT_EQ(100, fresh.musicVolume);
}

TEST(LibrarySettings, OutputFrequencies) {
  const struct {
    int32_t frequency;
    bool expected;
  } cases[] = {{44100, true},   {8000, true}, {192000, true}, {7999, false},
               {192001, false}, {0, false},   {-44100, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frequency);
    EXPECT_EQ(c.expected, IsValidOutputFrequency(c.frequency));
  }
}

struct DeviceCase {
  const char* name;
  int32_t device;
  uint32_t waveOutCount;
  ErrorCode expectedCode;
  bool expectedNull;
  uint32_t expectedId;
  bool expectedFallBack;
};

TEST(LibrarySettings, DeviceNumbers) {
  const DeviceCase cases[] = {
      {"first device, no sound card", 1, 0, kErrorNone, true, 0, true},
      {"default, no sound card", -1, 0, kErrorNone, true, 0, true},
      {"first device with one card", 1, 1, kErrorNone, false, 0, true},
      {"default with two cards", -1, 2, kErrorNone, false, 0, true},
      {"null device", 0, 2, kErrorNone, true, 0, false},
      {"null device, no sound card", 0, 0, kErrorNone, true, 0, false},
      {"second device", 2, 2, kErrorNone, false, 1, false},
      {"third device", 3, 3, kErrorNone, false, 2, false},
      {"second device missing", 2, 1, kErrorDevice, true, 0, false},
      {"second device, no sound card", 2, 0, kErrorDevice, true, 0, false},
      {"minus two", -2, 2, kErrorDevice, true, 0, false},
  };
  for (const DeviceCase& c : cases) {
    SCOPED_TRACE(c.name);
    OutputChoice choice;
    ASSERT_EQ(c.expectedCode, ResolveOutputDevice(c.device, c.waveOutCount, &choice));
    if (c.expectedCode != kErrorNone) continue;
    EXPECT_EQ(c.expectedNull, choice.isNullDevice);
    if (!c.expectedNull) {
      EXPECT_EQ(c.expectedId, choice.waveOutId);
    }
    EXPECT_EQ(c.expectedFallBack, choice.mayFallBack);
  }
}

struct DirectXCase {
  const char* name;
  std::optional<std::string> variable;
  int32_t expected;
};

TEST(LibrarySettings, DirectXVersion) {
  const DirectXCase cases[] = {
      {"unset", std::nullopt, 9},
      {"seven", std::string("7"), 7},
      {"eight", std::string("8"), 8},
      {"zero", std::string("0"), 0},
      {"blanks around", std::string("  10 "), 10},
      {"leading zeros", std::string("009"), 9},
      {"largest", std::string("2147483647"), 2147483647},
      {"too large", std::string("2147483648"), 9},
      {"empty", std::string(""), 9},
      {"only blanks", std::string("   "), 9},
      {"negative", std::string("-8"), 9},
      {"text", std::string("eight"), 9},
      {"trailing text", std::string("8a"), 9},
      {"inner blank", std::string("1 0"), 9},
      {"decimal point", std::string("8.1"), 9},
  };
  for (const DirectXCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, DirectXVersionFromVariable(c.variable));
  }
}

TEST(LibrarySettings, InternetAddresses) {
  const struct {
    const char* path;
    bool expected;
  } cases[] = {
      {"http://radio.example/stream", true},
      {"HTTP://RADIO.EXAMPLE/", true},
      {"https://x", true},
      {"ftp://host/a.mp3", true},
      {"mms://host/live", true},
      {"http:/", false},
      {"C:\\music\\a.mp3", false},
      {"http.mp3", false},
      {"", false},
      {"\\\\server\\share\\a.wav", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(c.expected, IsInternetAddress(c.path));
  }
}

}  // namespace
