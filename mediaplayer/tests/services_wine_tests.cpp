// The player's smaller services under Wine.  The screen codec: a player
// started from a program folder that holds codec\camcodec.dll copies it
// into the system folder and registers it (read back with `reg query` and
// GetPrivateProfileString); a second start changes nothing; an option line
// naming a file outside the program folder installs nothing.  Everything
// the tests add to the prefix is removed again.  The About box with the
// year, the help command handing the layout's help file to a running
// help viewer, the picture copy without a picture, and a
// recording of the full-screen show read back with ffprobe.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "core/command_line.h"
#include "core/option_line.h"
#include "core/suite_command_codes.h"
#include "player_test_support.h"
#include "suite_command.h"
#include "unix_tools.h"

namespace {

// ffprobe, ffmpeg and ImageMagick get at most this long.
constexpr DWORD kUnixToolMs = 60000;

using namespace player_test;

constexpr char kCodecKey[] = "System\\CurrentControlSet\\Control\\MediaResources\\icm\\VIDC.CSCD";

std::string SystemFile(const std::string& name) {
  char folder[MAX_PATH + 1] = {};
  GetSystemDirectoryA(folder, MAX_PATH);
  return std::string(folder) + "\\" + name;
}

std::string Drivers32(const char* key) {
  char value[MAX_PATH] = {};
  GetPrivateProfileStringA("Drivers32", key, "", value, sizeof value, "system.ini");
  return value;
}

std::string RegistryText(const char* key, const char* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return "<no key>";
  char value[512] = {};
  DWORD size = sizeof value - 1, type = 0;
  LONG result = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(opened);
  return result == ERROR_SUCCESS && type == REG_SZ ? std::string(value) : "<no value>";
}

// Removes what an installation leaves in the prefix, before and after.
void RemoveCodec(const char* key, const char* fileName) {
  DeleteFileA(SystemFile(fileName).c_str());
  WritePrivateProfileStringA("Drivers32", key, nullptr, "system.ini");
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string("System\\CurrentControlSet\\Control\\MediaResources\\icm\\") + key).c_str());
}

struct CodecCleanup {
  CodecCleanup() { Clean(); }
  ~CodecCleanup() { Clean(); }
  static void Clean() {
    RemoveCodec("VIDC.CSCD", "camcodec.dll");
    RemoveCodec("VIDC.EVIL", "evilcodec.dll");
  }
};

// Starts the player, lets it finish its start-up and closes it.
void RunPlayerOnce(const PlayerFolder& folder) {
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(player), 0);
}

// Option field 12 of the folder's text table set to `field12`.
void SetCodecField(const PlayerFolder& folder, const std::string& field12) {
  const std::string line = TextEntry(folder, 49);
  ASSERT_FALSE(line.empty());
  SetTextEntry(folder, 49, player::RewriteOptionFields(line, {{12, field12}}));
}

TEST(ScreenCodec, InstalledOnceFromTheProgramFolder) {
  CodecCleanup cleanup;
  PlayerFolder folder("player codec");
  CreateDirectoryA(folder.path("codec").c_str(), nullptr);
  const std::string codecBytes = "MZ the codec of this test";
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("codec\\camcodec.dll"), codecBytes));

  RunPlayerOnce(folder);
  std::string copied;
  ASSERT_TRUE(harness::ReadFileBytes(SystemFile("camcodec.dll"), &copied));
  EXPECT_EQ(codecBytes, copied);
  EXPECT_EQ("camcodec.dll", Drivers32("VIDC.CSCD"));
  EXPECT_EQ("CamStudio lossless codec [CSCD]", RegistryText(kCodecKey, "Description"));
  EXPECT_EQ("camcodec.dll", RegistryText(kCodecKey, "Driver"));
  EXPECT_EQ("CamStudio lossless codec [CSCD]", RegistryText(kCodecKey, "FriendlyName"));
  // What Wine's own registry tool shows.
  std::string queryOutput = folder.path("query.txt");
  harness::Process query;
  ASSERT_TRUE(query.startWithOutput("reg.exe query \"HKLM\\" + std::string(kCodecKey) + "\"", queryOutput));
  EXPECT_EQ(0, query.waitExit(kStartMs));
  std::string shown;
  harness::ReadFileBytes(queryOutput, &shown);
  EXPECT_NE(std::string::npos, shown.find("FriendlyName")) << shown;
  EXPECT_NE(std::string::npos, shown.find("camcodec.dll")) << shown;

  // A second start with another codec file beside the program and a value
  // changed by hand: the copy in the system folder is there, so nothing
  // is copied or written again.
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("codec\\camcodec.dll"), "MZ a newer codec"));
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCodecKey, 0, KEY_SET_VALUE, &key));
  RegSetValueExA(key, "Description", 0, REG_SZ, reinterpret_cast<const BYTE*>("set by hand"), 12);
  RegCloseKey(key);
  RunPlayerOnce(folder);
  ASSERT_TRUE(harness::ReadFileBytes(SystemFile("camcodec.dll"), &copied));
  EXPECT_EQ(codecBytes, copied);
  EXPECT_EQ("set by hand", RegistryText(kCodecKey, "Description"));
}

TEST(ScreenCodec, ThreeFieldsTakeTheDescriptionAsFriendlyName) {
  CodecCleanup cleanup;
  PlayerFolder folder("player codec text");
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("evilcodec.dll"), "MZ"));
  // The friendly name is left out: the description stands for it.
  SetCodecField(folder, "@path@evilcodec.dll|VIDC.EVIL|Test codec; fast");
  RunPlayerOnce(folder);
  const std::string key = "System\\CurrentControlSet\\Control\\MediaResources\\icm\\VIDC.EVIL";
  EXPECT_EQ("evilcodec.dll", Drivers32("VIDC.EVIL"));
  EXPECT_EQ("Test codec; fast", RegistryText(key.c_str(), "FriendlyName"));
}

TEST(ScreenCodec, FileOutsideTheProgramFolderIsRefused) {
  CodecCleanup cleanup;
  PlayerFolder folder("player codec refused");
  // A DLL in a folder beside the program's, named by its full path and
  // through "..".
  harness::ScratchFolder outside("codec outside");
  ASSERT_TRUE(harness::WriteFileBytes(outside.Child("evilcodec.dll"), "MZ not ours"));
  const std::string outsideName = outside.path().substr(outside.path().find_last_of('\\') + 1);
  for (const std::string& field : {outside.Child("evilcodec.dll") + "|VIDC.EVIL|x",
                                   "@path@..\\" + outsideName + "\\evilcodec.dll|VIDC.EVIL|x"}) {
    SCOPED_TRACE(field);
    SetCodecField(folder, field);
    RunPlayerOnce(folder);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(SystemFile("evilcodec.dll").c_str()));
    EXPECT_EQ("", Drivers32("VIDC.EVIL"));
    EXPECT_EQ("<no key>",
              RegistryText("System\\CurrentControlSet\\Control\\MediaResources\\icm\\VIDC.EVIL", "Driver"));
  }
}

// WM_SYSCOMMAND 0: the About box shows the engine's line and entry 2 with
// every "#" the current year.
TEST(PlayerServices, AboutBoxShowsTheYear) {
  PlayerFolder folder("player about");
  SetTextEntry(folder, 2, "Orb Play # (c) 2003-#");
  harness::Process player;
  HWND window = StartPlayer(folder, &player, "", {{"ORB_ANSWERS", "1"}});
  ASSERT_NE(window, nullptr);
  const size_t boxesBefore = TraceCalls(folder, "themecore SKMSGBOX").size();
  SendMessageA(window, WM_SYSCOMMAND, 0, 0);
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  const std::string year = std::to_string(now.wYear);
  ASSERT_TRUE(WaitForTraceCalls(folder, "themecore SKMSGBOX", boxesBefore + 1));
  std::string box = TraceCalls(folder, "themecore SKMSGBOX").back();
  EXPECT_NE(box.find("Orb Play " + year + " (c) 2003-" + year), std::string::npos) << box;
  EXPECT_EQ(box.find('#'), std::string::npos) << box;
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(player), 0);
}

// Command 74 with the help viewer beside the program and running: it is
// sent code 3 with the help file of entry 90 (one per layout; the same
// here, whichever layout the player starts in).
TEST(PlayerServices, HelpGoesToTheRunningViewer) {
  PlayerFolder folder("player help");
  SetTextEntry(folder, 90, "media.htm,media.htm,media.htm");
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("media.htm"), "<html></html>"));
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("ORBHELP.EXE"), "MZ"));
  harness::PeerWindow viewer("ORBHELP");
  ASSERT_NE(viewer.hwnd(), nullptr);
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_COMMAND, 74, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return !viewer.received().empty(); }, kStartMs));
  const harness::CopyDataRecord& record = viewer.received().front();
  EXPECT_EQ(3u, record.code);
  EXPECT_EQ(folder.path("media.htm"), record.bytes.c_str());
  // With the viewer gone it is started with "<file>,<skin file>" as one
  // argument: the program folder has a blank in its name.
  SendMessageA(viewer.hwnd(), WM_CLOSE, 0, 0);
  ASSERT_EQ(viewer.hwnd(), nullptr);
  const size_t startsBefore = TraceCalls(folder, "themecore SKSHELL").size();
  PostMessageA(window, WM_COMMAND, 74, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "themecore SKSHELL", startsBefore + 1));
  const std::string started = TraceCalls(folder, "themecore SKSHELL").back();
  const std::string expected = suite::ProgramCommandLine(
      folder.path("ORBHELP.EXE"), suite::QuoteArgument(folder.path("media.htm") + "," + folder.path("LUMINAR.SKL")));
  EXPECT_EQ(0u, started.find("themecore SKSHELL(" + TraceText(expected) + ", 5, ")) << started;
  // Without the file nothing is sent or started.
  DeleteFileA(folder.path("media.htm").c_str());
  viewer.clear();
  PostMessageA(window, WM_COMMAND, 74, 0);
  harness::PumpMessagesFor(500);
  EXPECT_TRUE(viewer.received().empty());
  EXPECT_EQ(startsBefore + 1, TraceCalls(folder, "themecore SKSHELL").size());
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(player), 0);
}

// Command 72 with nothing to copy: in the picture layout the player starts
// in (no picture shown) the box says there is no picture; once a sound has
// brought the media layout, it says a shown picture is needed.  Nothing
// reaches the clipboard either time.
TEST(PlayerServices, PictureCopyWithoutAPicture) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  PlayerFolder folder("player copy");
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("tone.wav"), SquareWaveWav(2000, 4000, 4000)));
  harness::Process player;
  HWND window = StartPlayer(folder, &player, "", {{"ORB_ANSWERS", "1"}});
  ASSERT_NE(window, nullptr);
  auto copyBox = [&] {
    const size_t boxesBefore = TraceCalls(folder, "themecore SKMSGBOX").size();
    PostMessageA(window, WM_COMMAND, 72, 0);
    if (!WaitForTraceCalls(folder, "themecore SKMSGBOX", boxesBefore + 1)) return std::string("<no box>");
    return TraceCalls(folder, "themecore SKMSGBOX").back();
  };
  std::string box = copyBox();
  EXPECT_NE(box.find("There is no picture to copy."), std::string::npos) << box;
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));

  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, folder.path("tone.wav")), 1);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbplay ShowMediaLayout", 1));
  box = copyBox();
  EXPECT_NE(box.find("Only a picture shown in the picture layout can be copied."), std::string::npos) << box;
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// Code 20 asks for a recording; the full-screen command starts it with the
// recorder beside the program, stop ends it: "orbplay.avi" in the program
// folder holds the zoom holder's frames at the rate asked for.
TEST(PlayerServices, RecordsTheFullScreenShow) {
  PlayerFolder folder("player recording");
  folder.Copy("reelcap.dll", "reelcap.dll");
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_PLAY_INTO_RECT, "320,240,5,0"), 1);
  PostMessageA(window, WM_COMMAND, 403, 0);
  harness::PumpMessagesFor(2500);
  PostMessageA(window, WM_COMMAND, 71, 0);
  harness::PumpMessagesFor(500);
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);

  std::string avi = folder.path("orbplay.avi");
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(avi.c_str()));
  std::string output;
  ASSERT_TRUE(harness::RunUnixCommand("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                       "stream=width,height,r_frame_rate,nb_read_frames -of default=noprint_wrappers=1 '" +
                           harness::UnixPathOf(avi) + "'",
                       kUnixToolMs, &output))
      << output;
  EXPECT_NE(output.find("width=" + std::to_string(GetSystemMetrics(SM_CXSCREEN))), std::string::npos) << output;
  EXPECT_NE(output.find("height=" + std::to_string(GetSystemMetrics(SM_CYSCREEN))), std::string::npos) << output;
  EXPECT_NE(output.find("r_frame_rate=5/1"), std::string::npos) << output;
  size_t at = output.find("nb_read_frames=");
  ASSERT_NE(at, std::string::npos) << output;
  EXPECT_GE(std::atoi(output.c_str() + at + 15), 5) << output;
}

// Code 4 names a list of two sounds (one missing file left out): the
// background sound plays them through the audio library one after the
// other, round the list, as the trace of the library's opens shows.
TEST(PlayerServices, BackgroundSoundsCycle) {
  PlayerFolder folder("player sounds");
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("one.wav"), SquareWaveWav(300, 8000, 8000)));
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("two.wav"), SquareWaveWav(300, 4000, 4000)));
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("sounds.lst"),
                                      folder.path("one.wav") + "\r\n" + folder.path("gone.wav") + "\r\n" +
                                          folder.path("two.wav") + "\r\n"));
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_SET_BACKGROUND_SOUND, folder.path("sounds.lst") + "|80|100"), 1);
  auto opens = [&] {
    std::vector<std::string> files;
    for (const std::string& line : TraceCalls(folder, "tonelink BASSOPEN")) {
      if (line.find("one.wav") != std::string::npos) files.push_back("one");
      if (line.find("two.wav") != std::string::npos) files.push_back("two");
    }
    return files;
  };
  EXPECT_TRUE(harness::PumpUntil([&] { return opens().size() >= 3; }, kStartMs));
  std::vector<std::string> seen = opens();
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ((std::vector<std::string>{"one", "two", "one"}), std::vector<std::string>(seen.begin(), seen.begin() + 3));
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

}  // namespace
