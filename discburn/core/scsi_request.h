// The request block every command travels in: the ASPI for Win32
// execute-SCSI-command block (SRB_ExecSCSICmd), used as is by both
// transports.  Laid out byte for byte as the published 32-bit interface,
// with the pointer and handle fields as 32-bit numbers so the layout is the
// same in the native build that tests it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace discburn {

// Request block commands.
inline constexpr uint8_t kSrbHostAdapterInquiry = 0;
inline constexpr uint8_t kSrbExecuteScsi = 2;
inline constexpr uint8_t kSrbGetDiskInfo = 6;
// Request status.
inline constexpr uint8_t kSrbPending = 0;
inline constexpr uint8_t kSrbCompleted = 1;
inline constexpr uint8_t kSrbError = 4;
// Request flags.
inline constexpr uint8_t kSrbEventNotify = 0x40;
inline constexpr uint8_t kSrbDataIn = 0x08;
inline constexpr uint8_t kSrbDataOut = 0x10;
// Sense bytes asked of the drive, and the sense area the block reserves:
// the published block has 16 bytes there, but 24 are asked for and the
// device keeps 32, so the block reserves 32.
inline constexpr uint8_t kSenseRequested = 24;
inline constexpr size_t kSenseAreaSize = 32;
inline constexpr uint8_t kScsiStatusBusy = 8;

#pragma pack(push, 1)
struct ScsiRequest {
  uint8_t command;          //  0 SRB_Cmd
  uint8_t status;           //  1 SRB_Status
  uint8_t hostAdapter;      //  2 SRB_HaId
  uint8_t flags;            //  3 SRB_Flags
  uint32_t reserved1;       //  4 SRB_Hdr_Rsvd
  uint8_t target;           //  8 SRB_Target
  uint8_t lun;              //  9 SRB_Lun
  uint16_t reserved2;       // 10 SRB_Rsvd1
  uint32_t dataLength;      // 12 SRB_BufLen
  uint32_t dataBuffer;      // 16 SRB_BufPointer (32-bit address)
  uint8_t senseLength;      // 20 SRB_SenseLen
  uint8_t cdbLength;        // 21 SRB_CDBLen
  uint8_t hostStatus;       // 22 SRB_HaStat
  uint8_t targetStatus;     // 23 SRB_TargStat
  uint32_t postEvent;       // 24 SRB_PostProc (event handle)
  uint8_t reserved3[20];    // 28 SRB_Rsvd2, SRB_Rsvd3
  uint8_t cdb[16];          // 48 CDBByte
  uint8_t senseArea[kSenseAreaSize];  // 64 SenseArea
};
#pragma pack(pop)

static_assert(offsetof(ScsiRequest, command) == 0);
static_assert(offsetof(ScsiRequest, status) == 1);
static_assert(offsetof(ScsiRequest, hostAdapter) == 2);
static_assert(offsetof(ScsiRequest, flags) == 3);
static_assert(offsetof(ScsiRequest, target) == 8);
static_assert(offsetof(ScsiRequest, lun) == 9);
static_assert(offsetof(ScsiRequest, dataLength) == 12);
static_assert(offsetof(ScsiRequest, dataBuffer) == 16);
static_assert(offsetof(ScsiRequest, senseLength) == 20);
static_assert(offsetof(ScsiRequest, cdbLength) == 21);
static_assert(offsetof(ScsiRequest, hostStatus) == 22);
static_assert(offsetof(ScsiRequest, targetStatus) == 23);
static_assert(offsetof(ScsiRequest, postEvent) == 24);
static_assert(offsetof(ScsiRequest, cdb) == 48);
static_assert(offsetof(ScsiRequest, senseArea) == 64);
static_assert(sizeof(ScsiRequest) == 96);

// The discovery scans' INQUIRY of `length` bytes into the buffer at
// `bufferAddress`, with event notification; the address fields are the
// caller's.
inline ScsiRequest MakeInquiryRequest(uint32_t bufferAddress, uint8_t length) {
  ScsiRequest request{};
  request.command = kSrbExecuteScsi;
  request.flags = kSrbEventNotify | kSrbDataIn;
  request.senseLength = kSenseRequested;
  request.cdbLength = 6;
  request.cdb[0] = 0x12;
  request.cdb[4] = length;
  request.dataLength = length;
  request.dataBuffer = bufferAddress;
  return request;
}

// Host adapter inquiry (SRB_HAInquiry) and get disk info (SRB_GetDiskInfo).
#pragma pack(push, 1)
struct HostAdapterInquiry {
  uint8_t command;          //  0
  uint8_t status;           //  1
  uint8_t hostAdapter;      //  2
  uint8_t flags;            //  3
  uint32_t reserved1;       //  4
  uint8_t adapterCount;     //  8 HA_Count
  uint8_t adapterScsiId;    //  9 HA_SCSI_ID
  char managerId[16];       // 10 HA_ManagerId
  char identifier[16];      // 26 HA_Identifier
  uint8_t unique[16];       // 42 HA_Unique
  uint16_t reserved2;       // 58 HA_Rsvd1
};
struct GetDiskInfo {
  uint8_t command;          //  0
  uint8_t status;           //  1
  uint8_t hostAdapter;      //  2
  uint8_t flags;            //  3
  uint32_t reserved1;       //  4
  uint8_t target;           //  8
  uint8_t lun;              //  9
  uint8_t driveFlags;       // 10
  uint8_t int13Drive;       // 11 SRB_Int13HDriveInfo: BIOS drive number
  uint8_t heads;            // 12
  uint8_t sectors;          // 13
  uint8_t reserved2[10];    // 14
};
#pragma pack(pop)
static_assert(offsetof(HostAdapterInquiry, adapterCount) == 8);
static_assert(offsetof(HostAdapterInquiry, identifier) == 26);
static_assert(sizeof(HostAdapterInquiry) == 60);
static_assert(offsetof(GetDiskInfo, int13Drive) == 11);
static_assert(sizeof(GetDiskInfo) == 24);

}  // namespace discburn
