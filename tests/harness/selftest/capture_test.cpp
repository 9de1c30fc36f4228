// CaptureWindowToBmp, ReadBmp24, the window facts, and orbdriver's capture,
// text and rect commands reading a window of this process from another.
// The windows are painted solid colours, so every pixel is known.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "harness.h"
#include "selftest_util.h"

namespace {

using selftest::ReadFileBytes;
using selftest::RunDriver;
using selftest::ScratchPath;

const char kPaintClass[] = "HarnessPaintTest";
const char kChildClass[] = "HarnessPaintChild";
const char kTitle[] = "Harness caf\xe9 window";  // é in code page 1252

// An odd width, so rows carry padding bytes.
constexpr int kLeft = 40, kTop = 50, kWidth = 161, kHeight = 121;
constexpr int kChildLeft = 8, kChildTop = 6, kChildWidth = 50, kChildHeight = 40;
constexpr COLORREF kParentColour = RGB(200, 30, 60);
constexpr COLORREF kChildColour = RGB(20, 180, 90);

// Fills the client area with the colour passed at creation.
LRESULT CALLBACK SolidWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &paint);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A topmost borderless window of kParentColour with one child of
// kChildColour in its top-left part, shown and painted.
class PaintedWindows {
 public:
  PaintedWindows() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const char* name : {kPaintClass, kChildClass}) {
      WNDCLASSA windowClass = {};
      windowClass.lpfnWndProc = SolidWindowProc;
      windowClass.hInstance = instance;
      windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
      windowClass.lpszClassName = name;
      RegisterClassA(&windowClass);
    }
    parent_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPaintClass, kTitle,
                              WS_POPUP | WS_CLIPCHILDREN, kLeft, kTop, kWidth, kHeight, nullptr, nullptr,
                              instance, reinterpret_cast<void*>(static_cast<LONG_PTR>(kParentColour)));
    child_ = CreateWindowExA(0, kChildClass, "", WS_CHILD | WS_VISIBLE, kChildLeft, kChildTop, kChildWidth,
                             kChildHeight, parent_, nullptr, instance,
                             reinterpret_cast<void*>(static_cast<LONG_PTR>(kChildColour)));
    ShowWindow(parent_, SW_SHOWNOACTIVATE);
    UpdateWindow(parent_);
    harness::PumpMessagesFor(200);
  }
  ~PaintedWindows() {
    if (parent_) DestroyWindow(parent_);
    harness::PumpMessagesFor(50);
  }
  HWND parent() const { return parent_; }
  HWND child() const { return child_; }

 private:
  HWND parent_ = nullptr;
  HWND child_ = nullptr;
};

uint32_t Le32(const std::string& bytes, size_t offset) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  return value;
}
uint16_t Le16(const std::string& bytes, size_t offset) {
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                               static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

std::string ColourText(COLORREF colour) {
  return "rgb(" + std::to_string(GetRValue(colour)) + "," + std::to_string(GetGValue(colour)) + "," +
         std::to_string(GetBValue(colour)) + ")";
}

struct PixelCase {
  const char* name;
  int x, y;  // from the top-left of the client area
  COLORREF colour;
};
const PixelCase kPixels[] = {
    {"parent centre", 100, 80, kParentColour},
    {"parent top-left corner", 0, 0, kParentColour},
    {"parent bottom-left corner", 0, kHeight - 1, kParentColour},
    {"parent bottom-right corner", kWidth - 1, kHeight - 1, kParentColour},
    {"child top-left", kChildLeft, kChildTop, kChildColour},
    {"child bottom-right", kChildLeft + kChildWidth - 1, kChildTop + kChildHeight - 1, kChildColour},
    {"right of the child", kChildLeft + kChildWidth, kChildTop, kParentColour},
    {"below the child", kChildLeft, kChildTop + kChildHeight, kParentColour},
};

// Reads the file's bytes by their documented offsets, independently of
// ReadBmp24, and checks header and pixels.
void ExpectCapturedBmp(const std::string& path) {
  const std::string file = ReadFileBytes(path);
  const uint32_t stride = (kWidth * 3 + 3) & ~3u;
  ASSERT_EQ(54u + stride * kHeight, file.size());
  EXPECT_EQ("BM", file.substr(0, 2));
  EXPECT_EQ(file.size(), Le32(file, 2)) << "bfSize";
  EXPECT_EQ(54u, Le32(file, 10)) << "bfOffBits";
  EXPECT_EQ(40u, Le32(file, 14)) << "biSize";
  EXPECT_EQ(static_cast<uint32_t>(kWidth), Le32(file, 18)) << "biWidth";
  EXPECT_EQ(static_cast<uint32_t>(kHeight), Le32(file, 22)) << "biHeight, positive: bottom-up";
  EXPECT_EQ(1u, Le16(file, 26)) << "biPlanes";
  EXPECT_EQ(24u, Le16(file, 28)) << "biBitCount";
  EXPECT_EQ(0u, Le32(file, 30)) << "biCompression";
  for (const PixelCase& p : kPixels) {
    SCOPED_TRACE(p.name);
    const size_t at = 54 + static_cast<size_t>(kHeight - 1 - p.y) * stride + 3 * p.x;
    const COLORREF got = RGB(static_cast<unsigned char>(file[at + 2]), static_cast<unsigned char>(file[at + 1]),
                             static_cast<unsigned char>(file[at]));
    EXPECT_EQ(ColourText(p.colour), ColourText(got));
  }

  harness::Bmp24 image;
  ASSERT_TRUE(harness::ReadBmp24(path, &image));
  EXPECT_EQ(kWidth, image.width);
  EXPECT_EQ(kHeight, image.height);
  int parentPixels = 0;
  int childPixels = 0;
  for (COLORREF pixel : image.pixels) {
    parentPixels += pixel == kParentColour;
    childPixels += pixel == kChildColour;
  }
  EXPECT_EQ(kChildWidth * kChildHeight, childPixels);
  EXPECT_EQ(kWidth * kHeight - kChildWidth * kChildHeight, parentPixels);
}

TEST(Capture, WritesClientAreaWithChildren) {
  PaintedWindows windows;
  ASSERT_NE(nullptr, windows.parent());
  ASSERT_NE(nullptr, windows.child());
  const std::string path = ScratchPath("capture-here.bmp");
  ASSERT_TRUE(harness::CaptureWindowToBmp(windows.parent(), path));
  ExpectCapturedBmp(path);
}

TEST(Capture, DriverCapturesAWindowOfAnotherProcess) {
  PaintedWindows windows;
  ASSERT_NE(nullptr, windows.parent());
  const std::string path = ScratchPath("capture-driver.bmp");
  std::string output;
  ASSERT_EQ(0, RunDriver(std::string("capture ") + kPaintClass + " \"" + path + "\"", &output)) << output;
  ExpectCapturedBmp(path);
}

TEST(Capture, RefusesAHiddenWindow) {
  PaintedWindows windows;
  ShowWindow(windows.parent(), SW_HIDE);
  const std::string path = ScratchPath("capture-hidden.bmp");
  EXPECT_FALSE(harness::CaptureWindowToBmp(windows.parent(), path));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << "no file is written";
  EXPECT_FALSE(harness::CaptureWindowToBmp(nullptr, path));
}

TEST(ReadBmp24, RejectsOtherFiles) {
  const std::string path = ScratchPath("not-a-bitmap.bmp");
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(nullptr, file);
  fputs("BM but far too short", file);
  fclose(file);
  harness::Bmp24 image;
  image.width = -7;
  EXPECT_FALSE(harness::ReadBmp24(path, &image));
  EXPECT_FALSE(harness::ReadBmp24(path + ".missing", &image));
  EXPECT_EQ(-7, image.width) << "left untouched";
}

TEST(WindowFacts, TextRectAndState) {
  PaintedWindows windows;
  ASSERT_NE(nullptr, windows.parent());
  EXPECT_EQ(kTitle, harness::WindowText(windows.parent()));
  EXPECT_EQ("", harness::WindowText(windows.child()));
  const RECT rect = harness::WindowRectOf(windows.parent());
  EXPECT_EQ(kLeft, rect.left);
  EXPECT_EQ(kTop, rect.top);
  EXPECT_EQ(kLeft + kWidth, rect.right);
  EXPECT_EQ(kTop + kHeight, rect.bottom);
  const RECT childRect = harness::WindowRectOf(windows.child());
  EXPECT_EQ(kLeft + kChildLeft, childRect.left) << "screen coordinates";
  EXPECT_EQ(kTop + kChildTop, childRect.top);

  bool enabled = false;
  bool visible = false;
  EXPECT_TRUE(harness::IsWindowEnabledAndVisible(windows.parent(), &enabled, &visible));
  EXPECT_TRUE(enabled);
  EXPECT_TRUE(visible);
  EnableWindow(windows.child(), FALSE);
  EXPECT_FALSE(harness::IsWindowEnabledAndVisible(windows.child(), &enabled, &visible));
  EXPECT_FALSE(enabled);
  EXPECT_TRUE(visible);
  ShowWindow(windows.parent(), SW_HIDE);
  EXPECT_FALSE(harness::IsWindowEnabledAndVisible(windows.parent(), &enabled, &visible));
  EXPECT_TRUE(enabled);
  EXPECT_FALSE(visible);
  EXPECT_FALSE(harness::IsWindowEnabledAndVisible(windows.child(), nullptr, &visible));
  EXPECT_FALSE(visible) << "hidden with its parent";
  enabled = visible = true;
  EXPECT_FALSE(harness::IsWindowEnabledAndVisible(reinterpret_cast<HWND>(0x7ff0), &enabled, &visible));
  EXPECT_FALSE(enabled);
  EXPECT_FALSE(visible);
  const RECT none = harness::WindowRectOf(reinterpret_cast<HWND>(0x7ff0));
  EXPECT_EQ(0, none.left | none.top | none.right | none.bottom);
}

TEST(WindowFacts, DriverReadsTextAndRectOfAnotherProcess) {
  PaintedWindows windows;
  ASSERT_NE(nullptr, windows.parent());
  std::string output;
  EXPECT_EQ(0, RunDriver(std::string("text ") + kPaintClass, &output));
  EXPECT_EQ(std::string(kTitle) + "\n", output);
  EXPECT_EQ(0, RunDriver(std::string("rect ") + kPaintClass, &output));
  EXPECT_EQ(std::to_string(kLeft) + " " + std::to_string(kTop) + " " + std::to_string(kLeft + kWidth) + " " +
                std::to_string(kTop + kHeight) + "\n",
            output);
  EXPECT_EQ(0, RunDriver("wait HarnessPaintTest 2000", &output));
}

}  // namespace
