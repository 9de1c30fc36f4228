// The drawing exports under Wine, on 32-bit DIB sections whose pixels the
// tests read back directly: filling, copying with a key colour, double
// buffering, memory bitmaps of a window, regions from bitmaps and deleting
// objects.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dib_canvas.h"
#include "themecore.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kSentinel = RGB(1, 2, 3);

// A 32-bit top-down DIB selected into a memory DC.
// Every probe draws into a DIB section of its own.
using Canvas = harness::DibCanvas;

// A source picture: magenta where (x + y) % 3 == 0, else a colour of its
// position.
COLORREF SourceColour(int x, int y) {
  if ((x + y) % 3 == 0) return kMagenta;
  return RGB(10 * x, 20 * y, 100);
}

void PaintSource(Canvas* canvas) {
  for (int y = 0; y < canvas->height(); ++y) {
    for (int x = 0; x < canvas->width(); ++x) canvas->Set(x, y, SourceColour(x, y));
  }
}

int64_t RegionArea(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<char> data(size);
  auto* rgn = reinterpret_cast<RGNDATA*>(data.data());
  if (GetRegionData(region, size, rgn) != size) return -1;
  const RECT* rects = reinterpret_cast<const RECT*>(rgn->Buffer);
  int64_t area = 0;
  for (DWORD i = 0; i < rgn->rdh.nCount; ++i) {
    area += static_cast<int64_t>(rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
  }
  return area;
}

TEST(DrawingWin, FillRectFillsExactlyTheRectangle) {
  Canvas canvas(10, 10);
  canvas.Fill(kSentinel);
  EXPECT_EQ(1, SKFILLRECT(canvas.dc(), 2, 3, 4, 5, static_cast<int32_t>(RGB(200, 0, 0))));
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 3 && y < 8;
      ASSERT_EQ(inside ? RGB(200, 0, 0) : kSentinel, canvas.At(x, y)) << x << "," << y;
    }
  }
  EXPECT_EQ(0, SKFILLRECT(canvas.dc(), 0, 0, 0, 5, 0));
  EXPECT_EQ(0, SKFILLRECT(nullptr, 0, 0, 5, 5, 0));
}

TEST(DrawingWin, TransBltLeavesKeyPixelsUntouched) {
  Canvas source(12, 9);
  PaintSource(&source);
  Canvas target(20, 20);
  target.Fill(kSentinel);
  ASSERT_EQ(1, SKTRANSBLT(target.dc(), 4, 5, 10, 8, source.dc(), 1, 1,
                          static_cast<int32_t>(kMagenta)));
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      COLORREF want = kSentinel;
      if (x >= 4 && x < 14 && y >= 5 && y < 13) {
        const COLORREF from = SourceColour(x - 4 + 1, y - 5 + 1);
        if (from != kMagenta) want = from;
      }
      ASSERT_EQ(want, target.At(x, y)) << x << "," << y;
    }
  }
}

TEST(DrawingWin, TransBltKeyMinusOneIsTheBottomLeftPixel) {
  Canvas source(4, 4);
  source.Fill(RGB(0, 128, 0));
  source.Set(1, 1, RGB(255, 255, 255));
  Canvas target(4, 4);
  target.Fill(kSentinel);
  ASSERT_EQ(1, SKTRANSBLT(target.dc(), 0, 0, 4, 4, source.dc(), 0, 0, -1));
  EXPECT_EQ(RGB(255, 255, 255), target.At(1, 1));
  EXPECT_EQ(kSentinel, target.At(0, 3));
  EXPECT_EQ(kSentinel, target.At(2, 2));
  EXPECT_EQ(0, SKTRANSBLT(target.dc(), 0, 0, 4, 4, nullptr, 0, 0, 0));
}

TEST(DrawingWin, RegionAreaIsTheNonKeyPixelCount) {
  Canvas canvas(23, 17);
  PaintSource(&canvas);
  int nonKey = 0;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) nonKey += SourceColour(x, y) != kMagenta ? 1 : 0;
  }
  HBITMAP bitmap = canvas.Release();
  HRGN region = SKBMPTORGN(bitmap, static_cast<int32_t>(kMagenta));
  ASSERT_NE(nullptr, region);
  EXPECT_EQ(nonKey, RegionArea(region));
  EXPECT_FALSE(PtInRegion(region, 0, 0)) << "(0,0) is a key pixel";
  EXPECT_TRUE(PtInRegion(region, 1, 0));
  EXPECT_TRUE(PtInRegion(region, 22, 15));
  DeleteObject(region);

  // -1: the bottom-left pixel's colour, here (0, 16), which is not magenta.
  region = SKBMPTORGN(bitmap, -1);
  ASSERT_NE(nullptr, region);
  const COLORREF corner = SourceColour(0, 16);
  int notCorner = 0;
  for (int y = 0; y < 17; ++y) {
    for (int x = 0; x < 23; ++x) notCorner += SourceColour(x, y) != corner ? 1 : 0;
  }
  EXPECT_EQ(notCorner, RegionArea(region));
  DeleteObject(region);
  DeleteObject(bitmap);

  Canvas empty(5, 5);
  empty.Fill(kMagenta);
  HBITMAP allKey = empty.Release();
  region = SKBMPTORGN(allKey, static_cast<int32_t>(kMagenta));
  ASSERT_NE(nullptr, region);
  EXPECT_EQ(0, RegionArea(region));
  DeleteObject(region);
  DeleteObject(allKey);
  EXPECT_EQ(nullptr, SKBMPTORGN(nullptr, 0));
}

TEST(DrawingWin, DeleteObjectDeletesAndZeroes) {
  HGDIOBJ brush = CreateSolidBrush(RGB(1, 2, 3));
  HGDIOBJ variable = brush;
  EXPECT_EQ(1, SKDELETEOBJECT(&variable));
  EXPECT_EQ(nullptr, variable);
  EXPECT_EQ(0u, GetObjectType(brush)) << "the brush is gone";

  HGDIOBJ none = nullptr;
  EXPECT_EQ(0, SKDELETEOBJECT(&none));
  EXPECT_EQ(nullptr, none);
  EXPECT_EQ(0, SKDELETEOBJECT(nullptr));

  HGDIOBJ memoryDc = CreateCompatibleDC(nullptr);
  HGDIOBJ dcVariable = memoryDc;
  EXPECT_EQ(1, SKDELETEOBJECT(&dcVariable));
  EXPECT_EQ(nullptr, dcVariable);
  EXPECT_EQ(0u, GetObjectType(memoryDc));
}

TEST(DrawingWin, OffscreenBuffersAndCopiesOnce) {
  Canvas target(40, 30);
  target.Fill(RGB(255, 255, 255));
  HDC buffer = SKOFFSCREEN(target.dc(), 40, 30, 1);
  ASSERT_NE(nullptr, buffer);
  EXPECT_NE(target.dc(), buffer);
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(buffer, 10, 10)) << "the buffer starts as the target";
  EXPECT_EQ(nullptr, SKOFFSCREEN(target.dc(), 40, 30, 1)) << "nested buffering is refused";
  SKFILLRECT(buffer, 0, 0, 20, 30, static_cast<int32_t>(RGB(255, 0, 0)));
  EXPECT_EQ(RGB(255, 255, 255), target.At(5, 5)) << "nothing reaches the target before the end";
  EXPECT_EQ(target.dc(), SKOFFSCREEN(nullptr, 0, 0, 0));
  EXPECT_EQ(RGB(255, 0, 0), target.At(5, 5));
  EXPECT_EQ(RGB(255, 255, 255), target.At(30, 5));
  EXPECT_EQ(nullptr, SKOFFSCREEN(nullptr, 0, 0, 0)) << "nothing left to end";
  EXPECT_EQ(nullptr, SKOFFSCREEN(target.dc(), 0, 30, 1));
}

TEST(DrawingWin, MemoryBitmapsBelongToTheirWindow) {
  HWND first = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
  HWND second = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(nullptr, first);
  ASSERT_NE(nullptr, second);
  EXPECT_EQ(nullptr, SKGETHDCMEMBMP(first));
  ASSERT_EQ(1, SKCREATEMEMBMP(first, 30, 20));
  ASSERT_EQ(1, SKCREATEMEMBMP(second, 8, 6));
  HDC dc = SKGETHDCMEMBMP(first);
  ASSERT_NE(nullptr, dc);
  EXPECT_NE(dc, SKGETHDCMEMBMP(second));
  BITMAP info = {};
  GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof(info), &info);
  EXPECT_EQ(30, info.bmWidth);
  EXPECT_EQ(20, info.bmHeight);
  EXPECT_EQ(static_cast<COLORREF>(SKGETSYSCOLOR(112)), GetPixel(dc, 29, 19))
      << "a new bitmap has the panel colour";
  SKFILLRECT(dc, 0, 0, 5, 5, static_cast<int32_t>(RGB(9, 8, 7)));
  EXPECT_EQ(RGB(9, 8, 7), GetPixel(dc, 2, 2));

  // Made again: a new bitmap of the new size.
  ASSERT_EQ(1, SKCREATEMEMBMP(first, 12, 7));
  GetObjectA(GetCurrentObject(SKGETHDCMEMBMP(first), OBJ_BITMAP), sizeof(info), &info);
  EXPECT_EQ(12, info.bmWidth);
  EXPECT_EQ(7, info.bmHeight);

  EXPECT_EQ(1, SKDELETEMEMBMP(first));
  EXPECT_EQ(nullptr, SKGETHDCMEMBMP(first));
  EXPECT_EQ(0, SKDELETEMEMBMP(first));
  EXPECT_NE(nullptr, SKGETHDCMEMBMP(second)) << "the other window keeps its bitmap";
  EXPECT_EQ(1, SKDELETEMEMBMP(second));
  EXPECT_EQ(0, SKCREATEMEMBMP(first, 0, 10));
  DestroyWindow(first);
  DestroyWindow(second);
}

}  // namespace

namespace {

// Counts the pixels of one colour and finds their bounding box.
struct ColourSpread {
  int count = 0;
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
ColourSpread SpreadOf(const Canvas& canvas, COLORREF colour) {
  ColourSpread spread;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      if (canvas.At(x, y) != colour) continue;
      ++spread.count;
      spread.left = std::min(spread.left, x);
      spread.top = std::min(spread.top, y);
      spread.right = std::max(spread.right, x);
      spread.bottom = std::max(spread.bottom, y);
    }
  }
  return spread;
}

TEST(DrawingWin, PrintDrawsTextOnItsBackground) {
  Canvas canvas(80, 30);
  canvas.Fill(RGB(255, 255, 255));
  ASSERT_EQ(1, SKPRINT(canvas.dc(), "Mg", 10, 5, RGB(200, 0, 0), RGB(0, 0, 200), SKDEFAULTFONT()));
  ColourSpread text = SpreadOf(canvas, RGB(200, 0, 0));
  ColourSpread back = SpreadOf(canvas, RGB(0, 0, 200));
  EXPECT_GT(text.count, 5);
  EXPECT_GT(back.count, text.count);  // the text cell is filled
  EXPECT_EQ(10, back.left);
  EXPECT_EQ(5, back.top);
  EXPECT_EQ(0, SKPRINT(nullptr, "x", 0, 0, 0, 0, nullptr));
}

TEST(DrawingWin, Print3DPutsTheLightCopyDownAndRight) {
  Canvas canvas(80, 30);
  canvas.Fill(RGB(255, 255, 255));
  ASSERT_EQ(1, SKPRINT3DU(canvas.dc(), "Mg", 10, 5, RGB(0, 0, 0), RGB(0, 200, 0),
                          SKDEFAULTFONT(), 1));
  ColourSpread dark = SpreadOf(canvas, RGB(0, 0, 0));
  ColourSpread light = SpreadOf(canvas, RGB(0, 200, 0));
  ASSERT_GT(dark.count, 5);
  ASSERT_GT(light.count, 0);
  EXPECT_EQ(dark.right + 1, light.right);
  EXPECT_EQ(dark.bottom + 1, light.bottom);
  // Transparent: the background stays white around the text.
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(2, 2));
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(79, 29));
}

}  // namespace
