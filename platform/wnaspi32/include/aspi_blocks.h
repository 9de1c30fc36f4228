// The request blocks (SRBs) of the ASPI for Win32 interface, the one
// definition that both sides of it use: the disc-burning library that sends
// them and our wnaspi32.dll that answers them.  Portable (no windows.h), so
// the native tests of the library see the same blocks.
//
// The blocks are packed and carry their pointers as pointers: on i686 that
// is the published 32-bit layout byte for byte; on x86_64 the buffer
// pointer and the completion field take 8 bytes each and everything after
// them moves on, which is the layout a 64-bit caller of the interface uses.
#pragma once

#include <cstddef>
#include <cstdint>

// Request commands.
#define SC_HA_INQUIRY 0x00
#define SC_GET_DEV_TYPE 0x01
#define SC_EXEC_SCSI_CMD 0x02
#define SC_ABORT_SRB 0x03
#define SC_RESET_DEV 0x04
#define SC_GET_DISK_INFO 0x06
// Request status.
#define SS_PENDING 0x00
#define SS_COMP 0x01
#define SS_ABORTED 0x02
#define SS_ERR 0x04
#define SS_INVALID_CMD 0x80
#define SS_INVALID_HA 0x81
#define SS_NO_DEVICE 0x82
#define SS_NO_ADAPTERS 0xE8
// Request flags.
#define SRB_POSTING 0x01
#define SRB_DIR_IN 0x08
#define SRB_DIR_OUT 0x10
#define SRB_EVENT_NOTIFY 0x40

#pragma pack(push, 1)
struct SRB_Header {
  uint8_t SRB_Cmd;        // 0
  uint8_t SRB_Status;     // 1
  uint8_t SRB_HaId;       // 2
  uint8_t SRB_Flags;      // 3
  uint32_t SRB_Hdr_Rsvd;  // 4
};

struct SRB_HAInquiry {
  uint8_t SRB_Cmd, SRB_Status, SRB_HaId, SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
  uint8_t HA_Count;           // 8
  uint8_t HA_SCSI_ID;         // 9
  char HA_ManagerId[16];      // 10
  char HA_Identifier[16];     // 26
  uint8_t HA_Unique[16];      // 42
  uint16_t HA_Rsvd1;          // 58
};

struct SRB_GDEVBlock {
  uint8_t SRB_Cmd, SRB_Status, SRB_HaId, SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
  uint8_t SRB_Target;      // 8
  uint8_t SRB_Lun;         // 9
  uint8_t SRB_DeviceType;  // 10
  uint8_t SRB_Rsvd1;       // 11
};

// The published block reserves 16 sense bytes; a caller may reserve more
// and ask for up to that many with SRB_SenseLen, and the layer fills what
// was asked.  Our library asks for 24, so the block reserves 32.
inline constexpr size_t kSrbSenseAreaSize = 32;

struct SRB_ExecSCSICmd {
  uint8_t SRB_Cmd, SRB_Status, SRB_HaId, SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
  uint8_t SRB_Target;         //  8
  uint8_t SRB_Lun;            //  9
  uint16_t SRB_Rsvd1;         // 10
  uint32_t SRB_BufLen;        // 12
  uint8_t* SRB_BufPointer;    // 16
  uint8_t SRB_SenseLen;       // 20 (x86_64: 24)
  uint8_t SRB_CDBLen;         // 21
  uint8_t SRB_HaStat;         // 22
  uint8_t SRB_TargStat;       // 23
  void* SRB_PostProc;         // 24 (x86_64: 28): event handle or completion routine
  uint8_t SRB_Rsvd2[20];      // 28 (x86_64: 36)
  uint8_t CDBByte[16];        // 48 (x86_64: 56)
  uint8_t SenseArea[kSrbSenseAreaSize];  // 64 (x86_64: 72)
};

// Asks the layer to drop a pending request.
struct SRB_Abort {
  uint8_t SRB_Cmd, SRB_Status, SRB_HaId, SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
  void* SRB_ToAbort;  // 8: the request block
};

struct SRB_GetDiskInfo {
  uint8_t SRB_Cmd, SRB_Status, SRB_HaId, SRB_Flags;
  uint32_t SRB_Hdr_Rsvd;
  uint8_t SRB_Target;           // 8
  uint8_t SRB_Lun;              // 9
  uint8_t SRB_DriveFlags;       // 10
  uint8_t SRB_Int13HDriveInfo;  // 11: BIOS drive number
  uint8_t SRB_Heads;            // 12
  uint8_t SRB_Sectors;          // 13
  uint8_t SRB_Rsvd1[10];        // 14
};
#pragma pack(pop)

// The layouts that hold on every architecture.
static_assert(offsetof(SRB_HAInquiry, HA_Count) == 8);
static_assert(offsetof(SRB_HAInquiry, HA_Identifier) == 26);
static_assert(offsetof(SRB_HAInquiry, HA_Unique) == 42);
static_assert(sizeof(SRB_HAInquiry) == 60);
static_assert(offsetof(SRB_GDEVBlock, SRB_DeviceType) == 10);
static_assert(offsetof(SRB_Abort, SRB_ToAbort) == 8);
static_assert(offsetof(SRB_GetDiskInfo, SRB_Int13HDriveInfo) == 11);
static_assert(sizeof(SRB_GetDiskInfo) == 24);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_Target) == 8);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_BufLen) == 12);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_BufPointer) == 16);

// The execute block around its two pointers.
inline constexpr size_t kSrbPointerSize = sizeof(void*);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_SenseLen) == 16 + kSrbPointerSize);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_TargStat) == 19 + kSrbPointerSize);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_PostProc) == 20 + kSrbPointerSize);
static_assert(offsetof(SRB_ExecSCSICmd, CDBByte) == 40 + 2 * kSrbPointerSize);
static_assert(offsetof(SRB_ExecSCSICmd, SenseArea) == 56 + 2 * kSrbPointerSize);
#if defined(_WIN32) && !defined(_WIN64)
// The published 32-bit blocks.
static_assert(sizeof(SRB_Abort) == 12);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_PostProc) == 24);
static_assert(offsetof(SRB_ExecSCSICmd, CDBByte) == 48);
static_assert(offsetof(SRB_ExecSCSICmd, SenseArea) == 64);
static_assert(sizeof(SRB_ExecSCSICmd) == 96);
#endif
