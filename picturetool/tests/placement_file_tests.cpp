// The placement file's bytes: golden files written and read back, the rules
// applied on reading, and damaged or short files.
#include <gtest/gtest.h>

#include <string>

#include "core/placement_file.h"

namespace paint {
namespace {

const PlacementContext kContext = {180, 120, 1024, 768, "C:\\windows\\"};

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

void ExpectRecord(const PlacementRecord& got, const PlacementRecord& want) {
  EXPECT_EQ(got.x, want.x);
  EXPECT_EQ(got.y, want.y);
  EXPECT_EQ(got.width, want.width);
  EXPECT_EQ(got.height, want.height);
  EXPECT_EQ(got.lastFolder, want.lastFolder);
  EXPECT_EQ(got.lastFilter, want.lastFilter);
  EXPECT_EQ(got.magnifierX, want.magnifierX);
  EXPECT_EQ(got.magnifierY, want.magnifierY);
}

TEST(PlacementFile, WritesTheGoldenBytesAndReadsThemBack) {
  const struct {
    const char* name;
    PlacementRecord record;
    std::string bytes;
  } cases[] = {
      {"plain", {40, 30, 640, 480, "C:\\pics\\", "*.JPG", 700, 20},
       Bytes({40, 0, 30, 0, 0x80, 2, 0xE0, 1}) + "C:\\pics\\|*.JPG#" + Bytes({0xBC, 2, 20, 0})},
      {"empty texts, magnifier left of the screen", {0, 0, 200, 150, "", "", -5, -300},
       Bytes({0, 0, 0, 0, 200, 0, 150, 0}) + "|#" + Bytes({0xFB, 0xFF, 0xD4, 0xFE})},
      // A folder with "#" and magnifier values that are "#" and "|" bytes.
      {"hash in the folder", {1, 2, 300, 200, "C:\\Projects\\C#\\", "*.PNG", 0x7C23, 0x237C},
       Bytes({1, 0, 2, 0, 0x2C, 1, 200, 0}) + "C:\\Projects\\C#\\|*.PNG#" + Bytes({0x23, 0x7C, 0x7C, 0x23})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PlacementBytes(c.record), c.bytes);
    ExpectRecord(ReadPlacement(c.bytes, kContext, 99, 99), c.record);
  }
}

TEST(PlacementFile, ValuesKeepTheirLowSixteenBits) {
  PlacementRecord record = {70000, 0, 640, 480, "", "", 0, 0};
  const std::string bytes = PlacementBytes(record);
  EXPECT_EQ(bytes.substr(0, 2), Bytes({0x70, 0x11}));  // 70000 = 0x11170
}

TEST(PlacementFile, ReadRulesAndDamagedFiles) {
  const PlacementRecord defaults = {212, 184, 600, 400, "C:\\windows\\", "", 0, 0};
  const std::string window = Bytes({10, 0, 20, 0, 0x80, 2, 0xE0, 1});
  const struct {
    const char* name;
    std::string bytes;
    PlacementRecord want;
  } cases[] = {
      {"no file", "", defaults},
      {"shorter than the window values", Bytes({10, 0, 20, 0, 0x80}), defaults},
      {"negative place, too small a window", Bytes({0xF6, 0xFF, 0x00, 0x80, 100, 0, 5, 0}) + "|#" + Bytes({1, 0, 2, 0}),
       {0, 0, 180, 120, "", "", 1, 2}},
      {"window values only", window, {10, 20, 640, 480, "", "", 7, 8}},
      {"no bar: all of it is the folder", window + "D:\\a\\#" + Bytes({3, 0, 4, 0}), {10, 20, 640, 480, "D:\\a\\", "", 3, 4}},
      {"no hash keeps the magnifier", window + "D:\\a\\|*.BMP", {10, 20, 640, 480, "D:\\a\\", "*.BMP", 7, 8}},
      {"too few bytes after the hash", window + "D:\\a\\|*.BMP#" + Bytes({3, 0}), {10, 20, 640, 480, "D:\\a\\", "*.BMP", 7, 8}},
      {"hash in a folder without its tail", window + "E:\\C#\\|*.GIF", {10, 20, 640, 480, "E:\\C", "", 7, 8}},
      {"zero bytes end the texts", window + std::string("F:\\x\0y|*.J\0G#", 13) + Bytes({5, 0, 6, 0}),
       {10, 20, 640, 480, "F:\\x", "*.J", 5, 6}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectRecord(ReadPlacement(c.bytes, kContext, 7, 8), c.want);
  }
}

TEST(PlacementFile, DefaultsStayOnASmallScreen) {
  const PlacementRecord record = DefaultPlacement({100, 100, 500, 300, "C:\\win\\"});
  EXPECT_EQ(record.x, 0);
  EXPECT_EQ(record.y, 0);
  EXPECT_EQ(record.width, 600);
  EXPECT_EQ(record.height, 400);
}

}  // namespace
}  // namespace paint
