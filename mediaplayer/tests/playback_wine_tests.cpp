// The media player plays real audio and video under Wine: WAV files made by
// the test (16-bit PCM, a square wave of known amplitude per channel, a
// known length) are handed over with code 3 and played through tonelink,
// which keeps a real clock with or without a sound device; an AVI made by
// ffmpeg plays through the imaging library.  What the tests see:
// the window title naming the item that plays, the player hiding at the end
// of the list, the suite commands fake audio-player and spectrum windows
// receive, and the levels and positions in the call trace.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <string>
#include <vector>

#include "core/suite_command_codes.h"
#include "harness.h"
#include "../../picker/tests/find_chooser.h"
#include "player_test_support.h"
#include "suite_command.h"
#include "test_files.h"
#include "unix_tools.h"

namespace {

using picker_test::FindChooserDialog;
using player_test::kStartMs;
using player_test::PlayerFolder;
using player_test::StartPlayer;
using player_test::TraceCalls;
using player_test::TraceText;
using player_test::WaitForExit;
using player_test::WaitForTraceCalls;

using player_test::SquareWaveWav;

// The level meter's full scale is 128.
int MeterLevel(int amplitude) { return amplitude * 128 / 32768; }

std::string PlayingTitle(const std::string& file) { return "Orb Play - " + file; }

// Waits until the window title is `title`; the tick count when it was seen,
// 0 on time-out.
DWORD WaitForTitle(HWND window, const std::string& title, DWORD timeoutMs) {
  DWORD seen = 0;
  harness::PumpUntil([&] {
    if (harness::WindowText(window) != title) return false;
    seen = GetTickCount();
    return true;
  }, timeoutMs);
  return seen;
}

DWORD WaitForHidden(HWND window, DWORD timeoutMs) {
  DWORD seen = 0;
  harness::PumpUntil([&] {
    if (IsWindowVisible(window)) return false;
    seen = GetTickCount();
    return true;
  }, timeoutMs);
  return seen;
}

// The trace from the line containing `from` (inclusive) up to the next line
// containing `to` (exclusive; the end when absent).
std::vector<std::string> TraceBetween(const PlayerFolder& folder, const std::string& from, const std::string& to) {
  std::string text;
  harness::ReadFileBytes(folder.tracePath(), &text);
  std::vector<std::string> section;
  bool inside = false;
  for (const std::string& line : harness::SplitLines(text)) {
    if (!inside) inside = line.find(from) != std::string::npos;
    if (!inside) continue;
    if (!section.empty() && line.find(to) != std::string::npos) break;
    section.push_back(line);
  }
  return section;
}

// The numbers of "orbplay MeterLevels(l, r)" lines.
std::vector<std::pair<int, int>> MeterLevels(const std::vector<std::string>& lines) {
  std::vector<std::pair<int, int>> levels;
  for (const std::string& line : lines) {
    size_t at = line.find("orbplay MeterLevels(");
    if (at == std::string::npos) continue;
    int left = -1, right = -1;
    if (sscanf(line.c_str() + at, "orbplay MeterLevels(%d, %d)", &left, &right) == 2) {
      levels.emplace_back(left, right);
    }
  }
  return levels;
}

// The results of "tonelink BASSCHANNELGETPOSITION() = n" lines.
std::vector<int> Positions(const std::vector<std::string>& lines) {
  std::vector<int> positions;
  for (const std::string& line : lines) {
    size_t at = line.find("tonelink BASSCHANNELGETPOSITION() = ");
    if (at == std::string::npos) continue;
    positions.push_back(atoi(line.c_str() + at + 36));
  }
  return positions;
}

int Median(std::vector<int> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

size_t CountCode(const harness::PeerWindow& peer, uint32_t code) {
  return static_cast<size_t>(std::count_if(peer.received().begin(), peer.received().end(),
                                           [code](const harness::CopyDataRecord& r) { return r.code == code; }));
}

struct Rgb {
  int r, g, b;
};

// Frame colours far apart from each other and from their neighbours.
Rgb FrameColour(int frame) { return {(frame * 67 + 30) % 256, (frame * 151 + 90) % 256, (frame * 211 + 160) % 256}; }

int ColourDistance(COLORREF seen, const Rgb& colour) {
  return abs(GetRValue(seen) - colour.r) + abs(GetGValue(seen) - colour.g) + abs(GetBValue(seen) - colour.b);
}

int NearestFrame(COLORREF seen, int frames) {
  int nearest = -1, best = 1 << 30;
  for (int frame = 0; frame < frames; ++frame) {
    int distance = ColourDistance(seen, FrameColour(frame));
    if (distance < best) {
      best = distance;
      nearest = frame;
    }
  }
  return nearest;
}

// An uncompressed AVI made by ffmpeg from raw frames of one colour each
// (FrameColour), 64 x 48 pixels, `rate` frames a second.
::testing::AssertionResult MakeColourAvi(const PlayerFolder& folder, const std::string& video, int frames,
                                         int rate) {
  const int width = 64, height = 48;
  std::string raw;
  for (int frame = 0; frame < frames; ++frame) {
    Rgb colour = FrameColour(frame);
    for (int pixel = 0; pixel < width * height; ++pixel) {
      raw.push_back(static_cast<char>(colour.r));
      raw.push_back(static_cast<char>(colour.g));
      raw.push_back(static_cast<char>(colour.b));
    }
  }
  const std::string rawPath = folder.path("frames.rgb");
  if (!harness::WriteFileBytes(rawPath, raw)) return ::testing::AssertionFailure() << "cannot write " << rawPath;
  std::string output;
  int status = -1;
  bool ended = harness::RunUnixCommand(
      "ffmpeg -loglevel error -y -f rawvideo -pix_fmt rgb24 -s " + std::to_string(width) + "x" +
          std::to_string(height) + " -r " + std::to_string(rate) + " -i " +
          harness::ShellQuoted(harness::UnixPathOf(rawPath)) + " -c:v rawvideo -pix_fmt bgr24 -f avi " +
          harness::ShellQuoted(harness::UnixPathOf(video)),
      30000, &output, &status);
  if (!ended || status != 0) return ::testing::AssertionFailure() << "ffmpeg: " << status << " " << output;
  return ::testing::AssertionSuccess();
}

size_t CountCalls(const std::vector<std::string>& lines, const std::string& call) {
  return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&call](const std::string& line) {
    return line.find("] " + call + "(") != std::string::npos;
  }));
}

// Two items in turn: the first plays its length (it is not taken as done at
// position 0), the second follows about one item-length later, the levels
// follow the samples, and after the last the player hides.
TEST(MediaPlayback, TwoWavFilesPlayInTurnAndThePlayerHidesAfterTheLast) {
  PlayerFolder folder("player two wavs");
  const int firstMs = 1500, secondMs = 1000;
  const std::string first = folder.path("first tone.wav"), second = folder.path("second.wav");
  ASSERT_TRUE(harness::WriteFileBytes(first, SquareWaveWav(firstMs, 16384, 8192)));
  ASSERT_TRUE(harness::WriteFileBytes(second, SquareWaveWav(secondMs, 24576, 4096)));
  harness::PeerWindow audioPlayer("ORBAUDIO");
  harness::PeerWindow spectrum("ORBSPEC");
  ASSERT_NE(audioPlayer.hwnd(), nullptr);
  ASSERT_NE(spectrum.hwnd(), nullptr);
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);

  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, first + "|" + second), 1);
  DWORD firstStarted = WaitForTitle(window, PlayingTitle("first tone.wav"), kStartMs);
  ASSERT_NE(firstStarted, 0u);
  DWORD secondStarted = WaitForTitle(window, PlayingTitle("second.wav"), kStartMs);
  ASSERT_NE(secondStarted, 0u);
  DWORD hidden = WaitForHidden(window, kStartMs);
  ASSERT_NE(hidden, 0u);
  EXPECT_EQ(harness::WindowText(window), PlayingTitle("second.wav"));

  // One item-length each, give or take the tick and Wine's scheduling.
  EXPECT_GE(static_cast<int>(secondStarted - firstStarted), firstMs - 200);
  EXPECT_LE(static_cast<int>(secondStarted - firstStarted), firstMs + 800);
  EXPECT_GE(static_cast<int>(hidden - secondStarted), secondMs - 200);
  EXPECT_LE(static_cast<int>(hidden - secondStarted), secondMs + 800);

  std::vector<std::string> opened = TraceCalls(folder, "orbplay OpenItem");
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], "orbplay OpenItem(\"\", " + TraceText(first) + ", 0, 0) = media");
  EXPECT_EQ(opened[1], "orbplay OpenItem(\"\", " + TraceText(second) + ", 0, 0) = media");
  // The audio layout was asked for once: the second item is of the same kind.
  std::vector<std::string> layouts = TraceCalls(folder, "orbplay ShowMediaLayout");
  ASSERT_EQ(layouts.size(), 1u);
  EXPECT_EQ(layouts[0], "orbplay ShowMediaLayout(8) = 0");

  // Levels while each item played, as the meter gets them.
  const std::string openFirst = "OpenItem(\"\", " + TraceText(first);
  const std::string openSecond = "OpenItem(\"\", " + TraceText(second);
  struct Expected {
    std::vector<std::string> lines;
    int left, right;
  };
  const Expected items[] = {
      {TraceBetween(folder, openFirst, openSecond), MeterLevel(16384), MeterLevel(8192)},
      {TraceBetween(folder, openSecond, "SaveWindowConfigFile"), MeterLevel(24576), MeterLevel(4096)},
  };
  for (const Expected& item : items) {
    SCOPED_TRACE(item.left);
    std::vector<std::pair<int, int>> levels = MeterLevels(item.lines);
    ASSERT_GE(levels.size(), 5u);
    std::vector<int> lefts, rights;
    for (const auto& [left, right] : levels) {
      lefts.push_back(left);
      rights.push_back(right);
    }
    EXPECT_NEAR(Median(lefts), item.left, 3);
    EXPECT_NEAR(Median(rights), item.right, 3);
  }
  // The position moved through the first item.
  std::vector<int> positions = Positions(items[0].lines);
  ASSERT_GE(positions.size(), 5u);
  EXPECT_LT(positions.front(), 400);
  EXPECT_GT(*std::max_element(positions.begin(), positions.end()), firstMs - 400);
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));

  // The audio player was paused at each open; the spectrum display got a
  // level command at every tick.
  EXPECT_EQ(CountCode(audioPlayer, suite::CMD_PAUSE), 2u);
  EXPECT_GE(CountCode(spectrum, suite::CMD_LEVEL), static_cast<size_t>((firstMs + secondMs) / 100 / 2));

  // The hidden player leaves the media layout for the picture layout, which
  // gives the audio player back its sound, once: closing sends no more.
  EXPECT_TRUE(harness::PumpUntil([&] { return CountCode(audioPlayer, suite::CMD_RESUME) == 1; }, kStartMs));
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
  EXPECT_EQ(CountCode(audioPlayer, suite::CMD_RESUME), 1u);
  EXPECT_EQ(audioPlayer.received().back().code, suite::CMD_RESUME);
}

// "Next" on the last item wraps round to the first.
TEST(MediaPlayback, NextOnTheLastItemWrapsToTheFirst) {
  PlayerFolder folder("player wrap");
  const std::string first = folder.path("a.wav"), second = folder.path("b.wav");
  ASSERT_TRUE(harness::WriteFileBytes(first, SquareWaveWav(3000, 8192, 8192)));
  ASSERT_TRUE(harness::WriteFileBytes(second, SquareWaveWav(3000, 8192, 8192)));
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, first + "|" + second), 1);
  ASSERT_NE(WaitForTitle(window, PlayingTitle("a.wav"), kStartMs), 0u);
  PostMessageA(window, WM_COMMAND, 56, 0);
  ASSERT_NE(WaitForTitle(window, PlayingTitle("b.wav"), kStartMs), 0u);
  PostMessageA(window, WM_COMMAND, 56, 0);
  ASSERT_NE(WaitForTitle(window, PlayingTitle("a.wav"), kStartMs), 0u);
  PostMessageA(window, WM_COMMAND, 55, 0);
  ASSERT_NE(WaitForTitle(window, PlayingTitle("b.wav"), kStartMs), 0u);
  std::vector<std::string> opened = TraceCalls(folder, "orbplay OpenItem");
  ASSERT_EQ(opened.size(), 4u);
  EXPECT_NE(opened[2].find(TraceText(first)), std::string::npos) << opened[2];
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// Pause holds the item (the spectrum display is told, the tick stops),
// play resumes it, a seek to 75 % leaves a quarter to play, and the end
// comes that much sooner.
TEST(MediaPlayback, PauseResumeAndSeekMoveTheEnd) {
  PlayerFolder folder("player pause");
  const int lengthMs = 2400;
  const std::string item = folder.path("tone.wav");
  ASSERT_TRUE(harness::WriteFileBytes(item, SquareWaveWav(lengthMs, 16384, 16384)));
  harness::PeerWindow spectrum("ORBSPEC");
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, item), 1);
  DWORD started = WaitForTitle(window, PlayingTitle("tone.wav"), kStartMs);
  ASSERT_NE(started, 0u);
  harness::PumpMessagesFor(300);

  SendMessageA(window, WM_COMMAND, 52, 0);
  EXPECT_EQ(CountCode(spectrum, suite::CMD_PAUSE), 1u);
  harness::PumpMessagesFor(150);
  size_t levelsAtPause = CountCode(spectrum, suite::CMD_LEVEL);
  harness::PumpMessagesFor(800);
  EXPECT_EQ(CountCode(spectrum, suite::CMD_LEVEL), levelsAtPause) << "the tick runs on while paused";
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(harness::WindowText(window), PlayingTitle("tone.wav"));

  SendMessageA(window, WM_COMMAND, 51, 0);
  harness::PumpMessagesFor(300);
  EXPECT_GT(CountCode(spectrum, suite::CMD_LEVEL), levelsAtPause);
  // About 600 ms of the 2400 have played: the seek leaves 600.
  DWORD seek = GetTickCount();
  SendMessageA(window, WM_COMMAND, 77, 75);
  DWORD hidden = WaitForHidden(window, kStartMs);
  ASSERT_NE(hidden, 0u);
  EXPECT_GE(static_cast<int>(hidden - seek), lengthMs / 4 - 200);
  EXPECT_LE(static_cast<int>(hidden - seek), lengthMs / 4 + 800);
  // Paused for 950 ms in all: without the seek the end would have come
  // only after started + 2400 + 950.
  EXPECT_LT(static_cast<int>(hidden - started), lengthMs + 900);

  std::vector<std::string> calls = TraceCalls(folder, "tonelink BASSCHANNELSETPOSITION");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], "tonelink BASSCHANNELSETPOSITION(1800) = 1");
  EXPECT_EQ(TraceCalls(folder, "tonelink BASSPAUSE").size(), 1u);
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// Stop ends the item at once: the title goes back, the stream is closed,
// the list is gone and the player (without a control bar) hides.
TEST(MediaPlayback, StopClosesTheItemAndHides) {
  PlayerFolder folder("player stop");
  const std::string item = folder.path("long.wav");
  ASSERT_TRUE(harness::WriteFileBytes(item, SquareWaveWav(5000, 16384, 16384)));
  harness::PeerWindow spectrum("ORBSPEC");
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, item + "|" + item), 1);
  ASSERT_NE(WaitForTitle(window, PlayingTitle("long.wav"), kStartMs), 0u);
  harness::PumpMessagesFor(300);
  DWORD stop = GetTickCount();
  PostMessageA(window, WM_COMMAND, 71, 0);
  DWORD hidden = WaitForHidden(window, kStartMs);
  ASSERT_NE(hidden, 0u);
  EXPECT_LT(static_cast<int>(hidden - stop), 1000);
  EXPECT_EQ(harness::WindowText(window), "Orb Play");
  size_t levels = CountCode(spectrum, suite::CMD_LEVEL);
  harness::PumpMessagesFor(500);
  EXPECT_EQ(CountCode(spectrum, suite::CMD_LEVEL), levels);
  std::vector<std::string> after = TraceBetween(folder, "tonelink BASSSTOP(", "SaveWindowConfigFile");
  EXPECT_EQ(CountCalls(after, "tonelink BASSCLOSE"), 1u);
  // "Next" after a stop has no list to go through: nothing opens.
  PostMessageA(window, WM_COMMAND, 56, 0);
  harness::PumpMessagesFor(300);
  EXPECT_EQ(TraceCalls(folder, "orbplay OpenItem").size(), 1u);
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// Hiding the player (its menu's Exit, which carries no control bar) ends
// what plays: the tick stops, so the spectrum display hears no more levels;
// the next item starts the tick again.
TEST(MediaPlayback, HiddenPlayerSendsNoLevels) {
  PlayerFolder folder("player hide");
  const std::string item = folder.path("long.wav");
  ASSERT_TRUE(harness::WriteFileBytes(item, SquareWaveWav(6000, 16384, 16384)));
  harness::PeerWindow spectrum("ORBSPEC");
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, item), 1);
  ASSERT_NE(WaitForTitle(window, PlayingTitle("long.wav"), kStartMs), 0u);
  ASSERT_TRUE(harness::PumpUntil([&] { return CountCode(spectrum, suite::CMD_LEVEL) > 0; }, 5000));

  PostMessageA(window, WM_COMMAND, 105, 0);
  ASSERT_NE(WaitForHidden(window, kStartMs), 0u);
  // Wine's hiding of a window can hold the player's thread for a while
  // after the window is no longer visible: the count starts once the
  // player answers again.
  DWORD_PTR ignored = 0;
  ASSERT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kStartMs, &ignored), 0);
  harness::PumpMessagesFor(150);
  size_t levels = CountCode(spectrum, suite::CMD_LEVEL);
  harness::PumpMessagesFor(1000);
  EXPECT_EQ(CountCode(spectrum, suite::CMD_LEVEL), levels) << "the hidden player ticks on";
  EXPECT_EQ(player.waitExit(0), -1) << "hiding ended the player";

  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, item), 1);
  EXPECT_TRUE(harness::PumpUntil([&] { return CountCode(spectrum, suite::CMD_LEVEL) >= levels + 3; }, kStartMs))
      << "a new item did not start the tick";
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// An AVI made by ffmpeg on the Linux side (raw video, every frame one solid
// colour) plays in the player's video window: half-way through, the screen
// shows the frame of that time; at its end the player hides.
TEST(MediaPlayback, AviPlaysInTheVideoWindowAtItsFrameRate) {
  PlayerFolder folder("player video");
  const int frames = 20, rate = 10;
  const std::string video = folder.path("colours.avi");
  ASSERT_TRUE(MakeColourAvi(folder, video, frames, rate));
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, video), 1);
  DWORD started = WaitForTitle(window, PlayingTitle("colours.avi"), kStartMs);
  ASSERT_NE(started, 0u);
  const int lengthMs = frames * 1000 / rate;
  // The middle of the main window's client area lies in the video; it is
  // read at half and at three quarters of the length.
  RECT client = {};
  GetClientRect(window, &client);
  POINT middle = {client.right / 2, client.bottom / 2};
  ClientToScreen(window, &middle);
  std::vector<int> shown;
  for (int quarters : {2, 3}) {
    const DWORD at = static_cast<DWORD>(lengthMs * quarters / 4);
    harness::PumpUntil([&] { return GetTickCount() - started >= at; }, kStartMs);
    HDC screen = GetDC(nullptr);
    COLORREF seen = GetPixel(screen, middle.x, middle.y);
    DWORD seenAt = GetTickCount();
    ReleaseDC(nullptr, screen);
    int frame = NearestFrame(seen, frames);
    int expected = static_cast<int>(seenAt - started) * rate / 1000;
    SCOPED_TRACE("at " + std::to_string(seenAt - started) + " ms");
    EXPECT_NEAR(frame, expected, 2) << "pixel " << std::hex << seen;
    EXPECT_LT(ColourDistance(seen, FrameColour(frame)), 30) << "pixel " << std::hex << seen;
    shown.push_back(frame);
  }
  EXPECT_GT(shown[1], shown[0]);

  DWORD hidden = WaitForHidden(window, kStartMs);
  ASSERT_NE(hidden, 0u);
  EXPECT_GE(static_cast<int>(hidden - started), lengthMs - 300);
  EXPECT_LE(static_cast<int>(hidden - started), lengthMs + 1000);
  EXPECT_TRUE(TraceCalls(folder, "themecore SKMSGBOX").empty());
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// Save frame (63) on a playing video: the frame shown goes through the
// clipboard into a 24-bit BMP in the temporary folder; the file picker asks
// where it goes (a name typed with another extension becomes a ".bmp"), the
// frame is copied there and the temporary file goes; the video stands while
// the picker is open and plays on afterwards.  A second save, cancelled,
// leaves nothing behind.
TEST(MediaPlayback, SaveFrameAsksForItsPlaceAndWritesTheFrameShown) {
  PlayerFolder folder("player frame");
  folder.Copy("chooser.dll", "chooser.dll");
  const int frames = 30, rate = 10;
  const std::string video = folder.path("frames.avi");
  ASSERT_TRUE(MakeColourAvi(folder, video, frames, rate));
  char tempFolder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, tempFolder);
  const std::string temporary = std::string(tempFolder) + "orbplay frame.bmp";
  const std::string target = std::string(tempFolder) + "saved frame.bmp";
  DeleteFileA(temporary.c_str());
  DeleteFileA(target.c_str());
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, video), 1);
  DWORD started = WaitForTitle(window, PlayingTitle("frames.avi"), kStartMs);
  ASSERT_NE(started, 0u);
  harness::PumpUntil([&] { return GetTickCount() - started >= 1000; }, kStartMs);
  DWORD asked = GetTickCount();
  PostMessageA(window, WM_COMMAND, 63, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(harness::PumpUntil([&] { return (dialog = FindChooserDialog(player.id())) != nullptr; }, kStartMs));
  EXPECT_TRUE(harness::FileExists(temporary)) << "the frame waits in the temporary folder";
  // The name typed in the field, then Save (the picker's second button).
  HWND field = GetDlgItem(dialog, 4);
  ASSERT_NE(field, nullptr);
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("saved frame.jpg"));
  harness::PumpMessagesFor(100);
  SendMessageA(GetDlgItem(dialog, 6), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbplay ChooseFrameTarget", 1));
  EXPECT_EQ(TraceCalls(folder, "orbplay ChooseFrameTarget")[0],
            "orbplay ChooseFrameTarget(" + TraceText(temporary) + ") = " + target);
  EXPECT_TRUE(harness::PumpUntil([&] { return !harness::FileExists(temporary); }, kStartMs))
      << "the temporary file goes once the frame is copied";

  // ImageMagick reads it as a 64 x 48 BMP of 24 bits.
  std::string output;
  int status = -1;
  ASSERT_TRUE(harness::RunUnixCommand("identify -format '%m %w %h %z' " +
                                          harness::ShellQuoted(harness::UnixPathOf(target)),
                                      15000, &output, &status));
  EXPECT_EQ(status, 0) << output;
  EXPECT_EQ(output.substr(0, output.find_last_not_of("\r\n") + 1), "BMP3 64 48 8") << output;
  harness::Bmp24 picture;
  ASSERT_TRUE(harness::ReadBmp24(target, &picture));
  ASSERT_EQ(picture.width, 64);
  COLORREF colour = picture.at(32, 24);
  int frame = NearestFrame(colour, frames);
  EXPECT_LT(ColourDistance(colour, FrameColour(frame)), 6) << std::hex << colour;
  EXPECT_NEAR(frame, static_cast<int>(asked - started) * rate / 1000, 2);
  for (int y = 0; y < picture.height; y += 7) {
    for (int x = 0; x < picture.width; x += 7) EXPECT_EQ(picture.at(x, y), colour) << x << "," << y;
  }
  DeleteFileA(target.c_str());

  // A second frame, the picker cancelled: no file is left anywhere.
  PostMessageA(window, WM_COMMAND, 63, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return (dialog = FindChooserDialog(player.id())) != nullptr; }, kStartMs));
  SendMessageA(GetDlgItem(dialog, 5), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbplay ChooseFrameTarget", 2));
  EXPECT_EQ(TraceCalls(folder, "orbplay ChooseFrameTarget")[1],
            "orbplay ChooseFrameTarget(" + TraceText(temporary) + ") = ");
  EXPECT_FALSE(harness::FileExists(temporary));
  EXPECT_FALSE(harness::FileExists(target));
  const DWORD cancelled = GetTickCount();

  // It played on: the end comes about when the video ends, later by the
  // time it stood while the pickers were open.
  DWORD hidden = WaitForHidden(window, kStartMs);
  ASSERT_NE(hidden, 0u);
  EXPECT_LE(static_cast<int>(hidden - started),
            frames * 1000 / rate + static_cast<int>(cancelled - asked) + 1200);
  EXPECT_GE(static_cast<int>(hidden - started), frames * 1000 / rate - 300);
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

}  // namespace
