// The request block every command travels in: the ASPI for Win32
// execute-SCSI-command block, used as is by both transports.  The blocks
// themselves are defined once, with the interface they belong to
// (aspi_blocks.h); here are the names and the few values the library uses.
#pragma once

#include <cstddef>
#include <cstdint>

#include "aspi_blocks.h"

namespace discburn {

using ScsiRequest = ::SRB_ExecSCSICmd;
using HostAdapterInquiry = ::SRB_HAInquiry;
using GetDiskInfo = ::SRB_GetDiskInfo;

// Request block commands.
inline constexpr uint8_t kSrbHostAdapterInquiry = SC_HA_INQUIRY;
inline constexpr uint8_t kSrbExecuteScsi = SC_EXEC_SCSI_CMD;
inline constexpr uint8_t kSrbGetDiskInfo = SC_GET_DISK_INFO;
// Request status.
inline constexpr uint8_t kSrbPending = SS_PENDING;
inline constexpr uint8_t kSrbCompleted = SS_COMP;
inline constexpr uint8_t kSrbError = SS_ERR;
// Request flags.
inline constexpr uint8_t kSrbEventNotify = SRB_EVENT_NOTIFY;
inline constexpr uint8_t kSrbDataIn = SRB_DIR_IN;
inline constexpr uint8_t kSrbDataOut = SRB_DIR_OUT;
// Sense bytes asked of the drive (the device keeps 32; the block reserves
// kSrbSenseAreaSize).
inline constexpr uint8_t kSenseRequested = 24;
inline constexpr size_t kSenseAreaSize = kSrbSenseAreaSize;
static_assert(kSenseRequested <= kSenseAreaSize);
inline constexpr uint8_t kScsiStatusBusy = 8;

// The discovery scans' INQUIRY of `length` bytes into `buffer`, with event
// notification; the event is the caller's.
inline ScsiRequest MakeInquiryRequest(uint8_t* buffer, uint8_t length) {
  ScsiRequest request{};
  request.SRB_Cmd = kSrbExecuteScsi;
  request.SRB_Flags = kSrbEventNotify | kSrbDataIn;
  request.SRB_SenseLen = kSenseRequested;
  request.SRB_CDBLen = 6;
  request.CDBByte[0] = 0x12;
  request.CDBByte[4] = length;
  request.SRB_BufLen = length;
  request.SRB_BufPointer = buffer;
  return request;
}

}  // namespace discburn
