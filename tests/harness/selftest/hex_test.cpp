// ToHex and FromHex: the byte strings of logs and orbdriver arguments.
#include <gtest/gtest.h>

#include <string>

#include "harness.h"

namespace {

using namespace std::string_literals;

struct HexCase {
  const char* name;
  std::string bytes;
  std::string hex;
};

const HexCase kHexCases[] = {
    {"empty", "", ""},
    {"one zero byte", "\0"s, "00"},
    {"zeros inside text", "a\0b\0"s, "61006200"},
    {"byte boundaries", "\x00\x0f\x10\x7f\x80\xff"s, "000f107f80ff"},
    {"letters", "AZaz", "415a617a"},
};

TEST(Hex, EncodesAndDecodesEachCase) {
  for (const HexCase& c : kHexCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.hex, harness::ToHex(c.bytes));
    std::string decoded = "sentinel";
    ASSERT_TRUE(harness::FromHex(c.hex, &decoded));
    EXPECT_EQ(c.bytes, decoded) << "decoded as " << harness::ToHex(decoded);
  }
}

TEST(Hex, RoundTripsEveryByteValue) {
  std::string all;
  for (int value = 0; value < 256; ++value) all.push_back(static_cast<char>(value));
  const std::string hex = harness::ToHex(all);
  ASSERT_EQ(512u, hex.size());
  EXPECT_EQ("000102", hex.substr(0, 6));
  EXPECT_EQ("fdfeff", hex.substr(506));
  std::string decoded;
  ASSERT_TRUE(harness::FromHex(hex, &decoded));
  EXPECT_EQ(all, decoded);
}

TEST(Hex, AcceptsUpperCase) {
  std::string decoded;
  ASSERT_TRUE(harness::FromHex("4A6bFF", &decoded));
  EXPECT_EQ("Jk\xff"s, decoded);
}

TEST(Hex, RejectsMalformedTextAndLeavesOutputAlone) {
  const char* const kBad[] = {"0", "abc", "0g", "g0", "zz", " 00", "00 ", "0x00", "-1"};
  for (const char* bad : kBad) {
    SCOPED_TRACE(std::string("input '") + bad + "'");
    std::string decoded = "sentinel";
    EXPECT_FALSE(harness::FromHex(bad, &decoded));
    EXPECT_EQ("sentinel", decoded);
  }
  std::string decoded = "sentinel";
  EXPECT_FALSE(harness::FromHex("00\0"s "0"s, &decoded)) << "an embedded zero is no hex digit";
  EXPECT_EQ("sentinel", decoded);
}

}  // namespace
