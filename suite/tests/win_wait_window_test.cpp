// The wait window under Wine: found by its class, its text, its size from
// the text's measure, centred on its owner (or the screen) and kept on the
// screen, painted in the skin's colours, and gone once destroyed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "harness.h"
#include "orbboxes.h"
#include "themecore.h"
#include "win_test_support.h"

namespace suite::boxes {
namespace {

using boxes_test::RecordingWindow;

constexpr DWORD kWaitMs = 5000;

struct Measure {
  int32_t widest = 0;
  int32_t cell = 0;
};

// The text measured line by line, independently of the library's SKSPLITS.
Measure MeasureLines(const std::vector<std::string>& lines) {
  Measure measure;
  int32_t width = 0;
  for (const std::string& line : lines) {
    int32_t height = 0;
    EXPECT_EQ(1, SKGETTEXTEXTENT(nullptr, SKCAPTIONFONT(), line.c_str(), &width, &height));
    measure.widest = std::max(measure.widest, width);
  }
  EXPECT_EQ(1, SKGETTEXTEXTENT(nullptr, SKCAPTIONFONT(), "W", &width, &measure.cell));
  return measure;
}

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

// Destroys the wait window and checks that it is gone.
void CloseAndExpectGone(HWND window) {
  ASSERT_TRUE(DestroyWindow(window));
  harness::PumpMessagesFor(20);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(nullptr, FindWindowA(kWaitWindowClass, nullptr));
  EXPECT_EQ(0, harness::CountWindows(kWaitWindowClass));
}

TEST(WaitWindow, ShowsCentredOnItsOwnerAndGoes) {
  RecordingWindow owner("Owner", 200, 150, 400, 300);
  ASSERT_NE(nullptr, owner.hwnd());
  ASSERT_EQ(nullptr, FindWindowA(kWaitWindowClass, nullptr));

  HWND window = ShowWaitWindow(owner.hwnd(), "Reading the disc|track 3 of 12");
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(window, harness::WaitForWindow(kWaitWindowClass, kWaitMs));
  EXPECT_EQ("\rReading the disc\rtrack 3 of 12\r\r", harness::WindowText(window));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(owner.hwnd(), GetWindow(window, GW_OWNER));
  EXPECT_NE(0, GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

  const Measure measure = MeasureLines({"Reading the disc", "track 3 of 12"});
  ASSERT_GT(measure.widest, 0);
  ASSERT_GT(measure.cell, 0);
  const RECT rect = harness::WindowRectOf(window);
  EXPECT_EQ(measure.widest + 2 * measure.cell + 2 * GetSystemMetrics(SM_CXDLGFRAME),
            rect.right - rect.left);
  EXPECT_EQ(4 * measure.cell + 2 * GetSystemMetrics(SM_CYDLGFRAME), rect.bottom - rect.top)
      << "two lines and a blank line above and below";
  EXPECT_LE(std::abs((rect.left + rect.right) - (200 + 600)), 1) << "centred across the owner";
  EXPECT_LE(std::abs((rect.top + rect.bottom) - (150 + 450)), 1) << "centred down the owner";

  CloseAndExpectGone(window);
}

TEST(WaitWindow, KeptOnTheScreen) {
  struct Case {
    const char* name;
    int ownerX, ownerY;
    bool atLeftTop;  // else at the right and bottom edges
  };
  const Case cases[] = {
      {"owner off the top-left", -700, -600, true},
      {"owner off the bottom-right", ScreenWidth() + 100, ScreenHeight() + 50, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingWindow owner("Owner", c.ownerX, c.ownerY, 300, 200);
    ASSERT_NE(nullptr, owner.hwnd());
    HWND window = ShowWaitWindow(owner.hwnd(), "Please wait");
    ASSERT_NE(nullptr, window);
    ASSERT_EQ(window, harness::WaitForWindow(kWaitWindowClass, kWaitMs));
    const RECT rect = harness::WindowRectOf(window);
    if (c.atLeftTop) {
      EXPECT_EQ(0, rect.left);
      EXPECT_EQ(0, rect.top);
    } else {
      EXPECT_EQ(ScreenWidth(), rect.right);
      EXPECT_EQ(ScreenHeight(), rect.bottom);
    }
    CloseAndExpectGone(window);
  }
}

TEST(WaitWindow, WithoutOwnerCentredOnTheScreen) {
  HWND window = ShowWaitWindow(nullptr, "Searching");
  ASSERT_NE(nullptr, window);
  ASSERT_EQ(window, harness::WaitForWindow(kWaitWindowClass, kWaitMs));
  EXPECT_EQ(nullptr, GetWindow(window, GW_OWNER));
  const RECT rect = harness::WindowRectOf(window);
  EXPECT_LE(std::abs((rect.left + rect.right) - ScreenWidth()), 1);
  EXPECT_LE(std::abs((rect.top + rect.bottom) - ScreenHeight()), 1);
  CloseAndExpectGone(window);
}

TEST(WaitWindow, EmptyTextShowsTwoBlankLines) {
  HWND window = ShowWaitWindow(nullptr, "");
  ASSERT_NE(nullptr, window);
  EXPECT_EQ("\r\r\r", harness::WindowText(window));
  const Measure measure = MeasureLines({});
  const RECT rect = harness::WindowRectOf(window);
  EXPECT_EQ(2 * measure.cell + 2 * GetSystemMetrics(SM_CYDLGFRAME), rect.bottom - rect.top);
  EXPECT_EQ(2 * measure.cell + 2 * GetSystemMetrics(SM_CXDLGFRAME), rect.right - rect.left);
  CloseAndExpectGone(window);
}

TEST(WaitWindow, ClassRegisteredOnceWithItsProcedure) {
  HWND window = ShowWaitWindow(nullptr, "One");
  ASSERT_NE(nullptr, window);
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), kWaitWindowClass, &windowClass));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(WaitWindowProc), windowClass.lpfnWndProc);
  EXPECT_EQ(SKOSVERSION() > 500 ? static_cast<UINT>(CS_DROPSHADOW) : 0u, windowClass.style);
  EXPECT_EQ(nullptr, windowClass.hbrBackground);
  EXPECT_EQ(nullptr, windowClass.hCursor);
  // A second window reuses the registration.
  HWND second = ShowWaitWindow(nullptr, "Two");
  ASSERT_NE(nullptr, second);
  EXPECT_EQ(2, harness::CountWindows(kWaitWindowClass));
  ASSERT_TRUE(DestroyWindow(second));
  CloseAndExpectGone(window);
}

TEST(WaitWindow, PaintsTextOnTheSkinBackground) {
  HWND window = ShowWaitWindow(nullptr, "MMMMMMMMMMMM|MMMMMMMMMMMM");
  ASSERT_NE(nullptr, window);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
  harness::PumpMessagesFor(100);
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof(folder), folder);
  const std::string path = std::string(folder) + "orbboxes-wait.bmp";
  ASSERT_TRUE(harness::CaptureWindowToBmp(window, path));
  harness::Bmp24 image;
  ASSERT_TRUE(harness::ReadBmp24(path, &image));
  DeleteFileA(path.c_str());
  const COLORREF back = static_cast<COLORREF>(SKGETSYSCOLOR(112));
  const COLORREF text = static_cast<COLORREF>(SKGETSYSCOLOR(113));
  ASSERT_NE(back, text);
  const Measure measure = MeasureLines({"MMMMMMMMMMMM"});
  // The blank first line and the margins are background.
  EXPECT_EQ(back, image.at(1, 1));
  EXPECT_EQ(back, image.at(image.width - 2, measure.cell / 2));
  int textPixels = 0;
  for (int y = measure.cell; y < 3 * measure.cell && y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) textPixels += image.at(x, y) == text ? 1 : 0;
  }
  EXPECT_GT(textPixels, 20) << "the two lines drawn in colour 113";
  int topTextPixels = 0;
  for (int y = 0; y < measure.cell; ++y) {
    for (int x = 0; x < image.width; ++x) topTextPixels += image.at(x, y) == text ? 1 : 0;
  }
  EXPECT_EQ(0, topTextPixels) << "nothing on the blank line above";
  CloseAndExpectGone(window);
}

}  // namespace
}  // namespace suite::boxes
