// CD tracks on a CD drive mapped to a folder (its "TrackNN.cda" files and
// disc audio), and outside encoder programs fed with a stream's data.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "cd_drive.h"
#include "cd_track.h"
#include "encoder_feed.h"
#include "error_codes.h"
#include "harness.h"
#include "test_support.h"
#include "tonelink.h"
#include "wave_builder.h"

namespace {

using namespace tonelink;
using testsupport::Description;
using testsupport::ScratchFolder;
using wavebuilder::Tone;
using wavebuilder::ToneWave;

// Deterministic disc audio: every 16-bit sample differs from its neighbours.
std::string DiscAudio(uint32_t sectors) {
  std::string audio(static_cast<size_t>(sectors) * kCdSectorBytes, '\0');
  for (size_t i = 0; i + 1 < audio.size(); i += 2) {
    uint16_t sample = static_cast<uint16_t>(i * 7919u / 2 + 13);
    audio[i] = static_cast<char>(sample & 0xFF);
    audio[i + 1] = static_cast<char>(sample >> 8);
  }
  return audio;
}

// The index of the drive `letter` among the CD drives.
int32_t DriveNumber(char letter) {
  std::vector<char> letters = testsupport::CdDriveLetters();
  for (size_t i = 0; i < letters.size(); ++i) {
    if (letters[i] == letter) return static_cast<int32_t>(i);
  }
  return -1;
}

std::string ReadAll(int32_t stream) {
  std::string data;
  std::vector<char> buffer(20000);
  while (BASSUSECHANNELISACTIVE(stream)) {
    int32_t got = BASSCHANNELGETDATA(stream, buffer.data(), static_cast<int32_t>(buffer.size()));
    if (got <= 0) break;
    data.append(buffer.data(), static_cast<size_t>(got));
  }
  return data;
}

class CdAndEncoders : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::ResetLibrary(); }
  void TearDown() override { testsupport::ResetLibrary(); }
};

// Tracks 1 and 2 lie on the disc; track 3's file names sectors past its
// end.  The tracks are found by the numbers in their files, not their names.
TEST_F(CdAndEncoders, TracksReadTheirSectorsOfTheDisc) {
  ScratchFolder disc("cd disc");
  const std::string audio = DiscAudio(40);
  ASSERT_TRUE(testsupport::WriteFileBytes(disc.Child(kDiscAudioFileName), audio));
  ASSERT_TRUE(testsupport::WriteFileBytes(disc.Child("Track01.cda"), MakeCdaHeader({1, 0, 10}, 7)));
  // Named as another track: the header counts.
  ASSERT_TRUE(testsupport::WriteFileBytes(disc.Child("Track09.cda"), MakeCdaHeader({2, 10, 30}, 7)));
  ASSERT_TRUE(testsupport::WriteFileBytes(disc.Child("Track03.cda"), MakeCdaHeader({3, 35, 10}, 7)));
  harness::CdDrive drive(disc.path());
  ASSERT_NE(drive.letter(), 0) << "no CD drive could be mapped";
  const int32_t number = DriveNumber(drive.letter());
  ASSERT_GE(number, 0);

  struct Case {
    int32_t track;
    uint32_t firstSector, sectors;
  } cases[] = {{0, 0, 10}, {1, 10, 30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.track);
    EXPECT_EQ(static_cast<int32_t>(c.sectors * kCdSectorBytes), BASSCDGETTRACKLENGTH(number, c.track));
    EXPECT_EQ(1, BASSCDDOOR(number, 2));
    int32_t stream = BASSCDSTREAMCREATE(number, c.track, 0x200000);
    ASSERT_NE(0, stream) << Description(BASSERRORGETCODE());
    int32_t frequency = 0, channels = 0, flags = -1;
    EXPECT_EQ(1, BASSCHANNELGETINFO(stream, &frequency, &channels, &flags));
    EXPECT_EQ(44100, frequency);
    EXPECT_EQ(2, channels);
    EXPECT_EQ(0, flags);
    const std::string data = ReadAll(stream);
    EXPECT_TRUE(data == audio.substr(c.firstSector * kCdSectorBytes, c.sectors * kCdSectorBytes))
        << "the track's samples are its sectors of the disc (" << data.size() << " bytes read)";
    EXPECT_EQ(static_cast<int32_t>(data.size()), BASSUSECHANNELGETPOSITION(stream));
    EXPECT_EQ(1, BASSSTREAMFREE(stream));
    EXPECT_EQ(1, BASSCDDOOR(number, 3));
  }
  // Past the disc's audio, and a track with no file.
  EXPECT_EQ(0, BASSCDSTREAMCREATE(number, 2, 0x200000));
  EXPECT_EQ(kErrorFileOpen, BASSERRORGETCODE());
  EXPECT_EQ(-1, BASSCDGETTRACKLENGTH(number, 2));
  EXPECT_EQ(0, BASSCDSTREAMCREATE(number, 8, 0x200000));
  EXPECT_EQ(kErrorCdTrack, BASSERRORGETCODE());
  EXPECT_EQ(0, BASSCDDOOR(number, 7));
  EXPECT_EQ(kErrorIllegalParameter, BASSERRORGETCODE());
}

// The encoder program is started with the command line as given, reads a
// WAV header for the stream's format and then exactly the bytes the stream
// delivered; stopping waits for it to finish its file.
TEST_F(CdAndEncoders, EncoderProgramReceivesTheCommandLineAndTheSamples) {
  ScratchFolder folder("encoder run");
  Tone tone;
  tone.channels = 1;
  tone.rate = 22050;
  tone.frames = 30000;
  const std::string source = folder.Child("tone.wav");
  ASSERT_TRUE(testsupport::WriteFileBytes(source, ToneWave(tone)));
  const std::string target = folder.Child("out put.ogg");
  const std::string encoder = harness::ProgramFolder() + "orbtestencoder.exe";
  const std::string line = "\"" + encoder + "\" -o \"" + target + "\" -";

  int32_t stream = BASSSTREAMDECODEFILE(source.c_str());
  ASSERT_NE(0, stream);
  ASSERT_NE(0, BASSENCODESTART(stream, line.c_str(), 0)) << Description(BASSERRORGETCODE());
  EXPECT_EQ(1, BASSENCODEISACTIVE(stream));
  const std::string data = ReadAll(stream);
  EXPECT_EQ(tone.frames * 2, data.size());
  EXPECT_EQ(1, BASSCHANNELSTOP(stream));
  EXPECT_EQ(1, BASSENCODESTOP(stream)) << Description(BASSERRORGETCODE());
  EXPECT_EQ(0, BASSENCODEISACTIVE(stream));
  EXPECT_EQ(kErrorEncoder, BASSERRORGETCODE());
  EXPECT_EQ(1, BASSSTREAMFREE(stream));

  std::string written;
  ASSERT_TRUE(testsupport::ReadFileBytes(target, &written));
  ASSERT_EQ(44 + data.size(), written.size());
  EXPECT_EQ(written.substr(0, 44), StreamingWaveHeader(22050, 1));
  EXPECT_TRUE(written.substr(44) == data) << "the encoder got the samples as delivered";
  std::string arguments;
  ASSERT_TRUE(testsupport::ReadFileBytes(target + ".args", &arguments));
  EXPECT_EQ("-o\n" + target + "\n-\n", arguments);
}

// An encoder that ends at once: the stream says so, and stopping reports it.
TEST_F(CdAndEncoders, EncoderThatStopsIsReported) {
  ScratchFolder folder("encoder quits");
  Tone tone;
  tone.frames = 400000;
  const std::string source = folder.Child("tone.wav");
  ASSERT_TRUE(testsupport::WriteFileBytes(source, ToneWave(tone)));
  testsupport::ScopedEnvironment quit("ORB_ENCODER_QUIT", "1");
  const std::string line = "\"" + harness::ProgramFolder() + "orbtestencoder.exe\" -o x.mp3 -";
  int32_t stream = BASSSTREAMDECODEFILE(source.c_str());
  ASSERT_NE(0, stream);
  ASSERT_NE(0, BASSENCODESTART(stream, line.c_str(), 0));
  std::vector<char> buffer(20000);
  bool stopped = harness::PumpUntil(
      [&] {
        BASSCHANNELGETDATA(stream, buffer.data(), 20000);
        return BASSENCODEISACTIVE(stream) == 0;
      },
      10000);
  EXPECT_TRUE(stopped);
  EXPECT_EQ(kErrorEncoder, BASSERRORGETCODE());
  BASSENCODESTOP(stream);
  EXPECT_EQ(1, BASSSTREAMFREE(stream));
  EXPECT_FALSE(testsupport::FileExists(folder.Child("x.mp3")));
}

}  // namespace
