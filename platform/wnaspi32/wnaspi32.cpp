// WNASPI32.DLL: ASPI for Win32 over the software drive.  One host adapter
// (0) holds one CD/DVD writer as target 0, LUN 0; a request completes
// before SendASPI32Command returns, signalling its event or calling its
// completion routine as asked.
//
// A slow drive (slow_ms) answers execute requests that ask for an event or
// a completion routine later, from a thread of its own, with SS_PENDING
// meanwhile, as real host adapters do; its callers' waits are exercised.
//
// The drive is configured by ORB_DRIVE_CONFIG and the ORB_DRIVE_* variables
// (platform/wnaspi32/core/drive_config.h).  GetASPI32SupportInfo, which a
// caller sends before scanning the buses, reads them afresh, so a test can
// change the medium between scans; the previous drive saves its medium first.
#include "wnaspi32.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "soft_drive.h"
#include "trace_writer.h"

namespace {

CRITICAL_SECTION g_lock;
std::unique_ptr<softdrive::SoftDrive> g_drive;

class Guard {
 public:
  Guard() { EnterCriticalSection(&g_lock); }
  ~Guard() { LeaveCriticalSection(&g_lock); }
};

std::optional<std::string> ReadEnvironment(const std::string& name) {
  char value[1024];
  DWORD length = GetEnvironmentVariableA(name.c_str(), value, sizeof value);
  if (length == 0 || length >= sizeof value) return std::nullopt;
  return std::string(value, length);
}

std::optional<std::string> ReadSmallFile(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  std::string text;
  char chunk[4096];
  size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0 && text.size() < 65536) text.append(chunk, count);
  std::fclose(file);
  return text;
}

softdrive::SoftDrive& Drive() {
  if (!g_drive) {
    g_drive = std::make_unique<softdrive::SoftDrive>(
        softdrive::LoadConfig(ReadEnvironment, ReadSmallFile, nullptr));
  }
  return *g_drive;
}

void CopyText(char* out, const char* text, size_t width) {
  std::memset(out, ' ', width);
  std::memcpy(out, text, std::min(width, std::strlen(text)));
}

DWORD HostAdapterInquiry(SRB_HAInquiry* srb) {
  if (srb->SRB_HaId != 0) return SS_INVALID_HA;
  srb->HA_Count = 1;
  srb->HA_SCSI_ID = 7;
  CopyText(srb->HA_ManagerId, "ASPI for WIN32", 16);
  CopyText(srb->HA_Identifier, "ORB SOFT SCSI", 16);
  std::memset(srb->HA_Unique, 0, sizeof srb->HA_Unique);
  srb->HA_Unique[3] = 8;  // targets per bus
  DWORD maxTransfer = 0x20000;
  std::memcpy(&srb->HA_Unique[4], &maxTransfer, 4);
  return SS_COMP;
}

bool IsOurDevice(BYTE adapter, BYTE target, BYTE lun) { return adapter == 0 && target == 0 && lun == 0; }

DWORD ExecuteScsi(SRB_ExecSCSICmd* srb) {
  if (srb->SRB_HaId != 0) return SS_INVALID_HA;
  if (!IsOurDevice(srb->SRB_HaId, srb->SRB_Target, srb->SRB_Lun)) return SS_NO_DEVICE;
  if (srb->SRB_CDBLen == 0 || srb->SRB_CDBLen > 16) return SS_ERR;
  softdrive::DataDirection direction = (srb->SRB_Flags & SRB_DIR_IN)    ? softdrive::DataDirection::kIn
                                       : (srb->SRB_Flags & SRB_DIR_OUT) ? softdrive::DataDirection::kOut
                                                                        : softdrive::DataDirection::kNone;
  DWORD length = srb->SRB_BufPointer ? srb->SRB_BufLen : 0;
  softdrive::CommandReply reply =
      Drive().Execute(srb->CDBByte, srb->SRB_CDBLen, srb->SRB_BufPointer, length, direction);
  srb->SRB_HaStat = 0;
  srb->SRB_TargStat = reply.status;
  if (reply.status == softdrive::kStatusGood) return SS_COMP;
  // Automatic sense: as many bytes as the caller asked for and we have.
  softdrive::FormatSense(reply.sense, srb->SenseArea, srb->SRB_SenseLen);
  return SS_ERR;
}

DWORD GetDiskInfo(SRB_GetDiskInfo* srb) {
  if (srb->SRB_HaId != 0) return SS_INVALID_HA;
  if (!IsOurDevice(srb->SRB_HaId, srb->SRB_Target, srb->SRB_Lun)) return SS_NO_DEVICE;
  srb->SRB_DriveFlags = 0;
  srb->SRB_Int13HDriveInfo = static_cast<BYTE>(Drive().config().letter - 'A');
  srb->SRB_Heads = 0;
  srb->SRB_Sectors = 0;
  return SS_COMP;
}

DWORD Dispatch(void* request) {
  auto* header = static_cast<SRB_Header*>(request);
  switch (header->SRB_Cmd) {
    case SC_HA_INQUIRY:
      return HostAdapterInquiry(static_cast<SRB_HAInquiry*>(request));
    case SC_GET_DEV_TYPE: {
      auto* srb = static_cast<SRB_GDEVBlock*>(request);
      if (srb->SRB_HaId != 0) return SS_INVALID_HA;
      if (!IsOurDevice(srb->SRB_HaId, srb->SRB_Target, srb->SRB_Lun)) return SS_NO_DEVICE;
      srb->SRB_DeviceType = 5;  // CD/DVD device
      return SS_COMP;
    }
    case SC_EXEC_SCSI_CMD:
      return ExecuteScsi(static_cast<SRB_ExecSCSICmd*>(request));
    case SC_ABORT_SRB:
    case SC_RESET_DEV:
      return header->SRB_HaId == 0 ? SS_COMP : SS_INVALID_HA;
    case SC_GET_DISK_INFO:
      return GetDiskInfo(static_cast<SRB_GetDiskInfo*>(request));
    default:
      return SS_INVALID_CMD;
  }
}

void Complete(SRB_ExecSCSICmd* exec, DWORD status) {
  if (orbtrace::IsEnabled()) {
    orbtrace::WriteCall(orbtrace::CallLine("wnaspi32", "SendASPI32Command")
                            .Number(exec->CDBByte[0])
                            .Number(exec->SRB_TargStat)
                            .Number(exec->SRB_TargStat == 2 ? exec->SenseArea[12] : 0),
                        status);
  }
  // Completion is reported the way the caller asked.
  if ((exec->SRB_Flags & SRB_EVENT_NOTIFY) && exec->SRB_PostProc) {
    SetEvent(static_cast<HANDLE>(exec->SRB_PostProc));
  } else if ((exec->SRB_Flags & SRB_POSTING) && exec->SRB_PostProc) {
    reinterpret_cast<void(__cdecl*)(SRB_ExecSCSICmd*)>(exec->SRB_PostProc)(exec);
  }
}

DWORD WINAPI CompleteLater(void* request) {
  auto* exec = static_cast<SRB_ExecSCSICmd*>(request);
  DWORD status;
  {
    Guard guard;
    status = Dispatch(exec);
    exec->SRB_Status = static_cast<BYTE>(status);
  }
  Complete(exec, status);
  // The thread holds its own reference on the DLL (taken by its starter),
  // so a caller that frees the library after the event cannot unmap the
  // code this thread still runs.
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&CompleteLater), &self);
  FreeLibraryAndExitThread(self, 0);
  return 0;
}

// Starts the request on a thread of its own; false when it cannot.
bool StartLater(SRB_ExecSCSICmd* exec) {
  HMODULE self = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&CompleteLater),
                          &self)) {
    return false;
  }
  exec->SRB_Status = SS_PENDING;
  HANDLE thread = CreateThread(nullptr, 0, CompleteLater, exec, 0, nullptr);
  if (!thread) {
    FreeLibrary(self);
    return false;
  }
  CloseHandle(thread);
  return true;
}

}  // namespace

extern "C" DWORD __cdecl GetASPI32SupportInfo(void) {
  Guard guard;
  g_drive.reset();  // saves the medium of the drive before
  Drive();
  orbtrace::WriteCall(orbtrace::CallLine("wnaspi32", "GetASPI32SupportInfo"), 0x0101);
  return (SS_COMP << 8) | 1;
}

extern "C" DWORD __cdecl SendASPI32Command(void* srb) {
  if (srb == nullptr) return SS_ERR;
  auto* header = static_cast<SRB_Header*>(srb);
  if (header->SRB_Cmd == SC_EXEC_SCSI_CMD) {
    auto* exec = static_cast<SRB_ExecSCSICmd*>(srb);
    bool slow;
    {
      Guard guard;
      slow = Drive().config().slowMs != 0;
    }
    bool notifies = (exec->SRB_Flags & (SRB_EVENT_NOTIFY | SRB_POSTING)) && exec->SRB_PostProc;
    if (slow && notifies && StartLater(exec)) return SS_PENDING;
  }
  DWORD status;
  {
    Guard guard;
    status = Dispatch(srb);
    header->SRB_Status = static_cast<BYTE>(status);
  }
  if (header->SRB_Cmd == SC_EXEC_SCSI_CMD) Complete(static_cast<SRB_ExecSCSICmd*>(srb), status);
  return status;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) InitializeCriticalSection(&g_lock);
  if (reason == DLL_PROCESS_DETACH) {
    // At process exit (reserved set) other threads are gone; save the medium either way.
    g_drive.reset();
    DeleteCriticalSection(&g_lock);
  }
  return TRUE;
}
