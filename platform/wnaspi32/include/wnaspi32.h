// The ASPI for Win32 interface of wnaspi32.dll: the request blocks (SRBs),
// laid out byte for byte as the published 32-bit interface, their command
// and status codes, and the two cdecl entry points.
#pragma once

#include <windows.h>

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
  BYTE SRB_Cmd;        // 0
  BYTE SRB_Status;     // 1
  BYTE SRB_HaId;       // 2
  BYTE SRB_Flags;      // 3
  DWORD SRB_Hdr_Rsvd;  // 4
};

struct SRB_HAInquiry {
  BYTE SRB_Cmd, SRB_Status, SRB_HaId, SRB_Flags;
  DWORD SRB_Hdr_Rsvd;
  BYTE HA_Count;           // 8
  BYTE HA_SCSI_ID;         // 9
  BYTE HA_ManagerId[16];   // 10
  BYTE HA_Identifier[16];  // 26
  BYTE HA_Unique[16];      // 42
  WORD HA_Rsvd1;           // 58
};

struct SRB_GDEVBlock {
  BYTE SRB_Cmd, SRB_Status, SRB_HaId, SRB_Flags;
  DWORD SRB_Hdr_Rsvd;
  BYTE SRB_Target;      // 8
  BYTE SRB_Lun;         // 9
  BYTE SRB_DeviceType;  // 10
  BYTE SRB_Rsvd1;       // 11
};

// The sense area is 16 bytes in the published block; callers may reserve
// more and ask for more with SRB_SenseLen, which is what is filled.
struct SRB_ExecSCSICmd {
  BYTE SRB_Cmd, SRB_Status, SRB_HaId, SRB_Flags;
  DWORD SRB_Hdr_Rsvd;
  BYTE SRB_Target;       // 8
  BYTE SRB_Lun;          // 9
  WORD SRB_Rsvd1;        // 10
  DWORD SRB_BufLen;      // 12
  BYTE* SRB_BufPointer;  // 16
  BYTE SRB_SenseLen;     // 20
  BYTE SRB_CDBLen;       // 21
  BYTE SRB_HaStat;       // 22
  BYTE SRB_TargStat;     // 23
  void* SRB_PostProc;    // 24: event handle or completion routine
  BYTE SRB_Rsvd2[20];    // 28
  BYTE CDBByte[16];      // 48
  BYTE SenseArea[16];    // 64
};

struct SRB_GetDiskInfo {
  BYTE SRB_Cmd, SRB_Status, SRB_HaId, SRB_Flags;
  DWORD SRB_Hdr_Rsvd;
  BYTE SRB_Target;           // 8
  BYTE SRB_Lun;              // 9
  BYTE SRB_DriveFlags;       // 10
  BYTE SRB_Int13HDriveInfo;  // 11
  BYTE SRB_Heads;            // 12
  BYTE SRB_Sectors;          // 13
  BYTE SRB_Rsvd1[10];        // 14
};
#pragma pack(pop)

static_assert(offsetof(SRB_HAInquiry, HA_Count) == 8);
static_assert(offsetof(SRB_HAInquiry, HA_Unique) == 42);
static_assert(sizeof(SRB_HAInquiry) == 60);
static_assert(offsetof(SRB_GDEVBlock, SRB_DeviceType) == 10);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_BufLen) == 12);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_BufPointer) == 16);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_SenseLen) == 20);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_TargStat) == 23);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_PostProc) == 24);
static_assert(offsetof(SRB_ExecSCSICmd, CDBByte) == 48);
static_assert(offsetof(SRB_ExecSCSICmd, SenseArea) == 64);
static_assert(sizeof(SRB_ExecSCSICmd) == 80);
static_assert(offsetof(SRB_GetDiskInfo, SRB_Int13HDriveInfo) == 11);
static_assert(sizeof(SRB_GetDiskInfo) == 24);

extern "C" {
// HIBYTE of the low word: SS_COMP or SS_NO_ADAPTERS; low byte: adapters.
DWORD __cdecl GetASPI32SupportInfo(void);
// Runs one request; SS_PENDING when it completes later (never here).
DWORD __cdecl SendASPI32Command(void* srb);
}
