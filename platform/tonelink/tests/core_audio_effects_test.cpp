// The effects chain on known signals: equalizer bands measured at their
// centres, echo and reverb on an impulse, the sweeps of chorus, flanger and
// rotate on a steady tone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio_effects.h"

namespace tonelink {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kRate = 44100;

std::vector<float> Sine(double hz, double amplitude, size_t frames, uint32_t channels = 1) {
  std::vector<float> samples(frames * channels);
  for (size_t f = 0; f < frames; ++f) {
    const float value = static_cast<float>(amplitude * std::sin(2.0 * kPi * hz * f / kRate));
    for (uint32_t c = 0; c < channels; ++c) samples[f * channels + c] = value;
  }
  return samples;
}

// The peak of channel `channel` over frames [from, to).
double Peak(const std::vector<float>& samples, size_t from, size_t to, uint32_t channels = 1,
            uint32_t channel = 0) {
  double peak = 0;
  for (size_t f = from; f < to; ++f) peak = std::max(peak, std::fabs(double{samples[f * channels + channel]}));
  return peak;
}

double Db(double ratio) { return 20.0 * std::log10(ratio); }

// The steady-state gain in dB of the chain for a sine of `hz`.
double GainDb(const EffectSettings& settings, double hz) {
  const double amplitude = 0.1;
  std::vector<float> samples = Sine(hz, amplitude, kRate);
  EffectChain chain(settings, kRate, 1);
  chain.Process(samples.data(), kRate, 0);
  return Db(Peak(samples, kRate / 2, kRate) / amplitude);
}

TEST(AudioEffects, BandPositionsAreDecibels) {
  struct Case {
    int32_t position;
    double db;
  };
  const Case cases[] = {{50, 0.0}, {10, -12.0}, {90, 12.0}, {0, -15.0}, {100, 15.0}, {-5, -15.0}, {200, 15.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    EXPECT_DOUBLE_EQ(BandGainDb(c.position), c.db);
  }
}

TEST(AudioEffects, NeutralSettings) {
  EffectSettings flat;
  EXPECT_TRUE(flat.IsNeutral());
  EffectSettings bandsButOff;
  bandsButOff.bands[4] = 10;
  EXPECT_TRUE(bandsButOff.IsNeutral()) << "the equalizer is off";
  EffectSettings onButFlat;
  onButFlat.equalizerOn = true;
  EXPECT_TRUE(onButFlat.IsNeutral());
  EffectSettings on = onButFlat;
  on.bands[4] = 10;
  EXPECT_FALSE(on.IsNeutral());
  EffectSettings echo;
  echo.echo = true;
  EXPECT_FALSE(echo.IsNeutral());
}

// Each band, moved down 12 dB, lowers a tone at its own centre by 12 dB;
// the 1 kHz band leaves a 100 Hz tone alone.
TEST(AudioEffects, EachBandActsAtItsCentre) {
  for (size_t band = 0; band < kEqualizerBands; ++band) {
    SCOPED_TRACE(kBandFrequencies[band]);
    EffectSettings settings;
    settings.equalizerOn = true;
    settings.bands[band] = 10;
    EXPECT_NEAR(GainDb(settings, kBandFrequencies[band]), -12.0, 0.3);
    settings.bands[band] = 90;
    EXPECT_NEAR(GainDb(settings, kBandFrequencies[band]), 12.0, 0.3);
  }
  EffectSettings oneK;
  oneK.equalizerOn = true;
  oneK.bands[4] = 10;
  EXPECT_NEAR(GainDb(oneK, 100.0), 0.0, 0.5);
  oneK.equalizerOn = false;
  EXPECT_NEAR(GainDb(oneK, 1000.0), 0.0, 0.05) << "the bands act only with the equalizer on";
}

TEST(AudioEffects, BandsAboveTheRatesReachAreLeftOut) {
  EffectSettings settings;
  settings.equalizerOn = true;
  settings.bands.fill(0);
  std::vector<float> samples = Sine(5000, 0.1, 22050);
  EffectChain chain(settings, 11025, 1);  // 6K and up are out of reach
  chain.Process(samples.data(), 22050, 0);
  for (float s : samples) ASSERT_TRUE(std::isfinite(s));
}

TEST(AudioEffects, EchoRepeatsAfterItsDelay) {
  EffectSettings settings;
  settings.echo = true;
  std::vector<float> samples(kRate, 0.0f);
  samples[0] = 1.0f;
  EffectChain chain(settings, kRate, 1);
  chain.Process(samples.data(), samples.size(), 0);
  const size_t delay = kRate / 4;  // 250 ms
  EXPECT_FLOAT_EQ(samples[0], 1.0f);
  EXPECT_NEAR(samples[delay], 0.5, 1e-6);
  EXPECT_NEAR(samples[2 * delay], 0.2, 1e-6);
  EXPECT_NEAR(Peak(samples, 1, delay - 1), 0.0, 1e-9) << "silence before the first repeat";
}

TEST(AudioEffects, ReverbLeavesADecayingTail) {
  EffectSettings settings;
  settings.reverb = true;
  std::vector<float> samples(2 * kRate, 0.0f);
  for (size_t f = 0; f < kRate / 10; ++f) samples[f] = static_cast<float>(0.5 * std::sin(2 * kPi * 440 * f / kRate));
  EffectChain chain(settings, kRate, 1);
  chain.Process(samples.data(), samples.size(), 0);
  const size_t end = kRate / 10;
  const double soon = Peak(samples, end + kRate / 20, end + kRate / 10);
  const double late = Peak(samples, end + kRate * 3 / 2, 2 * kRate);
  EXPECT_GT(soon, 0.01) << "a tail after the sound stops";
  EXPECT_LT(late, soon / 100) << "that dies away";
}

// A swept delay mixed with the sound makes a steady tone rise and fall.
TEST(AudioEffects, ChorusAndFlangerSweepASteadyTone) {
  struct Case {
    const char* name;
    bool chorus, flanger;
  };
  const Case cases[] = {{"chorus", true, false}, {"flanger", false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EffectSettings settings;
    settings.chorus = c.chorus;
    settings.flanger = c.flanger;
    const size_t frames = 4 * kRate;
    std::vector<float> samples = Sine(1000, 0.5, frames);
    EffectChain chain(settings, kRate, 1);
    chain.Process(samples.data(), frames, 0);
    double lowest = 1, highest = 0;
    for (size_t at = kRate / 10; at + kRate / 50 < frames; at += kRate / 50) {
      const double peak = Peak(samples, at, at + kRate / 50);
      lowest = std::min(lowest, peak);
      highest = std::max(highest, peak);
    }
    EXPECT_GT(highest, 2 * lowest) << highest << " / " << lowest;
  }
}

TEST(AudioEffects, RotateMovesAStereoSoundBetweenTheSides) {
  EffectSettings settings;
  settings.rotate = true;
  const size_t frames = 4 * kRate;  // one turn
  std::vector<float> samples = Sine(1000, 0.5, frames, 2);
  EffectChain chain(settings, kRate, 2);
  chain.Process(samples.data(), frames, 0);
  const size_t window = kRate / 50;
  // A quarter turn in: all right; three quarters: all left.
  EXPECT_NEAR(Peak(samples, kRate - window / 2, kRate + window / 2, 2, 0), 0.0, 0.02);
  EXPECT_NEAR(Peak(samples, kRate - window / 2, kRate + window / 2, 2, 1), 0.5 * std::sqrt(2.0), 0.02);
  EXPECT_NEAR(Peak(samples, 3 * kRate - window / 2, 3 * kRate + window / 2, 2, 0), 0.5 * std::sqrt(2.0), 0.02);
  EXPECT_NEAR(Peak(samples, 3 * kRate - window / 2, 3 * kRate + window / 2, 2, 1), 0.0, 0.02);

  std::vector<float> mono = Sine(1000, 0.5, kRate);
  std::vector<float> before = mono;
  EffectChain monoChain(settings, kRate, 1);
  monoChain.Process(mono.data(), kRate, 0);
  EXPECT_EQ(mono, before) << "a mono sound has no sides to move between";
}

// The chain keeps its memory between calls: a stream played in pieces
// sounds as one, and the sweeps follow the stream position.
TEST(AudioEffects, PiecesSoundAsOne) {
  EffectSettings settings;
  settings.equalizerOn = true;
  settings.bands = {20, 80, 30, 70, 10, 90, 40, 60, 50, 50};
  settings.chorus = settings.flanger = settings.echo = settings.reverb = settings.rotate = true;
  const size_t frames = kRate / 2;
  std::vector<float> whole = Sine(700, 0.3, frames, 2);
  std::vector<float> pieces = whole;
  EffectChain one(settings, kRate, 2);
  one.Process(whole.data(), frames, 1000);
  EffectChain two(settings, kRate, 2);
  two.Process(pieces.data(), 12345, 1000);
  two.Process(pieces.data() + 2 * 12345, frames - 12345, 1000 + 12345);
  EXPECT_EQ(whole, pieces);
  for (float s : whole) ASSERT_LE(std::fabs(s), 1.0f);
}

TEST(AudioEffects, SettleTimeCoversTheLongestMemory) {
  EffectSettings settings;
  EXPECT_EQ(SettleFrames(settings, kRate), kRate / 10);
  settings.echo = true;
  EXPECT_GE(SettleFrames(settings, kRate), kRate);
  settings.echo = false;
  settings.reverb = true;
  EXPECT_GE(SettleFrames(settings, kRate), kRate);
}

TEST(AudioEffects, FloatPeaksAndConversions) {
  const std::vector<float> stereo = {0.5f, -0.25f, -1.0f, 0.0f};
  PeakLevels levels = MeasureFloatPeaks(stereo.data(), 2, 2);
  EXPECT_EQ(levels.left, 128u);
  EXPECT_EQ(levels.right, 32u);
  levels = MeasureFloatPeaks(stereo.data(), 4, 1);
  EXPECT_EQ(levels.left, levels.right);
  EXPECT_EQ(ToPcm16(1.5f), 32767);
  EXPECT_EQ(ToPcm16(-1.5f), -32767);
  EXPECT_EQ(ToPcm16(0.0f), 0);
  EXPECT_FLOAT_EQ(ToFloat({-32768, 16384})[0], -1.0f);
  EXPECT_FLOAT_EQ(ToFloat({-32768, 16384})[1], 0.5f);
}

}  // namespace
}  // namespace tonelink
