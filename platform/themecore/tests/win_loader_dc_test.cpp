// The picture loader's helpers under Wine: the screen's DC, a window's DC
// taken and given back (pixels drawn through it reach the window), and
// fitting a picture into a box, each with its trace line.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "test_support.h"
#include "themecore_loader.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::ScopedEnvironment;
using testsupport::ScratchFolder;

LRESULT CALLBACK PlainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(LoaderDc, DisplayDcDescribesTheScreen) {
  HDC screen = SKDISPLAYDC();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(GetDeviceCaps(screen, VERTRES), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_GE(GetDeviceCaps(screen, BITSPIXEL), 8);
  // A memory bitmap made on it takes pixels.
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SetPixel(memory, 1, 1, RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(memory, 1, 1), RGB(255, 0, 0));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EXPECT_TRUE(DeleteDC(screen));
}

TEST(LoaderDc, WindowDcIsTakenAndGivenBack) {
  ScratchFolder folder("loader dc");
  const std::string trace = folder.Child("trace.txt");
  ScopedEnvironment tracing("ORB_TRACE", trace.c_str());
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = PlainWindow;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = "ThemecoreLoaderDcTest";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, 40, 40, 50,
                                40, nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  UpdateWindow(window);
  MSG message;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 300) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(10);
  }

  HDC dc = SKGETDC(window);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(WindowFromDC(dc), window);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  const RECT box = {5, 5, 15, 15};
  FillRect(dc, &box, blue);
  DeleteObject(blue);
  EXPECT_EQ(SKRELEASEDC(window, dc), 1);
  EXPECT_EQ(SKRELEASEDC(window, nullptr), 0);

  HDC check = GetDC(window);
  EXPECT_EQ(GetPixel(check, 10, 10), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(check, 20, 20), RGB(255, 255, 255));
  ReleaseDC(window, check);
  DestroyWindow(window);

  std::string lines;
  ASSERT_TRUE(ReadFileBytes(trace, &lines));
  EXPECT_NE(lines.find("themecore SKGETDC("), std::string::npos) << lines;
  EXPECT_NE(lines.find("themecore SKRELEASEDC("), std::string::npos) << lines;
}

TEST(LoaderDc, IconiseFitsAndCentres) {
  ScratchFolder folder("iconise");
  const std::string trace = folder.Child("trace.txt");
  ScopedEnvironment tracing("ORB_TRACE", trace.c_str());
  int32_t x = -1, y = -1, width = -1, height = -1;
  EXPECT_EQ(SKICONISE(400, 300, 100, 100, &x, &y, &width, &height), 1);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 12);
  EXPECT_EQ(width, 100);
  EXPECT_EQ(height, 75);
  // A small picture keeps its size, centred.
  EXPECT_EQ(SKICONISE(40, 30, 100, 100, &x, &y, &width, &height), 1);
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 35);
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 30);
  // Null outputs are allowed; a missing size gives 0 and zeros.
  EXPECT_EQ(SKICONISE(400, 300, 100, 100, nullptr, nullptr, &width, nullptr), 1);
  EXPECT_EQ(width, 100);
  EXPECT_EQ(SKICONISE(0, 300, 100, 100, &x, &y, &width, &height), 0);
  EXPECT_EQ(x + y + width + height, 0);
  std::string lines;
  ASSERT_TRUE(ReadFileBytes(trace, &lines));
  EXPECT_NE(lines.find("themecore SKICONISE(400, 300, 100, 100, 0,12,100x75) = 1"), std::string::npos) << lines;
}

}  // namespace
