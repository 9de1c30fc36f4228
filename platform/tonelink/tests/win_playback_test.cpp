// Playing WAV files under Wine (no sound device here: the null device keeps
// the clock).  The files are made by the tests: tones of known length and
// peak per channel.  Every wait is bounded.
#include <gtest/gtest.h>
#include <windows.h>

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

// Milliseconds of the performance counter.
double NowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// How far the position may be from the time measured around it.
const double kToleranceMs = 60.0;
// How late a poll may notice the end on a busy machine.
const double kLateMs = 250.0;

uint32_t LeftLevel(uint32_t level) { return level & 0xFFFF; }
uint32_t RightLevel(uint32_t level) { return level >> 16; }

// Waits until BASSCHANNELISACTIVE gives 0; the time it took, or -1 after
// `limitMs`.
double WaitForEnd(double limitMs) {
  double start = NowMs();
  while (NowMs() - start < limitMs) {
    if (BASSCHANNELISACTIVE() == 0) return NowMs() - start;
    Sleep(5);
  }
  return -1;
}

class Playback : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::ResetLibrary();
    folder_ = std::make_unique<ScratchFolder>("play");
  }
  void TearDown() override {
    testsupport::ResetLibrary();  // closes the streams before the files go
    folder_.reset();
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = folder_->Child(name);
    EXPECT_TRUE(testsupport::WriteFileBytes(path, bytes));
    return path;
  }

  // A 16-bit stereo 44100 Hz tone, left at 50 % and right at 25 % of full
  // scale.
  std::string WriteTone(const std::string& name, uint32_t ms, const std::string& extra = "") {
    Tone tone;
    tone.frames = 44100 * ms / 1000;
    return Write(name, wavebuilder::ToneWave(tone, extra));
  }

  std::unique_ptr<ScratchFolder> folder_;
};

TEST_F(Playback, PlaysInRealTimeAndEnds) {
  std::string path = WriteTone(
      "tone.wav", 1500,
      wavebuilder::Chunk("LIST", "INFO" + wavebuilder::Chunk("INAM", "Half and quarter")));
  ASSERT_EQ(0, BASSOPEN(0, path.c_str())) << BASSERRORGETCODE();
  EXPECT_EQ(kErrorNone, BASSERRORGETCODE());
  EXPECT_NE(0, BASSHANDLEINUSE());
  EXPECT_EQ(1500, BASSMEDIAGETLENGTH());
  EXPECT_EQ(1, BASSMEDIATYPE(1));
  EXPECT_EQ(0, BASSMEDIATYPE(5));
  char title[64] = {};
  EXPECT_EQ(16, BASSSTREAMNAME(title, sizeof(title)));
  EXPECT_STREQ("Half and quarter", title);
  EXPECT_EQ(0, BASSMUSICNAME(title, sizeof(title)));
  EXPECT_STREQ("", title);
  // Opened, not yet played.
  EXPECT_EQ(0, BASSCHANNELISACTIVE());
  EXPECT_EQ(0xFFFFFFFFu, BASSCHANNELGETLEVEL());
  EXPECT_EQ(0, BASSCHANNELGETPOSITION());

  double started = NowMs();
  ASSERT_EQ(0, BASSPLAY(0, 0));
  EXPECT_EQ(1, BASSCHANNELISACTIVE());
  for (int round = 0; round < 3; ++round) {
    Sleep(250);
    double before = NowMs() - started;
    int32_t position = BASSCHANNELGETPOSITION();
    double after = NowMs() - started;
    EXPECT_GE(position, before - kToleranceMs) << "round " << round;
    EXPECT_LE(position, after + kToleranceMs) << "round " << round;
    uint32_t level = BASSCHANNELGETLEVEL();
    // 50 % and 25 % of full scale, where 128 is full.
    EXPECT_NEAR(64, LeftLevel(level), 3) << std::hex << level;
    EXPECT_NEAR(32, RightLevel(level), 2) << std::hex << level;
  }
  ASSERT_GE(WaitForEnd(3000), 0) << "the stream never ended";
  double total = NowMs() - started;
  EXPECT_GE(total, 1500 - kToleranceMs) << "ends after its length";
  EXPECT_LE(total, 1500 + kLateMs) << "ends after its length";
  EXPECT_EQ(0xFFFFFFFFu, BASSCHANNELGETLEVEL()) << "nothing plays after the end";
  EXPECT_EQ(1500, BASSCHANNELGETPOSITION());
  EXPECT_EQ(1500, BASSMEDIAGETLENGTH());
  EXPECT_NE(0, BASSHANDLEINUSE()) << "the ended stream stays open until closed";
  EXPECT_EQ(1, BASSCLOSE());
  EXPECT_EQ(0, BASSHANDLEINUSE());
  EXPECT_EQ(0, BASSMEDIAGETLENGTH());
}

TEST_F(Playback, EveryPcmLayoutPlaysWithItsLevels) {
  const struct {
    const char* name;
    uint16_t tag;
    uint32_t bits, channels, rate;
    double left, right;
  } cases[] = {
      {"8-bit mono 8000 Hz", 1, 8, 1, 8000, 0.75, 0.75},
      {"16-bit mono 22050 Hz", 1, 16, 1, 22050, 0.5, 0.5},
      {"24-bit stereo 48000 Hz", 1, 24, 2, 48000, 0.9, 0.1},
      {"32-bit stereo 96000 Hz", 1, 32, 2, 96000, 0.25, 0.5},
      {"float stereo 44100 Hz", 3, 32, 2, 44100, 0.6, 0.3},
      {"16-bit stereo 11025 Hz", 1, 16, 2, 11025, 1.0, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Tone tone;
    tone.tag = c.tag;
    tone.bits = c.bits;
    tone.channels = c.channels;
    tone.rate = c.rate;
    tone.frames = c.rate * 2;  // 2 s
    tone.leftPeak = c.left;
    tone.rightPeak = c.right;
    tone.frequency = c.rate / 100.0;  // 100 frames a period: the peak is a sample
    std::string path = Write("layout.wav", wavebuilder::ToneWave(tone));
    ASSERT_EQ(0, BASSOPEN(0, path.c_str())) << BASSERRORGETCODE();
    EXPECT_EQ(2000, BASSMEDIAGETLENGTH());
    int32_t handle = BASSHANDLEINUSE();
    int32_t frequency = 0, channels = 0, flags = -1;
    EXPECT_EQ(1, BASSCHANNELGETINFO(handle, &frequency, &channels, &flags));
    EXPECT_EQ(static_cast<int32_t>(c.rate), frequency);
    EXPECT_EQ(static_cast<int32_t>(c.channels), channels);
    EXPECT_EQ(0, flags) << "delivered as 16-bit samples";
    double started = NowMs();
    ASSERT_EQ(0, BASSPLAY(0, 0));
    Sleep(100);
    uint32_t level = BASSCHANNELGETLEVEL();
    EXPECT_NEAR(c.left * 128, LeftLevel(level), 3) << std::hex << level;
    EXPECT_NEAR(c.right * 128, RightLevel(level), 3) << std::hex << level;
    double before = NowMs() - started;
    int32_t position = BASSCHANNELGETPOSITION();
    double after = NowMs() - started;
    EXPECT_GE(position, before - kToleranceMs);
    EXPECT_LE(position, after + kToleranceMs);
    EXPECT_EQ(1, BASSCLOSE());
  }
}

TEST_F(Playback, PauseHoldsAndStartContinues) {
  std::string path = WriteTone("pause.wav", 3000);
  ASSERT_EQ(0, BASSOPEN(0, path.c_str()));
  double started = NowMs();
  ASSERT_EQ(0, BASSPLAY(0, 0));
  Sleep(300);
  // The players' pause: the output holds.
  ASSERT_EQ(1, BASSPAUSE());
  double played = NowMs() - started;
  int32_t held = BASSCHANNELGETPOSITION();
  EXPECT_NEAR(played, held, kToleranceMs);
  EXPECT_EQ(0, BASSCHANNELISACTIVE()) << "a paused stream does not play";
  EXPECT_EQ(0u, BASSCHANNELGETLEVEL()) << "silence, but not ended";
  Sleep(300);
  EXPECT_EQ(held, BASSCHANNELGETPOSITION());
  double resumed = NowMs();
  ASSERT_EQ(1, BASSSTART());
  EXPECT_EQ(1, BASSCHANNELISACTIVE());
  Sleep(200);
  EXPECT_NEAR(held + (NowMs() - resumed), BASSCHANNELGETPOSITION(), kToleranceMs);
  EXPECT_NEAR(64, LeftLevel(BASSCHANNELGETLEVEL()), 3);

  // The channel's own pause, by its handle.
  int32_t handle = BASSHANDLEINUSE();
  ASSERT_EQ(1, BASSCHANNELPAUSE(handle));
  held = BASSCHANNELGETPOSITION();
  EXPECT_EQ(0, BASSUSECHANNELISACTIVE(handle));
  Sleep(200);
  EXPECT_EQ(held, BASSCHANNELGETPOSITION());
  resumed = NowMs();
  ASSERT_EQ(1, BASSCHANNELRESUME(handle));
  EXPECT_EQ(1, BASSUSECHANNELISACTIVE(handle));
  Sleep(200);
  // Its position in bytes of 16-bit stereo PCM.
  int32_t bytes = BASSUSECHANNELGETPOSITION(handle);
  double expectedMs = held + (NowMs() - resumed);
  EXPECT_NEAR(expectedMs * 44100.0 * 4 / 1000, bytes, kToleranceMs * 44100.0 * 4 / 1000);
  EXPECT_EQ(0, bytes % 4);
}

TEST_F(Playback, SeekingMovesThePositionAndTheLevels) {
  // One second at 50 % / 25 %, then one second at 10 % / 80 %.
  Tone loud;
  loud.frames = 44100;
  Tone other = loud;
  other.leftPeak = 0.1;
  other.rightPeak = 0.8;
  std::string samples = wavebuilder::ToneSamples(loud) + wavebuilder::ToneSamples(other);
  std::string path = Write("two.wav", wavebuilder::Riff(wavebuilder::FmtChunk(1, 2, 44100, 16) +
                                                        wavebuilder::Chunk("data", samples)));
  ASSERT_EQ(0, BASSOPEN(0, path.c_str()));
  EXPECT_EQ(2000, BASSMEDIAGETLENGTH());
  ASSERT_EQ(0, BASSPLAY(0, 0));
  Sleep(100);
  EXPECT_NEAR(64, LeftLevel(BASSCHANNELGETLEVEL()), 3);
  double sought = NowMs();
  ASSERT_EQ(1, BASSCHANNELSETPOSITION(1500));
  EXPECT_NEAR(1500, BASSCHANNELGETPOSITION(), kToleranceMs);
  Sleep(100);
  uint32_t level = BASSCHANNELGETLEVEL();
  EXPECT_NEAR(13, LeftLevel(level), 2) << std::hex << level;
  EXPECT_NEAR(102, RightLevel(level), 3) << std::hex << level;
  ASSERT_GE(WaitForEnd(2000), 0);
  EXPECT_GE(NowMs() - sought, 500 - kToleranceMs) << "the rest after the seek";
  EXPECT_LE(NowMs() - sought, 500 + kLateMs) << "the rest after the seek";

  // Seeking back into the ended stream plays it again from there.
  ASSERT_EQ(1, BASSCHANNELSETPOSITION(1800));
  EXPECT_EQ(1, BASSCHANNELISACTIVE());
  ASSERT_GE(WaitForEnd(1000), 0);
  EXPECT_EQ(2000, BASSCHANNELGETPOSITION());

  // A seek while paused stays paused; positions beyond the end and below 0.
  ASSERT_EQ(0, BASSPLAY(0, 0));
  ASSERT_EQ(1, BASSPAUSE());
  ASSERT_EQ(1, BASSCHANNELSETPOSITION(700));
  Sleep(100);
  EXPECT_EQ(700, BASSCHANNELGETPOSITION());
  EXPECT_EQ(0, BASSCHANNELISACTIVE());
  EXPECT_EQ(0, BASSCHANNELSETPOSITION(-5));
  EXPECT_EQ(kErrorIllegalParameter, BASSERRORGETCODE());
  EXPECT_EQ(1, BASSCHANNELSETPOSITION(99999));
  EXPECT_EQ(2000, BASSCHANNELGETPOSITION());
  ASSERT_EQ(1, BASSSTART());
  EXPECT_EQ(0, BASSCHANNELISACTIVE()) << "at the end";
}

TEST_F(Playback, PlaysTheRangeAsked) {
  std::string path = WriteTone("range.wav", 2000);
  ASSERT_EQ(0, BASSOPEN(0, path.c_str()));
  double started = NowMs();
  ASSERT_EQ(0, BASSPLAY(500, 900));
  EXPECT_NEAR(500, BASSCHANNELGETPOSITION(), kToleranceMs);
  ASSERT_GE(WaitForEnd(2000), 0);
  EXPECT_GE(NowMs() - started, 400 - kToleranceMs);
  EXPECT_LE(NowMs() - started, 400 + kLateMs);
  EXPECT_EQ(900, BASSCHANNELGETPOSITION());
  EXPECT_EQ(0xFFFFFFFFu, BASSCHANNELGETLEVEL());
  // A new play after the end, the range cut to the length.
  ASSERT_EQ(0, BASSPLAY(1900, 5000));
  EXPECT_EQ(1, BASSCHANNELISACTIVE());
  ASSERT_GE(WaitForEnd(1000), 0);
  EXPECT_EQ(2000, BASSCHANNELGETPOSITION());
  // Ranges that are not valid.
  EXPECT_EQ(kErrorIllegalParameter, BASSPLAY(-1, 0));
  EXPECT_EQ(kErrorIllegalParameter, BASSPLAY(800, 700));
  EXPECT_EQ(kErrorIllegalParameter, BASSERRORGETCODE());
  // Playing starts an output that was paused (a new item after a pause).
  ASSERT_EQ(1, BASSPAUSE());
  ASSERT_EQ(0, BASSPLAY(0, 0));
  Sleep(100);
  EXPECT_EQ(1, BASSCHANNELISACTIVE());
  EXPECT_GT(BASSCHANNELGETPOSITION(), 50);
}

TEST_F(Playback, FilesItCannotDecodeFail) {
  std::string mp3 = "ID3\x03";
  mp3.append(6, '\0');
  for (int i = 0; i < 64; ++i) mp3 += "\xFF\xFB\x90\x64" + std::string(60, '\x11');
  std::string adpcm = wavebuilder::Riff(wavebuilder::FmtChunk(2, 2, 44100, 4) +
                                        wavebuilder::Chunk("data", std::string(400, '\x22')));
  std::string garbage;
  for (int i = 0; i < 500; ++i) garbage.push_back(static_cast<char>(i * 37 + 11));
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"song.mp3", mp3},
      {"song.ogg", "OggS" + std::string(100, '\0')},
      {"song.wma", std::string("\x30\x26\xB2\x75\x8E\x66\xCF\x11", 8) + std::string(100, '\0')},
      {"adpcm.wav", adpcm},
      {"garbage.wav", garbage},
      {"tone.mp3", "RIFF" + std::string(4, '\0') + "WAVE"},
  };
  std::string good = WriteTone("good.wav", 500);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = Write(c.name, c.bytes);
    EXPECT_EQ(kErrorFormat, BASSOPEN(0, path.c_str()));
    EXPECT_EQ(kErrorFormat, BASSERRORGETCODE());
    EXPECT_EQ(0, BASSHANDLEINUSE());
    EXPECT_EQ(kErrorNoStream, BASSPLAY(0, 0)) << "nothing to play";
    EXPECT_EQ(0, BASSSTREAMDECODEFILE(path.c_str()));
    EXPECT_EQ(kErrorFormat, BASSERRORGETCODE());
  }
  // A WAV named .mp3 is still a WAV.
  std::string renamed = Write("wave.mp3", wavebuilder::ToneWave(Tone{1, 16, 2, 8000, 800}));
  EXPECT_EQ(0, BASSOPEN(0, renamed.c_str()));
  EXPECT_EQ(100, BASSMEDIAGETLENGTH());
}

TEST_F(Playback, ChannelCallsOnTheCurrentStream) {
  std::string path = WriteTone("channel.wav", 3000);
  ASSERT_EQ(0, BASSOPEN(0, path.c_str()));
  int32_t handle = BASSHANDLEINUSE();
  ASSERT_NE(0, handle);
  ASSERT_EQ(0, BASSPLAY(0, 0));
  // With a stream open an effect update takes (win_effects_test.cpp
  // measures what it does).
  EXPECT_EQ(1, BASSUPDATEREVERB(0));
  EXPECT_EQ(kErrorNone, BASSERRORGETCODE());
  EXPECT_EQ(0, BASSUPDATEEQ(0, 11));
  EXPECT_EQ(kErrorIllegalParameter, BASSERRORGETCODE());
  int32_t frequency = 0, volume = 0, panning = 0;
  ASSERT_EQ(1, BASSCHANNELGETATTRIBUTES(handle, &frequency, &volume, &panning));
  EXPECT_EQ(44100, frequency);
  EXPECT_EQ(100, volume);
  EXPECT_EQ(0, panning);
  // The background sound's volume: frequency and panning kept.
  ASSERT_EQ(1, BASSCHANNELSETATTRIBUTES(handle, -1, 40, -101));
  ASSERT_EQ(1, BASSCHANNELGETATTRIBUTES(handle, &frequency, &volume, &panning));
  EXPECT_EQ(44100, frequency);
  EXPECT_EQ(40, volume);
  EXPECT_EQ(0, panning);
  EXPECT_EQ(0, BASSCHANNELSETATTRIBUTES(handle, -1, 101, -101));
  EXPECT_EQ(kErrorIllegalParameter, BASSERRORGETCODE());
  // Doubling the frequency plays twice as fast.
  int32_t from = BASSCHANNELGETPOSITION();
  double at = NowMs();
  ASSERT_EQ(1, BASSCHANNELSETATTRIBUTES(handle, 88200, -1, -101));
  Sleep(200);
  EXPECT_NEAR(from + 2 * (NowMs() - at), BASSCHANNELGETPOSITION(), 2 * kToleranceMs);
  ASSERT_EQ(1, BASSCHANNELSETATTRIBUTES(handle, 0, -1, -101));
  ASSERT_EQ(1, BASSCHANNELGETATTRIBUTES(handle, &frequency, nullptr, nullptr));
  EXPECT_EQ(44100, frequency) << "0 is the stream's own";
  // A slide to -2 fades out and stops; channel 0 is the current stream.
  int32_t atSlide = BASSCHANNELGETPOSITION();
  double slid = NowMs();
  ASSERT_EQ(1, BASSCHANNELSLIDEATTRIBUTES(0, -1, -2, -101, 1000));
  Sleep(300);
  double before = NowMs() - slid;
  ASSERT_EQ(1, BASSCHANNELGETATTRIBUTES(handle, nullptr, &volume, nullptr));
  double after = NowMs() - slid;
  EXPECT_LE(volume, 40 * (1 - before / 1000) + 1);
  EXPECT_GE(volume, 40 * (1 - after / 1000) - 1);
  if (after < 900) {
    EXPECT_EQ(1, BASSUSECHANNELISACTIVE(handle));
  }
  ASSERT_GE(WaitForEnd(3000), 0);
  EXPECT_GE(NowMs() - slid, 1000 - kToleranceMs) << "stopped after the fade";
  EXPECT_EQ(0, BASSUSECHANNELISACTIVE(handle));
  Sleep(100);
  EXPECT_NEAR(atSlide + 1000, BASSCHANNELGETPOSITION(), kToleranceMs)
      << "stopped where the fade ended";
  EXPECT_EQ(0xFFFFFFFFu, BASSCHANNELGETLEVEL());
  EXPECT_EQ(0, BASSCHANNELGETDATA(handle, &volume, 4)) << "a playing stream gives no data";
  EXPECT_EQ(kErrorHandle, BASSERRORGETCODE());
  // Closing by handle closes the current stream; its handle is gone.
  ASSERT_EQ(1, BASSCLOSECHANNEL(handle));
  EXPECT_EQ(0, BASSHANDLEINUSE());
  EXPECT_EQ(0, BASSCHANNELPAUSE(handle));
  EXPECT_EQ(kErrorHandle, BASSERRORGETCODE());
  // A new stream gets a new handle.
  ASSERT_EQ(0, BASSOPEN(0, path.c_str()));
  EXPECT_NE(handle, BASSHANDLEINUSE());
  ASSERT_EQ(1, BASSFREE());
  EXPECT_EQ(0, BASSHANDLEINUSE()) << "freeing the output closes the stream";
}

TEST_F(Playback, DecodingStreamDeliversPcm) {
  // 8-bit mono: each sample comes back as 16-bit, (value - 128) * 256.
  std::string samples = {'\x80', '\xFF', '\x00', '\xC0', '\x40'};
  std::string path = Write("decode.wav", wavebuilder::Riff(wavebuilder::FmtChunk(1, 1, 8000, 8) +
                                                          wavebuilder::Chunk("data", samples)));
  int32_t stream = BASSSTREAMDECODEFILE(path.c_str());
  ASSERT_NE(0, stream) << BASSERRORGETCODE();
  EXPECT_EQ(10, BASSSTREAMGETLENGTH(stream));
  EXPECT_EQ(1, BASSUSECHANNELISACTIVE(stream));
  int16_t out[8] = {};
  EXPECT_EQ(0, BASSCHANNELGETDATA(stream, out, 1)) << "less than a frame";
  EXPECT_EQ(kErrorIllegalParameter, BASSERRORGETCODE());
  EXPECT_EQ(6, BASSCHANNELGETDATA(stream, out, 6));
  EXPECT_EQ(6, BASSUSECHANNELGETPOSITION(stream));
  EXPECT_EQ(4, BASSCHANNELGETDATA(stream, out + 3, 100));
  const int16_t expected[5] = {0, 127 * 256, -128 * 256, 64 * 256, -64 * 256};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(expected[i], out[i]) << i;
  EXPECT_EQ(0, BASSUSECHANNELISACTIVE(stream));
  EXPECT_EQ(0, BASSCHANNELGETDATA(stream, out, 100));
  EXPECT_EQ(kErrorNone, BASSERRORGETCODE()) << "the end is no error";
  int32_t frequency = 0, channels = 0, flags = -1;
  EXPECT_EQ(1, BASSCHANNELGETINFO(stream, &frequency, &channels, &flags));
  EXPECT_EQ(8000, frequency);
  EXPECT_EQ(1, channels);
  EXPECT_EQ(0, flags);
  frequency = -1;
  EXPECT_EQ(1, BASSCHANNELGETATTRIBUTES(stream, &frequency, nullptr, nullptr));
  EXPECT_EQ(8000, frequency);
  EXPECT_EQ(0, BASSCHANNELPAUSE(stream)) << "a decoding stream does not play";
  EXPECT_EQ(0, BASSENCODESTART(stream, "no-such-encoder.exe - out.mp3", 0));
  EXPECT_EQ(kErrorFileOpen, BASSERRORGETCODE()) << "a program that does not start feeds nothing";
  EXPECT_EQ(1, BASSSTREAMFREE(stream));
  EXPECT_EQ(-1, BASSSTREAMGETLENGTH(stream));
  EXPECT_EQ(kErrorHandle, BASSERRORGETCODE());
}

}  // namespace
