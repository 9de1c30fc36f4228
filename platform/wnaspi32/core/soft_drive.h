// The software MMC drive: one CD/DVD writer answering SCSI command blocks
// the way a drive does, over a medium held in a backing file
// (backing_store.h) with its recorded layout (medium_state.h).  Commands
// come in as CDB bytes with a data buffer and a direction and go back as a
// SCSI status (0 good, 2 check condition) with fixed-format sense data, so
// the same drive sits behind the ASPI layer of wnaspi32.dll and behind the
// library's native tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "backing_store.h"
#include "drive_config.h"
#include "medium_state.h"
#include "sense.h"

namespace softdrive {

enum class DataDirection : uint8_t { kNone, kIn, kOut };

inline constexpr uint8_t kStatusGood = 0x00;
inline constexpr uint8_t kStatusCheckCondition = 0x02;

struct CommandReply {
  uint8_t status = kStatusGood;
  Sense sense;               // kNoSense with good status
  uint32_t transferred = 0;  // bytes moved to or from the data buffer
};

class SoftDrive {
 public:
  // Loads the medium's state from beside the backing file; when there is
  // none, or it describes another kind of medium, the disc is made from the
  // configuration (a blank one unless sessions are configured).
  explicit SoftDrive(DriveConfig config);
  ~SoftDrive();

  // Runs one command.  `data` holds `dataLength` bytes; a reply longer than
  // the buffer or the CDB's allocation length is cut, as drives do.
  CommandReply Execute(const uint8_t* cdb, uint32_t cdbLength, uint8_t* data, uint32_t dataLength,
                       DataDirection direction);

  const DriveConfig& config() const { return config_; }
  const MediumState& state() const { return state_; }
  // Writes the state file (done by the commands that change the layout).
  bool SaveState();

 private:
  CommandReply Dispatch(const uint8_t* cdb, uint32_t cdbLength, uint8_t* data, uint32_t dataLength,
                        DataDirection direction);
  bool HasMedium() const;
  // Not-ready and no-medium checks of commands that need the medium.
  bool MediumReady(Sense* sense);

  // Identity and settings (soft_drive.cpp).
  CommandReply Inquiry(const uint8_t* cdb, uint8_t* data, uint32_t dataLength);
  CommandReply RequestSense(const uint8_t* cdb, uint8_t* data, uint32_t dataLength);
  CommandReply GetConfiguration(const uint8_t* cdb, uint8_t* data, uint32_t dataLength);
  CommandReply ModeSense(const uint8_t* cdb, uint8_t* data, uint32_t dataLength);
  CommandReply ModeSelect(const uint8_t* cdb, const uint8_t* data, uint32_t dataLength);
  CommandReply SetCdSpeed(const uint8_t* cdb);
  CommandReply GetPerformance(const uint8_t* cdb, uint8_t* data, uint32_t dataLength);
  CommandReply ReadBufferCapacity(const uint8_t* cdb, uint8_t* data, uint32_t dataLength);
  CommandReply StartStop(const uint8_t* cdb);
  CommandReply GetEventStatus(const uint8_t* cdb, uint8_t* data, uint32_t dataLength);
  std::vector<uint8_t> CapabilitiesPage() const;
  std::vector<uint8_t> Features() const;

  // The medium (soft_drive_media.cpp).
  CommandReply ReadDiscInformation(const uint8_t* cdb, uint8_t* data, uint32_t dataLength);
  CommandReply ReadTrackInformation(const uint8_t* cdb, uint8_t* data, uint32_t dataLength);
  CommandReply ReadToc(const uint8_t* cdb, uint8_t* data, uint32_t dataLength);
  CommandReply ReadCapacity(uint8_t* data, uint32_t dataLength);
  CommandReply ReadFormatCapacities(const uint8_t* cdb, uint8_t* data, uint32_t dataLength);
  CommandReply Read(uint32_t lba, uint32_t blocks, uint8_t* data, uint32_t dataLength);
  CommandReply Write(uint32_t lba, uint32_t blocks, const uint8_t* data, uint32_t dataLength);
  CommandReply CloseTrackSession(const uint8_t* cdb);
  CommandReply Blank(const uint8_t* cdb);
  CommandReply FormatUnit(const uint8_t* cdb, const uint8_t* data, uint32_t dataLength);
  CommandReply ReserveTrack(const uint8_t* cdb);
  CommandReply SynchronizeCache();
  void CloseOpenSession(bool finalize);
  void Pace() const;

  DriveConfig config_;
  MediumState state_;
  BackingStore store_;
  Sense lastSense_;
  uint32_t notReadyLeft_ = 0;
  bool mediumLoaded_ = true;
  bool removalPrevented_ = false;
  uint16_t readSpeedKbs_;
  uint16_t writeSpeedKbs_;
  std::vector<uint8_t> writeParameters_;  // mode page 5, as last selected
};

// Big-endian helpers of the command and reply fields.
inline uint16_t GetBe16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline uint32_t GetBe32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
inline void PutBe16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}
inline void PutBe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

// Drive speeds in kB/s: 48x CD (176.4 kB/s each) for reading and writing.
inline constexpr uint16_t kMaxReadSpeedKbs = 8467;
inline constexpr uint16_t kMaxWriteSpeedKbs = 8467;
// The drive's buffer, as READ BUFFER CAPACITY and page 2A report it.
inline constexpr uint32_t kBufferBytes = 2 * 1024 * 1024;

}  // namespace softdrive
