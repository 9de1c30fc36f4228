#include "encoder_feed.h"

namespace tonelink {

namespace {

void Put32(std::string* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void Put16(std::string* out, uint32_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

}  // namespace

std::string StreamingWaveHeader(uint32_t rate, uint32_t channels) {
  const uint32_t blockAlign = channels * 2;
  std::string out = "RIFF";
  Put32(&out, kUnknownWaveSize);
  out += "WAVEfmt ";
  Put32(&out, 16);
  Put16(&out, 1);
  Put16(&out, channels);
  Put32(&out, rate);
  Put32(&out, rate * blockAlign);
  Put16(&out, blockAlign);
  Put16(&out, 16);
  out += "data";
  Put32(&out, kUnknownWaveSize);
  return out;
}

}  // namespace tonelink
