// The library object behind the vdsc exports: one CVDSCBurner per process,
// built when orbburn.dll is loaded.  It owns the disc project and the SCSI
// device, and the two engines that run on library threads: the burn engine
// (a cache filler and a writer sharing a read-ahead cache) and the erase
// engine.  All library threads share the one lock; the client's completion
// callbacks run inside it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/burn_plan.h"
#include "core/burn_project.h"
#include "core/burn_sequence.h"
#include "scsi_device.h"
#include "vdscdll.h"
#include "win_file_source.h"

namespace discburn {

// The pauses of the burn sequence on a library thread: Sleep and the
// system clock.
class WinBurnPacing : public BurnPacing {
 public:
  void PauseMs(uint32_t ms) override { Sleep(ms); }
  UtcTime NowUtc() override;
};

// Calls a client's completion function through the stdcall adapter; an
// empty slot is not called.
void CallCompletion(BurnCompletionCallback callback, int result);

// WaitWhileNotReady of the burn sequence, pausing with Sleep.
bool WaitWhileNotReady(MmcDevice& mmc, bool withTestUnitReady, const std::atomic<int>* stop = nullptr);

// The burn engine: writes the prepared project (or an image file) to the
// selected drive, or the project into an image file.
class BurnEngine {
 public:
  BurnEngine(BurnProject& project, ScsiDevice& device, CRITICAL_SECTION* lock, std::u16string* errorName);
  ~BurnEngine();
  BurnEngine(const BurnEngine&) = delete;
  BurnEngine& operator=(const BurnEngine&) = delete;

  // The burn slot is written by Burn only; the image entry points report to
  // what it holds.  Result 1 = the writer thread was started.
  int Burn(BurnCompletionCallback callback);
  int BurnImage(const char* imagePath);
  int BuildImage(const char* imagePath);
  // Raises the stop request with error 4 when a burn is running; 1 then.
  int Abort();

  bool isRunning() const { return running_.load() != 0; }
  uint32_t sectorsWritten() const { return sectorsWritten_.load(); }
  uint32_t filledSlots() const { return filled_.load(); }
  uint32_t cacheBytes() const { return cacheBytes_; }
  uint32_t SetCacheBytes(int bytes) { return cacheBytes_ = ClampCacheBytes(bytes); }
  uint32_t bufferLength() const { return sequence_.bufferLength(); }
  uint32_t bufferUsed() const { return sequence_.bufferUsed(); }

 private:
  enum class Mode { kProjectToDisc, kImageToDisc, kProjectToFile };

  int Start(Mode mode, const char* imagePath);
  void WaitForThreads();
  // Closes the image file of a build that will not complete and removes it.
  void DiscardImageFile();

  static unsigned __stdcall FillerMain(void* self);
  static unsigned __stdcall WriterMain(void* self);
  void RunFiller();
  void RunWriter();
  void FreeCache();
  // Next unit into `out`: its byte count, 0 when no more data will come,
  // -1 when the cache is empty for now.
  int Fetch(std::vector<uint8_t>* out);

  // The disc part of the writer: the sequence fed from the cache; false
  // when a unit could not be written.
  bool WriteUnitsToDisc();
  bool WriteUnitsToFile();

  BurnProject& project_;
  ScsiDevice& device_;
  CRITICAL_SECTION* lock_;
  std::u16string* errorName_;

  BurnCompletionCallback callback_ = nullptr;
  uint32_t cacheBytes_ = kDefaultCacheBytes;
  Mode mode_ = Mode::kProjectToDisc;
  std::string imagePath_;
  std::string tempPath_;  // where an image file is written until complete
  HANDLE imageFile_ = INVALID_HANDLE_VALUE;
  uint64_t imageFileBytes_ = 0;
  uint32_t unitSectors_ = 32;
  uint32_t slotCount_ = 0;
  uint32_t imageSectors_ = 0;
  std::vector<uint8_t> header_;

  // Guarded by the lock.
  std::deque<std::vector<uint8_t>> slots_;

  std::atomic<int> running_{0};
  std::atomic<int> stop_{0};
  std::atomic<int> finished_{0};
  std::atomic<int> cacheReady_{0};
  std::atomic<uint32_t> filled_{0};
  std::atomic<uint32_t> sectorsCached_{0};
  std::atomic<uint32_t> sectorsWritten_{0};
  WinBurnPacing pacing_;
  BurnSequence sequence_;
  HANDLE filler_ = nullptr;
  HANDLE writer_ = nullptr;
};

// Blanks or formats the medium on a thread of its own.
class EraseEngine {
 public:
  EraseEngine(ScsiDevice& device, CRITICAL_SECTION* lock) : device_(device), lock_(lock) {}
  ~EraseEngine();
  // Always 1.  mode 1 = quick, 0 = full.
  int EraseDisc(int mode, BurnCompletionCallback callback);
  // 2 while the erase thread runs, 3 while a full DVD+RW erase writes zeros.
  int busyCode() const { return busyCode_.load(); }

 private:
  static unsigned __stdcall EraseMain(void* self);
  void Run();
  int Blank(uint8_t type);
  int WriteZeros(uint32_t units);
  bool Format(const uint8_t* list);

  ScsiDevice& device_;
  CRITICAL_SECTION* lock_;
  BurnCompletionCallback callback_ = nullptr;
  int mode_ = 1;
  std::atomic<int> busyCode_{0};
  HANDLE thread_ = nullptr;
};

class CVDSCBurner {
 public:
  CVDSCBurner();
  virtual ~CVDSCBurner();
  CVDSCBurner(const CVDSCBurner&) = delete;
  CVDSCBurner& operator=(const CVDSCBurner&) = delete;

  BurnProject& project() { return *project_; }
  ScsiDevice& device() { return *device_; }
  MmcDevice& mmc() { return device_->mmc(); }
  BurnEngine& burn() { return *burn_; }
  EraseEngine& erase() { return *erase_; }

  int DeviceCan(int code);
  int ComponentState() const;
  int ImportSession(int session, const std::u16string& destDir);
  // Inserts a folder; an entry it had to leave out (a name already there,
  // a file of 4 GiB or more, a full table) becomes error 2 naming the
  // first such entry's path on the disc.
  DirNode* InsertDir(const std::u16string& destDir, const std::u16string& sourceDir,
                     const std::u16string& mask, bool recurse, bool keepPath, bool isWideSource);
  int Prepare();
  // BurnError read-and-clear, and its texts (library-owned buffers).
  int TakeErrorNumber();
  const char* TakeErrorText();
  const wchar_t* TakeErrorTextW();

 private:
  WinFileSource files_;
  WinClock clock_;
  std::unique_ptr<BurnProject> project_;
  std::unique_ptr<ScsiDevice> device_;
  CRITICAL_SECTION lock_;
  std::u16string errorName_;  // the file errors 2 and 3 are about
  std::unique_ptr<BurnEngine> burn_;
  std::unique_ptr<EraseEngine> erase_;
  std::string errorText_;
  std::u16string errorTextW_;
};

}  // namespace discburn
