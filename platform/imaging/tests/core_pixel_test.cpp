// Pixel memory sizes, flip, mirror, quarter turns, resizing and colour
// counting on small pictures built in the tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pixel_layout.h"
#include "pixel_ops.h"

namespace {

using namespace imaging;

// A picture owning its pixels: pixel (x, y) is B = x, G = y, R = 100 + x + y
// unless a test paints it otherwise.
struct Picture {
  Picture(int32_t width, int32_t height, uint32_t bytesPerPixel = 3, uint32_t padding = 2)
      : bytes(static_cast<size_t>(width * bytesPerPixel + padding) * height, 0xEE) {
    image = {width, height, width * bytesPerPixel + padding, bytesPerPixel, bytes.data()};
  }
  void PaintCoordinates() {
    for (int32_t y = 0; y < image.height; ++y)
      for (int32_t x = 0; x < image.width; ++x) Set(x, y, x, y, 100 + x + y);
  }
  void Set(int32_t x, int32_t y, int b, int g, int r) {
    uint8_t* p = image.Pixel(x, y);
    p[0] = static_cast<uint8_t>(b);
    p[1] = static_cast<uint8_t>(g);
    p[2] = static_cast<uint8_t>(r);
    if (image.bytesPerPixel == 4) p[3] = 0xFF;
  }
  std::string At(int32_t x, int32_t y) const {
    const uint8_t* p = image.Pixel(x, y);
    return std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]);
  }
  std::vector<uint8_t> bytes;
  PixelImage image;
};

TEST(PixelLayout, DibRowsAndImages) {
  struct Case {
    const char* name;
    int64_t width, height;
    int32_t bits;
    int64_t row;    // -1: refused
    int64_t image;  // -1: refused
  };
  const Case cases[] = {
      {"24 bits, 7 wide", 7, 5, 24, 24, 120},
      {"24 bits, 4 wide has no padding", 4, 2, 24, 12, 24},
      {"32 bits", 3, 3, 32, 12, 36},
      {"8 bits", 5, 2, 8, 8, 16},
      {"4 bits", 9, 1, 4, 8, 8},
      {"1 bit", 33, 2, 1, 8, 16},
      {"16 bits", 3, 1, 16, 8, 8},
      {"zero width", 0, 5, 24, -1, -1},
      {"zero height", 5, 0, 24, 16, -1},
      {"negative height", 5, -3, 24, 16, -1},
      {"12 bits", 5, 5, 12, -1, -1},
      {"over a gibibyte", 20000, 20000, 32, 80000, -1},
      {"a row past the limit", int64_t{1} << 31, 1, 24, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<uint32_t> row = DibRowBytes(c.width, c.bits);
    std::optional<uint32_t> image = DibImageBytes(c.width, c.height, c.bits);
    EXPECT_EQ(c.row, row ? int64_t{*row} : -1);
    EXPECT_EQ(c.image, image ? int64_t{*image} : -1);
  }
  EXPECT_EQ(uint32_t{3 * 7 * 5}, *PackedRgbBytes(7, 5));
  EXPECT_FALSE(PackedRgbBytes(0, 5));
  EXPECT_FALSE(PackedRgbBytes(30000, 30000));
}

TEST(PixelOps, FlipAndMirror) {
  for (uint32_t bpp : {3u, 4u}) {
    SCOPED_TRACE(bpp);
    Picture p(3, 3, bpp);
    p.PaintCoordinates();
    FlipVertical(p.image);
    EXPECT_EQ("0,2,102", p.At(0, 0));
    EXPECT_EQ("2,0,102", p.At(2, 2));
    EXPECT_EQ("1,1,102", p.At(1, 1));
    ReverseHorizontal(p.image);
    EXPECT_EQ("2,2,104", p.At(0, 0));
    EXPECT_EQ("0,0,100", p.At(2, 2));
    EXPECT_EQ(0xEE, p.bytes[3 * bpp]) << "the row padding is left alone";
  }
}

TEST(PixelOps, QuarterTurns) {
  // A 3 x 2 picture: where does source pixel (x, y) land?
  struct Case {
    int32_t turns;
    int32_t width, height;
    int32_t sourceX, sourceY, targetX, targetY;
  };
  const Case cases[] = {
      {1, 2, 3, 0, 0, 1, 0},   // clockwise: the top-left goes top-right
      {1, 2, 3, 2, 0, 1, 2},
      {-1, 2, 3, 0, 0, 0, 2},  // counter-clockwise: the top-left goes bottom-left
      {3, 2, 3, 2, 1, 1, 0},
      {2, 3, 2, 0, 0, 2, 1},
      {4, 3, 2, 1, 1, 1, 1},
      {0, 3, 2, 2, 0, 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.turns);
    Picture source(3, 2);
    source.PaintCoordinates();
    Picture target(c.width, c.height);
    ASSERT_TRUE(RotateQuarterTurns(source.image, c.turns, target.image));
    EXPECT_EQ(source.At(c.sourceX, c.sourceY), target.At(c.targetX, c.targetY));
  }
  Picture source(3, 2);
  Picture wrong(3, 2);
  EXPECT_FALSE(RotateQuarterTurns(source.image, 1, wrong.image)) << "a target of the unturned size";
  Picture fourBytes(2, 3, 4);
  EXPECT_FALSE(RotateQuarterTurns(source.image, 1, fourBytes.image));
}

TEST(PixelOps, ResizeNearestCopiesPixels) {
  Picture source(2, 2);
  source.Set(0, 0, 10, 10, 10);
  source.Set(1, 0, 20, 20, 20);
  source.Set(0, 1, 30, 30, 30);
  source.Set(1, 1, 40, 40, 40);
  Picture target(4, 4);
  ASSERT_TRUE(Resize(source.image, target.image, ResizeMethod::kNearest));
  EXPECT_EQ("10,10,10", target.At(1, 1));
  EXPECT_EQ("20,20,20", target.At(2, 0));
  EXPECT_EQ("30,30,30", target.At(0, 3));
  EXPECT_EQ("40,40,40", target.At(3, 3));
}

TEST(PixelOps, ResampleAveragesWhenShrinking) {
  // Black and white columns shrink to grey; a flat colour stays itself.
  Picture stripes(4, 2);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 4; ++x) stripes.Set(x, y, x % 2 ? 255 : 0, x % 2 ? 255 : 0, x % 2 ? 255 : 0);
  Picture half(2, 1);
  ASSERT_TRUE(Resize(stripes.image, half.image, ResizeMethod::kResample));
  EXPECT_EQ("128,128,128", half.At(0, 0));
  EXPECT_EQ("128,128,128", half.At(1, 0));

  Picture flat(7, 5);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 7; ++x) flat.Set(x, y, 10, 200, 30);
  for (auto [w, h] : {std::pair{3, 2}, std::pair{13, 11}, std::pair{1, 1}, std::pair{7, 1}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    Picture out(w, h);
    ASSERT_TRUE(Resize(flat.image, out.image, ResizeMethod::kResample));
    EXPECT_EQ("10,200,30", out.At(0, 0));
    EXPECT_EQ("10,200,30", out.At(w - 1, h - 1));
  }
}

TEST(PixelOps, ResampleInterpolatesWhenEnlarging) {
  Picture source(2, 1);
  source.Set(0, 0, 0, 0, 0);
  source.Set(1, 0, 200, 200, 200);
  Picture target(4, 1);
  ASSERT_TRUE(Resize(source.image, target.image, ResizeMethod::kResample));
  EXPECT_EQ("0,0,0", target.At(0, 0));
  EXPECT_EQ("50,50,50", target.At(1, 0));
  EXPECT_EQ("150,150,150", target.At(2, 0));
  EXPECT_EQ("200,200,200", target.At(3, 0));
}

TEST(PixelOps, RefusesUnusableImages) {
  Picture good(2, 2);
  PixelImage noRows = good.image;
  noRows.rows = nullptr;
  PixelImage narrowStride = good.image;
  narrowStride.strideBytes = 5;
  PixelImage twoBytes = good.image;
  twoBytes.bytesPerPixel = 2;
  for (const PixelImage& bad : {noRows, narrowStride, twoBytes}) {
    EXPECT_FALSE(IsUsable(bad));
    EXPECT_FALSE(Resize(bad, good.image, ResizeMethod::kResample));
    EXPECT_FALSE(Resize(good.image, bad, ResizeMethod::kNearest));
    EXPECT_EQ(0u, CountColors(bad));
  }
}

TEST(PixelOps, CountsColoursIgnoringAlpha) {
  Picture p(4, 3, 4);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x) p.Set(x, y, 0, 0, 0);
  EXPECT_EQ(1u, CountColors(p.image));
  p.Set(1, 1, 255, 255, 255);
  p.Set(2, 2, 255, 255, 255);
  p.image.Pixel(2, 2)[3] = 0;  // another alpha is not another colour
  p.Set(3, 0, 1, 0, 0);
  EXPECT_EQ(3u, CountColors(p.image));
  Picture all(256, 256);
  for (int32_t y = 0; y < 256; ++y)
    for (int32_t x = 0; x < 256; ++x) all.Set(x, y, x, y, 7);
  EXPECT_EQ(65536u, CountColors(all.image));
}

}  // namespace
