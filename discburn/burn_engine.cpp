// The burn engine: the cache filler and the writer threads around the
// burn's command sequence (core/burn_sequence.h).
//
// The filler cuts the image (header, boot image, every source file, as
// ImageStream yields it, or an existing image file) into write units and
// queues them; the writer takes them in order and writes them.  The queue
// lives under the library's lock, and is only ever freed under it.  A burn
// ends as a success only when every sector of the image reached the drive
// or the file: a stop, a source that cannot be read or a failed write is a
// failure, and then the session is not closed over data that is missing.
#include <algorithm>

#include "core/image_header.h"
#include "core/image_stream.h"
#include "library_thread.h"
#include "vdsc_burner.h"

namespace discburn {

namespace {

constexpr unsigned kThreadStack = 64000;

}  // namespace

UtcTime WinBurnPacing::NowUtc() {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  return {static_cast<uint16_t>(now.wYear), static_cast<uint8_t>(now.wMonth), static_cast<uint8_t>(now.wDay),
          static_cast<uint8_t>(now.wHour), static_cast<uint8_t>(now.wMinute), static_cast<uint8_t>(now.wSecond)};
}

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
  WinBurnPacing pacing;
  return WaitWhileNotReady(mmc, pacing, withTestUnitReady, stop);
}

BurnEngine::BurnEngine(BurnProject& project, ScsiDevice& device, CRITICAL_SECTION* lock,
                       std::u16string* errorName)
    : project_(project),
      device_(device),
      lock_(lock),
      errorName_(errorName),
      sequence_(device.mmc(), pacing_, stop_) {}

BurnEngine::~BurnEngine() {
  // The library is unloaded.  Its burn threads hold references on it, so
  // this runs once they have ended, or at process exit, when they are gone
  // already: nothing is waited for here, under the loader's lock.
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
    sequence_.BeginImage(mmc.QueryDiscType());
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
    imageSectors_ = project_.layout.imageSectors;
  }

  // An image file stands alone: its sectors count from 0 whatever session
  // a disc burn before it started at.
  uint32_t sessionStart = 0;
  if (mode == Mode::kProjectToDisc) sessionStart = sequence_.BeginProject(mmc.QueryDiscType());
  // An image file gets whole 32-sector units whatever medium was seen
  // last, so that it holds the image and nothing after it.
  unitSectors_ = mode == Mode::kProjectToFile ? 32 : WriteUnitSectors(sequence_.discType());
  if (mode != Mode::kImageToDisc) {
    header_.clear();
    if (!WriteImageHeader(project_, sessionStart, &header_)) {
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

  filler_ = StartLibraryThread(kThreadStack, FillerMain, this);
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
  writer_ = StartLibraryThread(kThreadStack, WriterMain, this);
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

bool BurnEngine::WriteUnitsToDisc() {
  sequence_.Prologue(imageSectors_);
  device_.SetCloseAfterEachCommand(false);
  std::vector<uint8_t> unit;
  for (;;) {
    int count = Fetch(&unit);
    if (count == 0) return true;
    if (count < 0) {
      Sleep(1);
      continue;
    }
    uint32_t sectors = static_cast<uint32_t>(count) / 2048;
    if (!sequence_.WriteNext(unit.data(), sectors)) {
      // A write judged failed after its retries: its sense is the error.
      if (!stop_.load()) device_.RecordError(ErrorNumberFromSense(device_.mmc().lastOutcome().sense));
      return false;
    }
    sectorsWritten_ += sectors;
  }
}

bool BurnEngine::WriteUnitsToFile() {
  std::vector<uint8_t> unit;
  for (;;) {
    int count = Fetch(&unit);
    if (count == 0) return true;
    if (count < 0) {
      Sleep(1);
      continue;
    }
    DWORD written = 0;
    if (!WriteFile(imageFile_, unit.data(), static_cast<DWORD>(count), &written, nullptr) ||
        written != static_cast<DWORD>(count)) {
      project_.error = kErrorCreateImage;
      *errorName_ = AnsiToUtf16(imagePath_.c_str());
      return false;
    }
    sectorsWritten_ += static_cast<uint32_t>(count) / 2048;
  }
}

void BurnEngine::RunWriter() {
  project_.status = kStatusWriting;
  // Sense data of the retried commands of a burn are not errors; a failed
  // write records its own.
  device_.SetDoNotRecord(true);
  const bool toDisc = mode_ != Mode::kProjectToFile;
  bool isWritten = toDisc ? WriteUnitsToDisc() : WriteUnitsToFile();
  bool isComplete = isWritten && !stop_.load() && sectorsWritten_.load() >= imageSectors_;
  if (toDisc) {
    const bool allDataWritten = isComplete;
    isComplete = sequence_.CompleteSession(isComplete);
    // The rewrite of the first unit failed: its sense is the error, unless a
    // stop ended it.
    if (allDataWritten && !isComplete && !stop_.load()) {
      device_.RecordError(ErrorNumberFromSense(device_.mmc().lastOutcome().sense));
    }
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
    sequence_.CloseMedium(isComplete);
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

}  // namespace discburn
