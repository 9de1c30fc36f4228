// The burn's command sequence (core/burn_sequence.h), the one the library's
// writer thread runs, against the software drive for each kind of medium:
// sessions written at the address the queries give, closed the way each
// medium is closed, seen by a second drive object over the same files (as
// by a second process), with the data where the session started; a session
// that did not complete is not closed; a drive that is not ready at first
// or refuses a write; an unformatted DVD+RW; the copy of a new session's
// first unit to sector 0 of an overwritable medium.  Also the format lists
// accepted by the media they are for, and erasing.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/burn_plan.h"
#include "core/burn_sequence.h"
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

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool SendList(MmcDevice& device, ScsiCommand command, const uint8_t* list, uint32_t length) {
  std::vector<uint8_t> bytes(list, list + length);
  return device.RunWith(command, bytes.data(), length);
}

// Pauses are counted, not slept: the waits of the sequence show here.
class CountingPacing : public BurnPacing {
 public:
  void PauseMs(uint32_t ms) override {
    ++pauses;
    totalMs += ms;
  }
  UtcTime NowUtc() override { return {2026, 12, 10, 16, 7, 0}; }
  int pauses = 0;
  uint64_t totalMs = 0;
};

// One drive object over a configuration, as one process sees it.
struct DriveOnConfig {
  explicit DriveOnConfig(const softdrive::DriveConfig& config) : drive(config), transport(&drive), mmc(&transport) {
    mmc.ReadCapabilities();
  }
  softdrive::SoftDrive drive;
  SoftDriveTransport transport;
  MmcDevice mmc;
};

struct BurnOutcome {
  uint32_t start = 0;
  bool isWritten = false;   // every unit reached the drive
  bool isComplete = false;  // the session was complete and closed
};

// Burns `image` (padded to whole write units, as the filler does) through
// the sequence: start, prologue, units, completion and close.  With
// `stopAfterUnits` the feeding stops there, as a burn stopped half-way.
BurnOutcome BurnImage(MmcDevice& mmc, std::vector<uint8_t> image, bool finalize, CountingPacing& pacing,
                      uint32_t stopAfterUnits = UINT32_MAX) {
  std::atomic<int> stop{0};
  mmc.settings().finalize = finalize ? 1 : 0;
  BurnSequence sequence(mmc, pacing, stop);
  uint8_t type = mmc.QueryDiscType();
  const uint32_t unit = WriteUnitSectors(type);
  uint32_t sectors = static_cast<uint32_t>((image.size() / 2048 + unit - 1) / unit * unit);
  image.resize(size_t{sectors} * 2048, 0);
  BurnOutcome outcome;
  outcome.start = sequence.BeginProject(type);
  sequence.Prologue(sectors);
  outcome.isWritten = true;
  for (uint32_t done = 0; done < sectors; done += unit) {
    if (sequence.unitsWritten() == stopAfterUnits || !sequence.WriteNext(image.data() + size_t{done} * 2048, unit)) {
      outcome.isWritten = false;
      break;
    }
  }
  outcome.isComplete = sequence.CompleteSession(outcome.isWritten);
  sequence.CloseMedium(outcome.isComplete);
  return outcome;
}

// 864 blocks are whole units of both 27 (CD) and 32 (DVD) sectors.
constexpr uint32_t kBlocks = 864;

struct FlowCase {
  const char* name;
  MediumKind medium;
  bool finalizeSecond;
  uint8_t sessionsAfterOne, sessionsAfterTwo;
  bool appends;  // the second session follows the first (else: written over it)
  // An overwritable medium gets the appended session's first unit at
  // sector 0 too.
  uint32_t gap;  // lead-out and lead-in between sessions
  int writableAfter;
};

TEST(BurnSequence, TwoBurnsInTwoDriveObjects) {
  const FlowCase cases[] = {
      {"CD-R, second session closes the disc", MediumKind::kCdR, true, 1, 2, true, 11400, 0},
      {"CD-RW, both open", MediumKind::kCdRw, false, 1, 2, true, 11400, 1},
      {"DVD-R", MediumKind::kDvdR, false, 1, 2, true, 0, 1},
      {"DVD+R, finalized", MediumKind::kDvdPlusR, true, 1, 2, true, 0, 0},
      {"DVD-RW, formatted to restricted overwrite", MediumKind::kDvdRwSequential, false, 1, 1, true, 0, 1},
      {"DVD+RW", MediumKind::kDvdPlusRw, false, 1, 1, false, 0, 1},
      {"DVD-RAM", MediumKind::kDvdRam, false, 1, 1, false, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    softdrive::DriveConfig config;
    config.medium = c.medium;
    config.backingPath = Backing("flow.img");
    CountingPacing pacing;
    {
      DriveOnConfig one(config);
      BurnOutcome first = BurnImage(one.mmc, Pattern(kBlocks, 1), false, pacing);
      EXPECT_EQ(0u, first.start);
      EXPECT_TRUE(first.isComplete);
      EXPECT_EQ(c.sessionsAfterOne, one.mmc.SessionsOnDisc());
    }
    DriveOnConfig two(config);
    BurnOutcome second = BurnImage(two.mmc, Pattern(kBlocks, 2), c.finalizeSecond, pacing);
    EXPECT_TRUE(second.isComplete);
    const uint32_t secondStart = c.appends ? kBlocks + c.gap : 0;
    EXPECT_EQ(secondStart, second.start);
    EXPECT_EQ(c.sessionsAfterTwo, two.mmc.SessionsOnDisc());
    two.mmc.QueryDiscType();
    EXPECT_EQ(c.writableAfter, two.mmc.Writable());
    // The backing file is the disc's data area: both sessions where they began.
    std::vector<uint8_t> image = ReadAll(config.backingPath);
    std::vector<uint8_t> data = Pattern(kBlocks, 2);
    ASSERT_GE(image.size(), size_t{secondStart + kBlocks} * 2048);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), image.begin() + size_t{secondStart} * 2048));
    if (secondStart != 0) {
      const size_t copied = IsOverwritable(two.mmc.cachedDiscType()) ? 32 * 2048 : 0;
      data = Pattern(kBlocks, 1);
      EXPECT_TRUE(std::equal(data.begin() + copied, data.end(), image.begin() + copied));
      data = Pattern(kBlocks, 2);
      EXPECT_TRUE(std::equal(data.begin(), data.begin() + copied, image.begin()));
    }
  }
}

// Faults on the way: each burn ends as the case says; a session that did
// not complete is left open (no session on the disc afterwards); a refused
// write leaves the drive's sense for the engine to record.
TEST(BurnSequence, FaultsAndWaits) {
  struct Case {
    const char* name;
    MediumKind medium;
    uint32_t notReadyPolls;
    std::optional<uint32_t> writeErrorLba;
    uint32_t stopAfterUnits;
    bool isComplete;
    uint8_t sessionsAfter;
    bool pauses;  // the sequence waited for the drive
  };
  const Case cases[] = {
      {"plain CD-R", MediumKind::kCdR, 0, std::nullopt, UINT32_MAX, true, 1, false},
      {"drive not ready for its first commands", MediumKind::kCdR, 6, std::nullopt, UINT32_MAX, true, 1, true},
      {"write refused at block 300", MediumKind::kCdR, 0, 300u, UINT32_MAX, false, 0, false},
      {"stopped after 5 units", MediumKind::kCdR, 0, std::nullopt, 5, false, 0, false},
      {"DVD-R stopped after 5 units", MediumKind::kDvdR, 0, std::nullopt, 5, false, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    softdrive::DriveConfig config;
    config.medium = c.medium;
    config.notReadyPolls = c.notReadyPolls;
    config.writeErrorLba = c.writeErrorLba;
    config.backingPath = Backing("fault.img");
    CountingPacing pacing;
    {
      DriveOnConfig drive(config);
      std::atomic<int> stop{0};
      BurnSequence sequence(drive.mmc, pacing, stop);
      uint8_t type = drive.mmc.QueryDiscType();
      const uint32_t unit = WriteUnitSectors(type);
      sequence.BeginProject(type);
      sequence.Prologue(kBlocks);
      std::vector<uint8_t> data = Pattern(kBlocks, 3);
      bool isWritten = true;
      for (uint32_t done = 0; done < kBlocks; done += unit) {
        if (sequence.unitsWritten() == c.stopAfterUnits) {
          isWritten = false;
          break;
        }
        if (!sequence.WriteNext(data.data() + size_t{done} * 2048, unit)) {
          isWritten = false;
          // The refused write's sense is what the engine records.
          EXPECT_EQ(0x0C00, ErrorNumberFromSense(drive.mmc.lastOutcome().sense));
          ASSERT_TRUE(c.writeErrorLba.has_value());
          EXPECT_LE(sequence.nextAddress(), *c.writeErrorLba);
          EXPECT_GT(sequence.nextAddress() + unit, *c.writeErrorLba);
          break;
        }
      }
      bool isComplete = sequence.CompleteSession(isWritten);
      EXPECT_EQ(c.isComplete, isComplete);
      sequence.CloseMedium(isComplete);
    }
    config.notReadyPolls = 0;
    config.writeErrorLba.reset();
    DriveOnConfig after(config);
    after.mmc.QueryDiscType();
    EXPECT_EQ(c.sessionsAfter, after.mmc.SessionsOnDisc());
    EXPECT_EQ(c.pauses, pacing.pauses > 0) << pacing.pauses;
    // The bounds hold: no wait ran to its end.
    EXPECT_LT(pacing.totalMs, uint64_t{kNotReadyPollMs} * kMaxNotReadyPolls);
  }
}

// An image of one session whose primary volume descriptor (sector 16)
// gives the size of the volume up to its end, so that an overwritable
// medium's next session follows it.
std::vector<uint8_t> SessionImage(uint32_t blocks, uint8_t seed, uint32_t volumeBlocks) {
  std::vector<uint8_t> image = Pattern(blocks, seed);
  uint8_t* primary = image.data() + 16 * 2048;
  std::memset(primary, 0, 2048);
  primary[0] = 1;
  std::memcpy(primary + 1, "CD001", 5);
  primary[6] = 1;
  for (int i = 0; i < 4; ++i) {
    primary[80 + i] = static_cast<uint8_t>(volumeBlocks >> (8 * i));
    primary[87 - i] = static_cast<uint8_t>(volumeBlocks >> (8 * i));
  }
  uint8_t* terminator = image.data() + 17 * 2048;
  std::memset(terminator, 0, 2048);
  terminator[0] = 255;
  std::memcpy(terminator + 1, "CD001", 5);
  terminator[6] = 1;
  return image;
}

// A new session on an overwritable medium is announced at sector 0 only
// once all its data is written.
TEST(BurnSequence, OverwritableMediumAnnouncesOnlyACompleteSession) {
  struct Case {
    const char* name;
    MediumKind medium;
    bool formatted;
    uint32_t stopAfterUnits;  // of the second session
    bool isComplete;
  };
  const Case cases[] = {
      {"DVD+RW", MediumKind::kDvdPlusRw, true, UINT32_MAX, true},
      {"DVD+RW, unformatted: formatted at the first write", MediumKind::kDvdPlusRw, false, UINT32_MAX, true},
      {"DVD+RW, second session stopped", MediumKind::kDvdPlusRw, true, 3, false},
      {"DVD-RAM", MediumKind::kDvdRam, true, UINT32_MAX, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    softdrive::DriveConfig config;
    config.medium = c.medium;
    config.formatted = c.formatted;
    config.backingPath = Backing("over.img");
    CountingPacing pacing;
    std::vector<uint8_t> first = SessionImage(kBlocks, 5, kBlocks);
    {
      DriveOnConfig drive(config);
      ASSERT_TRUE(BurnImage(drive.mmc, first, false, pacing).isComplete);
    }
    std::vector<uint8_t> second = SessionImage(kBlocks, 6, 2 * kBlocks);
    {
      DriveOnConfig drive(config);
      BurnOutcome outcome = BurnImage(drive.mmc, second, false, pacing, c.stopAfterUnits);
      EXPECT_EQ(kBlocks, outcome.start);
      EXPECT_EQ(c.isComplete, outcome.isComplete);
    }
    std::vector<uint8_t> disc = ReadAll(config.backingPath);
    ASSERT_GE(disc.size(), size_t{kBlocks + 32} * 2048);
    // Sector 0 onwards: the new session's first unit when it completed,
    // else still the first session's.
    const std::vector<uint8_t>& expected = c.isComplete ? second : first;
    EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + 32 * 2048, disc.begin()));
    EXPECT_TRUE(std::equal(second.begin(), second.begin() + 32 * 2048, disc.begin() + size_t{kBlocks} * 2048));
    DriveOnConfig reader(config);
    reader.mmc.QueryDiscType();
    // Where a third session would go: after the second only when that one
    // is the session readers find.
    EXPECT_EQ(c.isComplete ? 2 * kBlocks : kBlocks, reader.mmc.LastSessionStart());
  }
}

TEST(EraseFlows, BlankAndFormatLists) {
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

// Burns an image through the sequence with the disc left open for another
// session; returns where the session began.
uint32_t AppendSession(const softdrive::DriveConfig& config, const std::vector<uint8_t>& image) {
  DriveOnConfig drive(config);
  EXPECT_EQ(kDiscDvdPlusR, drive.mmc.QueryDiscType());
  CountingPacing pacing;
  BurnOutcome outcome = BurnImage(drive.mmc, image, false, pacing);
  EXPECT_TRUE(outcome.isComplete);
  return outcome.start;
}

// Two ISO sessions made by xorriso, written one per drive object at the
// address the queries report: the backing file is a multisession image that
// xorriso reads, the second session's tree holding both sessions' files.
TEST(BurnSequence, TwoSessionsReadBackWithXorriso) {
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

  // The filler pads a session to whole 32-sector units.
  uint32_t next = static_cast<uint32_t>((first.size() / 2048 + 31) / 32 * 32);
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
