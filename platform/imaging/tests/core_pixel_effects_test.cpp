// The colour and filter effects on small pictures built here: one table of
// cases, each an effect on a known picture with a few probed pixels (edges
// and corners among them), and the refused values that leave it untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "error_codes.h"
#include "pixel_effects.h"

namespace {

using namespace imaging;

struct Rgb {
  int r, g, b;
};

std::string Text(Rgb c) { return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b); }

// A picture owning its pixels, padded rows, alpha 0x7F at 4 bytes a pixel
// (so a change to alpha shows).
struct Picture {
  Picture(int32_t width, int32_t height, uint32_t bytesPerPixel = 3)
      : bytes(static_cast<size_t>(width * bytesPerPixel + 3) * height, 0) {
    image = {width, height, width * bytesPerPixel + 3, bytesPerPixel, bytes.data()};
    Fill({0, 0, 0});
  }
  void Set(int32_t x, int32_t y, Rgb c) {
    uint8_t* p = image.Pixel(x, y);
    p[0] = static_cast<uint8_t>(c.b);
    p[1] = static_cast<uint8_t>(c.g);
    p[2] = static_cast<uint8_t>(c.r);
    if (image.bytesPerPixel == 4) p[3] = 0x7F;
  }
  void Fill(Rgb c) {
    for (int32_t y = 0; y < image.height; ++y)
      for (int32_t x = 0; x < image.width; ++x) Set(x, y, c);
  }
  Rgb At(int32_t x, int32_t y) const {
    const uint8_t* p = image.Pixel(x, y);
    return {p[2], p[1], p[0]};
  }
  std::vector<uint8_t> bytes;
  PixelImage image;
};

// Four columns: dark grey 40, pure red, mid grey 128, light (200, 150, 100);
// rows repeat them.
void PaintColumns(Picture& p) {
  const Rgb columns[4] = {{40, 40, 40}, {255, 0, 0}, {128, 128, 128}, {200, 150, 100}};
  for (int32_t y = 0; y < p.image.height; ++y)
    for (int32_t x = 0; x < p.image.width; ++x) p.Set(x, y, columns[x % 4]);
}

// Black picture with one white pixel at (2, 2).
void PaintDot(Picture& p) {
  p.Fill({0, 0, 0});
  p.Set(2, 2, {255, 255, 255});
}

// A horizontal ramp: pixel x is grey 10 + 20 x.
void PaintRamp(Picture& p) {
  for (int32_t y = 0; y < p.image.height; ++y)
    for (int32_t x = 0; x < p.image.width; ++x) p.Set(x, y, {10 + 20 * x, 10 + 20 * x, 10 + 20 * x});
}

struct Probe {
  int32_t x, y;
  Rgb expected;
};

struct Case {
  const char* name;
  void (*paint)(Picture&);
  std::function<int32_t(const PixelImage&)> effect;
  std::vector<Probe> probes;
};

TEST(PixelEffects, ProbedPixels) {
  const Case cases[] = {
      {"invert", PaintColumns, [](const PixelImage& i) { return Invert(i); },
       {{0, 0, {215, 215, 215}}, {1, 3, {0, 255, 255}}, {3, 4, {55, 105, 155}}}},
      {"grey scale: luminance", PaintColumns, [](const PixelImage& i) { return GrayScale(i); },
       {{1, 0, {76, 76, 76}}, {3, 4, {159, 159, 159}}, {2, 2, {128, 128, 128}}}},
      {"contrast +500 doubles the distance from 128", PaintColumns,
       [](const PixelImage& i) { return ChangeContrast(i, 500); },
       {{0, 0, {0, 0, 0}}, {2, 1, {128, 128, 128}}, {3, 0, {255, 172, 72}}}},
      {"contrast -500 halves it", PaintColumns, [](const PixelImage& i) { return ChangeContrast(i, -500); },
       {{0, 0, {84, 84, 84}}, {1, 4, {192, 64, 64}}, {3, 4, {164, 139, 114}}}},
      {"contrast 1000 leaves only black and white", PaintColumns,
       [](const PixelImage& i) { return ChangeContrast(i, 1000); },
       {{0, 0, {0, 0, 0}}, {3, 0, {255, 255, 0}}, {2, 0, {128, 128, 128}}}},
      {"intensity +500 half way to white", PaintColumns, [](const PixelImage& i) { return ChangeIntensity(i, 500); },
       {{0, 0, {148, 148, 148}}, {1, 0, {255, 128, 128}}}},
      {"intensity -1000 is black", PaintColumns, [](const PixelImage& i) { return ChangeIntensity(i, -1000); },
       {{3, 3, {0, 0, 0}}, {1, 0, {0, 0, 0}}}},
      {"hue +120 turns red to green, greys stay", PaintColumns, [](const PixelImage& i) { return ChangeHue(i, 120); },
       {{1, 0, {0, 255, 0}}, {0, 4, {40, 40, 40}}, {3, 0, {100, 200, 150}}}},
      {"hue -360 is a whole turn", PaintColumns, [](const PixelImage& i) { return ChangeHue(i, -360); },
       {{1, 0, {255, 0, 0}}, {3, 0, {200, 150, 100}}}},
      {"saturation -1000 is grey", PaintColumns, [](const PixelImage& i) { return ChangeSaturation(i, -1000); },
       {{1, 0, {76, 76, 76}}, {3, 2, {159, 159, 159}}}},
      {"saturation +500", PaintColumns, [](const PixelImage& i) { return ChangeSaturation(i, 500); },
       {{3, 0, {220, 145, 70}}, {0, 0, {40, 40, 40}}}},
      {"gamma 200 brightens", PaintColumns, [](const PixelImage& i) { return GammaCorrect(i, 200); },
       {{0, 0, {101, 101, 101}}, {1, 0, {255, 0, 0}}, {2, 0, {181, 181, 181}}}},
      {"gamma 100 leaves the picture", PaintColumns, [](const PixelImage& i) { return GammaCorrect(i, 100); },
       {{3, 4, {200, 150, 100}}}},
      {"histogram contrast around the mean", PaintColumns,
       [](const PixelImage& i) { return HistoContrast(i, -1000); },
       // mean luminance of the columns 40, 76, 128, 159, 40 = 88.6
       {{0, 0, {89, 89, 89}}, {1, 0, {89, 89, 89}}}},
      {"histogram equalization", PaintRamp, [](const PixelImage& i) { return HistoEqualize(i); },
       {{0, 0, {0, 0, 0}}, {1, 2, {64, 64, 64}}, {4, 4, {255, 255, 255}}}},
      {"stretch intensity", PaintRamp, [](const PixelImage& i) { return StretchIntensity(i); },
       {{0, 1, {0, 0, 0}}, {2, 0, {128, 128, 128}}, {4, 3, {255, 255, 255}}}},
      {"sharpen 1000 lifts the dot, darkens nothing below 0", PaintDot,
       [](const PixelImage& i) { return Sharpen(i, 1000); },
       {{2, 2, {255, 255, 255}}, {1, 1, {0, 0, 0}}, {0, 0, {0, 0, 0}}}},
      {"sharpen -1000 softens to the 3 x 3 mean", PaintDot, [](const PixelImage& i) { return Sharpen(i, -1000); },
       {{2, 2, {28, 28, 28}}, {1, 1, {28, 28, 28}}, {0, 0, {0, 0, 0}}}},
      {"solarize above 127", PaintColumns, [](const PixelImage& i) { return Solarize(i, 127); },
       {{0, 0, {40, 40, 40}}, {1, 0, {0, 0, 0}}, {3, 0, {55, 105, 100}}}},
      {"solarize 255 changes nothing", PaintColumns, [](const PixelImage& i) { return Solarize(i, 255); },
       {{1, 0, {255, 0, 0}}}},
      {"posterize to 2 levels", PaintColumns, [](const PixelImage& i) { return Posterize(i, 2); },
       {{0, 0, {0, 0, 0}}, {2, 0, {255, 255, 255}}, {3, 0, {255, 255, 0}}}},
      {"posterize to 4 levels", PaintColumns, [](const PixelImage& i) { return Posterize(i, 4); },
       {{0, 0, {0, 0, 0}}, {3, 0, {170, 170, 85}}}},
      {"mosaic 2: tiles from the top left, the last one cut", PaintRamp, [](const PixelImage& i) { return Mosaic(i, 2); },
       {{0, 0, {20, 20, 20}}, {1, 1, {20, 20, 20}}, {4, 4, {90, 90, 90}}}},
      {"average 3 at the edge repeats the edge", PaintDot, [](const PixelImage& i) { return AverageFilter(i, 3); },
       {{2, 2, {28, 28, 28}}, {3, 3, {28, 28, 28}}, {0, 0, {0, 0, 0}}, {4, 4, {0, 0, 0}}}},
      {"average 2 reaches one pixel after", PaintDot, [](const PixelImage& i) { return AverageFilter(i, 2); },
       {{2, 2, {64, 64, 64}}, {1, 1, {64, 64, 64}}, {3, 3, {0, 0, 0}}}},
      {"median 3 removes the dot", PaintDot, [](const PixelImage& i) { return MedianFilter(i, 3); },
       {{2, 2, {0, 0, 0}}, {4, 0, {0, 0, 0}}}},
      {"median 3 of the ramp keeps it", PaintRamp, [](const PixelImage& i) { return MedianFilter(i, 3); },
       {{0, 0, {10, 10, 10}}, {2, 2, {50, 50, 50}}, {4, 4, {90, 90, 90}}}},
      {"oilify 3 takes the most frequent", PaintColumns, [](const PixelImage& i) { return Oilify(i, 3); },
       // at x 0 the window is columns 0, 0, 1 (the edge repeated)
       {{0, 2, {40, 40, 40}}, {4, 0, {40, 40, 40}}}},
      {"emboss north: lit from above", PaintDot, [](const PixelImage& i) { return Emboss(i, 0, 250); },
       // (2, 3) has the dot above it, (2, 1) below it
       {{2, 3, {255, 255, 255}}, {2, 1, {0, 0, 0}}, {0, 0, {128, 128, 128}}, {2, 2, {128, 128, 128}}}},
      {"emboss south is the mirror image", PaintDot, [](const PixelImage& i) { return Emboss(i, 4, 250); },
       {{2, 3, {0, 0, 0}}, {2, 1, {255, 255, 255}}}},
      {"emboss north-east at half depth", PaintDot, [](const PixelImage& i) { return Emboss(i, 1, 100); },
       {{1, 3, {230, 230, 230}}, {3, 1, {26, 26, 26}}, {2, 3, {128, 128, 128}}}},
  };
  for (const Case& c : cases) {
    for (uint32_t bytesPerPixel : {3u, 4u}) {
      SCOPED_TRACE(std::string(c.name) + (bytesPerPixel == 4 ? " (32 bits)" : " (24 bits)"));
      Picture picture(5, 5, bytesPerPixel);
      c.paint(picture);
      ASSERT_EQ(kSuccess, c.effect(picture.image));
      for (const Probe& probe : c.probes) {
        SCOPED_TRACE("pixel " + std::to_string(probe.x) + ", " + std::to_string(probe.y));
        EXPECT_EQ(Text(probe.expected), Text(picture.At(probe.x, probe.y)));
      }
      if (bytesPerPixel == 4) {
        EXPECT_EQ(0x7F, picture.image.Pixel(4, 4)[3]) << "alpha changed";
      }
    }
  }
}

TEST(PixelEffects, ValuesOutOfRangeLeaveThePicture) {
  const std::function<int32_t(const PixelImage&)> refused[] = {
      [](const PixelImage& i) { return ChangeContrast(i, 1001); },
      [](const PixelImage& i) { return ChangeIntensity(i, -1001); },
      [](const PixelImage& i) { return ChangeHue(i, 361); },
      [](const PixelImage& i) { return ChangeSaturation(i, 2000); },
      [](const PixelImage& i) { return GammaCorrect(i, 0); },
      [](const PixelImage& i) { return HistoContrast(i, -1001); },
      [](const PixelImage& i) { return Sharpen(i, 1001); },
      [](const PixelImage& i) { return Solarize(i, 256); },
      [](const PixelImage& i) { return Posterize(i, 1); },
      [](const PixelImage& i) { return Mosaic(i, -1); },
      [](const PixelImage& i) { return AverageFilter(i, 1001); },
      [](const PixelImage& i) { return MedianFilter(i, -5); },
      [](const PixelImage& i) { return Oilify(i, 5000); },
      [](const PixelImage& i) { return Emboss(i, 8, 500); },
      [](const PixelImage& i) { return Emboss(i, 0, 1001); },
  };
  int index = 0;
  for (const auto& effect : refused) {
    SCOPED_TRACE(index++);
    Picture picture(4, 3);
    PaintColumns(picture);
    const std::vector<uint8_t> before = picture.bytes;
    EXPECT_EQ(kErrorInvalidParameter, effect(picture.image));
    EXPECT_EQ(before, picture.bytes);
  }
  PixelImage empty{};
  EXPECT_EQ(kErrorInvalidParameter, Invert(empty));
}

TEST(PixelEffects, SizesBelowTwoLeaveThePicture) {
  for (int32_t size : {0, 1}) {
    SCOPED_TRACE(size);
    Picture picture(5, 5);
    PaintDot(picture);
    const std::vector<uint8_t> before = picture.bytes;
    EXPECT_EQ(kSuccess, Mosaic(picture.image, size));
    EXPECT_EQ(kSuccess, AverageFilter(picture.image, size));
    EXPECT_EQ(kSuccess, MedianFilter(picture.image, size));
    EXPECT_EQ(kSuccess, Oilify(picture.image, size));
    EXPECT_EQ(before, picture.bytes);
  }
}

TEST(PixelEffects, AverageOfALargeNeighbourhoodIsTheMean) {
  // A 7-pixel window on a 3-pixel row repeats its edges.
  Picture picture(3, 1);
  for (int32_t x = 0; x < 3; ++x) picture.Set(x, 0, {70 * x, 0, 0});
  ASSERT_EQ(kSuccess, AverageFilter(picture.image, 7));
  // A single row repeats itself vertically, so the rows change nothing.
  EXPECT_EQ(50, picture.At(0, 0).r);  // (0 x 4 + 70 + 140 x 2) / 7
  EXPECT_EQ(70, picture.At(1, 0).r);  // (0 x 3 + 70 + 140 x 3) / 7
  EXPECT_EQ(90, picture.At(2, 0).r);  // (0 x 2 + 70 + 140 x 4) / 7
}

// Every pixel of the average is the rounded mean of the size x size square
// around it (edges repeated), counted here square by square, on pictures of
// mixed pixels taller and wider than the window and narrower than it.
TEST(PixelEffects, AverageIsTheMeanOfEverySquare) {
  struct Shape {
    int32_t width, height;
  };
  for (Shape shape : {Shape{9, 14}, Shape{17, 5}, Shape{1, 12}, Shape{11, 1}, Shape{6, 6}}) {
    for (int32_t size : {2, 3, 4, 5, 8, 15}) {
      for (uint32_t bytesPerPixel : {3u, 4u}) {
        SCOPED_TRACE(std::to_string(shape.width) + "x" + std::to_string(shape.height) + " size " +
                     std::to_string(size) + " at " + std::to_string(bytesPerPixel));
        Picture picture(shape.width, shape.height, bytesPerPixel);
        for (int32_t y = 0; y < shape.height; ++y)
          for (int32_t x = 0; x < shape.width; ++x)
            picture.Set(x, y, {(x * 37 + y * 11) % 256, (x * x * 5 + y * 29 + 7) % 256, (x * y * 13 + 200) % 256});
        std::vector<uint8_t> originalBytes = picture.bytes;
        PixelImage original = picture.image;
        original.rows = originalBytes.data();
        ASSERT_EQ(kSuccess, AverageFilter(picture.image, size));
        for (int32_t y = 0; y < shape.height; ++y) {
          for (int32_t x = 0; x < shape.width; ++x) {
            long sums[3] = {0, 0, 0};
            for (int32_t dy = -(size - 1) / 2; dy <= size / 2; ++dy) {
              for (int32_t dx = -(size - 1) / 2; dx <= size / 2; ++dx) {
                const uint8_t* c =
                    original.Pixel(std::clamp(x + dx, 0, shape.width - 1), std::clamp(y + dy, 0, shape.height - 1));
                sums[0] += c[2];
                sums[1] += c[1];
                sums[2] += c[0];
              }
            }
            const double area = static_cast<double>(size) * size;
            const Rgb expected = {static_cast<int>(std::lround(sums[0] / area)),
                                  static_cast<int>(std::lround(sums[1] / area)),
                                  static_cast<int>(std::lround(sums[2] / area))};
            ASSERT_EQ(Text(expected), Text(picture.At(x, y))) << "pixel " << x << ", " << y;
          }
        }
      }
    }
  }
}

TEST(PixelEffects, TrimRectangles) {
  struct TrimCase {
    const char* name;
    int32_t threshold;
    std::vector<Probe> paint;  // on white
    TrimRect expected;
  };
  const TrimCase cases[] = {
      {"a dark block inside a white border", 0, {{2, 1, {0, 0, 0}}, {3, 3, {0, 0, 0}}}, {2, 1, 2, 3}},
      {"a pixel at the far corner", 0, {{5, 4, {10, 10, 10}}}, {5, 4, 1, 1}},
      {"all border keeps one pixel", 0, {}, {0, 0, 1, 1}},
      {"within the threshold is border", 20, {{2, 2, {240, 240, 240}}, {4, 1, {200, 255, 255}}}, {4, 1, 1, 1}},
  };
  for (const TrimCase& c : cases) {
    SCOPED_TRACE(c.name);
    Picture picture(6, 5);
    picture.Fill({255, 255, 255});
    for (const Probe& probe : c.paint) picture.Set(probe.x, probe.y, probe.expected);
    TrimRect rect{-1, -1, -1, -1};
    ASSERT_EQ(kSuccess, TrimRectangle(picture.image, c.threshold, &rect));
    EXPECT_EQ(c.expected.left, rect.left);
    EXPECT_EQ(c.expected.top, rect.top);
    EXPECT_EQ(c.expected.width, rect.width);
    EXPECT_EQ(c.expected.height, rect.height);
  }
  Picture picture(2, 2);
  TrimRect rect;
  EXPECT_EQ(kErrorInvalidParameter, TrimRectangle(picture.image, 256, &rect));
  EXPECT_EQ(kErrorInvalidParameter, TrimRectangle(picture.image, 0, nullptr));
}

TEST(PixelEffects, UnderlayTilesOrStretches) {
  // Texture 2 x 1: white (brightens to the limit) and middle grey 128 (leaves).
  Picture texture(2, 1);
  texture.Set(0, 0, {255, 255, 255});
  texture.Set(1, 0, {128, 128, 128});
  struct UnderlayCase {
    const char* name;
    UnderlayMode mode;
    std::vector<Probe> probes;
  };
  const UnderlayCase cases[] = {
      {"tiled: the texture repeats every 2 pixels", UnderlayMode::kTile,
       {{0, 0, {199, 159, 255}}, {1, 0, {100, 80, 180}}, {2, 3, {199, 159, 255}}, {5, 2, {100, 80, 180}}}},
      {"stretched: the left half white, the right half grey", UnderlayMode::kStretch,
       {{0, 0, {199, 159, 255}}, {2, 3, {199, 159, 255}}, {3, 0, {100, 80, 180}}, {5, 2, {100, 80, 180}}}},
  };
  for (const UnderlayCase& c : cases) {
    SCOPED_TRACE(c.name);
    Picture picture(6, 4);
    picture.Fill({100, 80, 180});
    ASSERT_EQ(kSuccess, Underlay(picture.image, texture.image, c.mode));
    for (const Probe& probe : c.probes) {
      SCOPED_TRACE("pixel " + std::to_string(probe.x) + ", " + std::to_string(probe.y));
      EXPECT_EQ(Text(probe.expected), Text(picture.At(probe.x, probe.y)));
    }
  }
  PixelImage empty{};
  Picture picture(2, 2);
  EXPECT_EQ(kErrorInvalidParameter, Underlay(picture.image, empty, UnderlayMode::kTile));
}

}  // namespace
