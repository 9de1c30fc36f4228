// Builds WAV files for the tests: a tone of known length and peak per
// channel in any of the formats the library reads, and the RIFF pieces to
// make broken ones.  Header-only, used by the native and the Wine tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace wavebuilder {

inline void Put16(std::string* out, uint32_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

inline void Put32(std::string* out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// A chunk with its id, its size and its body, padded to an even length.
inline std::string Chunk(const char* id, const std::string& body) {
  std::string chunk(id, 4);
  Put32(&chunk, static_cast<uint32_t>(body.size()));
  chunk += body;
  if (body.size() % 2 != 0) chunk.push_back('\0');
  return chunk;
}

// A "fmt " chunk: tag 1 PCM, 3 float; `extensible` wraps the tag in the
// 0xFFFE header.
inline std::string FmtChunk(uint16_t tag, uint32_t channels, uint32_t rate, uint32_t bits,
                            bool extensible = false) {
  uint32_t blockAlign = channels * bits / 8;
  std::string body;
  Put16(&body, extensible ? 0xFFFE : tag);
  Put16(&body, channels);
  Put32(&body, rate);
  Put32(&body, rate * blockAlign);
  Put16(&body, blockAlign);
  Put16(&body, bits);
  if (extensible) {
    Put16(&body, 22);
    Put16(&body, bits);
    Put32(&body, channels == 2 ? 3 : 4);
    Put16(&body, tag);
    const unsigned char tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                    0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    body.append(reinterpret_cast<const char*>(tail), sizeof(tail));
  }
  return Chunk("fmt ", body);
}

inline std::string Riff(const std::string& chunks) {
  std::string file = "RIFF";
  Put32(&file, static_cast<uint32_t>(4 + chunks.size()));
  return file + "WAVE" + chunks;
}

// One sample of `fraction` of full scale (-1..1) in the given format.
inline void PutSample(std::string* out, double fraction, uint16_t tag, uint32_t bits) {
  if (tag == 3) {
    float value = static_cast<float>(fraction);
    char bytes[4];
    std::memcpy(bytes, &value, 4);
    out->append(bytes, 4);
    return;
  }
  switch (bits) {
    case 8:
      out->push_back(static_cast<char>(static_cast<int>(std::lround(fraction * 127.0)) + 128));
      break;
    case 16:
      Put16(out, static_cast<uint32_t>(static_cast<int32_t>(std::lround(fraction * 32767.0))));
      break;
    case 24: {
      int32_t scaled = static_cast<int32_t>(std::lround(fraction * 8388607.0));
      uint32_t value = static_cast<uint32_t>(scaled);
      out->push_back(static_cast<char>(value & 0xFF));
      out->push_back(static_cast<char>((value >> 8) & 0xFF));
      out->push_back(static_cast<char>((value >> 16) & 0xFF));
      break;
    }
    default:
      Put32(out, static_cast<uint32_t>(
                     static_cast<int32_t>(std::llround(fraction * 2147483647.0))));
      break;
  }
}

struct Tone {
  uint16_t tag = 1;  // 1 integer PCM, 3 float
  uint32_t bits = 16;
  uint32_t channels = 2;
  uint32_t rate = 44100;
  uint32_t frames = 0;
  double leftPeak = 0.5;   // fraction of full scale
  double rightPeak = 0.25;
  double frequency = 441.0;  // Hz of the sine
};

// The "data" chunk body of a sine tone reaching each channel's peak.
inline std::string ToneSamples(const Tone& tone) {
  std::string data;
  const double kPi = 3.14159265358979323846;
  for (uint32_t frame = 0; frame < tone.frames; ++frame) {
    // A phase that reaches exactly +-1 once per period when the rate allows.
    double wave = std::sin(2.0 * kPi * tone.frequency * frame / tone.rate);
    PutSample(&data, tone.leftPeak * wave, tone.tag, tone.bits);
    if (tone.channels == 2) PutSample(&data, tone.rightPeak * wave, tone.tag, tone.bits);
  }
  return data;
}

inline std::string ToneWave(const Tone& tone, const std::string& extraChunks = "") {
  return Riff(FmtChunk(tone.tag, tone.channels, tone.rate, tone.bits) + extraChunks +
              Chunk("data", ToneSamples(tone)));
}

}  // namespace wavebuilder
