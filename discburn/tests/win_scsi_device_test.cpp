// The device under Wine, through our wnaspi32.dll and its software drive:
// Wine's pass-through scan finds no CD/DVD drive in a fresh prefix, so
// discovery takes the ASPI path; it lists the drive with its table text,
// SelectDevice selects it, and the medium queries report what the drive
// was configured with, for each kind of medium.  Also: the SCSI log file,
// the WRITE(10) compatibility patch seen in where the data land, the error
// number of a missing medium, the failures of a missing ASPI library, and
// an ASPI start-up that cannot make its event.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "mmc_commands.h"
#include "scsi_device.h"

namespace {

using namespace discburn;

std::string TempPath(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "scsidev-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

// Configures the software drive through the variables wnaspi32.dll reads.
void Configure(const char* medium, const std::string& backing, const char* sessions = "0",
               const char* sessionBlocks = "0", const char* finalized = "0") {
  DeleteFileA(backing.c_str());
  DeleteFileA((backing + ".state").c_str());
  SetEnvironmentVariableA("ORB_DRIVE_CONFIG", nullptr);
  SetEnvironmentVariableA("ORB_DRIVE_LETTER", "R");
  SetEnvironmentVariableA("ORB_DRIVE_VENDOR", "ORB");
  SetEnvironmentVariableA("ORB_DRIVE_PRODUCT", "SOFT DVD WRITER");
  SetEnvironmentVariableA("ORB_DRIVE_MEDIUM", medium);
  SetEnvironmentVariableA("ORB_DRIVE_BACKING", backing.c_str());
  SetEnvironmentVariableA("ORB_DRIVE_SESSIONS", sessions);
  SetEnvironmentVariableA("ORB_DRIVE_SESSION_BLOCKS", sessionBlocks);
  SetEnvironmentVariableA("ORB_DRIVE_FINALIZED", finalized);
  SetEnvironmentVariableA("ORB_DRIVE_NO_MEDIUM", nullptr);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Removes this program's backing, state and log files when it ends.
class ScratchFiles : public ::testing::Environment {
 public:
  void TearDown() override {
    std::string pattern = TempPath("*");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    std::string folder = pattern.substr(0, pattern.find_last_of('\\') + 1);
    do {
      DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
};
const auto* const kScratchFiles = ::testing::AddGlobalTestEnvironment(new ScratchFiles);

struct MediumCase {
  const char* name;
  const char* medium;
  const char* sessions;
  const char* sessionBlocks;
  const char* finalized;
  uint8_t type;
  uint8_t sessionsOnDisc;
  uint32_t freeBlocks;
  uint32_t totalBlocks;
  int writable;
  int erasable;
};

constexpr uint32_t kCd = 359847;
constexpr uint32_t kDvd = 2295104;

TEST(ScsiDevice, DiscoverySelectionAndQueriesPerMedium) {
  const MediumCase cases[] = {
      {"blank CD-R", "cd-r", "0", "0", "0", 2, 0, kCd, kCd, 1, 0},
      {"appendable CD-RW", "cd-rw", "1", "2000", "0", 3, 1, kCd - 2000 - 11400, kCd, 1, 1},
      {"closed CD-R", "cd-r", "2", "1000", "1", 2, 2, 0, kCd, 0, 0},
      {"blank DVD-R", "dvd-r", "0", "0", "0", 5, 0, kDvd, kDvd, 1, 0},
      {"blank DVD-RW", "dvd-rw", "0", "0", "0", 9, 0, kDvd, kDvd, 1, 1},
      {"appendable DVD+R", "dvd+r", "2", "4000", "0", 11, 2, kDvd - 8000, kDvd, 1, 0},
      {"DVD+RW", "dvd+rw", "0", "0", "0", 10, 1, kDvd, kDvd, 1, 1},
      {"DVD-RAM", "dvd-ram", "0", "0", "0", 6, 1, 2236704, 2236704, 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Configure(c.medium, TempPath("medium.img"), c.sessions, c.sessionBlocks, c.finalized);
    ScsiDevice device;
    ASSERT_EQ(1, device.InitializeDevices(0, nullptr, 0, nullptr));
    EXPECT_FALSE(device.usesPassThrough());  // Wine shows no CD/DVD drive to pass-through
    ASSERT_EQ(1, device.GetDeviceCount());
    ASSERT_NE(nullptr, device.GetDeviceName(0));
    EXPECT_STREQ("0:0:0,R: ORB      SOFT DVD WRITER  1.00 ", device.GetDeviceName(0));
    EXPECT_EQ(nullptr, device.GetDeviceName(1));
    ASSERT_EQ(1, device.SelectDevice(0));
    EXPECT_EQ("ORB     ", device.vendor());
    EXPECT_EQ("SOFT DVD WRITER ", device.product());
    EXPECT_TRUE(device.mmc().IsBurner());
    MmcDevice& mmc = device.mmc();
    EXPECT_EQ(c.type, mmc.QueryDiscType());
    EXPECT_EQ(c.sessionsOnDisc, mmc.SessionsOnDisc());
    EXPECT_EQ(c.writable, mmc.Writable());
    EXPECT_EQ(c.erasable, mmc.Erasable());
    EXPECT_EQ(c.freeBlocks, mmc.FreeBlocks());
    EXPECT_EQ(c.totalBlocks, mmc.TotalBlocks());
    EXPECT_EQ(48, mmc.DeviceMaxWriteSpeed());
    EXPECT_EQ(1, mmc.Capability(16));
    EXPECT_EQ(0, device.SelectDevice(1));  // past the table: the selection stays
    EXPECT_EQ('R', device.selectedLetter());
  }
}

TEST(ScsiDevice, LogLinesAndWrite10Compatibility) {
  std::string backing = TempPath("compat.img");
  std::string logPath = TempPath("vdsc.elg");
  Configure("dvd+rw", backing);
  {
    ScsiDevice device;
    ASSERT_EQ(1, device.InitializeDevices(1, nullptr, 0, logPath.c_str()));
    ASSERT_EQ(1, device.SelectDevice(0));
    std::vector<uint8_t> block(2048, 0x5A);
    device.SetWrite10Compatibility(true);
    // LBA 0x00010005: the drive is told 5.
    ASSERT_TRUE(device.mmc().RunWith(Write10(0x00010005, 1), block.data(), 2048));
    EXPECT_EQ(1, device.CloseLog());
    EXPECT_EQ(0, device.CloseLog());
  }
  std::string data = ReadFile(backing);
  ASSERT_EQ(6u * 2048, data.size());
  EXPECT_EQ(std::string(2048, 'Z'), data.substr(5 * 2048));
  // The log is a text-mode file: Windows line ends.
  std::string log = ReadFile(logPath);
  EXPECT_EQ(0u, log.find("Version : 1.12 REGTD (Date: Jul  1 2004) \r\n"));
  EXPECT_NE(std::string::npos, log.find("INQUIRY                (12) {48:06} - 0:0:0 <01> [00020] "));
  EXPECT_NE(std::string::npos, log.find("WRITE (10)             (2a) {50:0a} - 0:0:0 <01> [00800] 00 00 00 00 05 "));
  DeleteFileA(logPath.c_str());
}

TEST(ScsiDevice, FailuresAreNumbersNotCrashes) {
  std::string backing = TempPath("none.img");
  Configure("cd-r", backing);
  SetEnvironmentVariableA("ORB_DRIVE_NO_MEDIUM", "1");
  ScsiDevice device;
  ASSERT_EQ(1, device.InitializeDevices(0, nullptr, 0, nullptr));
  ASSERT_EQ(1, device.SelectDevice(0));
  EXPECT_EQ(0, device.mmc().TestUnitReady());
  EXPECT_EQ(0x3A00, device.lastError());
  EXPECT_EQ(0, device.mmc().QueryDiscType());
  EXPECT_EQ(0u, device.mmc().FreeBlocks());

  // No ASPI layer under that name: nothing found, commands fail cleanly.
  ScsiDevice lonely;
  EXPECT_EQ(0, lonely.InitializeDevices(1, "no-such-aspi.dll", 0, nullptr));
  EXPECT_EQ(0, lonely.GetDeviceCount());
  EXPECT_EQ(0, lonely.SelectDevice(0));
  EXPECT_EQ(0, lonely.mmc().TestUnitReady());
  // A log that cannot be opened fails discovery.
  EXPECT_EQ(0, lonely.InitializeDevices(0, nullptr, 0, "Z:\\no\\such\\folder\\vdsc.elg"));
}

struct FaultCase {
  const char* name;
  const char* variable;
  const char* value;
  uint16_t errorNumber;
};

TEST(ScsiDevice, ConfiguredFaultsReachTheCaller) {
  const FaultCase cases[] = {
      {"write error at block 3", "ORB_DRIVE_WRITE_ERROR_LBA", "3", 0x0C00},
      {"buffer underrun at block 0", "ORB_DRIVE_UNDERRUN_LBA", "0", 0x0C09},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Configure("cd-r", TempPath("fault.img"));
    SetEnvironmentVariableA(c.variable, c.value);
    ScsiDevice device;
    ASSERT_EQ(1, device.InitializeDevices(0, nullptr, 0, nullptr));
    ASSERT_EQ(1, device.SelectDevice(0));
    std::vector<uint8_t> data(16 * 2048, 0);
    EXPECT_FALSE(device.mmc().RunWith(Write10(0, 16), data.data(), 16 * 2048));
    EXPECT_EQ(c.errorNumber, device.lastError());
    SetEnvironmentVariableA(c.variable, nullptr);
  }
  // Not ready for two polls, then ready.
  Configure("cd-rw", TempPath("late.img"));
  SetEnvironmentVariableA("ORB_DRIVE_NOT_READY_POLLS", "2");
  ScsiDevice device;
  ASSERT_EQ(1, device.InitializeDevices(0, nullptr, 0, nullptr));
  ASSERT_EQ(1, device.SelectDevice(0));
  EXPECT_EQ(0, device.mmc().TestUnitReady());
  EXPECT_EQ(0x0401, device.lastError());
  EXPECT_EQ(0, device.mmc().TestUnitReady());
  EXPECT_EQ(1, device.mmc().TestUnitReady());
  SetEnvironmentVariableA("ORB_DRIVE_NOT_READY_POLLS", nullptr);
  // A slow drive answers later; the device waits for the event.
  Configure("dvd+rw", TempPath("slow.img"));
  SetEnvironmentVariableA("ORB_DRIVE_SLOW_MS", "400");
  ASSERT_EQ(1, device.InitializeDevices(0, nullptr, 0, nullptr));
  ASSERT_EQ(1, device.SelectDevice(0));
  std::vector<uint8_t> block(2048, 0x33), back(2048, 0);
  DWORD started = GetTickCount();
  EXPECT_TRUE(device.mmc().RunWith(Write10(7, 1), block.data(), 2048));
  EXPECT_TRUE(device.mmc().RunWith(Read10(7, 1), back.data(), 2048));
  EXPECT_GE(GetTickCount() - started, 700u);
  EXPECT_EQ(block, back);
  SetEnvironmentVariableA("ORB_DRIVE_SLOW_MS", nullptr);
}

TEST(ScsiDevice, DriveFromAConfigurationFile) {
  std::string backing = TempPath("file.img");
  Configure("cd-r", backing);
  for (const char* name : {"ORB_DRIVE_LETTER", "ORB_DRIVE_VENDOR", "ORB_DRIVE_PRODUCT", "ORB_DRIVE_MEDIUM",
                           "ORB_DRIVE_SESSIONS", "ORB_DRIVE_SESSION_BLOCKS", "ORB_DRIVE_FINALIZED"}) {
    SetEnvironmentVariableA(name, nullptr);
  }
  std::string configPath = TempPath("drive.cfg");
  {
    std::ofstream config(configPath, std::ios::binary);
    config << "# the drive of this test\nletter=Q\nvendor=ACME\nproduct=Burner 9000\nrevision=2.5\n"
           << "medium=dvd-r\ncapacity=100000\nsessions=1\nsession_blocks=2500\n";
  }
  SetEnvironmentVariableA("ORB_DRIVE_CONFIG", configPath.c_str());
  ScsiDevice device;
  ASSERT_EQ(1, device.InitializeDevices(0, nullptr, 0, nullptr));
  ASSERT_EQ(1, device.GetDeviceCount());
  EXPECT_STREQ("0:0:0,Q: ACME     Burner 9000      2.5  ", device.GetDeviceName(0));
  ASSERT_EQ(1, device.SelectDevice(0));
  EXPECT_EQ(5, device.mmc().QueryDiscType());
  EXPECT_EQ(1, device.mmc().SessionsOnDisc());
  EXPECT_EQ(100000u - 2500u, device.mmc().FreeBlocks());
  EXPECT_EQ(100000u, device.mmc().TotalBlocks());
  SetEnvironmentVariableA("ORB_DRIVE_CONFIG", nullptr);
  DeleteFileA(configPath.c_str());
}

// The ASPI start-up cannot make its completion event: it answers 0 and
// leaves no layer loaded behind; the next start-up works as usual.
TEST(ScsiDevice, FailedStartUpEventLeavesNothingLoaded) {
  Configure("cd-r", TempPath("event.img"));
  ASSERT_EQ(nullptr, GetModuleHandleA("wnaspi32.dll")) << "an earlier test kept the layer loaded";
  {
    ScsiDevice device;
    device.SetScanEventMaker([]() -> HANDLE {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    });
    EXPECT_EQ(0, device.InitializeDevices(1, nullptr, 0, nullptr));
    EXPECT_EQ(nullptr, GetModuleHandleA("wnaspi32.dll"));
    EXPECT_EQ(0, device.GetDeviceCount());
    EXPECT_EQ(0, device.SelectDevice(0));

    device.SetScanEventMaker(nullptr);
    ASSERT_EQ(1, device.InitializeDevices(1, nullptr, 0, nullptr));
    EXPECT_NE(nullptr, GetModuleHandleA("wnaspi32.dll"));
    ASSERT_EQ(1, device.GetDeviceCount());
    EXPECT_EQ(1, device.SelectDevice(0));
    EXPECT_EQ(2, device.mmc().QueryDiscType());
  }
  EXPECT_EQ(nullptr, GetModuleHandleA("wnaspi32.dll"));
}

}  // namespace
