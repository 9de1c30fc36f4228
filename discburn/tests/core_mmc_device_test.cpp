// The drive and medium queries against the software drive: for each kind of
// medium (blank, appendable, closed) the queries report the type, sessions,
// free and total blocks it was made with; the capabilities and the write
// parameters page as the drive stored it; the configured faults as the
// sense and error number they must give; and answers that are short or
// garbage fail the query cleanly.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "mmc_commands.h"
#include "mmc_device.h"
#include "soft_drive.h"
#include "soft_drive_transport.h"
#include "test_scratch.h"

namespace {

using namespace discburn;
using softdrive::MediumKind;
namespace fs = std::filesystem;

fs::path TestFile(const std::string& name) {
  fs::path path = ScratchFolder("discburn-mmc") / name;
  fs::remove(path);
  fs::remove(path.string() + ".state");
  return path;
}

struct MediumCase {
  const char* name;
  MediumKind medium;
  uint32_t sessions;
  uint32_t sessionBlocks;
  bool finalized;
  bool formatted;
  uint8_t type;
  uint8_t sessionsOnDisc;
  uint32_t freeBlocks;
  uint32_t totalBlocks;
  int writable;
  int erasable;
};

constexpr uint32_t kCd = 359847;
constexpr uint32_t kDvd = 2295104;
constexpr uint32_t kRam = 2236704;

TEST(MmcDevice, QueriesReportTheConfiguredMedium) {
  const MediumCase cases[] = {
      {"blank CD-R", MediumKind::kCdR, 0, 0, false, true, 2, 0, kCd, kCd, 1, 0},
      {"appendable CD-R", MediumKind::kCdR, 1, 1000, false, true, 2, 1, kCd - 12400, kCd, 1, 0},
      {"closed CD-RW", MediumKind::kCdRw, 2, 1000, true, true, 3, 2, 0, kCd, 0, 1},
      {"appendable CD-RW", MediumKind::kCdRw, 2, 1000, false, true, 3, 2, kCd - 12400 - 1000 - 6900, kCd, 1, 1},
      {"blank DVD-R", MediumKind::kDvdR, 0, 0, false, true, 5, 0, kDvd, kDvd, 1, 0},
      {"appendable DVD-R", MediumKind::kDvdR, 2, 5000, false, true, 5, 2, kDvd - 10000, kDvd, 1, 0},
      {"blank DVD-RW", MediumKind::kDvdRwSequential, 0, 0, false, true, 9, 0, kDvd, kDvd, 1, 1},
      {"DVD-RW restricted overwrite", MediumKind::kDvdRwRestricted, 0, 0, false, true, 8, 1, kDvd, kDvd, 1, 1},
      {"appendable DVD+R", MediumKind::kDvdPlusR, 1, 3000, false, true, 11, 1, kDvd - 3000, kDvd, 1, 0},
      {"closed DVD+R", MediumKind::kDvdPlusR, 1, 3000, true, true, 11, 1, 0, 3000, 0, 0},
      {"DVD+RW", MediumKind::kDvdPlusRw, 0, 0, false, true, 10, 1, kDvd, kDvd, 1, 1},
      {"unformatted DVD+RW", MediumKind::kDvdPlusRw, 0, 0, false, false, 10, 0, kDvd, kDvd, 1, 1},
      {"DVD-RAM", MediumKind::kDvdRam, 0, 0, false, true, 6, 1, kRam, kRam, 1, 1},
      {"no medium", MediumKind::kNone, 0, 0, false, true, 0, 0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    softdrive::DriveConfig config;
    config.medium = c.medium;
    config.sessions = c.sessions;
    config.sessionBlocks = c.sessionBlocks;
    config.finalized = c.finalized;
    config.formatted = c.formatted;
    config.backingPath = TestFile("medium.img").string();
    softdrive::SoftDrive drive(config);
    SoftDriveTransport transport(&drive);
    MmcDevice device(&transport);
    EXPECT_EQ(1, device.ReadCapabilities());
    EXPECT_EQ(c.type, device.QueryDiscType());
    EXPECT_EQ(c.sessionsOnDisc, device.SessionsOnDisc());
    EXPECT_EQ(c.writable, device.Writable());
    EXPECT_EQ(c.erasable, device.Erasable());
    EXPECT_EQ(c.freeBlocks, device.FreeBlocks());
    EXPECT_EQ(c.totalBlocks, device.TotalBlocks());
  }
}

// A DVD+RW holding an ISO volume: the next session starts after its volume
// space, and the free blocks are what is left.
TEST(MmcDevice, LastSessionStartOfAnOverwritableDisc) {
  softdrive::DriveConfig config;
  config.medium = MediumKind::kDvdPlusRw;
  config.backingPath = TestFile("plusrw.img").string();
  softdrive::SoftDrive drive(config);
  SoftDriveTransport transport(&drive);
  MmcDevice device(&transport);
  std::vector<uint8_t> descriptors(3 * 2048, 0);
  auto describe = [&](size_t index, uint8_t type, uint32_t blocks) {
    uint8_t* sector = &descriptors[index * 2048];
    sector[0] = type;
    std::memcpy(sector + 1, "CD001", 5);
    sector[6] = 1;
    for (int i = 0; i < 4; ++i) sector[80 + i] = static_cast<uint8_t>(blocks >> (8 * i));
  };
  describe(0, 1, 7000);  // primary
  describe(1, 2, 7008);  // supplementary: the one that counts
  describe(2, 255, 0);
  ASSERT_TRUE(device.RunWith(Write10(16, 3), descriptors.data(), static_cast<uint32_t>(descriptors.size())));
  EXPECT_EQ(10, device.QueryDiscType());
  EXPECT_EQ(7008u, device.LastSessionStart());
  EXPECT_EQ(kDvd - 7008, device.FreeBlocks());
}

TEST(MmcDevice, CapabilitiesAndSpeeds) {
  softdrive::DriveConfig config;
  config.medium = MediumKind::kCdR;
  config.backingPath = TestFile("caps.img").string();
  softdrive::SoftDrive drive(config);
  SoftDriveTransport transport(&drive);
  MmcDevice device(&transport);
  ASSERT_EQ(1, device.ReadCapabilities());
  struct Code {
    int code;
    int answer;
  } codes[] = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {11, 1}, {12, 1}, {13, 1}, {14, 1},
               {15, 1}, {16, 1}, {17, 1}, {21, 1}, {22, 1}, {0, 0}, {8, 0}, {23, 0}, {99, 0}};
  for (const auto& c : codes) EXPECT_EQ(c.answer, device.Capability(c.code)) << "code " << c.code;
  EXPECT_TRUE(device.IsBurner());
  EXPECT_EQ(48, device.DeviceMaxReadSpeed());   // 8467 kB/s
  EXPECT_EQ(48, device.DeviceMaxWriteSpeed());
  EXPECT_EQ(1, device.SetWriteSpeed(16));       // 16 x 176 = 2816 kB/s
  EXPECT_EQ(16, device.CurrentWriteSpeed());
  EXPECT_EQ(48, device.CurrentMaxWriteSpeed());
  EXPECT_EQ(1, device.SetWriteSpeed(0));        // 0: the maximum
  EXPECT_EQ(48, device.CurrentWriteSpeed());
  EXPECT_EQ(1, device.BufferCapacity());
  EXPECT_EQ(2u * 1024 * 1024, device.bufferLength());
  // Eject allows removal first, so a locked tray still opens; the medium is
  // then gone until it is loaded again.
  EXPECT_EQ(1, device.Lock());
  EXPECT_EQ(1, device.Eject());
  EXPECT_EQ(0, device.TestUnitReady());
  EXPECT_EQ(0x3A00, ErrorNumberFromSense(device.lastOutcome().sense));
  EXPECT_EQ(1, device.Load());
  EXPECT_EQ(1, device.TestUnitReady());
}

struct PageCase {
  const char* name;
  uint8_t type;
  int testWrite;
  int multisession;
  uint8_t byte2, byte3, linkSize;
  uint32_t packetSize;
};

TEST(MmcDevice, WriteParametersPageAsTheDriveStoresIt) {
  const PageCase cases[] = {
      {"CD-R multisession", 2, 0, 1, 0x41, 0xC4, 0, 0},
      {"CD-R test write", 2, 1, 1, 0x51, 0x04, 0, 0},
      {"CD-RW single session", 3, 0, 0, 0x41, 0x04, 0, 0},
      {"DVD-R", 5, 0, 0, 0x60, 0xE5, 16, 16},
      {"DVD-RW sequential", 9, 0, 0, 0x60, 0xC5, 16, 16},
      {"DVD-RW restricted", 8, 0, 1, 0x60, 0xC5, 16, 16},
      {"DVD+RW", 10, 0, 0, 0x62, 0x04, 16, 0},
      {"DVD+R multisession", 11, 0, 1, 0x62, 0xE4, 16, 16},
      {"DVD+R closing", 11, 0, 0, 0x62, 0x04, 0, 0},
      {"DDCD-R", 13, 0, 0, 0x42, 0x05, 0, 0},
  };
  softdrive::DriveConfig config;
  config.medium = MediumKind::kCdR;
  config.backingPath = TestFile("page.img").string();
  softdrive::SoftDrive drive(config);
  SoftDriveTransport transport(&drive);
  MmcDevice device(&transport);
  ASSERT_EQ(1, device.ReadCapabilities());  // the underrun-free bit comes from here
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(1, device.WriteParameters(c.testWrite, 1, c.multisession, c.type));
    std::vector<uint8_t> page(512);
    ASSERT_TRUE(device.RunWith(ModeSense10(5, false, 512), page.data(), 512));
    const uint8_t* p = &page[8];
    EXPECT_EQ(0x05, p[0]);
    EXPECT_EQ(c.byte2, p[2]);
    EXPECT_EQ(c.byte3, p[3]);
    EXPECT_EQ(0x08, p[4]);
    EXPECT_EQ(c.linkSize, p[5]);
    EXPECT_EQ(c.packetSize, (uint32_t{p[10]} << 24) | (p[11] << 16) | (p[12] << 8) | p[13]);
    EXPECT_EQ(150, (p[14] << 8) | p[15]);
  }
}

struct FaultCase {
  const char* name;
  void (*configure)(softdrive::DriveConfig*);
  ScsiCommand command;
  uint32_t length;
  uint8_t key;
  uint16_t errorNumber;
};

TEST(MmcDevice, FaultsGiveTheirSenseAndErrorNumber) {
  const FaultCase cases[] = {
      {"no medium", [](softdrive::DriveConfig* c) { c->noMedium = true; }, TestUnitReady(), 0, 2, 0x3A00},
      {"becoming ready", [](softdrive::DriveConfig* c) { c->notReadyPolls = 5; }, ReadDiscInfo(66), 66, 2, 0x0401},
      {"write error", [](softdrive::DriveConfig* c) { c->writeErrorLba = 3; }, Write10(0, 16), 16 * 2048, 3, 0x0C00},
      {"buffer underrun", [](softdrive::DriveConfig* c) { c->underrunLba = 15; }, Write10(0, 16), 16 * 2048, 3,
       0x0C09},
      {"write beyond the disc", [](softdrive::DriveConfig* c) { c->capacityBlocks = 8; }, Write10(0, 16), 16 * 2048,
       5, 0x2100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    softdrive::DriveConfig config;
    config.medium = MediumKind::kDvdR;
    config.backingPath = TestFile("fault.img").string();
    c.configure(&config);
    softdrive::SoftDrive drive(config);
    SoftDriveTransport transport(&drive);
    MmcDevice device(&transport);
    std::vector<uint8_t> data(c.length);
    EXPECT_FALSE(device.RunWith(c.command, data.data(), c.length));
    EXPECT_EQ(c.key, device.lastOutcome().sense.key());
    EXPECT_EQ(c.errorNumber, ErrorNumberFromSense(device.lastOutcome().sense));
  }
  // Not ready for three polls: the queries fail, then answer.
  softdrive::DriveConfig config;
  config.medium = MediumKind::kCdRw;
  config.backingPath = TestFile("late.img").string();
  config.notReadyPolls = 3;
  softdrive::SoftDrive drive(config);
  SoftDriveTransport transport(&drive);
  MmcDevice device(&transport);
  EXPECT_EQ(0, device.TestUnitReady());
  EXPECT_EQ(0, device.TestUnitReady());
  EXPECT_EQ(0, device.SessionsOnDisc());
  EXPECT_EQ(1, device.TestUnitReady());
  EXPECT_EQ(3, device.QueryDiscType());
}

// A transport whose every command "completes" with the same few bytes.
class CannedTransport : public ScsiTransport {
 public:
  explicit CannedTransport(std::vector<uint8_t> reply) : reply_(std::move(reply)) {}
  ScsiOutcome Execute(const ScsiCommand& command, uint8_t* data, uint32_t dataLength) override {
    ScsiOutcome outcome;
    outcome.completed = true;
    if (command.direction == DataDirection::kIn) {
      uint32_t count = std::min<uint32_t>(dataLength, static_cast<uint32_t>(reply_.size()));
      if (count != 0) std::memcpy(data, reply_.data(), count);
      outcome.validBytes = count;
    }
    return outcome;
  }

 private:
  std::vector<uint8_t> reply_;
};

TEST(MmcDevice, ShortAndGarbageAnswersFailCleanly) {
  // Too short for any field: every query fails; only the commands without
  // an answer (TEST UNIT READY) "work".
  for (std::vector<uint8_t> reply : {std::vector<uint8_t>{}, std::vector<uint8_t>{0x00, 0x20, 0x11}}) {
    SCOPED_TRACE(reply.size());
    CannedTransport transport(reply);
    MmcDevice device(&transport);
    EXPECT_EQ(0, device.ReadCapabilities());
    EXPECT_FALSE(device.IsBurner());
    EXPECT_EQ(1, device.QueryDiscType());
    EXPECT_EQ(0, device.SessionsOnDisc());
    EXPECT_EQ(0u, device.TotalBlocks());
    EXPECT_EQ(0u, device.FreeBlocks());
    EXPECT_EQ(0u, device.FormattedCapacity());
    EXPECT_EQ(0, device.WriteParameters(0, 1, 0, 2));
    EXPECT_EQ(0, device.BufferCapacity());
  }
  // Length fields claiming far more than came: only the bytes that came
  // are read (the profile field is there, and it says "none").
  CannedTransport claims({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00});
  MmcDevice claiming(&claims);
  EXPECT_EQ(0, claiming.QueryDiscType());
  EXPECT_EQ(0, claiming.ReadCapabilities());
  EXPECT_EQ(0, claiming.WriteParameters(0, 1, 0, 2));
  // A capabilities page running past the end of the answer is not used.
  CannedTransport pastEnd({0x00, 0x30, 0, 0, 0, 0, 0, 0, 0x2A, 0xF0, 0x3F, 0x37});
  MmcDevice cut(&pastEnd);
  EXPECT_EQ(0, cut.ReadCapabilities());
  EXPECT_FALSE(cut.IsBurner());
  EXPECT_EQ(0, cut.Capability(1));
}

}  // namespace
