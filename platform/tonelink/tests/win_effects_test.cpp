// The effects the library applies, measured from the levels it reports
// while a tone plays on the null device.  The effects panel is stood in
// for by a window whose children answer TBM_GETPOS and BM_GETCHECK with
// the ids of the real panel's controls (bars 1-10, boxes 11-17).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "error_codes.h"
#include "test_support.h"
#include "tonelink.h"
#include "wave_builder.h"

namespace {

using namespace tonelink;
using testsupport::ScratchFolder;
using wavebuilder::Tone;

const char kControlClass[] = "TONELINKTESTCONTROL";

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TBM_GETPOS:
    case BM_GETCHECK:
      return GetWindowLongPtrA(window, GWLP_USERDATA);
    case TBM_SETPOS:
      SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
      return 0;
    case BM_SETCHECK:
      SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// A stand-in panel: bars at 50, boxes unticked.
class FakePanel {
 public:
  FakePanel() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ControlProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kControlClass;
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, "STATIC", "Audio FX", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    for (int id = 1; id <= 17; ++id) {
      HWND control = CreateWindowExA(0, kControlClass, "", WS_CHILD, 0, 0, 1, 1, hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     GetModuleHandleA(nullptr), nullptr);
      SetWindowLongPtrA(control, GWLP_USERDATA, id <= 10 ? 50 : 0);
    }
  }
  ~FakePanel() {
    BASSFXWINDOW(nullptr, 1);
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  }
  HWND hwnd() const { return hwnd_; }
  void Set(int id, LONG_PTR value) { SetWindowLongPtrA(GetDlgItem(hwnd_, id), GWLP_USERDATA, value); }
  LONG_PTR Get(int id) const { return GetWindowLongPtrA(GetDlgItem(hwnd_, id), GWLP_USERDATA); }

 private:
  HWND hwnd_ = nullptr;
};

uint32_t Left(uint32_t level) { return level & 0xFFFF; }
uint32_t Right(uint32_t level) { return level >> 16; }

double Db(double after, double before) { return 20.0 * std::log10(after / before); }

class Effects : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::ResetLibrary();
    BASSFXWINDOW(nullptr, 1);
    folder_ = std::make_unique<ScratchFolder>("effects");
  }
  void TearDown() override {
    BASSFXWINDOW(nullptr, 1);
    testsupport::ResetLibrary();
    folder_.reset();
  }

  // A 44100 Hz tone of `ms` (then `silenceMs` of silence), both channels at
  // `peak`.
  std::string WriteTone(const std::string& name, double hz, uint32_t ms, double peak, uint32_t channels = 1,
                        uint32_t silenceMs = 0) {
    Tone tone;
    tone.channels = channels;
    tone.frequency = hz;
    tone.frames = 44100 * ms / 1000;
    tone.leftPeak = peak;
    tone.rightPeak = peak;
    std::string samples = wavebuilder::ToneSamples(tone);
    samples.append(static_cast<size_t>(44100) * silenceMs / 1000 * 2 * channels, '\0');
    std::string path = folder_->Child(name);
    EXPECT_TRUE(testsupport::WriteFileBytes(
        path, wavebuilder::Riff(wavebuilder::FmtChunk(1, channels, 44100, 16) + wavebuilder::Chunk("data", samples))));
    return path;
  }

  // Plays from `fromMs` and gives the level at once (the 20 ms before
  // that position).
  uint32_t LevelAt(int32_t fromMs) {
    EXPECT_EQ(0, BASSPLAY(fromMs, 0));
    return BASSCHANNELGETLEVEL();
  }

  // The mean left level over a few reads while the tone plays on.
  double SteadyLevel() {
    double sum = 0;
    const int kReads = 5;
    for (int i = 0; i < kReads; ++i) {
      sum += Left(BASSCHANNELGETLEVEL());
      Sleep(30);
    }
    return sum / kReads;
  }

  std::unique_ptr<ScratchFolder> folder_;
};

TEST_F(Effects, UpdatesWithAStreamSucceed) {
  FakePanel panel;
  ASSERT_EQ(1, BASSFXWINDOW(panel.hwnd(), 1));
  ASSERT_EQ(0, BASSOPEN(0, WriteTone("tone.wav", 1000, 500, 0.5).c_str()));
  struct Case {
    const char* name;
    int32_t (*call)();
  };
  const Case cases[] = {
      {"band 1", [] { return BASSUPDATEEQ(0, 1); }},     {"band 10", [] { return BASSUPDATEEQ(0, 10); }},
      {"reset", [] { return BASSRESETEQ(0); }},          {"reverb", [] { return BASSUPDATEREVERB(0); }},
      {"chorus", [] { return BASSUPDATECHORUS(0); }},    {"flanger", [] { return BASSUPDATEFLANGER(0); }},
      {"echo", [] { return BASSUPDATEECHO(0); }},        {"rotate", [] { return BASSUPDATEROTATE(0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(1, c.call());
    EXPECT_EQ(kErrorNone, BASSERRORGETCODE());
  }
  EXPECT_EQ(0, BASSUPDATEEQ(0, 11));
  EXPECT_EQ(kErrorIllegalParameter, BASSERRORGETCODE());
}

// Moving the 1 kHz band down 12 dB lowers a 1 kHz tone by 12 dB and leaves
// a 100 Hz tone as it was; turning the equalizer off brings the tone back.
TEST_F(Effects, EqualizerBandLowersItsTone) {
  struct Case {
    double hz;
    double expectedDb;
  };
  const Case cases[] = {{1000, -12.0}, {100, 0.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hz);
    FakePanel panel;
    ASSERT_EQ(1, BASSFXWINDOW(panel.hwnd(), 1));
    ASSERT_EQ(0, BASSOPEN(0, WriteTone("eq.wav", c.hz, 4000, 0.9).c_str()));
    ASSERT_EQ(0, BASSPLAY(0, 0));
    Sleep(100);
    const double before = SteadyLevel();
    ASSERT_GT(before, 100.0);
    panel.Set(5, 10);  // the "1K" bar, 40 steps of 0.3 dB down
    panel.Set(11, BST_CHECKED);
    ASSERT_EQ(1, BASSUPDATEEQ(0, 5));
    const double after = SteadyLevel();
    EXPECT_NEAR(Db(after, before), c.expectedDb, 1.0) << before << " -> " << after;
    panel.Set(11, BST_UNCHECKED);
    for (int32_t band = 1; band <= 10; ++band) ASSERT_EQ(1, BASSUPDATEEQ(0, band));
    EXPECT_NEAR(SteadyLevel(), before, 2.0);
    BASSCLOSE();
  }
}

TEST_F(Effects, ResetFlattensTheBarsAndTurnsTheEqualizerOff) {
  FakePanel panel;
  for (int id = 1; id <= 10; ++id) panel.Set(id, 10);
  panel.Set(11, BST_CHECKED);
  ASSERT_EQ(1, BASSFXWINDOW(panel.hwnd(), 1));
  ASSERT_EQ(0, BASSOPEN(0, WriteTone("reset.wav", 1000, 3000, 0.9).c_str()));
  ASSERT_EQ(0, BASSPLAY(0, 0));
  Sleep(100);
  const double lowered = SteadyLevel();
  ASSERT_EQ(1, BASSRESETEQ(0));
  for (int id = 1; id <= 10; ++id) EXPECT_EQ(50, panel.Get(id)) << id;
  const double flat = SteadyLevel();
  EXPECT_GT(Db(flat, lowered), 10.0) << lowered << " -> " << flat;
}

// Echo and reverberation leave sound where the file is silent.
TEST_F(Effects, EchoAndReverbSoundAfterTheTone) {
  struct Case {
    const char* name;
    int box;
    int32_t atMs;  // in the silence after a 300 ms tone
  };
  const Case cases[] = {{"echo", 16, 420}, {"reverb", 13, 340}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePanel panel;
    ASSERT_EQ(1, BASSFXWINDOW(panel.hwnd(), 1));
    ASSERT_EQ(0, BASSOPEN(0, WriteTone("tail.wav", 440, 300, 0.8, 1, 1500).c_str()));
    EXPECT_EQ(0u, Left(LevelAt(c.atMs))) << "the file is silent there";
    panel.Set(c.box, BST_CHECKED);
    ASSERT_EQ(1, c.box == 16 ? BASSUPDATEECHO(0) : BASSUPDATEREVERB(0));
    EXPECT_GT(Left(LevelAt(c.atMs)), 5u);
    EXPECT_GT(Left(LevelAt(50)), 90u) << "the tone itself still sounds";
    BASSCLOSE();
  }
}

// The swept effects make a steady tone rise and fall along the stream.
TEST_F(Effects, ChorusAndFlangerSweepTheTone) {
  struct Case {
    const char* name;
    int box;
  };
  const Case cases[] = {{"chorus", 14}, {"flanger", 15}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePanel panel;
    ASSERT_EQ(1, BASSFXWINDOW(panel.hwnd(), 1));
    ASSERT_EQ(0, BASSOPEN(0, WriteTone("sweep.wav", 1000, 4000, 0.8).c_str()));
    uint32_t lowest = 1000, highest = 0;
    auto sweep = [&] {
      lowest = 1000;
      highest = 0;
      for (int32_t at = 100; at < 3800; at += 60) {
        const uint32_t level = Left(LevelAt(at));
        lowest = std::min(lowest, level);
        highest = std::max(highest, level);
      }
    };
    sweep();
    EXPECT_LE(highest - lowest, 2u) << "steady without the effect";
    panel.Set(c.box, BST_CHECKED);
    ASSERT_EQ(1, c.box == 14 ? BASSUPDATECHORUS(0) : BASSUPDATEFLANGER(0));
    sweep();
    EXPECT_GT(highest, 2 * lowest) << lowest << " .. " << highest;
    BASSCLOSE();
  }
}

TEST_F(Effects, RotateMovesTheSoundBetweenTheSides) {
  FakePanel panel;
  panel.Set(17, BST_CHECKED);
  ASSERT_EQ(1, BASSFXWINDOW(panel.hwnd(), 1));
  ASSERT_EQ(0, BASSOPEN(0, WriteTone("rotate.wav", 1000, 4000, 0.5, 2).c_str()));
  const uint32_t quarter = LevelAt(1000);  // a quarter turn: all right
  const uint32_t threeQuarters = LevelAt(3000);
  EXPECT_LE(Left(quarter), 3u);
  EXPECT_GE(Right(quarter), 85u);
  EXPECT_GE(Left(threeQuarters), 85u);
  EXPECT_LE(Right(threeQuarters), 3u);
  // The panel going takes the effect with it.
  ASSERT_EQ(1, BASSFXWINDOW(nullptr, 1));
  const uint32_t plain = LevelAt(1000);
  EXPECT_NEAR(static_cast<double>(Left(plain)), 64.0, 2.0);
  EXPECT_NEAR(static_cast<double>(Right(plain)), 64.0, 2.0);
}

}  // namespace
