// Discovery order, selection, ExecuteScsi and the SCSI log; the two
// transports are in scsi_device_pass_through.cpp and scsi_device_aspi.cpp.
#include "scsi_device.h"

#include <algorithm>
#include <cstring>

#include "mmc_commands.h"
#include "scsi_log.h"

namespace discburn {

// One auto-reset event serves every ASPI request of the device: creating
// an event per command costs more than a whole 64 KiB write under Wine.
// A completion that signals it without a waiter leaves it set; the waits
// below therefore re-check the request's own status, which is what decides.
ScsiDevice::ScsiDevice() : event_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

ScsiDevice::~ScsiDevice() {
  CloseLog();
  CloseDriveHandle();
  UnloadAspi();
  if (event_) CloseHandle(event_);
}

const char* ScsiDevice::GetDeviceName(int index) const {
  if (index < 0 || index >= GetDeviceCount()) return nullptr;
  return table_[static_cast<size_t>(index)].text.c_str();
}

int ScsiDevice::OpenLog(const char* path) {
  CloseLog();
  log_ = std::fopen(path, "wt");
  if (!log_) return 0;
  Log(LogVersionLine().c_str());
  return 1;
}

int ScsiDevice::CloseLog() {
  if (!log_) return 0;
  std::fclose(log_);
  log_ = nullptr;
  return 1;
}

void ScsiDevice::Log(const char* text) {
  if (!log_) return;
  std::fputs(text, log_);
  std::fflush(log_);
}

void ScsiDevice::SetCloseAfterEachCommand(bool on) {
  closeAfterEachCommand_ = on;
  if (on) CloseDriveHandle();
}

void ScsiDevice::CloseDriveHandle() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

int ScsiDevice::InitializeDevices(int useAspi, const char* aspiLibrary, int /*reserved*/, const char* logPath) {
  initialised_ = false;
  usePassThrough_ = false;
  if (logPath != nullptr && OpenLog(logPath) == 0) return 0;
  table_.clear();
  lastUseAspi_ = useAspi;
  if (useAspi == 0 && ScanPassThrough()) {
    initialised_ = true;
    usePassThrough_ = true;
    return 1;
  }
  table_.clear();
  return ScanAspi(aspiLibrary);
}

int ScsiDevice::SelectDevice(int index) {
  if (index < 0 || index >= GetDeviceCount()) return 0;
  const DriveEntry& entry = table_[static_cast<size_t>(index)];
  adapter_ = entry.adapter;
  target_ = entry.target;
  lun_ = entry.lun;
  letter_ = entry.letter;
  selectedIndex_ = index;
  CloseDriveHandle();
  uint8_t answer[32] = {};
  bool answered = mmc_.RunWith(Inquiry(32), answer, sizeof answer) && mmc_.lastOutcome().validBytes >= 32;
  mmc_.ReadCapabilities();
  if (!answered) return 0;
  vendor_.assign(reinterpret_cast<const char*>(answer + 8), 8);
  product_.assign(reinterpret_cast<const char*>(answer + 16), 16);
  return 1;
}

ScsiOutcome ScsiDevice::RequestTransport::Execute(const ScsiCommand& command, uint8_t* data, uint32_t dataLength) {
  ScsiRequest request{};
  request.SRB_Flags = command.direction == DataDirection::kIn    ? kSrbEventNotify | kSrbDataIn
                  : command.direction == DataDirection::kOut ? kSrbEventNotify | kSrbDataOut
                                                             : kSrbEventNotify;
  request.SRB_CDBLen = command.cdbLength;
  std::memcpy(request.CDBByte, command.cdb.data(), sizeof request.CDBByte);
  request.SRB_BufLen = data ? dataLength : 0;
  request.SRB_BufPointer = data;
  ScsiOutcome outcome;
  outcome.completed = device_->ExecuteScsi(&request) == kSrbCompleted;
  outcome.targetStatus = request.SRB_TargStat;
  std::memcpy(outcome.sense.bytes.data(), request.SenseArea, kSenseAreaSize);
  // Neither transport reports a residual count: the reply's own length
  // fields bound what is read of the buffer.
  outcome.validBytes = outcome.completed ? request.SRB_BufLen : 0;
  return outcome;
}

uint8_t ScsiDevice::ExecuteScsi(ScsiRequest* request) {
  HANDLE event = event_;
  request->SRB_Cmd = kSrbExecuteScsi;
  request->SRB_HaId = adapter_;
  request->SRB_Target = target_;
  request->SRB_Lun = lun_;
  request->SRB_SenseLen = kSenseRequested;
  request->SRB_PostProc = event;
  if (write10Compatibility_) ApplyWrite10Compatibility(request->CDBByte);

  uint8_t transportResult;
  if (usePassThrough_) {
    transportResult = RunPassThrough(request);
  } else if (sendAspi_ != nullptr && event != nullptr) {
    transportResult = SendAspi(request, event);
  } else {
    // No drive layer: the command cannot be sent.
    request->SRB_Status = kSrbError;
    transportResult = kSrbError;
  }
  LogCommand(*request, request->SRB_Status);

  busy_ = transportResult != kSrbPending && transportResult != kSrbCompleted &&
          request->SRB_TargStat == kScsiStatusBusy;
  uint8_t asc = request->SenseArea[12], ascq = request->SenseArea[13];
  if (request->SRB_Status != kSrbCompleted && asc != 0 && !doNotRecord_) {
    lastError_ = static_cast<uint16_t>((asc << 8) | ascq);
  }
  return request->SRB_Status;
}

void ScsiDevice::LogCommand(const ScsiRequest& request, uint8_t status) {
  if (!log_) return;
  SYSTEMTIME now;
  GetSystemTime(&now);
  LogEntry entry;
  entry.minute = now.wMinute;
  entry.second = now.wSecond;
  entry.millisecond = now.wMilliseconds;
  std::memcpy(entry.cdb, request.CDBByte, sizeof entry.cdb);
  entry.flags = request.SRB_Flags;
  entry.cdbLength = request.SRB_CDBLen;
  entry.adapter = request.SRB_HaId;
  entry.target = request.SRB_Target;
  entry.lun = request.SRB_Lun;
  entry.status = status;
  entry.dataLength = request.SRB_BufLen;
  entry.dataAddress = reinterpret_cast<uintptr_t>(request.SRB_BufPointer);
  entry.data = request.SRB_BufPointer;
  entry.asc = request.SenseArea[12];
  entry.ascq = request.SenseArea[13];
  entry.passThrough = usePassThrough_;
  entry.win32Error = static_cast<int>(lastWin32Error_);
  Log(FormatLogLine(entry).c_str());
}

}  // namespace discburn
