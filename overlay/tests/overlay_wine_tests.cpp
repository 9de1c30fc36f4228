// The overlay renderer and the sidecar files under Wine: sidecars written,
// replaced safely and read back (the preview checked by ImageMagick), and a
// fixture picture whose sidecar holds a text, an arrow, a filled ellipse and
// a shadowed rectangle drawn into a DIB section and probed pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/obf_document.h"
#include "core/obf_name.h"
#include "gdiplus_objects.h"
#include "image_functions.h"
#include "image_startup.h"
#include "image_test_support.h"
#include "obf_file.h"
#include "obf_test_objects.h"
#include "overlay_draw.h"
#include "test_files.h"

using imagetest::DibCanvas;
using overlay::ObfDocument;
using overlay::ObfObject;
using overlay::ObfStatus;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

using obftest::ExistingFamily;
using obftest::Shape;
using obftest::Text;

class Overlay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { token_ = suite::ImgStartupWhenPresent(); }
  static void TearDownTestSuite() {
    suite::ImgShutdown(token_);
    token_ = 0;
  }
  void SetUp() override { ASSERT_NE(token_, 0u) << "GDI+ did not start"; }

  // A white picture saved through GDI+ in the format of the path's extension.
  static bool SaveWhitePicture(const std::string& path, int width, int height) {
    DibCanvas canvas(width, height, kWhite);
    suite::ImageOwner image;
    *image.out() = suite::ImgFromBitmap(canvas.bitmap());
    return image.get() != nullptr && suite::ImgSaveByExtension(path, image.get()) == 0;
  }

  // A JPEG made by GDI+, as the picture tool's preview would be.
  static std::string JpegPreview(const harness::ScratchFolder& folder) {
    const std::string path = folder.Child("preview.jpg");
    std::string bytes;
    if (!SaveWhitePicture(path, 32, 24) || !harness::ReadFileBytes(path, &bytes)) return "";
    DeleteFileA(path.c_str());
    return bytes;
  }

  static uintptr_t token_;
};
uintptr_t Overlay::token_ = 0;

TEST_F(Overlay, SidecarIsWrittenBesideThePictureAndReadBack) {
  harness::ScratchFolder folder("obf write");
  ObfDocument document;
  document.preview = JpegPreview(folder);
  ASSERT_FALSE(document.preview.empty());
  document.objects = {Text("a|b", "Tahoma", 3, 4),
                      Shape(overlay::kKindArrow, 2, {{0, 0}, {9, -9}}, 0xFFFF0000u, 5, 6)};
  document.trailer.canvasWidth = 640;
  document.trailer.canvasHeight = 480;
  document.trailer.colourCount = 16777216;

  const std::string picture = folder.Child("holiday.photo.jpg");
  ASSERT_EQ(overlay::WriteObfSidecar(picture, document), ObfStatus::kOk);
  const std::string sidecar = folder.Child("holiday.photo.obf");
  std::string bytes;
  ASSERT_TRUE(harness::ReadFileBytes(sidecar, &bytes));
  ASSERT_GT(bytes.size(), 284u);
  EXPECT_EQ(bytes.substr(bytes.size() - 7), "0100OBF");
  EXPECT_EQ(bytes.substr(bytes.size() - 284, 16), "holiday.photo.jp");
  EXPECT_FALSE(harness::FileExists(sidecar + ".new"));

  ObfDocument read;
  ASSERT_EQ(overlay::ReadObfSidecar(picture, &read), ObfStatus::kOk);
  document.trailer.pictureName = "holiday.photo.jpg";
  document.trailer.previewLength = static_cast<int32_t>(document.preview.size());
  EXPECT_EQ(read, document);
  EXPECT_EQ(read.objects[0].text, "a|b");

  if (imagetest::HaveImageMagick()) {
    // An image decoder handed the sidecar reads the preview at offset 0.
    EXPECT_EQ(imagetest::Identify(sidecar, "%m %w %h"), "JPEG 32 24");
  }
}

TEST_F(Overlay, FailedSaveKeepsTheOldSidecarAndEmptyTableRemovesIt) {
  harness::ScratchFolder folder("obf replace");
  const std::string picture = folder.Child("pic.png");
  const std::string sidecar = folder.Child("pic.obf");
  ObfDocument first;
  first.objects = {Shape(overlay::kKindEllipse, 2, {{0, 0}, {5, 5}}, 0xFF00FF00u, 1, 1)};
  ASSERT_EQ(overlay::WriteObfSidecar(picture, first), ObfStatus::kOk);
  std::string before;
  ASSERT_TRUE(harness::ReadFileBytes(sidecar, &before));

  // The temporary file cannot be made (a folder holds its name): the save
  // fails and the old sidecar stays as it was.
  ASSERT_TRUE(CreateDirectoryA((sidecar + ".new").c_str(), nullptr));
  ObfDocument second = first;
  second.objects.push_back(Text("new", "Tahoma", 0, 0));
  EXPECT_EQ(overlay::WriteObfSidecar(picture, second), ObfStatus::kWriteFailed);
  std::string after;
  ASSERT_TRUE(harness::ReadFileBytes(sidecar, &after));
  EXPECT_EQ(after, before);
  RemoveDirectoryA((sidecar + ".new").c_str());

  // No objects: the old sidecar goes and no new one is written.
  EXPECT_EQ(overlay::WriteObfSidecar(picture, ObfDocument()), ObfStatus::kNothingToWrite);
  EXPECT_FALSE(harness::FileExists(sidecar));
  ObfDocument none;
  EXPECT_EQ(overlay::ReadObfSidecar(picture, &none), ObfStatus::kMissing);
  EXPECT_EQ(overlay::WriteObfSidecar("", first), ObfStatus::kMissing);
}

TEST_F(Overlay, DamagedSidecarsDrawNothing) {
  harness::ScratchFolder folder("obf damaged");
  const std::string picture = folder.Child("pic.bmp");
  ObfDocument good;
  good.objects = {Shape(overlay::kKindRectangle, 2, {{0, 0}, {30, 30}}, 0xFF000000u, 5, 5)};
  const std::string bytes = overlay::EncodeObfDocument(good);
  good.preview = std::string(100, 'P');
  const std::string withPreview = overlay::EncodeObfDocument(good);
  struct Case { const char* name; std::string bytes; ObfStatus status; };
  const Case cases[] = {
      {"intact", bytes, ObfStatus::kOk},
      {"three bytes", "OBF", ObfStatus::kTooShort},
      {"preview length past the lines", withPreview.substr(withPreview.size() - 300),
       ObfStatus::kBadPreviewLength},
      {"no tag", bytes.substr(0, bytes.size() - 1), ObfStatus::kNotObf},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(harness::WriteFileBytes(folder.Child("pic.obf"), c.bytes));
    ObfDocument read;
    EXPECT_EQ(overlay::ReadObfSidecar(picture, &read), c.status);
    DibCanvas canvas(50, 50, kWhite);
    overlay::ObfLoadOverlay(canvas.dc(), picture);
    const bool drawn = canvas.At(20, 20) != kWhite;
    EXPECT_EQ(drawn, c.status == ObfStatus::kOk);
  }
}

// The fixture: a 240 x 160 white BMP and its sidecar.
class OverlayFixture : public Overlay {
 protected:
  void SetUp() override {
    Overlay::SetUp();
    family_ = ExistingFamily();
    ASSERT_FALSE(family_.empty()) << "no font family found";
    picture_ = folder_.Child("fixture.bmp");
    ASSERT_TRUE(SaveWhitePicture(picture_, 240, 160));
    ObfDocument document;
    document.preview = JpegPreview(folder_);
    document.objects = obftest::FixtureObjects(family_);
    ASSERT_EQ(overlay::WriteObfSidecar(picture_, document), ObfStatus::kOk);
  }

  // The picture loaded with GDI+ and painted at full size, then the overlay.
  void Render(DibCanvas* canvas) {
    suite::ImageOwner image;
    const std::wstring path = suite::ImgTextToWide(picture_);
    ASSERT_EQ(suite::Gdiplus()->GdipLoadImageFromFile(path.c_str(), image.out()), Gdiplus::Ok);
    ASSERT_EQ(suite::ImgDrawImage(canvas->dc(), image.get(), 0, 0), 0);
    overlay::ObfLoadOverlay(canvas->dc(), picture_);
    // For a person looking into a failure: ORB_KEEP_RENDER=<path.png> keeps
    // the rendered fixture.
    if (const char* keep = getenv("ORB_KEEP_RENDER")) {
      suite::ImageOwner result;
      *result.out() = suite::ImgFromBitmap(canvas->bitmap());
      suite::ImgSaveByExtension(keep, result.get());
    }
  }

  harness::ScratchFolder folder_{"obf fixture"};
  std::string family_;
  std::string picture_;
};

TEST_F(OverlayFixture, EachObjectLandsWhereItsRecordPutsIt) {
  DibCanvas canvas(240, 160, RGB(10, 10, 10));
  Render(&canvas);
  EXPECT_EQ(canvas.At(230, 5), kWhite);  // the picture itself

  // The text: dark grey-free pixels in the top-left quarter, in a box from
  // (10, 10) no larger than two 24-pixel letters.
  RECT text = {};
  ASSERT_TRUE(canvas.BoxOf([](COLORREF c) { return GetRValue(c) < 100 && GetGValue(c) < 100; }, &text,
                           RECT{0, 0, 110, 70}));
  EXPECT_GE(text.left, 10);
  EXPECT_GE(text.top, 10);
  EXPECT_LE(text.right, 50);
  EXPECT_LE(text.bottom, 40);

  // The arrow: a blue line along y = 20 from x = 120 with a head wider than
  // the pen at its end, not filled.
  for (int x = 125; x <= 165; x += 10) {
    SCOPED_TRACE(x);
    EXPECT_GT(GetBValue(canvas.At(x, 20)), 200);
    EXPECT_LT(GetRValue(canvas.At(x, 20)), 100);
    EXPECT_EQ(canvas.At(x, 28), kWhite);
  }
  auto blue = [](COLORREF c) { return GetBValue(c) > 128 && GetRValue(c) < 128; };
  RECT arrow = {};
  ASSERT_TRUE(canvas.BoxOf(blue, &arrow));
  EXPECT_NEAR(arrow.left, 120, 2);
  EXPECT_NEAR(arrow.right, 180, 3);
  // The anchor head is taller than the 3-pixel shaft.
  auto columnHeight = [&](int x) {
    int height = 0;
    for (int y = 10; y < 30; ++y) height += blue(canvas.At(x, y));
    return height;
  };
  int head = 0;
  for (int x = 170; x <= 182; ++x) head = std::max(head, columnHeight(x));
  EXPECT_GT(head, columnHeight(150));

  // The filled ellipse: red inside its box (20, 80, 60 x 40), white in the
  // box's corners.
  EXPECT_EQ(canvas.At(50, 100), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(22, 82), kWhite);
  EXPECT_EQ(canvas.At(78, 118), kWhite);

  // The rectangle (120, 80, 40 x 30) in green, its shadow at (125, 85):
  // grey where only the shadow shows, white beyond both.
  EXPECT_EQ(canvas.At(140, 95), RGB(0, 255, 0));
  EXPECT_EQ(canvas.At(121, 81), RGB(0, 255, 0));
  const COLORREF shadowOnly = canvas.At(162, 112);
  EXPECT_NEAR(GetRValue(shadowOnly), 127, 3);
  EXPECT_EQ(GetRValue(shadowOnly), GetGValue(shadowOnly));
  EXPECT_NEAR(GetRValue(canvas.At(126, 113)), 127, 3);
  EXPECT_GT(GetRValue(canvas.At(121, 113)), 240);  // left of the shadow
  EXPECT_EQ(canvas.At(163, 83), kWhite);    // above the shadow, right of the rectangle
  EXPECT_EQ(canvas.At(167, 100), kWhite);   // right of the shadow

  // Hidden and empty objects drew nothing.
  EXPECT_EQ(canvas.At(205, 125), kWhite);
  for (int x = 10; x < 80; ++x) {
    for (int y = 130; y < 158; ++y) ASSERT_EQ(canvas.At(x, y), kWhite) << x << "," << y;
  }
  for (int x = 195; x < 235; ++x) {  // (GDI+ blurs the picture's last column)
    for (int y = 5; y < 40; ++y) ASSERT_EQ(canvas.At(x, y), kWhite) << x << "," << y;
  }
}

// A sidecar made on another machine may name a family this one lacks: its
// text is still drawn, in a stand-in family, where a text in an installed
// family would be, and the lines after it are drawn as well.
TEST_F(Overlay, TextInAMissingFamilyIsDrawnInAStandIn) {
  harness::ScratchFolder folder("obf missing family");
  const std::string picture = folder.Child("pic.bmp");
  for (const std::string& family : {std::string("No Such Family 123"), ExistingFamily()}) {
    SCOPED_TRACE(family);
    ObfDocument document;
    document.objects = {Text("Hi", family, 10, 10),
                        Shape(overlay::kKindEllipse, 2, {{0, 0}, {40, 30}}, 0xFFFF0000u, 20, 60)};
    ASSERT_EQ(overlay::WriteObfSidecar(picture, document), ObfStatus::kOk);
    DibCanvas canvas(120, 100, kWhite);
    overlay::ObfLoadOverlay(canvas.dc(), picture);
    RECT text = {};
    ASSERT_TRUE(canvas.BoxOf([](COLORREF c) { return GetRValue(c) < 100 && GetGValue(c) < 100; }, &text,
                             RECT{0, 0, 120, 55}))
        << "the text is not drawn";
    EXPECT_GE(text.left, 10);
    EXPECT_GE(text.top, 10);
    EXPECT_LE(text.right, 50);
    EXPECT_LE(text.bottom, 40);
    EXPECT_GE(text.right - text.left, 8);  // two 24-pixel letters
    EXPECT_GE(text.bottom - text.top, 10);
    EXPECT_EQ(canvas.At(40, 75), RGB(255, 0, 0));  // the ellipse after it
  }
}

TEST_F(Overlay, ShapesDirectly) {
  const int16_t box[] = {0, 0, 30, 20};
  DibCanvas canvas(100, 80, kWhite);
  // No DC, no points or nothing to draw: -1 and no pixels.
  EXPECT_EQ(overlay::ObfDrawShape(nullptr, 0, 0, 2, box, 0xFF000000u, 0, 1, 0x20002), -1);
  EXPECT_EQ(overlay::ObfDrawShape(canvas.dc(), 0, 0, 0, box, 0xFF000000u, 0, 1, 0x20002), -1);
  EXPECT_EQ(overlay::ObfDrawShape(canvas.dc(), 0, 0, 2, box, 0xFF000000u, 0, 1, 0x50002), -1);
  EXPECT_EQ(overlay::ObfDrawShape(canvas.dc(), 0, 0, 2, box, 0xFF000000u, 0, 1, 0x20009), -1);
  RECT any = {};
  EXPECT_FALSE(canvas.BoxOf([](COLORREF c) { return c != kWhite; }, &any));

  // An ellipse with d = -4: its shadow 4 left and 4 down.
  EXPECT_EQ(overlay::ObfDrawShape(canvas.dc(), 40, 30, 2, box, 0xFFFFFFFFu, -4, 1, 0x20002), 0);
  RECT shadow = {};
  ASSERT_TRUE(canvas.BoxOf([](COLORREF c) { return GetRValue(c) < 200; }, &shadow));
  // The white ellipse covers the shadow's top and right; its left and bottom
  // show, and grey where only the shadow lies.
  EXPECT_NEAR(shadow.left, 36, 1);
  EXPECT_NEAR(shadow.bottom, 34 + 20, 1);
  EXPECT_NEAR(GetRValue(canvas.At(40, 46)), 127, 3);
  EXPECT_EQ(canvas.At(72, 40), kWhite);
  EXPECT_EQ(canvas.At(55, 28), kWhite);

  // A style-3 rectangle: the object's colour at the centre, fading outward.
  DibCanvas gradient(100, 80, kWhite);
  EXPECT_EQ(overlay::ObfDrawShape(gradient.dc(), 10, 10, 2, (const int16_t[]){0, 0, 60, 40}, 0xFF0000FFu, 0, 1,
                                  0x30003),
            0);
  EXPECT_GT(GetBValue(gradient.At(40, 30)), 200);
  EXPECT_LT(GetRValue(gradient.At(40, 30)), 60);
  EXPECT_EQ(gradient.At(75, 30), kWhite);

  // Ellipse, closed curve and polygon gradients: the colour at the centre of
  // the shape.
  struct GradientCase { const char* name; uint32_t word; std::vector<int16_t> points; int cx; int cy; };
  const GradientCase gradients[] = {
      {"ellipse", 0x30002, {0, 0, 60, 40}, 40, 30},
      {"ellipse with sigma blend", 0x40002, {0, 0, 60, 40}, 40, 30},
      {"closed curve", 0x30004, {0, 0, 60, 0, 60, 40, 0, 40}, 40, 30},
      {"polygon", 0x40006, {0, 0, 60, 0, 60, 40, 0, 40}, 40, 30},
  };
  for (const GradientCase& c : gradients) {
    SCOPED_TRACE(c.name);
    DibCanvas shape(100, 80, kWhite);
    EXPECT_EQ(overlay::ObfDrawShape(shape.dc(), 10, 10, static_cast<int32_t>(c.points.size() / 2),
                                    c.points.data(), 0xFFFF0000u, 0, 1, c.word),
              0);
    EXPECT_GT(GetRValue(shape.At(c.cx, c.cy)), 200);
    EXPECT_LT(GetGValue(shape.At(c.cx, c.cy)), 80);
    EXPECT_EQ(shape.At(90, 70), kWhite);
  }

  // The older renderer's curve tension gives another curve.
  const int16_t wave[] = {0, 0, 20, 40, 40, 0, 60, 40};
  DibCanvas tight(100, 80, kWhite);
  DibCanvas loose(100, 80, kWhite);
  EXPECT_EQ(overlay::ObfDrawShape(tight.dc(), 10, 10, 4, wave, 0xFF000000u, 0, 2, 0x50004,
                                  overlay::kCurveTension),
            0);
  EXPECT_EQ(overlay::ObfDrawShape(loose.dc(), 10, 10, 4, wave, 0xFF000000u, 0, 2, 0x50004,
                                  overlay::kOlderCurveTension),
            0);
  int differing = 0;
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 100; ++x) differing += tight.At(x, y) != loose.At(x, y);
  }
  EXPECT_GT(differing, 10);
}

TEST_F(Overlay, TextDirectly) {
  suite::FontFamilyOwner family;
  const std::wstring name = suite::ImgTextToWide(ExistingFamily());
  ASSERT_EQ(suite::Gdiplus()->GdipCreateFontFamilyFromName(name.c_str(), nullptr, family.out()), Gdiplus::Ok);
  suite::FontOwner font;
  ASSERT_EQ(suite::Gdiplus()->GdipCreateFont(family.get(), 20, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel,
                                             font.out()),
            Gdiplus::Ok);
  EXPECT_EQ(overlay::ObfDrawText(nullptr, "x", 0, 0, 10, 10, 0xFF000000u, 4, font.get(), 0, 0), -1);

  DibCanvas plain(120, 60, kWhite);
  EXPECT_EQ(overlay::ObfDrawText(plain.dc(), "Ab", 20, 10, 80, 40, 0xFF000000u, 4, font.get(), 0, 0), 0);
  RECT text = {};
  ASSERT_TRUE(plain.BoxOf([](COLORREF c) { return GetRValue(c) < 200; }, &text));

  // White text with d = 3: only the shadow shows, 3 right and 3 down.
  DibCanvas shadowed(120, 60, kWhite);
  EXPECT_EQ(overlay::ObfDrawText(shadowed.dc(), "Ab", 20, 10, 80, 40, 0xFFFFFFFFu, 4, font.get(), 3, 0), 0);
  RECT shadow = {};
  ASSERT_TRUE(shadowed.BoxOf([](COLORREF c) { return GetRValue(c) < 200; }, &shadow));
  EXPECT_NEAR(shadow.left, text.left + 3, 1);
  EXPECT_NEAR(shadow.top, text.top + 3, 1);

  // The flags reach the string format: in a box too narrow for the text it
  // wraps onto a second line, unless the flags say StringFormatFlagsNoWrap.
  auto heightWith = [&](int32_t flags) {
    DibCanvas narrow(120, 120, kWhite);
    EXPECT_EQ(overlay::ObfDrawText(narrow.dc(), "Ab cd", 20, 10, 30, 100, 0xFF000000u, 4, font.get(), 0, flags),
              0);
    RECT drawn = {};
    EXPECT_TRUE(narrow.BoxOf([](COLORREF c) { return GetRValue(c) < 200; }, &drawn));
    return drawn.bottom - drawn.top;
  };
  EXPECT_GT(heightWith(0), heightWith(0x1000) + 10);
}

}  // namespace
