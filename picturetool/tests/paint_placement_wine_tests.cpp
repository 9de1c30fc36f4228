// The picture tool's placement file and magnifier under Wine, driven as a
// user does: the window moved, the magnifier opened from its command, moved
// by its frame and zoomed by real clicks on the canvas, the program closed
// and started again.  The placement file is read back byte by byte; the
// magnifier's enlargement is measured in its view's pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "harness.h"
#include "imaging.h"
#include "paint_test_support.h"
#include "test_files.h"
#include "themecore.h"

namespace {

using namespace painttest;

constexpr DWORD kWaitMs = 5000;
// The picture: red left of x = 100, blue from there, 200 x 150.
constexpr int kBoundary = 100;
// The cursor rests on the canvas here, left of the boundary.
constexpr int kCursorX = 95, kCursorY = 75;

std::string ConfigPath() {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "orbpaint.cfg";
}

// Removes the placement file before and after each test: the program's
// TEMP is this test program's own.
struct ConfigCleanup {
  ConfigCleanup() { DeleteFileA(ConfigPath().c_str()); }
  ~ConfigCleanup() { DeleteFileA(ConfigPath().c_str()); }
};

std::string Int16(int value) {
  const auto bits = static_cast<uint16_t>(value);
  return std::string{static_cast<char>(bits & 0xFF), static_cast<char>(bits >> 8)};
}

std::string ConfigBytes(int x, int y, int width, int height, const std::string& folder, const std::string& filter,
                        int magnifierX, int magnifierY) {
  return Int16(x) + Int16(y) + Int16(width) + Int16(height) + folder + "|" + filter + "#" + Int16(magnifierX) +
         Int16(magnifierY);
}

bool WriteHalvesBmp(const std::string& path) {
  BITMAPHANDLE bitmap = {};
  if (L_CreateBitmap(&bitmap, TYPE_CONV, 200, 150, 24, ORDER_BGR, nullptr, 0, nullptr, 0) != IMG_SUCCESS) return false;
  for (int y = 0; y < 150; ++y) {
    L_UCHAR* row = bitmap.Data + static_cast<size_t>(y) * bitmap.BytesPerLine;
    for (int x = 0; x < 200; ++x) {
      const bool left = x < kBoundary;
      row[3 * x] = left ? 0 : 255;
      row[3 * x + 1] = 0;
      row[3 * x + 2] = left ? 255 : 0;
    }
  }
  const bool saved = L_SaveBitmap(path.c_str(), &bitmap, FILE_BMP, 24, 0, 0) == IMG_SUCCESS;
  L_FreeBitmap(&bitmap);
  return saved;
}

struct FrameSearch {
  DWORD process;
  HWND frame;
};

BOOL CALLBACK MatchMagnifierFrame(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<FrameSearch*>(search);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != wanted->process || FindWindowExA(window, nullptr, "ZOOMBOX", nullptr) == nullptr) return TRUE;
  wanted->frame = window;
  return FALSE;
}

// The skin frame around the program's magnifier, when it is open.
HWND MagnifierFrame(const harness::Process& paint) {
  FrameSearch search = {paint.id(), nullptr};
  EnumWindows(MatchMagnifierFrame, reinterpret_cast<LPARAM>(&search));
  return search.frame;
}

HWND WaitForMagnifierFrame(const harness::Process& paint) {
  HWND frame = nullptr;
  harness::PumpUntil([&] { return (frame = MagnifierFrame(paint)) != nullptr && IsWindowVisible(frame); }, kWaitMs);
  return frame;
}

HWND ViewOf(HWND frame) {
  return FindWindowExA(FindWindowExA(frame, nullptr, "ZOOMBOX", nullptr), nullptr, "LEAD", nullptr);
}

void Click(bool left) {
  ClickMouse(left);
  // Apart enough not to be taken as a double click.
  harness::PumpMessagesFor(GetDoubleClickTime() + 50);
}

// Where the view's middle row turns from red to blue; -1 when it does not.
// The frame, a top-level window, is captured and the view read at its
// place inside it: another process's child window is not read on its own.
int BoundaryInView(HWND view, const PaintFolder& folder) {
  HWND frame = GetAncestor(view, GA_ROOT);
  const std::string file = folder.path("view.bmp");
  harness::Bmp24 shown;
  if (!harness::CaptureWindowToBmp(frame, file) || !harness::ReadBmp24(file, &shown)) return -1;
  DeleteFileA(file.c_str());
  POINT origin = {0, 0};
  MapWindowPoints(view, frame, &origin, 1);
  RECT client = {};
  GetClientRect(view, &client);
  const int y = origin.y + client.bottom / 2;
  if (origin.x < 0 || origin.x + client.right > shown.width || y >= shown.height) return -1;
  if (GetRValue(shown.at(origin.x, y)) < 200) return -1;
  for (int x = 0; x < client.right; ++x) {
    const COLORREF pixel = shown.at(origin.x + x, y);
    if (GetBValue(pixel) > GetRValue(pixel)) return x;
  }
  return -1;
}

// Where the boundary lands in the 182-pixel view at a zoom, the cursor at
// kCursorX: the view shows 182 \ zoom canvas pixels centred on the cursor.
int ExpectedBoundary(int zoom) {
  const int sourceWidth = 182 / zoom;
  return (kBoundary - (kCursorX - sourceWidth / 2)) * zoom;
}

// Waits until the view shows the zoom: the boundary within two pixels of
// its place (resampling blurs it by a pixel or two; a neighbouring zoom
// puts it three or more pixels away).
bool ViewShowsZoom(HWND view, const PaintFolder& folder, int zoom) {
  int seen = -1;
  const bool shown = harness::PumpUntil(
      [&] {
        seen = BoundaryInView(view, folder);
        return std::abs(seen - ExpectedBoundary(zoom)) <= 2;
      },
      kWaitMs);
  if (!shown) ADD_FAILURE() << "zoom " << zoom << ": boundary at " << seen << ", expected " << ExpectedBoundary(zoom);
  return shown;
}

void RestCursorOnCanvas(HWND window) {
  POINT at = {kCursorX, kCursorY};
  ClientToScreen(CanvasOf(window), &at);
  MoveMouseTo(at);
}

bool HasRect(HWND window, int x, int y, int width, int height) {
  return harness::PumpUntil(
      [&] {
        const RECT r = harness::WindowRectOf(window);
        return r.left == x && r.top == y && r.right - r.left == width && r.bottom - r.top == height;
      },
      kWaitMs);
}

std::string DescribeRect(HWND window) {
  const RECT r = harness::WindowRectOf(window);
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

void CloseMagnifierByItsFrame(const harness::Process& paint, HWND frame) {
  PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return MagnifierFrame(paint) == nullptr; }, kWaitMs));
}

TEST(PaintPlacement, WindowAndMagnifierComeBackWhereTheUserLeftThem) {
  ConfigCleanup cleanup;
  PaintFolder folder("paint placement");
  const std::string picture = folder.path("halves.bmp");
  ASSERT_TRUE(WriteHalvesBmp(picture));
  std::string lower = picture;
  CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
  const std::string pictureFolder = lower.substr(0, lower.rfind('\\') + 1);

  // First run: 600 x 400, centred.
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "");
  ASSERT_NE(window, nullptr);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_TRUE(HasRect(window, (screenWidth - 600) / 2, (screenHeight - 400) / 2, 600, 400)) << DescribeRect(window);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadPictureIntoCanvas", 2));

  // The user moves and sizes the window and opens the magnifier, which the
  // first run puts at the screen's corner, and moves it aside.
  SetWindowPos(window, nullptr, 100, 60, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(HasRect(window, 100, 60, 640, 480)) << DescribeRect(window);
  PostMessageA(window, WM_COMMAND, 110, 0);
  HWND frame = WaitForMagnifierFrame(paint);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(harness::WindowRectOf(frame).left, 0);
  EXPECT_EQ(harness::WindowRectOf(frame).top, 0);
  const RECT frameRect = harness::WindowRectOf(frame);
  SetWindowPos(frame, nullptr, 750, 320, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(HasRect(frame, 750, 320, frameRect.right - frameRect.left, frameRect.bottom - frameRect.top));
  HWND view = ViewOf(frame);
  ASSERT_NE(view, nullptr);
  RECT viewClient = {};
  GetClientRect(view, &viewClient);
  EXPECT_EQ(viewClient.right, 182);
  EXPECT_EQ(viewClient.bottom, 180);

  // The view enlarges the canvas around the cursor, twice at first; clicks
  // on the canvas zoom in up to 10 and out down to 1.
  RestCursorOnCanvas(window);
  ASSERT_TRUE(ViewShowsZoom(view, folder, 2));
  Click(true);
  EXPECT_TRUE(ViewShowsZoom(view, folder, 3));
  for (int k = 0; k < 9; ++k) Click(true);
  EXPECT_TRUE(ViewShowsZoom(view, folder, 10));
  for (int k = 0; k < 11; ++k) Click(false);
  EXPECT_TRUE(ViewShowsZoom(view, folder, 1));
  CloseBySuiteCommand(window, paint);

  // The file holds the window, the picture's folder and pattern and the
  // magnifier's place.
  std::string bytes;
  ASSERT_TRUE(harness::ReadFileBytes(ConfigPath(), &bytes));
  EXPECT_EQ(harness::ToHex(bytes), harness::ToHex(ConfigBytes(100, 60, 640, 480, pictureFolder, "*.BMP", 750, 320)));

  // Second run: both come back, and the magnifier stays in place over two
  // closings and openings, keeping its zoom within the run.
  harness::Process again;
  window = StartPaint(folder, &again, "\"" + picture + "\"", "");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(HasRect(window, 100, 60, 640, 480)) << DescribeRect(window);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadPictureIntoCanvas", 2));
  RestCursorOnCanvas(window);
  for (int opening = 0; opening < 3; ++opening) {
    SCOPED_TRACE(opening);
    PostMessageA(window, WM_COMMAND, 110, 0);
    frame = WaitForMagnifierFrame(again);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(harness::WindowRectOf(frame).left, 750);
    EXPECT_EQ(harness::WindowRectOf(frame).top, 320);
    view = ViewOf(frame);
    RestCursorOnCanvas(window);
    EXPECT_TRUE(ViewShowsZoom(view, folder, 2 + opening));
    Click(true);
    EXPECT_TRUE(ViewShowsZoom(view, folder, 3 + opening));
    CloseMagnifierByItsFrame(again, frame);
  }

  // The red-eye brush opens the magnifier too, and its cross (inverted
  // pixels: cyan on the red) marks the cursor in the middle of the view.
  PostMessageA(window, WM_COMMAND, 317, 0);
  frame = WaitForMagnifierFrame(again);
  ASSERT_NE(frame, nullptr);
  view = ViewOf(frame);
  RestCursorOnCanvas(window);
  const std::string file = folder.path("cross.bmp");
  harness::Bmp24 shown;
  POINT origin = {0, 0};
  MapWindowPoints(view, frame, &origin, 1);
  const auto isCyan = [&](int x, int y) {
    const COLORREF pixel = shown.at(origin.x + x, origin.y + y);
    return GetRValue(pixel) < 60 && GetGValue(pixel) > 200 && GetBValue(pixel) > 200;
  };
  const auto capture = [&] {
    const bool read = harness::CaptureWindowToBmp(frame, file) && harness::ReadBmp24(file, &shown) &&
                      origin.x + 182 <= shown.width && origin.y + 180 <= shown.height;
    DeleteFileA(file.c_str());
    return read;
  };
  EXPECT_TRUE(harness::PumpUntil([&] { return capture() && isCyan(91, 90 - 6); }, kWaitMs));
  if (shown.width >= origin.x + 182 && shown.height >= origin.y + 180) {
    EXPECT_TRUE(isCyan(91, 90 + 6));  // the vertical line
    EXPECT_TRUE(isCyan(91 - 6, 90));  // the horizontal line
    EXPECT_TRUE(isCyan(91 + 6, 90));
    EXPECT_FALSE(isCyan(91 - 6, 90 - 6));  // between the arms: the picture
    EXPECT_FALSE(isCyan(91 - 20, 90));     // beyond the arms
    EXPECT_GT(GetRValue(shown.at(origin.x + 91 - 20, origin.y + 90)), 200);
  }
  CloseBySuiteCommand(window, again);
  ASSERT_TRUE(harness::ReadFileBytes(ConfigPath(), &bytes));
  EXPECT_EQ(harness::ToHex(bytes), harness::ToHex(ConfigBytes(100, 60, 640, 480, pictureFolder, "*.BMP", 750, 320)));
}

TEST(PaintPlacement, ShortOrDamagedFilesGiveSoundPlacements) {
  ConfigCleanup cleanup;
  PaintFolder folder("paint damaged placement");
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const int centredX = (screenWidth - 600) / 2, centredY = (screenHeight - 400) / 2;
  const struct {
    const char* name;
    std::string bytes;
    int x, y, width, height;
  } cases[] = {
      {"five bytes", std::string("\x0A\x00\x14\x00\x80", 5), centredX, centredY, 600, 400},
      {"too small a window", ConfigBytes(30, 40, 100, 50, "C:\\", "*.JPG", 10, 10), 30, 40, SKXMINI(), SKYMINI()},
      {"left of and above the screen", ConfigBytes(-50, -20, 500, 350, "C:\\", "", 0, 0), 0, 0, 500, 350},
      {"a garbage tail", Int16(30) + Int16(40) + Int16(500) + Int16(350) + "C:\\x\\|*.PNG#\x01", 30, 40, 500, 350},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(harness::WriteFileBytes(ConfigPath(), c.bytes));
    harness::Process paint;
    HWND window = StartPaint(folder, &paint, "", "");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(HasRect(window, c.x, c.y, c.width, c.height)) << DescribeRect(window);
    CloseBySuiteCommand(window, paint);
    // Written back whole: the window as it was and a complete record.
    std::string bytes;
    ASSERT_TRUE(harness::ReadFileBytes(ConfigPath(), &bytes));
    ASSERT_GE(bytes.size(), 14u);
    EXPECT_EQ(harness::ToHex(bytes.substr(0, 8)), harness::ToHex(Int16(c.x) + Int16(c.y) + Int16(c.width) +
                                                                   Int16(c.height)));
    EXPECT_EQ(bytes[bytes.size() - 5], '#');
  }

  // A folder with "#" in its name keeps its filter and the magnifier its
  // place, and both are written back as they came.
  const std::string seeded = ConfigBytes(30, 40, 500, 350, "C:\\Projects\\C#\\", "*.JPG", 321, 222);
  ASSERT_TRUE(harness::WriteFileBytes(ConfigPath(), seeded));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "", "");
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_COMMAND, 110, 0);
  HWND frame = WaitForMagnifierFrame(paint);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(harness::WindowRectOf(frame).left, 321);
  EXPECT_EQ(harness::WindowRectOf(frame).top, 222);
  CloseBySuiteCommand(window, paint);
  std::string bytes;
  ASSERT_TRUE(harness::ReadFileBytes(ConfigPath(), &bytes));
  EXPECT_EQ(harness::ToHex(bytes), harness::ToHex(seeded));
}

}  // namespace
