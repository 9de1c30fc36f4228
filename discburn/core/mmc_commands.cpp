// Command block builders; see mmc_commands.h.
#include "mmc_commands.h"

#include <cstddef>

namespace discburn {
namespace {

ScsiCommand Make(uint8_t length, uint8_t opcode, DataDirection direction) {
  ScsiCommand command;
  command.cdbLength = length;
  command.cdb[0] = opcode;
  command.direction = direction;
  return command;
}

void Put16(ScsiCommand* c, size_t at, uint32_t v) {
  c->cdb[at] = static_cast<uint8_t>(v >> 8);
  c->cdb[at + 1] = static_cast<uint8_t>(v);
}

void Put32(ScsiCommand* c, size_t at, uint32_t v) {
  Put16(c, at, v >> 16);
  Put16(c, at + 2, v);
}

}  // namespace

ScsiCommand TestUnitReady() { return Make(6, 0x00, DataDirection::kNone); }
ScsiCommand Rezero() { return Make(6, 0x01, DataDirection::kNone); }

ScsiCommand Inquiry(uint8_t allocation) {
  ScsiCommand c = Make(6, 0x12, DataDirection::kIn);
  c.cdb[4] = allocation;
  return c;
}

ScsiCommand StartStop(bool immediate, uint8_t op) {
  ScsiCommand c = Make(6, 0x1B, DataDirection::kNone);
  c.cdb[1] = immediate ? 1 : 0;
  c.cdb[4] = op;
  return c;
}

ScsiCommand Prevent(bool lock) {
  ScsiCommand c = Make(6, 0x1E, DataDirection::kNone);
  c.cdb[4] = lock ? 1 : 0;
  return c;
}

ScsiCommand FormatUnit(uint8_t byte1) {
  ScsiCommand c = Make(6, 0x04, DataDirection::kOut);
  c.cdb[1] = byte1;
  return c;
}

ScsiCommand ReadFormatCapacities() {
  ScsiCommand c = Make(10, 0x23, DataDirection::kIn);
  c.cdb[8] = 28;
  return c;
}

ScsiCommand Read10(uint32_t lba, uint16_t count) {
  ScsiCommand c = Make(10, 0x28, DataDirection::kIn);
  Put32(&c, 2, lba);
  Put16(&c, 7, count);
  return c;
}

ScsiCommand Write10(uint32_t lba, uint16_t count) {
  ScsiCommand c = Make(10, 0x2A, DataDirection::kOut);
  Put32(&c, 2, lba);
  Put16(&c, 7, count);
  return c;
}

ScsiCommand SyncCache(bool immediate) {
  ScsiCommand c = Make(10, 0x35, DataDirection::kNone);
  c.cdb[1] = immediate ? 2 : 0;
  return c;
}

ScsiCommand ReadToc(uint8_t format, bool msf, uint8_t number, uint8_t allocation) {
  ScsiCommand c = Make(10, 0x43, DataDirection::kIn);
  c.cdb[1] = msf ? 2 : 0;
  c.cdb[2] = format;
  c.cdb[6] = number;
  c.cdb[8] = allocation;
  return c;
}

ScsiCommand GetConfiguration(uint16_t startFeature, uint16_t allocation) {
  ScsiCommand c = Make(12, 0x46, DataDirection::kIn);
  c.cdb[1] = 2;  // the one feature named
  Put16(&c, 2, startFeature);
  Put16(&c, 7, allocation);
  return c;
}

ScsiCommand ReadDiscInfo(uint16_t allocation) {
  ScsiCommand c = Make(10, 0x51, DataDirection::kIn);
  Put16(&c, 7, allocation);
  return c;
}

ScsiCommand ReadTrackInfo(uint8_t track) {
  ScsiCommand c = Make(10, 0x52, DataDirection::kIn);
  c.cdb[1] = 1;  // by track number
  c.cdb[5] = track;
  c.cdb[8] = 40;
  return c;
}

ScsiCommand ReserveTrack(uint32_t size) {
  ScsiCommand c = Make(10, 0x53, DataDirection::kNone);
  Put32(&c, 5, size);
  return c;
}

ScsiCommand ModeSelect10(uint16_t length) {
  ScsiCommand c = Make(10, 0x55, DataDirection::kOut);
  c.cdb[1] = 0x10;  // page format
  Put16(&c, 7, length);
  return c;
}

ScsiCommand ModeSense10(uint8_t page, bool defaults, uint16_t allocation) {
  ScsiCommand c = Make(10, 0x5A, DataDirection::kIn);
  c.cdb[2] = static_cast<uint8_t>(page + (defaults ? 0x80 : 0));
  Put16(&c, 7, allocation);
  return c;
}

ScsiCommand CloseTrackSession(bool immediate, uint8_t function, uint16_t track) {
  ScsiCommand c = Make(10, 0x5B, DataDirection::kNone);
  c.cdb[1] = immediate ? 1 : 0;
  c.cdb[2] = function;
  Put16(&c, 4, track);
  return c;
}

ScsiCommand ReadBufferCapacity() {
  ScsiCommand c = Make(10, 0x5C, DataDirection::kIn);
  c.cdb[8] = 32;
  return c;
}

ScsiCommand Blank(bool quick) {
  ScsiCommand c = Make(12, 0xA1, DataDirection::kNone);
  c.cdb[1] = static_cast<uint8_t>(0x10 + (quick ? 1 : 0));
  return c;
}

ScsiCommand SetStreaming(uint16_t length) {
  ScsiCommand c = Make(12, 0xB6, DataDirection::kOut);
  Put16(&c, 9, length);
  return c;
}

ScsiCommand SetCdSpeed(uint16_t readKbs, uint16_t writeKbs) {
  ScsiCommand c = Make(12, 0xBB, DataDirection::kNone);
  Put16(&c, 2, readKbs);
  Put16(&c, 4, writeKbs);
  return c;
}

ScsiCommand SendDvdStructure(uint8_t format, uint16_t length) {
  ScsiCommand c = Make(12, 0xBF, DataDirection::kOut);
  c.cdb[7] = format;
  Put16(&c, 8, length);
  return c;
}

void ApplyWrite10Compatibility(uint8_t* cdb) {
  if (cdb[0] != 0x2A) return;
  if (cdb[2] == 0xFF && cdb[3] == 0xFF) return;
  cdb[2] = 0;
  cdb[3] = 0;
}

}  // namespace discburn
