// The wave-out path: run by ctest with an ALSA configuration whose default
// device is a file, so Wine has one wave-out device and every sample the
// library sends it lands in the file ORB_AUDIO_CAPTURE names (16-bit
// stereo at 44100 Hz, as the tone).  The test compares the captured samples
// with the file's: silence the device adds while it waits for data is
// skipped on both sides.
#include <gtest/gtest.h>
#include <windows.h>
// mmsystem.h needs windows.h first.
#include <mmsystem.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "test_support.h"
#include "tonelink.h"
#include "wave_builder.h"

namespace {

using testsupport::ScratchFolder;

// The capture file, a Linux path, as Wine's Z: drive shows it.
std::string CapturePath() {
  const char* unixPath = std::getenv("ORB_AUDIO_CAPTURE");
  if (unixPath == nullptr) return "";
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// Stereo 16-bit frames, without the frames where both sides are 0.
std::vector<std::pair<int16_t, int16_t>> SoundingFrames(const std::string& bytes) {
  std::vector<std::pair<int16_t, int16_t>> frames;
  for (size_t at = 0; at + 4 <= bytes.size(); at += 4) {
    int16_t left = static_cast<int16_t>(static_cast<uint8_t>(bytes[at]) |
                                        static_cast<uint8_t>(bytes[at + 1]) << 8);
    int16_t right = static_cast<int16_t>(static_cast<uint8_t>(bytes[at + 2]) |
                                         static_cast<uint8_t>(bytes[at + 3]) << 8);
    if (left != 0 || right != 0) frames.emplace_back(left, right);
  }
  return frames;
}

// Plays `path` to its end and frees the output, so the device has every
// sample; the bytes captured.
std::string PlayAndCapture(const std::string& path, int32_t volume, int32_t panning) {
  std::string capture = CapturePath();
  DeleteFileA(capture.c_str());
  EXPECT_EQ(0, BASSOPEN(0, path.c_str()));
  EXPECT_EQ(1, BASSCHANNELSETATTRIBUTES(BASSHANDLEINUSE(), -1, volume, panning));
  EXPECT_EQ(0, BASSPLAY(0, 0));
  DWORD started = GetTickCount();
  while (BASSCHANNELISACTIVE() != 0 && GetTickCount() - started < 5000) Sleep(10);
  EXPECT_EQ(0, BASSCHANNELISACTIVE()) << "the stream never ended";
  Sleep(300);  // the last buffers drain
  EXPECT_EQ(1, BASSFREE());
  std::string bytes;
  EXPECT_TRUE(testsupport::ReadFileBytes(capture, &bytes)) << capture;
  return bytes;
}

TEST(Device, SamplesReachTheWaveOutDevice) {
  ASSERT_FALSE(CapturePath().empty()) << "ORB_AUDIO_CAPTURE names the capture file";
  ASSERT_GT(waveOutGetNumDevs(), 0u) << "the capture device is there";
  ScratchFolder folder("device");
  wavebuilder::Tone tone;
  tone.frames = 44100;  // 1 s
  std::string data = wavebuilder::ToneSamples(tone);
  std::string path = folder.Child("tone.wav");
  ASSERT_TRUE(testsupport::WriteFileBytes(
      path, wavebuilder::Riff(wavebuilder::FmtChunk(1, 2, 44100, 16) +
                              wavebuilder::Chunk("data", data))));
  auto expected = SoundingFrames(data);

  const struct {
    const char* name;
    int32_t volume, panning;
    int leftPercent, rightPercent;
  } cases[] = {
      {"as the file is", 100, 0, 100, 100},
      {"half volume", 50, 0, 50, 50},
      {"panned right", 100, 60, 40, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto captured = SoundingFrames(PlayAndCapture(path, c.volume, c.panning));
    // Every sounding frame of the file, in order, scaled as the attributes say.
    ASSERT_NEAR(static_cast<double>(expected.size()), static_cast<double>(captured.size()),
                expected.size() * 0.02);
    size_t checked = 0;
    for (size_t i = 0; i < expected.size() && i < captured.size(); ++i) {
      int wantLeft = expected[i].first * c.leftPercent / 100;
      int wantRight = expected[i].second * c.rightPercent / 100;
      if (wantLeft == 0 && wantRight == 0) continue;  // scaled away: the device dropped it too
      bool isClose = std::abs(captured[i].first - wantLeft) <= 2 &&
                     std::abs(captured[i].second - wantRight) <= 2;
      if (!isClose) {
        ADD_FAILURE() << "frame " << i << ": " << captured[i].first << "," << captured[i].second
                      << " for " << wantLeft << "," << wantRight;
        break;
      }
      ++checked;
    }
    EXPECT_GT(checked, expected.size() * 9 / 10);
  }
}

}  // namespace
