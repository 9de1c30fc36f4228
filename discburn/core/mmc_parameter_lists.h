// The parameter lists the burn and erase engines send with FORMAT UNIT, SET
// STREAMING and SEND DVD STRUCTURE, built in one place so the bytes are
// stated once and checked against the drive model.
#pragma once

#include <array>
#include <cstdint>

namespace discburn {

// FORMAT UNIT lists (byte 1 of the command 0x11): a 4-byte header, then
// the number of blocks, the format type (<< 2) and its parameter.
using FormatList = std::array<uint8_t, 12>;
// DVD+RW basic format (type 0x26) of 0x230540 blocks: quick and full erase,
// and the burn's format of an unformatted DVD+RW.
inline constexpr FormatList kFormatDvdPlusRwBasic = {0x00, 0x82, 0x00, 0x08, 0x00, 0x23, 0x05, 0x40,
                                                      0x98, 0x00, 0x00, 0x00};
// DVD-RAM full format (type 0) of 0x222120 blocks of 2048 bytes.
inline constexpr FormatList kFormatDvdRamFull = {0x00, 0x82, 0x00, 0x08, 0x00, 0x22, 0x21, 0x20,
                                                  0x00, 0x00, 0x08, 0x00};
// DVD-RW sequential to restricted overwrite, quick (type 0x15), 1000 blocks;
// the second form leaves the block count to the drive.
inline constexpr FormatList kFormatDvdRwQuick = {0x00, 0xA2, 0x00, 0x08, 0x00, 0x00, 0x03, 0xE8,
                                                  0x54, 0x00, 0x00, 0x10};
inline constexpr FormatList kFormatDvdRwQuickWhole = {0x00, 0x82, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00,
                                                       0x54, 0x00, 0x00, 0x10};
// DVD-RW restricted overwrite, quick grow (type 0x13).
inline constexpr FormatList kFormatDvdRwGrow = {0x00, 0x82, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00,
                                                 0x4C, 0x00, 0x00, 0x10};

// SET STREAMING performance descriptor (28 bytes) for a DVD-R burn of
// `blocks` blocks: from block 0 to the last block of the image, reading
// and writing `kbPerSecond` kB each second.
std::array<uint8_t, 28> StreamingDescriptor(uint32_t blocks, uint32_t kbPerSecond);

// SEND DVD STRUCTURE time stamp (format 0x0F, 22 bytes): the length
// header, four reserved bytes, then the time as 14 ASCII digits
// "YYYYMMDDhhmmss" (UTC).
struct UtcTime {
  uint16_t year;
  uint8_t month, day, hour, minute, second;
};
std::array<uint8_t, 22> DvdTimeStamp(const UtcTime& time);

}  // namespace discburn
