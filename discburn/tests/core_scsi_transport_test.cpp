// The transport's pure parts: command blocks byte for byte, the WRITE(10)
// compatibility rule, the answer readers at their bounds, the SCSI log's
// lines, and the drive table's texts and order.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "drive_table.h"
#include "mmc_commands.h"
#include "mmc_replies.h"
#include "scsi_log.h"
#include "scsi_request.h"

namespace {

using namespace discburn;

struct CdbCase {
  const char* name;
  ScsiCommand command;
  std::vector<uint8_t> bytes;
  DataDirection direction;
};

TEST(MmcCommands, BlocksByteForByte) {
  const auto in = DataDirection::kIn, out = DataDirection::kOut, none = DataDirection::kNone;
  const CdbCase cases[] = {
      {"inquiry", Inquiry(64), {0x12, 0, 0, 0, 64, 0}, in},
      {"eject", StartStop(false, 2), {0x1B, 0, 0, 0, 2, 0}, none},
      {"load at once", StartStop(true, 3), {0x1B, 1, 0, 0, 3, 0}, none},
      {"lock", Prevent(true), {0x1E, 0, 0, 0, 1, 0}, none},
      {"format", FormatUnit(0x11), {0x04, 0x11, 0, 0, 0, 0}, out},
      {"format capacities", ReadFormatCapacities(), {0x23, 0, 0, 0, 0, 0, 0, 0, 28, 0}, in},
      {"read", Read10(0x01020304, 0x0506), {0x28, 0, 1, 2, 3, 4, 0, 5, 6, 0}, in},
      {"write", Write10(0xA0B0C0D0, 32), {0x2A, 0, 0xA0, 0xB0, 0xC0, 0xD0, 0, 0, 32, 0}, out},
      {"sync at once", SyncCache(true), {0x35, 2, 0, 0, 0, 0, 0, 0, 0, 0}, none},
      {"ATIP", ReadToc(4, true, 0, 30), {0x43, 2, 4, 0, 0, 0, 0, 0, 30, 0}, in},
      {"configuration", GetConfiguration(0x2F, 112), {0x46, 2, 0, 0x2F, 0, 0, 0, 0, 112, 0, 0, 0}, in},
      {"disc information", ReadDiscInfo(66), {0x51, 0, 0, 0, 0, 0, 0, 0, 66, 0}, in},
      {"track information", ReadTrackInfo(255), {0x52, 1, 0, 0, 0, 255, 0, 0, 40, 0}, in},
      {"reserve", ReserveTrack(0x123456), {0x53, 0, 0, 0, 0, 0, 0x12, 0x34, 0x56, 0}, none},
      {"mode select", ModeSelect10(60), {0x55, 0x10, 0, 0, 0, 0, 0, 0, 60, 0}, out},
      {"mode sense defaults", ModeSense10(0x2A, true, 128), {0x5A, 0, 0xAA, 0, 0, 0, 0, 0, 128, 0}, in},
      {"close session", CloseTrackSession(true, 2, 0x1FF), {0x5B, 1, 2, 0, 1, 0xFF, 0, 0, 0, 0}, none},
      {"buffer capacity", ReadBufferCapacity(), {0x5C, 0, 0, 0, 0, 0, 0, 0, 32, 0}, in},
      {"quick blank", Blank(true), {0xA1, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, none},
      {"full blank", Blank(false), {0xA1, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, none},
      {"streaming", SetStreaming(28), {0xB6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 28, 0}, out},
      {"speed", SetCdSpeed(0xFFFF, 2816), {0xBB, 0, 0xFF, 0xFF, 0x0B, 0x00, 0, 0, 0, 0, 0, 0}, none},
      {"dvd structure", SendDvdStructure(0x0F, 22), {0xBF, 0, 0, 0, 0, 0, 0, 0x0F, 0, 22, 0, 0}, out},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.bytes.size(), c.command.cdbLength);
    EXPECT_EQ(c.bytes, std::vector<uint8_t>(c.command.cdb.begin(), c.command.cdb.begin() + c.command.cdbLength));
    EXPECT_EQ(c.direction, c.command.direction);
  }
}

TEST(MmcCommands, Write10Compatibility) {
  struct Case {
    std::vector<uint8_t> before, after;
  } cases[] = {
      {{0x2A, 0, 0x00, 0x01, 0x02, 0x03}, {0x2A, 0, 0x00, 0x00, 0x02, 0x03}},
      {{0x2A, 0, 0xFF, 0xFF, 0xFF, 0x6A}, {0x2A, 0, 0xFF, 0xFF, 0xFF, 0x6A}},  // lead-in address kept
      {{0x2A, 0, 0xFF, 0x00, 0x10, 0x00}, {0x2A, 0, 0x00, 0x00, 0x10, 0x00}},
      {{0x28, 0, 0x12, 0x34, 0x56, 0x78}, {0x28, 0, 0x12, 0x34, 0x56, 0x78}},  // only WRITE(10)
  };
  for (auto& c : cases) {
    ApplyWrite10Compatibility(c.before.data());
    EXPECT_EQ(c.after, c.before);
  }
}

TEST(MmcReplies, ReadersStopAtTheAnswersEnd) {
  std::vector<uint8_t> disc = {0, 32, 0x1E, 1, 3, 3, 3, 0x20, 0, 0, 0, 0};
  auto info = ParseDiscInfo(disc.data(), 12);
  ASSERT_TRUE(info);
  EXPECT_EQ(3, info->sessions);
  EXPECT_EQ(2, info->discStatus);
  EXPECT_EQ(3, info->lastSessionState);
  EXPECT_TRUE(info->erasable);
  EXPECT_FALSE(ParseDiscInfo(disc.data(), 6));
  disc[1] = 4;  // the drive says only 6 bytes follow... of which byte 6 is one
  EXPECT_FALSE(ParseDiscInfo(disc.data(), 12));

  std::vector<uint8_t> atip(28, 0);
  atip[1] = 26;
  atip[6] = 0xC0;
  atip[12] = 79, atip[13] = 59, atip[14] = 72;
  auto parsed = ParseAtip(atip.data(), 28);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(359847u, parsed->leadOutLba);
  EXPECT_TRUE(parsed->rewritable);
  EXPECT_FALSE(ParseAtip(atip.data(), 14));

  // Mode page found after block descriptors, with the PS bit set.
  std::vector<uint8_t> mode = {0, 30, 0, 0, 0, 0, 0, 8, 1, 2, 3, 4, 5, 6, 7, 8, 0xAA, 14};
  mode.resize(32, 0x11);
  auto span = LocateModePage(mode.data(), 32, 0x2A);
  ASSERT_TRUE(span);
  EXPECT_EQ(16u, span->offset);
  EXPECT_EQ(16u, span->size);
  EXPECT_FALSE(LocateModePage(mode.data(), 31, 0x2A));  // the page runs past the answer
  EXPECT_FALSE(LocateModePage(mode.data(), 32, 0x05));

  std::vector<uint8_t> capacities = {0, 0, 0, 16, 0, 0, 0x10, 0, 2, 0, 8, 0,
                                     0, 0, 0x20, 0, 0, 0, 8, 0};
  EXPECT_EQ(0x2000u, ParseFormattedCapacity(capacities.data(), 20).value_or(0));
  capacities[3] = 8;  // the list says one descriptor only
  EXPECT_FALSE(ParseFormattedCapacity(capacities.data(), 20));

  EXPECT_EQ(48, KbsToX(8467));
  EXPECT_EQ(1, KbsToX(176));
  EXPECT_EQ(2, KbsToX(177));
  EXPECT_EQ(0, KbsToX(0));
  EXPECT_EQ(5, DiscTypeFromProfile(0x11));
  EXPECT_EQ(0, DiscTypeFromProfile(0x40));
}

TEST(ScsiLog, Lines) {
  LogEntry entry;
  entry.minute = 7, entry.second = 5, entry.millisecond = 42;
  entry.cdb[0] = 0x00;
  entry.flags = 0x40;
  entry.cdbLength = 6;
  entry.adapter = 1;
  entry.status = 1;
  EXPECT_EQ("07:05:042 TEST UNIT READY        (00) {40:06} - 1:0:0 <01> [00000] "
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 | 00:00\n",
            FormatLogLine(entry));
  uint8_t data[3] = {0xDE, 0xAD, 0x01};
  entry.cdb[0] = 0x28;
  entry.cdb[8] = 1;
  entry.flags = 0x48;
  entry.cdbLength = 10;
  entry.status = 4;
  entry.dataLength = 3;
  entry.data = data;
  entry.dataAddress = 0x1002;
  entry.asc = 0x3A;
  entry.passThrough = true;
  entry.win32Error = 1117;
  EXPECT_EQ("---> 4098 07:05:042 READ (10)              (28) {48:0a} - 1:0:0 <04> [00003] "
            "00 00 00 00 00 00 00 01 00 00 00 00 00 00 00 | de ad 01 3a:00, 1117\n",
            FormatLogLine(entry));
  EXPECT_EQ("Version : 1.12 REGTD (Date: Jul  1 2004) \n", LogVersionLine());
  EXPECT_STREQ("", CommandName(0xC5));
  EXPECT_EQ(22u, std::strlen(CommandName(0x23)));
}

TEST(DriveTable, TextsAndOrder) {
  std::vector<uint8_t> inquiry(36, ' ');
  inquiry[0] = 5;
  std::memcpy(&inquiry[8], "ORB\x01    SOFT DVD WRITER 1.00", 28);
  auto identity = IdentityFromInquiry(inquiry.data(), 36);
  ASSERT_TRUE(identity);
  EXPECT_EQ("ORB     ", identity->vendor);  // the control byte became a blank
  EXPECT_FALSE(IdentityFromInquiry(inquiry.data(), 35));
  inquiry[0] = 0x00;  // a disk, not a CD/DVD device
  EXPECT_FALSE(IdentityFromInquiry(inquiry.data(), 36));

  DriveEntry addressedE{'E', 2, 1, 0, identity, ""};
  DriveEntry addressedD{'D', 1, 0, 0, identity, ""};
  DriveEntry loneF{'F', 9, 9, 9, identity, ""};
  DriveEntry silentG{'G', 0, 0, 0, std::nullopt, ""};
  auto table = MergeDriveTable({addressedE, addressedD}, {loneF, silentG});
  ASSERT_EQ(4u, table.size());
  EXPECT_EQ("2:1:0,E: ORB      SOFT DVD WRITER  1.00 ", table[0].text);
  EXPECT_EQ("1:0:0,D: ORB      SOFT DVD WRITER  1.00 ", table[1].text);
  EXPECT_EQ("3:0:0,F: ORB      SOFT DVD WRITER  1.00 ", table[2].text);  // after the addressed ones
  EXPECT_EQ("", table[3].text);                                       // no answer: empty text
  EXPECT_EQ(4, table[3].adapter);
  EXPECT_TRUE(HasCdDvdDrive(table));
  EXPECT_FALSE(HasCdDvdDrive(MergeDriveTable({}, {silentG})));
}

TEST(ScsiRequest, InquiryFillsTheBlock) {
  // The block carries the caller's buffer as a pointer of full width, so a
  // buffer above 4 GB on x86_64 is not cut; the offsets are checked at
  // compile time for each architecture (aspi_blocks.h).
  uint8_t answer[64];
  ScsiRequest request = MakeInquiryRequest(answer, sizeof answer);
  EXPECT_EQ(answer, request.SRB_BufPointer);
  EXPECT_EQ(64u, request.SRB_BufLen);
  EXPECT_EQ(kSrbExecuteScsi, request.SRB_Cmd);
  EXPECT_EQ(kSrbEventNotify | kSrbDataIn, request.SRB_Flags);
  EXPECT_EQ(0x12, request.CDBByte[0]);
  EXPECT_EQ(64, request.CDBByte[4]);
  EXPECT_EQ(kSenseRequested, request.SRB_SenseLen);
  EXPECT_EQ(nullptr, request.SRB_PostProc);
  EXPECT_EQ(sizeof(void*) == 8 ? 104u : 96u, sizeof request);
  EXPECT_EQ(60u, sizeof(HostAdapterInquiry));
}

}  // namespace
