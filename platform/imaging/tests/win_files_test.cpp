// imaging.dll's file calls under Wine: pictures made by ImageMagick are read
// with L_FileInfo and L_LoadBitmap; pictures saved with L_SaveBitmap,
// L_SaveBitmapMemory and L_FileConvert are read back by ImageMagick and
// compared pixel by pixel; formats the library does not write fail with
// its error code and write nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "error_codes.h"
#include "imaging.h"
#include "test_support.h"

namespace {

using namespace testsupport;

const COLORREF kRed = RGB(255, 0, 0), kLime = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kYellow = RGB(255, 255, 0);

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeQuadrants(fixture_)) << "ImageMagick made no fixture";
    ASSERT_TRUE(ReadPixels(fixture_, &fixturePixels_));
  }
  // Loads the fixture at 24 bits.
  void LoadFixture(BITMAPHANDLE* bitmap) {
    ASSERT_EQ(IMG_SUCCESS, L_LoadBitmap(fixture_.c_str(), bitmap, 24, ORDER_BGR, nullptr, nullptr));
  }

  ScratchFolder folder_{"imaging files"};
  std::string fixture_ = folder_.Child("quadrants.png");
  RgbPixels fixturePixels_;
};

// Quadrant centres and the two marker pixels of the fixture.
void ExpectQuadrants(const std::string& name, COLORREF (*at)(const void*, int, int), const void* picture,
                     int tolerance) {
  struct Probe {
    int x, y;
    COLORREF colour;
  };
  const Probe probes[] = {{10, 7, kRed}, {30, 7, kLime}, {10, 22, kBlue}, {30, 22, kYellow},
                          {1, 1, RGB(255, 255, 255)}, {38, 28, RGB(0, 0, 0)}};
  for (const Probe& p : probes) {
    // A lossy picture blurs the single marker pixels: only the quadrants count.
    if (tolerance > 0 && (p.x == 1 || p.x == 38)) continue;
    EXPECT_LE(ChannelDistance(p.colour, at(picture, p.x, p.y)), tolerance)
        << name << " at (" << p.x << "," << p.y << ")";
  }
}

COLORREF BitmapAt(const void* bitmap, int x, int y) {
  return BitmapPixel(*static_cast<const BITMAPHANDLE*>(bitmap), x, y);
}
COLORREF PixelsAt(const void* pixels, int x, int y) { return static_cast<const RgbPixels*>(pixels)->At(x, y); }

TEST_F(Files, ReadsEveryFormatImageMagickWrites) {
  struct Case {
    const char* name;
    const char* fileName;
    L_INT format;
    int tolerance;
  };
  const Case cases[] = {
      {"png", "q.png", FILE_PNG, 0}, {"bmp", "q.bmp", FILE_BMP, 0},   {"gif", "q.gif", FILE_GIF, 0},
      {"tiff", "q.tif", FILE_TIF, 0}, {"jpeg", "q.jpg", FILE_JPEG, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder_.Child(c.fileName);
    ASSERT_TRUE(Convert("'" + UnixPath(fixture_) + "'", path));
    FILEINFO info;
    std::memset(&info, 0x5A, sizeof(info));
    ASSERT_EQ(IMG_SUCCESS, L_FileInfo(path.c_str(), &info, 1, nullptr));
    EXPECT_EQ(c.format, info.Format);
    EXPECT_EQ(40, info.Width);
    EXPECT_EQ(30, info.Height);
    EXPECT_GT(info.BitsPerPixel, 0);
    EXPECT_STREQ(c.fileName, info.Name);
    EXPECT_EQ(1, info.TotalPages);

    BITMAPHANDLE bitmap{};
    FILEINFO loaded{};
    ASSERT_EQ(IMG_SUCCESS, L_LoadBitmap(path.c_str(), &bitmap, 0, ORDER_BGR, nullptr, &loaded));
    EXPECT_EQ(40, bitmap.Width);
    EXPECT_EQ(30, bitmap.Height);
    EXPECT_TRUE(bitmap.BitsPerPixel == 24 || bitmap.BitsPerPixel == 32) << bitmap.BitsPerPixel;
    EXPECT_EQ(BITMAP_ALLOCATED | BITMAP_CONVENTIONAL, bitmap.Flags);
    EXPECT_EQ(c.format, loaded.Format);
    ExpectQuadrants(c.name, BitmapAt, &bitmap, c.tolerance);
    L_FreeBitmap(&bitmap);
    EXPECT_EQ(0u, bitmap.Flags);
    EXPECT_EQ(nullptr, bitmap.Data);
  }
}

TEST_F(Files, SavedPicturesReadBackByImageMagick) {
  struct Case {
    const char* name;
    const char* fileName;
    L_INT format;
    L_INT bits;
    L_INT qualityFactor;
    const char* identified;
    int tolerance;
  };
  const Case cases[] = {
      {"bmp 24", "s24.bmp", FILE_BMP, 24, 0, "BMP3 40 30", 0},
      {"bmp 32", "s32.bmp", FILE_BMP, 32, 0, "BMP3 40 30", 0},
      {"bmp 8", "s8.bmp", FILE_BMP, 8, 0, "BMP3 40 30", 0},
      {"bmp 4", "s4.bmp", FILE_BMP, 4, 0, "BMP3 40 30", 0},
      {"bmp 16", "s16.bmp", FILE_BMP, 16, 0, "BMP3 40 30", 8},
      {"png asked at 48 bits", "s48.png", FILE_PNG, 48, 0, "PNG 40 30", 0},
      {"png 24", "s24.png", FILE_PNG, 24, 0, "PNG 40 30", 0},
      {"png 8", "s8.png", FILE_PNG, 8, 0, "PNG 40 30", 0},
      {"gif", "s.gif", FILE_GIF, 8, 0, "GIF 40 30", 0},
      {"tiff", "s.tif", FILE_TIF, 24, 0, "TIFF 40 30", 0},
      {"jpeg best", "s2.jpg", FILE_JPEG, 24, 2, "JPEG 40 30", 40},
      {"jpeg 25", "s25.jpg", FILE_JPEG, 24, 25, "JPEG 40 30", 60},
      {"bits 0 keep the bitmap's", "s0.png", FILE_PNG, 0, 0, "PNG 40 30", 0},
  };
  BITMAPHANDLE bitmap{};
  LoadFixture(&bitmap);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder_.Child(c.fileName);
    ASSERT_EQ(IMG_SUCCESS, L_SaveBitmap(path.c_str(), &bitmap, c.format, c.bits, c.qualityFactor, 0));
    EXPECT_EQ(c.identified, Identify(path));
    RgbPixels saved;
    ASSERT_TRUE(ReadPixels(path, &saved));
    std::string first;
    if (c.tolerance == 0) {
      EXPECT_EQ(0, CountDifferences(fixturePixels_, saved, 0, &first)) << first;
    } else {
      ExpectQuadrants(c.name, PixelsAt, &saved, c.tolerance);
    }
  }
  // A real JFIF file: SOI, then the APP0 "JFIF" segment.
  std::string jpeg;
  ASSERT_TRUE(ReadFileBytes(folder_.Child("s2.jpg"), &jpeg));
  ASSERT_GT(jpeg.size(), 11u);
  EXPECT_EQ(std::string("\xFF\xD8\xFF\xE0", 4), jpeg.substr(0, 4));
  EXPECT_EQ(std::string("JFIF\0", 5), jpeg.substr(6, 5));
  std::string rough;
  ASSERT_TRUE(ReadFileBytes(folder_.Child("s25.jpg"), &rough));
  EXPECT_LE(rough.size(), jpeg.size()) << "a larger quality factor compresses harder";
  L_FreeBitmap(&bitmap);
}

TEST_F(Files, UnwrittenFormatsFailAndLeaveFilesAlone) {
  BITMAPHANDLE bitmap{};
  LoadFixture(&bitmap);
  struct Case {
    const char* name;
    L_INT format;
    L_INT bits;
    L_INT expected;
  };
  const Case cases[] = {
      {"the vendor's own format", FILE_CMP, 24, imaging::kErrorFormatNotSupported},
      {"pcx", FILE_PCX, 24, imaging::kErrorFormatNotSupported},
      {"wmf", FILE_WMF, 24, imaging::kErrorFormatNotSupported},
      {"eps", FILE_EPS, 8, imaging::kErrorFormatNotSupported},
      {"an unknown number", 999, 24, imaging::kErrorFormatNotSupported},
      {"jpeg at 8 bits", FILE_JPEG, 8, imaging::kErrorBitsPerPixel},
      {"bmp at 48 bits", FILE_BMP, 48, imaging::kErrorBitsPerPixel},
      {"png at 12 bits", FILE_PNG, 12, imaging::kErrorBitsPerPixel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string fresh = folder_.Child("fresh.out");
    EXPECT_EQ(c.expected, L_SaveBitmap(fresh.c_str(), &bitmap, c.format, c.bits, 0, 0));
    EXPECT_FALSE(FileExists(fresh));
    const std::string existing = folder_.Child("existing.out");
    ASSERT_TRUE(WriteFileBytes(existing, "keep me"));
    EXPECT_EQ(c.expected, L_SaveBitmap(existing.c_str(), &bitmap, c.format, c.bits, 0, 0));
    std::string kept;
    ASSERT_TRUE(ReadFileBytes(existing, &kept));
    EXPECT_EQ("keep me", kept);
    HGLOBAL memory = reinterpret_cast<HGLOBAL>(1);
    L_UINT32 size = 77;
    EXPECT_EQ(c.expected, L_SaveBitmapMemory(&memory, &bitmap, c.format, c.bits, 0, &size));
    EXPECT_EQ(nullptr, memory);
    EXPECT_EQ(0u, size);
  }
  // No temporary files are left behind.
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(folder_.Child("img*.tmp").c_str(), &found);
  EXPECT_EQ(INVALID_HANDLE_VALUE, search);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  L_FreeBitmap(&bitmap);
}

TEST_F(Files, UnreadableFilesFailWithTheirCode) {
  const std::string pcx = folder_.Child("q.pcx");
  ASSERT_TRUE(Convert("'" + UnixPath(fixture_) + "'", pcx));
  const std::string icon = folder_.Child("q.ico");
  ASSERT_TRUE(Convert("'" + UnixPath(fixture_) + "'", icon));
  const std::string text = folder_.Child("text.png");
  ASSERT_TRUE(WriteFileBytes(text, "this is no picture at all"));
  std::string png;
  ASSERT_TRUE(ReadFileBytes(fixture_, &png));
  const std::string cut = folder_.Child("cut.png");
  ASSERT_TRUE(WriteFileBytes(cut, png.substr(0, 40)));
  struct Case {
    const char* name;
    std::string path;
    L_INT expected;
  };
  const Case cases[] = {
      {"pcx", pcx, imaging::kErrorFileFormat},
      {"icon", icon, imaging::kErrorFileFormat},
      {"text", text, imaging::kErrorFileFormat},
      {"cut png", cut, imaging::kErrorFileRead},
      {"missing", folder_.Child("missing.png"), imaging::kErrorFileNotFound},
      {"empty path", "", imaging::kErrorInvalidParameter},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FILEINFO info;
    std::memset(&info, 0x5A, sizeof(info));
    EXPECT_EQ(c.expected, L_FileInfo(c.path.c_str(), &info, 1, nullptr));
    EXPECT_EQ(0, info.Width);
    EXPECT_EQ(0, info.Height);
    BITMAPHANDLE bitmap{};
    EXPECT_EQ(c.expected, L_LoadBitmap(c.path.c_str(), &bitmap, 24, ORDER_BGR, nullptr, nullptr));
    EXPECT_EQ(0u, bitmap.Flags);
  }
  BITMAPHANDLE bitmap{};
  EXPECT_EQ(imaging::kErrorBitsPerPixel, L_LoadBitmap(fixture_.c_str(), &bitmap, 16, ORDER_BGR, nullptr, nullptr));
  EXPECT_EQ(imaging::kErrorInvalidParameter, L_LoadBitmap(fixture_.c_str(), &bitmap, 24, 0, nullptr, nullptr));
  EXPECT_EQ(0u, bitmap.Flags);
}

TEST_F(Files, SavesIntoMemory) {
  BITMAPHANDLE bitmap{};
  LoadFixture(&bitmap);
  HGLOBAL memory = nullptr;
  L_UINT32 size = 0;
  ASSERT_EQ(IMG_SUCCESS, L_SaveBitmapMemory(&memory, &bitmap, FILE_JPEG, 24, 2, &size));
  ASSERT_NE(nullptr, memory);
  ASSERT_GT(size, 100u);
  EXPECT_GE(GlobalSize(memory), size);
  const char* bytes = static_cast<const char*>(GlobalLock(memory));
  ASSERT_NE(nullptr, bytes);
  const std::string path = folder_.Child("memory.jpg");
  ASSERT_TRUE(WriteFileBytes(path, std::string(bytes, size)));
  GlobalUnlock(memory);
  EXPECT_EQ(nullptr, GlobalFree(memory));
  EXPECT_EQ("JPEG 40 30", Identify(path));
  RgbPixels saved;
  ASSERT_TRUE(ReadPixels(path, &saved));
  ExpectQuadrants("memory jpeg", PixelsAt, &saved, 40);
  L_FreeBitmap(&bitmap);
}

TEST_F(Files, ConvertsBetweenFormats) {
  const std::string bmp = folder_.Child("source.bmp");
  ASSERT_TRUE(Convert("'" + UnixPath(fixture_) + "'", bmp));
  struct Case {
    const char* name;
    const char* target;
    L_INT format, width, height, bits;
    const char* identified;
  };
  const Case cases[] = {
      {"bmp to png, same size", "c1.png", FILE_PNG, 0, 0, 24, "PNG 40 30"},
      {"bmp to jpeg, halved", "c2.jpg", FILE_JPEG, 20, 15, 24, "JPEG 20 15"},
      {"bmp to gif, doubled", "c3.gif", FILE_GIF, 80, 60, 8, "GIF 80 60"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string target = folder_.Child(c.target);
    FILEINFO info{};
    ASSERT_EQ(IMG_SUCCESS, L_FileConvert(bmp.c_str(), target.c_str(), c.format, c.width, c.height, c.bits, 5,
                                         nullptr, nullptr, &info));
    EXPECT_EQ(FILE_BMP, info.Format);
    EXPECT_EQ(c.identified, Identify(target));
  }
  const std::string refused = folder_.Child("c4.pcx");
  EXPECT_EQ(imaging::kErrorFormatNotSupported,
            L_FileConvert(bmp.c_str(), refused.c_str(), FILE_PCX, 0, 0, 24, 0, nullptr, nullptr, nullptr));
  EXPECT_FALSE(FileExists(refused));
}

}  // namespace
