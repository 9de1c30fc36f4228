// The command blocks the library sends, one builder each: the opcode, the
// fields the caller gives, big-endian where MMC puts numbers, every other
// byte zero.
#pragma once

#include <cstdint>

#include "scsi_transport.h"

namespace discburn {

ScsiCommand TestUnitReady();
ScsiCommand Rezero();
ScsiCommand Inquiry(uint8_t allocation);
// op: 3 load, 2 eject.
ScsiCommand StartStop(bool immediate, uint8_t op);
ScsiCommand Prevent(bool lock);
ScsiCommand FormatUnit(uint8_t byte1);
ScsiCommand ReadFormatCapacities();
ScsiCommand Read10(uint32_t lba, uint16_t count);
ScsiCommand Write10(uint32_t lba, uint16_t count);
ScsiCommand SyncCache(bool immediate);
ScsiCommand ReadToc(uint8_t format, bool msf, uint8_t number, uint8_t allocation);
ScsiCommand GetConfiguration(uint16_t startFeature, uint16_t allocation);
ScsiCommand ReadDiscInfo(uint16_t allocation);
ScsiCommand ReadTrackInfo(uint8_t track);
ScsiCommand ReserveTrack(uint32_t size);
ScsiCommand ModeSelect10(uint16_t length);
ScsiCommand ModeSense10(uint8_t page, bool defaults, uint16_t allocation);
ScsiCommand CloseTrackSession(bool immediate, uint8_t function, uint16_t track);
ScsiCommand ReadBufferCapacity();
ScsiCommand Blank(bool quick);
ScsiCommand SetStreaming(uint16_t length);
ScsiCommand SetCdSpeed(uint16_t readKbs, uint16_t writeKbs);
ScsiCommand SendDvdStructure(uint8_t format, uint16_t length);

// WRITE(10) compatibility mode: some drives take only 16-bit block
// addresses, so the high half of the LBA (bytes 2 and 3) is cleared unless
// it is FF FF (a negative address, the lead-in of a CD).
void ApplyWrite10Compatibility(uint8_t* cdb);

}  // namespace discburn
