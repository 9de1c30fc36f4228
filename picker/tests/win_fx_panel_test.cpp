// The effects panel under Wine, with the skin engine and the audio library:
// its controls and frame, the library calls each control makes (from the
// call trace), its settings file written at the end and read at the next
// start, the DirectX check, its place above the pane, and a 1 kHz tone
// measured through the library while the "1K" bar moves.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/fx_settings.h"
#include "fx_panel.h"
#include "picker_test_support.h"
#include "themecore.h"
#include "themecore_popup.h"
#include "tonelink.h"

namespace {

using Calls = std::vector<std::string>;

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

void Pump() {
  MSG message;
  for (int round = 0; round < 5; ++round) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  }
}

// A 16-bit 44100 Hz WAV of a sine.
std::string ToneWave(double hz, double peak, uint32_t ms, uint16_t channels = 1) {
  auto put16 = [](std::string* out, uint32_t value) {
    out->push_back(static_cast<char>(value & 0xFF));
    out->push_back(static_cast<char>((value >> 8) & 0xFF));
  };
  auto put32 = [&](std::string* out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
  };
  std::string data;
  const uint32_t frames = 44100 * ms / 1000;
  for (uint32_t f = 0; f < frames; ++f) {
    const double value = peak * std::sin(2.0 * 3.14159265358979323846 * hz * f / 44100);
    for (uint16_t c = 0; c < channels; ++c) put16(&data, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767))));
  }
  std::string fmt;
  put16(&fmt, 1);
  put16(&fmt, channels);
  put32(&fmt, 44100);
  put32(&fmt, 44100 * 2 * channels);
  put16(&fmt, static_cast<uint32_t>(2 * channels));
  put16(&fmt, 16);
  std::string body = "WAVEfmt ";
  put32(&body, static_cast<uint32_t>(fmt.size()));
  body += fmt + "data";
  put32(&body, static_cast<uint32_t>(data.size()));
  body += data;
  std::string file = "RIFF";
  put32(&file, static_cast<uint32_t>(body.size()));
  return file + body;
}

// A 24-bit BMP of `width` x `height` in one colour: the help button's image.
std::string Bitmap(int width, int height) {
  const int row = (width * 3 + 3) / 4 * 4;
  std::string pixels(static_cast<size_t>(row) * height, '\x40');
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  return std::string(reinterpret_cast<const char*>(&file), sizeof(file)) +
         std::string(reinterpret_cast<const char*>(&info), sizeof(info)) + pixels;
}

class FxPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = std::make_unique<harness::ScratchFolder>("fx panel");
    temp_ = std::make_unique<harness::ScopedEnvironment>("TMP", scratch_->path().c_str());
    tempAlso_ = std::make_unique<harness::ScopedEnvironment>("TEMP", scratch_->path().c_str());
    trace_ = std::make_unique<harness::ScopedEnvironment>("ORB_TRACE", TracePath().c_str());
    answers_ = std::make_unique<harness::ScopedEnvironment>("ORB_ANSWERS", "");
    main_ = CreateWindowExA(0, "STATIC", "player", WS_POPUP | WS_VISIBLE, 200, 100, 400, 300, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    pane_ = CreateWindowExA(0, "STATIC", "pane", WS_POPUP | WS_VISIBLE, 500, 500, 300, 80, main_, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    picker::FxPanelHost host;
    host.mainWindow = main_;
    host.pane = pane_;
    host.instance = GetModuleHandleA(nullptr);
    picker::SetFxPanelHost(host);
  }
  void TearDown() override {
    BASSCLOSE();
    if (picker::FxPanelWindow() != nullptr) DestroyWindow(picker::FxPanelWindow());
    DestroyWindow(pane_);
    DestroyWindow(main_);
    Pump();
    answers_.reset();
    trace_.reset();
    tempAlso_.reset();
    temp_.reset();
    scratch_.reset();
  }

  std::string TracePath() const { return scratch_->Child("trace.txt"); }
  std::string SettingsPath() const { return scratch_->Child("orbAudioFX.cfg"); }

  // The audio library's calls since the last ClearTrace, as "NAME(args)".
  Calls LibraryCalls() const {
    std::string text;
    harness::ReadFileBytes(TracePath(), &text);
    Calls calls;
    for (const std::string& line : harness::SplitLines(text)) {
      const size_t at = line.find("] tonelink ");
      if (at == std::string::npos) continue;
      std::string call = line.substr(at + 11);
      calls.push_back(call.substr(0, call.rfind(" = ")));
    }
    return calls;
  }
  std::vector<std::string> TraceLines(const std::string& part) const {
    std::string text;
    harness::ReadFileBytes(TracePath(), &text);
    std::vector<std::string> found;
    for (const std::string& line : harness::SplitLines(text)) {
      if (line.find(part) != std::string::npos) found.push_back(line);
    }
    return found;
  }
  void ClearTrace() const { DeleteFileA(TracePath().c_str()); }

  HWND MakePanel() {
    picker::CreateFxPanel();
    HWND panel = picker::FxPanelWindow();
    EXPECT_NE(panel, nullptr);
    return panel;
  }
  // The frame's close box, as the user clicks it.
  void CloseWithTheFrame(HWND panel) {
    HWND frame = GetParent(panel);
    RECT rect;
    GetWindowRect(frame, &rect);
    const LPARAM point = MAKELPARAM(rect.right - 12, rect.top + 12);
    ASSERT_EQ(SendMessageA(frame, WM_NCHITTEST, 0, point), HTCLOSE);
    SendMessageA(frame, WM_NCLBUTTONDOWN, HTCLOSE, point);
    Pump();
  }

  std::unique_ptr<harness::ScratchFolder> scratch_;
  std::unique_ptr<harness::ScopedEnvironment> temp_, tempAlso_, trace_, answers_;
  HWND main_ = nullptr;
  HWND pane_ = nullptr;
};

TEST_F(FxPanel, HasItsControlsInAFrameAbovePane) {
  HWND panel = MakePanel();
  ASSERT_NE(panel, nullptr);
  HWND frame = GetParent(panel);
  EXPECT_EQ(ClassOf(panel), "ORBFXEFFECT");
  EXPECT_EQ(ClassOf(frame), "SKPOPUP");
  EXPECT_EQ(picker_test::WindowTextOf(frame), "Audio FX");
  EXPECT_FALSE(IsWindowVisible(frame)) << "the player shows it";
  EXPECT_EQ(GetWindow(frame, GW_OWNER), main_);
  const char* boxes[] = {"On/Off", "Reset", "Reverb", "Chorus", "Flanger", "Echo", "Rotate"};
  for (int id = 1; id <= 17; ++id) {
    SCOPED_TRACE(id);
    HWND control = GetDlgItem(panel, id);
    ASSERT_NE(control, nullptr);
    if (id <= 10) {
      EXPECT_EQ(ClassOf(control), "SKTRACK");
      EXPECT_EQ(SKGETTRACKPOS(control), 50);
    } else {
      EXPECT_EQ(picker_test::WindowTextOf(control), boxes[id - 11]);
      EXPECT_EQ(SKGETCHECK(control), 0);
    }
  }
  EXPECT_EQ(GetDlgItem(panel, 99), nullptr) << "no help button without a help image";
  // Right-aligned with the pane, two pixels above it.
  RECT frameRect, paneRect;
  GetWindowRect(frame, &frameRect);
  GetWindowRect(pane_, &paneRect);
  EXPECT_EQ(frameRect.right, paneRect.right);
  EXPECT_EQ(frameRect.bottom, paneRect.top - 2);
  const std::string window = std::to_string(reinterpret_cast<uintptr_t>(panel));
  EXPECT_EQ(LibraryCalls(), (Calls{"BASSDIRECTXVERSION()", "BASSFXWINDOW(" + window + ", 1)"}));

  ClearTrace();
  CloseWithTheFrame(panel);
  EXPECT_EQ(picker::FxPanelWindow(), nullptr);
  EXPECT_FALSE(IsWindow(panel));
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_EQ(LibraryCalls(), (Calls{"BASSFXWINDOW(0, 1)"}));
}

TEST_F(FxPanel, EachControlTellsTheLibraryWhatChanged) {
  HWND panel = MakePanel();
  ASSERT_NE(panel, nullptr);
  auto key = [&](int id, UINT vk) { return [=] { SendMessageA(GetDlgItem(panel, id), WM_KEYDOWN, vk, 0); }; };
  auto click = [&](int id) { return [=] { SendMessageA(GetDlgItem(panel, id), BM_CLICK, 0, 0); }; };
  Calls allBands;
  for (int band = 1; band <= 10; ++band) allBands.push_back("BASSUPDATEEQ(0, " + std::to_string(band) + ")");
  struct Case {
    const char* label;
    std::function<void()> act;
    Calls calls;
  };
  const Case cases[] = {
      {"bar 3", key(3, VK_UP), {"BASSUPDATEEQ(0, 3)"}},
      {"bar 10", key(10, VK_NEXT), {"BASSUPDATEEQ(0, 10)"}},
      {"On/Off", click(11), allBands},
      {"Reset ticked", click(12), {"BASSRESETEQ(0)"}},
      {"Reset unticked",
       [&] {
         SKSETCHECK(GetDlgItem(panel, 12), 1);
         SendMessageA(GetDlgItem(panel, 12), BM_CLICK, 0, 0);
       },
       {}},
      {"Reverb", click(13), {"BASSUPDATEREVERB(0)"}},
      {"Chorus", click(14), {"BASSUPDATECHORUS(0)"}},
      {"Flanger", click(15), {"BASSUPDATEFLANGER(0)"}},
      {"Echo", click(16), {"BASSUPDATEECHO(0)"}},
      {"Rotate", click(17), {"BASSUPDATEROTATE(0)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ClearTrace();
    c.act();
    EXPECT_EQ(LibraryCalls(), c.calls);
  }
  // Ticking Reset leaves Reset and On/Off unticked.
  SKSETCHECK(GetDlgItem(panel, 11), 1);
  SendMessageA(GetDlgItem(panel, 12), BM_CLICK, 0, 0);
  EXPECT_EQ(SKGETCHECK(GetDlgItem(panel, 12)), 0);
  EXPECT_EQ(SKGETCHECK(GetDlgItem(panel, 11)), 0);
  EXPECT_EQ(SKGETTRACKPOS(GetDlgItem(panel, 3)), 50) << "the library put the bars back";
}

TEST_F(FxPanel, SettingsAreWrittenAtTheEndAndReadAtTheNextStart) {
  HWND panel = MakePanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_FALSE(harness::FileExists(SettingsPath()));
  for (int i = 0; i < 4; ++i) SendMessageA(GetDlgItem(panel, 5), WM_KEYDOWN, VK_NEXT, 0);
  SendMessageA(GetDlgItem(panel, 13), BM_CLICK, 0, 0);
  SendMessageA(GetDlgItem(panel, 1), WM_KEYDOWN, VK_END, 0);
  CloseWithTheFrame(panel);
  std::string bytes;
  ASSERT_TRUE(harness::ReadFileBytes(SettingsPath(), &bytes));
  EXPECT_EQ(bytes, "100|50|50|50|10|50|50|50|50|50|0|0|1|0|0|0|0");
  EXPECT_FALSE(harness::FileExists(SettingsPath() + ".tmp"));

  panel = MakePanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(SKGETTRACKPOS(GetDlgItem(panel, 1)), 100);
  EXPECT_EQ(SKGETTRACKPOS(GetDlgItem(panel, 5)), 10);
  EXPECT_EQ(SKGETCHECK(GetDlgItem(panel, 13)), 1);
  EXPECT_EQ(SKGETCHECK(GetDlgItem(panel, 14)), 0);
}

TEST_F(FxPanel, ShortAndLongFilesLoad) {
  struct Case {
    const char* label;
    std::string bytes;
    std::vector<int32_t> bars;   // 1-10
    std::vector<int32_t> boxes;  // 11-17
  };
  const Case cases[] = {
      {"short", "10|20|30", {10, 20, 30, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}},
      {"long", "1|2|3|4|5|6|7|8|9|10|1|0|1|0|1|0|1|99|98", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {1, 0, 1, 0, 1, 0, 1}},
      {"empty file keeps the start values", "", {50, 50, 50, 50, 50, 50, 50, 50, 50, 50}, {0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_TRUE(harness::WriteFileBytes(SettingsPath(), c.bytes));
    HWND panel = MakePanel();
    ASSERT_NE(panel, nullptr);
    for (int id = 1; id <= 10; ++id) EXPECT_EQ(SKGETTRACKPOS(GetDlgItem(panel, id)), c.bars[id - 1]) << id;
    for (int id = 11; id <= 17; ++id) EXPECT_EQ(SKGETCHECK(GetDlgItem(panel, id)), c.boxes[id - 11]) << id;
    DestroyWindow(panel);
    Pump();
    EXPECT_EQ(picker::FxPanelWindow(), nullptr);
  }
}

TEST_F(FxPanel, DirectXSevenGivesAWarningAndNoPanel) {
  harness::ScopedEnvironment directX("ORB_DIRECTX_VERSION", "7");
  picker::CreateFxPanel();
  EXPECT_EQ(picker::FxPanelWindow(), nullptr);
  EXPECT_EQ(FindWindowA("ORBFXEFFECT", nullptr), nullptr);
  const std::vector<std::string> boxes = TraceLines("themecore SKMSGBOX(");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("\"DirectX 7|"), std::string::npos) << boxes[0];
  EXPECT_TRUE(LibraryCalls() == Calls{"BASSDIRECTXVERSION()"});
}

TEST_F(FxPanel, PaneAtTheTopPutsThePanelAtTheWorkAreasTop) {
  int32_t left = 0, top = 0, width = 0, height = 0;
  SKGETWORKAREA(&left, &top, &width, &height);
  SetWindowPos(pane_, nullptr, 500, top, 300, 80, SWP_NOZORDER | SWP_NOACTIVATE);
  HWND panel = MakePanel();
  ASSERT_NE(panel, nullptr);
  RECT frame;
  GetWindowRect(GetParent(panel), &frame);
  EXPECT_EQ(frame.top, top);
}

// The audio player's panel has a help button when the help image exists
// and the marker file does not; the media player's panel has none.
TEST_F(FxPanel, HelpButtonOnlyWhereTheHostAsks) {
  const std::string image = scratch_->Child("help.bmp");
  ASSERT_TRUE(harness::WriteFileBytes(image, Bitmap(64, 16)));
  struct Case {
    const char* label;
    bool hasHelp;
    bool markerExists;
    bool button;
  };
  const Case cases[] = {{"audio player", true, false, true},
                        {"marker present", true, true, false},
                        {"media player", false, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string marker = scratch_->Child("marker.txt");
    if (c.markerExists) harness::WriteFileBytes(marker, "x");
    picker::FxPanelHost host;
    host.mainWindow = main_;
    host.pane = pane_;
    host.instance = GetModuleHandleA(nullptr);
    host.hasHelpButton = c.hasHelp;
    host.helpMarker = marker;
    host.helpImage = image;
    host.helpTopic = "Effects";
    picker::SetFxPanelHost(host);
    HWND panel = MakePanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(GetDlgItem(panel, 99) != nullptr, c.button);
    DestroyWindow(panel);
    Pump();
    DeleteFileA(marker.c_str());
  }
}

// Moving the "1K" bar down 12 dB (40 steps of 0.3 dB) with the equalizer
// on lowers a 1 kHz tone played through the library by 12 dB.
TEST_F(FxPanel, OneKilohertzBarLowersTheTone) {
  const std::string tone = scratch_->Child("tone.wav");
  ASSERT_TRUE(harness::WriteFileBytes(tone, ToneWave(1000, 0.9, 5000)));
  HWND panel = MakePanel();
  ASSERT_NE(panel, nullptr);
  ShowWindow(GetParent(panel), SW_SHOW);
  ASSERT_EQ(BASSOPEN(0, tone.c_str()), 0);
  ASSERT_EQ(BASSPLAY(0, 0), 0);
  auto level = [] {
    double sum = 0;
    for (int i = 0; i < 5; ++i) {
      sum += BASSCHANNELGETLEVEL() & 0xFFFF;
      Sleep(30);
    }
    return sum / 5;
  };
  Sleep(100);
  const double before = level();
  ASSERT_GT(before, 100.0);
  SendMessageA(GetDlgItem(panel, 11), BM_CLICK, 0, 0);
  for (int i = 0; i < 4; ++i) SendMessageA(GetDlgItem(panel, 5), WM_KEYDOWN, VK_NEXT, 0);
  ASSERT_EQ(SKGETTRACKPOS(GetDlgItem(panel, 5)), 10);
  const double after = level();
  EXPECT_NEAR(20.0 * std::log10(after / before), -12.0, 1.0) << before << " -> " << after;
  // The equalizer off: the tone as it was.
  SendMessageA(GetDlgItem(panel, 11), BM_CLICK, 0, 0);
  EXPECT_NEAR(level(), before, 2.0);
}

}  // namespace
