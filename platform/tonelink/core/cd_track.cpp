#include "cd_track.h"

#include <cstring>

namespace tonelink {

namespace {

uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint32_t Read16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8; }

void Put32(std::string* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void Put16(std::string* out, uint32_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

// Minutes, seconds and frames (75 a second) packed as frame, second,
// minute, 0 from the low byte up.
uint32_t Msf(uint32_t sectors) {
  uint32_t frames = sectors % 75;
  uint32_t seconds = sectors / 75 % 60;
  uint32_t minutes = sectors / 75 / 60;
  return frames | seconds << 8 | (minutes & 0xFF) << 16;
}

constexpr uint32_t kLeadInSectors = 150;

}  // namespace

bool ParseCdaHeader(const uint8_t* data, size_t size, CdTrack* track) {
  if (data == nullptr || size < kCdaFileBytes) return false;
  if (std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "CDDA", 4) != 0 ||
      std::memcmp(data + 12, "fmt ", 4) != 0) {
    return false;
  }
  if (Read32(data + 16) < 24) return false;
  CdTrack parsed;
  parsed.number = Read16(data + 22);
  parsed.firstSector = Read32(data + 28);
  parsed.sectorCount = Read32(data + 32);
  if (parsed.number < 1 || parsed.number > 99 || parsed.sectorCount == 0) return false;
  if (track != nullptr) *track = parsed;
  return true;
}

std::string MakeCdaHeader(const CdTrack& track, uint32_t discSerial) {
  std::string out = "RIFF";
  Put32(&out, 36);
  out += "CDDAfmt ";
  Put32(&out, 24);
  Put16(&out, 1);  // format version
  Put16(&out, track.number);
  Put32(&out, discSerial);
  Put32(&out, track.firstSector);
  Put32(&out, track.sectorCount);
  Put32(&out, Msf(track.firstSector + kLeadInSectors));
  Put32(&out, Msf(track.sectorCount));
  return out;
}

std::string CdaFileName(uint32_t number) {
  std::string name = "Track";
  name.push_back(static_cast<char>('0' + number / 10 % 10));
  name.push_back(static_cast<char>('0' + number % 10));
  return name + ".cda";
}

bool TrackBytes(const CdTrack& track, uint64_t discBytes, uint64_t* offset, uint64_t* length) {
  uint64_t first = static_cast<uint64_t>(track.firstSector) * kCdSectorBytes;
  uint64_t size = static_cast<uint64_t>(track.sectorCount) * kCdSectorBytes;
  if (size == 0 || first > discBytes || size > discBytes - first) return false;
  *offset = first;
  *length = size;
  return true;
}

}  // namespace tonelink
