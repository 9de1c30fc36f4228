// The player's control bar as a user meets it, under Wine: the real player
// started with its panel definition and images beside it; the bar of each
// layout with its controls (which exist, show and are enabled), docked at
// the main window's corner and cut to its bitmap; play, pause, seek, volume
// and stop by mouse clicks at the controls' places; files dropped on the
// bar; the level meter's pixels for known levels; the configuration file
// written on close and read at the next start (a damaged one ignored).
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/suite_command_codes.h"
#include "harness.h"
#include "player_test_support.h"
#include "suite_command.h"
#include "test_files.h"

namespace {

using player_test::ConfigFilePath;
using player_test::kStartMs;
using player_test::PlayerFolder;
using player_test::SquareWaveWav;
using player_test::StartPlayer;
using player_test::TraceCalls;
using player_test::WaitForExit;

constexpr char kPaneClass[] = "SKPANE";
constexpr char kTitle[] = "Orb Play";
// The panel definition's control bar (res/panels).
constexpr int kPaneWidth = 440;
constexpr int kPaneHeight = 48;

HWND WaitForPane() {
  HWND pane = nullptr;
  harness::PumpUntil([&] {
    pane = FindWindowA(kPaneClass, kTitle);
    return pane != nullptr && IsWindowVisible(pane);
  }, kStartMs);
  return pane;
}

// Waits until the bar shows control `id` (a rebuilt bar has new windows).
HWND WaitForControl(int id) {
  HWND control = nullptr;
  harness::PumpUntil([&] {
    HWND pane = FindWindowA(kPaneClass, kTitle);
    control = pane != nullptr ? GetDlgItem(pane, id) : nullptr;
    return control != nullptr;
  }, kStartMs);
  return control;
}

void SendMouse(DWORD flags, POINT at) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof(input));
  harness::PumpMessagesFor(60);
}

void ClickAt(POINT at) {
  SendMouse(0, at);
  SendMouse(MOUSEEVENTF_LEFTDOWN, at);
  SendMouse(MOUSEEVENTF_LEFTUP, at);
  harness::PumpMessagesFor(100);
}

// A click at a point of a control given in fractions of its size.
void ClickControl(HWND control, double fx = 0.5, double fy = 0.5) {
  RECT r = harness::WindowRectOf(control);
  ClickAt(POINT{r.left + static_cast<LONG>((r.right - r.left - 1) * fx),
                r.top + static_cast<LONG>((r.bottom - r.top - 1) * fy)});
}

int TrackPosition(HWND bar) { return static_cast<int>(SendMessageA(bar, TBM_GETPOS, 0, 0)); }

bool WaitForTitle(HWND window, const std::string& title) {
  return harness::PumpUntil([&] { return harness::WindowText(window) == title; }, kStartMs);
}

struct Expected {
  int id;
  bool present;
  bool visible;
  bool enabled;
};

void ExpectControls(HWND pane, const std::vector<Expected>& table) {
  for (const Expected& e : table) {
    SCOPED_TRACE("control " + std::to_string(e.id));
    HWND control = GetDlgItem(pane, e.id);
    ASSERT_EQ(e.present, control != nullptr);
    if (control == nullptr) continue;
    EXPECT_EQ(e.visible, IsWindowVisible(control) != FALSE);
    EXPECT_EQ(e.enabled, IsWindowEnabled(control) != FALSE);
  }
}

// The pane sits at the main window's bottom-right corner (option field 5
// is 0), has the definition's size, and its rounded corners are cut away.
void ExpectDockedBottomRight(HWND pane, HWND mainWindow) {
  RECT bar = harness::WindowRectOf(pane);
  RECT main = harness::WindowRectOf(mainWindow);
  EXPECT_EQ(kPaneWidth, bar.right - bar.left);
  EXPECT_EQ(kPaneHeight, bar.bottom - bar.top);
  EXPECT_EQ(main.right, bar.right);
  EXPECT_EQ(main.bottom, bar.bottom);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(pane, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, kPaneWidth - 1, kPaneHeight - 1));
  EXPECT_TRUE(PtInRegion(region, 5, 5));
  EXPECT_TRUE(PtInRegion(region, kPaneWidth / 2, kPaneHeight / 2));
  DeleteObject(region);
}

// At start, with nothing to open, the player shows the picture layout.
TEST(PlayerPanels, PictureLayoutAtStartIsDockedAndDrawn) {
  PlayerFolder folder("panels picture");
  folder.CopyPanels();
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  HWND pane = WaitForPane();
  ASSERT_NE(pane, nullptr);
  // The page links are made last.
  ASSERT_NE(WaitForControl(50), nullptr);
  // No chooser module or CHOOSER.DLL beside this player: open is disabled.
  ExpectControls(pane, {{51, true, true, true},   {52, true, false, true},  {53, true, true, false},
                        {54, true, true, false},  {55, true, true, true},   {56, true, true, true},
                        {57, false, false, false}, {73, true, true, true},  {61, true, true, true},
                        {62, true, false, true},  {63, false, false, false}, {64, false, false, false},
                        {67, true, true, false},  {68, true, true, true},   {71, true, true, true},
                        {72, true, true, true},   {74, true, true, true},   {76, true, true, true},
                        {77, true, true, true},   {78, false, false, false}, {48, true, true, true}});
  ExpectDockedBottomRight(pane, window);
  // The picture layout's bitmap is drawn on the bar.
  const std::string shot = folder.path("pane.bmp");
  ASSERT_TRUE(harness::CaptureWindowToBmp(pane, shot));
  harness::Bmp24 picture;
  ASSERT_TRUE(harness::ReadBmp24(shot, &picture));
  EXPECT_EQ(RGB(0xE8, 0xE4, 0xDC), picture.at(250, 44));
  // A button's glyph: the stop button's square in the layout's ink.
  RECT stop = harness::WindowRectOf(GetDlgItem(pane, 71));
  RECT bar = harness::WindowRectOf(pane);
  int cx = (stop.left + stop.right) / 2 - bar.left, cy = (stop.top + stop.bottom) / 2 - bar.top;
  EXPECT_EQ(RGB(0x20, 0x40, 0x80), picture.at(cx, cy));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(player), 0);
}

TEST(PlayerPanels, DocumentLayoutForAPage) {
  PlayerFolder folder("panels document");
  folder.CopyPanels();
  const std::string page = folder.path("page.htm");
  ASSERT_TRUE(harness::WriteFileBytes(page, "<html></html>"));
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, page), 1);
  // The document layout's own buttons and the page links, made last, on
  // one bar.
  ASSERT_TRUE(harness::PumpUntil([] {
    HWND bar = FindWindowA(kPaneClass, kTitle);
    return bar != nullptr && GetDlgItem(bar, 64) != nullptr && GetDlgItem(bar, 50) != nullptr;
  }, kStartMs));
  HWND pane = WaitForPane();
  ASSERT_NE(pane, nullptr);
  ExpectControls(pane, {{51, true, true, true},  {52, true, false, true}, {53, true, true, true},
                        {57, true, true, true},  {64, true, true, true},  {65, true, true, true},
                        {66, true, true, true},  {69, true, true, true},  {70, true, true, true},
                        {61, false, false, false}, {77, false, false, false}, {76, true, true, true},
                        {73, false, false, false}, {48, true, true, true}});
  ExpectDockedBottomRight(pane, window);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(player), 0);
}

BOOL CALLBACK FindPanelIn(HWND top, LPARAM param) {
  HWND panel = FindWindowExA(top, nullptr, "ORBFXEFFECT", nullptr);
  if (panel == nullptr) return TRUE;
  *reinterpret_cast<HWND*>(param) = panel;
  return FALSE;
}

// The effects panel inside the skin's popup frame, or null.
HWND FindEffectsPanel() {
  HWND panel = nullptr;
  EnumWindows(FindPanelIn, reinterpret_cast<LPARAM>(&panel));
  return panel;
}

// Colours of the level meter's palette entries the checks look at.
COLORREF Palette(int index) {
  static const std::map<int, COLORREF> palette = {
      {8, RGB(0, 183, 88)}, {15, RGB(126, 245, 14)}, {25, RGB(255, 196, 0)}, {0, RGB(0, 0, 0)}};
  return palette.at(index);
}

// An audio item: the audio layout with its meter and title; the effects
// panel shown and hidden by clicks on its button; pause, play, seek and
// volume by clicks on the bar; stop closes the player, which writes its
// configuration file.
TEST(PlayerPanels, AudioIsPlayedPausedSoughtAndStoppedByMouse) {
  PlayerFolder folder("panels audio");
  folder.CopyPanels();
  const std::string tone = folder.path("loud tone.wav");
  // Full scale on the left (level 127), half on the right (level 64).
  ASSERT_TRUE(harness::WriteFileBytes(tone, SquareWaveWav(8000, 32767, 16384)));
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, tone), 1);
  ASSERT_TRUE(WaitForTitle(window, "Orb Play - loud tone.wav"));
  ASSERT_NE(WaitForControl(78), nullptr);
  HWND pane = WaitForPane();
  ASSERT_NE(pane, nullptr);
  ExpectControls(pane, {{51, true, false, true}, {52, true, true, true},  {53, true, true, true},
                        {61, true, true, true},  {63, true, false, false}, {71, true, true, true},
                        {76, true, true, true},  {77, true, true, true},  {78, true, true, true},
                        {57, false, false, false}, {64, false, false, false}, {48, false, false, false}});
  // Nothing to show: the main window left the screen, the bar stayed.
  RECT main = harness::WindowRectOf(window);
  EXPECT_LT(main.right, 0);
  RECT bar = harness::WindowRectOf(pane);
  EXPECT_GE(bar.left, 0);
  EXPECT_NE(FindWindowA("MARQUEE", nullptr), nullptr);

  // The level meter: the left column lit to the top, the right to half.
  HWND meter = FindWindowExA(pane, nullptr, "VUMETER", nullptr);
  ASSERT_NE(meter, nullptr);
  harness::PumpMessagesFor(600);
  // The meter is read from the bar's pixels (it is a child of the bar).
  const std::string shot = folder.path("meter.bmp");
  ASSERT_TRUE(harness::CaptureWindowToBmp(pane, shot));
  harness::Bmp24 picture;
  ASSERT_TRUE(harness::ReadBmp24(shot, &picture));
  RECT meterRect = harness::WindowRectOf(meter);
  RECT paneRect = harness::WindowRectOf(pane);
  const int mx = meterRect.left - paneRect.left, my = meterRect.top - paneRect.top;
  ASSERT_EQ(20, meterRect.right - meterRect.left);
  ASSERT_EQ(40, meterRect.bottom - meterRect.top);
  // 40 pixels high: 40 segments of 1 pixel, segment i (from the bottom)
  // at y = 40 - i shows step 100 * i / 40; 20 wide: halves of 10.
  auto rowOfStep = [my](int step) { return my + 40 - step * 40 / 100; };
  EXPECT_EQ(Palette(25), picture.at(mx + 4, rowOfStep(75)));   // step 75
  EXPECT_EQ(Palette(8), picture.at(mx + 15, rowOfStep(25)));   // step 25
  EXPECT_EQ(Palette(15), picture.at(mx + 15, rowOfStep(45)));  // step 45
  EXPECT_EQ(Palette(0), picture.at(mx + 15, rowOfStep(75)));   // above half: dark

  // The effects panel was made, hidden, when the stream started, and handed
  // to the audio library; a click on button 53 shows it above the bar, the
  // next hides it again.
  HWND panel = FindEffectsPanel();
  ASSERT_NE(panel, nullptr);
  HWND panelFrame = GetParent(panel);
  ASSERT_NE(panelFrame, nullptr);
  EXPECT_FALSE(IsWindowVisible(panelFrame));
  std::vector<std::string> handedOver = TraceCalls(folder, "tonelink BASSFXWINDOW");
  ASSERT_EQ(handedOver.size(), 1u);
  EXPECT_NE(handedOver[0].find(", 1) = "), std::string::npos) << handedOver[0];
  ClickControl(GetDlgItem(pane, 53));
  ASSERT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(panelFrame) != FALSE; }, kStartMs));
  EXPECT_LE(harness::WindowRectOf(panelFrame).bottom, harness::WindowRectOf(pane).top) << "above the bar";
  ClickControl(GetDlgItem(pane, 53));
  EXPECT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(panelFrame) == FALSE; }, kStartMs));
  EXPECT_EQ(FindEffectsPanel(), panel) << "hidden, not made anew";

  // Pause: the position stands still and play shows again.
  HWND position = GetDlgItem(pane, 77);
  ClickControl(GetDlgItem(pane, 52));
  ASSERT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(GetDlgItem(pane, 51)) != FALSE; }, kStartMs));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(pane, 52)));
  int paused = TrackPosition(position);
  harness::PumpMessagesFor(800);
  EXPECT_EQ(paused, TrackPosition(position));
  // Play again: it moves on.
  ClickControl(GetDlgItem(pane, 51));
  EXPECT_TRUE(harness::PumpUntil([&] { return TrackPosition(position) > paused; }, kStartMs));
  // A click at three quarters of the position bar seeks there.
  ClickControl(position, 0.75, 0.5);
  EXPECT_TRUE(harness::PumpUntil([&] { return TrackPosition(position) >= 65; }, kStartMs))
      << TrackPosition(position);
  // A click near the top of the volume bar sets a high volume (the mixer
  // call fails without a sound device; the bar keeps what the user set).
  HWND volume = GetDlgItem(pane, 76);
  ClickControl(volume, 0.5, 0.15);
  harness::PumpMessagesFor(300);
  int set = TrackPosition(volume);
  EXPECT_GE(set, 70);
  std::vector<std::string> volumes = TraceCalls(folder, "panels MixerSetVolume");
  ASSERT_FALSE(volumes.empty());
  EXPECT_EQ(volumes.back(), "panels MixerSetVolume(" + std::to_string(set) + ") = 0");
  harness::PumpMessagesFor(300);
  EXPECT_EQ(set, TrackPosition(volume));

  // Stop closes the player; the configuration file holds the window where
  // the user had it before it left the screen, and the bar's place.
  RECT barBefore = harness::WindowRectOf(pane);
  ClickControl(GetDlgItem(pane, 71));
  EXPECT_EQ(WaitForExit(player), 0);
  std::string config;
  ASSERT_TRUE(harness::ReadFileBytes(ConfigFilePath(), &config));
  char expectedTail[64];
  snprintf(expectedTail, sizeof(expectedTail), "|| %ld| %ld| 303| 0", barBefore.left, barBefore.top);
  EXPECT_NE(config.find(expectedTail), std::string::npos) << config;
  // Left and top are where the window was, not off the screen.
  EXPECT_EQ(' ', config[0]) << config;
  EXPECT_EQ(' ', config[config.find('|') + 1]) << config;
}

// A drop as the shell hands it to a program: a fixed memory block in the
// program's own process (an HDROP is its address) holding DROPFILES and
// the names, each ended by a zero, the list by one more.  Windows do not
// carry a handle of this process's memory to another, so the block is
// written into the player.
HDROP MakeDropIn(HANDLE process, const std::vector<std::string>& files) {
  DROPFILES header = {};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = FALSE;
  std::string block(reinterpret_cast<const char*>(&header), sizeof(header));
  for (const std::string& file : files) block += file + std::string(1, '\0');
  block += std::string(1, '\0');
  void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remote == nullptr) return nullptr;
  SIZE_T written = 0;
  if (!WriteProcessMemory(process, remote, block.data(), block.size(), &written) || written != block.size()) {
    return nullptr;
  }
  return static_cast<HDROP>(remote);
}

TEST(PlayerPanels, FilesDroppedOnTheBarPlay) {
  PlayerFolder folder("panels drop");
  folder.CopyPanels();
  const std::string first = folder.path("dropped one.wav"), second = folder.path("dropped two.wav");
  ASSERT_TRUE(harness::WriteFileBytes(first, SquareWaveWav(4000, 8192, 8192)));
  ASSERT_TRUE(harness::WriteFileBytes(second, SquareWaveWav(4000, 8192, 8192)));
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  HWND pane = WaitForPane();
  ASSERT_NE(pane, nullptr);
  EXPECT_NE(GetWindowLongA(pane, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, player.id());
  ASSERT_NE(process, nullptr);
  HDROP drop = MakeDropIn(process, {first, second});
  CloseHandle(process);
  ASSERT_NE(drop, nullptr);
  ASSERT_TRUE(PostMessageA(pane, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0));
  EXPECT_TRUE(WaitForTitle(window, "Orb Play - dropped one.wav"));
  // The list is both files: "next" plays the second.
  HWND next = WaitForControl(56);
  ASSERT_NE(next, nullptr);
  ClickControl(next);
  EXPECT_TRUE(WaitForTitle(window, "Orb Play - dropped two.wav"));
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// The file the player wrote puts the window back; a damaged file is
// ignored (the window takes its default, centred) and replaced whole.
TEST(PlayerPanels, ConfigurationFileRestoresTheWindowAndADamagedOneIsIgnored) {
  PlayerFolder folder("panels config");
  folder.CopyPanels();
  const std::string crafted = " 30| 40| 500| 400|C:\\media\\|C:\\frames\\|| -1| -1| 305| 0";
  ASSERT_TRUE(harness::WriteFileBytes(ConfigFilePath(), crafted));
  {
    harness::Process player;
    HWND window = StartPlayer(folder, &player);
    ASSERT_NE(window, nullptr);
    RECT r = harness::WindowRectOf(window);
    EXPECT_EQ(30, r.left);
    EXPECT_EQ(40, r.top);
    EXPECT_EQ(500, r.right - r.left);
    EXPECT_EQ(400, r.bottom - r.top);
    HWND pane = WaitForPane();
    ASSERT_NE(pane, nullptr);
    RECT bar = harness::WindowRectOf(pane);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(player), 0);
    std::string written;
    ASSERT_TRUE(harness::ReadFileBytes(ConfigFilePath(), &written));
    EXPECT_EQ(" 30| 40| 500| 400|C:\\media\\|C:\\frames\\|| " + std::to_string(bar.left) + "| " +
                  std::to_string(bar.top) + "| 305| 0",
              written);
  }
  ASSERT_TRUE(harness::WriteFileBytes(ConfigFilePath(), " 30| 40| 0| 0|\x01\x02|||garbage"));
  {
    harness::Process player;
    HWND window = StartPlayer(folder, &player);
    ASSERT_NE(window, nullptr);
    RECT r = harness::WindowRectOf(window);
    int width = r.right - r.left, height = r.bottom - r.top;
    EXPECT_GT(width, 100);
    EXPECT_GT(height, 100);
    EXPECT_NEAR((GetSystemMetrics(SM_CXSCREEN) - width) / 2, r.left, 1);
    EXPECT_NEAR((GetSystemMetrics(SM_CYSCREEN) - height) / 2, r.top, 1);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(player), 0);
    std::string written;
    ASSERT_TRUE(harness::ReadFileBytes(ConfigFilePath(), &written));
    const std::string size = " " + std::to_string(r.left) + "| " + std::to_string(r.top) + "| " +
                             std::to_string(width) + "| " + std::to_string(height) + "|";
    EXPECT_EQ(0u, written.find(size)) << written;
    // The folders are the defaults (the program folder, the temporary
    // folder), nothing of the damaged file.
    EXPECT_EQ(std::string::npos, written.find("garbage")) << written;
    EXPECT_EQ(std::string::npos, written.find('\x01')) << written;
    EXPECT_EQ('\\', written[written.find('|', size.size()) - 1]) << written;
  }
  // Nothing but the file itself is left beside it: it was written through
  // a temporary file that was renamed.
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  WIN32_FIND_DATAA found = {};
  HANDLE search = FindFirstFileA((std::string(temp) + "orbplay*").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  std::vector<std::string> names;
  do {
    names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  EXPECT_EQ(std::vector<std::string>{"orbplay.cfg"}, names);
}

}  // namespace
