// The library's device object: finds the CD/DVD drives of the machine (SCSI
// pass-through on the drive letters first, ASPI through WNASPI32.DLL when
// that finds none or the client asks for it), keeps them in the drive
// table, selects one, and sends it every command through ExecuteScsi, which
// also writes the SCSI log.  The medium queries (core/mmc_device.h) run over
// this device through a transport that wraps each command in a request
// block.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "drive_table.h"
#include "mmc_device.h"
#include "scsi_request.h"

namespace discburn {

// Longest wait for one command: the pass-through time-out, also used for
// an ASPI request that completes later.
inline constexpr DWORD kCommandTimeoutMs = 120000;
inline constexpr uint8_t kNoAddress = 127;

class ScsiDevice {
 public:
  ScsiDevice();
  ~ScsiDevice();
  ScsiDevice(const ScsiDevice&) = delete;
  ScsiDevice& operator=(const ScsiDevice&) = delete;

  // Rebuilds the drive table (`vdscInitializeASPI`); 1 when a drive layer
  // was found, 0 otherwise.  `reserved` is not used.
  int InitializeDevices(int useAspi, const char* aspiLibrary, int reserved, const char* logPath);
  // The display text of entry `index`, NULL past the table.  The device owns it.
  const char* GetDeviceName(int index) const;
  int GetDeviceCount() const { return static_cast<int>(table_.size()); }
  // 1 when the drive is selected and answered INQUIRY; 0 for an index out
  // of range (the previous selection stays) or a drive that did not answer.
  int SelectDevice(int index);

  // Sends one request to the selected drive; returns its status byte
  // (1 completed).  The request's command block, flags, data fields and
  // CDB are the caller's; the address, sense length and event are set here.
  uint8_t ExecuteScsi(ScsiRequest* request);

  int OpenLog(const char* path);  // 1 opened
  int CloseLog();                 // 1 when a log was open

  MmcDevice& mmc() { return mmc_; }
  void SetWrite10Compatibility(bool on) { write10Compatibility_ = on; }
  void SetCloseAfterEachCommand(bool on);
  void SetDoNotRecord(bool on) { doNotRecord_ = on; }
  // ASC << 8 | ASCQ of the last failed command with sense, 0 when none.
  uint16_t lastError() const { return lastError_; }
  void ClearLastError() { lastError_ = 0; }
  // Records the error of a command whose sense was not recorded when it
  // failed (a burn's write, judged after its retries).
  void RecordError(uint16_t code) { lastError_ = code; }
  bool isBusy() const { return busy_; }
  // The ASPI scan's completion event comes from this function
  // (CreateEventA); a test hands in one that fails.  Null restores it.
  using EventMaker = HANDLE (*)();
  void SetScanEventMaker(EventMaker maker) { makeScanEvent_ = maker ? maker : &MakeScanEvent; }
  bool usesPassThrough() const { return usePassThrough_; }
  char selectedLetter() const { return letter_; }
  const std::string& vendor() const { return vendor_; }
  const std::string& product() const { return product_; }

 private:
  class RequestTransport : public ScsiTransport {
   public:
    explicit RequestTransport(ScsiDevice* device) : device_(device) {}
    ScsiOutcome Execute(const ScsiCommand& command, uint8_t* data, uint32_t dataLength) override;

   private:
    ScsiDevice* device_;
  };

  // Pass-through (scsi_device_pass_through.cpp).
  bool ScanPassThrough();
  uint8_t RunPassThrough(ScsiRequest* request);
  static bool PassThrough(HANDLE handle, ScsiRequest* request, DWORD* win32Error);
  static HANDLE OpenDrive(char letter);
  static bool AddressOfLetter(char letter, uint8_t* adapter, uint8_t* target, uint8_t* lun);
  void CloseDriveHandle();

  // ASPI (scsi_device_aspi.cpp).
  int ScanAspi(const char* library);
  uint8_t SendAspi(void* block, HANDLE event);
  void UnloadAspi();
  static HANDLE MakeScanEvent() { return CreateEventA(nullptr, TRUE, FALSE, nullptr); }

  void Log(const char* text);
  void LogCommand(const ScsiRequest& request, uint8_t status);

  RequestTransport transport_{this};
  MmcDevice mmc_{&transport_};
  uint8_t adapter_ = kNoAddress, target_ = kNoAddress, lun_ = kNoAddress;
  int selectedIndex_ = -1;
  char letter_ = 127;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  HANDLE event_ = nullptr;  // completion of ASPI requests (auto-reset)
  bool closeAfterEachCommand_ = true;
  std::string vendor_, product_;
  std::vector<DriveEntry> table_;
  bool initialised_ = false;
  bool usePassThrough_ = false;
  int lastUseAspi_ = 0;
  bool write10Compatibility_ = false;
  bool doNotRecord_ = false;
  bool busy_ = false;
  uint16_t lastError_ = 0;
  DWORD lastWin32Error_ = 0;
  FILE* log_ = nullptr;
  HMODULE aspiModule_ = nullptr;
  DWORD(__cdecl* sendAspi_)(void*) = nullptr;
  EventMaker makeScanEvent_ = &MakeScanEvent;
};

}  // namespace discburn
