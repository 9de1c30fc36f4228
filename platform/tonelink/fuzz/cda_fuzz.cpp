// Fuzz target for the CD track file reader: any bytes as a "TrackNN.cda"
// file; what it accepts must be a track it can place on a disc.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "cd_track.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tonelink::CdTrack track;
  if (!tonelink::ParseCdaHeader(data, size, &track)) return 0;
  if (track.number < 1 || track.number > 99 || track.sectorCount == 0) std::abort();
  uint64_t offset = 0, length = 0;
  uint64_t disc = static_cast<uint64_t>(track.firstSector + 1ull) * tonelink::kCdSectorBytes;
  if (tonelink::TrackBytes(track, disc, &offset, &length) && offset + length > disc) std::abort();
  // Written back, the header reads the same.
  std::string again = tonelink::MakeCdaHeader(track, 0);
  tonelink::CdTrack reread;
  if (!tonelink::ParseCdaHeader(reinterpret_cast<const uint8_t*>(again.data()), again.size(), &reread) ||
      reread.number != track.number || reread.firstSector != track.firstSector ||
      reread.sectorCount != track.sectorCount) {
    std::abort();
  }
  return 0;
}
