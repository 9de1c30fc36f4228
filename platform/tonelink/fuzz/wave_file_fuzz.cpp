// Fuzz target for the WAV reader: any bytes as a file; what it accepts must
// be consistent with the file and decode and measure without reading past it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tonelink::MemorySource source(data, size);
  tonelink::WaveInfo info;
  if (tonelink::ParseWave(source, &info) != tonelink::WaveParseResult::kOk) return 0;
  const tonelink::WaveFormat& format = info.format;
  if (format.channels < 1 || format.channels > 2 || format.bytesPerFrame == 0) std::abort();
  if (info.dataOffset > size) std::abort();
  if (info.frameCount * format.bytesPerFrame > size - info.dataOffset) std::abort();
  if (info.title.size() > tonelink::kMaxWaveTitle) std::abort();
  size_t frames = static_cast<size_t>(info.frameCount);
  const uint8_t* samples = data + info.dataOffset;
  std::vector<int16_t> pcm(frames * format.channels);
  tonelink::DecodeToPcm16(samples, frames, format, pcm.data());
  tonelink::PeakLevels peaks = tonelink::MeasurePeaks(samples, frames, format);
  if (peaks.left > tonelink::kLevelFullScale || peaks.right > tonelink::kLevelFullScale) {
    std::abort();
  }
  return 0;
}
