// The WAV reader: formats accepted and refused, the chunk walk over broken
// files, decoding to 16-bit and the peak levels.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "wave_builder.h"
#include "wave_file.h"

namespace {

using namespace tonelink;
using namespace wavebuilder;

WaveParseResult Parse(const std::string& bytes, WaveInfo* info) {
  MemorySource source(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return ParseWave(source, info);
}

std::string Data(size_t bytes) { return std::string(bytes, '\x10'); }

TEST(WaveFile, ReadsEveryPcmLayout) {
  const struct {
    const char* name;
    uint16_t tag;
    uint32_t channels, rate, bits;
    bool extensible;
    SampleEncoding encoding;
  } cases[] = {
      {"8-bit mono", 1, 1, 8000, 8, false, SampleEncoding::kInteger},
      {"16-bit stereo", 1, 2, 44100, 16, false, SampleEncoding::kInteger},
      {"24-bit stereo", 1, 2, 96000, 24, false, SampleEncoding::kInteger},
      {"32-bit mono", 1, 1, 22050, 32, false, SampleEncoding::kInteger},
      {"float stereo", 3, 2, 48000, 32, false, SampleEncoding::kFloat},
      {"extensible 24-bit", 1, 2, 48000, 24, true, SampleEncoding::kInteger},
      {"extensible float", 3, 1, 192000, 32, true, SampleEncoding::kFloat},
      {"odd rate", 1, 2, 12345, 16, false, SampleEncoding::kInteger},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    uint32_t frameBytes = c.channels * c.bits / 8;
    std::string file = Riff(FmtChunk(c.tag, c.channels, c.rate, c.bits, c.extensible) +
                            Chunk("data", Data(frameBytes * 10)));
    WaveInfo info;
    ASSERT_EQ(WaveParseResult::kOk, Parse(file, &info));
    EXPECT_EQ(c.encoding, info.format.encoding);
    EXPECT_EQ(c.channels, info.format.channels);
    EXPECT_EQ(c.rate, info.format.sampleRate);
    EXPECT_EQ(c.bits, info.format.bitsPerSample);
    EXPECT_EQ(frameBytes, info.format.bytesPerFrame);
    EXPECT_EQ(10u, info.frameCount);
    EXPECT_EQ(file.size() - frameBytes * 10, info.dataOffset);
  }
}

TEST(WaveFile, WalksChunksAndChecksLengths) {
  const std::string fmt = FmtChunk(1, 2, 8000, 16);  // 4 bytes a frame
  std::string padded = Chunk("junk", "abc");          // odd: one pad byte
  std::string declaredLong = "data";
  Put32(&declaredLong, 4000);
  std::string streaming = "data";
  Put32(&streaming, 0xFFFFFFFF);
  std::string list = Chunk("LIST", "INFO" + Chunk("ISFT", "x") + Chunk("INAM", "Evening Song\0 "));
  const struct {
    const char* name;
    std::string file;
    uint64_t frames;
    const char* title;
  } cases[] = {
      {"odd chunk before fmt", Riff(padded + fmt + Chunk("data", Data(16))), 4, ""},
      {"chunks after data", Riff(fmt + Chunk("data", Data(8)) + list), 2, "Evening Song"},
      {"title before data", Riff(fmt + list + Chunk("data", Data(8))), 2, "Evening Song"},
      {"data shorter than declared", Riff(fmt + declaredLong + Data(10)), 2, ""},
      {"data size left open", Riff(fmt + streaming + Data(13)), 3, ""},
      {"data before fmt", Riff(Chunk("data", Data(12)) + fmt), 3, ""},
      {"riff size wrong", "RIFF" + std::string(4, '\0') + "WAVE" + fmt + Chunk("data", Data(8)), 2,
       ""},
      {"empty data", Riff(fmt + Chunk("data", "")), 0, ""},
      {"half a frame", Riff(fmt + Chunk("data", Data(6))), 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WaveInfo info;
    ASSERT_EQ(WaveParseResult::kOk, Parse(c.file, &info));
    EXPECT_EQ(c.frames, info.frameCount);
    EXPECT_EQ(c.title, info.title);
    EXPECT_LE(info.dataOffset + info.frameCount * 4, c.file.size());
  }
}

TEST(WaveFile, RefusesWhatItCannotDecode) {
  const std::string data = Chunk("data", Data(8));
  std::string hugeFmt = "fmt ";
  Put32(&hugeFmt, 0x7FFFFFF0);
  hugeFmt += FmtChunk(1, 2, 8000, 16).substr(8);
  std::string tinyFmt = Chunk("fmt ", std::string(10, '\1'));
  std::string guid = FmtChunk(1, 2, 8000, 16, true);
  guid[8 + 30] = '\x55';  // a sub-format GUID that is not the PCM one
  const struct {
    const char* name;
    std::string file;
    WaveParseResult expected;
  } cases[] = {
      {"empty file", "", WaveParseResult::kNotWave},
      {"mp3 bytes", "ID3\x03" + std::string(40, '\0'), WaveParseResult::kNotWave},
      {"riff of another kind", "RIFF\x04\0\0\0AVI ", WaveParseResult::kNotWave},
      {"no fmt", Riff(data), WaveParseResult::kNotWave},
      {"no data", Riff(FmtChunk(1, 2, 8000, 16)), WaveParseResult::kNotWave},
      {"fmt too short", Riff(tinyFmt + data), WaveParseResult::kNotWave},
      {"fmt cut by the end of the file", Riff(hugeFmt.substr(0, 20)), WaveParseResult::kNotWave},
      {"big-endian", "RIFX" + Riff(FmtChunk(1, 2, 8000, 16) + data).substr(4),
       WaveParseResult::kUnsupported},
      {"ADPCM", Riff(FmtChunk(2, 2, 8000, 4) + data), WaveParseResult::kUnsupported},
      {"MPEG layer 3 in WAV", Riff(FmtChunk(0x55, 2, 44100, 0) + data),
       WaveParseResult::kUnsupported},
      {"12-bit", Riff(FmtChunk(1, 2, 8000, 12) + data), WaveParseResult::kUnsupported},
      {"64-bit float", Riff(FmtChunk(3, 2, 8000, 64) + data), WaveParseResult::kUnsupported},
      {"six channels", Riff(FmtChunk(1, 6, 8000, 16) + data), WaveParseResult::kUnsupported},
      {"no channels", Riff(FmtChunk(1, 0, 8000, 16) + data), WaveParseResult::kUnsupported},
      {"rate 0", Riff(FmtChunk(1, 2, 0, 16) + data), WaveParseResult::kUnsupported},
      {"foreign extensible", Riff(guid + data), WaveParseResult::kUnsupported},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WaveInfo info;
    EXPECT_EQ(c.expected, Parse(c.file, &info));
  }
}

TEST(WaveFile, DecodesTo16Bit) {
  const struct {
    const char* name;
    uint16_t tag;
    uint32_t bits;
    std::vector<double> samples;
    std::vector<int16_t> expected;
  } cases[] = {
      {"8-bit", 1, 8, {0.0, 1.0, -1.0}, {0, 127 * 256, -127 * 256}},
      {"16-bit", 1, 16, {0.5, -1.0}, {16384, -32767}},
      {"24-bit keeps the top bits", 1, 24, {0.5, -0.5}, {16384, -16384}},
      {"32-bit keeps the top bits", 1, 32, {0.25, -1.0}, {8192, -32768}},
      {"float clamps", 3, 32, {0.5, 2.0, -3.0}, {16384, 32767, -32768}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string bytes;
    for (double sample : c.samples) PutSample(&bytes, sample, c.tag, c.bits);
    WaveFormat format{c.tag == 3 ? SampleEncoding::kFloat : SampleEncoding::kInteger, 1, 8000,
                      c.bits, c.bits / 8};
    std::vector<int16_t> out(c.samples.size(), 0x5555);
    DecodeToPcm16(reinterpret_cast<const uint8_t*>(bytes.data()), c.samples.size(), format,
                  out.data());
    EXPECT_EQ(c.expected, out);
  }
}

TEST(WaveFile, PeakLevelsFollowTheLoudestSample) {
  const struct {
    const char* name;
    uint16_t tag;
    uint32_t bits, channels;
    double left, right;
    uint32_t expectedLeft, expectedRight;
  } cases[] = {
      {"16-bit half and quarter", 1, 16, 2, 0.5, 0.25, 64, 32},
      {"8-bit", 1, 8, 2, 0.5, 1.0, 64, 127},
      {"24-bit full scale", 1, 24, 2, 1.0, -1.0, 128, 128},
      {"32-bit", 1, 32, 2, 0.75, 0.1, 96, 13},
      {"float over full scale", 3, 32, 2, 1.5, -0.5, 128, 64},
      {"mono feeds both sides", 1, 16, 1, 0.5, 0.0, 64, 64},
      {"silence", 1, 16, 2, 0.0, 0.0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // A quiet frame, the peak frame and another quiet one.
    std::string bytes;
    for (double scale : {0.1, 1.0, -0.2}) {
      PutSample(&bytes, c.left * scale, c.tag, c.bits);
      if (c.channels == 2) PutSample(&bytes, c.right * scale, c.tag, c.bits);
    }
    WaveFormat format{c.tag == 3 ? SampleEncoding::kFloat : SampleEncoding::kInteger, c.channels,
                      8000, c.bits, c.channels * c.bits / 8};
    PeakLevels levels = MeasurePeaks(reinterpret_cast<const uint8_t*>(bytes.data()), 3, format);
    EXPECT_EQ(c.expectedLeft, levels.left);
    EXPECT_EQ(c.expectedRight, levels.right);
    EXPECT_EQ(c.expectedLeft | (c.expectedRight << 16), LevelWord(levels));
  }
}

TEST(WaveFile, ToneFileRoundTrips) {
  Tone tone;
  tone.frames = 4410;
  std::string file = ToneWave(tone, Chunk("LIST", "INFO" + Chunk("INAM", "Test tone")));
  WaveInfo info;
  ASSERT_EQ(WaveParseResult::kOk, Parse(file, &info));
  EXPECT_EQ(4410u, info.frameCount);
  EXPECT_EQ("Test tone", info.title);
  PeakLevels levels = MeasurePeaks(reinterpret_cast<const uint8_t*>(file.data()) + info.dataOffset,
                                   4410, info.format);
  EXPECT_EQ(64u, levels.left);
  EXPECT_EQ(32u, levels.right);
}

}  // namespace

// The native tree only: sox runs on Linux.
#ifndef _WIN32
namespace {

// Files written by sox, an outside writer: its extensible and float headers
// and "fact" chunks.  A sine whose period is 100 frames reaches each
// channel's peak exactly: left 50 %, right 25 % of full scale.
TEST(WaveFile, ReadsWhatSoxWrites) {
  if (std::system("sox --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "sox is not installed";
  char folder[] = "/tmp/tonelink-sox-XXXXXX";
  ASSERT_NE(nullptr, mkdtemp(folder));
  const struct {
    const char* name;
    const char* format;  // sox output options
    uint32_t rate, channels, bits;
    tonelink::SampleEncoding encoding;
  } cases[] = {
      {"8-bit mono", "-e unsigned-integer -b 8", 8000, 1, 8, tonelink::SampleEncoding::kInteger},
      {"16-bit stereo", "-b 16", 22050, 2, 16, tonelink::SampleEncoding::kInteger},
      {"24-bit stereo (extensible)", "-b 24", 48000, 2, 24, tonelink::SampleEncoding::kInteger},
      {"32-bit stereo (extensible)", "-b 32", 96000, 2, 32, tonelink::SampleEncoding::kInteger},
      {"float stereo", "-e floating-point -b 32", 44100, 2, 32, tonelink::SampleEncoding::kFloat},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = std::string(folder) + "/tone.wav";
    std::string remix = c.channels == 2 ? " remix 1v0.5 2v0.25" : " vol 0.5";
    std::string command = "sox -r " + std::to_string(c.rate) + " -c " +
                          std::to_string(c.channels) + " -n -D " + c.format + " " + path +
                          " synth 0.5 sine " + std::to_string(c.rate / 100.0) + remix;
    ASSERT_EQ(0, std::system(command.c_str())) << command;
    std::string bytes;
    {
      FILE* file = std::fopen(path.c_str(), "rb");
      ASSERT_NE(nullptr, file);
      char buffer[65536];
      size_t count;
      while ((count = std::fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.append(buffer, count);
      std::fclose(file);
    }
    WaveInfo info;
    ASSERT_EQ(WaveParseResult::kOk, Parse(bytes, &info));
    EXPECT_EQ(c.encoding, info.format.encoding);
    EXPECT_EQ(c.rate, info.format.sampleRate);
    EXPECT_EQ(c.channels, info.format.channels);
    EXPECT_EQ(c.bits, info.format.bitsPerSample);
    EXPECT_EQ(c.rate / 2, info.frameCount);
    EXPECT_EQ(bytes.size(), info.dataOffset + info.frameCount * info.format.bytesPerFrame);
    PeakLevels levels = MeasurePeaks(
        reinterpret_cast<const uint8_t*>(bytes.data()) + info.dataOffset, info.frameCount,
        info.format);
    EXPECT_NEAR(64, levels.left, 1);
    EXPECT_NEAR(c.channels == 2 ? 32 : 64, levels.right, 1);
    std::remove(path.c_str());
  }
  rmdir(folder);
}

}  // namespace
#endif  // _WIN32
