// The picture loader's decisions: the decoding library by file type, the
// GIF conversion file's name, the preview switch and the memory limit of
// old systems.
#include <gtest/gtest.h>

#include "core/picture_loader_rules.h"

namespace {

using suite::PictureBackEnd;

TEST(PictureLoaderRules, BackEndByExtension) {
  struct Case { const char* path; bool forced; PictureBackEnd expected; };
  const Case cases[] = {
      {"C:\\p\\a.jpg", false, PictureBackEnd::kGdiplus},
      {"C:\\p\\a.JPEG", false, PictureBackEnd::kGdiplus},
      {"C:\\p\\a.Png", false, PictureBackEnd::kGdiplus},
      {"C:\\p\\a.gif", false, PictureBackEnd::kGdiplus},
      {"C:\\p\\a.tif", false, PictureBackEnd::kGdiplus},
      {"C:\\p\\a.tiff", false, PictureBackEnd::kGdiplus},
      {"C:\\p\\a.dib", false, PictureBackEnd::kGdiplus},
      {"C:\\p\\a.emf", false, PictureBackEnd::kGdiplus},
      {"C:\\p\\a.wmf", false, PictureBackEnd::kGdiplus},
      {"C:\\p\\a.bmp", false, PictureBackEnd::kImaging},
      {"C:\\p\\a.ico", false, PictureBackEnd::kImaging},
      {"C:\\p\\a.pcx", false, PictureBackEnd::kImaging},
      {"C:\\p\\a.jpg", true, PictureBackEnd::kImaging},
      {"C:\\p\\a.gif", true, PictureBackEnd::kImaging},
      // Pieces of the list that are not whole types, and no extension.
      {"C:\\p\\a.jp", false, PictureBackEnd::kImaging},
      {"C:\\p\\a.IF", false, PictureBackEnd::kImaging},
      {"C:\\p\\a.", false, PictureBackEnd::kImaging},
      {"C:\\p.jpg\\picture", false, PictureBackEnd::kImaging},
      {"", false, PictureBackEnd::kImaging},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + (c.forced ? " forced" : ""));
    EXPECT_EQ(suite::ChoosePictureBackEnd(c.path, c.forced), c.expected);
  }
}

TEST(PictureLoaderRules, ExtensionAndGifNames) {
  EXPECT_EQ(suite::PictureExtension("C:\\a.b\\Photo.jpeg"), "JPEG");
  EXPECT_EQ(suite::PictureExtension("C:\\a.b\\photo"), "");
  EXPECT_EQ(suite::PictureExtension("photo.tar.gz"), "GZ");
  struct Case { const char* path; bool gif; };
  const Case cases[] = {{"a.gif", true}, {"C:\\x\\A.GIF", true}, {"a.Gif", true}, {".gif", true},
                        {"a.gifs", false}, {"a.jpg", false}, {"gif", false}, {"", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(suite::IsGifName(c.path), c.gif);
  }
}

TEST(PictureLoaderRules, GifConversionNames) {
  EXPECT_EQ(suite::GifConversionPath("C:\\TEMP\\", "C:\\Program Files\\Orb\\orbmedia.exe", 1234, 56),
            "C:\\TEMP\\ORBMEDIA-1234-56CONV.G2B");
  // The picture browser shares the first three letters but not the file.
  EXPECT_EQ(suite::GifConversionPath("C:\\TEMP\\", "C:\\Orb\\orbview.exe", 1234, 56),
            "C:\\TEMP\\ORBVIEW-1234-56CONV.G2B");
  EXPECT_NE(suite::GifConversionPath("T\\", "orbmedia.exe", 1, 2), suite::GifConversionPath("T\\", "orbmedia.exe", 1, 3));
  EXPECT_NE(suite::GifConversionPath("T\\", "orbmedia.exe", 1, 2), suite::GifConversionPath("T\\", "orbmedia.exe", 4, 2));
  EXPECT_EQ(suite::GifConversionPath("T\\", "C:\\a.b\\tool", 7, 8), "T\\TOOL-7-8CONV.G2B");
  EXPECT_EQ(suite::GifConversionPattern("C:\\TEMP\\", "C:\\Orb\\orbview.exe", 1234),
            "C:\\TEMP\\ORBVIEW-1234-*CONV.G2B");
}

TEST(PictureLoaderRules, PreviewSwitch) {
  struct Case { const char* name; suite::SidecarFacts facts; bool usable; };
  const Case cases[] = {
      {"intact", {1000, true, 600, 640, 480}, true},
      {"preview right up to the trailer", {884, true, 600, 640, 480}, true},
      {"preview runs into the trailer", {883, true, 600, 640, 480}, false},
      {"no preview", {1000, true, 0, 640, 480}, false},
      {"negative preview length", {1000, true, -5, 640, 480}, false},
      {"trailer not read", {1000, false, 600, 640, 480}, false},
      {"only a trailer", {284, true, 0, 640, 480}, false},
      {"no picture size", {1000, true, 600, 0, 480}, false},
      {"negative height", {1000, true, 600, 640, -1}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(suite::CanShowSidecarPreview(c.facts), c.usable);
  }
}

TEST(PictureLoaderRules, MemoryLimitOfOldSystems) {
  struct Case { const char* name; int32_t w, h, bits, os; suite::PictureSize expected; };
  const Case cases[] = {
      {"6000 x 4000 at 24 bits on an old system: ratio 4.5", 6000, 4000, 24, 400, {1333, 889}},
      {"the same on Windows 2000", 6000, 4000, 24, 500, {6000, 4000}},
      {"the same on XP", 6000, 4000, 24, 501, {6000, 4000}},
      {"exactly 16,000,000 bytes stays", 4000, 1000, 32, 400, {4000, 1000}},
      {"one pixel more is cut", 4001, 1000, 32, 400, {4000, 1000}},
      {"16 MiB is above the limit", 4096, 1024, 32, 410, {3906, 977}},
      {"a byte count past 2^31", 40000, 30000, 32, 400, {133, 100}},
      {"a long line keeps a pixel", 16000000, 1, 32, 400, {4000000, 1}},
      {"8-bit display", 5000, 4000, 8, 400, {4000, 3200}},
      {"4-bit display counts no bytes", 9000, 9000, 4, 400, {9000, 9000}},
      {"no size", 0, 10, 24, 400, {0, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const suite::PictureSize got = suite::LimitBitmapMemory(c.w, c.h, c.bits, c.os);
    EXPECT_EQ(got.width, c.expected.width);
    EXPECT_EQ(got.height, c.expected.height);
  }
}

TEST(PictureLoaderRules, FittingOnlyWithoutOverlay) {
  EXPECT_TRUE(suite::FitsToMaximum(64, 64, false));
  EXPECT_FALSE(suite::FitsToMaximum(64, 64, true));
  EXPECT_FALSE(suite::FitsToMaximum(0, 64, false));
  EXPECT_FALSE(suite::FitsToMaximum(64, -1, false));
  EXPECT_FALSE(suite::FitsToMaximum(0, 0, false));
}

}  // namespace
