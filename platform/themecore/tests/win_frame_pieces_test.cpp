// The exports for callers that draw a window's frame and controls
// themselves (the skinning library): caption pieces and the shape they cut,
// the border, the record of such windows, owner-drawn buttons, static
// colours, the control background, radio buttons, push buttons' pictures,
// bitmaps as SKTRANSBLT sources and horizontal tiling.  Pixels are read
// back from DIB sections.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dib_canvas.h"
#include "test_support.h"
#include "themecore.h"
#include "themecore_popup.h"

namespace {

using harness::DibCanvas;
using testsupport::ScratchFolder;

constexpr COLORREF kMagenta = RGB(255, 0, 255);

COLORREF Skin(int n) { return static_cast<COLORREF>(SKGETSYSCOLOR(n)); }

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const COLORREF colour = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return colour;
}

SIZE SizeOf(HBITMAP bitmap) {
  BITMAP info = {};
  GetObjectA(bitmap, sizeof(info), &info);
  return {info.bmWidth, info.bmHeight};
}

// A 24-bit BMP file of width x height whose pixels `colour` gives.
std::string BmpBytes(int width, int height, const std::function<COLORREF(int, int)>& colour) {
  const int rowBytes = (width * 3 + 3) & ~3;
  const uint32_t pixelBytes = static_cast<uint32_t>(rowBytes * height);
  std::string bytes(54 + pixelBytes, '\0');
  auto put32 = [&](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = 24;
  put32(34, pixelBytes);
  for (int y = 0; y < height; ++y) {
    const size_t row = 54 + static_cast<size_t>(height - 1 - y) * rowBytes;
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colour(x, y);
      bytes[row + x * 3] = static_cast<char>(GetBValue(c));
      bytes[row + x * 3 + 1] = static_cast<char>(GetGValue(c));
      bytes[row + x * 3 + 2] = static_cast<char>(GetRValue(c));
    }
  }
  return bytes;
}

// A plain window of the test's own class for regions, borders and the
// engine's records.
class PlainWindow {
 public:
  PlainWindow(DWORD style, int width, int height, HWND parent = nullptr) {
    static bool registered = false;
    if (!registered) {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "TCFRAMEPIECES";
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      registered = RegisterClassA(&wc) != 0;
    }
    window = CreateWindowExA(0, "TCFRAMEPIECES", "pieces", style, 10, 10, width, height, parent,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~PlainWindow() {
    if (window != nullptr && IsWindow(window)) DestroyWindow(window);
  }
  HWND window = nullptr;
};

class FramePiecesWin : public ::testing::Test {
 protected:
  void TearDown() override { SKINITENGINE(nullptr); }
};

TEST_F(FramePiecesWin, BuiltInCaptionPiecesHaveRoundedOuterCorners) {
  ASSERT_EQ(0, SKINITENGINE(nullptr));
  const int band = SKGETSYSTEMMETRICS(1);
  HBITMAP left = SKCAPTIONL();
  HBITMAP middle = SKCAPTIONM();
  HBITMAP right = SKCAPTIONR();
  ASSERT_NE(nullptr, left);
  ASSERT_NE(nullptr, middle);
  ASSERT_NE(nullptr, right);
  EXPECT_EQ(band, SizeOf(left).cy);
  EXPECT_EQ(SKGETSYSTEMMETRICS(16) + 16 + 4, SizeOf(left).cx) << "room for the icon";
  EXPECT_EQ(8, SizeOf(middle).cx);
  EXPECT_EQ(SKGETSYSTEMMETRICS(9) + 3 * (SKGETSYSTEMMETRICS(7) + 1) + 4, SizeOf(right).cx)
      << "room for the caption buttons";
  EXPECT_EQ(band, SizeOf(middle).cy);
  const int rightWidth = SizeOf(right).cx;
  EXPECT_EQ(kMagenta, PixelOf(left, 0, 0));
  EXPECT_EQ(kMagenta, PixelOf(left, 0, 2));
  EXPECT_EQ(Skin(107), PixelOf(left, 1, 2));
  EXPECT_EQ(kMagenta, PixelOf(right, rightWidth - 1, 0));
  EXPECT_EQ(Skin(107), PixelOf(right, 0, 0 + 5));
  EXPECT_EQ(Skin(107), PixelOf(middle, 0, band / 2));
  EXPECT_EQ(Skin(105), PixelOf(middle, 3, 0)) << "the light top edge";
  EXPECT_EQ(left, SKCAPTIONL()) << "the engine keeps its pieces";
  EXPECT_EQ(nullptr, SKCPOPUPR()) << "the built-in skin has no tool caption piece";
  EXPECT_EQ(nullptr, SKCAPTIONLED());
}

TEST_F(FramePiecesWin, SkinImagesReplaceThePieces) {
  ScratchFolder folder("frame pieces");
  ASSERT_TRUE(testsupport::WriteFileBytes(
      folder.Child("led.bmp"), BmpBytes(12, 6, [](int x, int) { return x < 6 ? RGB(0, 80, 0) : RGB(0, 250, 0); })));
  ASSERT_TRUE(testsupport::WriteFileBytes(
      folder.Child("popup.bmp"), BmpBytes(5, 24, [](int x, int y) { return y == 0 && x == 4 ? kMagenta : RGB(9, 9, 9); })));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("pieces.skl"),
                                          "[images]\ncaptionled=led.bmp\ncpopupr=popup.bmp\n"));
  ASSERT_EQ(1, SKINITENGINE(folder.Child("pieces.skl").c_str()));
  HBITMAP led = SKCAPTIONLED();
  ASSERT_NE(nullptr, led);
  EXPECT_EQ(12, SizeOf(led).cx);
  EXPECT_EQ(RGB(0, 250, 0), PixelOf(led, 8, 3));
  HBITMAP popup = SKCPOPUPR();
  ASSERT_NE(nullptr, popup);
  EXPECT_EQ(RGB(9, 9, 9), PixelOf(popup, 1, 1));

  // A tool caption's shape takes its right corner from the tool piece: only
  // one pixel cut there instead of the rounded corner.
  HRGN region = CreateRectRgn(0, 0, 100, 40);
  ASSERT_EQ(1, SKUSETOOLCAPTION());
  ASSERT_EQ(1, SKMAKEREGION(nullptr, region, 100, 40));
  EXPECT_FALSE(PtInRegion(region, 99, 0));
  EXPECT_TRUE(PtInRegion(region, 98, 0));
  EXPECT_TRUE(PtInRegion(region, 99, 1));
  DeleteObject(region);
  // The flag served one shape: the next has the rounded corner again.
  region = CreateRectRgn(0, 0, 100, 40);
  ASSERT_EQ(1, SKMAKEREGION(nullptr, region, 100, 40));
  EXPECT_FALSE(PtInRegion(region, 98, 0));
  DeleteObject(region);
}

TEST_F(FramePiecesWin, ShapeCutsTheCaptionCorners) {
  HRGN region = CreateRectRgn(0, 0, 120, 60);
  ASSERT_EQ(1, SKMAKEREGION(nullptr, region, 120, 60));
  const struct {
    int x, y;
    bool inside;
  } points[] = {{0, 0, false},   {2, 0, false},   {3, 0, true},    {1, 1, false}, {2, 1, true},
                {0, 2, false},   {1, 2, true},    {0, 3, true},    {119, 0, false}, {116, 0, true},
                {117, 0, false}, {118, 1, false}, {117, 1, true},  {119, 2, false}, {60, 0, true},
                {0, 59, true},   {119, 59, true}};
  for (const auto& p : points) {
    EXPECT_EQ(p.inside, PtInRegion(region, p.x, p.y) != FALSE) << p.x << "," << p.y;
  }
  DeleteObject(region);
  EXPECT_EQ(0, SKMAKEREGION(nullptr, nullptr, 120, 60));

  PlainWindow plain(WS_POPUP, 120, 60);
  ASSERT_NE(nullptr, plain.window);
  ASSERT_EQ(1, SKFRAMERGN(plain.window, 120, 60));
  HRGN windowRegion = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, GetWindowRgn(plain.window, windowRegion));
  EXPECT_FALSE(PtInRegion(windowRegion, 0, 0));
  EXPECT_TRUE(PtInRegion(windowRegion, 60, 30));
  DeleteObject(windowRegion);
  EXPECT_EQ(0, SKFRAMERGN(nullptr, 120, 60));
}

TEST_F(FramePiecesWin, BorderGoesAroundTheClientBelowTheCaption) {
  PlainWindow plain(WS_POPUP, 80, 60);
  ASSERT_NE(nullptr, plain.window);
  DibCanvas canvas(80, 60, RGB(1, 2, 3));
  ASSERT_EQ(1, SKDRAWBORDER(plain.window, canvas.dc()));
  const int band = SKGETSYSTEMMETRICS(1);
  EXPECT_EQ(Skin(105), canvas.At(0, 40));
  EXPECT_EQ(Skin(111), canvas.At(2, 40));
  EXPECT_EQ(Skin(106), canvas.At(79, 40));
  EXPECT_EQ(Skin(111), canvas.At(77, 40));
  EXPECT_EQ(Skin(106), canvas.At(40, 59));
  EXPECT_EQ(Skin(111), canvas.At(40, 57));
  EXPECT_EQ(RGB(1, 2, 3), canvas.At(40, 30)) << "the client is left alone";
  EXPECT_EQ(RGB(1, 2, 3), canvas.At(0, band - 1)) << "the caption is left alone";
  EXPECT_EQ(0, SKDRAWBORDER(plain.window, nullptr));
}

TEST_F(FramePiecesWin, CallerFramedWindowsAreTheMainWindowAndKeepTheirFrame) {
  PlainWindow first(WS_POPUP | WS_SYSMENU, 200, 100);
  PlainWindow second(WS_POPUP | WS_SYSMENU, 200, 100);
  PlainWindow engineFramed(WS_POPUP | WS_SYSMENU, 200, 100);
  ASSERT_NE(nullptr, first.window);
  // The engine's frame answers a main window's hit test; not once a caller
  // draws the frame.
  HWND window = first.window;
  UINT message = WM_NCHITTEST;
  WPARAM wParam = 0;
  RECT rect;
  GetWindowRect(window, &rect);
  LPARAM lParam = MAKELPARAM(rect.left + 100, rect.top + 5);
  EXPECT_NE(0, SKGETMESSAGE(&window, &message, &wParam, &lParam));
  ASSERT_EQ(1, SKSETNEWFRAME(first.window));
  EXPECT_EQ(0, SKGETMESSAGE(&window, &message, &wParam, &lParam));
  ASSERT_EQ(1, SKSETNEWFRAME(second.window));
  EXPECT_EQ(first.window, SKGETHANDLE(2)) << "the first stays the main window";
  DestroyWindow(first.window);
  first.window = nullptr;
  EXPECT_EQ(second.window, SKGETHANDLE(2)) << "the next one takes over";
  EXPECT_EQ(nullptr, SKGETHANDLE(1));
  EXPECT_EQ(0, SKSETNEWFRAME(nullptr));
}

TEST_F(FramePiecesWin, OwnerDrawnButtonsGetTheEngineLook) {
  PlainWindow parent(WS_POPUP, 200, 100);
  HWND button = CreateWindowExA(0, "BUTTON", "Eject", WS_CHILD | BS_OWNERDRAW, 0, 0, 60, 24,
                                parent.window, reinterpret_cast<HMENU>(9), nullptr, nullptr);
  ASSERT_NE(nullptr, button);
  DibCanvas canvas(60, 24, RGB(1, 2, 3));
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_BUTTON;
  item.CtlID = 9;
  item.hwndItem = button;
  item.hDC = canvas.dc();
  item.rcItem = {0, 0, 60, 24};
  ASSERT_EQ(1, SKDRAWITEM(&item));
  EXPECT_EQ(Skin(106), canvas.At(0, 0));
  EXPECT_EQ(Skin(105), canvas.At(1, 1)) << "raised";
  EXPECT_EQ(Skin(104), canvas.At(4, 4));
  EXPECT_GT(canvas.CountOf(Skin(101)), 5) << "the text";
  item.itemState = ODS_SELECTED;
  canvas.Fill(RGB(1, 2, 3));
  ASSERT_EQ(1, SKDRAWITEM(&item));
  EXPECT_EQ(Skin(106), canvas.At(1, 1)) << "pressed";
  item.CtlType = ODT_MENU;
  EXPECT_EQ(0, SKDRAWITEM(&item));
  // A button item must be a button window.
  HWND label = CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 30, 60, 20, parent.window, nullptr, nullptr,
                               nullptr);
  item.CtlType = ODT_BUTTON;
  item.hwndItem = label;
  EXPECT_EQ(0, SKDRAWITEM(&item));
  EXPECT_EQ(0, SKDRAWITEM(nullptr));
}

TEST_F(FramePiecesWin, StaticColoursAndTheColourProperty) {
  PlainWindow parent(WS_POPUP, 200, 100);
  HWND label = CreateWindowExA(0, "STATIC", "label", WS_CHILD, 0, 0, 60, 20, parent.window, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(nullptr, label);
  DibCanvas canvas(4, 4);
  EXPECT_EQ(0, SKCHECKCOLORPROPERTY(label));
  EXPECT_EQ(GetStockObject(NULL_BRUSH), SKCTLCOLORSTATIC(canvas.dc(), label));
  EXPECT_EQ(TRANSPARENT, GetBkMode(canvas.dc()));
  EXPECT_EQ(Skin(113), GetTextColor(canvas.dc()));
  ASSERT_EQ(1, SKSETCOLOR(label, static_cast<int32_t>(RGB(10, 20, 30)), static_cast<int32_t>(RGB(40, 50, 60))));
  EXPECT_EQ(1, SKCHECKCOLORPROPERTY(label));
  HBRUSH brush = SKCTLCOLORSTATIC(canvas.dc(), label);
  EXPECT_NE(nullptr, brush);
  EXPECT_NE(GetStockObject(NULL_BRUSH), brush);
  EXPECT_EQ(RGB(10, 20, 30), GetTextColor(canvas.dc()));
  EXPECT_EQ(0, SKCHECKCOLORPROPERTY(nullptr));
}

TEST_F(FramePiecesWin, ControlBackgroundLinesUpWithTheWindow) {
  PlainWindow parent(WS_POPUP, 200, 100);
  HWND control = CreateWindowExA(0, "STATIC", "", WS_CHILD, 13, 7, 40, 20, parent.window, nullptr,
                                 nullptr, nullptr);
  ASSERT_NE(nullptr, control);
  DibCanvas canvas(40, 20, RGB(1, 2, 3));
  // The built-in skin has no control background: its panel colour.
  ASSERT_EQ(1, SKTILEBACK(control, canvas.dc()));
  EXPECT_EQ(Skin(112), canvas.At(0, 0));
  EXPECT_EQ(Skin(112), canvas.At(39, 19));

  ScratchFolder folder("frame tile");
  // A 5 x 4 tile whose pixels say where they are.
  auto tile = [](int x, int y) { return RGB(40 * x, 50 * y, 7); };
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("back.bmp"), BmpBytes(5, 4, tile)));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("tile.skl"), "[images]\nctlback=back.bmp\n"));
  ASSERT_EQ(1, SKINITENGINE(folder.Child("tile.skl").c_str()));
  ASSERT_EQ(1, SKTILEBACK(control, canvas.dc()));
  for (int y = 0; y < 20; y += 3) {
    for (int x = 0; x < 40; x += 7) {
      EXPECT_EQ(tile((x + 13) % 5, (y + 7) % 4), canvas.At(x, y)) << x << "," << y;
    }
  }
  EXPECT_EQ(0, SKTILEBACK(control, nullptr));
}

TEST_F(FramePiecesWin, RadioButtonsCheckOneOfTheirGroup) {
  PlainWindow parent(WS_POPUP, 200, 100);
  HWND one = SKRADIOBUTTON(parent.window, "one", nullptr, 0, 0, 80, 20, 21, 0);
  HWND two = SKRADIOBUTTON(parent.window, "two", nullptr, 0, 30, 80, 20, 22, 0);
  ASSERT_NE(nullptr, one);
  ASSERT_NE(nullptr, two);
  SendMessageA(one, BM_CLICK, 0, 0);
  EXPECT_EQ(BST_CHECKED, SendMessageA(one, BM_GETCHECK, 0, 0));
  SendMessageA(one, BM_CLICK, 0, 0);
  EXPECT_EQ(BST_CHECKED, SendMessageA(one, BM_GETCHECK, 0, 0)) << "a second click keeps it checked";
  SendMessageA(two, BM_CLICK, 0, 0);
  EXPECT_EQ(BST_UNCHECKED, SendMessageA(one, BM_GETCHECK, 0, 0));
  EXPECT_EQ(BST_CHECKED, SendMessageA(two, BM_GETCHECK, 0, 0));
  // The checked one shows the dot in the text colour; the other does not.
  DibCanvas checked(80, 20, RGB(1, 2, 3));
  DibCanvas unchecked(80, 20, RGB(1, 2, 3));
  SendMessageA(two, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(checked.dc()), PRF_CLIENT);
  SendMessageA(one, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(unchecked.dc()), PRF_CLIENT);
  const int glyphY = (20 - 13) / 2;
  EXPECT_EQ(Skin(101), checked.At(6, glyphY + 6));
  EXPECT_NE(Skin(101), unchecked.At(6, glyphY + 6));
}

TEST_F(FramePiecesWin, PushButtonsKeepTheirThreeLooksSideBySide) {
  PlainWindow parent(WS_POPUP, 200, 100);
  HWND button = SKBUT3D(parent.window, "r", nullptr, -1000, -1000, 20, 18, 32196, 0);
  ASSERT_NE(nullptr, button);
  HDC strip = SKGETHDCMEMBMP(button);
  ASSERT_NE(nullptr, strip);
  EXPECT_EQ(60, SKGETWIDTHMEMBMP(button));
  EXPECT_EQ(18, SKGETHEIGHTMEMBMP(button));
  EXPECT_EQ(Skin(106), GetPixel(strip, 0, 0)) << "normal: shadow frame";
  EXPECT_EQ(Skin(105), GetPixel(strip, 1, 1));
  EXPECT_EQ(Skin(106), GetPixel(strip, 21, 1)) << "pressed: sunken";
  EXPECT_EQ(Skin(114), GetPixel(strip, 40, 0)) << "hot: highlight frame";
  EXPECT_EQ(Skin(104), GetPixel(strip, 3, 3));
  // Resized, the pictures follow.
  SetWindowPos(button, nullptr, 0, 0, 30, 18, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(90, SKGETWIDTHMEMBMP(button));
  DestroyWindow(button);
  EXPECT_EQ(nullptr, SKGETHDCMEMBMP(button)) << "freed with the button";
  EXPECT_EQ(0, SKGETWIDTHMEMBMP(button));
}

TEST_F(FramePiecesWin, TransBltTakesBitmapsUnlessToldOtherwise) {
  // A 4 x 2 bitmap: magenta on the left half.
  ScratchFolder folder("frame transblt");
  ASSERT_TRUE(testsupport::WriteFileBytes(
      folder.Child("two.bmp"),
      BmpBytes(4, 2, [](int x, int) { return x < 2 ? kMagenta : RGB(0, 0, 200); })));
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, folder.Child("two.bmp").c_str(),
                                                   IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(nullptr, bitmap);
  DibCanvas target(4, 2, RGB(1, 2, 3));
  ASSERT_EQ(1, SKTRANSBLT(target.dc(), 0, 0, 4, 2, reinterpret_cast<HDC>(bitmap), 0, 0,
                          static_cast<int32_t>(kMagenta)));
  EXPECT_EQ(RGB(1, 2, 3), target.At(0, 0));
  EXPECT_EQ(RGB(0, 0, 200), target.At(3, 1));
  target.Fill(RGB(1, 2, 3));
  ASSERT_EQ(1, SKTRANSBLTUSEDC());
  EXPECT_EQ(0, SKTRANSBLT(target.dc(), 0, 0, 4, 2, reinterpret_cast<HDC>(bitmap), 0, 0,
                          static_cast<int32_t>(kMagenta)));
  EXPECT_EQ(RGB(1, 2, 3), target.At(3, 1)) << "nothing drawn";
  DibCanvas source(4, 2, RGB(0, 0, 200));
  ASSERT_EQ(1, SKTRANSBLTUSEDC());
  EXPECT_EQ(1, SKTRANSBLT(target.dc(), 0, 0, 4, 2, source.dc(), 0, 0, static_cast<int32_t>(kMagenta)));
  EXPECT_EQ(RGB(0, 0, 200), target.At(0, 0));
  DeleteObject(bitmap);
}

TEST_F(FramePiecesWin, HorzTileRepeatsAnImageAcross) {
  ScratchFolder folder("frame horztile");
  auto tile = [](int x, int y) { return RGB(60 * x, 100 * y, 9); };
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("tile.bmp"), BmpBytes(3, 2, tile)));
  HBITMAP image = static_cast<HBITMAP>(LoadImageA(nullptr, folder.Child("tile.bmp").c_str(),
                                                  IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(nullptr, image);
  DibCanvas canvas(12, 4, RGB(1, 2, 3));
  ASSERT_EQ(1, SKHORZTILE(canvas.dc(), 1, 1, 10, 4, image));
  for (int x = 1; x < 11; ++x) {
    EXPECT_EQ(tile((x - 1) % 3, 0), canvas.At(x, 1)) << x;
    EXPECT_EQ(tile((x - 1) % 3, 1), canvas.At(x, 2)) << x;
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(x, 3)) << "only as high as the image";
  }
  EXPECT_EQ(RGB(1, 2, 3), canvas.At(11, 1));
  EXPECT_EQ(RGB(1, 2, 3), canvas.At(0, 1));
  EXPECT_EQ(0, SKHORZTILE(canvas.dc(), 0, 0, 10, 4, nullptr));
  DeleteObject(image);
}

TEST_F(FramePiecesWin, MemoryBitmapSizes) {
  PlainWindow plain(WS_POPUP, 50, 50);
  EXPECT_EQ(0, SKGETWIDTHMEMBMP(plain.window));
  ASSERT_EQ(1, SKCREATEMEMBMP(plain.window, 30, 20));
  EXPECT_EQ(30, SKGETWIDTHMEMBMP(plain.window));
  EXPECT_EQ(20, SKGETHEIGHTMEMBMP(plain.window));
  SKDELETEMEMBMP(plain.window);
  EXPECT_EQ(0, SKGETHEIGHTMEMBMP(plain.window));
}

}  // namespace
