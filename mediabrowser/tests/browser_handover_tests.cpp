// The media browser hands files to the other modules and starts them: the
// modules here are stand-ins (copies of suite_receiver named like the
// suite's programs) that log how they were started and every suite command
// they receive.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "browser_test_support.h"
#include "core/suite_command_codes.h"
#include "core/suite_payload.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"
#include "trace_format.h"

namespace {

using namespace browsertest;

// A suite command as the other programs send it to a window that may be
// busy: false when no answer came within the time-out.
bool SendCommandWithTimeout(HWND window, uint32_t code, const std::string& text, LRESULT* answer,
                            DWORD timeoutMs = 2000) {
  return harness::SendCopyData(window, code, suite::EncodeSuitePayload(text), text.size(), timeoutMs, answer);
}

std::string Describe(const std::vector<ReceivedLine>& entries) {
  std::string text;
  for (const ReceivedLine& entry : entries) text += "[" + entry.kind + " " + entry.text + "] ";
  return text;
}

class HandOverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture_ = TempFolder() + "orbmedia handover\\";
    RemoveTree(fixture_);
    ASSERT_TRUE(CreateDirectoryA(fixture_.c_str(), nullptr));
    for (const char* name : {"a.jpg", "b.jpg", "c.mp3"}) WriteFileText(fixture_ + name, "x");
    for (const char* module : {"orbplay", "orbview", "orbburn", "orbpaint", "orbaudio", "orbhelp"}) {
      program_.Copy("suite_receiver.exe", (std::string(module) + ".exe").c_str());
      std::string upper = module;
      CharUpperA(upper.data());
      DeleteFileA(LogOf(upper).c_str());
    }
    WriteQuietSettings(TempFolder());
  }
  void TearDown() override {
    for (const char* module : {"ORBPLAY", "ORBVIEW", "ORBBURN", "ORBPAINT", "ORBAUDIO", "ORBHELP"}) {
      HWND window = FindWindowA(module, nullptr);
      if (window != nullptr) suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
    }
    RemoveTree(fixture_);
  }
  std::string LogOf(const std::string& module) const { return TempFolder() + "handover " + module + ".log"; }
  std::vector<ReceivedLine> WaitForLog(const std::string& module, size_t entries) {
    return WaitForReceiverLog(LogOf(module), entries);
  }
  HWND Start(const std::string& answers) {
    HWND window = StartBrowser(program_, &browser_, "",
                               {{"ORB_RECEIVER_CLASS", "*"},
                                {"ORB_RECEIVER_LOG", TempFolder() + "handover *.log"},
                                {"ORB_ANSWERS", answers}});
    if (window != nullptr) {
      EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_GO_TO_FOLDER, fixture_), 1);
      SendMessageA(window, WM_COMMAND, 112, 0);  // select every file
    }
    return window;
  }

  ProgramFolder program_{"handover"};
  std::string fixture_;
  harness::Process browser_;
};

std::string Lower(std::string text) {
  CharLowerA(text.data());
  return text;
}

TEST_F(HandOverTest, ModulesOfTheMenusGetTheSelectedPictures) {
  HWND window = Start("");
  ASSERT_NE(window, nullptr);
  std::string pictures = Lower(fixture_) + "a.jpg|" + Lower(fixture_) + "b.jpg";

  // Not running: started without arguments, then only the pictures.
  SendMessageA(window, WM_COMMAND, 1002, 0);
  std::vector<ReceivedLine> paint = WaitForLog("ORBPAINT", 2);
  ASSERT_EQ(paint.size(), 2u) << Describe(paint);
  EXPECT_EQ(paint[0].kind, "start");
  EXPECT_EQ(paint[0].text, "");
  EXPECT_EQ(paint[1].kind, "3");
  EXPECT_EQ(paint[1].text, pictures);
  // Running: no second start.
  SendMessageA(window, WM_COMMAND, 1002, 0);
  paint = WaitForLog("ORBPAINT", 3);
  ASSERT_EQ(paint.size(), 3u) << Describe(paint);
  EXPECT_EQ(paint[2].kind, "3");

  // The fourth module entry waits for its commands.
  SendMessageA(window, WM_COMMAND, 1004, 0);
  std::vector<ReceivedLine> audio = WaitForLog("ORBAUDIO", 2);
  ASSERT_EQ(audio.size(), 2u) << Describe(audio);
  EXPECT_EQ(audio[0].text, "WAITFORCOMMAND");
  EXPECT_EQ(audio[1].text, pictures);

  // The picture module: told that the browser started it, then the files.
  SendMessageA(window, WM_COMMAND, 116, 0);
  std::vector<ReceivedLine> view = WaitForLog("ORBVIEW", 3);
  ASSERT_EQ(view.size(), 3u) << Describe(view);
  EXPECT_EQ(view[1].kind, "1");
  EXPECT_EQ(view[2].kind, "3");
  EXPECT_EQ(view[2].text, pictures);

  CloseBrowser(window, browser_);
}

TEST_F(HandOverTest, PlayerBurnerAndHelp) {
  // The boxes: the burner with an empty collection says so.
  HWND window = Start("1");
  ASSERT_NE(window, nullptr);
  std::string all = Lower(fixture_) + "a.jpg|" + Lower(fixture_) + "b.jpg|" + Lower(fixture_) + "c.mp3";

  // An empty override program means the player of the text table again.
  suite::SendSuiteCommand(window, suite::CMD_SET_TARGET_PROGRAM, ",");
  SendMessageA(window, WM_COMMAND, 101, 0);
  std::vector<ReceivedLine> player = WaitForLog("ORBPLAY", 3);
  ASSERT_EQ(player.size(), 3u) << Describe(player);
  EXPECT_EQ(player[1].kind, "1");
  EXPECT_EQ(player[2].kind, "3");
  EXPECT_EQ(player[2].text, all);

  // The burner: nothing to burn is said, and nothing is started.
  SendMessageA(window, WM_COMMAND, 95, 0);
  harness::PumpMessagesFor(300);
  EXPECT_TRUE(ReceiverLog(LogOf("ORBBURN")).empty());
  // With a collection: the label, to the front, then the files.
  SendMessageA(window, WM_COMMAND, 6, 0);  // add every file
  SendMessageA(window, WM_COMMAND, 95, 0);
  std::vector<ReceivedLine> burner = WaitForLog("ORBBURN", 5);
  ASSERT_EQ(burner.size(), 5u) << Describe(burner);
  EXPECT_EQ(burner[1].kind, "1");
  EXPECT_EQ(burner[2].kind, "25");
  EXPECT_EQ(burner[2].text, "collection");
  EXPECT_EQ(burner[3].kind, "24");
  EXPECT_EQ(burner[4].kind, "3");
  EXPECT_EQ(burner[4].text, all);

  // Help: the page beside the program, shown by the help viewer, started
  // with the page and the skin; once it runs it gets the page as a command.
  std::string page = program_.path("orbmedia.htm");
  WriteFileText(page, "<html></html>");
  SendMessageA(window, WM_COMMAND, 9, 0);
  std::vector<ReceivedLine> help = WaitForLog("ORBHELP", 1);
  ASSERT_EQ(help.size(), 1u);
  EXPECT_NE(help[0].text.find("orbmedia.htm,LUMINAR.SKL"), std::string::npos) << help[0].text;
  ASSERT_TRUE(harness::PumpUntil([] { return FindWindowA("ORBHELP", nullptr) != nullptr; }, 5000));
  SendMessageA(window, WM_COMMAND, 205, 0);
  help = WaitForLog("ORBHELP", 2);
  ASSERT_EQ(help.size(), 2u) << Describe(help);
  EXPECT_EQ(help[1].kind, "3");
  EXPECT_TRUE(SameText(help[1].text, page.c_str())) << help[1].text;

  CloseBrowser(window, browser_);
}

// Files opened in their editors: the browser gets out of the way while the
// editor runs, goes on answering the other programs' suite commands, and
// comes back when the editor ends (or closes when asked to).
TEST_F(HandOverTest, EditorsAreWaitedFor) {
  // The stand-in editor is the program of a file type of its own.
  program_.Copy("suite_receiver.exe", "orbedit.exe");
  DeleteFileA(LogOf("ORBEDIT").c_str());
  std::string command = "\"" + program_.path("orbedit.exe") + "\" \"%1\"";
  ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, ".orbedit", REG_SZ, "OrbTest.Edit", 0), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, "OrbTest.Edit\\shell\\open\\command", REG_SZ, command.c_str(),
                         static_cast<DWORD>(command.size())),
            ERROR_SUCCESS);
  WriteFileText(fixture_ + "d.orbedit", "x");
  HWND window = Start("");
  ASSERT_NE(window, nullptr);
  HWND files = ChildById(Children(window), 3)->window;
  SendMessageA(files, LB_SETSEL, FALSE, -1);
  LRESULT index = SendMessageA(files, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(" d.orbedit"));
  ASSERT_NE(index, LB_ERR);
  SendMessageA(files, LB_SETSEL, TRUE, index);

  PostMessageA(window, WM_COMMAND, 701, 0);
  HWND editor = harness::WaitForWindow("ORBEDIT", 10000);
  ASSERT_NE(editor, nullptr);
  std::vector<ReceivedLine> log = WaitForLog("ORBEDIT", 1);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(Lower(log[0].text).find("d.orbedit"), std::string::npos) << log[0].text;
  EXPECT_TRUE(harness::PumpUntil([&] { return IsIconic(window) != FALSE; }, 5000)) << "the browser stayed up";
  // Still waiting while the editor runs ...
  harness::PumpMessagesFor(500);
  EXPECT_TRUE(IsIconic(window));
  // ... and answering the other programs meanwhile: a suite command sent
  // with a time-out is carried out at once.
  std::string other = fixture_ + "other\\";
  ASSERT_TRUE(CreateDirectoryA(other.c_str(), nullptr));
  WriteFileText(other + "e.mp3", "x");
  LRESULT answer = 0;
  ASSERT_TRUE(SendCommandWithTimeout(window, suite::CMD_GO_TO_FOLDER, other, &answer))
      << "the browser did not answer while the editor ran";
  EXPECT_EQ(answer, 1);
  EXPECT_NE(SendMessageA(files, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(" e.mp3")), LB_ERR);
  EXPECT_TRUE(IsIconic(window)) << "the wait ended with the editor still running";
  suite::SendSuiteCommand(editor, suite::CMD_CLOSE, "");
  EXPECT_TRUE(harness::PumpUntil([&] { return IsIconic(window) == FALSE; }, 10000)) << "the browser did not come back";

  // A close request while it waits closes the browser; the editor runs on.
  ASSERT_TRUE(SendCommandWithTimeout(window, suite::CMD_GO_TO_FOLDER, fixture_, &answer));
  index = SendMessageA(files, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(" d.orbedit"));
  ASSERT_NE(index, LB_ERR);
  SendMessageA(files, LB_SETSEL, FALSE, -1);
  SendMessageA(files, LB_SETSEL, TRUE, index);
  PostMessageA(window, WM_COMMAND, 701, 0);
  editor = harness::WaitForWindow("ORBEDIT", 10000);
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(harness::PumpUntil([&] { return IsIconic(window) != FALSE; }, 5000));
  // The browser hides its minimised window before it answers, and Wine's
  // hiding of a minimised window waits up to 2 s for a window manager.
  EXPECT_TRUE(SendCommandWithTimeout(window, suite::CMD_CLOSE, "", &answer, 10000));
  EXPECT_EQ(browser_.waitExit(kStartMs), 0);
  EXPECT_TRUE(IsWindow(editor));
  suite::SendSuiteCommand(editor, suite::CMD_CLOSE, "");
  EXPECT_TRUE(harness::PumpUntil([] { return FindWindowA("ORBEDIT", nullptr) == nullptr; }, 10000));

  RegDeleteKeyA(HKEY_CLASSES_ROOT, "OrbTest.Edit\\shell\\open\\command");
  RegDeleteKeyA(HKEY_CLASSES_ROOT, "OrbTest.Edit\\shell\\open");
  RegDeleteKeyA(HKEY_CLASSES_ROOT, "OrbTest.Edit\\shell");
  RegDeleteKeyA(HKEY_CLASSES_ROOT, "OrbTest.Edit");
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ".orbedit");
}

// The real player: started by the browser for two selected files, it is
// told that the browser started it and takes both files as its item list.
TEST(RealPlayer, PlayingTheSelectionStartsThePlayerWithBothFiles) {
  ProgramFolder program("real player");
  program.Copy("orbplay.exe", "orbplay.exe");
  program.Copy("orbplay.SYS", "orbplay.SYS");
  std::string fixture = TempFolder() + "orbmedia real player\\";
  RemoveTree(fixture);
  ASSERT_TRUE(CreateDirectoryA(fixture.c_str(), nullptr));
  for (const char* name : {"one.wav", "two.wav", "three.txt"}) WriteFileText(fixture + name, "x");
  WriteQuietSettings(TempFolder());
  std::string trace = TempFolder() + "orbmedia real player trace.txt";
  DeleteFileA(trace.c_str());
  ASSERT_EQ(FindWindowA("ORBPLAY", nullptr), nullptr) << "a player is running already";

  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_TRACE", trace}});
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_GO_TO_FOLDER, fixture), 1);
  ASSERT_EQ(suite::SendSuiteCommand(window, 12, ""), 1);  // the audio files
  SendMessageA(window, WM_COMMAND, 112, 0);               // both selected
  SendMessageA(window, WM_COMMAND, 101, 0);               // play the selection

  HWND player = harness::WaitForWindow("ORBPLAY", kStartMs);
  ASSERT_NE(player, nullptr) << "the player did not start";
  std::string lower = Lower(fixture);
  std::string expected =
      "orbplay ItemList(" + orbtrace::QuoteText(lower + "one.wav|" + lower + "two.wav") + ") = 2";
  std::vector<std::string> lists;
  ASSERT_TRUE(harness::PumpUntil([&] {
    lists.clear();
    for (const std::string& line : ReadLines(trace)) {
      if (line.find("orbplay ItemList(") != std::string::npos) lists.push_back(line.substr(line.find("orbplay ")));
    }
    return !lists.empty();
  }, kStartMs)) << "the player got no item list";
  EXPECT_EQ(lists.front(), expected);
  // The player heard code 1 (started by the browser) before the list.
  bool startedByBrowser = false;
  for (const std::string& line : ReadLines(trace)) {
    if (line.find("orbplay ItemList(") != std::string::npos) break;
    if (line.find("orbplay SuiteCommand(1,") != std::string::npos) startedByBrowser = true;
  }
  EXPECT_TRUE(startedByBrowser);

  DWORD playerId = 0;
  GetWindowThreadProcessId(player, &playerId);
  HANDLE playerProcess = OpenProcess(SYNCHRONIZE, FALSE, playerId);
  suite::SendSuiteCommand(player, suite::CMD_CLOSE, "");
  if (playerProcess != nullptr) {
    EXPECT_EQ(WaitForSingleObject(playerProcess, kStartMs), WAIT_OBJECT_0);
    CloseHandle(playerProcess);
  }
  CloseBrowser(window, browser);
  RemoveTree(fixture);
}

}  // namespace
