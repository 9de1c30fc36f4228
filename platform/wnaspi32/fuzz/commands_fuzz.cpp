// The drive reads command blocks and parameter lists (MODE SELECT, FORMAT
// UNIT, writes) from its callers; a caller may send anything.  The input is
// a run of commands: one byte of direction and medium, two of data length,
// twelve of CDB, then the data out.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "soft_drive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  softdrive::DriveConfig config;
  config.medium = static_cast<softdrive::MediumKind>(data[0] % 9);
  config.capacityBlocks = 5000;  // no backing file: the medium holds zeros
  config.sessions = data[0] >> 5;
  config.sessionBlocks = 300;
  softdrive::SoftDrive drive(config);
  size_t at = 1;
  std::vector<uint8_t> buffer;
  while (at + 15 <= size) {
    uint8_t mode = data[at];
    uint32_t length = std::min<uint32_t>((uint32_t{data[at + 1]} << 8) | data[at + 2], 8 * 2048);
    const uint8_t* cdb = data + at + 3;
    uint32_t cdbLength = 6 + (mode >> 4) % 7;  // 6 to 12 bytes
    at += 15;
    auto direction = static_cast<softdrive::DataDirection>(mode % 3);
    buffer.assign(length, 0);
    if (direction == softdrive::DataDirection::kOut) {
      size_t count = std::min<size_t>(length, size - at);
      std::copy(data + at, data + at + count, buffer.begin());
      at += count;
    }
    softdrive::CommandReply reply = drive.Execute(cdb, cdbLength, buffer.data(), length, direction);
    if (reply.transferred > length) __builtin_trap();
    (void)drive.state().NextWritable();
  }
  return 0;
}
