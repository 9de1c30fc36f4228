// The burn engine's arithmetic (units, slots, priority tiers, error texts)
// and the drive as the session importer's sector reader, over the software
// drive: the start sector of each session, and sectors read back as written.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/burn_plan.h"
#include "core/drive_sector_reader.h"
#include "mmc_commands.h"
#include "soft_drive.h"
#include "soft_drive_transport.h"
#include "test_scratch.h"

namespace {

using namespace discburn;
namespace fs = std::filesystem;

TEST(BurnPlan, UnitsSlotsAndTiers) {
  struct Case {
    uint8_t type;
    uint32_t unitBytes;
  };
  for (const Case& c : {Case{2, 0xD800}, Case{3, 0xD800}, Case{13, 0xD800}, Case{14, 0xD800}, Case{5, 0x10000},
                        Case{10, 0x10000}, Case{0, 0x10000}, Case{6, 0x10000}}) {
    EXPECT_EQ(c.unitBytes, WriteUnitBytes(c.type)) << int(c.type);
  }
  EXPECT_EQ(0x200000u, ClampCacheBytes(0));
  EXPECT_EQ(0x200000u, ClampCacheBytes(-5));
  EXPECT_EQ(0x300000u, ClampCacheBytes(0x300000));
  // 2 MiB of 64 KiB units: 32 slots, the filler idles at 31 filled.
  EXPECT_EQ(32u, CacheSlotCount(0x200000, 0x10000));
  EXPECT_EQ(FillerTier::kIdle, TierForFill(31, 32));
  EXPECT_EQ(FillerTier::kLowest, TierForFill(30, 32));
  EXPECT_EQ(FillerTier::kLowest, TierForFill(16, 32));
  EXPECT_EQ(FillerTier::kNormal, TierForFill(15, 32));
  EXPECT_EQ(FillerTier::kNormal, TierForFill(8, 32));
  EXPECT_EQ(FillerTier::kHighest, TierForFill(7, 32));
  // 32 MiB of 55296-byte units: 606 slots; a huge cache is cut to the table.
  EXPECT_EQ(606u, CacheSlotCount(0x2000000, 0xD800));
  EXPECT_EQ(kMaxCacheSlots, CacheSlotCount(0x7FFFFFFF, 0xD800));
  for (uint8_t type : {6, 8, 9, 10}) EXPECT_TRUE(IsOverwritable(type));
  for (uint8_t type : {0, 2, 3, 5, 11}) EXPECT_FALSE(IsOverwritable(type));
}

TEST(BurnPlan, ErrorTexts) {
  struct Case {
    int error;
    const char16_t* name;
    const char16_t* text;
  };
  const Case cases[] = {
      {0, u"", u"Unknown/No Error!"},
      {1, u"", u"Data not prepared "},
      {2, u"C:\\a b.txt", u"Error opening file \"C:\\a b.txt\""},
      {2, u"", u"Error opening file"},
      {3, u"D:\\out.iso", u"Error creating file \"D:\\out.iso\""},
      {3, u"", u"Error creating file"},
      {4, u"x", u"Aborted by user"},
      {0x3A00, u"", u"Hardware Error 14848"},
      {0x0C09, u"x", u"Hardware Error 3081"},
  };
  for (const Case& c : cases) EXPECT_EQ(std::u16string(c.text), ErrorText(c.error, c.name)) << c.error;
}

TEST(DriveSectorReader, SessionStartsAndSectors) {
  softdrive::DriveConfig config;
  config.medium = softdrive::MediumKind::kCdR;
  config.sessions = 2;
  config.sessionBlocks = 300;
  config.backingPath = (ScratchFolder("burn-plan") / "two.img").string();
  fs::remove(config.backingPath);
  fs::remove(config.backingPath + ".state");
  softdrive::SoftDrive drive(config);
  SoftDriveTransport transport(&drive);
  MmcDevice device(&transport);
  EXPECT_EQ(2, device.QueryDiscType());
  EXPECT_EQ(0u, SessionStartSector(device, 1).value_or(99));
  EXPECT_EQ(300u + 11400u, SessionStartSector(device, 2).value_or(0));
  EXPECT_FALSE(SessionStartSector(device, 7).has_value());

  // A third session written, then read back in runs across the 16-sector steps.
  uint32_t start = 300u + 11400u + 300u + 6900u;
  std::vector<uint8_t> data(40 * 2048);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 + i / 2048);
  ASSERT_TRUE(device.RunWith(Write10(start, 40), data.data(), 40 * 2048));
  DriveSectorReader reader(device);
  std::vector<uint8_t> back(37 * 2048);
  ASSERT_TRUE(reader.Read(start + 2, 37, back.data()));
  EXPECT_TRUE(std::equal(back.begin(), back.end(), data.begin() + 2 * 2048));
  EXPECT_FALSE(reader.Read(start + 38, 16, back.data()));  // past what was written
}

}  // namespace
