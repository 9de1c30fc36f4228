// The skin-engine exports the picture tool added (themecore_painttool.h),
// checked on real fonts, windows, device contexts and the user's settings.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dib_canvas.h"
#include "harness.h"
#include "themecore_painttool.h"

namespace {

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeParent() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = PlainProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "PaintHelperParent";
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "PaintHelperParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// A top-level window filled with one colour, kept above the others.
COLORREF g_solidColour = RGB(0, 0, 0);

LRESULT CALLBACK SolidProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_PAINT) {
    PAINTSTRUCT paint = {};
    HDC dc = BeginPaint(window, &paint);
    RECT client = {};
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(g_solidColour);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeSolidWindow(int x, int y, int width, int height) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = SolidProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "PaintHelperSolid";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "PaintHelperSolid", "", WS_POPUP | WS_VISIBLE, x,
                                y, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window != nullptr) UpdateWindow(window);
  return window;
}

void RepaintSolid(HWND window, COLORREF colour) {
  g_solidColour = colour;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  // Wine hands a window's drawing to the display once the thread is idle.
  harness::PumpMessagesFor(300);
}

// The pixel of a desktop picture at a screen point, read by copying it out.
COLORREF DesktopPixel(HDC desktop, POINT screen) {
  harness::DibCanvas probe(1, 1, RGB(1, 2, 3));
  if (!BitBlt(probe.dc(), 0, 0, 1, 1, desktop, screen.x, screen.y, SRCCOPY)) return CLR_INVALID;
  GdiFlush();
  return probe.At(0, 0);
}

// The shape of a drawn glyph, column by column: for every column holding
// glyph pixels, how many separate vertical runs they form and how many
// there are.  A solid triangle has one run per column, growing towards its
// base; a digit has columns crossed by two or three strokes.
struct GlyphColumn {
  int runs = 0;
  int pixels = 0;
};

template <typename IsGlyph>
std::vector<GlyphColumn> GlyphColumns(int width, int height, IsGlyph isGlyph) {
  std::vector<GlyphColumn> columns;
  for (int x = 0; x < width; ++x) {
    GlyphColumn column;
    bool inRun = false;
    for (int y = 0; y < height; ++y) {
      const bool glyph = isGlyph(x, y);
      if (glyph && !inRun) ++column.runs;
      column.pixels += glyph ? 1 : 0;
      inRun = glyph;
    }
    if (column.pixels > 0) columns.push_back(column);
  }
  return columns;
}

// True when the columns make a solid triangle pointing left (its tip in the
// first column) or, with `pointingLeft` false, right.
bool IsArrowHead(std::vector<GlyphColumn> columns, bool pointingLeft) {
  if (columns.size() < 3) return false;
  if (!pointingLeft) std::reverse(columns.begin(), columns.end());
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].runs != 1) return false;
    // Anti-aliasing may shorten a column by a pixel.
    if (i > 0 && columns[i].pixels + 1 < columns[i - 1].pixels) return false;
  }
  return columns.back().pixels >= columns.front().pixels + 3;
}

// One character drawn in black on white with the font; its columns.
std::vector<GlyphColumn> DrawnColumns(HFONT font, char character, std::string* face) {
  harness::DibCanvas canvas(80, 80, RGB(255, 255, 255));
  HGDIOBJ previous = SelectObject(canvas.dc(), font);
  char name[LF_FACESIZE] = {};
  GetTextFaceA(canvas.dc(), sizeof(name), name);
  *face = name;
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetTextColor(canvas.dc(), RGB(0, 0, 0));
  TextOutA(canvas.dc(), 10, 10, &character, 1);
  GdiFlush();
  SelectObject(canvas.dc(), previous);
  return GlyphColumns(canvas.width(), canvas.height(),
                      [&](int x, int y) { return GetRValue(canvas.At(x, y)) < 128; });
}

TEST(ThemecorePaintTool, MarlettFontOfTheAskedHeight) {
  HFONT font = SKMARLETT(15);
  ASSERT_NE(font, nullptr);
  LOGFONTA logFont = {};
  ASSERT_NE(GetObjectA(font, sizeof(logFont), &logFont), 0);
  EXPECT_EQ(logFont.lfHeight, -15);
  EXPECT_STREQ(logFont.lfFaceName, "Marlett");
  EXPECT_EQ(logFont.lfCharSet, SYMBOL_CHARSET);
  DeleteObject(font);
  EXPECT_EQ(SKMARLETT(0), nullptr);
}

// The picture tool's page buttons show Marlett's "3" and "4": the arrows to
// the previous and the next picture, not the digits a substitute font draws.
TEST(ThemecorePaintTool, MarlettDrawsArrowHeadsWhereAPlainFontDrawsDigits) {
  for (int size : {15, 40}) {
    SCOPED_TRACE(size);
    HFONT marlett = SKMARLETT(size);
    ASSERT_NE(marlett, nullptr);
    HFONT plain = CreateFontA(-size, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma");
    ASSERT_NE(plain, nullptr);
    std::string face;
    const std::vector<GlyphColumn> previous = DrawnColumns(marlett, '3', &face);
    EXPECT_EQ(face, "Marlett");
    const std::vector<GlyphColumn> next = DrawnColumns(marlett, '4', &face);
    const std::vector<GlyphColumn> digit = DrawnColumns(plain, '3', &face);
    EXPECT_TRUE(IsArrowHead(previous, true)) << "Marlett's 3 is no arrow head pointing left";
    EXPECT_TRUE(IsArrowHead(next, false)) << "Marlett's 4 is no arrow head pointing right";
    // The same measure tells a digit from an arrow head.
    EXPECT_FALSE(digit.empty());
    EXPECT_FALSE(IsArrowHead(digit, true));
    EXPECT_FALSE(IsArrowHead(digit, false));
    DeleteObject(plain);
    DeleteObject(marlett);
  }
}

TEST(ThemecorePaintTool, ImageButtonTakesTheProgramsBitmapAndReportsClicks) {
  HWND parent = MakeParent();
  ASSERT_NE(parent, nullptr);
  HWND button = SKBUTIMAGE(parent, "TOOLTXT", -1, 49, 402);
  ASSERT_NE(button, nullptr);
  RECT rect = {};
  GetWindowRect(button, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 1);
  EXPECT_EQ(rect.top, 49);
  EXPECT_EQ(rect.right - rect.left, 24);  // 20 pixels of image and the edge
  EXPECT_EQ(GetDlgCtrlID(button), 402);
  EXPECT_NE(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  EXPECT_EQ(SKBUTIMAGE(parent, "NOSUCHIMAGE", 5, 5, 403), nullptr);
  EXPECT_EQ(SKBUTIMAGE(nullptr, "TOOLTXT", 5, 5, 403), nullptr);
  DestroyWindow(parent);
}

TEST(ThemecorePaintTool, StandardCursorBecomesTheClassCursor) {
  HWND parent = MakeParent();
  ASSERT_NE(parent, nullptr);
  EXPECT_EQ(SKCURSORSTD(parent), 1);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(parent, GCLP_HCURSOR)),
            LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  EXPECT_EQ(SKCURSORSTD(nullptr), 0);
  DestroyWindow(parent);
}

TEST(ThemecorePaintTool, DisplayAndDesktopDeviceContexts) {
  HDC display = SKDISPLAYDC();
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(GetDeviceCaps(display, HORZRES), GetSystemMetrics(SM_CXSCREEN));
  DeleteDC(display);

  HDC copy = SKDCDESKTOP(1);
  ASSERT_NE(copy, nullptr);
  HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(copy, OBJ_BITMAP));
  BITMAP size = {};
  ASSERT_NE(GetObjectA(bitmap, sizeof(size), &size), 0);
  EXPECT_EQ(size.bmWidth, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(size.bmHeight, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_NE(SKDCDESKTOP(2), nullptr);  // freed
  EXPECT_EQ(SKDCDESKTOP(2), nullptr);  // nothing left to free
  EXPECT_EQ(SKDCDESKTOP(3), nullptr);
}

// Mode 0 is the picture painters copy from: the screen as it is now, or,
// while a copy is held (mode 1 to mode 2), the screen as it was then.
TEST(ThemecorePaintTool, DesktopPictureShowsTheScreenOrTheHeldCopy) {
  const COLORREF before = RGB(20, 200, 40), after = RGB(200, 30, 160);
  HWND solid = MakeSolidWindow(120, 140, 90, 70);
  ASSERT_NE(solid, nullptr);
  const POINT inside = {160, 170};
  RepaintSolid(solid, before);

  HDC now = SKDCDESKTOP(0);
  ASSERT_NE(now, nullptr);
  EXPECT_EQ(DesktopPixel(now, inside), before);
  HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(now, OBJ_BITMAP));
  BITMAP size = {};
  ASSERT_NE(GetObjectA(bitmap, sizeof(size), &size), 0);
  EXPECT_EQ(size.bmWidth, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(size.bmHeight, GetSystemMetrics(SM_CYSCREEN));

  HDC held = SKDCDESKTOP(1);
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(SKDCDESKTOP(0), held);
  RepaintSolid(solid, after);
  // The held picture still shows the window as it was, and takes drawing.
  EXPECT_EQ(DesktopPixel(SKDCDESKTOP(0), inside), before);
  SetPixel(held, 5, 6, RGB(1, 2, 3));
  EXPECT_EQ(DesktopPixel(SKDCDESKTOP(0), POINT{5, 6}), RGB(1, 2, 3));

  EXPECT_NE(SKDCDESKTOP(2), nullptr);
  HDC fresh = SKDCDESKTOP(0);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(DesktopPixel(fresh, inside), after);
  EXPECT_EQ(SKDCDESKTOP(2), nullptr);  // a picture taken by mode 0 is not held
  DestroyWindow(solid);
}

TEST(ThemecorePaintTool, DefaultPrinterFollowsTheOutputBufferRule) {
  char device[1024] = {};
  GetProfileStringA("windows", "device", "", device, sizeof(device));
  const std::string expected = std::string(device).find(',') == std::string::npos ? "" : device;
  const int32_t length = SKGETDEFAULTPRINTER(nullptr, 0);
  EXPECT_EQ(length, static_cast<int32_t>(expected.size()));
  std::string out(static_cast<size_t>(length) + 1, 'x');
  EXPECT_EQ(SKGETDEFAULTPRINTER(out.data(), static_cast<int32_t>(out.size())), length);
  EXPECT_EQ(std::string(out.c_str()), expected);
}

}  // namespace
