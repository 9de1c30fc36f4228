// CD track files, where a track's audio lies on the disc, and the header an
// outside encoder reads first.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cd_track.h"
#include "encoder_feed.h"

namespace {

using namespace tonelink;

const uint8_t* Bytes(const std::string& text) { return reinterpret_cast<const uint8_t*>(text.data()); }

uint32_t At32(const std::string& bytes, size_t offset) {
  uint32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

TEST(CdTrack, HeaderHasTheTrackFileLayout) {
  std::string header = MakeCdaHeader({7, 1000, 4500}, 0xCAFE);
  ASSERT_EQ(header.size(), kCdaFileBytes);
  EXPECT_EQ(header.substr(0, 4), "RIFF");
  EXPECT_EQ(At32(header, 4), 36u);
  EXPECT_EQ(header.substr(8, 8), "CDDAfmt ");
  EXPECT_EQ(At32(header, 16), 24u);
  EXPECT_EQ(static_cast<uint8_t>(header[22]), 7);
  EXPECT_EQ(At32(header, 24), 0xCAFEu);
  EXPECT_EQ(At32(header, 28), 1000u);
  EXPECT_EQ(At32(header, 32), 4500u);
  // 1150 sectors = 0:15.25; 4500 sectors = 1:00.00.
  EXPECT_EQ(At32(header, 36), 25u | 15u << 8);
  EXPECT_EQ(At32(header, 40), 1u << 16);
}

struct ParseCase {
  const char* name;
  std::string bytes;
  bool accepted;
  uint32_t number;
};

std::string Patched(std::string bytes, size_t offset, uint8_t value) {
  bytes[offset] = static_cast<char>(value);
  return bytes;
}

TEST(CdTrack, ParsesOnlyWholeTrackFiles) {
  const std::string good = MakeCdaHeader({12, 300, 75}, 1);
  const ParseCase cases[] = {
      {"a track file", good, true, 12},
      {"with bytes after it", good + "xyz", true, 12},
      {"cut short", good.substr(0, 43), false, 0},
      {"empty", "", false, 0},
      {"not RIFF", Patched(good, 0, 'X'), false, 0},
      {"a WAV file", Patched(Patched(Patched(Patched(good, 8, 'W'), 9, 'A'), 10, 'V'), 11, 'E'), false, 0},
      {"no fmt chunk", Patched(good, 12, 'd'), false, 0},
      {"fmt chunk too short", Patched(good, 16, 8), false, 0},
      {"track 0", Patched(good, 22, 0), false, 0},
      {"track 100", Patched(good, 22, 100), false, 0},
      {"no sectors", MakeCdaHeader({3, 0, 0}, 0), false, 0},
  };
  for (const ParseCase& c : cases) {
    CdTrack track;
    EXPECT_EQ(ParseCdaHeader(Bytes(c.bytes), c.bytes.size(), &track), c.accepted) << c.name;
    if (c.accepted) {
      EXPECT_EQ(track.number, c.number) << c.name;
    }
  }
}

TEST(CdTrack, TrackBytesLieWithinTheDisc) {
  struct Case {
    const char* name;
    CdTrack track;
    uint64_t discBytes;
    bool inside;
    uint64_t offset, length;
  } cases[] = {
      {"first track", {1, 0, 10}, 10 * kCdSectorBytes, true, 0, 10 * kCdSectorBytes},
      {"later track", {2, 10, 5}, 15 * kCdSectorBytes, true, 10 * kCdSectorBytes, 5 * kCdSectorBytes},
      {"one sector past the end", {2, 10, 6}, 15 * kCdSectorBytes, false, 0, 0},
      {"starts past the end", {3, 16, 1}, 15 * kCdSectorBytes, false, 0, 0},
      {"huge numbers", {4, 0xFFFFFFFFu, 0xFFFFFFFFu}, 15 * kCdSectorBytes, false, 0, 0},
  };
  for (const Case& c : cases) {
    uint64_t offset = 0, length = 0;
    EXPECT_EQ(TrackBytes(c.track, c.discBytes, &offset, &length), c.inside) << c.name;
    if (c.inside) {
      EXPECT_EQ(offset, c.offset) << c.name;
      EXPECT_EQ(length, c.length) << c.name;
    }
  }
}

TEST(CdTrack, FileNamesHaveTwoDigits) {
  EXPECT_EQ(CdaFileName(1), "Track01.cda");
  EXPECT_EQ(CdaFileName(42), "Track42.cda");
}

TEST(EncoderFeed, HeaderDescribesOpenEnded16BitPcm) {
  std::string header = StreamingWaveHeader(48000, 1);
  ASSERT_EQ(header.size(), 44u);
  EXPECT_EQ(header.substr(0, 4), "RIFF");
  EXPECT_EQ(At32(header, 4), kUnknownWaveSize);
  EXPECT_EQ(header.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(At32(header, 16), 16u);
  EXPECT_EQ(At32(header, 20), 1u | 1u << 16);  // PCM, mono
  EXPECT_EQ(At32(header, 24), 48000u);
  EXPECT_EQ(At32(header, 28), 96000u);
  EXPECT_EQ(At32(header, 32), 2u | 16u << 16);  // block 2, 16 bits
  EXPECT_EQ(header.substr(36, 4), "data");
  EXPECT_EQ(At32(header, 40), kUnknownWaveSize);
}

}  // namespace
