// The BMP encoder: headers, bottom-up rows with padding, palettes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bmp_encoder.h"
#include "picture_format.h"

namespace {

using namespace imaging;

uint32_t U32(const std::string& b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
         static_cast<uint8_t>(b[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint32_t U16(const std::string& b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
}

struct Pixels {
  Pixels(int32_t w, int32_t h) : bytes(static_cast<size_t>(w) * h * 3) { image = {w, h, static_cast<uint32_t>(w * 3), 3, bytes.data()}; }
  void Set(int32_t x, int32_t y, uint8_t b, uint8_t g, uint8_t r) {
    uint8_t* p = image.Pixel(x, y);
    p[0] = b;
    p[1] = g;
    p[2] = r;
  }
  std::vector<uint8_t> bytes;
  PixelImage image;
};

TEST(BmpEncoder, HeadersOfEveryDepth) {
  struct Case {
    int32_t bits;
    uint32_t paletteEntries;
    uint32_t rowBytes;
  };
  // A 5 x 3 picture of two colours.
  const Case cases[] = {{1, 2, 4}, {4, 2, 4}, {8, 2, 8}, {16, 0, 12}, {24, 0, 16}, {32, 0, 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    Pixels p(5, 3);
    p.Set(4, 0, 255, 255, 255);
    std::string file = EncodeBmp(p.image, c.bits);
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(kFormatBmp, DetectFileFormat(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
    const uint32_t offset = kBmpHeaderBytes + 4 * c.paletteEntries;
    EXPECT_EQ(file.size(), U32(file, 2));
    EXPECT_EQ(offset, U32(file, 10));
    EXPECT_EQ(40u, U32(file, 14));
    EXPECT_EQ(5u, U32(file, 18));
    EXPECT_EQ(3u, U32(file, 22));
    EXPECT_EQ(1u, U16(file, 26));
    EXPECT_EQ(static_cast<uint32_t>(c.bits), U16(file, 28));
    EXPECT_EQ(c.rowBytes * 3, U32(file, 34));
    EXPECT_EQ(c.paletteEntries, U32(file, 46));
    EXPECT_EQ(offset + c.rowBytes * 3, file.size());
  }
}

TEST(BmpEncoder, RowsAreBottomUp) {
  Pixels p(2, 2);
  p.Set(0, 0, 1, 2, 3);   // top-left
  p.Set(1, 1, 4, 5, 6);   // bottom-right
  std::string file = EncodeBmp(p.image, 24);
  ASSERT_EQ(kBmpHeaderBytes + 16, file.size());
  // The first stored row is the bottom one: (0,1) black, then (1,1).
  EXPECT_EQ(std::string("\0\0\0\4\5\6\0\0", 8), file.substr(kBmpHeaderBytes, 8));
  EXPECT_EQ(std::string("\1\2\3\0\0\0\0\0", 8), file.substr(kBmpHeaderBytes + 8, 8));
}

TEST(BmpEncoder, ExactPaletteWhenColoursFit) {
  Pixels p(3, 1);
  p.Set(0, 0, 0, 0, 255);
  p.Set(1, 0, 0, 255, 0);
  p.Set(2, 0, 0, 0, 255);
  std::string file = EncodeBmp(p.image, 8);
  ASSERT_EQ(2u, U32(file, 46));
  EXPECT_EQ(std::string("\0\0\xFF\0\0\xFF\0\0", 8), file.substr(kBmpHeaderBytes, 8));
  EXPECT_EQ(std::string("\0\1\0\0", 4), file.substr(kBmpHeaderBytes + 8, 4));
  // 4 bits: two pixels a byte, high nibble first.
  std::string four = EncodeBmp(p.image, 4);
  EXPECT_EQ(std::string("\x01\x00\0\0", 4), four.substr(kBmpHeaderBytes + 8, 4));
}

TEST(BmpEncoder, FixedPalettesForManyColours) {
  Pixels p(20, 20);
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 20; ++x) p.Set(x, y, static_cast<uint8_t>(x * 12), static_cast<uint8_t>(y * 12), 200);
  p.Set(0, 19, 255, 255, 255);  // bottom-left: the first stored pixel
  std::string eight = EncodeBmp(p.image, 8);
  ASSERT_EQ(256u, U32(eight, 46));
  const size_t pixels8 = kBmpHeaderBytes + 256 * 4;
  EXPECT_EQ(0xFF, static_cast<uint8_t>(eight[pixels8])) << "white is the last 3-3-2 entry";
  std::string one = EncodeBmp(p.image, 1);
  ASSERT_EQ(2u, U32(one, 46));
  EXPECT_EQ(0x80, static_cast<uint8_t>(one[kBmpHeaderBytes + 8]) & 0x80) << "white maps to index 1";
  std::string four = EncodeBmp(p.image, 4);
  ASSERT_EQ(16u, U32(four, 46));
  EXPECT_EQ(0xF0, static_cast<uint8_t>(four[kBmpHeaderBytes + 64]) & 0xF0) << "white is VGA entry 15";
}

TEST(BmpEncoder, SixteenBitsPackFiveBitsAColour) {
  Pixels p(1, 1);
  p.Set(0, 0, 0x08, 0xFF, 0x80);  // blue 1, green 31, red 16 in 5 bits
  std::string file = EncodeBmp(p.image, 16);
  ASSERT_EQ(kBmpHeaderBytes + 4, file.size());
  EXPECT_EQ((16u << 10) | (31u << 5) | 1u, U16(file, kBmpHeaderBytes));
}

TEST(BmpEncoder, RefusesOtherDepthsAndBadImages) {
  Pixels p(2, 2);
  for (int32_t bits : {0, 2, 12, 48, -24}) {
    SCOPED_TRACE(bits);
    EXPECT_TRUE(EncodeBmp(p.image, bits).empty());
  }
  PixelImage none{};
  EXPECT_TRUE(EncodeBmp(none, 24).empty());
}

}  // namespace
