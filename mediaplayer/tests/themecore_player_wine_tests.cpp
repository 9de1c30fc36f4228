// The skin-engine exports the media player added (themecore_player.h),
// checked on real windows: bit tests, SKWINDOW's message routing and
// ownership, caption-button handles and window regions.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "harness.h"
#include "themecore_player.h"

namespace {

struct Seen {
  HWND window;
  UINT message;
};
std::vector<Seen> g_seen;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_seen.push_back({window, message});
  if (message == WM_USER + 7) return 0x1234;
  return DefWindowProcA(window, message, wParam, lParam);
}

bool Saw(HWND window, UINT message) {
  for (const Seen& seen : g_seen) {
    if (seen.window == window && seen.message == message) return true;
  }
  return false;
}

TEST(ThemecorePlayer, InSetTestsBits) {
  struct Case {
    int32_t value, bit, expected;
  };
  const Case cases[] = {{0x47, 0x40, 0x40}, {0x07, 0x40, 0}, {0, 0x40, 0}, {-1, 4, 4}, {5, 6, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(SKINSET(c.value, c.bit), c.expected);
  }
}

TEST(ThemecorePlayer, CaptionButtonsHaveNoWindows) {
  for (int32_t n = 1; n <= 6; ++n) EXPECT_EQ(SKSYSBUTHANDLE(n), nullptr) << n;
}

TEST(ThemecorePlayer, WindowRoutesItsMessagesToTheProcedure) {
  HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  g_seen.clear();
  HWND child = SKWINDOW(parent, WS_CHILD | WS_VISIBLE, 5, 6, 50, 40, RecordingProc, 77);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetParent(child), parent);
  EXPECT_EQ(GetWindowLongPtrA(child, GWLP_USERDATA), 77);
  RECT rect = {};
  GetClientRect(child, &rect);
  EXPECT_EQ(rect.right, 50);
  EXPECT_EQ(rect.bottom, 40);
  // Creation is kept back; everything else reaches the procedure with the
  // window's own handle and its result comes back.
  EXPECT_FALSE(Saw(child, WM_CREATE));
  EXPECT_EQ(SendMessageA(child, WM_USER + 7, 0, 0), 0x1234);
  EXPECT_TRUE(Saw(child, WM_USER + 7));
  PostMessageA(child, WM_RBUTTONDOWN, 0, 0);
  harness::PumpMessagesFor(50);
  EXPECT_TRUE(Saw(child, WM_RBUTTONDOWN));
  EXPECT_TRUE(GetClassLongA(child, GCL_STYLE) & CS_DBLCLKS);

  // A popup is owned by the parent's top-level window.
  HWND popup = SKWINDOW(child, static_cast<int32_t>(WS_POPUP), 0, 0, 10, 10, RecordingProc, 0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(GetWindow(popup, GW_OWNER), parent);
  EXPECT_EQ(GetWindowLongPtrA(popup, GWLP_USERDATA), 0);

  g_seen.clear();
  DestroyWindow(popup);
  DestroyWindow(parent);
  EXPECT_FALSE(Saw(child, WM_DESTROY));
  EXPECT_FALSE(IsWindow(child));

  // No procedure, or a child without a parent: no window.
  EXPECT_EQ(SKWINDOW(nullptr, WS_POPUP, 0, 0, 10, 10, nullptr, 0), nullptr);
  EXPECT_EQ(SKWINDOW(nullptr, WS_CHILD, 0, 0, 10, 10, RecordingProc, 0), nullptr);
}

TEST(ThemecorePlayer, BuildRegionCoversTheWindow) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 120, 80, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  // An older, smaller region is replaced by the whole rectangle.
  SetWindowRgn(window, CreateRectRgn(0, 0, 10, 10), FALSE);
  SetWindowPos(window, nullptr, 0, 0, 160, 90, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(SKBUILDREGION(window), 1);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(window, region), SIMPLEREGION);
  RECT box = {};
  GetRgnBox(region, &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 160);
  EXPECT_EQ(box.bottom, 90);
  DeleteObject(region);
  DestroyWindow(window);
  EXPECT_EQ(SKBUILDREGION(nullptr), 0);
  EXPECT_EQ(SKBUILDREGION(window), 0);
}

}  // namespace
