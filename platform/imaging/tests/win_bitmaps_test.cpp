// imaging.dll's bitmap calls under Wine: flip, mirror and quarter turns
// compared pixel for pixel with ImageMagick doing the same to the same
// picture; resizing; the colour count against identify's; making bitmaps,
// drawing into them through their DC; refusing records that hold no
// bitmap.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "error_codes.h"
#include "imaging.h"
#include "test_support.h"

namespace {

using namespace testsupport;

class Bitmaps : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(MakeQuadrants(fixture_)) << "ImageMagick made no fixture"; }

  void Load(BITMAPHANDLE* bitmap) {
    ASSERT_EQ(IMG_SUCCESS, L_LoadBitmap(fixture_.c_str(), bitmap, 24, ORDER_BGR, nullptr, nullptr));
  }
  // Saves the bitmap as PNG and compares it with ImageMagick's picture.
  void ExpectSameAs(BITMAPHANDLE* bitmap, const std::string& imageMagickOperation, int tolerance = 0) {
    const std::string ours = folder_.Child("ours.png");
    const std::string theirs = folder_.Child("theirs.png");
    ASSERT_EQ(IMG_SUCCESS, L_SaveBitmap(ours.c_str(), bitmap, FILE_PNG, 24, 0, 0));
    ASSERT_TRUE(Convert("'" + UnixPath(fixture_) + "' " + imageMagickOperation, theirs));
    RgbPixels expected, actual;
    ASSERT_TRUE(ReadPixels(theirs, &expected));
    ASSERT_TRUE(ReadPixels(ours, &actual));
    std::string first;
    EXPECT_EQ(0, CountDifferences(expected, actual, tolerance, &first)) << imageMagickOperation << ": " << first;
  }

  ScratchFolder folder_{"imaging bitmaps"};
  std::string fixture_ = folder_.Child("quadrants.png");
};

TEST_F(Bitmaps, TransformsMatchImageMagick) {
  struct Case {
    const char* name;
    L_INT (*transform)(pBITMAPHANDLE);
    const char* operation;
    int width, height;
  };
  const Case cases[] = {
      {"flip", [](pBITMAPHANDLE b) { return L_FlipBitmap(b); }, "-flip", 40, 30},
      {"mirror", [](pBITMAPHANDLE b) { return L_ReverseBitmap(b); }, "-flop", 40, 30},
      {"rotate right", [](pBITMAPHANDLE b) { return L_RotateBitmap(b, 9000, ROTATE_RESIZE, RGB(0, 0, 0)); },
       "-rotate 90", 30, 40},
      {"rotate left", [](pBITMAPHANDLE b) { return L_RotateBitmap(b, -9000, ROTATE_RESIZE, RGB(0, 0, 0)); },
       "-rotate -90", 30, 40},
      {"half turn", [](pBITMAPHANDLE b) { return L_RotateBitmap(b, 18000, 0, RGB(0, 0, 0)); }, "-rotate 180",
       40, 30},
      {"three quarters", [](pBITMAPHANDLE b) { return L_RotateBitmap(b, 27000, ROTATE_RESIZE, 0); },
       "-rotate 270", 30, 40},
      {"full turn", [](pBITMAPHANDLE b) { return L_RotateBitmap(b, -36000, ROTATE_RESIZE, 0); }, "", 40, 30},
      {"quarter turn kept in its size",
       [](pBITMAPHANDLE b) { return L_RotateBitmap(b, 9000, 0, RGB(255, 0, 255)); },
       "-rotate 90 -background magenta -gravity center -extent 40x30", 40, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BITMAPHANDLE bitmap{};
    Load(&bitmap);
    ASSERT_EQ(IMG_SUCCESS, c.transform(&bitmap));
    EXPECT_EQ(c.width, bitmap.Width);
    EXPECT_EQ(c.height, bitmap.Height);
    ExpectSameAs(&bitmap, c.operation);
    L_FreeBitmap(&bitmap);
  }
  BITMAPHANDLE bitmap{};
  Load(&bitmap);
  EXPECT_EQ(imaging::kErrorFeatureNotSupported, L_RotateBitmap(&bitmap, 4500, ROTATE_RESIZE, 0));
  EXPECT_EQ(40, bitmap.Width) << "a refused turn changes nothing";
  ExpectSameAs(&bitmap, "");
  L_FreeBitmap(&bitmap);
}

TEST_F(Bitmaps, Resizes) {
  BITMAPHANDLE bitmap{};
  Load(&bitmap);
  // Doubling by copying pixels is what ImageMagick's -sample does.
  ASSERT_EQ(IMG_SUCCESS, L_SizeBitmap(&bitmap, 80, 60, SIZE_NORMAL));
  EXPECT_EQ(80, bitmap.Width);
  EXPECT_EQ(60, bitmap.Height);
  EXPECT_EQ(80 * 3, bitmap.BytesPerLine);
  ExpectSameAs(&bitmap, "-sample 80x60");
  L_FreeBitmap(&bitmap);

  // Resampling to half: flat quadrants keep their colours, sizes as asked.
  Load(&bitmap);
  ASSERT_EQ(IMG_SUCCESS, L_SizeBitmap(&bitmap, 20, 15, SIZE_RESAMPLE));
  EXPECT_EQ(RGB(255, 0, 0), BitmapPixel(bitmap, 4, 3));
  EXPECT_EQ(RGB(0, 255, 0), BitmapPixel(bitmap, 15, 3));
  EXPECT_EQ(RGB(0, 0, 255), BitmapPixel(bitmap, 4, 11));
  EXPECT_EQ(RGB(255, 255, 0), BitmapPixel(bitmap, 15, 11));
  ExpectSameAs(&bitmap, "-filter box -resize 20x15!", 2);
  const std::string saved = folder_.Child("half.jpg");
  ASSERT_EQ(IMG_SUCCESS, L_SaveBitmap(saved.c_str(), &bitmap, FILE_JPEG, 24, 25, 0));
  EXPECT_EQ("JPEG 20 15", Identify(saved));

  // Stretching to the screen's size (the wallpaper's flag 1), and refusals.
  ASSERT_EQ(IMG_SUCCESS, L_SizeBitmap(&bitmap, 101, 7, SIZE_STRETCH));
  EXPECT_EQ(101, bitmap.Width);
  EXPECT_EQ(imaging::kErrorInvalidParameter, L_SizeBitmap(&bitmap, 0, 7, SIZE_RESAMPLE));
  EXPECT_EQ(imaging::kErrorInvalidParameter, L_SizeBitmap(&bitmap, 5, 7, 9));
  EXPECT_EQ(imaging::kErrorInvalidParameter, L_SizeBitmap(&bitmap, 60000, 60000, SIZE_RESAMPLE));
  EXPECT_EQ(101, bitmap.Width) << "a refused resize changes nothing";
  L_FreeBitmap(&bitmap);
}

TEST_F(Bitmaps, CountsColoursAsIdentifyDoes) {
  const std::string plasma = folder_.Child("plasma.png");
  ASSERT_TRUE(Convert("-seed 7 -size 50x40 plasma:fractal -depth 8", plasma));
  std::string expected;
  ASSERT_TRUE(RunShell(folder_.path(), "identify -format '%k' '" + UnixPath(plasma) + "'", &expected));
  struct Case {
    std::string path;
    L_INT colours;
  };
  const Case cases[] = {{fixture_, 6}, {plasma, std::atoi(expected.c_str())}};
  EXPECT_GT(cases[1].colours, 500) << "a plasma of many colours: " << expected;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    BITMAPHANDLE bitmap{};
    ASSERT_EQ(IMG_SUCCESS, L_LoadBitmap(c.path.c_str(), &bitmap, 24, ORDER_BGR, nullptr, nullptr));
    ASSERT_GT(c.colours, 0);
    EXPECT_EQ(c.colours, L_GetBitmapColorCount(&bitmap));
    L_FreeBitmap(&bitmap);
  }
}

TEST_F(Bitmaps, CreatedBitmapsTakeDrawingThroughTheirDc) {
  BITMAPHANDLE canvas;
  std::memset(&canvas, 0x5A, sizeof(canvas));
  ASSERT_EQ(IMG_SUCCESS, L_CreateBitmap(&canvas, TYPE_CONV, 30, 20, 24, ORDER_BGR, nullptr, 0, nullptr, 0));
  EXPECT_EQ(sizeof(BITMAPHANDLE), canvas.uStructSize);
  EXPECT_EQ(30, canvas.Width);
  EXPECT_EQ(20, canvas.Height);
  EXPECT_EQ(24, canvas.BitsPerPixel);
  EXPECT_EQ(92, canvas.BytesPerLine);
  EXPECT_EQ(2u, canvas.Flags & 2u) << "held in conventional memory (bit 1)";
  EXPECT_EQ(RGB(0, 0, 0), BitmapPixel(canvas, 29, 19));
  EXPECT_EQ(1, L_GetBitmapColorCount(&canvas));

  HDC dc = L_CreateLeadDC(&canvas);
  ASSERT_NE(nullptr, dc);
  RECT all{0, 0, 30, 20};
  RECT corner{20, 12, 30, 20};
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &all, white);
  FillRect(dc, &corner, red);
  DeleteObject(white);
  DeleteObject(red);
  EXPECT_TRUE(L_DeleteLeadDC(dc));

  EXPECT_EQ(RGB(255, 255, 255), BitmapPixel(canvas, 0, 0));
  EXPECT_EQ(RGB(255, 0, 0), BitmapPixel(canvas, 25, 15));
  EXPECT_EQ(2, L_GetBitmapColorCount(&canvas));
  const std::string sheet = folder_.Child("sheet.bmp");
  ASSERT_EQ(IMG_SUCCESS, L_SaveBitmap(sheet.c_str(), &canvas, FILE_BMP, 24, 0, 0));
  RgbPixels saved;
  ASSERT_TRUE(ReadPixels(sheet, &saved));
  EXPECT_EQ(RGB(255, 255, 255), saved.At(19, 11));
  EXPECT_EQ(RGB(255, 0, 0), saved.At(20, 12));
  EXPECT_EQ(RGB(255, 0, 0), saved.At(29, 19));

  BITMAPHANDLE copy{};
  ASSERT_EQ(IMG_SUCCESS, L_CopyBitmap(&copy, &canvas));
  L_FreeBitmap(&canvas);
  EXPECT_EQ(RGB(255, 0, 0), BitmapPixel(copy, 25, 15)) << "the copy has pixels of its own";
  L_FreeBitmap(&copy);

  struct Refused {
    const char* name;
    L_UINT width, height;
    L_INT bits, order;
    L_INT expected;
  };
  const Refused refused[] = {
      {"zero width", 0, 5, 24, ORDER_BGR, imaging::kErrorInvalidParameter},
      {"16 bits", 5, 5, 16, ORDER_BGR, imaging::kErrorBitsPerPixel},
      {"8 bits", 5, 5, 8, ORDER_BGR, imaging::kErrorBitsPerPixel},
      {"rgb order", 5, 5, 24, 0, imaging::kErrorInvalidParameter},
      {"past a gibibyte", 40000, 40000, 24, ORDER_BGR, imaging::kErrorInvalidParameter},
  };
  for (const Refused& r : refused) {
    SCOPED_TRACE(r.name);
    BITMAPHANDLE none{};
    EXPECT_EQ(r.expected, L_CreateBitmap(&none, TYPE_CONV, r.width, r.height, r.bits, r.order, nullptr, 0, nullptr, 0));
    EXPECT_EQ(0u, none.Flags);
  }
}

TEST_F(Bitmaps, RecordsWithoutABitmapAreRefused) {
  BITMAPHANDLE empty{};
  BITMAPHANDLE stale{};
  Load(&stale);
  BITMAPHANDLE freed = stale;
  L_FreeBitmap(&stale);  // `freed` still names the deleted pixels
  BITMAPHANDLE altered{};
  Load(&altered);
  BITMAPHANDLE lying = altered;
  lying.Width = 4000;  // fields that no longer describe the pixels
  for (BITMAPHANDLE* bad : {&empty, &freed, &lying, static_cast<BITMAPHANDLE*>(nullptr)}) {
    SCOPED_TRACE(bad == nullptr ? "null" : bad == &empty ? "empty" : bad == &freed ? "freed" : "lying");
    EXPECT_EQ(imaging::kErrorNoBitmap, L_FlipBitmap(bad));
    EXPECT_EQ(imaging::kErrorNoBitmap, L_ReverseBitmap(bad));
    EXPECT_EQ(imaging::kErrorNoBitmap, L_RotateBitmap(bad, 9000, ROTATE_RESIZE, 0));
    EXPECT_EQ(imaging::kErrorNoBitmap, L_SizeBitmap(bad, 10, 10, SIZE_RESAMPLE));
    EXPECT_EQ(imaging::kErrorNoBitmap, L_GetBitmapColorCount(bad));
    const std::string path = folder_.Child("never.bmp");
    EXPECT_EQ(imaging::kErrorNoBitmap, L_SaveBitmap(path.c_str(), bad, FILE_BMP, 24, 0, 0));
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(nullptr, L_CreateLeadDC(bad));
    BITMAPHANDLE copy{};
    EXPECT_EQ(imaging::kErrorNoBitmap, L_CopyBitmap(&copy, bad));
    L_FreeBitmap(bad);  // harmless
  }
  L_FreeBitmap(&altered);
}

}  // namespace

namespace {

using namespace testsupport;

TEST(Trace, CallsAreWrittenWhenOrbTraceNamesAFile) {
  ScratchFolder folder("imaging trace");
  const std::string trace = folder.Child("trace.txt");
  {
    harness::ScopedEnvironment named("ORB_TRACE", trace.c_str());
    BITMAPHANDLE bitmap{};
    ASSERT_EQ(IMG_SUCCESS, L_CreateBitmap(&bitmap, TYPE_CONV, 4, 3, 24, ORDER_BGR, nullptr, 0, nullptr, 0));
    EXPECT_EQ(imaging::kErrorFeatureNotSupported, L_RotateBitmap(&bitmap, 100, 0, 0));
    L_FreeBitmap(&bitmap);
  }
  BITMAPHANDLE unseen{};
  L_FlipBitmap(&unseen);  // after the variable is gone: not traced
  std::string text;
  ASSERT_TRUE(ReadFileBytes(trace, &text));
  std::vector<std::string> lines = harness::SplitLines(text);
  ASSERT_GE(lines.size(), 3u) << text;
  EXPECT_NE(std::string::npos, lines[0].find("imaging L_CreateBitmap(2, 4, 3, 24, 1) = 1")) << lines[0];
  EXPECT_NE(std::string::npos, lines[1].find("imaging L_RotateBitmap(100, 0, 0) = -10")) << lines[1];
  EXPECT_NE(std::string::npos, lines[2].find("imaging L_FreeBitmap() = 1")) << lines[2];
  EXPECT_EQ(std::string::npos, text.find("L_FlipBitmap"));
}

}  // namespace

namespace {

using namespace testsupport;

// The media browser's thumbnail thread loads and resizes while the main
// thread does the same for a contact sheet.
struct WorkerArguments {
  std::string source;
  std::string target;
  int failures = 0;
};

DWORD WINAPI LoadResizeSave(void* parameter) {
  auto* work = static_cast<WorkerArguments*>(parameter);
  for (int round = 0; round < 15; ++round) {
    BITMAPHANDLE bitmap{};
    if (L_LoadBitmap(work->source.c_str(), &bitmap, 24, ORDER_BGR, nullptr, nullptr) != IMG_SUCCESS) {
      ++work->failures;
      continue;
    }
    if (L_SizeBitmap(&bitmap, 13 + round, 9 + round, SIZE_RESAMPLE) != IMG_SUCCESS ||
        L_SaveBitmap(work->target.c_str(), &bitmap, FILE_JPEG, 24, 25, 0) != IMG_SUCCESS)
      ++work->failures;
    L_FreeBitmap(&bitmap);
  }
  return 0;
}

TEST(Threads, TwoThreadsLoadResizeAndSaveAtOnce) {
  ScratchFolder folder("imaging threads");
  const std::string fixture = folder.Child("quadrants.png");
  ASSERT_TRUE(MakeQuadrants(fixture));
  WorkerArguments work[2] = {{fixture, folder.Child("a.jpg")}, {fixture, folder.Child("b.jpg")}};
  HANDLE threads[2];
  for (int i = 0; i < 2; ++i) {
    threads[i] = CreateThread(nullptr, 0, LoadResizeSave, &work[i], 0, nullptr);
    ASSERT_NE(nullptr, threads[i]);
  }
  ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, threads, TRUE, 60000)) << "the workers hung";
  for (HANDLE thread : threads) CloseHandle(thread);
  EXPECT_EQ(0, work[0].failures);
  EXPECT_EQ(0, work[1].failures);
  EXPECT_EQ("JPEG 27 23", Identify(work[0].target));
  EXPECT_EQ("JPEG 27 23", Identify(work[1].target));
}

}  // namespace
