// The effects the library applies to the sound it plays: a 10-band
// equalizer (peaking biquad filters at the effects panel's frequencies)
// and five effects (reverb, chorus, flanger, echo, rotate), in that order
// after the equalizer.  The settings come from the effects panel's
// controls; this file only turns settings and samples into samples.
//
// Every effect that varies in time (the sweeps of chorus, flanger and
// rotate) takes its phase from the stream position of the sample, not from
// a clock, so the level the library reports for a position and the sound
// the device plays there are the same.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "wave_file.h"

namespace tonelink {

inline constexpr size_t kEqualizerBands = 10;
// The bands' centre frequencies in Hz, lowest first (the panel's labels
// "80" ... "14K").
inline constexpr std::array<double, kEqualizerBands> kBandFrequencies = {
    80, 170, 310, 600, 1000, 3000, 6000, 10000, 12000, 14000};
// A band's track bar runs 0-100 with 50 flat; each step is this many dB,
// so the bar spans -15 to +15 dB.
inline constexpr double kDbPerStep = 0.3;
inline constexpr int32_t kFlatPosition = 50;

struct EffectSettings {
  bool equalizerOn = false;
  std::array<int32_t, kEqualizerBands> bands = {50, 50, 50, 50, 50, 50, 50, 50, 50, 50};
  bool reverb = false;
  bool chorus = false;
  bool flanger = false;
  bool echo = false;
  bool rotate = false;

  // Nothing changes the sound.
  bool IsNeutral() const;
  bool operator==(const EffectSettings& other) const = default;
};

// The gain of a band's track bar position (kept within 0-100).
double BandGainDb(int32_t position);

// How many frames before a stretch of sound the chain must start so that
// what it gives for the stretch no longer depends on where it started
// (the longest memory of the effects in force).
uint64_t SettleFrames(const EffectSettings& settings, uint32_t rate);

// The effects of one setting on one stream's sound: interleaved float
// samples of `channels` channels at `rate`, full scale at +-1.
class EffectChain {
 public:
  EffectChain(const EffectSettings& settings, uint32_t rate, uint32_t channels);

  // Processes `frames` frames in place; `firstFrame` is the stream position
  // of the first one.  The chain keeps its memory from call to call, so
  // consecutive stretches sound as one.  Output is kept within +-1.
  void Process(float* samples, size_t frames, uint64_t firstFrame);

  const EffectSettings& settings() const { return settings_; }

 private:
  struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
  };
  struct BiquadState {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  };
  // A delay line per channel, read at a fractional delay.
  struct DelayLine {
    std::vector<float> buffer;
    size_t at = 0;
    void Resize(size_t length) { buffer.assign(length, 0.0f); at = 0; }
    void Push(float sample);
    // The sample `delay` samples before the one about to be pushed (1 = the
    // last pushed).
    float Read(double delay) const;
  };

  float Equalize(float sample, size_t channel);
  float Chorus(float sample, size_t channel, uint64_t frame);
  float Flanger(float sample, size_t channel, uint64_t frame);
  float Echo(float sample, size_t channel);
  float Reverb(float sample, size_t channel);
  void Rotate(float* frame, uint64_t position);

  EffectSettings settings_;
  uint32_t rate_;
  uint32_t channels_;
  std::vector<Biquad> bands_;                   // the bands that change anything
  std::vector<std::vector<BiquadState>> bandStates_;  // [channel][band]
  std::vector<DelayLine> chorusLines_, flangerLines_, echoLines_;
  std::vector<std::array<DelayLine, 4>> combs_;
  std::vector<std::array<DelayLine, 2>> allPasses_;
  std::array<size_t, 4> combLengths_{};
  std::array<size_t, 2> allPassLengths_{};
};

// The peak of each channel of interleaved float samples, scaled as
// MeasurePeaks scales a file's samples (0..kLevelFullScale).
PeakLevels MeasureFloatPeaks(const float* samples, size_t frames, uint32_t channels);

// 16-bit samples as floats (full scale +-1) and back (rounded, clamped).
std::vector<float> ToFloat(const std::vector<int16_t>& samples);
int16_t ToPcm16(float sample);

}  // namespace tonelink
