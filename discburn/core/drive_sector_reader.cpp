// Reading the medium for the session importer.
#include "core/drive_sector_reader.h"

#include <algorithm>
#include <vector>

#include "mmc_commands.h"
#include "mmc_replies.h"

namespace discburn {

bool DriveSectorReader::Read(uint32_t lba, uint32_t count, uint8_t* buffer) {
  constexpr uint32_t kRun = 16;
  while (count > 0) {
    uint32_t run = std::min(count, kRun);
    if (!device_.RunWith(Read10(lba, static_cast<uint16_t>(run)), buffer, run * kSectorBytes)) return false;
    if (device_.lastOutcome().validBytes < run * kSectorBytes) return false;
    lba += run;
    count -= run;
    buffer += size_t{run} * kSectorBytes;
  }
  return true;
}

std::optional<uint32_t> SessionStartSector(MmcDevice& device, uint8_t session) {
  std::vector<uint8_t> answer(64);
  if (!device.RunWith(ReadTrackInfo(session), answer.data(), static_cast<uint32_t>(answer.size()))) {
    return std::nullopt;
  }
  auto track = ParseTrackInfo(answer.data(), device.lastOutcome().validBytes);
  if (!track) return std::nullopt;
  return track->trackStart;
}

}  // namespace discburn
