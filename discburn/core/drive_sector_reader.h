// The sectors of the medium in the drive, for the session importer: READ(10)
// in runs of at most 16 sectors, and the first sector of a session, found
// with READ TRACK INFORMATION (one track per session).
#pragma once

#include <cstdint>
#include <optional>

#include "core/sector_reader.h"
#include "mmc_device.h"

namespace discburn {

class DriveSectorReader : public SectorReader {
 public:
  explicit DriveSectorReader(MmcDevice& device) : device_(device) {}
  bool Read(uint32_t lba, uint32_t count, uint8_t* buffer) override;

 private:
  MmcDevice& device_;
};

// Start sector of session `session` (1-based): the start of its track.
std::optional<uint32_t> SessionStartSector(MmcDevice& device, uint8_t session);

}  // namespace discburn
