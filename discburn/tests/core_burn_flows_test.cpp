// The command sequences the burn and erase engines send, run against the
// software drive for each kind of medium: sessions written at the address
// the queries give, closed the way each medium is closed, seen by a second
// drive object over the same files (as by a second process), with the data
// where the session started; the format lists accepted by the media they
// are for; erasing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "mmc_commands.h"
#include "mmc_device.h"
#include "mmc_parameter_lists.h"
#include "soft_drive.h"
#include "soft_drive_transport.h"
#include "test_scratch.h"

namespace {

using namespace discburn;
using softdrive::MediumKind;
namespace fs = std::filesystem;

std::string Backing(const std::string& name) {
  fs::path path = ScratchFolder("discburn-flows") / name;
  fs::remove(path);
  fs::remove(path.string() + ".state");
  return path.string();
}

std::vector<uint8_t> Pattern(uint32_t blocks, uint8_t seed) {
  std::vector<uint8_t> bytes(size_t{blocks} * 2048);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i / 2048 + seed + i % 251);
  return bytes;
}

bool SendList(MmcDevice& device, ScsiCommand command, const uint8_t* list, uint32_t length) {
  std::vector<uint8_t> bytes(list, list + length);
  return device.RunWith(command, bytes.data(), length);
}

// One session as the burn engine writes it; returns the first block written.
uint32_t Burn(MmcDevice& device, uint32_t blocks, bool finalize, uint8_t seed) {
  uint8_t type = device.QueryDiscType();
  const uint8_t overwritable[] = {kDiscDvdRam, kDiscDvdRwRestricted, kDiscDvdRwSequential, kDiscDvdPlusRw};
  bool overwrites = std::find(std::begin(overwritable), std::end(overwritable), type) != std::end(overwritable);
  EXPECT_EQ(1, device.WriteParameters(0, 1, 0, type));
  if (type == kDiscDvdRwSequential) {
    EXPECT_TRUE(SendList(device, FormatUnit(0x11), kFormatDvdRwQuick.data(), 12));
    type = device.QueryDiscType();
  }
  uint32_t start = 0;
  if (type == kDiscDvdPlusRw || type == kDiscDvdRam) {
    start = device.LastSessionStart();
  } else if (!overwrites) {
    std::vector<uint8_t> info(40);
    EXPECT_TRUE(device.RunWith(ReadTrackInfo(device.LastTrackInLastSession()), info.data(), 40));
    start = (uint32_t{info[12]} << 24) | (info[13] << 16) | (info[14] << 8) | info[15];
  }
  uint8_t complete = device.SessionsOnDisc();
  EXPECT_EQ(1, device.WriteParameters(0, 1, type == kDiscDvdPlusR && !finalize ? 1 : 0, type));
  EXPECT_EQ(1, device.ApplyStoredSpeeds());
  if (type == kDiscDvdR) {
    auto streaming = StreamingDescriptor(blocks, 11080);
    EXPECT_TRUE(SendList(device, SetStreaming(28), streaming.data(), 28));
    auto stamp = DvdTimeStamp({2026, 12, 10, 16, 7, 0});
    EXPECT_TRUE(SendList(device, SendDvdStructure(0x0F, 22), stamp.data(), 22));
    EXPECT_TRUE(device.RunWith(ReserveTrack(blocks), nullptr, 0));
  }
  std::vector<uint8_t> data = Pattern(blocks, seed);
  for (uint32_t done = 0; done < blocks; done += 32) {
    uint16_t count = static_cast<uint16_t>(std::min(32u, blocks - done));
    EXPECT_TRUE(device.RunWith(Write10(start + done, count), data.data() + size_t{done} * 2048, count * 2048u))
        << "write at " << start + done << " sense " << std::hex << ErrorNumberFromSense(device.lastOutcome().sense);
  }
  device.RunWith(SyncCache(false), nullptr, 0);
  switch (type) {
    case kDiscDvdR:
      device.RunWith(CloseTrackSession(false, 1, complete + 1), nullptr, 0);
      device.RunWith(CloseTrackSession(false, 1, complete + 2), nullptr, 0);
      EXPECT_TRUE(device.RunWith(CloseTrackSession(false, 2, complete + 3), nullptr, 0));
      break;
    case kDiscDvdPlusR:
      EXPECT_TRUE(device.RunWith(CloseTrackSession(false, 1, complete + 1), nullptr, 0));
      EXPECT_TRUE(device.RunWith(CloseTrackSession(false, finalize ? 6 : 2, finalize ? 0 : 0xFF), nullptr, 0));
      break;
    case kDiscDvdPlusRw:
      EXPECT_TRUE(device.RunWith(CloseTrackSession(false, 3, 0xFF), nullptr, 0));
      break;
    case kDiscDvdRwRestricted:
      device.RunWith(CloseTrackSession(false, 1, 1), nullptr, 0);
      EXPECT_TRUE(device.RunWith(CloseTrackSession(true, 2, 0), nullptr, 0));
      break;
    default:  // CD: the write parameters decide whether the disc stays open
      EXPECT_EQ(1, device.WriteParameters(0, 1, finalize ? 0 : 1, type));
      EXPECT_TRUE(device.RunWith(CloseTrackSession(true, 2, 0), nullptr, 0));
      break;
  }
  return start;
}

struct FlowCase {
  const char* name;
  MediumKind medium;
  bool finalizeSecond;
  uint8_t typeAfter;
  uint8_t sessionsAfterOne, sessionsAfterTwo;
  uint32_t secondStart;  // where the second burn began
  int writableAfter;
};

TEST(BurnFlows, TwoBurnsInTwoDriveObjects) {
  constexpr uint32_t kBlocks = 100;
  const FlowCase cases[] = {
      {"CD-R, second session closes the disc", MediumKind::kCdR, true, 2, 1, 2, kBlocks + 11400, 0},
      {"CD-RW, both open", MediumKind::kCdRw, false, 3, 1, 2, kBlocks + 11400, 1},
      {"DVD-R", MediumKind::kDvdR, false, 5, 1, 2, kBlocks, 1},
      {"DVD+R, finalized", MediumKind::kDvdPlusR, true, 11, 1, 2, kBlocks, 0},
      {"DVD-RW, formatted to restricted overwrite", MediumKind::kDvdRwSequential, false, 8, 1, 1, 0, 1},
      {"DVD+RW", MediumKind::kDvdPlusRw, false, 10, 1, 1, 0, 1},
      {"DVD-RAM", MediumKind::kDvdRam, false, 6, 1, 1, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    softdrive::DriveConfig config;
    config.medium = c.medium;
    config.backingPath = Backing("flow.img");
    {
      softdrive::SoftDrive drive(config);
      SoftDriveTransport transport(&drive);
      MmcDevice device(&transport);
      device.ReadCapabilities();
      EXPECT_EQ(0u, Burn(device, kBlocks, false, 1));
      EXPECT_EQ(c.typeAfter, device.QueryDiscType());
      EXPECT_EQ(c.sessionsAfterOne, device.SessionsOnDisc());
    }
    softdrive::SoftDrive drive(config);
    SoftDriveTransport transport(&drive);
    MmcDevice device(&transport);
    device.ReadCapabilities();
    EXPECT_EQ(c.secondStart, Burn(device, kBlocks, c.finalizeSecond, 2));
    EXPECT_EQ(c.sessionsAfterTwo, device.SessionsOnDisc());
    device.QueryDiscType();
    EXPECT_EQ(c.writableAfter, device.Writable());
    // The backing file is the disc's data area: both sessions where they began.
    std::ifstream in(config.backingPath, std::ios::binary);
    std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<uint8_t> second = Pattern(kBlocks, 2);
    ASSERT_GE(image.size(), size_t{c.secondStart + kBlocks} * 2048);
    EXPECT_TRUE(std::equal(second.begin(), second.end(), image.begin() + size_t{c.secondStart} * 2048));
    if (c.secondStart != 0) {
      std::vector<uint8_t> first = Pattern(kBlocks, 1);
      EXPECT_TRUE(std::equal(first.begin(), first.end(), image.begin()));
    }
  }
}

TEST(BurnFlows, EraseAndFormatLists) {
  // CD-RW: quick blank empties a written disc.
  softdrive::DriveConfig config;
  config.medium = MediumKind::kCdRw;
  config.sessions = 2;
  config.sessionBlocks = 500;
  config.finalized = true;
  config.backingPath = Backing("erase.img");
  softdrive::SoftDrive cd(config);
  SoftDriveTransport cdTransport(&cd);
  MmcDevice cdDevice(&cdTransport);
  EXPECT_EQ(3, cdDevice.QueryDiscType());
  EXPECT_EQ(2, cdDevice.SessionsOnDisc());
  EXPECT_TRUE(cdDevice.RunWith(Blank(true), nullptr, 0));
  EXPECT_EQ(0, cdDevice.SessionsOnDisc());
  EXPECT_EQ(1, cdDevice.Writable());

  // Unformatted DVD+RW: the write is refused with 30/05 until the basic format.
  config = {};
  config.medium = MediumKind::kDvdPlusRw;
  config.formatted = false;
  config.backingPath = Backing("plus.img");
  softdrive::SoftDrive plus(config);
  SoftDriveTransport plusTransport(&plus);
  MmcDevice plusDevice(&plusTransport);
  std::vector<uint8_t> zeros(32 * 2048, 0);
  EXPECT_FALSE(plusDevice.RunWith(Write10(0, 32), zeros.data(), 32 * 2048));
  EXPECT_EQ(0x3005, ErrorNumberFromSense(plusDevice.lastOutcome().sense));
  EXPECT_TRUE(SendList(plusDevice, FormatUnit(0x11), kFormatDvdPlusRwBasic.data(), 12));
  for (uint32_t unit = 0; unit < 16; ++unit) {
    EXPECT_TRUE(plusDevice.RunWith(Write10(unit * 32, 32), zeros.data(), 32 * 2048));
  }
  EXPECT_EQ(512u * 2048, fs::file_size(config.backingPath));

  // DVD-RAM takes its full format, DVD-RW its restricted-overwrite lists,
  // and neither takes the other's.
  config = {};
  config.medium = MediumKind::kDvdRam;
  config.backingPath = Backing("ram.img");
  softdrive::SoftDrive ram(config);
  SoftDriveTransport ramTransport(&ram);
  MmcDevice ramDevice(&ramTransport);
  EXPECT_TRUE(SendList(ramDevice, FormatUnit(0x11), kFormatDvdRamFull.data(), 12));
  EXPECT_FALSE(SendList(ramDevice, FormatUnit(0x11), kFormatDvdPlusRwBasic.data(), 12));
  EXPECT_FALSE(ramDevice.RunWith(Blank(true), nullptr, 0));
  config.medium = MediumKind::kDvdRwSequential;
  config.backingPath = Backing("rw.img");
  softdrive::SoftDrive rw(config);
  SoftDriveTransport rwTransport(&rw);
  MmcDevice rwDevice(&rwTransport);
  EXPECT_TRUE(SendList(rwDevice, FormatUnit(0x11), kFormatDvdRwQuickWhole.data(), 12));
  EXPECT_TRUE(SendList(rwDevice, FormatUnit(0x11), kFormatDvdRwGrow.data(), 12));
  EXPECT_EQ(8, rwDevice.QueryDiscType());
  EXPECT_TRUE(rwDevice.RunWith(Blank(false), nullptr, 0));
  EXPECT_EQ(9, rwDevice.QueryDiscType());
}

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Writes an image at the next writable address the queries give and closes
// the session open for another; returns that address.
uint32_t AppendSession(const softdrive::DriveConfig& config, const std::vector<uint8_t>& image) {
  softdrive::SoftDrive drive(config);
  SoftDriveTransport transport(&drive);
  MmcDevice device(&transport);
  device.ReadCapabilities();
  EXPECT_EQ(kDiscDvdPlusR, device.QueryDiscType());
  std::vector<uint8_t> info(40);
  EXPECT_TRUE(device.RunWith(ReadTrackInfo(device.LastTrackInLastSession()), info.data(), 40));
  uint32_t start = (uint32_t{info[12]} << 24) | (info[13] << 16) | (info[14] << 8) | info[15];
  EXPECT_EQ(1, device.WriteParameters(0, 1, 1, kDiscDvdPlusR));
  uint32_t blocks = static_cast<uint32_t>(image.size() / 2048);
  for (uint32_t done = 0; done < blocks; done += 32) {
    uint16_t count = static_cast<uint16_t>(std::min(32u, blocks - done));
    std::vector<uint8_t> unit(image.begin() + size_t{done} * 2048, image.begin() + size_t{done + count} * 2048);
    EXPECT_TRUE(device.RunWith(Write10(start + done, count), unit.data(), count * 2048u));
  }
  device.RunWith(SyncCache(false), nullptr, 0);
  EXPECT_TRUE(device.RunWith(CloseTrackSession(false, 1, 0), nullptr, 0));
  EXPECT_TRUE(device.RunWith(CloseTrackSession(false, 2, 0xFF), nullptr, 0));
  return start;
}

// Two ISO sessions made by xorriso, written one per drive object at the
// address the queries report: the backing file is a multisession image that
// xorriso reads, the second session's tree holding both sessions' files.
TEST(BurnFlows, TwoSessionsReadBackWithXorriso) {
  if (std::system("xorriso -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "xorriso is not installed";
  fs::path dir = ScratchFolder("discburn-flows") / "xorriso";
  fs::remove_all(dir);
  fs::create_directories(dir / "one");
  fs::create_directories(dir / "two/deeper");
  std::ofstream(dir / "one/first.txt") << "written in the first session\n";
  {
    std::ofstream big(dir / "two/deeper/second.bin", std::ios::binary);
    std::vector<uint8_t> bytes = Pattern(45, 7);
    big.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size() - 17));
  }
  softdrive::DriveConfig config;
  config.medium = MediumKind::kDvdPlusR;
  config.backingPath = (dir / "disc.img").string();
  std::string quiet = " >/dev/null 2>&1";
  ASSERT_EQ(0, std::system(("xorriso -as mkisofs -quiet -J -o '" + (dir / "s1.iso").string() + "' '" +
                            (dir / "one").string() + "'" + quiet).c_str()));
  std::vector<uint8_t> first = ReadAll(dir / "s1.iso");
  ASSERT_EQ(0u, AppendSession(config, first));

  uint32_t next = static_cast<uint32_t>(first.size() / 2048);
  ASSERT_EQ(0, std::system(("xorriso -as mkisofs -quiet -J -C 0," + std::to_string(next) + " -M '" +
                            config.backingPath + "' -o '" + (dir / "s2.iso").string() + "' '" +
                            (dir / "two").string() + "'" + quiet).c_str()));
  EXPECT_EQ(next, AppendSession(config, ReadAll(dir / "s2.iso")));

  softdrive::SoftDrive drive(config);
  SoftDriveTransport transport(&drive);
  MmcDevice device(&transport);
  device.QueryDiscType();
  EXPECT_EQ(2, device.SessionsOnDisc());
  ASSERT_EQ(0, std::system(("osirrox -indev '" + config.backingPath + "' -load sbsector " + std::to_string(next) +
                            " -extract / '" + (dir / "out").string() + "'" + quiet).c_str()));
  for (const char* name : {"one/first.txt", "two/deeper/second.bin"}) {
    SCOPED_TRACE(name);
    std::string file = std::string(name).substr(4);
    EXPECT_EQ(ReadAll(dir / name), ReadAll(dir / "out" / file));
    EXPECT_FALSE(ReadAll(dir / "out" / file).empty());
  }
}

TEST(ParameterLists, StreamingAndTimeStamp) {
  auto streaming = StreamingDescriptor(0x1000, 11080);
  const std::vector<uint8_t> expected = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0F, 0xFF, 0, 0, 0x2B, 0x48,
                                         0, 0, 0x03, 0xE8, 0, 0, 0x2B, 0x48, 0, 0, 0x03, 0xE8};
  EXPECT_EQ(expected, std::vector<uint8_t>(streaming.begin(), streaming.end()));
  auto stamp = DvdTimeStamp({2026, 12, 10, 16, 7, 5});
  EXPECT_EQ(0x14, stamp[1]);
  EXPECT_EQ("20261210160705", std::string(stamp.begin() + 8, stamp.end()));
}

}  // namespace
