// The media player under Wine, started as a user or another module starts
// it: from a program folder holding orbplay.exe, its text table, the skin
// and the DLLs.  Its item list and the calls it hands on are read back
// from the call trace (ORB_TRACE), everything else from real windows,
// processes and suite commands.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/command_line.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "../../picker/tests/find_chooser.h"
#include "player_test_support.h"
#include "suite_command.h"
#include "test_files.h"

namespace {

using picker_test::FindChooserDialog;
using player_test::kStartMs;
using player_test::MutexIsFree;
using player_test::PlayerFolder;
using player_test::StartPlayer;
using player_test::TraceCalls;
using player_test::TraceText;
using player_test::WaitForExit;
using player_test::WaitForTraceCalls;

TEST(MediaPlayer, StartsWithItsWindowsAndTakesAnItemList) {
  PlayerFolder folder("player list");
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(harness::WindowText(window), "Orb Play");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & (WS_POPUP | WS_SYSMENU),
            static_cast<DWORD>(WS_POPUP | WS_SYSMENU));
  // Nothing on the command line: the picture layout, nothing opened.
  EXPECT_EQ(TraceCalls(folder, "orbplay ShowPictureLayout").size(), 1u);
  EXPECT_TRUE(TraceCalls(folder, "orbplay OpenItem").empty());
  // The windows start-up made through the skin engine: content and menu
  // holders, the video window (a child carrying option field 11) and the
  // popup window.
  EXPECT_EQ(TraceCalls(folder, "themecore SKHOLDER").size(), 3u);
  std::vector<std::string> windows = TraceCalls(folder, "themecore SKWINDOW");
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_NE(windows[0].find(", 1073741824, 0, 0, 0, 0, "), std::string::npos) << windows[0];
  EXPECT_NE(windows[1].find(", 2147483648, 0, 0, 0, 0, "), std::string::npos) << windows[1];
  EXPECT_EQ(windows[0].find("= 0x00000000"), std::string::npos);

  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_STARTED_BY_BROWSER, ""), 1);
  const std::string items = "C:\\clips\\a b.avi|C:\\clips\\c.mp3";
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, items), 1);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbplay OpenItem", 1));
  std::vector<std::string> lists = TraceCalls(folder, "orbplay ItemList");
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_EQ(lists[0], "orbplay ItemList(" + TraceText(items) + ") = 2");
  EXPECT_EQ(TraceCalls(folder, "orbplay OpenItem")[0],
            "orbplay OpenItem(\"\", " + TraceText("C:\\clips\\a b.avi") + ", 0, 0) = media");
  // A video that cannot be played (no such file) is reported once with its
  // error number and the item, after the video layout was asked for.
  ASSERT_TRUE(WaitForTraceCalls(folder, "themecore SKMSGBOX", 1));
  std::vector<std::string> layouts = TraceCalls(folder, "orbplay ShowMediaLayout");
  ASSERT_EQ(layouts.size(), 1u);
  EXPECT_EQ(layouts[0], "orbplay ShowMediaLayout(2) = 0");
  std::vector<std::string> boxes = TraceCalls(folder, "themecore SKMSGBOX");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Cannot play this item (error -"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[0].find("): C:\\x5Cclips\\x5Ca b.avi"), std::string::npos) << boxes[0];

  // Code 10 closes a player without a control bar for real.
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_CLOSE, ""), 1);
  EXPECT_EQ(WaitForExit(player), 0);
  EXPECT_EQ(FindWindowA("ORBPLAY", nullptr), nullptr);
  EXPECT_TRUE(MutexIsFree());
}

// A second start finds the running player by its window, hands it the
// command line with code 18 and ends with code 0.
TEST(MediaPlayer, SecondStartForwardsItsCommandLine) {
  PlayerFolder folder("player second");
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "ORBPLAY");
  ASSERT_NE(mutex, nullptr);
  harness::PeerWindow running("ORBPLAY");
  ASSERT_NE(running.hwnd(), nullptr);
  harness::Process second;
  ASSERT_TRUE(second.start(folder.command("\"C:\\a b.avi\"")));
  EXPECT_TRUE(harness::PumpUntil([&] { return !running.received().empty(); }, kStartMs));
  EXPECT_EQ(WaitForExit(second), 0);
  CloseHandle(mutex);
  ASSERT_EQ(running.received().size(), 1u);
  const harness::CopyDataRecord& record = running.received()[0];
  EXPECT_EQ(record.code, suite::CMD_FORWARD_COMMAND_LINE);
  EXPECT_EQ(record.bytes, std::string("C:\\a b.avi") + '\0');
  EXPECT_EQ(record.wParam, 10u);
}

TEST(MediaPlayer, SecondStartsOpenAsOneJoinedList) {
  PlayerFolder folder("player queue");
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);

  // A real second start, then two forwarded lines within the queue's 100 ms.
  harness::Process second;
  ASSERT_TRUE(second.start(folder.command("\"C:\\a b.avi\"")));
  EXPECT_EQ(WaitForExit(second), 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbplay ItemList", 1));
  EXPECT_EQ(TraceCalls(folder, "orbplay ItemList")[0], "orbplay ItemList(" + TraceText("C:\\a b.avi") + ") = 1");

  DWORD before = GetTickCount();
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_FORWARD_COMMAND_LINE, "C:\\one.avi"), 1);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_FORWARD_COMMAND_LINE, "D:\\two.avi|E:\\three.avi"), 1);
  ASSERT_LT(GetTickCount() - before, 100u);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbplay ItemList", 2));
  harness::PumpMessagesFor(300);
  std::vector<std::string> lists = TraceCalls(folder, "orbplay ItemList");
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(lists[1], "orbplay ItemList(" + TraceText("C:\\one.avi|D:\\two.avi|E:\\three.avi") + ") = 3");

  // A second start without a command line only brings the player forward.
  harness::Process empty;
  ASSERT_TRUE(empty.start(folder.command()));
  EXPECT_EQ(WaitForExit(empty), 0);
  harness::PumpMessagesFor(300);
  EXPECT_EQ(TraceCalls(folder, "orbplay ItemList").size(), 2u);

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(player), 0);
}

// Code 26 names a file to burn when the player closes: the running disc
// burner gets the label, is brought forward and gets the file.
TEST(MediaPlayer, CloseHandsTheRecordingToTheRunningBurner) {
  PlayerFolder folder("player burn");
  harness::PeerWindow burner("ORBBURN");
  ASSERT_NE(burner.hwnd(), nullptr);
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_SET_BURN_ON_CLOSE, "C:\\rec\\show.avi|HOLIDAY"), 1);
  EXPECT_TRUE(burner.received().empty());
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_CLOSE, ""), 1);
  EXPECT_TRUE(harness::PumpUntil([&] { return burner.received().size() >= 3; }, kStartMs));
  EXPECT_EQ(WaitForExit(player), 0);

  struct Expected {
    uint32_t code;
    std::string text;
  };
  const Expected expected[] = {{suite::CMD_SET_VOLUME_LABEL, "HOLIDAY"},
                               {suite::CMD_COME_TO_FRONT, ""},
                               {suite::CMD_OPEN_ITEMS, "C:\\rec\\show.avi"}};
  ASSERT_EQ(burner.received().size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(burner.received()[i].code, expected[i].code);
    EXPECT_EQ(burner.received()[i].bytes, expected[i].text + '\0');
  }
}

// When the disc burner does not run, the player starts it from its own
// folder and tells it so (code 19) before the hand-off.
TEST(MediaPlayer, CloseStartsTheBurnerForTheRecording) {
  PlayerFolder folder("player burner start");
  folder.Copy("suite_receiver.exe", "orbburn.exe");
  std::string log = folder.path("burner.log");
  harness::Process player;
  HWND window = StartPlayer(folder, &player, "",
                            {{"ORB_RECEIVER_CLASS", "ORBBURN"}, {"ORB_RECEIVER_LOG", log}});
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_SET_BURN_ON_CLOSE, "C:\\rec\\show.avi|LABEL"), 1);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_CLOSE, ""), 1);
  EXPECT_EQ(WaitForExit(player), 0);
  HWND burner = harness::WaitForWindow("ORBBURN", 2000);
  ASSERT_NE(burner, nullptr);
  suite::SendSuiteCommand(burner, suite::CMD_CLOSE, "");
  harness::PumpUntil([] { return FindWindowA("ORBBURN", nullptr) == nullptr; }, kStartMs);

  std::string text;
  ASSERT_TRUE(harness::ReadFileBytes(log, &text));
  std::vector<std::string> lines;
  for (std::string line : harness::SplitLines(text)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.rfind("start ", 0) != 0) lines.push_back(line);
  }
  const std::vector<std::string> expected = {
      "19 0 ", "25 5 " + harness::ToHex("LABEL"), "24 0 ", "3 15 " + harness::ToHex("C:\\rec\\show.avi"),
      "10 0 "};
  EXPECT_EQ(lines, expected);
}

// WM_CLOSE to the main window ends the process and frees the mutex: no
// windowless player is left behind for later starts to wait for.
TEST(MediaPlayer, CloseMessageEndsTheProcessAndFreesTheMutex) {
  PlayerFolder folder("player close");
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(MutexIsFree());
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(player), 0);
  EXPECT_EQ(FindWindowA("ORBPLAY", nullptr), nullptr);
  EXPECT_TRUE(MutexIsFree());
  // Closing saved the window placement (through the part that will write
  // the configuration file).
  EXPECT_EQ(TraceCalls(folder, "orbplay SaveWindowConfigFile").size(), 1u);
}

// An "END" action closes for real only when the command carries a lParam;
// from the menu (lParam 0) the player hides.
TEST(MediaPlayer, EndActionHidesOrCloses) {
  PlayerFolder folder("player end");
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  SendMessageA(window, WM_COMMAND, 105, 0);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(player.waitExit(0), -1);
  SendMessageA(window, WM_COMMAND, 105, reinterpret_cast<LPARAM>(window));
  EXPECT_EQ(WaitForExit(player), 0);
}

TEST(MediaPlayer, MissingTextTableShowsItsPathAndEndsWithCode2) {
  PlayerFolder folder("player missing");
  DeleteFileA(folder.path("orbplay.SYS").c_str());
  harness::Process player;
  ASSERT_TRUE(player.start(folder.command()));
  HWND box = harness::WaitForWindow("#32770", kStartMs);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(harness::WindowText(box), "orbplay");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WaitForExit(player), 2);
  EXPECT_TRUE(MutexIsFree());
}

// Code 20 asks for a recording into a rectangle: only a text of more than
// one comma field is such a request.
TEST(MediaPlayer, PlayIntoRectNeedsMoreThanOneField) {
  PlayerFolder folder("player record");
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  RECT before = harness::WindowRectOf(window);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_PLAY_INTO_RECT, "320"), 1);
  RECT after = harness::WindowRectOf(window);
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_TRUE(IsWindowEnabled(window));

  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_PLAY_INTO_RECT, "320,240,15,0"), 1);
  RECT recording = harness::WindowRectOf(window);
  EXPECT_EQ(recording.right - recording.left, 324);
  EXPECT_EQ(recording.bottom - recording.top, 244);
  EXPECT_EQ(recording.top, 0);
  EXPECT_EQ(recording.left, (GetSystemMetrics(SM_CXSCREEN) - 324) / 2);
  // (Wine keeps WS_EX_TOPMOST off this window after SetWindowPos with
  // HWND_TOPMOST, so the z-order is not checked here.)
  EXPECT_FALSE(IsWindowEnabled(window));
  EXPECT_EQ(TraceCalls(folder, "themecore SKBUILDREGION").size(), 1u);
  // The player's own slide show is opened for the recording (there is
  // none in the folder, so no picture follows).
  std::vector<std::string> opened = TraceCalls(folder, "orbplay OpenItem");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_NE(opened[0].find("\\x5Corbplay.ssl\", 0, 0) = slide show"), std::string::npos) << opened[0];
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// A ".upl" list on the command line is opened as its list, "@path@" being
// the program folder and missing files left out; an ".avi" turns the
// player into a kiosk (topmost).
TEST(MediaPlayer, ListFileAndAviArguments) {
  PlayerFolder folder("player upl");
  std::string list = folder.path("party.upl");
  ASSERT_TRUE(CreateDirectoryA(folder.path("clips").c_str(), nullptr));
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("clips\\a.avi"), "RIFF"));
  ASSERT_TRUE(harness::WriteFileBytes(list, "C:\\missing\\b.avi\r\n@path@clips\\a.avi\r\n\r\n"));
  harness::Process player;
  HWND window = StartPlayer(folder, &player, suite::QuoteArgument(list));
  ASSERT_NE(window, nullptr);
  std::vector<std::string> opened = TraceCalls(folder, "orbplay OpenItem");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], "orbplay OpenItem(\"\", " + TraceText(folder.path("clips\\a.avi")) + ", 0, 0) = media");
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(player), 0);

  PlayerFolder kiosk("player kiosk");
  harness::Process second;
  window = StartPlayer(kiosk, &second, "C:\\films\\x.AVI", {{"ORB_ANSWERS", "1;1"}});
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
  opened = TraceCalls(kiosk, "orbplay OpenItem");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], "orbplay OpenItem(\"\", " + TraceText("file://C:\\films\\x.AVI") + ", 0, 0) = media");
  // Escape asks whether to quit; the first button ends the kiosk.
  PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(WaitForExit(second), 0);
  // The missing video was reported first.
  std::vector<std::string> boxes = TraceCalls(kiosk, "themecore SKMSGBOX");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].find("Cannot play this item"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[1].find("\"Quit Orb Play?\", \"&Yes|&No\""), std::string::npos) << boxes[1];
}

// Full screen: the full-screen holder covers the screen; the timed show
// steps on its own timers, the stepping show by mouse; Escape leaves.
TEST(MediaPlayer, FullScreenStepsAndEscapeLeaves) {
  PlayerFolder folder("player full screen");
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, "C:\\a.jpg|C:\\b.jpg"), 1);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbplay OpenItem", 1));
  HWND zoom = FindWindowA("SKZOOM", nullptr);
  ASSERT_NE(zoom, nullptr);
  EXPECT_FALSE(IsWindowVisible(zoom));

  SendMessageA(window, WM_COMMAND, 405, 0);
  EXPECT_TRUE(IsWindowVisible(zoom));
  RECT covered = harness::WindowRectOf(zoom);
  EXPECT_EQ(covered.left, 0);
  EXPECT_EQ(covered.top, 0);
  EXPECT_EQ(covered.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(covered.bottom, GetSystemMetrics(SM_CYSCREEN));
  // The option line's display time is 4000 ms; then the transition timer
  // steps forwards to the second picture.
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbplay OpenItem", 2));
  EXPECT_EQ(TraceCalls(folder, "orbplay OpenItem")[1],
            "orbplay OpenItem(\"\", " + TraceText("C:\\b.jpg") + ", 0, 0) = picture");
  PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return !IsWindowVisible(zoom); }, kStartMs));

  SendMessageA(window, WM_COMMAND, 403, 0);
  EXPECT_TRUE(IsWindowVisible(zoom));
  PostMessageA(zoom, WM_LBUTTONDOWN, 0, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbplay OpenItem", 3));
  EXPECT_EQ(TraceCalls(folder, "orbplay OpenItem")[2],
            "orbplay OpenItem(\"\", " + TraceText("C:\\a.jpg") + ", 0, 0) = picture");
  PostMessageA(window, WM_MBUTTONDOWN, 0, 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return !IsWindowVisible(zoom); }, kStartMs));

  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// A ".SYS" argument installs that text table for good; an empty one
// leaves the old table in place.
TEST(MediaPlayer, TextTableArgumentReplacesTheTable) {
  PlayerFolder folder("player table");
  std::string original;
  ASSERT_TRUE(harness::ReadFileBytes(folder.path("orbplay.SYS"), &original));
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("empty.sys"), ""));
  harness::Process first;
  HWND window = StartPlayer(folder, &first, "@path@empty.sys");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(harness::WindowText(window), "Orb Play");
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(first), 0);

  std::string table = "[strings]\r\n1=Kiosk Play\r\n";
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("kiosk.sys"), table));
  harness::Process second;
  window = StartPlayer(folder, &second, "@path@kiosk.sys");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(harness::WindowText(window), "Kiosk Play");
  // Nothing was opened: the argument was used up.
  EXPECT_TRUE(TraceCalls(folder, "orbplay OpenItem").empty());
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(second), 0);
  std::string installed;
  ASSERT_TRUE(harness::ReadFileBytes(folder.path("orbplay.SYS"), &installed));
  EXPECT_EQ(installed, table);
  EXPECT_NE(installed, original);
}

// Text entry 81 names the user data folder: lower-cased, "@path@" the
// program folder and "@user@" the user's documents.  The player creates it
// and gives it to the audio library as the folder streams download to;
// without the entry that is the program folder.
TEST(MediaPlayer, UserDataFolderComesFromTextEntry81) {
  char documents[MAX_PATH] = "";
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)));
  const std::string documentsFolder = std::string(documents) + "\\";
  struct Case {
    const char* name;
    std::string entry;         // "" leaves the entry out
    std::string folder;        // below the program folder, or below the documents
    bool inDocuments;
    std::string madeFolder;    // the top folder the player creates ("" none)
  };
  const Case cases[] = {
      {"no entry", "", "", false, ""},
      {"program folder", "@PATH@My Streams\\", "my streams\\", false, ""},
      {"documents", "@user@Orb Player Test\\\\Streams", "orb player test\\streams\\", true, "orb player test"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlayerFolder folder(std::string("player user ") + c.name);
    if (!c.entry.empty()) SetTextEntry(folder, 81, c.entry);
    std::string expected = (c.inDocuments ? documentsFolder : folder.path("")) + c.folder;
    // The documents folder lies outside the test's TEMP: what the player
    // makes there goes again on every way out of the case.
    struct RemovedAtEnd {
      std::string folder;
      explicit RemovedAtEnd(std::string path) : folder(std::move(path)) {
        if (!folder.empty()) harness::RemoveTree(folder);
      }
      ~RemovedAtEnd() {
        if (!folder.empty()) harness::RemoveTree(folder);
      }
    } made(c.madeFolder.empty() ? std::string() : documentsFolder + c.madeFolder);

    harness::Process player;
    HWND window = StartPlayer(folder, &player);
    ASSERT_NE(window, nullptr);
    DWORD attributes = GetFileAttributesA(expected.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        << expected << " was not made";
    std::vector<std::string> calls = TraceCalls(folder, "tonelink BASSSETDOWNLOADPATH");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], "tonelink BASSSETDOWNLOADPATH(" + TraceText(expected) + ") = 1");
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(player), 0);
  }
}

// An empty command line with an AUTORUN.INF that names an existing video
// makes the player a kiosk too.
TEST(MediaPlayer, AutorunVideoMakesAKiosk) {
  PlayerFolder folder("player autorun");
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("movie.avi"), "RIFF"));
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("AUTORUN.INF"), "[autorun]\r\n  OPEN=ORBPLAY.EXE  Movie.avi\r\n"));
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(player), 0);

  // The same folder without the video: an ordinary window.
  DeleteFileA(folder.path("movie.avi").c_str());
  harness::Process plain;
  window = StartPlayer(folder, &plain);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(plain), 0);
}

// A slide-show file handed over by code 3 sets the show up through the
// commands the player sends itself (background sound, options 407 and 411,
// play), in that order, before its first picture shows; a missing picture
// is left out of the list.
TEST(MediaPlayer, SlideShowFileSendsItsCommandsBeforeTheFirstPicture) {
  PlayerFolder folder("player slide");
  for (const char* picture : {"one.jpg", "three.jpg"}) {
    ASSERT_TRUE(harness::WriteFileBytes(folder.path(picture), "not decoded here"));
  }
  const std::string show = folder.path("holiday.ssl");
  ASSERT_TRUE(harness::WriteFileBytes(show, "  [@path@sounds.txt|0|1|1|80|500|3000]\r\n"
                                            "@path@one.jpg,2000\r\n"
                                            "@path@two.jpg,2500\r\n"
                                            "@path@three.jpg,3000\r\n"));
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, show), 1);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbplay OpenItem", 2));

  std::string text;
  ASSERT_TRUE(harness::ReadFileBytes(folder.tracePath(), &text));
  std::vector<std::string> sequence;
  for (const std::string& line : harness::SplitLines(text)) {
    for (const char* call : {"orbplay SuiteCommand(", "orbplay OpenItem("}) {
      size_t at = line.find(call);
      if (at != std::string::npos) sequence.push_back(line.substr(at));
    }
  }
  // Lines are lower-cased before "@path@" is replaced.
  const std::string folderText = TraceText(folder.path("")).substr(1);
  const std::string sounds = folderText.substr(0, folderText.size() - 1) + "sounds.txt|80|500|3000\"";
  const std::vector<std::string> expected = {
      "orbplay SuiteCommand(3, " + TraceText(show) + ") = 1",
      "orbplay OpenItem(\"\", " + TraceText(show) + ", 0, 0) = slide show",
      "orbplay SuiteCommand(4, \"" + sounds + ") = 1",
      "orbplay SuiteCommand(5, \"\") = 1",
      "orbplay SuiteCommand(6, \"\") = 1",
      "orbplay SuiteCommand(7, \"\") = 1",
      "orbplay OpenItem(\"\", " + TraceText(folder.path("one.jpg")) + ", 0, 0) = picture",
  };
  EXPECT_EQ(sequence, expected);
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// The open command starts the media browser named by the text table (here
// a stand-in that logs what it receives) and tells it where chosen files
// go: code 2 with the player's path and window class.
TEST(MediaPlayer, OpenCommandStartsTheMediaBrowserAsChooser) {
  PlayerFolder folder("player open");
  folder.Copy("suite_receiver.exe", "orbmedia.exe");
  std::string log = folder.path("browser.log");
  harness::Process player;
  HWND window = StartPlayer(folder, &player, "",
                            {{"ORB_RECEIVER_CLASS", "ORBMEDIA"}, {"ORB_RECEIVER_LOG", log}});
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_COMMAND, 67, 0);
  HWND browser = harness::WaitForWindow("ORBMEDIA", kStartMs);
  ASSERT_NE(browser, nullptr);
  std::string text;
  ASSERT_TRUE(harness::PumpUntil([&] {
    return harness::ReadFileBytes(log, &text) && text.find("\n2 ") != std::string::npos;
  }, kStartMs));
  const std::string target = folder.path("orbplay.exe") + ",ORBPLAY";
  EXPECT_NE(text.find("\n2 " + std::to_string(target.size()) + " " + harness::ToHex(target)), std::string::npos)
      << text;
  // The player started the browser, so it closes it again when it closes.
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
  EXPECT_TRUE(harness::PumpUntil([] { return FindWindowA("ORBMEDIA", nullptr) == nullptr; }, kStartMs));
}

std::vector<std::string> ChooserItems(HWND list) {
  std::vector<std::string> items;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  // Across processes the list's texts travel as UTF-16 (an ANSI buffer
  // would come back as the first character).
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0 || length >= 512) continue;
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    char bytes[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, sizeof(bytes), nullptr, nullptr);
    items.push_back(bytes);
  }
  return items;
}

// Without a media browser in the text table the open command asks the
// outside file picker CHOOSER.DLL; a confirmed choice becomes the item
// list.  A close command that arrives while the picker is open ends the
// player for real: the picker's loop hands the quit on to the player's.
TEST(MediaPlayer, OpenCommandAsksTheChooserAndCloseStillEndsThePlayer) {
  PlayerFolder folder("player chooser");
  folder.Copy("chooser.dll", "chooser.dll");
  ASSERT_EQ("orbmedia.exe", TextEntry(folder, 78));
  SetTextEntry(folder, 78, "");
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("clip.wav"), "not really a wave"));
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("clip.obf"), "a side file"));
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);

  PostMessageA(window, WM_COMMAND, 67, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(harness::PumpUntil([&] { return (dialog = FindChooserDialog(player.id())) != nullptr; }, kStartMs));
  HWND list = GetDlgItem(dialog, 2);
  const std::vector<std::string> items = ChooserItems(list);
  const auto clip = std::find(items.begin(), items.end(), "clip.wav");
  ASSERT_NE(clip, items.end());
  EXPECT_EQ(std::find(items.begin(), items.end(), "clip.obf"), items.end()) << "entry 85 hides side files";
  EXPECT_FALSE(IsWindowEnabled(window)) << "the player waits for the picker";
  const int index = static_cast<int>(clip - items.begin());
  SendMessageA(list, LB_SETSEL, FALSE, -1);
  SendMessageA(list, LB_SETSEL, TRUE, index);
  SendMessageA(list, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(2, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  SendMessageA(GetDlgItem(dialog, 6), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbplay OpenItem", 1));
  const std::vector<std::string> chosen = TraceCalls(folder, "orbplay CHOOSERF");
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0], "orbplay CHOOSERF(" + TraceText(folder.path("clip.wav") + "|") + ", \"http://\") = 2");
  EXPECT_EQ(TraceCalls(folder, "orbplay ItemList")[0], "orbplay ItemList(" + TraceText(folder.path("clip.wav")) + ") = 1");
  EXPECT_EQ(TraceCalls(folder, "orbplay OpenItem")[0],
            "orbplay OpenItem(\"http://\", " + TraceText(folder.path("clip.wav")) + ", 0, 0) = media");
  EXPECT_TRUE(harness::PumpUntil([&] { return IsWindowEnabled(window) != FALSE; }, kStartMs));

  // Open the picker again and tell the player to close meanwhile.
  PostMessageA(window, WM_COMMAND, 67, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return FindChooserDialog(player.id()) != nullptr; }, kStartMs));
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_CLOSE, ""), 1);
  EXPECT_EQ(WaitForExit(player), 0) << "no process without windows is left";
  EXPECT_EQ(FindWindowA("ORBPLAY", nullptr), nullptr);
  EXPECT_TRUE(MutexIsFree());
}

// An internet item needs a connection.  Offline, when no dial-up entry can
// be dialled, the user is told (the system's text for error 1203 and the
// address) and the address goes to a browser pane even when it names
// audio; online it is played as media (and this player cannot open an
// internet stream, which is reported).
TEST(MediaPlayer, InternetItemWithoutConnectionGoesToTheBrowserPane) {
  PlayerFolder folder("player url");
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  const std::string url = "http://127.0.0.1:9/song.mp3";
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, url), 1);
  ASSERT_TRUE(WaitForTraceCalls(folder, "themecore SKMSGBOX", 1));
  std::vector<std::string> states = TraceCalls(folder, "themecore SKINTERNETSTATE");
  ASSERT_EQ(states.size(), 1u);
  std::vector<std::string> opened = TraceCalls(folder, "orbplay OpenItem");
  ASSERT_EQ(opened.size(), 1u);
  std::vector<std::string> boxes = TraceCalls(folder, "themecore SKMSGBOX");
  ASSERT_EQ(boxes.size(), 1u);
  if (states[0] == "themecore SKINTERNETSTATE(0) = 0") {
    EXPECT_EQ(TraceCalls(folder, "themecore SKRASCONNECT").size(), 1u);
    EXPECT_EQ(opened[0], "orbplay OpenItem(\"\", " + TraceText(url) + ", 0, 0) = page");
    EXPECT_NE(boxes[0].find("|" + TraceText(url).substr(1, TraceText(url).size() - 2)), std::string::npos)
        << boxes[0];
  } else {
    EXPECT_TRUE(TraceCalls(folder, "themecore SKRASCONNECT").empty());
    EXPECT_EQ(opened[0], "orbplay OpenItem(\"\", " + TraceText(url) + ", 0, 0) = media");
    EXPECT_NE(boxes[0].find("Cannot play this item"), std::string::npos) << boxes[0];
  }
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

}  // namespace
