// Erasing on the erase thread: BLANK for CD-RW and DVD-RW, a format and
// zeros for DVD+RW and DVD-RAM, which have no blank command.
#include <algorithm>

#include "library_thread.h"
#include "mmc_commands.h"
#include "mmc_parameter_lists.h"
#include "mmc_replies.h"
#include "vdsc_burner.h"

namespace discburn {

namespace {

constexpr unsigned kEraseStack = 40000;
constexpr uint32_t kZeroUnitSectors = 32;
// A full DVD+RW erase writes at most this many units (2,272,000 sectors).
constexpr uint32_t kMaxFullZeroUnits = 71000;

}  // namespace

EraseEngine::~EraseEngine() {
  if (thread_) CloseHandle(thread_);
}

int EraseEngine::EraseDisc(int mode, BurnCompletionCallback callback) {
  if (busyCode_.load() != 0) {
    // An erase is running: this one is refused through its callback.
    CallCompletion(callback, 1);
    return 1;
  }
  if (thread_) {
    WaitForSingleObject(thread_, 30000);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  busyCode_ = 2;
  callback_ = callback;
  mode_ = mode;
  thread_ = StartLibraryThread(kEraseStack, EraseMain, this);
  if (thread_ == nullptr) {
    busyCode_ = 0;
    CallCompletion(callback, 1);
    return 1;
  }
  ResumeThread(thread_);
  return 1;
}

unsigned __stdcall EraseEngine::EraseMain(void* self) {
  static_cast<EraseEngine*>(self)->Run();
  return 0;
}

bool EraseEngine::Format(const uint8_t* list) {
  std::vector<uint8_t> bytes(list, list + 12);
  if (!device_.mmc().RunWith(FormatUnit(0x11), bytes.data(), 12)) return false;
  return true;
}

int EraseEngine::WriteZeros(uint32_t units) {
  MmcDevice& mmc = device_.mmc();
  std::vector<uint8_t> zeros(kZeroUnitSectors * 2048, 0);
  int result = 0;
  for (uint32_t unit = 0; unit < units; ++unit) {
    if (!mmc.RunWith(Write10(unit * kZeroUnitSectors, kZeroUnitSectors), zeros.data(),
                     static_cast<uint32_t>(zeros.size()))) {
      result = 1;
      break;
    }
  }
  mmc.RunWith(SyncCache(false), nullptr, 0);
  return result;
}

int EraseEngine::Blank(uint8_t type) {
  MmcDevice& mmc = device_.mmc();
  (void)type;
  if (!mmc.RunWith(discburn::Blank(mode_ == 1), nullptr, 0)) return 1;
  if (!WaitWhileNotReady(mmc, false)) return 1;
  // An immediate BLANK is only accepted at first: the disc must read as
  // empty once the drive is ready again.
  std::vector<uint8_t> info(42);
  if (!mmc.RunWith(ReadDiscInfo(42), info.data(), 42)) return 1;
  auto disc = ParseDiscInfo(info.data(), mmc.lastOutcome().validBytes);
  return disc && disc->discStatus == 0 ? 0 : 1;
}

void EraseEngine::Run() {
  MmcDevice& mmc = device_.mmc();
  int result = 0;
  uint8_t type = mmc.QueryDiscType();
  mmc.ApplyStoredSpeeds();
  mmc.WriteParameters(0, 0, 0, type);
  if (type != kDiscDvdRam && type != kDiscDvdPlusRw) {
    result = Blank(type);
  } else if (type == kDiscDvdPlusRw && mode_ == 1) {
    if (Format(kFormatDvdPlusRwBasic.data())) WaitWhileNotReady(mmc, false);
    result = WriteZeros(16);
    mmc.RunWith(CloseTrackSession(false, 3, 0), nullptr, 0);
  } else if (type == kDiscDvdPlusRw) {
    if (!Format(kFormatDvdPlusRwBasic.data()) || !WaitWhileNotReady(mmc, false)) {
      result = 1;
    } else {
      busyCode_ = 3;
      // Zeros over the whole medium, as far as the medium goes.
      uint32_t capacity = mmc.TotalBlocks();
      uint32_t units = capacity ? std::min(kMaxFullZeroUnits, capacity / kZeroUnitSectors) : kMaxFullZeroUnits;
      result = WriteZeros(units);
    }
  } else if (mode_ == 1) {
    result = WriteZeros(128);
  } else {
    if (!Format(kFormatDvdRamFull.data()) || !WaitWhileNotReady(mmc, true)) {
      result = 1;
    } else {
      // A format keeps the old file system readable; the zeros of the
      // quick erase remove it, so the full erase leaves a blank disc too.
      result = WriteZeros(128);
    }
  }
  EnterCriticalSection(lock_);
  CallCompletion(callback_, result);
  busyCode_ = 0;
  LeaveCriticalSection(lock_);
}

}  // namespace discburn
