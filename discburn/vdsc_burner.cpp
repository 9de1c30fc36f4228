// The library object: construction at load, capabilities and commands,
// the project steps that touch the drive, and the error number with its
// texts.
#include "vdsc_burner.h"

#include <algorithm>

#include "core/drive_sector_reader.h"
#include "core/image_layout.h"
#include "core/session_import.h"

namespace discburn {

namespace {

constexpr const char* kScsiLogPath = "c:\\vdsc.elg";
constexpr size_t kMaxErrorText = 255;

}  // namespace

CVDSCBurner::CVDSCBurner()
    : project_(std::make_unique<BurnProject>(files_, clock_)), device_(std::make_unique<ScsiDevice>()) {
  device_->mmc().settings().burnProof = 1;
  device_->InitializeDevices(0, nullptr, 0, nullptr);
  project_->Clear(0);
  project_->hasJolietTree = true;
  InitializeCriticalSection(&lock_);
  burn_ = std::make_unique<BurnEngine>(*project_, *device_, &lock_, &errorName_);
  erase_ = std::make_unique<EraseEngine>(*device_, &lock_);
}

CVDSCBurner::~CVDSCBurner() {
  burn_.reset();
  erase_.reset();
  project_->Clear(0);
  DeleteCriticalSection(&lock_);
  device_->CloseLog();
  device_.reset();
  project_.reset();
}

int CVDSCBurner::DeviceCan(int code) {
  switch (code) {
    case 72:
      return device_->OpenLog(kScsiLogPath);
    case 73:
      return device_->CloseLog();
    case 77:
      device_->SetWrite10Compatibility(true);
      return 0;
    default:
      return device_->mmc().Capability(code);
  }
}

int CVDSCBurner::ComponentState() const {
  int busy = erase_->busyCode();
  if (busy != 0) return busy;
  return project_->status;
}

int CVDSCBurner::ImportSession(int session, const std::u16string& destDir) {
  MmcDevice& mmc = device_->mmc();
  project_->status = kStatusImporting;
  uint8_t number = static_cast<uint8_t>(session);
  if (number == 0) number = mmc.SessionsOnDisc();
  const WriteSettings& settings = mmc.settings();
  mmc.WriteParameters(settings.testWrite, settings.burnProof, settings.finalize ? 0 : 1, mmc.cachedDiscType());
  if (number != 0) {
    if (auto start = SessionStartSector(mmc, number)) {
      DriveSectorReader reader(mmc);
      discburn::ImportSession(*project_, reader, *start, destDir);
    }
  }
  // The session number used, also when it held no tree to import; 0 only
  // for a medium without a complete session.
  project_->status = kStatusIdle;
  return number;
}

DirNode* CVDSCBurner::InsertDir(const std::u16string& destDir, const std::u16string& sourceDir,
                                const std::u16string& mask, bool recurse, bool keepPath,
                                bool isWideSource) {
  const size_t problemsBefore = project_->problems().size();
  DirNode* dest = project_->InsertDir(destDir, sourceDir, mask, recurse, keepPath, isWideSource);
  if (project_->problems().size() > problemsBefore) {
    project_->error = kErrorOpenSource;
    errorName_ = project_->problems()[problemsBefore].path;
  }
  return dest;
}

int CVDSCBurner::Prepare() {
  project_->status = kStatusPreparing;
  uint32_t sectors = LayoutImage(*project_);
  project_->status = kStatusIdle;
  return static_cast<int>(sectors);
}

int CVDSCBurner::TakeErrorNumber() {
  if (project_->error != kErrorNone) {
    int error = project_->error;
    project_->error = kErrorNone;
    return error;
  }
  int error = device_->lastError();
  device_->ClearLastError();
  return error;
}

const char* CVDSCBurner::TakeErrorText() {
  int error = TakeErrorNumber();
  errorText_ = Utf16ToAnsi(ErrorText(error, error == 2 || error == 3 ? errorName_ : std::u16string()));
  if (errorText_.size() > kMaxErrorText) errorText_.resize(kMaxErrorText);
  return errorText_.c_str();
}

const wchar_t* CVDSCBurner::TakeErrorTextW() {
  int error = TakeErrorNumber();
  errorTextW_ = ErrorText(error, error == 2 || error == 3 ? errorName_ : std::u16string());
  return AsWide(errorTextW_);
}

}  // namespace discburn
