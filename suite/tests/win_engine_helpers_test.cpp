// The engine exports the wait window and the pumps draw and wait with:
// SKTILEBLT's tiles read back from a DIB, SKCTLBACK of the built-in skin and
// SKCURSORWAIT's cursor.
#include <gtest/gtest.h>

#include <cstdint>

#include "themecore.h"

namespace {

// A top-down 32-bit DIB section selected into a memory DC.
struct Dib {
  Dib(int width, int height) : width(width), height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixels = static_cast<uint32_t*>(bits);
    if (bitmap != nullptr) previous = SelectObject(dc, bitmap);
  }
  ~Dib() {
    if (previous != nullptr) SelectObject(dc, previous);
    if (bitmap != nullptr) DeleteObject(bitmap);
    DeleteDC(dc);
  }
  // 0x00RRGGBB as the DIB holds it.
  uint32_t& at(int x, int y) { return pixels[y * width + x]; }
  void Deselect() {
    SelectObject(dc, previous);
    previous = nullptr;
  }
  int width;
  int height;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  uint32_t* pixels = nullptr;
};

TEST(EngineHelpers, TileBltRepeatsTheTileAndCutsAtTheEdges) {
  Dib tile(3, 2);
  ASSERT_NE(nullptr, tile.pixels);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) tile.at(x, y) = 0x00100000u * (x + 1) + 0x00000010u * (y + 1);
  }
  GdiFlush();
  tile.Deselect();  // a bitmap is selected into one DC at a time
  Dib target(12, 6);
  ASSERT_NE(nullptr, target.pixels);
  const uint32_t kUntouched = 0x00FF00FF;
  for (int i = 0; i < 12 * 6; ++i) target.pixels[i] = kUntouched;

  EXPECT_EQ(1, SKTILEBLT(target.dc, 1, 1, 8, 3, tile.bitmap));
  GdiFlush();
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 1 && x < 9 && y >= 1 && y < 4;
      const uint32_t expected =
          inside ? 0x00100000u * ((x - 1) % 3 + 1) + 0x00000010u * ((y - 1) % 2 + 1) : kUntouched;
      EXPECT_EQ(expected, target.at(x, y)) << "at " << x << "," << y;
    }
  }
}

TEST(EngineHelpers, TileBltRefusesWhatItCannotDraw) {
  Dib tile(2, 2);
  tile.Deselect();
  Dib target(4, 4);
  struct Case {
    const char* name;
    HDC dc;
    int width, height;
    HBITMAP tile;
  };
  const Case cases[] = {
      {"no DC", nullptr, 4, 4, tile.bitmap},
      {"no tile", target.dc, 4, 4, nullptr},
      {"no width", target.dc, 0, 4, tile.bitmap},
      {"negative height", target.dc, 4, -1, tile.bitmap},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(0, SKTILEBLT(c.dc, 0, 0, c.width, c.height, c.tile));
  }
}

TEST(EngineHelpers, BuiltInSkinHasNoControlBackground) {
  EXPECT_EQ(nullptr, SKCTLBACK()) << "callers then fill with colour 112";
}

TEST(EngineHelpers, CursorWaitShowsTheWaitCursor) {
  HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  HCURSOR wait = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
  SetCursor(arrow);
  EXPECT_EQ(arrow, SKCURSORWAIT()) << "returns the cursor shown before";
  EXPECT_EQ(wait, GetCursor());
  SetCursor(arrow);
}

}  // namespace
