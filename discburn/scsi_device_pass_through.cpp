// SCSI pass-through on a drive letter's volume handle: the scan of the
// letters C to Z and the one-request path of ExecuteScsi.
#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "scsi_device.h"

namespace discburn {
namespace {

// The request as the pass-through call takes it: the Windows block (44
// bytes on 32-bit Windows) and the sense buffer it points to at offset 48.
struct PassThroughBlock {
  SCSI_PASS_THROUGH_DIRECT header;
  ULONG filler;
  UCHAR sense[32];
};
#ifndef _WIN64
static_assert(sizeof(SCSI_PASS_THROUGH_DIRECT) == 44);
static_assert(offsetof(PassThroughBlock, sense) == 48);
#endif

constexpr DWORD kMediaChanged = 1110;  // ERROR_MEDIA_CHANGED
constexpr ULONG kPassThroughTimeoutSec = 120;

}  // namespace

HANDLE ScsiDevice::OpenDrive(char letter) {
  char path[8];
  std::snprintf(path, sizeof path, "\\\\.\\%c:", letter);
  HANDLE handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  return handle;
}

bool ScsiDevice::AddressOfLetter(char letter, uint8_t* adapter, uint8_t* target, uint8_t* lun) {
  char root[4] = {letter, ':', '\\', 0};
  if (GetDriveTypeA(root) != DRIVE_CDROM) return false;
  HANDLE handle = OpenDrive(letter);
  if (handle == INVALID_HANDLE_VALUE) return false;
  SCSI_ADDRESS address{};
  address.Length = sizeof address;
  DWORD returned = 0;
  bool ok = DeviceIoControl(handle, IOCTL_SCSI_GET_ADDRESS, nullptr, 0, &address, sizeof address, &returned,
                            nullptr) != FALSE;
  CloseHandle(handle);
  if (!ok) return false;
  *adapter = address.PortNumber;
  *target = address.TargetId;
  *lun = address.Lun;
  return true;
}

bool ScsiDevice::PassThrough(HANDLE handle, ScsiRequest* request, DWORD* win32Error) {
  PassThroughBlock block{};
  block.header.Length = sizeof(SCSI_PASS_THROUGH_DIRECT);
  block.header.CdbLength = request->SRB_CDBLen;
  block.header.SenseInfoLength = request->SRB_SenseLen;
  block.header.DataIn = (request->SRB_Flags & kSrbDataIn)    ? SCSI_IOCTL_DATA_IN
                        : (request->SRB_Flags & kSrbDataOut) ? SCSI_IOCTL_DATA_OUT
                                                         : SCSI_IOCTL_DATA_UNSPECIFIED;
  block.header.DataTransferLength = request->SRB_BufLen;
  block.header.TimeOutValue = kPassThroughTimeoutSec;
  block.header.DataBuffer = request->SRB_BufPointer;
  block.header.SenseInfoOffset = offsetof(PassThroughBlock, sense);
  std::memcpy(block.header.Cdb, request->CDBByte, sizeof block.header.Cdb);
  DWORD returned = 0;
  BOOL ok = DeviceIoControl(handle, IOCTL_SCSI_PASS_THROUGH_DIRECT, &block, sizeof block, &block, sizeof block,
                            &returned, nullptr);
  *win32Error = ok ? 0 : GetLastError();
  if (!ok || block.header.ScsiStatus != 0) {
    request->SRB_Status = kSrbError;
    std::memcpy(request->SenseArea, block.sense, sizeof block.sense);
    request->SRB_TargStat = block.header.ScsiStatus;
    return false;
  }
  request->SRB_Status = kSrbCompleted;
  return true;
}

uint8_t ScsiDevice::RunPassThrough(ScsiRequest* request) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (handle_ == INVALID_HANDLE_VALUE) handle_ = OpenDrive(letter_);
    if (handle_ == INVALID_HANDLE_VALUE) {
      lastWin32Error_ = GetLastError();
      request->SRB_Status = kSrbError;
      return kSrbError;
    }
    PassThrough(handle_, request, &lastWin32Error_);
    if (closeAfterEachCommand_) CloseDriveHandle();
    // A changed medium invalidates the handle: reopen once and resend.
    if (lastWin32Error_ != kMediaChanged || attempt == 1) break;
    CloseDriveHandle();
  }
  return request->SRB_Status;
}

bool ScsiDevice::ScanPassThrough() {
  std::vector<DriveEntry> addressed, unaddressed;
  char text[64];
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    char root[4] = {letter, ':', '\\', 0};
    UINT type = GetDriveTypeA(root);
    if (type != DRIVE_CDROM) {
      std::snprintf(text, sizeof text, "%c: ( %d ", letter, static_cast<int>(type));
      Log(text);
      continue;
    }
    if (addressed.size() + unaddressed.size() >= 24) break;  // the letters C to Z
    // A drive that cannot be opened or does not answer still gets an
    // entry, with an empty text, as one that fails INQUIRY.
    HANDLE handle = OpenDrive(letter);
    DriveEntry entry;
    entry.letter = letter;
    SCSI_ADDRESS address{};
    address.Length = sizeof address;
    DWORD returned = 0;
    bool hasAddress = handle != INVALID_HANDLE_VALUE &&
                      DeviceIoControl(handle, IOCTL_SCSI_GET_ADDRESS, nullptr, 0, &address, sizeof address,
                                      &returned, nullptr) != FALSE;
    if (hasAddress) {
      entry.adapter = address.PortNumber;
      entry.target = address.TargetId;
      entry.lun = address.Lun;
    }
    uint8_t answer[64] = {};
    ScsiRequest request =
        MakeInquiryRequest(answer, sizeof answer);
    std::snprintf(text, sizeof text, "%c: %d - ( ", letter, static_cast<int>(type));
    Log(text);
    DWORD error = 0;
    if (handle != INVALID_HANDLE_VALUE && PassThrough(handle, &request, &error)) {
      entry.identity = IdentityFromInquiry(answer, sizeof answer);
    }
    entry.text = FormatDriveText(entry);
    Log(entry.text.c_str());
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    Log(")\n");
    (hasAddress ? addressed : unaddressed).push_back(entry);
  }
  table_ = MergeDriveTable(std::move(addressed), std::move(unaddressed));
  // Only drives that answered as CD/DVD devices count as found; otherwise
  // the ASPI scan gets its turn.
  return HasCdDvdDrive(table_);
}

}  // namespace discburn
