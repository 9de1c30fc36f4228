// The rules of ripping and converting audio: items taken, target names,
// encoder command lines, the WAV header, the percentage, drive and track
// numbers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/audio_copy_rules.h"

namespace {

using namespace browser;

uint32_t At32(const std::string& bytes, size_t offset) {
  uint32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}
uint32_t At16(const std::string& bytes, size_t offset) {
  return static_cast<uint8_t>(bytes[offset]) | static_cast<uint8_t>(bytes[offset + 1]) << 8;
}

TEST(AudioCopyRules, CommandsAndActions) {
  struct Case {
    int id;
    bool known, isRip;
    AudioOutput output;
  } cases[] = {
      {1201, true, true, AudioOutput::kWav},         {1202, true, true, AudioOutput::kWma},
      {1203, true, true, AudioOutput::kEncoderPreset}, {1204, true, true, AudioOutput::kEncoderToFile},
      {1301, true, false, AudioOutput::kWav},        {1304, true, false, AudioOutput::kEncoderToFile},
      {1200, false, false, AudioOutput::kWav},       {1205, false, false, AudioOutput::kWav},
      {1305, false, false, AudioOutput::kWav},       {901, false, false, AudioOutput::kWav},
  };
  for (const Case& c : cases) {
    AudioCommand command;
    ASSERT_EQ(AudioCommandOf(c.id, &command), c.known) << c.id;
    if (!c.known) continue;
    EXPECT_EQ(command.isRip, c.isRip) << c.id;
    EXPECT_EQ(command.output, c.output) << c.id;
  }
  AudioAction action = ParseAudioAction(".MP3, lame.exe ");
  EXPECT_EQ(action.extension, ".mp3");
  EXPECT_EQ(action.encoder, "lame.exe");
  action = ParseAudioAction(".wav");
  EXPECT_EQ(action.extension, ".wav");
  EXPECT_EQ(action.encoder, "");
}

TEST(AudioCopyRules, SourcesTaken) {
  struct Case {
    const char* name;
    bool isRip;
    const char* output;
    bool taken;
  } cases[] = {
      {"Track01.cda", true, ".wav", true},  {"TRACK02.CDA", true, ".mp3", true},
      {"song.wav", true, ".wav", false},    {"noextension", true, ".wav", false},
      {"song.mp3", false, ".wav", true},    {"song.OGG", false, ".wav", true},
      {"song.wav", false, ".wav", false},   {"song.wma", false, ".wma", false},
      {"song.wma", false, ".mp3", true},    {"Track01.cda", false, ".wav", false},
      {"song.flac", false, ".wav", false},  {"name.", false, ".wav", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TakesSource(c.isRip, LowerExtension(c.name), c.output), c.taken) << c.name;
  }
}

TEST(AudioCopyRules, BaseNamesAndTargets) {
  EXPECT_EQ(MapBaseNameCharacters("a.b/c\\d:e;f,g h"), "a b-c-d e f g_h");
  EXPECT_EQ(CrunchBlanks("a   b  c "), "a b c ");
  struct RipCase {
    const char* base;
    int track;
    const char* expected;
  } rips[] = {
      {"Album", 1, "d:\\out\\Album-01.wav"},
      {"Album--", 12, "d:\\out\\Album-12.wav"},
      {"Album", 123, "d:\\out\\Album-23.wav"},
      {"", 5, "d:\\out\\-05.wav"},
  };
  for (const RipCase& c : rips) {
    EXPECT_EQ(RipTargetPath("d:\\out\\", c.base, c.track, ".wav"), c.expected) << c.base;
  }
  EXPECT_EQ(ConvertTargetPath("d:\\out\\", "my song.x.mp3", ".wav", false), "d:\\out\\my song.x.wav");
  EXPECT_EQ(ConvertTargetPath("d:\\out\\", "my song.mp3", ".ogg", true), "d:\\out\\my_song.ogg");
  EXPECT_EQ(ConvertTargetPath("d:\\out\\", "plain", ".ogg", true), "d:\\out\\plain.ogg");
}

TEST(AudioCopyRules, EncoderCommandLinesQuoteThePrograms) {
  EXPECT_EQ(EncoderCommandLine("C:\\Program Files\\lame.exe", AudioOutput::kEncoderPreset, "C:\\OUT\\A-01.mp3"),
            "\"C:\\Program Files\\lame.exe\" --alt-preset standard - C:\\OUT\\A-01.mp3");
  EXPECT_EQ(EncoderCommandLine("c:\\enc.exe", AudioOutput::kEncoderToFile, "C:\\OUT\\A-01.ogg"),
            "\"c:\\enc.exe\" -o C:\\OUT\\A-01.ogg -");
  EXPECT_EQ(EncoderCommandLine("c:\\enc.exe", AudioOutput::kEncoderToFile, "C:\\my out\\A.ogg"),
            "\"c:\\enc.exe\" -o \"C:\\my out\\A.ogg\" -");
}

TEST(AudioCopyRules, WaveHeaderFollowsTheStream) {
  struct Case {
    uint32_t channels, rate;
    bool eightBit;
    uint32_t bits, block, perSecond;
  } cases[] = {
      {2, 44100, false, 16, 4, 176400},
      {1, 48000, false, 16, 2, 96000},
      {1, 8000, true, 8, 1, 8000},
      {6, 48000, false, 16, 12, 576000},  // every channel, not two
  };
  for (const Case& c : cases) {
    std::string header = WaveFileHeader(c.channels, c.rate, c.eightBit);
    ASSERT_EQ(header.size(), 44u);
    EXPECT_EQ(header.substr(0, 4), "RIFF");
    EXPECT_EQ(At32(header, 4), 0u);
    EXPECT_EQ(header.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(At32(header, 16), 16u);
    EXPECT_EQ(At16(header, 20), 1u);
    EXPECT_EQ(At16(header, 22), c.channels);
    EXPECT_EQ(At32(header, 24), c.rate);
    EXPECT_EQ(At32(header, 28), c.perSecond);
    EXPECT_EQ(At16(header, 32), c.block);
    EXPECT_EQ(At16(header, 34), c.bits);
    EXPECT_EQ(header.substr(36, 4), "data");
    EXPECT_EQ(At32(header, 40), 0u);
  }
  EXPECT_EQ(RiffSizeFor(1000), 1036u);
  EXPECT_EQ(RiffSizeFor(0xFFFFFFF0ull), 0xFFFFFFFFu);
  EXPECT_EQ(SizeBytes(0x01020304), std::string("\x04\x03\x02\x01", 4));
}

TEST(AudioCopyRules, PercentDrivesAndTracks) {
  struct Percent {
    int64_t position, length;
    int32_t expected;
  } percents[] = {
      {0, 1000, 0}, {5, 1000, 1}, {4, 1000, 0}, {500, 1000, 50}, {1000, 1000, 100},
      {2000, 1000, 100}, {10, 0, -1}, {10, -1, -1}, {-5, 100, 0},
  };
  for (const Percent& p : percents) {
    EXPECT_EQ(ProgressPercent(p.position, p.length), p.expected) << p.position << "/" << p.length;
  }
  EXPECT_EQ(CdDriveNumber("E:\\music\\", "dEf"), 1);
  EXPECT_EQ(CdDriveNumber("d:\\", "DEF"), 0);
  EXPECT_EQ(CdDriveNumber("c:\\", "DEF"), 0);
  EXPECT_EQ(CdDriveNumber("\\\\server\\share\\", "DEF"), 0);

  std::string cda = "RIFF";
  cda += std::string("\x24\0\0\0", 4) + "CDDAfmt " + std::string("\x18\0\0\0", 4) + std::string("\x01\0\x07\0", 4);
  cda += std::string(20, '\0');
  ASSERT_EQ(cda.size(), 44u);
  auto number = [](const std::string& bytes) {
    return CdaTrackNumber(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  };
  EXPECT_EQ(number(cda), 7);
  EXPECT_EQ(number(cda.substr(0, 43)), 0);
  std::string wave = cda;
  wave.replace(8, 4, "WAVE");
  EXPECT_EQ(number(wave), 0);
  std::string zero = cda;
  zero[22] = 0;
  EXPECT_EQ(number(zero), 0);
  std::string big = cda;
  big[22] = 100;
  EXPECT_EQ(number(big), 0);
}

}  // namespace
