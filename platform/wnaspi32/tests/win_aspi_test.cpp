// wnaspi32.dll as a caller meets it: loaded by name, the two entry points
// found, one host adapter holding one CD/DVD device at target 0, requests
// completed with their event signalled, the sense filled on a check
// condition, and the drive letter from the get-disk-info request.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "wnaspi32.h"

namespace {

using SupportInfo = DWORD(__cdecl*)();
using SendCommand = DWORD(__cdecl*)(void*);

class Aspi : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, temp));
    backing_ = std::string(temp) + "aspi-test-" + std::to_string(GetCurrentProcessId()) + ".img";
    DeleteFileA((backing_ + ".state").c_str());
    SetEnvironmentVariableA("ORB_DRIVE_BACKING", backing_.c_str());
    SetEnvironmentVariableA("ORB_DRIVE_LETTER", "S");
    SetEnvironmentVariableA("ORB_DRIVE_MEDIUM", "cd-rw");
    SetEnvironmentVariableA("ORB_DRIVE_NO_MEDIUM", nullptr);
    module_ = LoadLibraryA("WNASPI32.DLL");
    ASSERT_NE(nullptr, module_) << "error " << GetLastError();
    support_ = reinterpret_cast<SupportInfo>(GetProcAddress(module_, "GetASPI32SupportInfo"));
    send_ = reinterpret_cast<SendCommand>(GetProcAddress(module_, "SendASPI32Command"));
    ASSERT_NE(nullptr, support_);
    ASSERT_NE(nullptr, send_);
    // Ours, not Wine's built-in layer, which knows no software drive.
    char path[MAX_PATH];
    GetModuleFileNameA(module_, path, MAX_PATH);
    EXPECT_EQ(nullptr, std::strstr(path, "system32")) << path;
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
    DeleteFileA(backing_.c_str());
    DeleteFileA((backing_ + ".state").c_str());
  }

  DWORD Exec(SRB_ExecSCSICmd* srb, std::initializer_list<BYTE> cdb, BYTE* data, DWORD length, BYTE flags) {
    std::memset(srb, 0, sizeof *srb);
    srb->SRB_Cmd = SC_EXEC_SCSI_CMD;
    srb->SRB_Flags = flags | SRB_EVENT_NOTIFY;
    srb->SRB_BufLen = length;
    srb->SRB_BufPointer = data;
    srb->SRB_SenseLen = 14;
    srb->SRB_CDBLen = static_cast<BYTE>(cdb.size());
    std::memcpy(srb->CDBByte, cdb.begin(), cdb.size());
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    srb->SRB_PostProc = event;
    DWORD status = send_(srb);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 5000));
    CloseHandle(event);
    return status;
  }

  std::string backing_;
  HMODULE module_ = nullptr;
  SupportInfo support_ = nullptr;
  SendCommand send_ = nullptr;
};

TEST_F(Aspi, OneAdapterOneDrive) {
  EXPECT_EQ(0x0101u, support_());
  SRB_HAInquiry inquiry{};
  inquiry.SRB_Cmd = SC_HA_INQUIRY;
  EXPECT_EQ(static_cast<DWORD>(SS_COMP), send_(&inquiry));
  EXPECT_EQ(SS_COMP, inquiry.SRB_Status);
  EXPECT_EQ(1, inquiry.HA_Count);
  EXPECT_EQ(0, std::memcmp(inquiry.HA_ManagerId, "ASPI for WIN32", 14));

  for (BYTE target = 0; target < 8; ++target) {
    SRB_GDEVBlock device{};
    device.SRB_Cmd = SC_GET_DEV_TYPE;
    device.SRB_Target = target;
    DWORD status = send_(&device);
    EXPECT_EQ(target == 0 ? static_cast<DWORD>(SS_COMP) : static_cast<DWORD>(SS_NO_DEVICE), status);
    if (target == 0) {
      EXPECT_EQ(5, device.SRB_DeviceType);
    }
  }
  SRB_GetDiskInfo disk{};
  disk.SRB_Cmd = SC_GET_DISK_INFO;
  EXPECT_EQ(static_cast<DWORD>(SS_COMP), send_(&disk));
  EXPECT_EQ('S', 'A' + disk.SRB_Int13HDriveInfo);
  SRB_HAInquiry other{};
  other.SRB_Cmd = SC_HA_INQUIRY;
  other.SRB_HaId = 1;
  EXPECT_EQ(static_cast<DWORD>(SS_INVALID_HA), send_(&other));
  BYTE unknown[80] = {0x7F};
  EXPECT_EQ(static_cast<DWORD>(SS_INVALID_CMD), send_(unknown));
}

TEST_F(Aspi, CommandsReachTheDrive) {
  support_();
  SRB_ExecSCSICmd srb;
  BYTE data[64] = {};
  EXPECT_EQ(static_cast<DWORD>(SS_COMP), Exec(&srb, {0x12, 0, 0, 0, 36, 0}, data, 36, SRB_DIR_IN));
  EXPECT_EQ(5, data[0]);
  EXPECT_EQ(0, std::memcmp(data + 8, "ORB", 3));
  // GET CONFIGURATION: the current profile is CD-RW.
  BYTE config[16] = {};
  EXPECT_EQ(static_cast<DWORD>(SS_COMP), Exec(&srb, {0x46, 2, 0, 0, 0, 0, 0, 0, 16, 0, 0, 0}, config, 16, SRB_DIR_IN));
  EXPECT_EQ(0x0A, config[7]);
  // A check condition fills the sense area.
  SetEnvironmentVariableA("ORB_DRIVE_NO_MEDIUM", "1");
  support_();
  EXPECT_EQ(static_cast<DWORD>(SS_ERR), Exec(&srb, {0, 0, 0, 0, 0, 0}, nullptr, 0, 0));
  EXPECT_EQ(SS_ERR, srb.SRB_Status);
  EXPECT_EQ(2, srb.SRB_TargStat);
  EXPECT_EQ(0x70, srb.SenseArea[0]);
  EXPECT_EQ(2, srb.SenseArea[2]);
  EXPECT_EQ(0x3A, srb.SenseArea[12]);
  // A device that is not there.
  std::memset(&srb, 0, sizeof srb);
  srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
  srb.SRB_Target = 3;
  srb.SRB_CDBLen = 6;
  EXPECT_EQ(static_cast<DWORD>(SS_NO_DEVICE), send_(&srb));
}

TEST_F(Aspi, SlowDriveAnswersLater) {
  SetEnvironmentVariableA("ORB_DRIVE_SLOW_MS", "300");
  support_();
  SRB_ExecSCSICmd srb{};
  BYTE block[2048] = {1, 2, 3};
  srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
  srb.SRB_Flags = SRB_DIR_OUT | SRB_EVENT_NOTIFY;
  srb.SRB_BufLen = sizeof block;
  srb.SRB_BufPointer = block;
  srb.SRB_SenseLen = 14;
  srb.SRB_CDBLen = 10;
  BYTE write[10] = {0x2A, 0, 0, 0, 0, 0, 0, 0, 1, 0};
  std::memcpy(srb.CDBByte, write, 10);
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  srb.SRB_PostProc = event;
  DWORD started = GetTickCount();
  EXPECT_EQ(static_cast<DWORD>(SS_PENDING), send_(&srb));
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 10000));
  EXPECT_GE(GetTickCount() - started, 250u);
  EXPECT_EQ(SS_COMP, srb.SRB_Status);
  CloseHandle(event);
  SetEnvironmentVariableA("ORB_DRIVE_SLOW_MS", nullptr);
  // The block reached the medium.
  support_();
  SRB_ExecSCSICmd read{};
  BYTE back[2048] = {};
  read.SRB_Cmd = SC_EXEC_SCSI_CMD;
  read.SRB_Flags = SRB_DIR_IN;
  read.SRB_BufLen = sizeof back;
  read.SRB_BufPointer = back;
  read.SRB_CDBLen = 10;
  BYTE readCdb[10] = {0x28, 0, 0, 0, 0, 0, 0, 0, 1, 0};
  std::memcpy(read.CDBByte, readCdb, 10);
  EXPECT_EQ(static_cast<DWORD>(SS_COMP), send_(&read));
  EXPECT_EQ(0, std::memcmp(block, back, sizeof block));
}

}  // namespace
