// The current stream under Wine: BASSOPEN reports why a path fails, and with
// no stream open every call answers as the players expect.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "error_codes.h"
#include "test_support.h"
#include "tonelink.h"

namespace {

using namespace tonelink;
using testsupport::ScratchFolder;

class Stream : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::ResetLibrary(); }
  void TearDown() override { testsupport::ResetLibrary(); }
};

// The first bytes of a 16-bit stereo 44100 Hz WAV header, for a file that is
// audio in name only (it stops before the data chunk).
const char kTruncatedWave[] = "RIFF\x24\x00\x00\x00WAVEfmt ";

TEST_F(Stream, OpenFailsWithTheReason) {
  ScratchFolder folder("open");
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("notes.txt"), "not a sound\r\n"));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("empty.mp3"), ""));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("short.wav"),
                                          std::string(kTruncatedWave, sizeof(kTruncatedWave) - 1)));
  const struct {
    const char* name;
    int32_t stream;
    std::string path;
    int32_t expectedCode;
    const char* expectedText;
  } cases[] = {
      {"missing file", 0, folder.Child("absent.wav"), kErrorFileOpen, "the file cannot be opened"},
      {"missing folder", 0, folder.Child("no\\such.mp3"), kErrorFileOpen,
       "the file cannot be opened"},
      {"a folder", 0, folder.path(), kErrorFileOpen, "the file cannot be opened"},
      {"text file", 0, folder.Child("notes.txt"), kErrorFormat, "the file format is not supported"},
      {"empty file", 0, folder.Child("empty.mp3"), kErrorFormat,
       "the file format is not supported"},
      {"truncated wave", 0, folder.Child("short.wav"), kErrorFormat,
       "the file format is not supported"},
      {"internet address", 0, "http://127.0.0.1:9/radio", kErrorNetwork,
       "the internet stream cannot be opened"},
      {"empty path", 0, "", kErrorIllegalParameter, "an argument is not valid"},
      {"stream other than 0", 1, folder.Child("notes.txt"), kErrorIllegalParameter,
       "an argument is not valid"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expectedCode, BASSOPEN(c.stream, c.path.c_str())) << "0 would mean open";
    EXPECT_EQ(c.expectedCode, BASSERRORGETCODE());
    EXPECT_EQ(c.expectedText, testsupport::Description(BASSERRORGETCODE()));
    EXPECT_EQ(0, BASSHANDLEINUSE()) << "no stream after a failed open";
  }
  EXPECT_EQ(kErrorIllegalParameter, BASSOPEN(0, nullptr));
  // The file BASSOPEN looked at is untouched and can be opened for writing.
  std::string bytes;
  ASSERT_TRUE(testsupport::ReadFileBytes(folder.Child("notes.txt"), &bytes));
  EXPECT_EQ("not a sound\r\n", bytes);
  EXPECT_TRUE(testsupport::WriteFileBytes(folder.Child("notes.txt"), "rewritten"));
}

TEST_F(Stream, NothingPlaysWhenIdle) {
  for (int initialised = 0; initialised <= 1; ++initialised) {
    SCOPED_TRACE(initialised ? "output initialised" : "no output");
    if (initialised) {
      ASSERT_NE(0, BASSINIT(1, 44100, 0, nullptr));
    }
    EXPECT_EQ(0xFFFFFFFFu, BASSCHANNELGETLEVEL());
    EXPECT_EQ(kErrorNoStream, BASSERRORGETCODE());
    EXPECT_EQ(0, BASSCHANNELISACTIVE());
    EXPECT_EQ(0, BASSHANDLEINUSE());
    EXPECT_EQ(0, BASSMEDIAGETLENGTH());
    EXPECT_EQ(0, BASSCHANNELGETPOSITION());
    EXPECT_EQ(0, BASSCHANNELSETPOSITION(1000));
    EXPECT_EQ(kErrorNoStream, BASSERRORGETCODE());
    EXPECT_EQ(0, BASSMEDIATYPE(1));
    EXPECT_EQ(0, BASSMEDIATYPE(5));
    EXPECT_EQ(kErrorNoStream, BASSPLAY(0, 0)) << "0 would mean playing";
    EXPECT_EQ(kErrorNoStream, BASSERRORGETCODE());
    EXPECT_EQ(1, BASSCLOSE()) << "closing with nothing open leaves nothing open";
    EXPECT_EQ(kErrorNone, BASSERRORGETCODE());
  }
}

TEST_F(Stream, TitlesAreEmpty) {
  const struct {
    const char* name;
    int32_t(__stdcall* call)(char*, int32_t);
  } calls[] = {{"BASSMUSICNAME", BASSMUSICNAME}, {"BASSSTREAMNAME", BASSSTREAMNAME}};
  for (const auto& c : calls) {
    SCOPED_TRACE(c.name);
    char buffer[16];
    memset(buffer, 0x7E, sizeof(buffer));
    EXPECT_EQ(0, c.call(buffer, sizeof(buffer)));
    EXPECT_EQ('\0', buffer[0]) << "the empty title is written";
    EXPECT_EQ('\x7E', buffer[1]);
    EXPECT_EQ(kErrorNoStream, BASSERRORGETCODE());
    EXPECT_EQ(0, c.call(nullptr, 0));
  }
}

TEST_F(Stream, UnloadedLibraryRefusesStreams) {
  ScratchFolder folder("unloaded");
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("a.wav"), "RIFF"));
  ASSERT_EQ(1, BASSUNLOAD());
  EXPECT_EQ(kErrorNotLoaded, BASSOPEN(0, folder.Child("a.wav").c_str()));
  EXPECT_EQ(kErrorNotLoaded, BASSOPEN(0, folder.Child("absent.wav").c_str()));
  EXPECT_EQ(kErrorNotLoaded, BASSPLAY(0, 0));
  EXPECT_EQ(0xFFFFFFFFu, BASSCHANNELGETLEVEL());
  EXPECT_EQ(kErrorNotLoaded, BASSERRORGETCODE());
}

}  // namespace
