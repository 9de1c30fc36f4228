// The effects chain; see audio_effects.h.
//
// Equalizer: one peaking biquad per band that is not flat (the audio
// cookbook's design), Q 1.2, so a band's gain is exact at its centre and
// its neighbours at flat leave that centre alone.  Bands at or above 45 %
// of the rate are left out.
// Chorus: the sound mixed with a copy delayed 15-25 ms, the delay swept at
// 0.8 Hz.  Flanger: a copy delayed 1-5 ms swept at 0.3 Hz with feedback.
// Echo: a 250 ms delay with feedback 0.4, mixed at half strength.  Reverb:
// four parallel comb filters and two all-pass filters (a Schroeder
// reverberator) mixed at 0.3.  Rotate: a stereo sound moved round between
// the two sides at 0.25 Hz (a mono sound has no sides to move between).
#include "audio_effects.h"

#include <algorithm>
#include <cmath>

namespace tonelink {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kBandQ = 1.2;
constexpr double kHighestBandFraction = 0.45;

constexpr double kChorusBaseMs = 20.0, kChorusDepthMs = 5.0, kChorusHz = 0.8;
constexpr double kFlangerBaseMs = 3.0, kFlangerDepthMs = 2.0, kFlangerHz = 0.3, kFlangerFeedback = 0.5;
constexpr double kEchoMs = 250.0, kEchoFeedback = 0.4, kEchoMix = 0.5;
constexpr std::array<double, 4> kCombMs = {29.7, 37.1, 41.1, 43.7};
constexpr double kCombFeedback = 0.75;
constexpr std::array<double, 2> kAllPassMs = {5.0, 1.7};
constexpr double kAllPassGain = 0.7;
constexpr double kReverbMix = 0.3;
constexpr double kRotateHz = 0.25;

size_t FramesOf(double ms, uint32_t rate) {
  return std::max<size_t>(2, static_cast<size_t>(std::ceil(ms * rate / 1000.0)) + 2);
}

double Phase(uint64_t frame, uint32_t rate, double hz) {
  // The whole cycles are dropped first, so long streams keep precision.
  const double period = rate / hz;
  const double within = std::fmod(static_cast<double>(frame), period);
  return 2.0 * kPi * within / period;
}

}  // namespace

bool EffectSettings::IsNeutral() const {
  bool equalizes = false;
  if (equalizerOn) {
    for (int32_t band : bands) equalizes = equalizes || BandGainDb(band) != 0.0;
  }
  return !equalizes && !reverb && !chorus && !flanger && !echo && !rotate;
}

double BandGainDb(int32_t position) {
  return (std::clamp(position, 0, 100) - kFlatPosition) * kDbPerStep;
}

uint64_t SettleFrames(const EffectSettings& settings, uint32_t rate) {
  double ms = 100.0;  // filters and the short delays settle within this
  if (settings.echo) ms = std::max(ms, 1250.0);     // five repeats
  if (settings.reverb) ms = std::max(ms, 1200.0);   // the combs' tail to -60 dB
  return static_cast<uint64_t>(ms * rate / 1000.0);
}

void EffectChain::DelayLine::Push(float sample) {
  buffer[at] = sample;
  at = (at + 1) % buffer.size();
}

float EffectChain::DelayLine::Read(double delay) const {
  const size_t size = buffer.size();
  delay = std::clamp(delay, 1.0, static_cast<double>(size - 1));
  const size_t whole = static_cast<size_t>(delay);
  const double fraction = delay - static_cast<double>(whole);
  const float a = buffer[(at + size - whole) % size];
  const float b = buffer[(at + size - whole - 1) % size];
  return static_cast<float>(a + (b - a) * fraction);
}

EffectChain::EffectChain(const EffectSettings& settings, uint32_t rate, uint32_t channels)
    : settings_(settings), rate_(std::max<uint32_t>(rate, 1)), channels_(std::max<uint32_t>(channels, 1)) {
  if (settings_.equalizerOn) {
    for (size_t i = 0; i < kEqualizerBands; ++i) {
      const double gain = BandGainDb(settings_.bands[i]);
      const double frequency = kBandFrequencies[i];
      if (gain == 0.0 || frequency >= kHighestBandFraction * rate_) continue;
      const double a = std::pow(10.0, gain / 40.0);
      const double w0 = 2.0 * kPi * frequency / rate_;
      const double alpha = std::sin(w0) / (2.0 * kBandQ);
      const double a0 = 1.0 + alpha / a;
      Biquad band;
      band.b0 = (1.0 + alpha * a) / a0;
      band.b1 = -2.0 * std::cos(w0) / a0;
      band.b2 = (1.0 - alpha * a) / a0;
      band.a1 = band.b1;
      band.a2 = (1.0 - alpha / a) / a0;
      bands_.push_back(band);
    }
  }
  bandStates_.assign(channels_, std::vector<BiquadState>(bands_.size()));
  chorusLines_.resize(channels_);
  flangerLines_.resize(channels_);
  echoLines_.resize(channels_);
  combs_.resize(channels_);
  allPasses_.resize(channels_);
  for (size_t i = 0; i < combLengths_.size(); ++i) combLengths_[i] = FramesOf(kCombMs[i], rate_) - 2;
  for (size_t i = 0; i < allPassLengths_.size(); ++i) allPassLengths_[i] = FramesOf(kAllPassMs[i], rate_) - 2;
  for (size_t c = 0; c < channels_; ++c) {
    if (settings_.chorus) chorusLines_[c].Resize(FramesOf(kChorusBaseMs + kChorusDepthMs, rate_));
    if (settings_.flanger) flangerLines_[c].Resize(FramesOf(kFlangerBaseMs + kFlangerDepthMs, rate_));
    if (settings_.echo) echoLines_[c].Resize(FramesOf(kEchoMs, rate_));
    if (settings_.reverb) {
      // Each line holds exactly its delay: the oldest sample is the one
      // that comes back.
      for (size_t i = 0; i < combLengths_.size(); ++i) combs_[c][i].Resize(combLengths_[i]);
      for (size_t i = 0; i < allPassLengths_.size(); ++i) allPasses_[c][i].Resize(allPassLengths_[i]);
    }
  }
}

float EffectChain::Equalize(float sample, size_t channel) {
  double x = sample;
  std::vector<BiquadState>& states = bandStates_[channel];
  for (size_t i = 0; i < bands_.size(); ++i) {
    const Biquad& f = bands_[i];
    BiquadState& s = states[i];
    const double y = f.b0 * x + f.b1 * s.x1 + f.b2 * s.x2 - f.a1 * s.y1 - f.a2 * s.y2;
    s.x2 = s.x1;
    s.x1 = x;
    s.y2 = s.y1;
    s.y1 = y;
    x = y;
  }
  return static_cast<float>(x);
}

float EffectChain::Chorus(float sample, size_t channel, uint64_t frame) {
  DelayLine& line = chorusLines_[channel];
  const double delayMs = kChorusBaseMs + kChorusDepthMs * std::sin(Phase(frame, rate_, kChorusHz));
  const float delayed = line.Read(delayMs * rate_ / 1000.0);
  line.Push(sample);
  return 0.5f * sample + 0.5f * delayed;
}

float EffectChain::Flanger(float sample, size_t channel, uint64_t frame) {
  DelayLine& line = flangerLines_[channel];
  const double delayMs = kFlangerBaseMs + kFlangerDepthMs * std::sin(Phase(frame, rate_, kFlangerHz));
  // The line holds the sound with its feedback.
  const float delayed = line.Read(delayMs * rate_ / 1000.0);
  line.Push(static_cast<float>(sample + kFlangerFeedback * delayed));
  return 0.5f * sample + 0.5f * delayed;
}

float EffectChain::Echo(float sample, size_t channel) {
  DelayLine& line = echoLines_[channel];
  const float delayed = line.Read(kEchoMs * rate_ / 1000.0);
  line.Push(static_cast<float>(sample + kEchoFeedback * delayed));
  return static_cast<float>(sample + kEchoMix * delayed);
}

float EffectChain::Reverb(float sample, size_t channel) {
  double wet = 0.0;
  for (size_t i = 0; i < combLengths_.size(); ++i) {
    DelayLine& comb = combs_[channel][i];
    const float back = comb.buffer[comb.at];  // the oldest: one whole delay ago
    comb.Push(static_cast<float>(sample + kCombFeedback * back));
    wet += back;
  }
  wet *= 0.25;
  for (size_t i = 0; i < allPassLengths_.size(); ++i) {
    DelayLine& pass = allPasses_[channel][i];
    const float back = pass.buffer[pass.at];
    const double in = wet;
    wet = -kAllPassGain * in + back;
    pass.Push(static_cast<float>(in + kAllPassGain * wet));
  }
  return static_cast<float>(sample + kReverbMix * wet);
}

void EffectChain::Rotate(float* frame, uint64_t position) {
  if (channels_ < 2) return;
  const double middle = 0.5 * (frame[0] + frame[1]);
  // Round between full left and full right, both sides equal in between.
  const double angle = kPi / 4.0 + kPi / 4.0 * std::sin(Phase(position, rate_, kRotateHz));
  frame[0] = static_cast<float>(middle * std::sqrt(2.0) * std::cos(angle));
  frame[1] = static_cast<float>(middle * std::sqrt(2.0) * std::sin(angle));
}

void EffectChain::Process(float* samples, size_t frames, uint64_t firstFrame) {
  for (size_t f = 0; f < frames; ++f) {
    float* frame = samples + f * channels_;
    const uint64_t position = firstFrame + f;
    for (size_t c = 0; c < channels_; ++c) {
      float s = frame[c];
      if (!bands_.empty()) s = Equalize(s, c);
      if (settings_.chorus) s = Chorus(s, c, position);
      if (settings_.flanger) s = Flanger(s, c, position);
      if (settings_.echo) s = Echo(s, c);
      if (settings_.reverb) s = Reverb(s, c);
      frame[c] = s;
    }
    if (settings_.rotate) Rotate(frame, position);
    for (size_t c = 0; c < channels_; ++c) frame[c] = std::clamp(frame[c], -1.0f, 1.0f);
  }
}

PeakLevels MeasureFloatPeaks(const float* samples, size_t frames, uint32_t channels) {
  double peak[2] = {0.0, 0.0};
  for (size_t f = 0; f < frames; ++f) {
    for (uint32_t c = 0; c < channels && c < 2; ++c) {
      peak[c] = std::max(peak[c], static_cast<double>(std::fabs(samples[f * channels + c])));
    }
  }
  if (channels == 1) peak[1] = peak[0];
  auto scale = [](double fraction) {
    const double level = std::round(fraction * kLevelFullScale);
    return static_cast<uint32_t>(std::clamp(level, 0.0, static_cast<double>(kLevelFullScale)));
  };
  return PeakLevels{scale(peak[0]), scale(peak[1])};
}

std::vector<float> ToFloat(const std::vector<int16_t>& samples) {
  std::vector<float> out(samples.size());
  for (size_t i = 0; i < samples.size(); ++i) out[i] = static_cast<float>(samples[i] / 32768.0);
  return out;
}

int16_t ToPcm16(float sample) {
  const double scaled = std::round(static_cast<double>(std::clamp(sample, -1.0f, 1.0f)) * 32767.0);
  return static_cast<int16_t>(std::clamp(scaled, -32768.0, 32767.0));
}

}  // namespace tonelink
