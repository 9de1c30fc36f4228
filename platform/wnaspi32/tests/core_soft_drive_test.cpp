// The software drive answers command blocks like a writer: tables of CDBs
// with the status, sense and reply bytes each must give, a burn and a second
// session seen by a second drive object over the same files (as a second
// process sees them), the written medium read back as a plain image by
// xorriso, and the faults a test can configure.
#include <gtest/gtest.h>
#include <unistd.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "soft_drive.h"

namespace {

using namespace softdrive;
namespace fs = std::filesystem;

struct Result {
  CommandReply reply;
  std::vector<uint8_t> data;
};

Result Send(SoftDrive& drive, std::vector<uint8_t> cdb, DataDirection direction = DataDirection::kNone,
            uint32_t length = 0, std::vector<uint8_t> out = {}) {
  Result result;
  result.data = direction == DataDirection::kOut ? out : std::vector<uint8_t>(length, 0xEE);
  result.reply = drive.Execute(cdb.data(), static_cast<uint32_t>(cdb.size()), result.data.data(),
                               static_cast<uint32_t>(result.data.size()), direction);
  return result;
}

std::vector<uint8_t> Cdb10(uint8_t opcode, uint32_t lba, uint16_t count) {
  std::vector<uint8_t> cdb(10, 0);
  cdb[0] = opcode;
  PutBe32(&cdb[2], lba);
  PutBe16(&cdb[7], count);
  return cdb;
}

class TempDir {
 public:
  TempDir() {
    path_ = fs::temp_directory_path() /
            ("softdrive-" + std::to_string(getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() { fs::remove_all(path_); }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

DriveConfig Config(MediumKind kind, const fs::path& backing) {
  DriveConfig config;
  config.medium = kind;
  config.backingPath = backing.string();
  return config;
}

std::vector<uint8_t> Pattern(uint32_t blocks, uint8_t seed) {
  std::vector<uint8_t> bytes(size_t{blocks} * kBlockSize);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + seed + i / kBlockSize);
  return bytes;
}

// Runs `work` in a child process and tells whether it succeeded there.  The
// Windows build of these tests has no fork: a second drive object in this
// process stands in (the Wine tests of the library cover the DLL).
bool InAnotherProcess(const std::function<bool()>& work) {
#ifdef _WIN32
  return work();
#else
  pid_t child = fork();
  if (child == -1) return false;
  if (child == 0) _exit(work() ? 0 : 1);
  int status = -1;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
}

struct ByteCheck {
  size_t offset;
  uint8_t value;
};

struct CommandCase {
  const char* name;
  std::vector<uint8_t> cdb;
  DataDirection direction;
  uint32_t length;
  Sense sense;  // kNoSense: good status expected
  std::vector<ByteCheck> checks;
};

TEST(SoftDrive, BlankCdRecordableAnswers) {
  TempDir dir;
  SoftDrive drive(Config(MediumKind::kCdR, dir / "cd.img"));
  const auto in = DataDirection::kIn;
  std::vector<CommandCase> cases = {
      {"inquiry", {0x12, 0, 0, 0, 36, 0}, in, 64, kNoSense, {{0, 0x05}, {1, 0x80}, {8, 'O'}, {16, 'S'}, {32, '1'}}},
      {"inquiry vital data", {0x12, 1, 0x80, 0, 36, 0}, in, 64, kInvalidFieldInCdb, {}},
      {"test unit ready", {0x00, 0, 0, 0, 0, 0}, DataDirection::kNone, 0, kNoSense, {}},
      {"profile and DVD-R feature", {0x46, 2, 0, 0x2F, 0, 0, 0, 0, 112, 0, 0, 0}, in, 112, kNoSense,
       {{6, 0x00}, {7, 0x09}, {8, 0x00}, {9, 0x2F}, {10, 0x02}, {12, 0x46}}},
      {"capabilities page", {0x5A, 0, 0xAA, 0, 0, 0, 0, 0, 128, 0}, in, 128, kNoSense,
       {{8, 0x2A}, {10, 0x3F}, {11, 0x37}, {12, 0xF0}, {16, 0x21}, {17, 0x13}}},
      {"vendor page 30", {0x5A, 0, 0xB0, 0, 0, 0, 0, 0, 128, 0}, in, 128, kInvalidFieldInCdb, {}},
      {"write parameters page", {0x5A, 0, 0x05, 0, 0, 0, 0, 2, 0, 0}, in, 512, kNoSense,
       {{1, 52 + 6}, {8, 0x05}, {9, 0x32}, {10, 0x01}, {11, 0x04}, {12, 0x08}, {23, 150}}},
      {"disc information", {0x51, 0, 0, 0, 0, 0, 0, 0, 66, 0}, in, 66, kNoSense,
       {{1, 32}, {2, 0x00}, {3, 1}, {4, 1}, {5, 1}, {6, 1}}},
      {"invisible track", {0x52, 1, 0, 0, 0, 0xFF, 0, 0, 40, 0}, in, 40, kNoSense,
       {{2, 1}, {6, 0x41}, {7, 0x01}, {16, 0x00}, {17, 0x05}, {18, 0x7D}, {19, 0xA7}}},  // 359847 free
      {"track 2 does not exist", {0x52, 1, 0, 0, 0, 2, 0, 0, 40, 0}, in, 40, kInvalidFieldInCdb, {}},
      {"ATIP", {0x43, 2, 4, 0, 0, 0, 0, 0, 120, 0}, in, 120, kNoSense,
       {{6, 0x80}, {11, 0}, {12, 79}, {13, 59}, {14, 72}}},
      {"TOC of a blank disc", {0x43, 0, 0, 0, 0, 0, 0, 0, 100, 0}, in, 100, kInvalidFieldInCdb, {}},
      {"read capacity", {0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}, in, 8, kNoSense, {{3, 0}, {6, 0x08}}},
      {"read of an unwritten block", Cdb10(0x28, 0, 1), in, 2048, kLbaOutOfRange, {}},
      {"write away from the next address", Cdb10(0x2A, 16, 1), DataDirection::kOut, 2048, kInvalidWriteAddress, {}},
      {"buffer capacity", {0x5C, 0, 0, 0, 0, 0, 0, 0, 32, 0}, in, 32, kNoSense, {{1, 10}, {5, 0x20}, {9, 0x20}}},
      {"blank a write-once disc", {0xA1, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, DataDirection::kNone, 0,
       kIncompatibleMedium, {}},
      {"format a CD", {0x04, 0x11, 0, 0, 0, 0}, DataDirection::kOut, 12, kIncompatibleMedium, {}},
      {"unknown command", {0xC5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, DataDirection::kNone, 0, kInvalidOpcode, {}},
      {"short CDB", {0x28, 0, 0}, in, 2048, kInvalidFieldInCdb, {}},
      {"set speed", {0xBB, 0, 0xFF, 0xFF, 0x05, 0x84, 0, 0, 0, 0, 0, 0}, DataDirection::kNone, 0, kNoSense, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> out(c.length, 0);
    if (c.cdb[0] == 0x04) out = {0, 0x82, 0, 8, 0, 0, 0, 0, 0, 0, 0x08, 0};
    Result result = Send(drive, c.cdb, c.direction, c.length, out);
    bool good = c.sense == kNoSense;
    EXPECT_EQ(good ? kStatusGood : kStatusCheckCondition, result.reply.status);
    EXPECT_EQ(c.sense.key, result.reply.sense.key);
    EXPECT_EQ(c.sense.asc, result.reply.sense.asc);
    EXPECT_EQ(c.sense.ascq, result.reply.sense.ascq);
    for (const auto& check : c.checks) {
      ASSERT_LT(check.offset, result.reply.transferred) << "reply too short for byte " << check.offset;
      EXPECT_EQ(check.value, result.data[check.offset]) << "byte " << check.offset;
    }
  }
  // The speed set above is the current write speed of the capabilities page.
  Result page = Send(drive, {0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 128, 0}, in, 128);
  EXPECT_EQ(0x0584, GetBe16(&page.data[8 + 20]));
  // REQUEST SENSE reports the failure before it, then nothing.
  Send(drive, Cdb10(0x28, 0, 1), in, 2048);
  Result sense = Send(drive, {0x03, 0, 0, 0, 18, 0}, in, 18);
  EXPECT_EQ(0x70, sense.data[0]);
  EXPECT_EQ(5, sense.data[2]);
  EXPECT_EQ(0x21, sense.data[12]);
  sense = Send(drive, {0x03, 0, 0, 0, 18, 0}, in, 18);
  EXPECT_EQ(0, sense.data[2]);
}

TEST(SoftDrive, SessionsPersistForASecondProcessAndReadBack) {
  TempDir dir;
  fs::path backing = dir / "disc.img";
  std::vector<uint8_t> first = Pattern(40, 1), second = Pattern(20, 9);
  // The first session is written by another process.
  auto writeFirstSession = [&] {
    SoftDrive drive(Config(MediumKind::kCdRw, backing));
    // Multisession on: the close leaves the disc appendable.
    Result page = Send(drive, {0x5A, 0, 0x05, 0, 0, 0, 0, 2, 0, 0}, DataDirection::kIn, 512);
    page.data[8 + 3] = 0xC4;
    std::vector<uint8_t> select(page.data.begin(), page.data.begin() + 8 + 52);
    select[0] = select[1] = 0;
    return Send(drive, {0x55, 0x10, 0, 0, 0, 0, 0, 0, 60, 0}, DataDirection::kOut, 60, select).reply.status ==
               kStatusGood &&
           Send(drive, Cdb10(0x2A, 0, 40), DataDirection::kOut, 0, first).reply.status == kStatusGood &&
           Send(drive, {0x5B, 0, 2, 0, 0, 0, 0, 0, 0, 0}).reply.status == kStatusGood;
  };
  ASSERT_TRUE(InAnotherProcess(writeFirstSession));
  SoftDrive drive(Config(MediumKind::kCdRw, backing));
  Result info = Send(drive, {0x51, 0, 0, 0, 0, 0, 0, 0, 66, 0}, DataDirection::kIn, 66);
  EXPECT_EQ(0x11, info.data[2]);  // erasable, empty last session, appendable
  EXPECT_EQ(2, info.data[4]);     // one closed session and the empty one
  EXPECT_EQ(2, info.data[6]);
  Result track = Send(drive, {0x52, 1, 0, 0, 0, 2, 0, 0, 40, 0}, DataDirection::kIn, 40);
  EXPECT_EQ(40u + 11400u, GetBe32(&track.data[12]));  // next writable address
  EXPECT_EQ(kStatusGood, Send(drive, Cdb10(0x2A, 40 + 11400, 20), DataDirection::kOut, 0, second).reply.status);
  EXPECT_EQ(kStatusGood, Send(drive, {0x5B, 0, 2, 0, 0, 0, 0, 0, 0, 0}).reply.status);
  // A new drive object starts from the default write parameters (no
  // multisession), so this close finalizes the disc.
  info = Send(drive, {0x51, 0, 0, 0, 0, 0, 0, 0, 66, 0}, DataDirection::kIn, 66);
  EXPECT_EQ(0x1E, info.data[2]);  // erasable, complete session, complete disc
  EXPECT_EQ(2, info.data[4]);
  Result toc = Send(drive, {0x43, 0, 1, 0, 0, 0, 0, 0, 12, 0}, DataDirection::kIn, 12);
  EXPECT_EQ(2, toc.data[3]);                       // last complete session
  EXPECT_EQ(11440u, GetBe32(&toc.data[8]));        // its first track's start
  // Reading through the drive and reading the file give the same bytes.
  Result back = Send(drive, Cdb10(0x28, 11440, 20), DataDirection::kIn, 20 * kBlockSize);
  EXPECT_EQ(second, back.data);
  std::ifstream file(backing, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_EQ((11440u + 20u) * kBlockSize, bytes.size());
  EXPECT_TRUE(std::equal(first.begin(), first.end(), bytes.begin()));
  EXPECT_TRUE(std::equal(second.begin(), second.end(), bytes.begin() + 11440 * kBlockSize));
  // A closed disc takes no more writes.
  EXPECT_EQ(kInvalidWriteAddress, Send(drive, Cdb10(0x2A, 11460, 1), DataDirection::kOut, 0, Pattern(1, 0)).reply.sense);
}

TEST(SoftDrive, BlankAndFormatRewritableMedia) {
  TempDir dir;
  SoftDrive rw(Config(MediumKind::kDvdRwSequential, dir / "rw.img"));
  ASSERT_EQ(kStatusGood, Send(rw, Cdb10(0x2A, 0, 16), DataDirection::kOut, 0, Pattern(16, 3)).reply.status);
  ASSERT_EQ(kStatusGood, Send(rw, {0x5B, 0, 2, 0, 0, 0, 0, 0, 0, 0}).reply.status);
  EXPECT_EQ(kStatusGood, Send(rw, {0xA1, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).reply.status);
  Result info = Send(rw, {0x51, 0, 0, 0, 0, 0, 0, 0, 66, 0}, DataDirection::kIn, 66);
  EXPECT_EQ(0x10, info.data[2]);  // erasable and blank again
  EXPECT_EQ(0u, fs::file_size(dir / "rw.img"));
  // Quick format to restricted overwrite: the profile changes, writes go anywhere.
  std::vector<uint8_t> list = {0, 0xA2, 0, 8, 0, 0, 3, 0xE8, 0x54, 0, 0, 0x10};
  EXPECT_EQ(kStatusGood, Send(rw, {0x04, 0x11, 0, 0, 0, 0}, DataDirection::kOut, 0, list).reply.status);
  Result config = Send(rw, {0x46, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0}, DataDirection::kIn, 8);
  EXPECT_EQ(0x13, config.data[7]);
  EXPECT_EQ(kStatusGood, Send(rw, Cdb10(0x2A, 5000, 16), DataDirection::kOut, 0, Pattern(16, 4)).reply.status);

  SoftDrive plus(Config(MediumKind::kDvdPlusRw, dir / "plus.img"));
  DriveConfig unformatted = Config(MediumKind::kDvdPlusRw, dir / "raw.img");
  unformatted.formatted = false;
  SoftDrive raw(unformatted);
  EXPECT_EQ(kIncompatibleFormat, Send(raw, Cdb10(0x2A, 0, 1), DataDirection::kOut, 0, Pattern(1, 0)).reply.sense);
  std::vector<uint8_t> basic = {0, 0x82, 0, 8, 0, 0x23, 0x05, 0x40, 0x98, 0, 0, 0};
  EXPECT_EQ(kStatusGood, Send(raw, {0x04, 0x11, 0, 0, 0, 0}, DataDirection::kOut, 0, basic).reply.status);
  EXPECT_EQ(kStatusGood, Send(raw, Cdb10(0x2A, 0, 1), DataDirection::kOut, 0, Pattern(1, 0)).reply.status);
  // DVD+RW has no blank; the wrong format type is refused.
  EXPECT_EQ(kIncompatibleMedium, Send(plus, {0xA1, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).reply.sense);
  list[8] = 0x00;
  EXPECT_EQ(kInvalidFieldInParameters, Send(plus, {0x04, 0x11, 0, 0, 0, 0}, DataDirection::kOut, 0, list).reply.sense);
  std::vector<uint8_t> shortList(list.begin(), list.begin() + 6);
  EXPECT_EQ(kParameterListLength,
            Send(plus, {0x04, 0x11, 0, 0, 0, 0}, DataDirection::kOut, 0, shortList).reply.sense);
}

struct FaultCase {
  const char* name;
  void (*configure)(DriveConfig*);
  std::vector<uint8_t> cdb;
  DataDirection direction;
  Sense sense;
};

TEST(SoftDrive, Faults) {
  TempDir dir;
  std::vector<FaultCase> cases = {
      {"no medium: unit not ready", [](DriveConfig* c) { c->noMedium = true; }, {0, 0, 0, 0, 0, 0},
       DataDirection::kNone, kNoMedium},
      {"no medium: disc information", [](DriveConfig* c) { c->noMedium = true; },
       {0x51, 0, 0, 0, 0, 0, 0, 0, 66, 0}, DataDirection::kIn, kNoMedium},
      {"becoming ready", [](DriveConfig* c) { c->notReadyPolls = 1; }, {0, 0, 0, 0, 0, 0}, DataDirection::kNone,
       kNotReadyBecoming},
      {"write error", [](DriveConfig* c) { c->writeErrorLba = 5; }, Cdb10(0x2A, 0, 8), DataDirection::kOut,
       kWriteError},
      {"buffer underrun", [](DriveConfig* c) { c->underrunLba = 0; }, Cdb10(0x2A, 0, 8), DataDirection::kOut,
       kLossOfStreaming},
      {"write error elsewhere", [](DriveConfig* c) { c->writeErrorLba = 8; }, Cdb10(0x2A, 0, 8),
       DataDirection::kOut, kNoSense},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(dir / "f.img.state");
    DriveConfig config = Config(MediumKind::kDvdR, dir / "f.img");
    c.configure(&config);
    SoftDrive drive(config);
    Result result = Send(drive, c.cdb, c.direction, c.direction == DataDirection::kIn ? 66 : 0, Pattern(8, 0));
    EXPECT_EQ(c.sense, result.reply.sense);
    EXPECT_EQ(c.sense == kNoSense ? kStatusGood : kStatusCheckCondition, result.reply.status);
  }
  // Not ready for N polls, then ready.
  DriveConfig config = Config(MediumKind::kCdR, dir / "n.img");
  config.notReadyPolls = 3;
  SoftDrive drive(config);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(kNotReadyBecoming, Send(drive, {0, 0, 0, 0, 0, 0}).reply.sense);
  EXPECT_EQ(kStatusGood, Send(drive, {0, 0, 0, 0, 0, 0}).reply.status);
  // A slow drive takes its time for each write.
  config = Config(MediumKind::kCdR, dir / "s.img");
  config.slowMs = 50;
  SoftDrive slow(config);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(kStatusGood, Send(slow, Cdb10(0x2A, 0, 1), DataDirection::kOut, 0, Pattern(1, 0)).reply.status);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
  // Eject refused while removal is prevented, allowed after.
  EXPECT_EQ(kStatusGood, Send(slow, {0x1E, 0, 0, 0, 1, 0}).reply.status);
  EXPECT_EQ(kRemovalPrevented, Send(slow, {0x1B, 0, 0, 0, 2, 0}).reply.sense);
  EXPECT_EQ(kStatusGood, Send(slow, {0x1E, 0, 0, 0, 0, 0}).reply.status);
  EXPECT_EQ(kStatusGood, Send(slow, {0x1B, 0, 0, 0, 2, 0}).reply.status);
  EXPECT_EQ(kNoMedium, Send(slow, {0, 0, 0, 0, 0, 0}).reply.sense);
  EXPECT_EQ(kStatusGood, Send(slow, {0x1B, 0, 0, 0, 3, 0}).reply.status);
  EXPECT_EQ(kStatusGood, Send(slow, {0, 0, 0, 0, 0, 0}).reply.status);
}

// An ISO image written block by block through the drive is what xorriso
// reads from the backing file, file for file.
TEST(SoftDrive, WrittenImageReadsBackWithXorriso) {
  if (std::system("xorriso -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "xorriso is not installed";
  TempDir dir;
  fs::create_directories(dir / "tree/sub");
  std::ofstream(dir / "tree/hello.txt") << "hello from the soft drive\n";
  {
    std::ofstream big(dir / "tree/sub/big.bin", std::ios::binary);
    std::vector<uint8_t> bytes = Pattern(37, 5);
    big.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()) - 100);
  }
  std::string make = "xorriso -as mkisofs -quiet -J -o '" + (dir / "in.iso").string() + "' '" +
                     (dir / "tree").string() + "' >/dev/null 2>&1";
  ASSERT_EQ(0, std::system(make.c_str()));
  std::ifstream iso(dir / "in.iso", std::ios::binary);
  std::vector<uint8_t> image((std::istreambuf_iterator<char>(iso)), std::istreambuf_iterator<char>());
  ASSERT_EQ(0u, image.size() % kBlockSize);

  fs::path backing = dir / "dvd.img";
  {
    SoftDrive drive(Config(MediumKind::kDvdPlusR, backing));
    uint32_t blocks = static_cast<uint32_t>(image.size() / kBlockSize);
    for (uint32_t lba = 0; lba < blocks; lba += 32) {
      uint32_t count = std::min(32u, blocks - lba);
      std::vector<uint8_t> unit(image.begin() + size_t{lba} * kBlockSize,
                                image.begin() + size_t{lba + count} * kBlockSize);
      ASSERT_EQ(kStatusGood, Send(drive, Cdb10(0x2A, lba, static_cast<uint16_t>(count)), DataDirection::kOut, 0, unit)
                                 .reply.status);
    }
    ASSERT_EQ(kStatusGood, Send(drive, {0x35, 0, 0, 0, 0, 0, 0, 0, 0, 0}).reply.status);
    ASSERT_EQ(kStatusGood, Send(drive, {0x5B, 0, 6, 0, 0, 0, 0, 0, 0, 0}).reply.status);
  }
  std::string extract = "osirrox -indev '" + backing.string() + "' -extract / '" + (dir / "out").string() +
                        "' >/dev/null 2>&1";
  ASSERT_EQ(0, std::system(extract.c_str()));
  for (const char* name : {"hello.txt", "sub/big.bin"}) {
    SCOPED_TRACE(name);
    std::string compare = "cmp -s '" + (dir / "tree" / name).string() + "' '" + (dir / "out" / name).string() + "'";
    EXPECT_EQ(0, std::system(compare.c_str()));
  }
}

}  // namespace
