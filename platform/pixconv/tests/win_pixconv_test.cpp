// pixconv.dll under Wine: a GIF made by ImageMagick read into an RGB block
// (compared with ImageMagick's pixels), the block written as a BMP that
// ImageMagick and imaging.dll read back; refusals leave no file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "imaging.h"
#include "pixconv.h"
#include "test_support.h"

namespace {

using namespace testsupport;

class Pixconv : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeQuadrants(png_)) << "ImageMagick made no fixture";
    ASSERT_TRUE(Convert("'" + UnixPath(png_) + "'", gif_));
    ASSERT_TRUE(ReadPixels(gif_, &gifPixels_));
  }

  ScratchFolder folder_{"pixconv"};
  std::string png_ = folder_.Child("quadrants.png");
  std::string gif_ = folder_.Child("quadrants.gif");
  RgbPixels gifPixels_;
};

TEST_F(Pixconv, GifToRgbToBmp) {
  int width = -1, height = -1, frames = -1;
  HGLOBAL block = ImgDLLReadRGBFromGIF(gif_.c_str(), &width, &height, &frames);
  ASSERT_NE(nullptr, block);
  EXPECT_EQ(40, width);
  EXPECT_EQ(30, height);
  EXPECT_EQ(1, frames);
  ASSERT_EQ(static_cast<SIZE_T>(40 * 30 * 3), GlobalSize(block));
  const auto* pixels = static_cast<const uint8_t*>(GlobalLock(block));
  ASSERT_NE(nullptr, pixels);
  RgbPixels read;
  read.width = width;
  read.height = height;
  read.bytes.assign(pixels, pixels + 40 * 30 * 3);
  std::string first;
  EXPECT_EQ(0, CountDifferences(gifPixels_, read, 0, &first)) << first;

  const std::string bmp = folder_.Child("QUACONV.G2B");
  EXPECT_EQ(1, ImgDLLSaveRGBToBMP(bmp.c_str(), pixels, width, height));
  GlobalUnlock(block);
  EXPECT_EQ(nullptr, GlobalFree(block));

  EXPECT_EQ("BMP3 40 30", Identify(bmp));
  RgbPixels written;
  ASSERT_TRUE(ReadPixels(bmp, &written));
  EXPECT_EQ(0, CountDifferences(gifPixels_, written, 0, &first)) << first;
  BITMAPHANDLE bitmap{};
  ASSERT_EQ(IMG_SUCCESS, L_LoadBitmap(bmp.c_str(), &bitmap, 0, ORDER_BGR, nullptr, nullptr));
  EXPECT_EQ(RGB(255, 0, 0), BitmapPixel(bitmap, 10, 7));
  EXPECT_EQ(RGB(255, 255, 0), BitmapPixel(bitmap, 30, 22));
  L_FreeBitmap(&bitmap);
}

TEST_F(Pixconv, AnimatedGifGivesItsFirstFrameAndFrameCount) {
  const std::string animated = folder_.Child("three.gif");
  ASSERT_TRUE(Convert("-delay 10 -size 6x4 xc:red xc:green xc:blue", animated));
  int width = 0, height = 0, frames = 0;
  HGLOBAL block = ImgDLLReadRGBFromGIF(animated.c_str(), &width, &height, &frames);
  ASSERT_NE(nullptr, block);
  EXPECT_EQ(6, width);
  EXPECT_EQ(4, height);
  EXPECT_EQ(3, frames);
  const auto* pixels = static_cast<const uint8_t*>(GlobalLock(block));
  EXPECT_EQ(255, pixels[0]);
  EXPECT_EQ(0, pixels[1]);
  EXPECT_EQ(0, pixels[2]);
  GlobalUnlock(block);
  GlobalFree(block);
}

TEST_F(Pixconv, RefusalsGiveZeroAndNoFile) {
  const std::string text = folder_.Child("text.gif");
  ASSERT_TRUE(WriteFileBytes(text, "GIF? no"));
  for (const std::string& path : {png_, text, folder_.Child("missing.gif"), std::string()}) {
    SCOPED_TRACE(path);
    int width = -1, height = -1, frames = -1;
    EXPECT_EQ(nullptr, ImgDLLReadRGBFromGIF(path.c_str(), &width, &height, &frames));
    EXPECT_EQ(0, width);
    EXPECT_EQ(0, height);
    EXPECT_EQ(0, frames);
  }
  HGLOBAL unnamed = ImgDLLReadRGBFromGIF(gif_.c_str(), nullptr, nullptr, nullptr);
  EXPECT_NE(nullptr, unnamed) << "null outputs are allowed";
  if (unnamed != nullptr) GlobalFree(unnamed);

  const uint8_t pixels[12] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
  struct Case {
    const char* name;
    const void* pixels;
    int width, height;
  };
  const Case cases[] = {{"no pixels", nullptr, 2, 2},
                        {"zero width", pixels, 0, 2},
                        {"negative height", pixels, 2, -2},
                        {"past a gibibyte", pixels, 30000, 30000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bmp = folder_.Child("refused.bmp");
    EXPECT_EQ(0, ImgDLLSaveRGBToBMP(bmp.c_str(), c.pixels, c.width, c.height));
    EXPECT_FALSE(FileExists(bmp));
  }
  const std::string ok = folder_.Child("two.bmp");
  ASSERT_EQ(1, ImgDLLSaveRGBToBMP(ok.c_str(), pixels, 2, 2));
  RgbPixels written;
  ASSERT_TRUE(ReadPixels(ok, &written));
  EXPECT_EQ(RGB(255, 0, 0), written.At(0, 0));
  EXPECT_EQ(RGB(0, 255, 0), written.At(1, 0));
  EXPECT_EQ(RGB(0, 0, 255), written.At(0, 1));
  EXPECT_EQ(RGB(9, 9, 9), written.At(1, 1));
}

}  // namespace
