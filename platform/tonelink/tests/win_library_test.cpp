// The library-level calls of tonelink.dll under Wine: availability, load and
// unload, the output without a sound device, configuration, version, the
// download folder, the DirectX version and the last error.
#include <gtest/gtest.h>
#include <windows.h>
// mmsystem.h needs windows.h first.
#include <mmsystem.h>

#include <functional>
#include <string>

#include "error_codes.h"
#include "test_support.h"
#include "tonelink.h"

namespace {

using namespace tonelink;
using testsupport::ScopedEnvironment;
using testsupport::ScratchFolder;

const DWORD kThreadTimeoutMs = 10000;

class Library : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::ResetLibrary(); }
  void TearDown() override { testsupport::ResetLibrary(); }
};

// A hidden top-level window standing for a program's main window.
class MainWindow {
 public:
  MainWindow()
      : hwnd_(CreateWindowExA(0, "STATIC", "tonelink test", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr)) {}
  ~MainWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
};

TEST_F(Library, InitWorksWithoutASoundDevice) {
  MainWindow window;
  ASSERT_NE(nullptr, window.hwnd());
  // Under Wine here waveOutGetNumDevs is 0: the null device takes over.
  SCOPED_TRACE("wave-out devices: " + std::to_string(waveOutGetNumDevs()));
  EXPECT_NE(0, BASSINIT(1, 44100, 0, window.hwnd()));
  EXPECT_EQ(kErrorNone, BASSERRORGETCODE());
  // The output really is initialised: a second BASSINIT is refused ...
  EXPECT_EQ(0, BASSINIT(1, 44100, 0, window.hwnd()));
  EXPECT_EQ(kErrorAlreadyInitialised, BASSERRORGETCODE());
  // ... and it can be started, paused, stopped and freed exactly once.
  EXPECT_EQ(1, BASSSTART());
  EXPECT_EQ(1, BASSPAUSE());
  EXPECT_EQ(1, BASSSTART());
  EXPECT_EQ(1, BASSSTOP());
  EXPECT_EQ(kErrorNone, BASSERRORGETCODE());
  EXPECT_EQ(1, BASSFREE());
  EXPECT_EQ(kErrorNone, BASSERRORGETCODE());
  EXPECT_EQ(0, BASSFREE());
  EXPECT_EQ(kErrorNotInitialised, BASSERRORGETCODE());
}

TEST_F(Library, InitChecksItsArguments) {
  const uint32_t waveOutCount = waveOutGetNumDevs();
  const struct {
    const char* name;
    int32_t device;
    int32_t frequency;
    int32_t expectedResult;
    int32_t expectedCode;
  } cases[] = {
      {"default device", -1, 44100, 1, kErrorNone},
      {"null device", 0, 22050, 1, kErrorNone},
      {"first device at 8000 Hz", 1, 8000, 1, kErrorNone},
      {"frequency too low", 1, 7999, 0, kErrorIllegalParameter},
      {"frequency too high", 1, 192001, 0, kErrorIllegalParameter},
      {"device past the last", static_cast<int32_t>(waveOutCount) + 2, 44100, 0, kErrorDevice},
      {"device -2", -2, 44100, 0, kErrorDevice},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expectedResult, BASSINIT(c.device, c.frequency, 0, nullptr));
    EXPECT_EQ(c.expectedCode, BASSERRORGETCODE());
    EXPECT_EQ(c.expectedResult, BASSFREE()) << "freed only what was initialised";
  }
}

TEST_F(Library, OutputCallsNeedInit) {
  const struct {
    const char* name;
    std::function<int32_t()> call;
  } calls[] = {{"BASSSTART", BASSSTART},
               {"BASSSTOP", BASSSTOP},
               {"BASSPAUSE", BASSPAUSE},
               {"BASSFREE", BASSFREE}};
  for (const auto& c : calls) {
    SCOPED_TRACE(c.name);
    BASSLOAD();  // sets the last error to 0
    ASSERT_EQ(kErrorNone, BASSERRORGETCODE());
    EXPECT_EQ(0, c.call());
    EXPECT_EQ(kErrorNotInitialised, BASSERRORGETCODE());
  }
}

TEST_F(Library, AvailableWithoutASoundDevice) {
  SCOPED_TRACE("wave-out devices: " + std::to_string(waveOutGetNumDevs()));
  EXPECT_EQ(1, BASSAVAILABLE());
  EXPECT_EQ(1, BASSUNLOAD());
  EXPECT_EQ(0, BASSAVAILABLE());
  EXPECT_EQ(1, BASSLOAD());
  EXPECT_EQ(1, BASSAVAILABLE());
  EXPECT_EQ(1, BASSLOAD()) << "loading a loaded library is no failure";
  EXPECT_EQ(1, BASSAVAILABLE());
}

TEST_F(Library, MediaBrowserRunThenReload) {
  MainWindow window;
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    ASSERT_NE(0, BASSINIT(1, 44100, 0, window.hwnd()));
    EXPECT_EQ(1, BASSSTART());
    EXPECT_EQ(1, BASSSTOP());
    EXPECT_EQ(1, BASSCLOSE());
    EXPECT_EQ(1, BASSFREE());
    EXPECT_EQ(1, BASSUNLOAD());
    EXPECT_EQ(1, BASSLOAD());
    EXPECT_EQ(kErrorNone, BASSERRORGETCODE());
  }
}

TEST_F(Library, UnloadFreesTheOutputAndRefusesCalls) {
  ASSERT_NE(0, BASSINIT(1, 44100, 0, nullptr));
  ASSERT_EQ(1, BASSUNLOAD());
  EXPECT_EQ(kErrorNone, BASSERRORGETCODE());

  const struct {
    const char* name;
    std::function<int32_t()> call;
  } refused[] = {
      {"BASSINIT", [] { return BASSINIT(1, 44100, 0, nullptr); }},
      {"BASSFREE", BASSFREE},
      {"BASSSTART", BASSSTART},
      {"BASSSETCONFIG", [] { return BASSSETCONFIG(5, 100); }},
      {"BASSUNLOAD twice", BASSUNLOAD},
      {"BASSCLOSE", BASSCLOSE},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(0, c.call());
    EXPECT_EQ(kErrorNotLoaded, BASSERRORGETCODE());
  }

  // The reload starts without an output: the unload freed it.
  ASSERT_EQ(1, BASSLOAD());
  EXPECT_EQ(0, BASSFREE());
  EXPECT_EQ(kErrorNotInitialised, BASSERRORGETCODE());
  EXPECT_NE(0, BASSINIT(1, 44100, 0, nullptr));
}

TEST_F(Library, SetConfig) {
  const struct {
    const char* name;
    int32_t option;
    int32_t value;
    int32_t expectedResult;
    int32_t expectedCode;
  } cases[] = {
      {"sample volume 100", 4, 100, 1, kErrorNone},
      {"stream volume 100", 5, 100, 1, kErrorNone},
      {"music volume 100", 6, 100, 1, kErrorNone},
      {"stream volume 0", 5, 0, 1, kErrorNone},
      {"volume 101", 4, 101, 0, kErrorIllegalParameter},
      {"volume -1", 6, -1, 0, kErrorIllegalParameter},
      {"option 0", 0, 100, 0, kErrorIllegalParameter},
      {"option 7", 7, 100, 0, kErrorIllegalParameter},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expectedResult, BASSSETCONFIG(c.option, c.value));
    EXPECT_EQ(c.expectedCode, BASSERRORGETCODE());
  }
}

TEST_F(Library, VersionText) {
  char buffer[32];
  memset(buffer, 0x7E, sizeof(buffer));
  EXPECT_EQ(3, BASSGETVERSION(buffer, sizeof(buffer)));
  EXPECT_STREQ("2.0", buffer);
  EXPECT_GT(atof(buffer), 1.6);
  memset(buffer, 0x7E, sizeof(buffer));
  EXPECT_EQ(3, BASSGETVERSION(buffer, 3)) << "one byte short of the zero";
  EXPECT_STREQ("", buffer);
  EXPECT_EQ('\x7E', buffer[1]);
  EXPECT_EQ(3, BASSGETVERSION(nullptr, 0));
  EXPECT_EQ("2.0", VersionText());
}

TEST_F(Library, DownloadPath) {
  ScratchFolder folder("downloads");
  const struct {
    const char* name;
    std::string path;
    int32_t expectedResult;
    int32_t expectedCode;
  } cases[] = {
      {"existing folder", folder.path(), 1, kErrorNone},
      {"existing folder with backslash", folder.path() + "\\", 1, kErrorNone},
      {"missing folder", folder.Child("missing"), 0, kErrorFileOpen},
      {"empty clears it", "", 1, kErrorNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expectedResult, BASSSETDOWNLOADPATH(c.path.c_str()));
    EXPECT_EQ(c.expectedCode, BASSERRORGETCODE());
  }
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("file.txt"), "x"));
  EXPECT_EQ(0, BASSSETDOWNLOADPATH(folder.Child("file.txt").c_str())) << "a file is no folder";
  EXPECT_EQ(1, BASSSETDOWNLOADPATH(nullptr));
}

TEST_F(Library, DirectXVersionFromTheEnvironment) {
  const struct {
    const char* name;
    const char* value;  // null: unset
    int32_t expected;
  } cases[] = {
      {"unset", nullptr, 9},  {"seven", "7", 7},           {"eight", "8", 8},
      {"eleven", " 11 ", 11}, {"not a number", "nine", 9}, {"empty", "", 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedEnvironment variable("ORB_DIRECTX_VERSION", c.value);
    EXPECT_EQ(c.expected, BASSDIRECTXVERSION());
  }
}

TEST_F(Library, ErrorDescriptions) {
  const struct {
    int32_t code;
    const char* expected;
  } cases[] = {
      {kErrorNone, "no error"},
      {kErrorNotLoaded, "the audio library is not loaded"},
      {kErrorNotInitialised, "the audio output is not initialised"},
      {kErrorFileOpen, "the file cannot be opened"},
      {kErrorFormat, "the file format is not supported"},
      {kErrorHandle, "the handle is not valid"},
      {kErrorNoStream, "no stream is open"},
      {kErrorNotAvailable, "this function is not available on this computer"},
      {kErrorUnknown, "unknown error"},
      {99, "unknown error (99)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    char buffer[80];
    memset(buffer, 0x7E, sizeof(buffer));
    const int32_t length = static_cast<int32_t>(strlen(c.expected));
    EXPECT_EQ(length, BASSERRORDESCRIPTION(c.code, buffer, sizeof(buffer)));
    EXPECT_STREQ(c.expected, buffer);
    memset(buffer, 0x7E, sizeof(buffer));
    EXPECT_EQ(length, BASSERRORDESCRIPTION(c.code, buffer, length));
    EXPECT_STREQ("", buffer) << "too small a buffer gets an empty text";
    EXPECT_EQ(length, BASSERRORDESCRIPTION(c.code, nullptr, 0));
  }
}

DWORD WINAPI FreeWithoutInit(void*) {
  BASSFREE();
  return 0;
}

TEST_F(Library, LastErrorIsOneForTheWholeLibrary) {
  ASSERT_EQ(1, BASSLOAD());
  ASSERT_EQ(kErrorNone, BASSERRORGETCODE());
  // A failure on another thread is what this thread reads next.
  HANDLE thread = CreateThread(nullptr, 0, FreeWithoutInit, nullptr, 0, nullptr);
  ASSERT_NE(nullptr, thread);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, kThreadTimeoutMs));
  CloseHandle(thread);
  EXPECT_EQ(kErrorNotInitialised, BASSERRORGETCODE());
  EXPECT_EQ(kErrorNotInitialised, BASSERRORGETCODE()) << "reading does not clear it";
  // Queries of the library itself leave it.
  BASSAVAILABLE();
  BASSDIRECTXVERSION();
  BASSGETVERSION(nullptr, 0);
  BASSERRORDESCRIPTION(1, nullptr, 0);
  EXPECT_EQ(kErrorNotInitialised, BASSERRORGETCODE());
  // The next call that can fail sets it again.
  EXPECT_EQ(1, BASSSETCONFIG(4, 100));
  EXPECT_EQ(kErrorNone, BASSERRORGETCODE());
}

}  // namespace
