// imaging.dll's painting calls under Wine: L_PaintDC into a memory DC
// (whole, part, stretched, clipped), L_ConvertToDDB, the paint palette on a
// true-colour device, and the clipboard round trip.
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
const COLORREF kGrey = RGB(128, 128, 128);

// A 24-bit top-down DIB section selected into a memory DC, filled grey.
class Surface {
 public:
  Surface(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, width, height};
    HBRUSH grey = CreateSolidBrush(kGrey);
    FillRect(dc_, &all, grey);
    DeleteObject(grey);
  }
  ~Surface() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint8_t* p = bits_ + static_cast<size_t>(y) * ((width_ * 3 + 3) & ~3) + x * 3;
    return RGB(p[2], p[1], p[0]);
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint8_t* bits_ = nullptr;
};

class Painting : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeQuadrants(fixture_)) << "ImageMagick made no fixture";
    ASSERT_EQ(IMG_SUCCESS, L_LoadBitmap(fixture_.c_str(), &bitmap_, 24, ORDER_BGR, nullptr, nullptr));
  }
  void TearDown() override { L_FreeBitmap(&bitmap_); }

  ScratchFolder folder_{"imaging painting"};
  std::string fixture_ = folder_.Child("quadrants.png");
  BITMAPHANDLE bitmap_{};
};

TEST_F(Painting, PaintsWholePartStretchedAndClipped) {
  struct Probe {
    int x, y;
    COLORREF colour;
  };
  struct Case {
    const char* name;
    bool hasSource, hasClip, hasDestination;
    RECT source, clip, destination;
    Probe probes[4];
  };
  const Case cases[] = {
      {"whole at its size", false, false, false, {}, {}, {},
       {{10, 7, kRed}, {30, 22, kYellow}, {1, 1, RGB(255, 255, 255)}, {45, 35, kGrey}}},
      {"moved", false, false, true, {}, {}, {5, 5, 45, 35},
       {{15, 12, kRed}, {35, 27, kYellow}, {6, 6, RGB(255, 255, 255)}, {2, 2, kGrey}}},
      {"bottom-right quadrant only", true, false, true, {20, 15, 40, 30}, {}, {0, 0, 20, 15},
       {{10, 7, kYellow}, {18, 13, RGB(0, 0, 0)}, {25, 7, kGrey}, {10, 20, kGrey}}},
      {"top-left quadrant stretched", true, false, true, {0, 0, 20, 15}, {}, {0, 0, 40, 30},
       {{30, 25, kRed}, {2, 2, RGB(255, 255, 255)}, {39, 29, kRed}, {45, 35, kGrey}}},
      {"clipped to the left half", false, true, false, {}, {0, 0, 20, 30}, {},
       {{10, 7, kRed}, {10, 22, kBlue}, {30, 7, kGrey}, {30, 22, kGrey}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Surface surface(50, 40);
    ASSERT_EQ(IMG_SUCCESS, L_PaintDC(surface.dc(), &bitmap_, c.hasSource ? &c.source : nullptr,
                                     c.hasClip ? &c.clip : nullptr, c.hasDestination ? &c.destination : nullptr,
                                     SRCCOPY));
    for (const Probe& p : c.probes)
      EXPECT_EQ(p.colour, surface.At(p.x, p.y)) << "at (" << p.x << "," << p.y << ")";
  }
  Surface surface(10, 10);
  RECT outside{30, 20, 50, 40};
  EXPECT_EQ(imaging::kErrorInvalidParameter, L_PaintDC(surface.dc(), &bitmap_, &outside, nullptr, nullptr, SRCCOPY));
  EXPECT_EQ(imaging::kErrorInvalidParameter, L_PaintDC(nullptr, &bitmap_, nullptr, nullptr, nullptr, SRCCOPY));
  BITMAPHANDLE none{};
  EXPECT_EQ(imaging::kErrorNoBitmap, L_PaintDC(surface.dc(), &none, nullptr, nullptr, nullptr, SRCCOPY));
  EXPECT_EQ(kGrey, surface.At(5, 5)) << "refused paints draw nothing";
}

TEST_F(Painting, PrintsStretchedIntoARectangle) {
  Surface page(100, 80);
  ASSERT_EQ(IMG_SUCCESS, L_PrintBitmapExt(page.dc(), &bitmap_, 10, 5, 80, 60, 0));
  EXPECT_EQ(kRed, page.At(25, 17));
  EXPECT_EQ(kLime, page.At(75, 17));
  EXPECT_EQ(kBlue, page.At(25, 50));
  EXPECT_EQ(kYellow, page.At(75, 50));
  EXPECT_EQ(kGrey, page.At(5, 3)) << "outside the rectangle";
  EXPECT_EQ(kGrey, page.At(95, 70));
  ASSERT_EQ(IMG_SUCCESS, L_PrintBitmapExt(page.dc(), &bitmap_, 0, 0, 0, 0, 0));
  EXPECT_EQ(kRed, page.At(10, 7)) << "0 x 0 prints at the bitmap's own size";
  EXPECT_EQ(imaging::kErrorInvalidParameter, L_PrintBitmapExt(page.dc(), &bitmap_, 0, 0, -5, 10, 0));
  BITMAPHANDLE none{};
  EXPECT_EQ(imaging::kErrorNoBitmap, L_PrintBitmapExt(page.dc(), &none, 0, 0, 10, 10, 0));
}

TEST_F(Painting, DeviceDependentBitmapAndPalette) {
  HDC screen = GetDC(nullptr);
  ASSERT_NE(nullptr, screen);
  EXPECT_EQ(nullptr, L_CreatePaintPalette(screen, &bitmap_)) << "a true-colour screen needs no palette";
  HBITMAP ddb = L_ConvertToDDB(screen, &bitmap_);
  ReleaseDC(nullptr, screen);
  ASSERT_NE(nullptr, ddb);
  BITMAP description{};
  ASSERT_NE(0, GetObjectA(ddb, sizeof(description), &description));
  EXPECT_EQ(40, description.bmWidth);
  EXPECT_EQ(30, description.bmHeight);
  Surface surface(40, 30);
  HDC source = CreateCompatibleDC(surface.dc());
  HGDIOBJ old = SelectObject(source, ddb);
  BitBlt(surface.dc(), 0, 0, 40, 30, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  DeleteObject(ddb);
  EXPECT_EQ(kRed, surface.At(10, 7));
  EXPECT_EQ(kLime, surface.At(30, 7));
  EXPECT_EQ(kBlue, surface.At(10, 22));
  EXPECT_EQ(kYellow, surface.At(30, 22));
  BITMAPHANDLE none{};
  HDC again = GetDC(nullptr);
  EXPECT_EQ(nullptr, L_ConvertToDDB(again, &none));
  ReleaseDC(nullptr, again);
}

TEST_F(Painting, ClipboardRoundTrip) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(0, L_ClipboardReady());
  BITMAPHANDLE pasted{};
  EXPECT_EQ(imaging::kErrorClipboard, L_CopyFromClipboard(nullptr, &pasted, 0));

  ASSERT_EQ(IMG_SUCCESS, L_CopyToClipboard(nullptr, &bitmap_, 0));
  EXPECT_EQ(1, L_ClipboardReady());
  ASSERT_EQ(IMG_SUCCESS, L_CopyFromClipboard(nullptr, &pasted, 0));
  EXPECT_EQ(40, pasted.Width);
  EXPECT_EQ(30, pasted.Height);
  for (int y = 0; y < 30; y += 3)
    for (int x = 0; x < 40; x += 3)
      ASSERT_EQ(BitmapPixel(bitmap_, x, y), BitmapPixel(pasted, x, y)) << "(" << x << "," << y << ")";
  EXPECT_EQ(RGB(255, 255, 255), BitmapPixel(pasted, 1, 1));
  EXPECT_EQ(RGB(0, 0, 0), BitmapPixel(pasted, 38, 28));
  L_FreeBitmap(&pasted);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
}

}  // namespace
