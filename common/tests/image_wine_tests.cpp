// The GDI+ image functions under Wine: colours through the skin engine,
// encoder lookup, saving by extension (read back by ImageMagick), DC and
// bitmap conversions, freeing, and the drawing calls, probed on DIB sections.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gdiplus_objects.h"
#include "image_functions.h"
#include "image_startup.h"
#include "image_test_support.h"
#include "test_files.h"

using imagetest::DibCanvas;

namespace {

class ImageFunctions : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { token_ = suite::ImgStartupWhenPresent(); }
  static void TearDownTestSuite() {
    suite::ImgShutdown(token_);
    token_ = 0;
  }
  void SetUp() override { ASSERT_NE(token_, 0u) << "GDI+ did not start"; }

  // A font of the first family that exists here; the caller deletes it.
  static suite::FontOwner AnyFont(float pixels) {
    suite::FontOwner font;
    for (const wchar_t* name : {L"Tahoma", L"Liberation Sans", L"Arial", L"DejaVu Sans"}) {
      suite::FontFamilyOwner family;
      if (suite::Gdiplus()->GdipCreateFontFamilyFromName(name, nullptr, family.out()) != Gdiplus::Ok) continue;
      if (suite::Gdiplus()->GdipCreateFont(family.get(), pixels, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel,
                                           font.out()) == Gdiplus::Ok) {
        break;
      }
    }
    return font;
  }

  static uintptr_t token_;
};
uintptr_t ImageFunctions::token_ = 0;

TEST_F(ImageFunctions, ColoursAndPixelFormats) {
  EXPECT_EQ(suite::ImgArgbFromColor(255, RGB(1, 2, 3)), 0xFF010203u);
  EXPECT_EQ(suite::ImgArgbFromColor(16, RGB(92, 92, 100)), 0x105C5C64u);
  uint8_t a = 0, r = 0, g = 0, b = 0;
  suite::ImgSplitArgb(0xFF010203u, &a, &r, &g, &b);
  EXPECT_EQ((std::vector<int>{a, r, g, b}), (std::vector<int>{255, 1, 2, 3}));
  EXPECT_EQ(suite::ImgBitsPerPixel(PixelFormat24bppRGB), 24);
  EXPECT_EQ(suite::ImgBitsPerPixel(PixelFormat32bppARGB), 32);
  EXPECT_EQ(suite::ImgWideToText(L"caf\u00e9"), "caf\xe9");
  EXPECT_EQ(suite::ImgWideToText(L""), "");
  EXPECT_EQ(suite::ImgWideToText(nullptr), "");
}

TEST_F(ImageFunctions, FindsEncodersByExactMimeType) {
  CLSID png = {};
  const int32_t index = suite::ImgFindEncoder("image/png", &png);
  EXPECT_GT(index, 0);
  EXPECT_NE(png, CLSID{});
  CLSID untouched = {};
  EXPECT_EQ(suite::ImgFindEncoder("image/PNG", &untouched), 0);
  EXPECT_EQ(suite::ImgFindEncoder("image/x-icon", &untouched), 0);
  EXPECT_EQ(untouched, CLSID{});
}

// A 7 x 5 picture: red with a blue top-left pixel, made through a DC.
suite::ImageOwner SevenByFive() {
  DibCanvas canvas(7, 5, RGB(255, 0, 0));
  SetPixel(canvas.dc(), 0, 0, RGB(0, 0, 255));
  HBITMAP copy = suite::ImgCopyBitmap(canvas.dc(), 0, 0, 7, 5);
  suite::ImageOwner image;
  if (copy == nullptr) return image;
  *image.out() = suite::ImgFromBitmap(copy);
  suite::ImgFree(copy, 1);
  return image;
}

TEST_F(ImageFunctions, SavesByExtensionInTheRightFormat) {
  if (!imagetest::HaveImageMagick()) GTEST_SKIP() << "ImageMagick's identify is not installed";
  suite::ImageOwner image = SevenByFive();
  ASSERT_NE(image.get(), nullptr);
  harness::ScratchFolder folder("image save");
  struct Case { const char* file; const char* identified; };
  const Case cases[] = {
      {"a.png", "PNG 7 5"}, {"b.jpg", "JPEG 7 5"}, {"c.JPEG", "JPEG 7 5"}, {"d.bmp", "BMP 7 5"},
      {"e.dib", "BMP 7 5"}, {"f.gif", "GIF 7 5"},  {"g.tif", "TIFF 7 5"},  {"h.tiff", "TIFF 7 5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = folder.Child(c.file);
    EXPECT_EQ(suite::ImgSaveByExtension(path, image.get()), 0);
    std::string identified = imagetest::Identify(path, "%m %w %h");
    if (identified.rfind("BMP3 ", 0) == 0) identified.erase(3, 1);  // a BMP with the 40-byte header
    EXPECT_EQ(identified, c.identified);
  }
  // The pixels made it: the lossless formats keep the blue corner.
  const char kCorners[] = "srgb(0,0,255) srgb(255,0,0)";
  EXPECT_EQ(imagetest::Identify(folder.Child("a.png"), "%[pixel:p{0,0}] %[pixel:p{6,4}]"), kCorners);
  EXPECT_EQ(imagetest::Identify(folder.Child("d.bmp"), "%[pixel:p{0,0}] %[pixel:p{6,4}]"), kCorners);
  EXPECT_EQ(imagetest::Identify(folder.Child("g.tif"), "%[pixel:p{0,0}] %[pixel:p{6,4}]"), kCorners);

  // A GIF holds a palette: the red and blue of the picture are in it.
  EXPECT_EQ(imagetest::Identify(folder.Child("f.gif"), "%[pixel:p{0,0}] %[pixel:p{6,4}]"), kCorners);

  // A picture that has a palette already is saved as it is.
  suite::ImageOwner indexed;
  Gdiplus::GpBitmap* made = nullptr;
  ASSERT_EQ(suite::Gdiplus()->GdipCreateBitmapFromScan0(7, 5, 0, PixelFormat8bppIndexed, nullptr, &made),
            Gdiplus::Ok);
  *indexed.out() = made;
  const std::string gif = folder.Child("indexed.gif");
  EXPECT_EQ(suite::ImgSaveByExtension(gif, indexed.get()), 0);
  EXPECT_EQ(imagetest::Identify(gif, "%m %w %h"), "GIF 7 5");
}

TEST_F(ImageFunctions, SaveWithoutAnEncoderWritesNothing) {
  suite::ImageOwner image = SevenByFive();
  ASSERT_NE(image.get(), nullptr);
  harness::ScratchFolder folder("image refuse");
  struct Case { const char* name; std::string path; int32_t status; };
  const Case cases[] = {
      {"icon: no encoder", folder.Child("a.ico"), 13},
      {"EMF: no encoder", folder.Child("a.emf"), 13},
      {"WMF: no encoder", folder.Child("a.wmf"), 13},
      {"unknown extension", folder.Child("a.xyz"), 13},
      {"no extension", folder.Child("plain"), 13},
      {"dot only in the folder", folder.Child("x.png\\plain"), 13},
      {"empty path", "", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(suite::ImgSaveByExtension(c.path, image.get()), c.status);
    if (!c.path.empty()) {
      EXPECT_FALSE(harness::FileExists(c.path));
    }
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder.path() + "\\*.*").c_str(), &found);
  int entries = 0;
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (found.cFileName[0] != '.') ++entries;
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  EXPECT_EQ(entries, 0);
}

TEST_F(ImageFunctions, CopiesConvertsAndFrees) {
  DibCanvas canvas(20, 10, RGB(0, 128, 0));
  SetPixel(canvas.dc(), 5, 3, RGB(255, 255, 0));
  HBITMAP copy = suite::ImgCopyBitmap(canvas.dc(), 5, 3, 4, 2);
  ASSERT_NE(copy, nullptr);
  BITMAP info = {};
  ASSERT_NE(GetObjectA(copy, sizeof(info), &info), 0);
  EXPECT_EQ(info.bmWidth, 4);
  EXPECT_EQ(info.bmHeight, 2);

  Gdiplus::GpBitmap* image = suite::ImgFromBitmap(copy);
  ASSERT_NE(image, nullptr);
  UINT width = 0, height = 0;
  suite::Gdiplus()->GdipGetImageWidth(image, &width);
  suite::Gdiplus()->GdipGetImageHeight(image, &height);
  EXPECT_EQ(width, 4u);
  EXPECT_EQ(height, 2u);

  // Drawn at natural size: the yellow corner lands at (12, 6).
  DibCanvas target(20, 10, RGB(255, 255, 255));
  EXPECT_EQ(suite::ImgDrawImage(target.dc(), image, 12, 6), 0);
  EXPECT_EQ(target.At(12, 6), RGB(255, 255, 0));
  EXPECT_EQ(target.At(15, 7), RGB(0, 128, 0));
  EXPECT_EQ(target.At(11, 6), RGB(255, 255, 255));
  EXPECT_EQ(target.At(16, 6), RGB(255, 255, 255));

  suite::ImgFree(image, 2);
  EXPECT_EQ(image, nullptr);
  HBITMAP deleted = copy;
  suite::ImgFree(copy, 1);
  EXPECT_EQ(copy, nullptr);
  EXPECT_EQ(GetObjectType(deleted), 0u);
  suite::ImgFree(image, 2);  // freeing nothing is harmless
  EXPECT_EQ(suite::ImgFromBitmap(nullptr), nullptr);
  EXPECT_EQ(suite::ImgCopyBitmap(nullptr, 0, 0, 4, 4), nullptr);
}

TEST_F(ImageFunctions, FillsRectangles) {
  DibCanvas canvas(30, 20, RGB(255, 255, 255));
  EXPECT_EQ(suite::ImgFillRectI(canvas.dc(), 5, 4, 10, 6, 0xFF00FF00u), 0);
  EXPECT_EQ(canvas.At(5, 4), RGB(0, 255, 0));
  EXPECT_EQ(canvas.At(14, 9), RGB(0, 255, 0));
  EXPECT_EQ(canvas.At(15, 9), RGB(255, 255, 255));
  EXPECT_EQ(canvas.At(4, 4), RGB(255, 255, 255));
  // Alpha 128 black over white gives a middle grey.
  EXPECT_EQ(suite::ImgFillRectI(canvas.dc(), 20, 0, 5, 5, 0x80000000u), 0);
  EXPECT_NEAR(GetRValue(canvas.At(22, 2)), 127, 2);

  suite::SolidFillOwner brush;
  ASSERT_EQ(suite::Gdiplus()->GdipCreateSolidFill(0xFF0000FFu, brush.out()), Gdiplus::Ok);
  EXPECT_EQ(suite::ImgFillRectF(canvas.dc(), brush.get(), 0, 15, 4, 5), 0);
  EXPECT_EQ(canvas.At(0, 15), RGB(0, 0, 255));
  EXPECT_EQ(canvas.At(3, 19), RGB(0, 0, 255));
  EXPECT_EQ(canvas.At(4, 15), RGB(255, 255, 255));
}

TEST_F(ImageFunctions, ShadowFallsDownAndToTheSideOfD) {
  suite::FontOwner font = AnyFont(24);
  ASSERT_NE(font.get(), nullptr);
  auto dark = [](COLORREF c) { return GetRValue(c) < 200; };

  // Where the text itself lands, drawn in black without a shadow.
  DibCanvas plain(80, 50, RGB(255, 255, 255));
  EXPECT_EQ(suite::ImgDrawShadowText(plain.dc(), "HI", 20, 10, 0xFF000000u, 4, font.get(), 0), 0);
  RECT text = {};
  ASSERT_TRUE(plain.BoxOf(dark, &text));

  // The text in white over white: only its shadow shows.
  struct Case { int32_t d; int dx; int dy; };
  for (const Case& c : {Case{-3, -3, 3}, Case{4, 4, 4}}) {
    SCOPED_TRACE(c.d);
    DibCanvas shadowed(80, 50, RGB(255, 255, 255));
    EXPECT_EQ(suite::ImgDrawShadowText(shadowed.dc(), "HI", 20, 10, 0xFFFFFFFFu, 4, font.get(), c.d), 0);
    RECT shadow = {};
    ASSERT_TRUE(shadowed.BoxOf(dark, &shadow));
    EXPECT_NEAR(shadow.left, text.left + c.dx, 1);
    EXPECT_NEAR(shadow.top, text.top + c.dy, 1);
    EXPECT_NEAR(shadow.right, text.right + c.dx, 1);
    EXPECT_NEAR(shadow.bottom, text.bottom + c.dy, 1);
    // Alpha 128: the shadow is grey, not black.
    RECT darkest = {};
    EXPECT_FALSE(shadowed.BoxOf([](COLORREF c) { return GetRValue(c) < 100; }, &darkest));
  }
}

TEST_F(ImageFunctions, DrawingWithoutADeviceContextReturnsMinusOne) {
  suite::FontOwner font = AnyFont(12);
  suite::SolidFillOwner brush;
  ASSERT_EQ(suite::Gdiplus()->GdipCreateSolidFill(0xFF000000u, brush.out()), Gdiplus::Ok);
  suite::ImageOwner image = SevenByFive();
  EXPECT_EQ(suite::ImgDrawText(nullptr, "x", font.get(), 0, 0, 10, 10, brush.get()), -1);
  EXPECT_EQ(suite::ImgDrawShadowText(nullptr, "x", 0, 0, 0xFF000000u, 4, font.get(), 3), -1);
  EXPECT_EQ(suite::ImgFillRectI(nullptr, 0, 0, 5, 5, 0xFF000000u), -1);
  EXPECT_EQ(suite::ImgFillRectF(nullptr, brush.get(), 0, 0, 5, 5), -1);
  EXPECT_EQ(suite::ImgDrawImage(nullptr, image.get(), 0, 0), -1);

  DibCanvas canvas(60, 30, RGB(255, 255, 255));
  EXPECT_EQ(suite::ImgDrawText(canvas.dc(), "Hi", font.get(), 5, 5, 50, 20, brush.get()), 0);
  RECT drawn = {};
  EXPECT_TRUE(canvas.BoxOf([](COLORREF c) { return GetRValue(c) < 128; }, &drawn));
  EXPECT_GE(drawn.left, 5);
  EXPECT_GE(drawn.top, 5);
}

}  // namespace
