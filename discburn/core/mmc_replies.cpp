// Bounded readers of drive answers; see mmc_replies.h.
#include "mmc_replies.h"

#include <algorithm>
#include <cstring>

namespace discburn {

Reply WithLength16(const uint8_t* bytes, uint32_t validBytes) {
  if (bytes == nullptr || validBytes < 2) return Reply{bytes, 0};
  uint32_t declared = 2 + ((uint32_t{bytes[0]} << 8) | bytes[1]);
  return Reply{bytes, std::min(validBytes, declared)};
}

Reply WithLength32(const uint8_t* bytes, uint32_t validBytes) {
  if (bytes == nullptr || validBytes < 4) return Reply{bytes, 0};
  uint64_t declared = 4 + uint64_t{Reply{bytes, 4}.Be32(0)};
  return Reply{bytes, static_cast<uint32_t>(std::min<uint64_t>(validBytes, declared))};
}

uint8_t DiscTypeFromProfile(uint16_t profile) {
  switch (profile) {
    case 0x08: return 1;
    case 0x09: return 2;
    case 0x0A: return 3;
    case 0x10: return 4;
    case 0x11: return 5;
    case 0x12: return 6;
    case 0x13: return 8;
    case 0x14: return 9;
    case 0x1A: return 10;
    case 0x1B: return 11;
    case 0x20: return 12;
    case 0x21: return 13;
    case 0x22: return 14;
    default: return 0;
  }
}

std::optional<uint16_t> CurrentProfile(const uint8_t* bytes, uint32_t validBytes) {
  Reply reply = WithLength32(bytes, validBytes);
  if (!reply.Has(6, 2)) return std::nullopt;
  return reply.Be16(6);
}

std::optional<FeatureDescriptor> FirstFeature(const uint8_t* bytes, uint32_t validBytes) {
  Reply reply = WithLength32(bytes, validBytes);
  if (!reply.Has(8, 4)) return std::nullopt;
  uint32_t size = 4 + uint32_t{reply.At(11)};
  if (!reply.Has(8, size)) return std::nullopt;
  FeatureDescriptor feature;
  feature.code = reply.Be16(8);
  feature.flags = size > 4 ? reply.At(12) : 0;
  return feature;
}

std::optional<DiscInfo> ParseDiscInfo(const uint8_t* bytes, uint32_t validBytes) {
  Reply reply = WithLength16(bytes, validBytes);
  if (!reply.Has(0, 7)) return std::nullopt;
  DiscInfo info;
  uint8_t status = reply.At(2);
  info.erasable = (status & 0x10) != 0;
  info.lastSessionState = (status >> 2) & 0x03;
  info.discStatus = status & 0x03;
  info.sessions = reply.At(4);
  info.firstTrackInLastSession = reply.At(5);
  info.lastTrackInLastSession = reply.At(6);
  if (reply.Has(9, 3)) {  // the high bytes of newer drives
    info.sessions |= static_cast<uint16_t>(reply.At(9) << 8);
    info.firstTrackInLastSession |= static_cast<uint16_t>(reply.At(10) << 8);
    info.lastTrackInLastSession |= static_cast<uint16_t>(reply.At(11) << 8);
  }
  return info;
}

std::optional<TrackInfo> ParseTrackInfo(const uint8_t* bytes, uint32_t validBytes) {
  Reply reply = WithLength16(bytes, validBytes);
  if (!reply.Has(0, 28)) return std::nullopt;
  TrackInfo info;
  info.dataLength = reply.Be16(0);
  info.fixedPacket = (reply.At(6) & 0x10) != 0;
  info.trackStart = reply.Be32(8);
  info.nextWritable = reply.Be32(12);
  info.freeBlocks = reply.Be32(16);
  info.fixedPacketSize = reply.Be32(20);
  info.trackSize = reply.Be32(24);
  if (reply.Has(28, 4)) info.lastRecorded = reply.Be32(28);
  return info;
}

std::optional<AtipInfo> ParseAtip(const uint8_t* bytes, uint32_t validBytes) {
  Reply reply = WithLength16(bytes, validBytes);
  if (!reply.Has(0, 15)) return std::nullopt;
  AtipInfo info;
  info.recordable = (reply.At(6) & 0x80) != 0;
  info.rewritable = (reply.At(6) & 0x40) != 0;
  uint32_t frames = uint32_t{reply.At(11)} * 270000 + uint32_t{reply.At(12)} * 4500 + uint32_t{reply.At(13)} * 75 +
                    reply.At(14);
  info.leadOutLba = frames >= 150 ? frames - 150 : 0;
  return info;
}

std::optional<PageSpan> LocateModePage(const uint8_t* bytes, uint32_t validBytes, uint8_t pageCode) {
  Reply reply = WithLength16(bytes, validBytes);
  if (!reply.Has(0, 8)) return std::nullopt;
  uint32_t offset = 8 + uint32_t{reply.Be16(6)};
  // A drive may answer with more than one page; walk them.
  while (reply.Has(offset, 2)) {
    uint32_t size = 2 + uint32_t{reply.At(offset + 1)};
    if (!reply.Has(offset, size)) return std::nullopt;
    if ((reply.At(offset) & 0x3F) == pageCode) return PageSpan{offset, size};
    offset += size;
  }
  return std::nullopt;
}

std::optional<uint32_t> ParseFormattedCapacity(const uint8_t* bytes, uint32_t validBytes) {
  if (bytes == nullptr || validBytes < 4) return std::nullopt;
  Reply reply{bytes, std::min(validBytes, 4 + uint32_t{bytes[3]})};
  for (uint32_t i = 0; i < 3; ++i) {
    uint32_t at = 4 + 8 * i;
    if (!reply.Has(at, 8)) break;
    uint32_t blockLength = (uint32_t{reply.At(at + 5)} << 16) | reply.Be16(at + 6);
    if (reply.At(at + 4) == 0 && blockLength == 2048) return reply.Be32(at);
  }
  return std::nullopt;
}

std::optional<BufferCapacity> ParseBufferCapacity(const uint8_t* bytes, uint32_t validBytes) {
  Reply reply = WithLength16(bytes, validBytes);
  if (!reply.Has(0, 12)) return std::nullopt;
  return BufferCapacity{reply.Be32(4), reply.Be32(8)};
}

std::optional<VolumeDescriptor> ParseVolumeDescriptor(const uint8_t* sector, uint32_t validBytes) {
  if (sector == nullptr || validBytes < 84 || std::memcmp(sector + 1, "CD001", 5) != 0) return std::nullopt;
  VolumeDescriptor descriptor;
  descriptor.type = sector[0];
  descriptor.volumeSpaceSize = uint32_t{sector[80]} | (uint32_t{sector[81]} << 8) | (uint32_t{sector[82]} << 16) |
                               (uint32_t{sector[83]} << 24);
  return descriptor;
}

uint16_t KbsToX(uint32_t kbs) {
  uint64_t x = (uint64_t{kbs} * 100 + 17645) / 17646;
  return static_cast<uint16_t>(std::min<uint64_t>(x, 0xFFFF));
}

}  // namespace discburn
