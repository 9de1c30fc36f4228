// The burn engine: the start sequence, the cache filler and the writer.
//
// The filler cuts the image (header, boot image, every source file, as
// ImageStream yields it, or an existing image file) into write units and
// queues them; the writer takes them in order and writes them.  The queue
// lives under the library's lock, and is only ever freed under it.  A burn
// ends as a success only when every sector of the image reached the drive
// or the file: a stop, a source that cannot be read or a failed write is a
// failure, and then the session is not closed over data that is missing.
#include <process.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "core/image_header.h"
#include "core/image_stream.h"
#include "mmc_commands.h"
#include "mmc_parameter_lists.h"
#include "mmc_replies.h"
#include "vdsc_burner.h"

namespace discburn {

namespace {

constexpr unsigned kThreadStack = 64000;
// WRITE(10) of a drive that is busy or not ready: every 100 ms, this often.
constexpr int kMaxBusyAttempts = 5000;
// The first unit of an overwritable medium: a drive just reset or busy
// without sense, every 200 ms, this often.
constexpr int kMaxFirstUnitAttempts = 100;
// A DVD-R burn asks for this speed (kB/s) with SET STREAMING.
constexpr uint32_t kDvdStreamingKbs = 11080;

void SendList(MmcDevice& mmc, const ScsiCommand& command, const uint8_t* list, uint32_t length) {
  std::vector<uint8_t> bytes(list, list + length);
  mmc.RunWith(command, bytes.data(), length);
}

bool SendFormat(MmcDevice& mmc, const FormatList& list) {
  FormatList bytes = list;
  return mmc.RunWith(FormatUnit(0x11), bytes.data(), static_cast<uint32_t>(bytes.size()));
}

}  // namespace

void CallCompletion(BurnCompletionCallback callback, int result) {
  // The stdcall adapter of the two callback slots: (result, value) in,
  // only the result goes on to the client's caller-cleans function.
  struct Adapter {
    static void __stdcall Call(BurnCompletionCallback client, int result, int /*value*/) {
      if (client != nullptr) client(result);
    }
  };
  Adapter::Call(callback, result, 0);
}

bool WaitWhileNotReady(MmcDevice& mmc, bool withTestUnitReady, const std::atomic<int>* stop) {
  std::vector<uint8_t> info(42);
  for (int poll = 0; poll < kMaxNotReadyPolls; ++poll) {
    bool done = withTestUnitReady ? mmc.RunWith(TestUnitReady(), nullptr, 0)
                                  : mmc.RunWith(ReadDiscInfo(42), info.data(), 42);
    if (done || mmc.lastOutcome().sense.asc() != 0x04) return true;
    if (stop != nullptr && stop->load()) return false;
    Sleep(kNotReadyPollMs);
  }
  return false;
}

BurnEngine::BurnEngine(BurnProject& project, ScsiDevice& device, CRITICAL_SECTION* lock,
                       std::u16string* errorName)
    : project_(project), device_(device), lock_(lock), errorName_(errorName) {}

BurnEngine::~BurnEngine() {
  // The library is being unloaded: a burn still running is told to stop.
  // Waiting for it here would wait under the loader's lock.
  stop_ = 1;
  if (filler_) CloseHandle(filler_);
  if (writer_) CloseHandle(writer_);
  if (imageFile_ != INVALID_HANDLE_VALUE) CloseHandle(imageFile_);
}

void BurnEngine::WaitForThreads() {
  for (HANDLE* thread : {&filler_, &writer_}) {
    if (*thread == nullptr) continue;
    WaitForSingleObject(*thread, 30000);
    CloseHandle(*thread);
    *thread = nullptr;
  }
}

void BurnEngine::DiscardImageFile() {
  if (imageFile_ != INVALID_HANDLE_VALUE) CloseHandle(imageFile_);
  imageFile_ = INVALID_HANDLE_VALUE;
  if (mode_ == Mode::kProjectToFile && !tempPath_.empty()) DeleteFileA(tempPath_.c_str());
}

int BurnEngine::Burn(BurnCompletionCallback callback) {
  // The slot is written first, also when the burn cannot start.
  callback_ = callback;
  return Start(Mode::kProjectToDisc, nullptr);
}

int BurnEngine::BurnImage(const char* imagePath) { return Start(Mode::kImageToDisc, imagePath); }

int BurnEngine::BuildImage(const char* imagePath) { return Start(Mode::kProjectToFile, imagePath); }

int BurnEngine::Abort() {
  if (!isRunning()) return 0;
  project_.error = kErrorStopped;
  stop_ = 1;
  return 1;
}

int BurnEngine::Start(Mode mode, const char* imagePath) {
  if (isRunning()) return 0;  // one burn at a time
  WaitForThreads();
  mode_ = mode;
  imagePath_ = imagePath ? imagePath : "";
  if (imageFile_ != INVALID_HANDLE_VALUE) CloseHandle(imageFile_);
  imageFile_ = INVALID_HANDLE_VALUE;
  MmcDevice& mmc = device_.mmc();

  if (mode == Mode::kImageToDisc) {
    imageFile_ = imagePath ? CreateFileA(imagePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr)
                           : INVALID_HANDLE_VALUE;
    LARGE_INTEGER size{};
    if (imageFile_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(imageFile_, &size)) {
      project_.error = kErrorOpenSource;
      *errorName_ = AnsiToUtf16(imagePath);
      return 0;
    }
    imageFileBytes_ = static_cast<uint64_t>(size.QuadPart);
    uint64_t sectors = (imageFileBytes_ + 2047) / 2048;
    sectors = (sectors + 31) / 32 * 32;
    if (sectors == 0) sectors = 32;
    if (sectors > 0xFFFFFFE0ull) {
      project_.error = kErrorOpenSource;
      *errorName_ = AnsiToUtf16(imagePath);
      return 0;
    }
    imageSectors_ = static_cast<uint32_t>(sectors);
    discType_ = mmc.QueryDiscType();
  } else {
    // An image file is written under a temporary name next to it and takes
    // its own name only when complete, so that a failed build leaves no
    // partial file and keeps the old one.  It is created before the project
    // is checked: a path that cannot be created is reported as such.
    if (mode == Mode::kProjectToFile) {
      tempPath_ = imagePath_ + ".part";
      imageFile_ = imagePath ? CreateFileA(tempPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr)
                             : INVALID_HANDLE_VALUE;
      if (imageFile_ == INVALID_HANDLE_VALUE) {
        project_.error = kErrorCreateImage;
        *errorName_ = AnsiToUtf16(imagePath);
        return 0;
      }
    }
    // Nothing is sent to the drive for a project that is not laid out.
    if (!project_.isPrepared) {
      DiscardImageFile();
      project_.error = kErrorNotPrepared;
      return 0;
    }
    if (mode == Mode::kProjectToDisc) discType_ = mmc.QueryDiscType();
    imageSectors_ = project_.layout.imageSectors;
  }

  // An image file gets whole 32-sector units whatever medium was seen
  // last, so that it holds the image and nothing after it.
  unitSectors_ = mode == Mode::kProjectToFile ? 32 : WriteUnitSectors(discType_);
  // An image file stands alone: its sectors count from 0 whatever session
  // a disc burn before it started at.
  if (mode == Mode::kProjectToFile) sessionStart_ = 0;
  isFormatted_ = false;
  if (mode == Mode::kProjectToDisc) {
    WriteSettings& settings = mmc.settings();
    mmc.WriteParameters(settings.testWrite, settings.burnProof, 0, discType_);
    std::vector<uint8_t> info(42);
    mmc.RunWith(ReadDiscInfo(42), info.data(), 42);
    FormatDvdRw(discType_);
    FindSessionStart(discType_);
  }
  if (mode != Mode::kImageToDisc) {
    header_.clear();
    if (!WriteImageHeader(project_, sessionStart_, &header_)) {
      project_.error = kErrorNotPrepared;
      DiscardImageFile();
      return 0;
    }
  }

  project_.error = kErrorNone;
  FreeCache();
  stop_ = 0;
  finished_ = 0;
  cacheReady_ = 0;
  filled_ = 0;
  sectorsCached_ = 0;
  sectorsWritten_ = 0;
  slotCount_ = CacheSlotCount(cacheBytes_, unitSectors_ * 2048);
  running_ = 1;

  filler_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, kThreadStack, FillerMain, this, CREATE_SUSPENDED,
                                                    nullptr));
  if (filler_ == nullptr) {
    running_ = 0;
    return 0;
  }
  SetThreadPriority(filler_, THREAD_PRIORITY_BELOW_NORMAL);
  ResumeThread(filler_);
  while (!cacheReady_.load() && !stop_.load()) Sleep(10);
  if (stop_.load()) {
    // The filler gave up before the cache was ready (a source that cannot
    // be read): no writer, no callback; the 0 result is the report.
    WaitForSingleObject(filler_, 30000);
    CloseHandle(filler_);
    filler_ = nullptr;
    DiscardImageFile();
    running_ = 0;
    project_.status = kStatusIdle;
    return 0;
  }
  // Writing from here on, also for a client that polls before the writer
  // has run a line.
  project_.status = kStatusWriting;
  writer_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, kThreadStack, WriterMain, this, CREATE_SUSPENDED,
                                                    nullptr));
  if (writer_ == nullptr) {
    stop_ = 1;
    WaitForSingleObject(filler_, 30000);
    project_.status = kStatusIdle;
    running_ = 0;
    return 0;
  }
  SetThreadPriority(writer_, THREAD_PRIORITY_BELOW_NORMAL);
  ResumeThread(writer_);
  return 1;
}

void BurnEngine::FormatDvdRw(uint8_t type) {
  MmcDevice& mmc = device_.mmc();
  if (type == kDiscDvdRwSequential) {
    if (!SendFormat(mmc, kFormatDvdRwQuick)) SendFormat(mmc, kFormatDvdRwQuickWhole);
  } else if (type == kDiscDvdRwRestricted) {
    SendFormat(mmc, kFormatDvdRwGrow);
  } else {
    return;
  }
  WaitWhileNotReady(mmc, false);
}

void BurnEngine::FindSessionStart(uint8_t type) {
  MmcDevice& mmc = device_.mmc();
  // A start found for an earlier medium says nothing about this one.
  sessionStart_ = 0;
  if (type == kDiscDvdPlusRw || type == kDiscDvdRam) {
    sessionStart_ = mmc.LastSessionStart();
    return;
  }
  std::vector<uint8_t> answer(40);
  uint8_t last = mmc.LastTrackInLastSession();
  if (last != 0 && mmc.RunWith(ReadTrackInfo(last), answer.data(), 40)) {
    if (auto track = ParseTrackInfo(answer.data(), mmc.lastOutcome().validBytes)) {
      sessionStart_ = track->nextWritable;
      return;
    }
  }
  if (mmc.RunWith(ReadTrackInfo(1), answer.data(), 40)) {
    if (auto track = ParseTrackInfo(answer.data(), mmc.lastOutcome().validBytes)) {
      sessionStart_ = track->trackStart;
    }
  }
}

unsigned __stdcall BurnEngine::FillerMain(void* self) {
  static_cast<BurnEngine*>(self)->RunFiller();
  return 0;
}

unsigned __stdcall BurnEngine::WriterMain(void* self) {
  static_cast<BurnEngine*>(self)->RunWriter();
  return 0;
}

void BurnEngine::FreeCache() {
  EnterCriticalSection(lock_);
  slots_.clear();
  filled_ = 0;
  LeaveCriticalSection(lock_);
}

void BurnEngine::RunFiller() {
  Sleep(20);
  const uint32_t unitBytes = unitSectors_ * 2048;
  std::unique_ptr<ImageStream> stream;
  if (mode_ != Mode::kImageToDisc) stream = std::make_unique<ImageStream>(project_, std::move(header_));
  uint64_t fileLeft = imageFileBytes_;
  uint32_t produced = 0;
  int tier = -1;
  auto setTier = [&](FillerTier next) {
    static const int kPriorities[] = {THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_LOWEST,
                                      THREAD_PRIORITY_IDLE};
    int index = static_cast<int>(next);
    if (index != tier) SetThreadPriority(GetCurrentThread(), kPriorities[index]);
    tier = index;
  };

  while (produced < imageSectors_ && !stop_.load()) {
    // Wait for room: one slot below the count.
    while (filled_.load() + 1 >= slotCount_ && !stop_.load()) {
      setTier(FillerTier::kIdle);
      cacheReady_ = 1;
      Sleep(2);
    }
    if (stop_.load()) break;
    std::vector<uint8_t> unit(unitBytes, 0);
    uint32_t want = std::min(unitSectors_, imageSectors_ - produced);
    if (stream) {
      if (stream->ReadSectors(unit.data(), want) != want) {
        // A source could not be opened, or is shorter or longer than when
        // it was inserted: error 2 naming it.
        project_.error = kErrorOpenSource;
        *errorName_ = stream->currentSource();
        stop_ = 1;
        break;
      }
    } else {
      DWORD piece = static_cast<DWORD>(std::min<uint64_t>(fileLeft, uint64_t{want} * 2048));
      DWORD got = 0;
      if (piece > 0 && (!ReadFile(imageFile_, unit.data(), piece, &got, nullptr) || got != piece)) {
        project_.error = kErrorOpenSource;
        *errorName_ = AnsiToUtf16(imagePath_.c_str());
        stop_ = 1;
        break;
      }
      fileLeft -= piece;
    }
    produced += want;
    // A short last piece is counted as a whole unit (zeros after the image).
    EnterCriticalSection(lock_);
    slots_.push_back(std::move(unit));
    filled_ = static_cast<uint32_t>(slots_.size());
    sectorsCached_ += unitSectors_;
    LeaveCriticalSection(lock_);
    setTier(TierForFill(filled_.load(), slotCount_));
  }
  if (stream && project_.error != kErrorOpenSource) *errorName_ = stream->currentSource();
  stream.reset();
  if (mode_ == Mode::kImageToDisc && imageFile_ != INVALID_HANDLE_VALUE) {
    CloseHandle(imageFile_);
    imageFile_ = INVALID_HANDLE_VALUE;
  }
  if (stop_.load()) FreeCache();
  EnterCriticalSection(lock_);
  finished_ = 1;
  LeaveCriticalSection(lock_);
  cacheReady_ = 1;
}

int BurnEngine::Fetch(std::vector<uint8_t>* out) {
  EnterCriticalSection(lock_);
  int result;
  if (stop_.load()) {
    result = 0;
  } else if (slots_.empty()) {
    result = finished_.load() ? 0 : -1;
  } else {
    out->swap(slots_.front());
    slots_.pop_front();
    filled_ = static_cast<uint32_t>(slots_.size());
    result = static_cast<int>(out->size());
  }
  LeaveCriticalSection(lock_);
  return result;
}

void BurnEngine::WriterPrologue(uint8_t* trackBase) {
  MmcDevice& mmc = device_.mmc();
  WriteSettings& settings = mmc.settings();
  mmc.RunWith(SyncCache(false), nullptr, 0);
  mmc.RunWith(Rezero(), nullptr, 0);
  mmc.WriteParameters(settings.testWrite, settings.burnProof, 0, discType_);
  std::vector<uint8_t> info(42);
  mmc.RunWith(ReadDiscInfo(42), info.data(), 42);
  if (mmc.BufferCapacity()) {
    bufferLength_ = mmc.bufferLength();
    bufferUsed_ = mmc.bufferLength() - std::min(mmc.bufferLength(), mmc.bufferFree());
  }
  mmc.WriteParameters(settings.testWrite, settings.burnProof,
                      discType_ == kDiscDvdPlusR && !settings.finalize ? 1 : 0, discType_);
  mmc.ApplyStoredSpeeds();
  *trackBase = mmc.SessionsOnDisc();
  if (discType_ == kDiscDvdR) {
    auto streaming = StreamingDescriptor(imageSectors_, kDvdStreamingKbs);
    SendList(mmc, SetStreaming(28), streaming.data(), 28);
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_s(&utc, &now);
    auto stamp = DvdTimeStamp({static_cast<uint16_t>(utc.tm_year + 1900), static_cast<uint8_t>(utc.tm_mon + 1),
                               static_cast<uint8_t>(utc.tm_mday), static_cast<uint8_t>(utc.tm_hour),
                               static_cast<uint8_t>(utc.tm_min), static_cast<uint8_t>(utc.tm_sec)});
    SendList(mmc, SendDvdStructure(0x0F, 22), stamp.data(), 22);
    mmc.RunWith(ReserveTrack(imageSectors_), nullptr, 0);
  }
  device_.SetCloseAfterEachCommand(false);
}

bool BurnEngine::WriteUnit(uint32_t lba, uint8_t* data, uint32_t sectors, bool isFirst) {
  MmcDevice& mmc = device_.mmc();
  int busyAttempts = 0, resetAttempts = 0;
  for (;;) {
    if (mmc.RunWith(Write10(lba, static_cast<uint16_t>(sectors)), data, sectors * 2048)) return true;
    const ScsiOutcome& outcome = mmc.lastOutcome();
    uint8_t asc = outcome.sense.asc(), ascq = outcome.sense.ascq();
    bool busy = outcome.targetStatus == kScsiStatusBusy;
    if (stop_.load()) return false;
    if (isFirst && mode_ == Mode::kProjectToDisc && discType_ == kDiscDvdPlusRw && asc == 0x30 &&
        ascq == 0x05 && !isFormatted_) {
      // An unformatted DVD+RW: the basic format once, then the write again.
      isFormatted_ = true;
      if (SendFormat(mmc, kFormatDvdPlusRwBasic) && WaitWhileNotReady(mmc, false, &stop_)) continue;
    } else if ((busy || asc == 0x04) && ++busyAttempts < kMaxBusyAttempts) {
      Sleep(isFirst ? 200 : 100);
      continue;
    } else if (isFirst && IsOverwritable(discType_) && (busy || asc == 0 || asc == 0x29) &&
               ++resetAttempts < kMaxFirstUnitAttempts) {
      Sleep(asc == 0x29 ? 1200 : 200);
      continue;
    }
    device_.RecordError(ErrorNumberFromSense(mmc.lastOutcome().sense));
    return false;
  }
}

void BurnEngine::RunWriter() {
  project_.status = kStatusWriting;
  bufferLength_ = 0;
  bufferUsed_ = 0;
  // Sense data of the retried commands of a burn are not errors; a failed
  // write records its own below.
  device_.SetDoNotRecord(true);
  const bool toDisc = mode_ != Mode::kProjectToFile;
  MmcDevice& mmc = device_.mmc();
  uint8_t trackBase = 0;
  uint32_t lba = 0;
  if (toDisc) {
    WriterPrologue(&trackBase);
    lba = mode_ == Mode::kImageToDisc ? 0 : sessionStart_;
  }
  // On an overwritable medium the first unit goes to sector 0 as well, so
  // that the descriptors at sector 16 lead to the new session.  That is done
  // last, once the whole session is on the medium: a burn that fails
  // half-way leaves the previous session in charge.
  const bool copyFirstToZero =
      mode_ == Mode::kProjectToDisc && IsOverwritable(discType_) && sessionStart_ != 0;
  if (mode_ == Mode::kProjectToDisc && IsOverwritable(discType_)) mmc.RunWith(SyncCache(false), nullptr, 0);
  std::vector<uint8_t> unit, firstUnit;
  uint32_t units = 0;
  bool isFailed = false;
  for (;;) {
    int count = Fetch(&unit);
    if (count == 0) break;
    if (count < 0) {
      Sleep(1);
      continue;
    }
    uint32_t sectors = static_cast<uint32_t>(count) / 2048;
    if (!toDisc) {
      DWORD written = 0;
      if (!WriteFile(imageFile_, unit.data(), static_cast<DWORD>(count), &written, nullptr) ||
          written != static_cast<DWORD>(count)) {
        project_.error = kErrorCreateImage;
        *errorName_ = AnsiToUtf16(imagePath_.c_str());
        isFailed = true;
        break;
      }
    } else if (!WriteUnit(lba, unit.data(), sectors, units == 0)) {
      isFailed = true;
      break;
    }
    if (copyFirstToZero && units == 0) firstUnit = unit;
    ++units;
    if (toDisc && (units == 3 || (units > 3 && (units - 3) % 6 == 0)) && mmc.BufferCapacity()) {
      bufferLength_ = mmc.bufferLength();
      bufferUsed_ = mmc.bufferLength() - std::min(mmc.bufferLength(), mmc.bufferFree());
    }
    lba += sectors;
    sectorsWritten_ += sectors;
  }
  bool isComplete = !isFailed && !stop_.load() && sectorsWritten_.load() >= imageSectors_;
  if (isComplete && copyFirstToZero) {
    mmc.RunWith(SyncCache(false), nullptr, 0);
    isComplete = WriteUnit(0, firstUnit.data(), static_cast<uint32_t>(firstUnit.size() / 2048), true);
  }
  if (isComplete) {
    project_.status = kStatusWritten;
    sectorsWritten_ = imageSectors_;
  } else {
    stop_ = 1;  // the filler ends too
    Sleep(100);
    project_.status = kStatusWriteFailed;
  }
  int result = isComplete ? 0 : 1;

  device_.SetCloseAfterEachCommand(true);
  if (!toDisc) {
    CloseHandle(imageFile_);
    imageFile_ = INVALID_HANDLE_VALUE;
    if (isComplete && !MoveFileExA(tempPath_.c_str(), imagePath_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      project_.error = kErrorCreateImage;
      *errorName_ = AnsiToUtf16(imagePath_.c_str());
      isComplete = false;
      result = 1;
      project_.status = kStatusWriteFailed;
    }
    if (!isComplete) DeleteFileA(tempPath_.c_str());
  } else {
    CloseMedium(trackBase, isComplete);
  }
  if (project_.error != kErrorNone) result = 1;
  if (filler_) WaitForSingleObject(filler_, 30000);
  // Units a failed burn did not take are dropped here, under the lock.
  FreeCache();
  device_.SetDoNotRecord(false);

  EnterCriticalSection(lock_);
  CallCompletion(callback_, result);
  project_.status = kStatusIdle;
  running_ = 0;
  LeaveCriticalSection(lock_);
}

void BurnEngine::CloseMedium(uint8_t n, bool isComplete) {
  MmcDevice& mmc = device_.mmc();
  WriteSettings& settings = mmc.settings();
  auto close = [&](bool immediate, uint8_t function, uint16_t track) {
    return mmc.RunWith(CloseTrackSession(immediate, function, track), nullptr, 0);
  };
  if (!isComplete) {
    // Nothing is closed over a session whose data did not all arrive: the
    // medium keeps its last complete session.
    mmc.RunWith(SyncCache(false), nullptr, 0);
  } else {
    switch (discType_) {
      case kDiscDvdR:
        mmc.RunWith(SyncCache(false), nullptr, 0);
        close(false, 1, n + 1);
        close(false, 1, n + 2);
        close(false, 2, n + 3);
        break;
      case kDiscDvdPlusR:
        mmc.RunWith(SyncCache(false), nullptr, 0);
        close(false, 1, n + 1);
        if (settings.finalize) close(false, 6, 0);
        else close(false, 2, 0xFF);
        break;
      case kDiscDvdPlusRw:
        mmc.RunWith(SyncCache(false), nullptr, 0);
        close(false, 3, 0xFF);
        break;
      case kDiscDvdRwRestricted:
      case kDiscDvdRwSequential:
        mmc.RunWith(SyncCache(false), nullptr, 0);
        close(false, 1, 1);
        close(true, 2, 0);
        WaitWhileNotReady(mmc, false);
        break;
      case kDiscCdR:
      case kDiscCdRw:
        mmc.RunWith(SyncCache(true), nullptr, 0);
        WaitWhileNotReady(mmc, false);
        WaitWhileNotReady(mmc, true);
        mmc.WriteParameters(settings.testWrite, settings.burnProof, settings.finalize ? 0 : 1, discType_);
        if (!close(true, 2, 0)) close(true, 1, 0xFF);
        break;
      default: {
        bool waits = discType_ != kDiscDvdRam;
        mmc.RunWith(SyncCache(true), nullptr, 0);
        if (waits) {
          WaitWhileNotReady(mmc, false);
          WaitWhileNotReady(mmc, true);
        }
        if (!close(false, 1, 0xFF)) close(true, 1, 0xFF);
        mmc.WriteParameters(settings.testWrite, settings.burnProof, settings.finalize ? 0 : 1, discType_);
        if (!close(true, 2, 0)) close(false, 2, 0);
        break;
      }
    }
  }
  if (discType_ != kDiscDvdRam) WaitWhileNotReady(mmc, false);
  mmc.RunWith(Prevent(false), nullptr, 0);
  mmc.RunWith(StartStop(false, 3), nullptr, 0);
  mmc.RunWith(Rezero(), nullptr, 0);
  mmc.RunWith(TestUnitReady(), nullptr, 0);
}

}  // namespace discburn
