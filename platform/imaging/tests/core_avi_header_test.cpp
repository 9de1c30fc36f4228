#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "avi_fixture.h"
#include "avi_header.h"

using namespace imaging;

namespace {

AviCheck Check(const std::string& bytes, AviHeader* header) {
  return ReadAviHeader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), header);
}

void Set32(std::string* bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

TEST(AviHeaderTest, ReadsTheFixturesHeaders) {
  avifixture::Options options;
  options.frames = 12;
  options.width = 40;
  options.height = 30;
  options.rate = 25;
  std::string avi = avifixture::MakeAvi(options);
  AviHeader header;
  ASSERT_EQ(Check(avi, &header), AviCheck::kVideo);
  EXPECT_EQ(header.width, 40u);
  EXPECT_EQ(header.height, 30u);
  EXPECT_EQ(header.totalFrames, 12u);
  EXPECT_EQ(header.microsPerFrame, 40000u);
  EXPECT_EQ(header.streams, 1u);
  EXPECT_EQ(header.videoRate, 25u);
  EXPECT_EQ(header.videoScale, 1u);
  EXPECT_EQ(header.videoLength, 12u);
  EXPECT_EQ(header.videoBitCount, 24u);
  EXPECT_EQ(header.videoCompression, 0u);
  EXPECT_FALSE(header.hasAudio);
  // The first bytes suffice: the headers end long before the frames.
  ASSERT_EQ(Check(avi.substr(0, 400), &header), AviCheck::kVideo);
}

TEST(AviHeaderTest, OtherFilesAndDamagedHeaders) {
  std::string avi = avifixture::MakeAvi(avifixture::Options{});
  // Offsets in the fixture: RIFF(12) LIST hdrl head(12) avih head(8) body(56).
  const size_t avihBody = 12 + 12 + 8;
  const size_t strlList = avihBody + 56;
  struct Case {
    const char* name;
    std::string bytes;
    AviCheck want;
  };
  std::string wave = avi;
  wave.replace(8, 4, "WAVE");
  std::string wide = avi;
  Set32(&wide, avihBody + 32, kMaxVideoSide + 1);
  std::string zeroHigh = avi;
  Set32(&zeroHigh, avihBody + 36, 0);
  std::string hugeList = avi;
  Set32(&hugeList, 16, 0xFFFFFFF0u);  // hdrl claims more than the file
  std::string audioOnly = avi;
  audioOnly.replace(strlList + 12 + 8, 4, "auds");  // strh type
  std::string shortStrh = avi;
  Set32(&shortStrh, strlList + 12 + 4, 8);  // strh of 8 bytes
  Case cases[] = {
      {"empty", "", AviCheck::kNotAvi},
      {"text", "just some text, not a video at all", AviCheck::kNotAvi},
      {"riff wave", wave, AviCheck::kNotAvi},
      {"header only", avi.substr(0, 12), AviCheck::kDamaged},
      {"cut in avih", avi.substr(0, avihBody + 20), AviCheck::kDamaged},
      {"too wide", wide, AviCheck::kDamaged},
      {"no height", zeroHigh, AviCheck::kDamaged},
      {"list beyond the file", hugeList, AviCheck::kDamaged},
      {"audio only", audioOnly, AviCheck::kNotAvi},
      {"short stream header", shortStrh, AviCheck::kDamaged},
  };
  for (const Case& c : cases) {
    AviHeader header;
    EXPECT_EQ(Check(c.bytes, &header), c.want) << c.name;
  }
}

// ffprobe reads the fixture back (native tree only: the Wine tests play it).
#ifndef _WIN32
TEST(AviHeaderTest, FfprobeReadsTheFixture) {
  if (system("command -v ffprobe >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffprobe is not installed";
  avifixture::Options options;
  options.frames = 7;
  options.width = 48;
  options.height = 36;
  options.rate = 12;
  char folder[] = "/tmp/avifixtureXXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  std::string path = std::string(folder) + "/seven.avi";
  {
    std::ofstream out(path, std::ios::binary);
    out << avifixture::MakeAvi(options);
  }
  std::string command = "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                        "stream=codec_name,width,height,r_frame_rate,nb_read_frames -of csv=p=0 '" +
                        path + "'";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  pclose(pipe);
  unlink(path.c_str());
  rmdir(folder);
  EXPECT_EQ(output, "rawvideo,48,36,12/1,7\n");
}
#endif

TEST(AviFixtureTest, ColoursAreDistinctAndFoundAgain) {
  for (int i = 0; i < 64; ++i) {
    avifixture::Rgb c = avifixture::FixtureColour(i);
    EXPECT_EQ(avifixture::NearestFrame(c.r, c.g, c.b, 64), i);
    // A 16-bit display keeps 5 or 6 bits a channel: still the same frame.
    EXPECT_EQ(avifixture::NearestFrame(c.r & 0xF8, c.g & 0xFC, c.b & 0xF8, 64), i);
  }
}
