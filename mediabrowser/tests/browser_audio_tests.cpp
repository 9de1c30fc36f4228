// The media browser's rips and conversions under Wine, driven as a user
// does: files selected in the list, the command of the Rip or Convert menu,
// the target-folder box by its buttons, the other boxes by scripted answers
// and Escape while it copies.  The files written are checked with ffprobe
// and sox and compared sample by sample with their sources; CD tracks come
// from a CD drive mapped to a folder of track files and disc audio.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "browser_test_support.h"
#include "cd_drive.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"
#include "unix_tools.h"

namespace {

using namespace browsertest;

constexpr int kFileListId = 3;
constexpr int kSecondListId = 4;
constexpr int kRipWav = 1201;
constexpr int kRipToFileEncoder = 1204;
constexpr int kConvertWav = 1301;
constexpr int kConvertWma = 1302;
constexpr DWORD kRunMs = 60000;
constexpr DWORD kToolMs = 60000;
constexpr uint32_t kSectorBytes = 2352;

bool Exists(const std::string& path) { return harness::FileExists(path); }

std::string Unix(const std::string& path) { return harness::UnixPathWord(path); }

// Runs a shell command; its output without the final line end, "" when it
// failed.
std::string Shell(const std::string& command) {
  std::string output;
  return harness::UnixToolOutput(command, kToolMs, &output) ? output : "<failed: " + output + ">";
}

void Put16(std::string* out, uint32_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>((value >> 8) & 0xFF));
}
void Put32(std::string* out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// Deterministic samples: no two neighbours alike.
std::string Samples(size_t bytes, uint32_t seed) {
  std::string data(bytes, '\0');
  uint32_t value = seed;
  for (char& c : data) {
    value = value * 1103515245u + 12345u;
    c = static_cast<char>(value >> 16);
  }
  return data;
}

std::string WaveFile(uint32_t channels, uint32_t rate, uint32_t bits, const std::string& data) {
  std::string out = "RIFF";
  Put32(&out, static_cast<uint32_t>(36 + data.size()));
  out += "WAVEfmt ";
  Put32(&out, 16);
  Put16(&out, 1);
  Put16(&out, channels);
  Put32(&out, rate);
  Put32(&out, rate * channels * bits / 8);
  Put16(&out, channels * bits / 8);
  Put16(&out, bits);
  out += "data";
  Put32(&out, static_cast<uint32_t>(data.size()));
  return out + data;
}

std::string CdaFile(uint32_t track, uint32_t firstSector, uint32_t sectors) {
  std::string out = "RIFF";
  Put32(&out, 36);
  out += "CDDAfmt ";
  Put32(&out, 24);
  Put16(&out, 1);
  Put16(&out, track);
  Put32(&out, 0x0BADCAFE);
  Put32(&out, firstSector);
  Put32(&out, sectors);
  Put32(&out, 0);
  Put32(&out, 0);
  return out;
}

// What ffprobe reads of a file's audio: "codec rate channels bits".
std::string Probe(const std::string& path) {
  return Shell("ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels,"
               "bits_per_sample -of csv=p=0 " +
               Unix(path));
}

// The checksum of the samples sox decodes from a WAV file, as 16-bit.
std::string SoxSamples(const std::string& path) {
  return Shell("sox -t wav " + Unix(path) + " -b 16 -e signed-integer -t raw - | md5sum | cut -d' ' -f1");
}

// A window of `className` of this process tree (top level or a child of the
// skin engine's frame).
struct Search {
  const char* className;
  HWND found;
};

BOOL CALLBACK FindChildOfClass(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  if (lstrcmpiA(name, search->className) != 0 || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK FindTopOfClass(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (!FindChildOfClass(window, param)) return FALSE;
  EnumChildWindows(window, FindChildOfClass, param);
  return search->found == nullptr;
}

HWND WaitForWindowOfClass(const char* className, DWORD timeoutMs) {
  Search search{className, nullptr};
  harness::PumpUntil(
      [&] {
        search.found = nullptr;
        EnumWindows(FindTopOfClass, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
}

// Runs a command on the selection and answers the target-folder box with its
// "new folder" button; the folder itself is the next scripted answer.
void StartCommandIntoNewFolder(HWND window, int command) {
  PostMessageA(window, WM_COMMAND, command, 0);
  HWND box = WaitForFramedBox("TARGETBOX", 3, 10000);
  ASSERT_NE(box, nullptr) << "the target-folder box did not open";
  PostMessageA(GetDlgItem(box, 3), BM_CLICK, 0, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return !IsWindow(box); }, 8000)) << "the box stayed open";
}

// The run is over once the main window takes input again.
bool WaitForRunEnd(HWND window) {
  harness::PumpMessagesFor(300);
  return harness::PumpUntil([&] { return IsWindowEnabled(window) != FALSE; }, kRunMs) &&
         harness::PumpUntil([&] { return WaitForWindowOfClass("SKSTATIC", 0) == nullptr; }, 5000);
}

std::string Lower(std::string text) {
  CharLowerA(text.data());
  return text;
}

// The trace lines of `call` that hold `part` (case ignored: the file list
// shows a CD's names in lower case).
int CountTraceLines(const std::string& trace, const std::string& call, const std::string& part) {
  int count = 0;
  for (const std::string& line : ReadLines(trace)) {
    if (line.find(call) != std::string::npos && Lower(line).find(Lower(part)) != std::string::npos) ++count;
  }
  return count;
}

// ---------------------------------------------------------------------------

// Converting to WAV: a 16-bit mono file at 48 kHz keeps its rate, its one
// channel and its samples; an 8-bit stereo WAV file named .ogg becomes
// 16-bit stereo; a WAV file is not converted to itself; the new files go to
// the collection.
TEST(MediaBrowserAudio, ConvertsToWavFiles) {
  ProgramFolder program("audio convert");
  Folder fixture("orbmedia audio sources");
  Folder out("orbmedia audio out");
  const std::string target = out.path + "wav";
  const std::string monoData = Samples(48000 * 2 * 3, 1);  // 3 s
  WriteFileText(fixture.path + "mono song.mp3", WaveFile(1, 48000, 16, monoData));
  WriteFileText(fixture.path + "voice.ogg", WaveFile(2, 22050, 8, Samples(22050 * 2, 2)));
  WriteFileText(fixture.path + "plain.wav", WaveFile(2, 44100, 16, Samples(4410 * 4, 3)));
  WriteQuietSettings(fixture.path);
  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_ANSWERS", target}});
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  HWND second = ChildWindow(window, kSecondListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 3; }, 10000));
  SelectOnly(window, list, {" mono song.mp3", " plain.wav", " voice.ogg"});
  StartCommandIntoNewFolder(window, kConvertWav);
  ASSERT_TRUE(WaitForRunEnd(window));

  const std::string mono = target + "\\mono song.wav";
  const std::string voice = target + "\\voice.wav";
  EXPECT_EQ("pcm_s16le,48000,1,16", Probe(mono));
  EXPECT_EQ("pcm_s16le,22050,2,16", Probe(voice));
  EXPECT_EQ("144000", Shell("sox --i -s " + Unix(mono)));
  EXPECT_EQ("22050", Shell("sox --i -s " + Unix(voice)));
  // The samples, read back by sox, are the source's.
  EXPECT_EQ(SoxSamples(fixture.path + "mono song.mp3"), SoxSamples(mono));
  EXPECT_EQ(Shell("sox -t wav " + Unix(fixture.path + "voice.ogg") +
                  " -b 16 -e signed-integer -t raw - | md5sum | cut -d' ' -f1"),
            SoxSamples(voice));
  std::string written = ReadFileText(mono);
  ASSERT_EQ(44 + monoData.size(), written.size());
  EXPECT_TRUE(written.substr(44) == monoData) << "the data is the source's samples byte for byte";
  EXPECT_FALSE(Exists(target + "\\plain.wav")) << "a WAV file is not converted to WAV";
  EXPECT_EQ(ListBoxTexts(second), (std::vector<std::string>{" " + mono, " " + voice}));
  // The copied items are no longer selected; the skipped one stays.
  ASSERT_EQ(1, SendMessageA(list, LB_GETSELCOUNT, 0, 0));
  int selected = -1;
  SendMessageA(list, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&selected));
  EXPECT_EQ(" plain.wav", ListBoxTexts(list)[static_cast<size_t>(selected)]);
  CloseBrowser(window, browser);
}

// WMA cannot be made here: the library's failure is reported with its text
// and no file is listed as done.  Each file was offered to the WMA writer at
// its own rate, a mono one as mono.
TEST(MediaBrowserAudio, WmaFailureIsReportedNotCountedAsDone) {
  ProgramFolder program("audio wma");
  Folder fixture("orbmedia audio wma");
  Folder out("orbmedia audio wma out");
  const std::string target = out.path + "wma";
  WriteFileText(fixture.path + "a.wav", WaveFile(2, 44100, 16, Samples(44100, 4)));
  WriteFileText(fixture.path + "b.wav", WaveFile(1, 22050, 16, Samples(22050, 5)));
  const std::string trace = TempFolder() + "orbmedia_wma_trace.txt";
  DeleteFileA(trace.c_str());
  WriteQuietSettings(fixture.path);
  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_TRACE", trace}, {"ORB_ANSWERS", target + ";1"}});
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  HWND second = ChildWindow(window, kSecondListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 2; }, 10000));
  SelectOnly(window, list, {" a.wav", " b.wav"});
  StartCommandIntoNewFolder(window, kConvertWma);
  ASSERT_TRUE(WaitForRunEnd(window));
  EXPECT_FALSE(Exists(target + "\\a.wma"));
  EXPECT_FALSE(Exists(target + "\\b.wma"));
  EXPECT_TRUE(ListBoxTexts(second).empty()) << "a failed file is not listed";
  // Only the first failure of the run is reported.
  EXPECT_EQ(1, CountTraceLines(trace, "SKMSGBOX(", "this function is not available on this computer"));
  EXPECT_EQ(1, CountTraceLines(trace, "SKMSGBOX(", "a.wav"));
  EXPECT_EQ(0, CountTraceLines(trace, "SKMSGBOX(", "b.wav"));
  EXPECT_EQ(1, CountTraceLines(trace, "BASSWMAENCODEOPENFILE(44100, 65536, 160000,", "a.wma"));
  EXPECT_EQ(1, CountTraceLines(trace, "BASSWMAENCODEOPENFILE(22050, 65538, 160000,", "b.wma"));
  CloseBrowser(window, browser);
  DeleteFileA(trace.c_str());
}

// Escape during a long conversion, answered yes, stops the run and deletes
// the partly written file; the progress window shows its bar meanwhile.
TEST(MediaBrowserAudio, CancelDeletesThePartialFile) {
  ProgramFolder program("audio cancel");
  Folder fixture("orbmedia audio cancel");
  Folder out("orbmedia audio cancel out");
  const std::string target = out.path + "wav";
  // Three minutes of stereo: long enough to be stopped on the way.
  WriteFileText(fixture.path + "long.mp3", WaveFile(2, 44100, 16, Samples(44100 * 4 * 180, 6)));
  const std::string trace = TempFolder() + "orbmedia_cancel_trace.txt";
  DeleteFileA(trace.c_str());
  WriteQuietSettings(fixture.path);
  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_TRACE", trace}, {"ORB_ANSWERS", target + ";1;1"}});
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  HWND second = ChildWindow(window, kSecondListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 1; }, 10000));
  SelectOnly(window, list, {" long.mp3"});
  StartCommandIntoNewFolder(window, kConvertWav);
  HWND progress = WaitForWindowOfClass("SKSTATIC", 20000);
  ASSERT_NE(progress, nullptr) << "the progress window did not show";
  EXPECT_TRUE(harness::PumpUntil(
      [&] { return FindWindowExA(progress, nullptr, "msctls_progress32", nullptr) != nullptr; }, 5000))
      << "it has a progress bar";
  EXPECT_FALSE(IsWindowEnabled(window)) << "the main window waits for the run";
  PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitForRunEnd(window));
  EXPECT_EQ(1, CountTraceLines(trace, "SKMSGBOX(", "Stop the running"));
  EXPECT_FALSE(Exists(target + "\\long.wav")) << "the partial file is deleted";
  EXPECT_TRUE(ListBoxTexts(second).empty());
  CloseBrowser(window, browser);
  DeleteFileA(trace.c_str());
}

// A CD drive mapped to a folder: two tracks lie on its disc audio, a third
// names sectors past its end.  The WAV files hold exactly the tracks'
// samples and are named by the track numbers in the track files; the
// failed track is reported and not listed; the audio player is told to
// close first.
class CdRip : public ::testing::Test {
 protected:
  void SetUp() override {
    disc_ = Samples(40 * kSectorBytes, 7);
    WriteFileText(cd_.path + "CDAUDIO.RAW", disc_);
    WriteFileText(cd_.path + "Track01.cda", CdaFile(1, 0, 10));
    // Listed after Track03, but the second track of the disc.
    WriteFileText(cd_.path + "Track05.cda", CdaFile(2, 10, 30));
    WriteFileText(cd_.path + "Track03.cda", CdaFile(3, 35, 10));
  }
  std::string Track(uint32_t first, uint32_t sectors) const {
    return disc_.substr(first * kSectorBytes, sectors * kSectorBytes);
  }
  Folder cd_{"orbmedia cd folder"};
  std::string disc_;
};

TEST_F(CdRip, RipsTracksToWavFiles) {
  harness::CdDrive drive(cd_.path.substr(0, cd_.path.size() - 1));
  ASSERT_NE(drive.letter(), 0) << "no CD drive could be mapped";
  ProgramFolder program("audio rip");
  Folder out("orbmedia rip out");
  const std::string target = out.path + "ripped";
  const std::string trace = TempFolder() + "orbmedia_rip_trace.txt";
  const std::string playerLog = TempFolder() + "orbmedia rip player.log";
  DeleteFileA(trace.c_str());
  DeleteFileA(playerLog.c_str());
  harness::Process player;
  ASSERT_TRUE(player.start("\"" + harness::ProgramFolder() + "suite_receiver.exe\" ORBAUDIO \"" + playerLog + "\""));
  ASSERT_NE(harness::WaitForWindow("ORBAUDIO", 10000), nullptr);
  WriteQuietSettings(drive.root());
  harness::Process browser;
  // The target folder, the album name (its dot becomes a blank), the
  // warning of the failed track.
  HWND window =
      StartBrowser(program, &browser, "", {{"ORB_TRACE", trace}, {"ORB_ANSWERS", target + ";My.Album;1"}});
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  HWND second = ChildWindow(window, kSecondListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 4; }, 10000));
  SelectOnly(window, list, {" track01.cda", " track03.cda", " track05.cda"});
  StartCommandIntoNewFolder(window, kRipWav);
  ASSERT_TRUE(WaitForRunEnd(window));

  const std::string first = target + "\\My Album-01.wav";
  const std::string secondTrack = target + "\\My Album-02.wav";
  EXPECT_EQ("pcm_s16le,44100,2,16", Probe(first));
  EXPECT_EQ(std::to_string(30 * 588), Shell("sox --i -s " + Unix(secondTrack)));
  std::string written = ReadFileText(first);
  ASSERT_EQ(44 + 10 * kSectorBytes, written.size());
  EXPECT_TRUE(written.substr(44) == Track(0, 10)) << "track 1 holds its sectors";
  written = ReadFileText(secondTrack);
  ASSERT_EQ(44 + 30 * kSectorBytes, written.size());
  EXPECT_TRUE(written.substr(44) == Track(10, 30)) << "track 2 holds its sectors";
  EXPECT_FALSE(Exists(target + "\\My Album-03.wav"));
  EXPECT_EQ(1, CountTraceLines(trace, "SKMSGBOX(", "track03.cda"));
  EXPECT_EQ(1, CountTraceLines(trace, "SKMSGBOX(", "the file cannot be opened"));
  EXPECT_EQ(ListBoxTexts(second), (std::vector<std::string>{" " + first, " " + secondTrack}));
  // The audio player was asked to close (code 10) and did.
  std::vector<ReceivedLine> lines = WaitForReceiverLog(playerLog, 2);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ("10", lines[1].kind);
  EXPECT_EQ(0, player.waitExit(10000));
  CloseBrowser(window, browser);
  DeleteFileA(trace.c_str());
  DeleteFileA(playerLog.c_str());
}

// The encoder program named by the command (found in the program folder,
// whose name holds blanks) gets its command line and the track's samples
// after a WAV header on its input.
TEST_F(CdRip, FeedsTheEncoderProgram) {
  harness::CdDrive drive(cd_.path.substr(0, cd_.path.size() - 1));
  ASSERT_NE(drive.letter(), 0) << "no CD drive could be mapped";
  ProgramFolder program("audio encoder");
  program.Copy("orbtestencoder.exe", "oggenc.exe");
  Folder out("orbmedia encoder out");
  const std::string target = out.path + "encoded";
  WriteQuietSettings(drive.root());
  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_ANSWERS", target + ";Album"}});
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  HWND second = ChildWindow(window, kSecondListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 4; }, 10000));
  SelectOnly(window, list, {" track05.cda"});
  StartCommandIntoNewFolder(window, kRipToFileEncoder);
  ASSERT_TRUE(WaitForRunEnd(window));

  const std::string encoded = target + "\\Album-02.ogg";
  std::string written = ReadFileText(encoded);
  ASSERT_EQ(44 + 30 * kSectorBytes, written.size());
  EXPECT_EQ("RIFF", written.substr(0, 4));
  EXPECT_EQ("WAVEfmt ", written.substr(8, 8));
  EXPECT_TRUE(written.substr(44) == Track(10, 30)) << "the encoder got the track's samples";
  std::vector<std::string> arguments = ReadLines(encoded + ".args");
  ASSERT_EQ(3u, arguments.size());
  EXPECT_EQ("-o", arguments[0]);
  EXPECT_EQ("-", arguments[2]);
  char longName[MAX_PATH] = {};
  GetLongPathNameA(arguments[1].c_str(), longName, sizeof(longName));
  EXPECT_EQ(Lower(encoded), Lower(longName)) << arguments[1];
  EXPECT_EQ(ListBoxTexts(second), (std::vector<std::string>{" " + encoded}));
  CloseBrowser(window, browser);
}

}  // namespace
