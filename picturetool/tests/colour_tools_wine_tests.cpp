// The colour picker, pipette and swatch in a box of this test's own, driven
// with real mouse input (the cursor placed, the button pressed through
// SendInput): a click writes the colour under the mouse into the box's
// track bars, labels and swatch; moving without the button colours only the
// pipette; leaving the picker hides the pipette.  What the user sees is read
// back as pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "colour_tools.h"
#include "harness.h"
#include "image_startup.h"
#include "paint_test_support.h"
#include "test_files.h"
#include "themecore.h"

namespace {

using painttest::ClickMouse;
using painttest::MoveMouseTo;

constexpr DWORD kInputWaitMs = 3000;
constexpr int kPickerX = 10, kPickerY = 10, kFieldSide = 100;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// Four quadrants of known colours.
HBITMAP MakeFixture() {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kFieldSide, kFieldSide);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const struct {
    RECT area;
    COLORREF colour;
  } quadrants[] = {{{0, 0, 50, 50}, RGB(255, 0, 0)},
                   {{50, 0, 100, 50}, RGB(0, 128, 0)},
                   {{0, 50, 50, 100}, RGB(0, 0, 255)},
                   {{50, 50, 100, 100}, RGB(10, 200, 30)}};
  for (const auto& q : quadrants) {
    HBRUSH brush = CreateSolidBrush(q.colour);
    FillRect(dc, &q.area, brush);
    DeleteObject(brush);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

COLORREF CentrePixel(HWND window, const harness::ScratchFolder& scratch) {
  const std::string file = scratch.Child("pixels.bmp");
  harness::Bmp24 image;
  if (!harness::CaptureWindowToBmp(window, file) || !harness::ReadBmp24(file, &image) || image.width == 0) {
    return CLR_INVALID;
  }
  DeleteFileA(file.c_str());
  return image.at(image.width / 2, image.height / 2);
}

class ColourTools : public ::testing::Test {
 protected:
  void SetUp() override {
    token_ = suite::ImgStartup();
    ASSERT_NE(token_, 0u) << "GDI+ did not start";
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = "ColourToolsHost";
    RegisterClassExA(&windowClass);
    host_ = CreateWindowExA(WS_EX_TOPMOST, "ColourToolsHost", "box", WS_POPUP | WS_VISIBLE, 60, 60, 420, 260,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(host_, nullptr);
    for (int k = 0; k < 3; ++k) {
      tracks_[k] = SKTRACKBAR(host_, 1, nullptr, 220, 10 + 40 * k, 0, paint::kRedTrackId + k, nullptr);
      labels_[k] = CreateWindowExA(0, "STATIC", "-", WS_CHILD | WS_VISIBLE, 360, 10 + 40 * k, 50, 16, host_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(paint::kRedLabelId + k)),
                                   GetModuleHandleA(nullptr), nullptr);
    }
    swatch_ = paint::CreateColorSwatch(host_, kPickerX, 200, 184, 12, paint::kSwatchId, RGB(1, 2, 3));
    ASSERT_NE(swatch_, nullptr);
    SetForegroundWindow(host_);
    harness::PumpMessagesFor(100);
  }
  void TearDown() override {
    if (host_ != nullptr) DestroyWindow(host_);
    harness::PumpMessagesFor(50);
    suite::ImgShutdown(token_);
  }

  POINT OnScreen(HWND picker, int x, int y) const {
    POINT point = {x, y};
    ClientToScreen(picker, &point);
    return point;
  }
  std::string Labels() const {
    return harness::WindowText(labels_[0]) + "," + harness::WindowText(labels_[1]) + "," +
           harness::WindowText(labels_[2]);
  }
  std::string Tracks() const {
    return std::to_string(SKGETTRACKPOS(tracks_[0])) + "," + std::to_string(SKGETTRACKPOS(tracks_[1])) + "," +
           std::to_string(SKGETTRACKPOS(tracks_[2]));
  }
  HWND Pipette(HWND picker) const { return FindWindowExA(picker, nullptr, "SKPIPETTE", nullptr); }

  uintptr_t token_ = 0;
  HWND host_ = nullptr;
  HWND tracks_[3] = {};
  HWND labels_[3] = {};
  HWND swatch_ = nullptr;
  harness::ScratchFolder scratch_{"colour tools"};
};

TEST_F(ColourTools, AClickWritesTheColourIntoTheBoxAndTheSwatch) {
  HBITMAP fixture = MakeFixture();
  HWND picker = paint::CreateColorPicker(host_, kPickerX, kPickerY, fixture);
  // The picker has its own copy: the caller's bitmap may go at once.
  DeleteObject(fixture);
  ASSERT_NE(picker, nullptr);
  RECT outer = harness::WindowRectOf(picker);
  EXPECT_EQ(outer.right - outer.left, kFieldSide + 4);
  EXPECT_EQ(outer.bottom - outer.top, kFieldSide + 4);
  ASSERT_NE(Pipette(picker), nullptr);
  EXPECT_EQ(CentrePixel(swatch_, scratch_), RGB(1, 2, 3));

  const struct {
    const char* name;
    int x, y;
    COLORREF colour;
    const char* tracks;
    const char* labels;
  } cases[] = {
      {"red", 20, 20, RGB(255, 0, 0), "100,0,0", "255,0,0"},
      {"half green", 80, 20, RGB(0, 128, 0), "0,50,0", "0,128,0"},
      {"blue", 20, 80, RGB(0, 0, 255), "0,0,100", "0,0,255"},
      {"mixed", 75, 75, RGB(10, 200, 30), "3,78,11", "10,200,30"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MoveMouseTo(OnScreen(picker, c.x, c.y));
    ClickMouse();
    ASSERT_TRUE(harness::PumpUntil([&] { return Labels() == c.labels; }, kInputWaitMs)) << Labels();
    EXPECT_EQ(Tracks(), c.tracks);
    EXPECT_EQ(CentrePixel(swatch_, scratch_), c.colour);
    // The pipette sits on the point, round, in the colour.
    HWND pipette = Pipette(picker);
    EXPECT_TRUE(IsWindowVisible(pipette));
    RECT round = harness::WindowRectOf(pipette);
    const POINT at = OnScreen(picker, c.x, c.y);
    EXPECT_LE(std::abs((round.left + round.right) / 2 - at.x), 1);
    EXPECT_LE(std::abs((round.top + round.bottom) / 2 - at.y), 1);
    EXPECT_EQ(CentrePixel(pipette, scratch_), c.colour);
  }

  // Moving without the button colours the pipette only.
  MoveMouseTo(OnScreen(picker, 20, 20));
  HWND pipette = Pipette(picker);
  EXPECT_TRUE(harness::PumpUntil([&] { return CentrePixel(pipette, scratch_) == RGB(255, 0, 0); }, kInputWaitMs));
  EXPECT_EQ(Labels(), "10,200,30");
  EXPECT_EQ(Tracks(), "3,78,11");
  EXPECT_EQ(CentrePixel(swatch_, scratch_), RGB(10, 200, 30));

  // The pipette is cut to a circle.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(pipette, region), ERROR);
  RECT client = {};
  GetClientRect(pipette, &client);
  EXPECT_TRUE(PtInRegion(region, client.right / 2, client.bottom / 2));
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, client.right - 1, client.bottom - 1));
  DeleteObject(region);

  // Leaving the picker hides the pipette.
  MoveMouseTo(OnScreen(picker, kFieldSide + 60, kFieldSide / 2));
  EXPECT_TRUE(harness::PumpUntil([&] { return !IsWindowVisible(pipette); }, kInputWaitMs));
  // Coming back shows it again.
  MoveMouseTo(OnScreen(picker, 30, 30));
  EXPECT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(pipette) != FALSE; }, kInputWaitMs));
  DestroyWindow(picker);
}

TEST_F(ColourTools, TheProgramsColourFieldIsTheDefault) {
  HWND picker = paint::CreateColorPicker(host_, kPickerX, kPickerY, nullptr);
  ASSERT_NE(picker, nullptr);
  RECT client = {};
  GetClientRect(picker, &client);
  EXPECT_EQ(client.right, 180);
  EXPECT_EQ(client.bottom, 101);
  // The left column runs from white through red to black: full red in the
  // middle row, a component of 128 a quarter down.
  const struct {
    int y;
    const char* tracks;
    const char* labels;
    COLORREF colour;
  } cases[] = {{50, "100,0,0", "255,0,0", RGB(255, 0, 0)}, {25, "100,50,50", "255,128,128", RGB(255, 128, 128)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.y);
    MoveMouseTo(OnScreen(picker, 0, c.y));
    ClickMouse();
    ASSERT_TRUE(harness::PumpUntil([&] { return Labels() == c.labels; }, kInputWaitMs)) << Labels();
    EXPECT_EQ(Tracks(), c.tracks);
    EXPECT_EQ(CentrePixel(swatch_, scratch_), c.colour);
  }
  // What the picker shows is the field itself.
  const std::string file = scratch_.Child("field.bmp");
  harness::Bmp24 shown;
  ASSERT_TRUE(harness::CaptureWindowToBmp(picker, file));
  ASSERT_TRUE(harness::ReadBmp24(file, &shown));
  DeleteFileA(file.c_str());
  EXPECT_EQ(shown.at(170, 0), RGB(255, 255, 255));
  EXPECT_EQ(shown.at(170, 100), RGB(0, 0, 0));
  DestroyWindow(picker);
}

// A second swatch shows its own colour, not the class's last one.
TEST_F(ColourTools, EachSwatchStartsInItsOwnColour) {
  HWND second = paint::CreateColorSwatch(host_, kPickerX, 220, 184, 12, 106, RGB(90, 40, 200));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(CentrePixel(second, scratch_), RGB(90, 40, 200));
}

}  // namespace
