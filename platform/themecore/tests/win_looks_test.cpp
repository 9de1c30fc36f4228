// The looks exports a caller's own controls and menus are drawn with, under
// Wine, on DIB sections read back pixel by pixel: translucent and shadowed
// copies, frames and lines, a push button's three pictures, text sizes, the
// caller's own copy of the menu font, scroll bars, images.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "dib_canvas.h"
#include "themecore.h"
#include "themecore_looks.h"
#include "themecore_popup.h"

namespace {

using Canvas = harness::DibCanvas;

TEST(ThemecoreLooks, TranslucentAndShadowedCopiesMixByTheirPercent) {
  Canvas source(4, 4, RGB(200, 100, 0));
  HBITMAP bitmap = source.Release();
  const struct {
    const char* name;
    int opacity;
    COLORREF want;  // over RGB(0, 100, 200)
  } cases[] = {
      {"plain copy", 100, RGB(200, 100, 0)},
      {"half", 50, RGB(100, 100, 100)},
      {"a fifth", 20, RGB(40, 100, 160)},
      {"nothing", 0, RGB(0, 100, 200)},
      {"more than all is all", 150, RGB(200, 100, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas target(8, 8, RGB(0, 100, 200));
    EXPECT_EQ(1, SKTRANSLUBLT(target.dc(), 2, 2, 4, 4, bitmap, 0, 0, c.opacity));
    EXPECT_EQ(c.want, target.At(3, 3));
    EXPECT_EQ(RGB(0, 100, 200), target.At(1, 1)) << "outside the rectangle";
    EXPECT_EQ(RGB(0, 100, 200), target.At(6, 6));
  }
  Canvas target(8, 8, RGB(100, 200, 40));
  EXPECT_EQ(1, SKSHADOWBLT(target.dc(), 0, 0, 4, 8, RGB(0, 0, 0), 0, 0, 30));
  EXPECT_EQ(RGB(70, 140, 28), target.At(2, 2)) << "30% towards black";
  EXPECT_EQ(RGB(100, 200, 40), target.At(5, 2));
  EXPECT_EQ(0, SKTRANSLUBLT(target.dc(), 0, 0, 4, 4, nullptr, 0, 0, 50)) << "no bitmap";
  EXPECT_EQ(0, SKSHADOWBLT(nullptr, 0, 0, 4, 4, 0, 0, 0, 50)) << "no DC";
  DeleteObject(bitmap);
}

TEST(ThemecoreLooks, FramesAndLines) {
  Canvas canvas(10, 10, RGB(255, 255, 255));
  ASSERT_EQ(1, SKDRAWRECT3D(canvas.dc(), 1, 1, 6, 5, RGB(255, 0, 0), RGB(0, 0, 255)));
  const struct {
    int x, y;
    COLORREF want;
  } probes[] = {{1, 1, RGB(255, 0, 0)}, {5, 1, RGB(255, 0, 0)}, {1, 4, RGB(255, 0, 0)},
                // The far corners belong to the bottom and right sides.
                {6, 1, RGB(0, 0, 255)}, {1, 5, RGB(0, 0, 255)},
                {6, 2, RGB(0, 0, 255)}, {3, 5, RGB(0, 0, 255)}, {3, 3, RGB(255, 255, 255)},
                {7, 3, RGB(255, 255, 255)}, {3, 6, RGB(255, 255, 255)}};
  for (const auto& p : probes) EXPECT_EQ(p.want, canvas.At(p.x, p.y)) << p.x << "," << p.y;
  Canvas line(10, 3, RGB(255, 255, 255));
  ASSERT_EQ(1, SKLINE(line.dc(), 0, 1, 6, 1, RGB(0, 128, 0), 0, 1));
  EXPECT_EQ(RGB(0, 128, 0), line.At(0, 1));
  EXPECT_EQ(RGB(0, 128, 0), line.At(5, 1));
  EXPECT_EQ(RGB(255, 255, 255), line.At(6, 1)) << "up to, not including, the end";
  EXPECT_EQ(RGB(255, 255, 255), line.At(3, 0));
  EXPECT_EQ(0, SKLINE(nullptr, 0, 0, 1, 1, 0, 0, 1));
}

TEST(ThemecoreLooks, AButtonsThreePicturesAreKeptInItsMemoryBitmap) {
  HWND button = CreateWindowExA(0, "BUTTON", "Old", WS_POPUP | BS_OWNERDRAW, 0, 0, 60, 20, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, button);
  EXPECT_EQ(1, SKDRAWBUT3D(button, "Burn", nullptr, 60, 20, nullptr));
  EXPECT_EQ(180, SKGETWIDTHMEMBMP(button));
  EXPECT_EQ(20, SKGETHEIGHTMEMBMP(button));
  HDC strip = SKGETHDCMEMBMP(button);
  ASSERT_NE(nullptr, strip);
  // Normal, hot, pressed: the same face, different edges.
  const COLORREF face = static_cast<COLORREF>(SKGETSYSCOLOR(104));
  EXPECT_EQ(face, GetPixel(strip, 5, 10));
  EXPECT_EQ(face, GetPixel(strip, 125, 10));
  EXPECT_NE(GetPixel(strip, 60, 0), GetPixel(strip, 0, 0)) << "the hot picture's frame";
  EXPECT_NE(GetPixel(strip, 121, 1), GetPixel(strip, 1, 1)) << "the pressed picture's inner edge";
  // SKDRAWITEM draws the button from its pictures.
  Canvas target(60, 20, RGB(1, 2, 3));
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_BUTTON;
  item.hwndItem = button;
  item.hDC = target.dc();
  item.rcItem = {0, 0, 60, 20};
  item.itemState = ODS_SELECTED;
  EXPECT_EQ(1, SKDRAWITEM(&item));
  for (int x = 0; x < 60; x += 7) EXPECT_EQ(GetPixel(strip, 120 + x, 1), target.At(x, 1)) << x;
  EXPECT_EQ(1, SKDELETEMEMBMP(button));
  EXPECT_EQ(0, SKDRAWBUT3D(button, "x", nullptr, 0, 20, nullptr)) << "no size";
  EXPECT_EQ(0, SKDRAWBUT3D(nullptr, "x", nullptr, 10, 20, nullptr)) << "no window";
  DestroyWindow(button);
}

TEST(ThemecoreLooks, TextSizesFontsScrollBarsAndImages) {
  int32_t width = -1;
  int32_t height = -1;
  ASSERT_EQ(1, SKGETFULLTEXTEXTENT(nullptr, SKDEFAULTFONT(), "W", &width, &height));
  int32_t wideWidth = -1;
  ASSERT_EQ(1, SKGETFULLTEXTEXTENT(nullptr, SKDEFAULTFONT(), "WWWW", &wideWidth, &height));
  EXPECT_GT(width, 0);
  EXPECT_GT(height, 0);
  EXPECT_GT(wideWidth, 3 * width);
  int32_t marked = -1;
  SKGETFULLTEXTEXTENT(nullptr, SKDEFAULTFONT(), "&WWWW", &marked, &height);
  EXPECT_EQ(wideWidth, marked) << "an access-key mark takes no room";
  EXPECT_EQ(0, SKGETFULLTEXTEXTENT(nullptr, nullptr, nullptr, &width, &height));
  EXPECT_EQ(0, width);

  // Each menu font is the caller's own: deleting one leaves the next alive.
  HFONT first = SKMENUFONT();
  HFONT second = SKMENUFONT();
  ASSERT_NE(nullptr, first);
  ASSERT_NE(first, second);
  EXPECT_TRUE(DeleteObject(first));
  EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(second));
  DeleteObject(second);

  const struct {
    DWORD style;
    int32_t want;
  } bars[] = {{0, 0}, {WS_VSCROLL, 1}, {WS_HSCROLL, 2}, {WS_VSCROLL | WS_HSCROLL, 3}};
  for (const auto& b : bars) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | b.style, 0, 0, 50, 50, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(b.want, SKCHECKSCROLLBAR(window)) << b.style;
    DestroyWindow(window);
  }
  EXPECT_EQ(0, SKCHECKSCROLLBAR(nullptr));

  for (HBITMAP image : {SKSTATUSBACK(), SKMENUBACK(), SKRADIOBUT()}) {
    BITMAP info = {};
    ASSERT_NE(0, GetObjectA(image, sizeof(info), &info));
    EXPECT_GT(info.bmWidth, 0);
  }
  BITMAP radio = {};
  GetObjectA(SKRADIOBUT(), sizeof(radio), &radio);
  EXPECT_EQ(0, radio.bmWidth % 4) << "four frames side by side";
}

}  // namespace
