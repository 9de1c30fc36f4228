// Reading PCM WAV files; see wave_file.h.
#include "wave_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tonelink {

namespace {

// Bounds the walk over a file of many tiny chunks.
constexpr int kMaxChunks = 4096;

constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagFloat = 3;
constexpr uint16_t kTagExtensible = 0xFFFE;
// The sub-format GUID of the extensible header after its first two bytes
// (which hold the plain format tag).
constexpr uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                   0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool IsId(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

bool ReadExactly(ByteSource& source, uint64_t offset, void* out, size_t size) {
  return source.ReadAt(offset, out, size) == size;
}

enum class FmtResult { kOk, kMalformed, kUnsupported };

FmtResult ReadFmt(ByteSource& source, uint64_t body, uint64_t available, uint32_t declared,
                  WaveFormat* format) {
  uint8_t fmt[40] = {};
  uint64_t present = std::min<uint64_t>(declared, available);
  if (declared < 16 || present < 16) return FmtResult::kMalformed;
  size_t wanted = static_cast<size_t>(std::min<uint64_t>(present, sizeof(fmt)));
  if (!ReadExactly(source, body, fmt, wanted)) return FmtResult::kMalformed;
  uint16_t tag = Le16(fmt);
  uint32_t channels = Le16(fmt + 2);
  uint32_t rate = Le32(fmt + 4);
  uint32_t blockAlign = Le16(fmt + 12);
  uint32_t bits = Le16(fmt + 14);
  if (tag == kTagExtensible) {
    if (wanted < 40 || Le16(fmt + 16) < 22) return FmtResult::kMalformed;
    if (std::memcmp(fmt + 26, kGuidTail, sizeof(kGuidTail)) != 0) return FmtResult::kUnsupported;
    tag = Le16(fmt + 24);
  }
  if (tag == kTagPcm) {
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return FmtResult::kUnsupported;
    format->encoding = SampleEncoding::kInteger;
  } else if (tag == kTagFloat) {
    if (bits != 32) return FmtResult::kUnsupported;
    format->encoding = SampleEncoding::kFloat;
  } else {
    return FmtResult::kUnsupported;
  }
  if (channels < 1 || channels > 2) return FmtResult::kUnsupported;
  if (rate < 1 || rate > kMaxWaveRate) return FmtResult::kUnsupported;
  uint32_t bytesPerFrame = channels * bits / 8;
  // Samples padded into wider containers are not decoded.
  if (blockAlign != 0 && blockAlign != bytesPerFrame) return FmtResult::kUnsupported;
  format->channels = channels;
  format->sampleRate = rate;
  format->bitsPerSample = bits;
  format->bytesPerFrame = bytesPerFrame;
  return FmtResult::kOk;
}

// The "INAM" entry of a LIST/INFO chunk, if any.
void ReadInfoTitle(ByteSource& source, uint64_t body, uint64_t size, std::string* title) {
  uint8_t type[4];
  if (size < 4 || !ReadExactly(source, body, type, 4) || !IsId(type, "INFO")) return;
  uint64_t pos = body + 4;
  uint64_t end = body + size;
  for (int n = 0; n < kMaxChunks && end - pos >= 8; ++n) {
    uint8_t header[8];
    if (!ReadExactly(source, pos, header, 8)) return;
    uint32_t length = Le32(header + 4);
    uint64_t valueAt = pos + 8;
    uint64_t present = std::min<uint64_t>(length, end - valueAt);
    if (IsId(header, "INAM")) {
      std::string value(static_cast<size_t>(std::min<uint64_t>(present, kMaxWaveTitle)), '\0');
      value.resize(source.ReadAt(valueAt, value.data(), value.size()));
      value.resize(std::min(value.size(), value.find('\0')));
      while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
      *title = value;
      return;
    }
    uint64_t next = valueAt + length + (length & 1u);
    if (next > end) return;
    pos = next;
  }
}

// The magnitude of sample `index` (counted over every channel) as a
// fraction of full scale, 0..1.
double Magnitude(const uint8_t* bytes, size_t index, const WaveFormat& format) {
  const uint8_t* p = bytes + index * (format.bitsPerSample / 8);
  if (format.encoding == SampleEncoding::kFloat) {
    float value;
    std::memcpy(&value, p, sizeof(value));  // little-endian machines only
    double magnitude = std::fabs(static_cast<double>(value));
    return std::isnan(magnitude) ? 0.0 : std::min(magnitude, 1.0);
  }
  switch (format.bitsPerSample) {
    case 8:
      return std::abs(static_cast<int>(p[0]) - 128) / 128.0;
    case 16:
      return std::abs(static_cast<int32_t>(static_cast<int16_t>(Le16(p)))) / 32768.0;
    case 24: {
      int32_t value = static_cast<int32_t>(static_cast<uint32_t>(p[0]) << 8 |
                                           static_cast<uint32_t>(p[1]) << 16 |
                                           static_cast<uint32_t>(p[2]) << 24) >> 8;
      return std::abs(static_cast<int64_t>(value)) / 8388608.0;
    }
    default:
      return std::llabs(static_cast<int64_t>(static_cast<int32_t>(Le32(p)))) / 2147483648.0;
  }
}

int16_t Sample16(const uint8_t* bytes, size_t index, const WaveFormat& format) {
  const uint8_t* p = bytes + index * (format.bitsPerSample / 8);
  if (format.encoding == SampleEncoding::kFloat) {
    float value;
    std::memcpy(&value, p, sizeof(value));
    if (std::isnan(value)) return 0;
    double scaled = std::round(static_cast<double>(value) * 32768.0);
    return static_cast<int16_t>(std::clamp(scaled, -32768.0, 32767.0));
  }
  switch (format.bitsPerSample) {
    case 8:
      return static_cast<int16_t>((static_cast<int>(p[0]) - 128) * 256);
    case 16:
      return static_cast<int16_t>(Le16(p));
    case 24:
      return static_cast<int16_t>(Le16(p + 1));
    default:
      return static_cast<int16_t>(Le16(p + 2));
  }
}

}  // namespace

size_t MemorySource::ReadAt(uint64_t offset, void* out, size_t size) {
  if (offset >= size_) return 0;
  size_t count = static_cast<size_t>(std::min<uint64_t>(size, size_ - offset));
  std::memcpy(out, data_ + offset, count);
  return count;
}

WaveParseResult ParseWave(ByteSource& source, WaveInfo* info) {
  *info = WaveInfo{};
  uint64_t fileSize = source.Size();
  uint8_t header[12];
  if (fileSize < 12 || !ReadExactly(source, 0, header, 12)) return WaveParseResult::kNotWave;
  if (!IsId(header + 8, "WAVE")) return WaveParseResult::kNotWave;
  if (IsId(header, "RIFX") || IsId(header, "RF64")) return WaveParseResult::kUnsupported;
  if (!IsId(header, "RIFF")) return WaveParseResult::kNotWave;

  // The walk ends with the file rather than the RIFF size, which writers
  // cut short get wrong.
  bool haveFmt = false;
  bool fmtUnsupported = false;
  bool haveData = false;
  uint64_t dataBytes = 0;
  uint64_t pos = 12;
  for (int n = 0; n < kMaxChunks && fileSize - pos >= 8; ++n) {
    uint8_t chunk[8];
    if (!ReadExactly(source, pos, chunk, 8)) break;
    uint32_t declared = Le32(chunk + 4);
    uint64_t body = pos + 8;
    uint64_t available = fileSize - body;
    if (IsId(chunk, "fmt ") && !haveFmt) {
      FmtResult result = ReadFmt(source, body, available, declared, &info->format);
      if (result == FmtResult::kMalformed) return WaveParseResult::kNotWave;
      fmtUnsupported = result == FmtResult::kUnsupported;
      haveFmt = true;
    } else if (IsId(chunk, "data") && !haveData) {
      haveData = true;
      info->dataOffset = body;
      dataBytes = std::min<uint64_t>(declared, available);
    } else if (IsId(chunk, "LIST") && info->title.empty()) {
      ReadInfoTitle(source, body, std::min<uint64_t>(declared, available), &info->title);
    }
    uint64_t next = body + declared + (declared & 1u);
    if (next > fileSize) break;
    pos = next;
  }
  if (fmtUnsupported) return WaveParseResult::kUnsupported;
  if (!haveFmt || !haveData) return WaveParseResult::kNotWave;
  info->frameCount = dataBytes / info->format.bytesPerFrame;
  return WaveParseResult::kOk;
}

void DecodeToPcm16(const uint8_t* bytes, size_t frameCount, const WaveFormat& format,
                   int16_t* out) {
  size_t samples = frameCount * format.channels;
  for (size_t i = 0; i < samples; ++i) out[i] = Sample16(bytes, i, format);
}

PeakLevels MeasurePeaks(const uint8_t* bytes, size_t frameCount, const WaveFormat& format) {
  double peak[2] = {0.0, 0.0};
  for (size_t frame = 0; frame < frameCount; ++frame) {
    for (uint32_t channel = 0; channel < format.channels && channel < 2; ++channel) {
      double magnitude = Magnitude(bytes, frame * format.channels + channel, format);
      peak[channel] = std::max(peak[channel], magnitude);
    }
  }
  if (format.channels == 1) peak[1] = peak[0];
  auto scale = [](double fraction) {
    double level = std::round(fraction * kLevelFullScale);
    return static_cast<uint32_t>(std::clamp(level, 0.0, static_cast<double>(kLevelFullScale)));
  };
  return PeakLevels{scale(peak[0]), scale(peak[1])};
}

}  // namespace tonelink
