// Parameter lists; see mmc_parameter_lists.h.
#include "mmc_parameter_lists.h"

#include <cstdio>

namespace discburn {
namespace {

void PutBe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

}  // namespace

std::array<uint8_t, 28> StreamingDescriptor(uint32_t blocks, uint32_t kbPerSecond) {
  std::array<uint8_t, 28> descriptor{};
  PutBe32(&descriptor[4], 0);                             // start LBA
  PutBe32(&descriptor[8], blocks == 0 ? 0 : blocks - 1);  // end LBA
  PutBe32(&descriptor[12], kbPerSecond);                  // read size (kB)
  PutBe32(&descriptor[16], 1000);                         // read time (ms)
  PutBe32(&descriptor[20], kbPerSecond);                  // write size (kB)
  PutBe32(&descriptor[24], 1000);                         // write time (ms)
  return descriptor;
}

std::array<uint8_t, 22> DvdTimeStamp(const UtcTime& time) {
  std::array<uint8_t, 22> list{0x00, 0x14};
  char digits[15];
  std::snprintf(digits, sizeof digits, "%04u%02u%02u%02u%02u%02u", time.year % 10000u, time.month % 100u,
                time.day % 100u, time.hour % 100u, time.minute % 100u, time.second % 100u);
  for (int i = 0; i < 14; ++i) list[8 + i] = static_cast<uint8_t>(digits[i]);
  return list;
}

}  // namespace discburn
