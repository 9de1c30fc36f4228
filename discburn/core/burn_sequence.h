// The commands of one burn, in the order a drive needs them: the start
// (write parameters, a DVD-RW made overwritable, where the new session
// begins), the writer's prologue (buffer, speeds, a DVD-R's streaming,
// time stamp and reservation), each write unit with its retries, and the
// close of the session per medium.  It talks to the drive only through
// MmcDevice and pauses only through BurnPacing, so the native tests run this
// very sequence against the software drive; the library's writer thread
// feeds it the units and keeps the cache, the status and the callback.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "mmc_device.h"
#include "mmc_parameter_lists.h"

namespace discburn {

// Bounds of the waits on a drive that answers "not ready" (sense code 04):
// a poll every 5 seconds, at most this many (30 minutes: a full format of a
// DVD-RAM is the slowest thing a drive does).
inline constexpr uint32_t kNotReadyPollMs = 5000;
inline constexpr int kMaxNotReadyPolls = 360;
// WRITE(10) of a drive that is busy or not ready: every 100 ms, this often.
inline constexpr int kMaxBusyAttempts = 5000;
// The first unit of an overwritable medium: a drive just reset or busy
// without sense, every 200 ms, this often.
inline constexpr int kMaxFirstUnitAttempts = 100;
// A DVD-R burn asks for this speed (kB/s) with SET STREAMING.
inline constexpr uint32_t kDvdStreamingKbs = 11080;

// What the sequence needs from the computer: a pause between polls and
// retries, and the time a DVD-R is stamped with.
class BurnPacing {
 public:
  virtual ~BurnPacing() = default;
  virtual void PauseMs(uint32_t ms) = 0;
  virtual UtcTime NowUtc() = 0;
};

// Polls READ DISC INFORMATION (or TEST UNIT READY) every kNotReadyPollMs
// while the drive answers "not ready"; false when the bound ran out or
// `stop` was raised.
bool WaitWhileNotReady(MmcDevice& mmc, BurnPacing& pacing, bool withTestUnitReady,
                       const std::atomic<int>* stop = nullptr);

class BurnSequence {
 public:
  // `stop` is the burn's stop request, read between retries; the sequence
  // keeps references to all three.
  BurnSequence(MmcDevice& mmc, BurnPacing& pacing, const std::atomic<int>& stop)
      : mmc_(mmc), pacing_(pacing), stop_(stop) {}

  // Start of a burn of the project: the write parameters, the disc
  // information, a DVD-RW formatted for restricted overwrite, and where the
  // new session begins.  Returns that sector.
  uint32_t BeginProject(uint8_t discType);
  // Start of a burn of an image file: written from sector 0 as it is.
  void BeginImage(uint8_t discType);
  uint32_t sessionStart() const { return sessionStart_; }
  uint8_t discType() const { return discType_; }

  // What the writer sends before the first unit of `imageSectors` sectors.
  void Prologue(uint32_t imageSectors);
  // Writes the next unit at the next address; false when the drive refused
  // it after the retries (its sense is mmc.lastOutcome()) or on a stop.
  bool WriteNext(uint8_t* data, uint32_t sectors);
  uint32_t unitsWritten() const { return units_; }
  uint32_t nextAddress() const { return lba_; }

  // After the last unit: `allDataWritten` says every sector arrived.  On an
  // overwritable medium with earlier sessions the first unit then goes to
  // sector 0 as well, so that readers find the new session; returns whether
  // the session is complete.
  bool CompleteSession(bool allDataWritten);
  // Closes the session (only a complete one: a medium keeps its last
  // complete session otherwise), then unlocks and stops the drive.
  void CloseMedium(bool isComplete);

  // The drive's buffer as last asked (after the prologue and every sixth
  // unit from the third); 0 when the drive does not tell.
  uint32_t bufferLength() const { return bufferLength_.load(); }
  uint32_t bufferUsed() const { return bufferUsed_.load(); }

 private:
  void FormatDvdRw();
  void FindSessionStart();
  bool WriteUnit(uint32_t lba, uint8_t* data, uint32_t sectors, bool isFirst);
  void SampleBuffer();

  MmcDevice& mmc_;
  BurnPacing& pacing_;
  const std::atomic<int>& stop_;
  bool isProject_ = true;
  uint8_t discType_ = kDiscUnknown;
  uint32_t sessionStart_ = 0;
  uint32_t imageSectors_ = 0;
  uint8_t trackBase_ = 0;  // sessions on the medium before this one
  uint32_t lba_ = 0;
  uint32_t units_ = 0;
  bool isFormatted_ = false;  // the burn formatted a DVD+RW once
  std::vector<uint8_t> firstUnit_;
  std::atomic<uint32_t> bufferLength_{0};
  std::atomic<uint32_t> bufferUsed_{0};
};

}  // namespace discburn
