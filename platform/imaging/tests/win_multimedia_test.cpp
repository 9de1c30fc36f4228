// imaging.dll's multimedia calls under Wine, on AVI files the tests write
// (every frame one solid colour, so a pixel names the frame shown): playing
// in a real window at the file's rate, pause, seek, stop, clips, the fitted
// picture, a frame through the clipboard, the events and their order, and
// the failures.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "avi_fixture.h"
#include "error_codes.h"
#include "harness.h"
#include "imaging.h"
#include "test_support.h"

namespace {

using namespace testsupport;
using namespace imaging;

constexpr int kFrames = 30;
constexpr int kRate = 10;  // frames a second: the file lasts 3 s
constexpr int kVideoWidth = 64;
constexpr int kVideoHeight = 48;

struct Event {
  L_HMM media;
  int event;
  int param;
  DWORD tick;
};
std::vector<Event> g_events;

L_INT __cdecl RecordEvent(L_HMM media, L_INT event, L_INT param, void* userData) {
  g_events.push_back(Event{media, event, param, GetTickCount()});
  *static_cast<int*>(userData) += 1;
  return 1;
}

int Count(int event) {
  int count = 0;
  for (const Event& e : g_events) count += e.event == event;
  return count;
}

// Pumps messages until `event` has arrived `times` times or timeoutMs passed.
bool WaitForEvent(int event, int times, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (Count(event) < times) {
    if (GetTickCount() - start > timeoutMs) return false;
    harness::PumpMessagesFor(5);
  }
  return true;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// A shown top-level window with a client area of width x height.
HWND MakeHost(int width, int height) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA type{};
    type.lpfnWndProc = HostProc;
    type.hInstance = GetModuleHandleA(nullptr);
    type.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    type.lpszClassName = "MultimediaTestHost";
    registered = RegisterClassA(&type) != 0;
  }
  RECT frame{0, 0, width, height};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  HWND window = CreateWindowA("MultimediaTestHost", "video", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  harness::PumpMessagesFor(50);
  return window;
}

// The frame whose colour the pixel has.
int FrameOf(COLORREF pixel) {
  return avifixture::NearestFrame(GetRValue(pixel), GetGValue(pixel), GetBValue(pixel), kFrames);
}

COLORREF ColourOf(int frame) {
  avifixture::Rgb c = avifixture::FixtureColour(frame);
  return RGB(c.r, c.g, c.b);
}

// The colour the play window shows at (x, y) of its host's client area,
// read from a capture of the host window.
COLORREF CapturedPixel(const std::string& folder, HWND host, int x, int y) {
  std::string path = folder + "\\capture.bmp";
  DeleteFileA(path.c_str());
  harness::Bmp24 image;
  if (!harness::CaptureWindowToBmp(host, path) || !harness::ReadBmp24(path, &image)) return CLR_INVALID;
  if (x >= image.width || y >= image.height) return CLR_INVALID;
  return image.at(x, y);
}

class MultimediaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_events.clear();
    ASSERT_EQ(L_MMSetEventCallback(RecordEvent, &callbacks_), 1);
    avifixture::Options options;
    options.frames = kFrames;
    options.width = kVideoWidth;
    options.height = kVideoHeight;
    options.rate = kRate;
    avi_ = folder_.Child("colours.avi");
    ASSERT_TRUE(WriteFileBytes(avi_, avifixture::MakeAvi(options)));
    ASSERT_EQ(L_MMInit(&media_), 1);
    ASSERT_NE(media_, nullptr);
  }
  void TearDown() override {
    if (media_ != nullptr) {
      EXPECT_EQ(L_MMFree(media_), 1);
    }
    if (host_ != nullptr) DestroyWindow(host_);
    L_MMSetEventCallback(nullptr, nullptr);
  }

  // Loads the fixture into a play window filling a host of width x height.
  void LoadInWindow(int width, int height) {
    host_ = MakeHost(width, height);
    ASSERT_EQ(L_MMLoad(media_, avi_.c_str(), 0), 1);
    ASSERT_EQ(L_MMSetPlayExt(media_, host_, 0, 0, 0, 0, WS_CHILD), 1);
    ASSERT_EQ(L_MMAdjustWin(media_, 0, 0, 0, 0), 1);
    harness::PumpMessagesFor(50);
  }

  int Position() {
    L_INT position = -99;
    EXPECT_EQ(L_MMGetCurrentPos(media_, &position), 1);
    return position;
  }

  ScratchFolder folder_{"multimedia"};
  std::string avi_;
  L_HMM media_ = nullptr;
  HWND host_ = nullptr;
  int callbacks_ = 0;
};

TEST_F(MultimediaTest, PlaysTheFramesAtTheFilesRateAndEndsOnce) {
  LoadInWindow(160, 120);
  L_INT length = 0;
  ASSERT_EQ(L_MMGetLength(media_, &length), 1);
  EXPECT_EQ(length, kFrames);
  EXPECT_EQ(FrameOf(CapturedPixel(folder_.path(), host_, 80, 60)), 0);  // the first frame before playing

  ASSERT_EQ(L_MMPlay(media_, ""), 1);
  const DWORD start = GetTickCount();
  EXPECT_EQ(L_MMIsPlaying(media_), 1);
  harness::PumpMessagesFor(1500);  // half the file
  const DWORD before = GetTickCount() - start;
  const COLORREF pixel = CapturedPixel(folder_.path(), host_, 80, 60);
  const DWORD after = GetTickCount() - start;
  ASSERT_NE(pixel, CLR_INVALID);
  const int shown = FrameOf(pixel);
  const int earliest = static_cast<int>(before * kRate / 1000) - 2;
  const int latest = static_cast<int>(after * kRate / 1000) + 2;
  EXPECT_GE(shown, earliest) << "captured " << before << ".." << after << " ms after play";
  EXPECT_LE(shown, latest) << "captured " << before << ".." << after << " ms after play";
  EXPECT_LE(ChannelDistance(pixel, ColourOf(shown)), 8);
  std::printf("captured frame %d between %lu and %lu ms after play\n", shown, before, after);

  ASSERT_TRUE(WaitForEvent(MM_EVENT_END, 1, 6000));
  DWORD ended = 0;
  for (const Event& e : g_events)
    if (e.event == MM_EVENT_END) ended = e.tick - start;
  std::printf("end of media %lu ms after play (the file lasts 3000 ms)\n", ended);
  EXPECT_GE(ended, 2900u);
  EXPECT_LE(ended, 3700u);
  harness::PumpMessagesFor(600);
  EXPECT_EQ(Count(MM_EVENT_END), 1);
  EXPECT_EQ(L_MMIsPlaying(media_), 0);
  EXPECT_EQ(Position(), kFrames);  // the end of the clip: 100 %
  EXPECT_EQ(FrameOf(CapturedPixel(folder_.path(), host_, 80, 60)), kFrames - 1);

  // The events, in order: loaded, playing, frames counting up, end, stopped.
  ASSERT_GE(g_events.size(), 4u);
  EXPECT_EQ(g_events.front().event, MM_EVENT_LOADED);
  EXPECT_EQ(g_events.front().param, kFrames);
  EXPECT_EQ(g_events.front().media, media_);
  EXPECT_EQ(g_events[1].event, MM_EVENT_PLAYING);
  EXPECT_EQ(g_events.back().event, MM_EVENT_STOPPED);
  EXPECT_EQ(g_events[g_events.size() - 2].event, MM_EVENT_END);
  EXPECT_EQ(g_events[g_events.size() - 2].param, kFrames);
  int last = -1;
  for (const Event& e : g_events)
    if (e.event == MM_EVENT_POSITION) {
      EXPECT_GT(e.param, last);
      last = e.param;
    }
  EXPECT_EQ(last, kFrames - 1);
  EXPECT_GE(Count(MM_EVENT_POSITION), kFrames / 2);
  EXPECT_EQ(callbacks_, static_cast<int>(g_events.size()));
}

TEST_F(MultimediaTest, PauseHoldsSeekShowsResumeGoesOnStopRewinds) {
  LoadInWindow(160, 120);
  ASSERT_EQ(L_MMPause(media_), kErrorFeatureNotSupported);  // nothing plays yet
  ASSERT_EQ(L_MMPlay(media_, nullptr), 1);
  harness::PumpMessagesFor(600);
  ASSERT_EQ(L_MMPause(media_), 1);
  ASSERT_TRUE(WaitForEvent(MM_EVENT_PAUSED, 1, 2000));
  EXPECT_EQ(L_MMIsPlaying(media_), 0);
  const int held = Position();
  EXPECT_GE(held, 3);
  EXPECT_LE(held, 12);
  EXPECT_EQ(FrameOf(CapturedPixel(folder_.path(), host_, 80, 60)), held);
  harness::PumpMessagesFor(500);
  EXPECT_EQ(Position(), held);
  EXPECT_EQ(FrameOf(CapturedPixel(folder_.path(), host_, 80, 60)), held);

  ASSERT_EQ(L_MMSetCurrentPos(media_, 21), 1);
  EXPECT_EQ(Position(), 21);
  EXPECT_EQ(FrameOf(CapturedPixel(folder_.path(), host_, 80, 60)), 21);
  EXPECT_EQ(L_MMIsPlaying(media_), 0);  // still paused
  EXPECT_EQ(L_MMSetCurrentPos(media_, kFrames + 1), kErrorInvalidParameter);
  EXPECT_EQ(L_MMSetCurrentPos(media_, -1), kErrorInvalidParameter);

  ASSERT_EQ(L_MMResume(media_), 1);
  ASSERT_TRUE(WaitForEvent(MM_EVENT_RESUMED, 1, 2000));
  EXPECT_EQ(L_MMIsPlaying(media_), 1);
  harness::PumpMessagesFor(400);
  const int moved = Position();
  EXPECT_GT(moved, 21);
  EXPECT_LE(moved, 29);

  ASSERT_EQ(L_MMStop(media_), 1);
  ASSERT_TRUE(WaitForEvent(MM_EVENT_STOPPED, 1, 2000));
  EXPECT_EQ(L_MMIsPlaying(media_), 0);
  EXPECT_EQ(Position(), 0);
  EXPECT_EQ(FrameOf(CapturedPixel(folder_.path(), host_, 80, 60)), 0);
  harness::PumpMessagesFor(300);
  EXPECT_EQ(Position(), 0);
  EXPECT_EQ(Count(MM_EVENT_END), 0);
}

TEST_F(MultimediaTest, AClipPlaysItsFramesOnly) {
  LoadInWindow(160, 120);
  EXPECT_EQ(L_MMMarkClip(media_, 12, 12), kErrorInvalidParameter);
  EXPECT_EQ(L_MMMarkClip(media_, 20, 10), kErrorInvalidParameter);
  EXPECT_EQ(L_MMMarkClip(media_, -5, 10), kErrorInvalidParameter);
  ASSERT_EQ(L_MMMarkClip(media_, 24, 999), 1);  // to the end
  ASSERT_EQ(L_MMMarkClip(media_, 10, 15), 1);
  ASSERT_EQ(L_MMPlay(media_, ""), 1);
  const DWORD start = GetTickCount();
  ASSERT_TRUE(WaitForEvent(MM_EVENT_END, 1, 3000));
  const DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 450u);
  EXPECT_LE(took, 1100u);
  EXPECT_EQ(Position(), 15);
  EXPECT_EQ(FrameOf(CapturedPixel(folder_.path(), host_, 80, 60)), 14);
  for (const Event& e : g_events) {
    if (e.event == MM_EVENT_POSITION) {
      EXPECT_GE(e.param, 10);
      EXPECT_LE(e.param, 14);
    }
    if (e.event == MM_EVENT_END) {
      EXPECT_EQ(e.param, 15);
    }
  }
  // Seeking outside the clip keeps to it; resuming at the end starts it again.
  ASSERT_EQ(L_MMSetCurrentPos(media_, 3), 1);
  EXPECT_EQ(Position(), 10);
  ASSERT_EQ(L_MMMarkClip(media_, -1, -1), 1);
  ASSERT_EQ(L_MMSetCurrentPos(media_, 3), 1);
  EXPECT_EQ(Position(), 3);
}

TEST_F(MultimediaTest, ThePictureIsFittedIntoTheWindow) {
  LoadInWindow(300, 100);
  // 64 x 48 into 300 x 100: 133 x 100 at x 83, black beside it.
  const COLORREF first = ColourOf(0);
  std::string path = folder_.Child("fit.bmp");
  harness::Bmp24 image;
  ASSERT_TRUE(harness::CaptureWindowToBmp(host_, path));
  ASSERT_TRUE(harness::ReadBmp24(path, &image));
  ASSERT_EQ(image.width, 300);
  ASSERT_EQ(image.height, 100);
  EXPECT_EQ(image.at(20, 50), RGB(0, 0, 0));
  EXPECT_EQ(image.at(80, 50), RGB(0, 0, 0));
  EXPECT_LE(ChannelDistance(image.at(86, 50), first), 8);
  EXPECT_LE(ChannelDistance(image.at(150, 2), first), 8);
  EXPECT_LE(ChannelDistance(image.at(212, 97), first), 8);
  EXPECT_EQ(image.at(219, 50), RGB(0, 0, 0));
  EXPECT_EQ(image.at(290, 50), RGB(0, 0, 0));

  // A place of its own: 100 x 50 at (10, 20) gives 67 x 50 at (26, 20).
  ASSERT_EQ(L_MMAdjustWin(media_, 10, 20, 100, 50), 1);
  ASSERT_TRUE(harness::CaptureWindowToBmp(host_, path));
  ASSERT_TRUE(harness::ReadBmp24(path, &image));
  EXPECT_EQ(image.at(5, 5), RGB(255, 255, 255));  // the host's own background
  EXPECT_EQ(image.at(12, 45), RGB(0, 0, 0));
  EXPECT_LE(ChannelDistance(image.at(60, 45), first), 8);
  EXPECT_EQ(image.at(105, 45), RGB(0, 0, 0));
  EXPECT_EQ(image.at(150, 45), RGB(255, 255, 255));
  EXPECT_EQ(L_MMAdjustWin(media_, 0, 0, -1, 10), kErrorInvalidParameter);

  // Another parent: the window follows and fills it.
  HWND other = MakeHost(128, 96);
  ASSERT_EQ(L_MMSetParentWin(media_, other), 1);
  ASSERT_EQ(L_MMAdjustWin(media_, 0, 0, 0, 0), 1);
  ASSERT_TRUE(harness::CaptureWindowToBmp(other, path));
  ASSERT_TRUE(harness::ReadBmp24(path, &image));
  EXPECT_LE(ChannelDistance(image.at(2, 2), first), 8);
  EXPECT_LE(ChannelDistance(image.at(125, 93), first), 8);
  EXPECT_EQ(L_MMFree(media_), 1);
  media_ = nullptr;
  DestroyWindow(other);
}

TEST_F(MultimediaTest, TwoObjectsPlayAtOnceAndTellTheirEventsApart) {
  LoadInWindow(160, 120);
  L_HMM second = nullptr;
  ASSERT_EQ(L_MMInit(&second), 1);
  ASSERT_NE(second, media_);
  ASSERT_EQ(L_MMLoad(second, avi_.c_str(), 0), 1);
  ASSERT_EQ(L_MMMarkClip(second, 20, 26), 1);
  ASSERT_EQ(L_MMSetCurrentPos(second, 22), 1);
  ASSERT_EQ(L_MMPlay(media_, ""), 1);
  ASSERT_EQ(L_MMPlay(second, ""), 1);
  ASSERT_TRUE(WaitForEvent(MM_EVENT_END, 1, 3000));
  EXPECT_EQ(L_MMIsPlaying(media_), 1);  // the first plays on
  EXPECT_EQ(L_MMIsPlaying(second), 0);
  L_INT position = 0;
  ASSERT_EQ(L_MMGetCurrentPos(second, &position), 1);
  EXPECT_EQ(position, 26);
  EXPECT_GE(Position(), 4);
  EXPECT_LE(Position(), 9);
  int seeks = 0;
  for (const Event& e : g_events) {
    if (e.event == MM_EVENT_END) {
      EXPECT_EQ(e.media, second);
    }
    if (e.event == MM_EVENT_SEEKED) {
      ++seeks;
      EXPECT_EQ(e.media, second);
      EXPECT_EQ(e.param, 22);
    }
    if (e.event == MM_EVENT_POSITION && e.media == second) {
      EXPECT_GE(e.param, 20);  // the clip plays from its start
      EXPECT_LE(e.param, 25);
    }
  }
  EXPECT_EQ(seeks, 1);
  EXPECT_EQ(L_MMFree(second), 1);
}

TEST_F(MultimediaTest, CopyFramesPutsTheFrameOnTheClipboard) {
  LoadInWindow(160, 120);
  ASSERT_EQ(L_MMCopyFrames(media_, 7, 1, MM_COPY_CLIPBOARD), 1);
  ASSERT_EQ(L_ClipboardReady(), 1);
  BITMAPHANDLE frame{};
  ASSERT_EQ(L_CopyFromClipboard(host_, &frame, 0), 1);
  EXPECT_EQ(frame.Width, kVideoWidth);
  EXPECT_EQ(frame.Height, kVideoHeight);
  EXPECT_EQ(BitmapPixel(frame, 0, 0), ColourOf(7));
  EXPECT_EQ(BitmapPixel(frame, kVideoWidth - 1, kVideoHeight - 1), ColourOf(7));
  // Saved as the player saves it: a BMP that ImageMagick reads.
  std::string saved = folder_.Child("frame.bmp");
  ASSERT_EQ(L_SaveBitmap(saved.c_str(), &frame, FILE_BMP, 24, 0, 0), 1);
  L_FreeBitmap(&frame);
  EXPECT_EQ(Identify(saved), "BMP3 64 48");
  RgbPixels pixels;
  ASSERT_TRUE(ReadPixels(saved, &pixels));
  EXPECT_EQ(pixels.At(30, 20), ColourOf(7));

  EXPECT_EQ(L_MMCopyFrames(media_, 7, 2, MM_COPY_CLIPBOARD), kErrorFeatureNotSupported);
  EXPECT_EQ(L_MMCopyFrames(media_, 7, 0, MM_COPY_CLIPBOARD), kErrorInvalidParameter);
  EXPECT_EQ(L_MMCopyFrames(media_, kFrames, 1, MM_COPY_CLIPBOARD), kErrorInvalidParameter);
  EXPECT_EQ(L_MMCopyFrames(media_, 7, 1, 0), kErrorInvalidParameter);
  // The play window still shows the frame it showed.
  EXPECT_EQ(FrameOf(CapturedPixel(folder_.path(), host_, 80, 60)), 0);
}

// Files of another writer (ffmpeg): with a sound stream and OpenDML
// headers, uncompressed and in the codecs the system decompresses.  The
// colour is a solid (200, 40, 90), so the first frame tells whether the
// decompressor's pixels arrived.
TEST_F(MultimediaTest, PlaysFilesFfmpegWrites) {
  struct Case {
    const char* name;
    const char* videoOptions;
    int tolerance;  // lossy codecs
  } cases[] = {
      {"raw.avi", "-c:v rawvideo -pix_fmt bgr24", 2},
      {"cram.avi", "-c:v msvideo1", 12},
      {"cinepak.avi", "-c:v cinepak", 24},
  };
  host_ = MakeHost(64, 48);
  const COLORREF colour = RGB(200, 40, 90);
  for (const Case& c : cases) {
    std::string path = folder_.Child(c.name);
    std::string output;
    std::string script = std::string("ffmpeg -v error -y -f lavfi -i color=c=0xC8285A:s=64x48:r=10:d=1.5 ") +
                         "-f lavfi -i sine=d=1.5 " + c.videoOptions + " -c:a pcm_s16le " + c.name;
    ASSERT_TRUE(RunShell(folder_.path(), script, &output)) << c.name << ": " << output;
    ASSERT_EQ(L_MMLoad(media_, path.c_str(), 0), 1) << c.name;
    L_INT length = 0;
    ASSERT_EQ(L_MMGetLength(media_, &length), 1);
    EXPECT_EQ(length, 15) << c.name;
    ASSERT_EQ(L_MMSetPlayExt(media_, host_, 0, 0, 0, 0, WS_CHILD), 1);
    COLORREF pixel = CapturedPixel(folder_.path(), host_, 32, 24);
    EXPECT_LE(ChannelDistance(pixel, colour), c.tolerance)
        << c.name << ": " << GetRValue(pixel) << "," << GetGValue(pixel) << "," << GetBValue(pixel);
    ASSERT_EQ(L_MMSetCurrentPos(media_, 14), 1);
    pixel = CapturedPixel(folder_.path(), host_, 32, 24);
    EXPECT_LE(ChannelDistance(pixel, colour), c.tolerance) << c.name << " last frame";
  }
}

TEST_F(MultimediaTest, FilesThatAreNoVideoFail) {
  std::string wave = folder_.Child("tone.wav");
  std::string riffWave = "RIFF";
  riffWave += std::string("\x24\x00\x00\x00", 4) + "WAVEfmt " + std::string("\x10\x00\x00\x00", 4);
  riffWave += std::string("\x01\x00\x01\x00\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00", 16);
  riffWave += std::string("data\x00\x00\x00\x00", 8);
  ASSERT_TRUE(WriteFileBytes(wave, riffWave));
  std::string text = folder_.Child("notes.avi");
  ASSERT_TRUE(WriteFileBytes(text, "these are notes, not a video"));
  std::string cut = folder_.Child("cut.avi");
  std::string avi;
  ASSERT_TRUE(ReadFileBytes(avi_, &avi));
  ASSERT_TRUE(WriteFileBytes(cut, avi.substr(0, 60)));
  struct Case {
    std::string path;
    int want;
  } cases[] = {
      {wave, kErrorFileFormat},
      {text, kErrorFileFormat},
      {cut, kErrorFileRead},
      {folder_.Child("missing.avi"), kErrorFileNotFound},
      {"", kErrorInvalidParameter},
  };
  for (const Case& c : cases) EXPECT_EQ(L_MMLoad(media_, c.path.c_str(), 0), c.want) << c.path;
  // Nothing loaded: nothing to play or tell.
  L_INT value = 0;
  EXPECT_EQ(L_MMPlay(media_, ""), kErrorNoBitmap);
  EXPECT_EQ(L_MMGetLength(media_, &value), kErrorNoBitmap);
  EXPECT_EQ(L_MMIsPlaying(media_), 0);
  EXPECT_EQ(Count(MM_EVENT_LOADED), 0);

  // A failed load keeps the video loaded before.
  ASSERT_EQ(L_MMLoad(media_, avi_.c_str(), 0), 1);
  EXPECT_EQ(L_MMLoad(media_, text.c_str(), 0), kErrorFileFormat);
  ASSERT_EQ(L_MMGetLength(media_, &value), 1);
  EXPECT_EQ(value, kFrames);
  EXPECT_EQ(L_MMSetVolume(media_, 50), kErrorFeatureNotSupported);  // no sound is played
  EXPECT_EQ(L_MMSetVolume(media_, 101), kErrorInvalidParameter);
  EXPECT_EQ(L_MMAdjustWin(media_, 0, 0, 0, 0), kErrorInvalidParameter);  // no play window yet
  EXPECT_EQ(L_MMSetPlayExt(media_, reinterpret_cast<HWND>(0x7777), 0, 0, 0, 0, WS_CHILD),
            kErrorInvalidParameter);
}

TEST_F(MultimediaTest, HandlesThisLibraryDidNotMakeOrFreedFail) {
  ASSERT_EQ(L_MMLoad(media_, avi_.c_str(), 0), 1);
  ASSERT_EQ(L_MMPlay(media_, ""), 1);
  ASSERT_EQ(L_MMFree(media_), 1);  // while playing
  L_HMM freed = media_;
  media_ = nullptr;
  L_INT value = 0;
  for (L_HMM bad : {freed, static_cast<L_HMM>(nullptr), reinterpret_cast<L_HMM>(0x1234)}) {
    EXPECT_EQ(L_MMLoad(bad, avi_.c_str(), 0), kErrorNoBitmap);
    EXPECT_EQ(L_MMPlay(bad, ""), kErrorNoBitmap);
    EXPECT_EQ(L_MMPause(bad), kErrorNoBitmap);
    EXPECT_EQ(L_MMResume(bad), kErrorNoBitmap);
    EXPECT_EQ(L_MMStop(bad), kErrorNoBitmap);
    EXPECT_EQ(L_MMIsPlaying(bad), 0);
    EXPECT_EQ(L_MMGetCurrentPos(bad, &value), kErrorNoBitmap);
    EXPECT_EQ(L_MMSetCurrentPos(bad, 1), kErrorNoBitmap);
    EXPECT_EQ(L_MMMarkClip(bad, -1, -1), kErrorNoBitmap);
    EXPECT_EQ(L_MMCopyFrames(bad, 0, 1, MM_COPY_CLIPBOARD), kErrorNoBitmap);
    EXPECT_EQ(L_MMFree(bad), kErrorNoBitmap);
  }
  EXPECT_EQ(L_MMInit(nullptr), kErrorInvalidParameter);
  // The events queued before the free were delivered by it, none after.
  const size_t delivered = g_events.size();
  EXPECT_GE(delivered, 2u);
  harness::PumpMessagesFor(300);
  EXPECT_EQ(g_events.size(), delivered);
}

}  // namespace
