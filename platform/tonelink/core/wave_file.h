// Reading PCM WAV files: the RIFF chunk walk that finds the sample format,
// the sample data and the title, and the conversion of the stored samples
// to what the library plays (16-bit PCM) and measures (the peak level).
//
// Accepted: RIFF "WAVE" files whose "fmt " chunk is integer PCM of 8, 16,
// 24 or 32 bits or IEEE float of 32 bits (format tag 1 or 3, or the
// extensible tag 0xFFFE with the PCM or float sub-format), with one or two
// channels, at any rate from 1 Hz to kMaxWaveRate.  Everything else (other
// codecs, big-endian RIFX, more channels) is "not supported".
//
// Every length read from the file is checked against the file's size: a
// chunk may be followed by one pad byte when its size is odd, a data chunk
// may declare more bytes than the file holds (a recording cut short, or a
// writer that left 0xFFFFFFFF), and then the data ends with the file, at a
// whole frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tonelink {

inline constexpr uint32_t kMaxWaveRate = 1000000;
// The longest title kept from a LIST/INFO "INAM" chunk.
inline constexpr size_t kMaxWaveTitle = 255;

// Random access to a file's bytes.  ReadAt returns how many bytes it copied
// (fewer at the end of the file, 0 past it or on a read error).
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  virtual size_t ReadAt(uint64_t offset, void* out, size_t size) = 0;
};

// A source over bytes in memory (tests, the fuzz target).
class MemorySource : public ByteSource {
 public:
  MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, void* out, size_t size) override;

 private:
  const uint8_t* data_;
  size_t size_;
};

enum class SampleEncoding { kInteger, kFloat };

struct WaveFormat {
  SampleEncoding encoding = SampleEncoding::kInteger;
  uint32_t channels = 0;        // 1 or 2
  uint32_t sampleRate = 0;      // frames per second
  uint32_t bitsPerSample = 0;   // 8, 16, 24, 32
  uint32_t bytesPerFrame = 0;   // channels * bitsPerSample / 8
};

struct WaveInfo {
  WaveFormat format;
  uint64_t dataOffset = 0;  // of the first sample in the file
  uint64_t frameCount = 0;  // whole frames present in the file
  std::string title;        // from LIST/INFO "INAM", "" when none
};

enum class WaveParseResult {
  kOk,
  kNotWave,         // not RIFF/WAVE, or no "fmt " or "data" chunk within the file
  kUnsupported,     // a WAV file in a format this library does not decode
};

WaveParseResult ParseWave(ByteSource& source, WaveInfo* info);

// Converts `frameCount` frames of `format` from `bytes` to interleaved
// 16-bit samples (the same channel count) in `out`.  Floats are clamped to
// -1..1; wider integers keep their top 16 bits; 8-bit samples are unsigned.
void DecodeToPcm16(const uint8_t* bytes, size_t frameCount, const WaveFormat& format,
                   int16_t* out);

// The level of a channel as the players draw it: 0 silence to
// kLevelFullScale a sample at full scale (the level meter counts 128 as
// full).
inline constexpr uint32_t kLevelFullScale = 128;

struct PeakLevels {
  uint32_t left = 0;
  uint32_t right = 0;  // a mono file gives its one channel to both sides
};

// The peak of each channel over `frameCount` frames, scaled to
// 0..kLevelFullScale and rounded to the nearest step.
PeakLevels MeasurePeaks(const uint8_t* bytes, size_t frameCount, const WaveFormat& format);

// The level word of BASSCHANNELGETLEVEL: left in the low 16 bits, right in
// the high 16 bits.
inline uint32_t LevelWord(const PeakLevels& levels) {
  return (levels.left & 0xFFFFu) | ((levels.right & 0xFFFFu) << 16);
}

}  // namespace tonelink
