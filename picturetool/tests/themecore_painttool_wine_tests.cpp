// The skin-engine exports the picture tool added (themecore_painttool.h),
// checked on real fonts, windows, device contexts and the user's settings.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

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
