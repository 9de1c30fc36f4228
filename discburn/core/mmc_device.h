// The drive and medium queries of the library's device: disc type,
// capabilities and speeds, sessions, writability, free and total blocks,
// the start of the last session on overwritable media, the write
// parameters page and the write speed.  Every query sends the commands it
// needs at the time of the call through a ScsiTransport, reads the answers
// with the bounded readers of mmc_replies.h, and answers 0 when a command
// fails or its answer is unusable.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "mmc_commands.h"
#include "mmc_replies.h"
#include "scsi_transport.h"

namespace discburn {

// `DiscType` values.
enum DiscType : uint8_t {
  kDiscUnknown = 0,
  kDiscCdRom = 1,
  kDiscCdR = 2,
  kDiscCdRw = 3,
  kDiscDvdRom = 4,
  kDiscDvdR = 5,
  kDiscDvdRam = 6,
  kDiscDvdRwRestricted = 8,
  kDiscDvdRwSequential = 9,
  kDiscDvdPlusRw = 10,
  kDiscDvdPlusR = 11,
  kDiscDdCdRom = 12,
  kDiscDdCdR = 13,
  kDiscDdCdRw = 14,
};

struct WriteSettings {
  int testWrite = 0;
  int burnProof = 1;  // buffer-underrun protection, on by default
  int finalize = 0;
  int powerCalibration = 0;  // kept for the client; not used
  uint8_t writeSpeed = 0;    // "x", 0 = maximum
  uint8_t readSpeed = 0;
};

// Length of the capability copy: the page's 64 bytes, then the default
// maximum read and write speeds at 72 and 74.
inline constexpr size_t kCapabilityCopySize = 76;
// The answers land in a buffer of this size.
inline constexpr uint32_t kDataBufferSize = 65536;

class MmcDevice {
 public:
  explicit MmcDevice(ScsiTransport* transport);

  // One command with the device's data buffer (answers read at its start).
  // `length` is cut to the buffer.  The sense of the last command run
  // through here is kept in lastOutcome().
  bool Run(const ScsiCommand& command, uint32_t length);
  // One command with the caller's buffer.
  bool RunWith(const ScsiCommand& command, uint8_t* data, uint32_t length);
  const ScsiOutcome& lastOutcome() const { return lastOutcome_; }

  uint8_t QueryDiscType();
  uint8_t cachedDiscType() const { return discType_; }

  // Capability page and features; 0 only when the first MODE SENSE fails.
  int ReadCapabilities();
  // `vdscDeviceCan` questions (codes 1-7, 11-17, 21, 22); 0 for others.
  int Capability(int code) const;
  bool IsBurner() const { return capabilities_[3] != 0; }
  uint8_t DeviceMaxReadSpeed();
  uint8_t CurrentReadSpeed();
  uint8_t DeviceMaxWriteSpeed();
  uint8_t CurrentMaxWriteSpeed();
  uint8_t CurrentWriteSpeed();
  const std::array<uint8_t, kCapabilityCopySize>& capabilities() const { return capabilities_; }

  uint8_t SessionsOnDisc();
  uint8_t LastTrackInLastSession();
  int Erasable();
  int Writable();
  uint32_t FreeBlocks();
  uint32_t TotalBlocks();
  uint32_t FormattedCapacity();
  uint32_t LastSessionStart();

  // Builds and selects the write parameters page (5); 1 on success.
  int WriteParameters(int testWrite, int burnProof, int multisession, uint8_t discType);
  // The 72-byte work copy as last built (for the tests and the log).
  const std::array<uint8_t, 72>& writeParameters() const { return writeParameters_; }

  int SetWriteSpeed(uint8_t x);
  // SET CD SPEED with the stored read and write speeds (0: the maximum), as
  // each burn and erase sends it.
  int ApplyStoredSpeeds();
  int BufferCapacity();
  uint32_t bufferLength() const { return bufferLength_; }
  uint32_t bufferFree() const { return bufferFree_; }

  int Lock() { return Run(discburn::Prevent(true), 0) ? 1 : 0; }
  int Unlock() { return Run(discburn::Prevent(false), 0) ? 1 : 0; }
  int Load();
  int Eject();
  int TestUnitReady();
  int UnlockDrive();

  WriteSettings& settings() { return settings_; }

 private:
  std::optional<DiscInfo> ReadDiscInformation();
  std::optional<TrackInfo> ReadTrackInformation(uint8_t track);
  bool CopyCapabilityPage(bool defaults);

  ScsiTransport* transport_;
  ScsiOutcome lastOutcome_;
  std::vector<uint8_t> buffer_;
  uint32_t validBytes_ = 0;
  uint8_t discType_ = kDiscUnknown;
  std::array<uint8_t, kCapabilityCopySize> capabilities_{};
  // Capability flags in the order of `vdscDeviceCan`'s codes.
  bool readsCdR_ = false, readsCdRw_ = false, readsDvdRom_ = false, readsDvdR_ = false, readsDvdRw_ = false,
       readsDvdRam_ = false, dvdPlusRw_ = false, writesCdR_ = false, writesCdRw_ = false, writesDvdR_ = false,
       writesDvdRw_ = false, writesDvdRam_ = false, dvdPlusRwWrite_ = false;
  std::array<uint8_t, 72> writeParameters_{};
  uint32_t bufferLength_ = 0;
  uint32_t bufferFree_ = 0;
  WriteSettings settings_;
};

}  // namespace discburn
