// Calls on handles, CD tracks, encoders and effects under Wine: each fails
// with the value the programs expect and a code that says why, arguments
// checked before the handle, and nothing written where nothing may be.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "error_codes.h"
#include "test_support.h"
#include "tonelink.h"

namespace {

using namespace tonelink;
using testsupport::ScratchFolder;

class Handles : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::ResetLibrary(); }
  void TearDown() override { testsupport::ResetLibrary(); }
};

const int32_t kStrayHandle = 0x10001;

struct CallCase {
  const char* name;
  std::function<int32_t()> call;
  int32_t expectedResult;
  int32_t expectedCode;
};

void RunCases(const std::vector<CallCase>& cases) {
  for (const CallCase& c : cases) {
    SCOPED_TRACE(c.name);
    BASSLOAD();  // the last error starts at 0 for each call when loaded
    EXPECT_EQ(c.expectedResult, c.call());
    EXPECT_EQ(c.expectedCode, BASSERRORGETCODE())
        << "text: " << testsupport::Description(BASSERRORGETCODE());
  }
}

TEST_F(Handles, DecodeFileReportsWhy) {
  ScratchFolder folder("decode");
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("list.txt"), "a.wav\r\nb.wav\r\n"));
  RunCases({
      {"missing file", [&] { return BASSSTREAMDECODEFILE(folder.Child("a.ogg").c_str()); }, 0,
       kErrorFileOpen},
      {"not audio", [&] { return BASSSTREAMDECODEFILE(folder.Child("list.txt").c_str()); }, 0,
       kErrorFormat},
      {"null path", [] { return BASSSTREAMDECODEFILE(nullptr); }, 0, kErrorIllegalParameter},
  });
}

TEST_F(Handles, StrayHandlesFail) {
  char data[64];
  RunCases({
      {"BASSCHANNELPAUSE", [] { return BASSCHANNELPAUSE(kStrayHandle); }, 0, kErrorHandle},
      {"BASSCHANNELRESUME", [] { return BASSCHANNELRESUME(kStrayHandle); }, 0, kErrorHandle},
      {"BASSCHANNELSETATTRIBUTES",
       [] { return BASSCHANNELSETATTRIBUTES(kStrayHandle, -1, 80, -101); }, 0, kErrorHandle},
      {"BASSCHANNELSLIDEATTRIBUTES",
       [] { return BASSCHANNELSLIDEATTRIBUTES(kStrayHandle, -1, -2, -101, 500); }, 0, kErrorHandle},
      {"BASSCLOSECHANNEL", [] { return BASSCLOSECHANNEL(kStrayHandle); }, 0, kErrorHandle},
      {"BASSCLOSECHANNEL 0", [] { return BASSCLOSECHANNEL(0); }, 0, kErrorHandle},
      {"BASSSTREAMGETLENGTH", [] { return BASSSTREAMGETLENGTH(kStrayHandle); }, -1, kErrorHandle},
      {"BASSUSECHANNELISACTIVE", [] { return BASSUSECHANNELISACTIVE(kStrayHandle); }, 0,
       kErrorHandle},
      {"BASSCHANNELGETDATA", [&] { return BASSCHANNELGETDATA(kStrayHandle, data, sizeof(data)); },
       0, kErrorHandle},
      {"BASSUSECHANNELGETPOSITION", [] { return BASSUSECHANNELGETPOSITION(kStrayHandle); }, -1,
       kErrorHandle},
      {"BASSCHANNELSTOP", [] { return BASSCHANNELSTOP(kStrayHandle); }, 0, kErrorHandle},
      {"BASSSTREAMFREE", [] { return BASSSTREAMFREE(kStrayHandle); }, 0, kErrorHandle},
      {"BASSWMAENCODESETTAG", [] { return BASSWMAENCODESETTAG(kStrayHandle, "", ""); }, 0,
       kErrorHandle},
      {"BASSWMAENCODEWRITE", [&] { return BASSWMAENCODEWRITE(kStrayHandle, data, 4); }, 0,
       kErrorHandle},
      {"BASSWMAENCODECLOSE", [] { return BASSWMAENCODECLOSE(kStrayHandle); }, 0, kErrorHandle},
      {"BASSENCODESTART", [] { return BASSENCODESTART(kStrayHandle, "lame.exe - out.mp3", 0); }, 0,
       kErrorHandle},
      {"BASSENCODEISACTIVE", [] { return BASSENCODEISACTIVE(kStrayHandle); }, 0, kErrorHandle},
      {"BASSENCODESTOP", [] { return BASSENCODESTOP(kStrayHandle); }, 0, kErrorHandle},
  });
}

TEST_F(Handles, ArgumentsAreCheckedBeforeTheHandle) {
  RunCases({
      {"volume 101", [] { return BASSCHANNELSETATTRIBUTES(kStrayHandle, -1, 101, -101); }, 0,
       kErrorIllegalParameter},
      {"panning 101", [] { return BASSCHANNELSETATTRIBUTES(kStrayHandle, -1, 50, 101); }, 0,
       kErrorIllegalParameter},
      {"fade-out is for slides only",
       [] { return BASSCHANNELSETATTRIBUTES(kStrayHandle, -1, -2, -101); }, 0,
       kErrorIllegalParameter},
      {"negative slide time",
       [] { return BASSCHANNELSLIDEATTRIBUTES(kStrayHandle, -1, -2, -101, -1); }, 0,
       kErrorIllegalParameter},
      {"data without a buffer", [] { return BASSCHANNELGETDATA(kStrayHandle, nullptr, 20000); }, 0,
       kErrorIllegalParameter},
      {"negative data length",
       [] {
         char byte;
         return BASSCHANNELGETDATA(kStrayHandle, &byte, -1);
       },
       0, kErrorIllegalParameter},
      {"encoder without a command line", [] { return BASSENCODESTART(kStrayHandle, "", 0); }, 0,
       kErrorIllegalParameter},
  });
}

TEST_F(Handles, SlideOfTheCurrentStreamNeedsOne) {
  // The slide show fades its background sound with channel 0.
  RunCases({
      {"fade out", [] { return BASSCHANNELSLIDEATTRIBUTES(0, -1, -2, -101, 3000); }, 0,
       kErrorNoStream},
      {"bad volume", [] { return BASSCHANNELSLIDEATTRIBUTES(0, -1, 500, -101, 3000); }, 0,
       kErrorIllegalParameter},
  });
}

TEST_F(Handles, QueriesLeaveOutputsAlone) {
  int32_t frequency = -7;
  int32_t channels = -7;
  int32_t flags = -7;
  EXPECT_EQ(0, BASSCHANNELGETINFO(kStrayHandle, &frequency, &channels, &flags));
  EXPECT_EQ(kErrorHandle, BASSERRORGETCODE());
  EXPECT_EQ(-7, frequency);
  EXPECT_EQ(-7, channels);
  EXPECT_EQ(-7, flags);
  // The media browser presets volume and panning to -1.
  int32_t volume = -1;
  int32_t panning = -1;
  frequency = -7;
  EXPECT_EQ(0, BASSCHANNELGETATTRIBUTES(kStrayHandle, &frequency, &volume, &panning));
  EXPECT_EQ(kErrorHandle, BASSERRORGETCODE());
  EXPECT_EQ(-7, frequency);
  EXPECT_EQ(-1, volume);
  EXPECT_EQ(-1, panning);
  EXPECT_EQ(0, BASSCHANNELGETINFO(kStrayHandle, nullptr, nullptr, nullptr));
  EXPECT_EQ(kErrorHandle, BASSERRORGETCODE());

  char data[16];
  memset(data, 0x7E, sizeof(data));
  EXPECT_EQ(0, BASSCHANNELGETDATA(kStrayHandle, data, sizeof(data)));
  EXPECT_EQ(std::string(sizeof(data), '\x7E'), std::string(data, sizeof(data)));
}

TEST_F(Handles, CdTracks) {
  const std::vector<char> cdDrives = testsupport::CdDriveLetters();
  SCOPED_TRACE("CD drives: " + std::string(cdDrives.begin(), cdDrives.end()));
  // A CD drive of this machine holds no track 1 or 4 the tests know of.
  if (!cdDrives.empty()) GTEST_SKIP() << "the tracks of a real CD drive are tested with a mapped drive";
  const int32_t firstDriveCode = kErrorCdDrive;
  const int32_t pastLast = static_cast<int32_t>(cdDrives.size());
  RunCases({
      {"stream of drive 0", [] { return BASSCDSTREAMCREATE(0, 0, 0x200000); }, 0, firstDriveCode},
      {"stream past the last drive", [=] { return BASSCDSTREAMCREATE(pastLast, 0, 0x40000); }, 0,
       kErrorCdDrive},
      {"negative drive", [] { return BASSCDSTREAMCREATE(-1, 0, 0x40000); }, 0, kErrorCdDrive},
      {"negative track", [] { return BASSCDSTREAMCREATE(0, -1, 0x40000); }, 0,
       kErrorIllegalParameter},
      {"track length", [] { return BASSCDGETTRACKLENGTH(0, 3); }, -1, firstDriveCode},
      {"track length past the last drive", [=] { return BASSCDGETTRACKLENGTH(pastLast, 0); }, -1,
       kErrorCdDrive},
      {"lock the door", [] { return BASSCDDOOR(0, 2); }, 0, firstDriveCode},
      {"unlock the door", [] { return BASSCDDOOR(0, 3); }, 0, firstDriveCode},
      {"door action 4", [] { return BASSCDDOOR(0, 4); }, 0, kErrorIllegalParameter},
  });
}

TEST_F(Handles, WmaEncoderWritesNothing) {
  ScratchFolder folder("wma");
  const std::string target = folder.Child("Album-01.wma");
  EXPECT_EQ(0, BASSWMAENCODEOPENFILE(44100, 0x10000, 160000, target.c_str()));
  EXPECT_EQ(kErrorNotAvailable, BASSERRORGETCODE());
  EXPECT_FALSE(testsupport::FileExists(target)) << "no file is left behind";
  EXPECT_EQ(0, BASSWMAENCODEOPENFILE(44100, 0x10000, 160000, ""));
  EXPECT_EQ(kErrorIllegalParameter, BASSERRORGETCODE());
}

// A real window for the effects panel.
class PanelWindow {
 public:
  PanelWindow()
      : hwnd_(CreateWindowExA(0, "STATIC", "Audio FX", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr)) {}
  ~PanelWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
};

TEST_F(Handles, EffectsPanel) {
  PanelWindow panel;
  ASSERT_NE(nullptr, panel.hwnd());
  HWND gone;
  {
    PanelWindow destroyed;
    gone = destroyed.hwnd();
  }
  ASSERT_FALSE(IsWindow(gone));
  RunCases({
      {"panel opens", [&] { return BASSFXWINDOW(panel.hwnd(), 1); }, 1, kErrorNone},
      {"a window that is gone", [&] { return BASSFXWINDOW(gone, 1); }, 0, kErrorIllegalParameter},
      {"panel goes", [] { return BASSFXWINDOW(nullptr, 1); }, 1, kErrorNone},
  });
}

TEST_F(Handles, EffectUpdatesNeedAStream) {
  RunCases({
      {"band 1", [] { return BASSUPDATEEQ(0, 1); }, 0, kErrorNoStream},
      {"band 10", [] { return BASSUPDATEEQ(0, 10); }, 0, kErrorNoStream},
      {"band 0", [] { return BASSUPDATEEQ(0, 0); }, 0, kErrorIllegalParameter},
      {"band 11", [] { return BASSUPDATEEQ(0, 11); }, 0, kErrorIllegalParameter},
      {"equalizer of a stray stream", [] { return BASSUPDATEEQ(kStrayHandle, 1); }, 0,
       kErrorHandle},
      {"reset", [] { return BASSRESETEQ(0); }, 0, kErrorNoStream},
      {"reverb", [] { return BASSUPDATEREVERB(0); }, 0, kErrorNoStream},
      {"chorus", [] { return BASSUPDATECHORUS(0); }, 0, kErrorNoStream},
      {"flanger", [] { return BASSUPDATEFLANGER(0); }, 0, kErrorNoStream},
      {"echo", [] { return BASSUPDATEECHO(0); }, 0, kErrorNoStream},
      {"rotate", [] { return BASSUPDATEROTATE(0); }, 0, kErrorNoStream},
      {"rotate of a stray stream", [] { return BASSUPDATEROTATE(kStrayHandle); }, 0, kErrorHandle},
  });
}

TEST_F(Handles, UnloadedLibraryRefusesEveryCall) {
  char data[8];
  int32_t number = -1;
  const std::vector<CallCase> cases = {
      {"BASSCHANNELPAUSE", [] { return BASSCHANNELPAUSE(kStrayHandle); }, 0, kErrorNotLoaded},
      {"BASSCHANNELSLIDEATTRIBUTES 0",
       [] { return BASSCHANNELSLIDEATTRIBUTES(0, -1, -2, -101, 100); }, 0, kErrorNotLoaded},
      {"BASSSTREAMDECODEFILE", [] { return BASSSTREAMDECODEFILE("C:\\a.wav"); }, 0,
       kErrorNotLoaded},
      {"BASSSTREAMGETLENGTH", [] { return BASSSTREAMGETLENGTH(kStrayHandle); }, -1,
       kErrorNotLoaded},
      {"BASSCHANNELGETINFO",
       [&] { return BASSCHANNELGETINFO(kStrayHandle, &number, &number, &number); }, 0,
       kErrorNotLoaded},
      {"BASSCHANNELGETDATA", [&] { return BASSCHANNELGETDATA(kStrayHandle, data, 8); }, 0,
       kErrorNotLoaded},
      {"BASSCDSTREAMCREATE", [] { return BASSCDSTREAMCREATE(0, 0, 0x200000); }, 0, kErrorNotLoaded},
      {"BASSCDDOOR", [] { return BASSCDDOOR(0, 2); }, 0, kErrorNotLoaded},
      {"BASSWMAENCODEOPENFILE",
       [] { return BASSWMAENCODEOPENFILE(44100, 0x10000, 160000, "C:\\a.wma"); }, 0,
       kErrorNotLoaded},
      {"BASSENCODESTART", [] { return BASSENCODESTART(kStrayHandle, "x.exe", 0); }, 0,
       kErrorNotLoaded},
      {"BASSUPDATEEQ", [] { return BASSUPDATEEQ(0, 1); }, 0, kErrorNotLoaded},
      {"BASSRESETEQ", [] { return BASSRESETEQ(0); }, 0, kErrorNotLoaded},
  };
  for (const CallCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(1, BASSLOAD());
    ASSERT_EQ(1, BASSUNLOAD());
    ASSERT_EQ(kErrorNone, BASSERRORGETCODE());
    EXPECT_EQ(c.expectedResult, c.call());
    EXPECT_EQ(c.expectedCode, BASSERRORGETCODE());
  }
  EXPECT_EQ(-1, number) << "nothing written while unloaded";
}

}  // namespace
