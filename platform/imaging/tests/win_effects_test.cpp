// imaging.dll's effect calls under Wine: the negative, grey, solarize and
// flips compared with ImageMagick doing the same to the same picture; the
// trim and the underlay seen in the bitmap's size and pixels; refused
// values and records that hold no bitmap leave everything as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "error_codes.h"
#include "imaging.h"
#include "test_support.h"

namespace {

using namespace testsupport;
using namespace imaging;

class Effects : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(MakeQuadrants(fixture_)) << "ImageMagick made no fixture"; }
  void Load(BITMAPHANDLE* bitmap) {
    ASSERT_EQ(IMG_SUCCESS, L_LoadBitmap(fixture_.c_str(), bitmap, 24, ORDER_BGR, nullptr, nullptr));
  }
  ScratchFolder folder_{"imaging effects"};
  std::string fixture_ = folder_.Child("quadrants.png");
};

TEST_F(Effects, MatchImageMagick) {
  struct Case {
    const char* name;
    L_INT (*effect)(pBITMAPHANDLE);
    const char* operation;
  };
  const Case cases[] = {
      {"negative", [](pBITMAPHANDLE b) { return L_InvertBitmap(b); }, "-negate"},
      {"solarize", [](pBITMAPHANDLE b) { return L_SolarizeBitmap(b, 127); }, "-solarize 50%"},
      {"posterize 2", [](pBITMAPHANDLE b) { return L_PosterizeBitmap(b, 2); }, "+dither -posterize 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BITMAPHANDLE bitmap = {};
    Load(&bitmap);
    ASSERT_EQ(IMG_SUCCESS, c.effect(&bitmap));
    const std::string ours = folder_.Child("ours.png"), theirs = folder_.Child("theirs.png");
    ASSERT_EQ(IMG_SUCCESS, L_SaveBitmap(ours.c_str(), &bitmap, FILE_PNG, 24, 0, 0));
    L_FreeBitmap(&bitmap);
    ASSERT_TRUE(Convert("'" + UnixPath(fixture_) + "' " + c.operation, theirs));
    RgbPixels expected, actual;
    ASSERT_TRUE(ReadPixels(theirs, &expected));
    ASSERT_TRUE(ReadPixels(ours, &actual));
    std::string first;
    EXPECT_EQ(0, CountDifferences(expected, actual, 1, &first)) << first;
  }
}

TEST_F(Effects, GreyReliefTrimAndUnderlay) {
  BITMAPHANDLE bitmap = {};
  Load(&bitmap);
  ASSERT_EQ(IMG_SUCCESS, L_GrayScaleBitmap(&bitmap, 8));
  const COLORREF red = BitmapPixel(bitmap, 5, 5);
  EXPECT_EQ(GetRValue(red), GetGValue(red));
  EXPECT_EQ(GetRValue(red), GetBValue(red));
  EXPECT_NEAR(GetRValue(red), 76, 1);  // the luminance of pure red
  // A relief of flat quadrants is mid grey away from their edges.
  ASSERT_EQ(IMG_SUCCESS, L_EmbossBitmap(&bitmap, 2, 500));
  EXPECT_EQ(BitmapPixel(bitmap, 5, 10), RGB(128, 128, 128));
  EXPECT_NE(BitmapPixel(bitmap, 19, 5), RGB(128, 128, 128));  // the red-lime edge
  L_FreeBitmap(&bitmap);

  // A white border round a block is trimmed away.
  ASSERT_EQ(IMG_SUCCESS, L_CreateBitmap(&bitmap, TYPE_CONV, 30, 20, 24, ORDER_BGR, nullptr, 0, nullptr, 0));
  for (int y = 0; y < 20; ++y) std::memset(bitmap.Data + y * bitmap.BytesPerLine, 255, 30 * 3);
  for (int y = 4; y < 9; ++y) std::memset(bitmap.Data + y * bitmap.BytesPerLine + 6 * 3, 0, 10 * 3);
  ASSERT_EQ(IMG_SUCCESS, L_AutoTrimBitmap(&bitmap, 0));
  EXPECT_EQ(bitmap.Width, 10);
  EXPECT_EQ(bitmap.Height, 5);
  EXPECT_EQ(BitmapPixel(bitmap, 0, 0), RGB(0, 0, 0));

  // A white underlay lifts every colour to double, limited to 255.
  BITMAPHANDLE under = {};
  ASSERT_EQ(IMG_SUCCESS, L_CreateBitmap(&under, TYPE_CONV, 3, 3, 24, ORDER_BGR, nullptr, 0, nullptr, 0));
  for (int y = 0; y < 3; ++y) std::memset(under.Data + y * under.BytesPerLine, 255, 9);
  for (int y = 0; y < 5; ++y) std::memset(bitmap.Data + y * bitmap.BytesPerLine, 60, 30);
  ASSERT_EQ(IMG_SUCCESS, L_UnderlayBitmap(&bitmap, &under, UNDERLAY_TILE));
  EXPECT_EQ(BitmapPixel(bitmap, 9, 4), RGB(120, 120, 120));
  EXPECT_EQ(kErrorInvalidParameter, L_UnderlayBitmap(&bitmap, &under, 2));
  L_FreeBitmap(&under);
  L_FreeBitmap(&bitmap);
}

TEST_F(Effects, RefusedValuesLeaveTheBitmap) {
  BITMAPHANDLE bitmap = {};
  Load(&bitmap);
  const std::vector<uint8_t> before(bitmap.Data, bitmap.Data + bitmap.BytesPerLine * bitmap.Height);
  EXPECT_EQ(kErrorInvalidParameter, L_ChangeBitmapContrast(&bitmap, 1001));
  EXPECT_EQ(kErrorInvalidParameter, L_ChangeBitmapHue(&bitmap, -361));
  EXPECT_EQ(kErrorInvalidParameter, L_GammaCorrectBitmap(&bitmap, 0));
  EXPECT_EQ(kErrorInvalidParameter, L_EmbossBitmap(&bitmap, 8, 500));
  EXPECT_EQ(kErrorInvalidParameter, L_MedianFilterBitmap(&bitmap, -1));
  EXPECT_EQ(kErrorBitsPerPixel, L_GrayScaleBitmap(&bitmap, 4));
  EXPECT_EQ(0, std::memcmp(before.data(), bitmap.Data, before.size()));
  L_FreeBitmap(&bitmap);
  BITMAPHANDLE none = {};
  EXPECT_EQ(kErrorNoBitmap, L_InvertBitmap(&none));
  EXPECT_EQ(kErrorNoBitmap, L_SharpenBitmap(nullptr, 100));
  EXPECT_EQ(kErrorNoBitmap, L_AutoTrimBitmap(&none, 0));
}

}  // namespace
