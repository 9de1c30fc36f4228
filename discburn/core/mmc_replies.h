// Readers of the drives' answers.  Every reader takes the buffer and the
// number of bytes the transport vouches for, bounds that by the answer's
// own length field, and returns nothing when a field it needs lies beyond:
// a short or garbled answer fails cleanly instead of reading stale bytes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace discburn {

// What a reader may look at: the valid bytes of the buffer.
struct Reply {
  const uint8_t* bytes = nullptr;
  uint32_t length = 0;
  bool Has(uint32_t offset, uint32_t count = 1) const { return uint64_t{offset} + count <= length; }
  uint8_t At(uint32_t offset) const { return bytes[offset]; }
  uint16_t Be16(uint32_t offset) const { return static_cast<uint16_t>((bytes[offset] << 8) | bytes[offset + 1]); }
  uint32_t Be32(uint32_t offset) const {
    return (uint32_t{bytes[offset]} << 24) | (uint32_t{bytes[offset + 1]} << 16) | (uint32_t{bytes[offset + 2]} << 8) |
           bytes[offset + 3];
  }
};

// The reply cut to its own length field: a 16-bit count of the bytes after
// it (disc, track, TOC, mode data) or a 32-bit one (configuration).
Reply WithLength16(const uint8_t* bytes, uint32_t validBytes);
Reply WithLength32(const uint8_t* bytes, uint32_t validBytes);

// `DiscType` from the current profile of GET CONFIGURATION; 0 for others.
uint8_t DiscTypeFromProfile(uint16_t profile);
std::optional<uint16_t> CurrentProfile(const uint8_t* bytes, uint32_t validBytes);

struct FeatureDescriptor {
  uint16_t code = 0;
  uint8_t flags = 0;  // descriptor byte 4
};
// The first feature descriptor after the configuration header.
std::optional<FeatureDescriptor> FirstFeature(const uint8_t* bytes, uint32_t validBytes);

struct DiscInfo {
  bool erasable = false;
  uint8_t lastSessionState = 0;  // 0 empty, 1 incomplete, 2 reserved, 3 complete
  uint8_t discStatus = 0;        // 0 empty, 1 incomplete, 2 complete, 3 other
  uint16_t sessions = 0;
  uint16_t firstTrackInLastSession = 0;
  uint16_t lastTrackInLastSession = 0;
};
std::optional<DiscInfo> ParseDiscInfo(const uint8_t* bytes, uint32_t validBytes);

struct TrackInfo {
  uint32_t dataLength = 0;
  uint32_t trackStart = 0;
  uint32_t nextWritable = 0;
  uint32_t freeBlocks = 0;
  uint32_t fixedPacketSize = 0;
  uint32_t trackSize = 0;
  uint32_t lastRecorded = 0;  // 0 when the drive's answer is too old to carry it
  bool fixedPacket = false;
};
std::optional<TrackInfo> ParseTrackInfo(const uint8_t* bytes, uint32_t validBytes);

struct AtipInfo {
  bool recordable = false;  // byte 6 bit 7
  bool rewritable = false;  // byte 6 bit 6
  // Last possible lead-out start as a block address (MSF minus the 150
  // blocks of the first pre-gap).
  uint32_t leadOutLba = 0;
};
std::optional<AtipInfo> ParseAtip(const uint8_t* bytes, uint32_t validBytes);

// Where a mode page lies in a MODE SENSE(10) answer: after the 8-byte
// header and the block descriptors its header counts, code compared
// without the PS bit, the whole page inside the answer.
struct PageSpan {
  uint32_t offset = 0;
  uint32_t size = 0;  // 2 + page length
};
std::optional<PageSpan> LocateModePage(const uint8_t* bytes, uint32_t validBytes, uint8_t pageCode);

// Number of blocks of the first of the three descriptors of READ FORMAT
// CAPACITIES whose type byte is 0 and block length 2048.
std::optional<uint32_t> ParseFormattedCapacity(const uint8_t* bytes, uint32_t validBytes);

struct BufferCapacity {
  uint32_t lengthBytes = 0;
  uint32_t freeBytes = 0;
};
std::optional<BufferCapacity> ParseBufferCapacity(const uint8_t* bytes, uint32_t validBytes);

// Volume descriptor of an ISO 9660 sector: its type (byte 0) and volume
// space size (bytes 80-83, little-endian half), when "CD001" is at byte 1.
struct VolumeDescriptor {
  uint8_t type = 0;
  uint32_t volumeSpaceSize = 0;
};
std::optional<VolumeDescriptor> ParseVolumeDescriptor(const uint8_t* sector, uint32_t validBytes);

// A speed in kB/s as the "x" factor of CD speed (176.46 kB/s), rounded up.
uint16_t KbsToX(uint32_t kbs);

}  // namespace discburn
