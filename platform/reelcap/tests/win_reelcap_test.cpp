// reelcap.dll under Wine: a window of an odd width (so its rows need
// padding) painted in two colours is recorded at 10 frames a second; the
// AVI is read back by ffprobe (size, rate, frame count against the frames
// the owner was told of) and a frame extracted by ffmpeg has the window's
// pixels.  Also the refusals of bad arguments.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "harness.h"
#include "reelcap.h"
#include "test_files.h"
#include "unix_tools.h"

namespace {

// ffprobe, ffmpeg and ImageMagick get at most this long.
constexpr DWORD kUnixToolMs = 60000;

constexpr int kWidth = 161;
constexpr int kHeight = 121;
constexpr COLORREF kTop = RGB(200, 30, 40);
constexpr COLORREF kBottom = RGB(20, 160, 60);

LRESULT CALLBACK PaintedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT top = {0, 0, kWidth, kHeight / 2}, bottom = {0, kHeight / 2, kWidth, kHeight};
    HBRUSH red = CreateSolidBrush(kTop), green = CreateSolidBrush(kBottom);
    FillRect(dc, &top, red);
    FillRect(dc, &bottom, green);
    DeleteObject(red);
    DeleteObject(green);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int g_framesTold = 0;
int g_secondsTold = 0;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == 0x7EA || message == 0x7ED) g_framesTold = static_cast<int>(wParam);
  if (message == 0x7EC) g_secondsTold = static_cast<int>(wParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(const char* className, WNDPROC procedure, DWORD style, int width, int height) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  RECT frame = {0, 0, width, height};
  AdjustWindowRect(&frame, style, FALSE);
  return CreateWindowA(className, className, style, 40, 40, frame.right - frame.left, frame.bottom - frame.top,
                       nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// "srgb(r,g,b)" of each point of the window's client area, blank-separated.
std::string WindowPixels(HWND window, std::initializer_list<POINT> points) {
  HDC dc = GetDC(window);
  std::string text;
  for (POINT point : points) {
    COLORREF colour = GetPixel(dc, point.x, point.y);
    if (!text.empty()) text += ' ';
    text += "srgb(" + std::to_string(GetRValue(colour)) + "," + std::to_string(GetGValue(colour)) + "," +
            std::to_string(GetBValue(colour)) + ")";
  }
  ReleaseDC(window, dc);
  return text;
}

BITMAPINFOHEADER Format(int width, int height) {
  BITMAPINFOHEADER format{};
  format.biSize = sizeof format;
  format.biWidth = width;
  format.biHeight = height;
  format.biPlanes = 1;
  format.biBitCount = 24;
  format.biCompression = BI_RGB;
  format.biSizeImage = width * 3 * height;  // unpadded, as callers compute it
  return format;
}

TEST(Reelcap, RecordsTheWindowToAnAvi) {
  harness::ScratchFolder folder("reelcap");
  HWND owner = MakeWindow("ReelcapOwner", OwnerProc, WS_OVERLAPPEDWINDOW, 100, 100);
  HWND painted = MakeWindow("ReelcapPainted", PaintedProc, WS_POPUP | WS_VISIBLE, kWidth, kHeight);
  ASSERT_NE(owner, nullptr);
  ASSERT_NE(painted, nullptr);
  UpdateWindow(painted);
  harness::PumpMessagesFor(300);
  RECT client = {};
  GetClientRect(painted, &client);
  ASSERT_EQ(kWidth, client.right);
  ASSERT_EQ(kHeight, client.bottom);

  std::string file = folder.Child("window.avi");
  BITMAPINFOHEADER format = Format(kWidth, kHeight);
  WAVEFORMATEX audio{WAVE_FORMAT_PCM, 2, 22050, 88200, 4, 16, 0};
  AVICOMPRESSOPTIONS options{};
  options.fccType = streamtypeVIDEO;
  options.fccHandler = mmioStringToFOURCCA("cscd", 0);
  options.dwFlags = AVICOMPRESSF_VALID;
  int recording = -1;
  ASSERT_EQ(0, rvWndToAviInit(&recording, owner, file.c_str(), 10, 0, &format, &audio, &options, 0));
  ASSERT_GT(recording, 0);
  ASSERT_EQ(0, rvWndToAviStart(recording, painted));
  EXPECT_NE(0, rvWndToAviStart(recording, painted));  // once
  harness::PumpMessagesFor(1500);
  ASSERT_EQ(0, rvWndToAviStop(recording));
  harness::PumpMessagesFor(200);
  ASSERT_EQ(0, rvWndToAviEnd(recording));
  EXPECT_NE(0, rvWndToAviEnd(recording));  // forgotten
  EXPECT_GE(g_framesTold, 10);
  EXPECT_GE(g_secondsTold, 1);

  std::string output;
  ASSERT_TRUE(harness::RunUnixCommand("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                       "stream=width,height,r_frame_rate,nb_read_frames -of default=noprint_wrappers=1 '" +
                           harness::UnixPathOf(file) + "'",
                       kUnixToolMs, &output))
      << output;
  EXPECT_NE(output.find("width=161"), std::string::npos) << output;
  EXPECT_NE(output.find("height=121"), std::string::npos) << output;
  EXPECT_NE(output.find("r_frame_rate=10/1"), std::string::npos) << output;
  EXPECT_NE(output.find("nb_read_frames=" + std::to_string(g_framesTold)), std::string::npos)
      << output << " told " << g_framesTold;

  // A frame's pixels are the window's, as GetPixel reads them on the screen.
  std::string frame = harness::UnixPathOf(folder.Child("frame.ppm"));
  ASSERT_TRUE(harness::RunUnixCommand("ffmpeg -v error -y -i '" + harness::UnixPathOf(file) + "' -vf 'select=eq(n\\,3)' -frames:v 1 '" + frame +
                           "' && convert '" + frame + "' -format '%[pixel:p{80,20}] %[pixel:p{80,100}] %[pixel:p{160,60}]' info:",
                       kUnixToolMs, &output))
      << output;
  EXPECT_NE(output.find("srgb(200,30,40) "), std::string::npos) << output;
  EXPECT_EQ(WindowPixels(painted, {{80, 20}, {80, 100}, {160, 60}}), output);
  DestroyWindow(painted);
  DestroyWindow(owner);
}

// The recorded window closing mid-recording ends the capture early: stop
// and end say the file is short (and end still closes it), and the
// handle is forgotten after that.
TEST(Reelcap, AWindowClosedMidRecordingIsReportedAsAShortFile) {
  harness::ScratchFolder folder("reelcap window gone");
  HWND painted = MakeWindow("ReelcapPainted", PaintedProc, WS_POPUP | WS_VISIBLE, kWidth, kHeight);
  ASSERT_NE(painted, nullptr);
  std::string file = folder.Child("gone.avi");
  BITMAPINFOHEADER format = Format(kWidth, kHeight);
  int recording = -1;
  ASSERT_EQ(0, rvWndToAviInit(&recording, nullptr, file.c_str(), 10, 0, &format, nullptr, nullptr, 0));
  ASSERT_EQ(0, rvWndToAviStart(recording, painted));
  harness::PumpMessagesFor(400);
  DestroyWindow(painted);
  harness::PumpMessagesFor(600);
  EXPECT_EQ(REELCAP_ERROR_FILE, rvWndToAviStop(recording));
  EXPECT_EQ(REELCAP_ERROR_FILE, rvWndToAviEnd(recording));
  EXPECT_EQ(REELCAP_ERROR_ARGUMENT, rvWndToAviEnd(recording));
  // The file is closed, so it can be removed.
  EXPECT_TRUE(DeleteFileA(file.c_str())) << GetLastError();
}

// With every recording slot taken a further one is refused before its
// file is made.
TEST(Reelcap, AFullTableMakesNoFile) {
  harness::ScratchFolder folder("reelcap full");
  BITMAPINFOHEADER format = Format(10, 10);
  std::vector<int> open;
  for (;;) {
    int recording = 0;
    std::string file = folder.Child("r" + std::to_string(open.size()) + ".avi");
    int result = rvWndToAviInit(&recording, nullptr, file.c_str(), 10, 0, &format, nullptr, nullptr, 0);
    if (result != 0) {
      EXPECT_EQ(REELCAP_ERROR_STATE, result);
      EXPECT_EQ(0, recording);
      EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str())) << file;
      break;
    }
    open.push_back(recording);
    if (open.size() > 64) {
      ADD_FAILURE() << "recordings are never refused";
      break;
    }
  }
  EXPECT_FALSE(open.empty());
  for (int recording : open) EXPECT_EQ(0, rvWndToAviEnd(recording));
}

TEST(Reelcap, RefusesWhatItCannotRecord) {
  harness::ScratchFolder folder("reelcap refusals");
  std::string file = folder.Child("x.avi");
  int recording = -1;
  BITMAPINFOHEADER format = Format(10, 10);
  EXPECT_EQ(REELCAP_ERROR_ARGUMENT, rvWndToAviInit(&recording, nullptr, nullptr, 10, 0, &format, nullptr, nullptr, 0));
  EXPECT_EQ(0, recording);
  EXPECT_EQ(REELCAP_ERROR_ARGUMENT, rvWndToAviInit(&recording, nullptr, file.c_str(), 0, 0, &format, nullptr, nullptr, 0));
  format.biBitCount = 32;
  EXPECT_EQ(REELCAP_ERROR_ARGUMENT, rvWndToAviInit(&recording, nullptr, file.c_str(), 10, 0, &format, nullptr, nullptr, 0));
  format = Format(9000, 10);
  EXPECT_EQ(REELCAP_ERROR_ARGUMENT, rvWndToAviInit(&recording, nullptr, file.c_str(), 10, 0, &format, nullptr, nullptr, 0));
  format = Format(10, 10);
  std::string noFolder = folder.Child("missing\\x.avi");
  EXPECT_EQ(REELCAP_ERROR_FILE, rvWndToAviInit(&recording, nullptr, noFolder.c_str(), 10, 0, &format, nullptr, nullptr, 0));
  EXPECT_EQ(REELCAP_ERROR_ARGUMENT, rvWndToAviStart(7, GetDesktopWindow()));
  EXPECT_EQ(REELCAP_ERROR_ARGUMENT, rvWndToAviStop(0));
  EXPECT_EQ(REELCAP_ERROR_ARGUMENT, rvWndToAviEnd(99));
}

}  // namespace
