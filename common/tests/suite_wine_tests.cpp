// Suite commands across real processes under Wine: the wire form a sender
// produces, what a receiver reads (also from hostile senders), finding and
// starting modules, and the help hand-off.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "module_start.h"
#include "suite_command.h"
#include "test_files.h"

using namespace std::string_literals;

namespace {

constexpr DWORD kWindowWaitMs = 10000;

std::string TempFolder() {
  char buffer[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, buffer);
  return buffer;
}

// A fresh, empty log path in the temporary folder.
std::string FreshLog(const char* name) {
  std::string path = TempFolder() + "orbtest_" + name + "_" +
                     std::to_string(GetCurrentProcessId()) + ".log";
  DeleteFileA(path.c_str());
  return path;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::string text;
  harness::ReadFileBytes(path, &text);
  std::vector<std::string> lines = harness::SplitLines(text);
  for (std::string& line : lines) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
  }
  return lines;
}

// A text as the skin engine's trace writes it: quotes and backslashes as
// \x22 and \x5C.
std::string TraceEscaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '"') escaped += "\\x22";
    else if (c == '\\') escaped += "\\x5C";
    else escaped.push_back(c);
  }
  return escaped;
}

std::vector<std::string> CommandLines(const std::string& logPath) {
  std::vector<std::string> commands;
  for (const std::string& line : ReadLines(logPath)) {
    if (line.rfind("start ", 0) != 0) commands.push_back(line);
  }
  return commands;
}

size_t StartCount(const std::string& logPath) {
  size_t count = 0;
  for (const std::string& line : ReadLines(logPath)) count += line.rfind("start ", 0) == 0;
  return count;
}

std::string ReceiverPath() { return harness::ProgramFolder() + "suite_receiver.exe"; }

std::string ReceiverCommandLine(const std::string& program, const char* windowClass,
                                const std::string& log, DWORD showAfterMs, DWORD lifetimeMs) {
  return suite::ProgramCommandLine(
      program, std::string(windowClass) + " " + suite::QuoteArgument(log) + " " +
                   std::to_string(showAfterMs) + " " + std::to_string(lifetimeMs));
}

struct WireCase {
  const char* name;
  uint32_t code;
  std::string text;
};

std::vector<WireCase> WireCases() {
  std::string high;
  for (int b = 0x80; b <= 0xFF; ++b) high.push_back(static_cast<char>(b));
  std::string large(64 * 1024, '\0');
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>((i * 31 + 7) & 0xFF);
  return {
      {"empty", suite::CMD_STARTED_BY_BROWSER, ""},
      {"item list", suite::CMD_OPEN_ITEMS, "C:\\media\\a.avi|C:\\media\\b.wav"},
      {"raw level with zeros", suite::CMD_LEVEL, "\x00\x10\x00\x00"s},
      {"bytes 0x80-0xFF", suite::CMD_GO_TO_FOLDER, high},
      {"64 KiB", suite::CMD_FORWARD_COMMAND_LINE, large},
      {"unknown code", 99, "x"},
      {"code all ones", 0xFFFFFFFFu, ""},
  };
}

// What SendSuiteCommand puts on the wire, as a foreign peer records it.
TEST(SuiteCommand, SenderWireFormArrivesByteForByte) {
  std::string log = FreshLog("peer");
  harness::Process peer;
  ASSERT_TRUE(peer.start("\"" + harness::ProgramFolder() + "orbdriver.exe\" peer ORBTESTPEER " +
                         suite::QuoteArgument(log) + " 30"));
  HWND window = harness::WaitForWindow("ORBTESTPEER", kWindowWaitMs);
  ASSERT_NE(window, nullptr);

  std::vector<WireCase> cases = WireCases();
  for (const WireCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(suite::SendSuiteCommand(window, c.code, c.text), 1);
  }
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(peer.waitExit(kWindowWaitMs), 0);

  std::vector<std::string> lines = ReadLines(log);
  ASSERT_EQ(lines.size(), cases.size() + 1);
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    const std::string& text = cases[i].text;
    std::string expected = std::to_string(cases[i].code) + " " + std::to_string(text.size()) +
                           " " + std::to_string(text.size() + 1) + " " +
                           harness::ToHex(text) + "00";
    EXPECT_EQ(lines[i], expected);
  }
}

// What ReceiveSuiteCommand reads in another process, from our sender and
// from senders that break the rules.
TEST(SuiteCommand, ReceiverReadsTextsAndSurvivesHostileLengths) {
  std::string log = FreshLog("receiver");
  harness::Process receiver;
  ASSERT_TRUE(receiver.start(ReceiverCommandLine(ReceiverPath(), "ORBTESTRECV", log, 0, 30000)));
  HWND window = harness::WaitForWindow("ORBTESTRECV", kWindowWaitMs);
  ASSERT_NE(window, nullptr);

  std::vector<std::string> expected;
  for (const WireCase& c : WireCases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(suite::SendSuiteCommand(window, c.code, c.text), 1);
    expected.push_back(std::to_string(c.code) + " " + std::to_string(c.text.size()) + " " +
                       harness::ToHex(c.text));
  }

  struct Hostile {
    const char* name;
    uint32_t code;
    std::string bytes;
    WPARAM wParam;
    std::string text;  // what the receiver must read
  };
  const Hostile hostile[] = {
      {"announces more than it sends", 3, "abc\0"s, 100, "abc"},
      {"wParam 0xFFFFFFFF", 3, "abc\0"s, 0xFFFFFFFFu, "abc"},
      {"window handle in wParam", 3, "C:\\x.mp3\0"s, reinterpret_cast<WPARAM>(window), "C:\\x.mp3"},
      {"announces less than it sends", 3, "abcdef\0"s, 2, "ab"},
      {"nothing sent", 3, "", 50, ""},
  };
  for (const Hostile& h : hostile) {
    SCOPED_TRACE(h.name);
    LRESULT result = 0;
    EXPECT_TRUE(harness::SendCopyData(window, h.code, h.bytes, h.wParam, 5000, &result));
    EXPECT_EQ(result, 1);
    expected.push_back(std::to_string(h.code) + " " + std::to_string(h.text.size()) + " " +
                       harness::ToHex(h.text));
  }
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  expected.push_back("10 0 ");
  EXPECT_EQ(receiver.waitExit(kWindowWaitMs), 0);

  std::vector<std::string> got = CommandLines(log);
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], expected[i]) << "command " << i + 1;
}

TEST(FindOrStartModule, RunningModuleIsFoundAndNothingStarted) {
  std::string log = FreshLog("running");
  std::string otherLog = FreshLog("running_other");
  harness::Process module;
  ASSERT_TRUE(module.start(ReceiverCommandLine(ReceiverPath(), "ORBTESTFIND1", log, 0, 30000)));
  HWND running = harness::WaitForWindow("ORBTESTFIND1", kWindowWaitMs);
  ASSERT_NE(running, nullptr);

  bool started = true;
  DWORD before = GetTickCount();
  HWND found = suite::FindOrStartModule(
      "ORBTESTFIND1", ReceiverCommandLine(ReceiverPath(), "ORBTESTFIND1", otherLog, 0, 3000),
      &started);
  DWORD elapsed = GetTickCount() - before;

  EXPECT_EQ(found, running);
  EXPECT_FALSE(started);
  EXPECT_LT(elapsed, 200u);
  harness::PumpMessagesFor(1000);
  EXPECT_EQ(StartCount(otherLog), 0u);
  EXPECT_EQ(harness::CountWindows("ORBTESTFIND1"), 1);
  suite::SendSuiteCommand(running, suite::CMD_CLOSE, "");
  EXPECT_EQ(module.waitExit(kWindowWaitMs), 0);
}

// The started program sits in a folder with a blank in its name, as under
// "Program Files": the command line must quote it to start anything.
TEST(FindOrStartModule, DelayedWindowIsFoundAndReportedAsStarted) {
  std::string folder = TempFolder() + "orb suite " + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string program = folder + "\\suite_receiver.exe";
  ASSERT_TRUE(CopyFileA(ReceiverPath().c_str(), program.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((harness::ProgramFolder() + "themecore.dll").c_str(),
                        (folder + "\\themecore.dll").c_str(), FALSE));

  std::string log = FreshLog("delayed");
  bool started = false;
  DWORD before = GetTickCount();
  HWND found = suite::FindOrStartModule(
      "ORBTESTFIND2", ReceiverCommandLine(program, "ORBTESTFIND2", log, 500, 4000), &started);
  DWORD elapsed = GetTickCount() - before;

  ASSERT_NE(found, nullptr);
  EXPECT_TRUE(started);
  EXPECT_GE(elapsed, 450u);
  EXPECT_LT(elapsed, suite::MODULE_START_WAIT_MS);
  EXPECT_EQ(StartCount(log), 1u);
  EXPECT_EQ(suite::SendSuiteCommand(found, suite::CMD_OPEN_ITEMS, "C:\\a.avi"), 1);
  suite::SendSuiteCommand(found, suite::CMD_CLOSE, "");
  EXPECT_TRUE(harness::PumpUntil([] { return FindWindowA("ORBTESTFIND2", nullptr) == nullptr; },
                                 kWindowWaitMs));
  std::vector<std::string> commands = CommandLines(log);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0], "3 8 " + harness::ToHex("C:\\a.avi"));
  DeleteFileA(program.c_str());
  DeleteFileA((folder + "\\themecore.dll").c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST(FindOrStartModule, WindowThatNeverShowsGivesNullAfterTheWait) {
  struct Case { const char* name; std::string commandLine; };
  std::string log = FreshLog("never");
  const Case cases[] = {
      // Starts, but registers another class and ends by itself.
      {"other class", ReceiverCommandLine(ReceiverPath(), "ORBTESTOTHER", log, 0, 2500)},
      {"missing program", "\"" + harness::ProgramFolder() + "no such module.exe\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool started = false;
    DWORD before = GetTickCount();
    HWND found = suite::FindOrStartModule("ORBTESTNEVER", c.commandLine, &started);
    DWORD elapsed = GetTickCount() - before;
    EXPECT_EQ(found, nullptr);
    EXPECT_TRUE(started);
    EXPECT_GE(elapsed, 1900u);
    EXPECT_LE(elapsed, 3000u);
  }
  EXPECT_TRUE(harness::PumpUntil([] { return FindWindowA("ORBTESTOTHER", nullptr) == nullptr; },
                                 kWindowWaitMs));
}

TEST(OpenHelp, RoutesToViewerStartsItOrReportsFailure) {
  std::string helpFile = TempFolder() + "orbtest help " + std::to_string(GetCurrentProcessId()) +
                         ".orbhelpfile";
  ASSERT_TRUE(harness::WriteFileBytes(helpFile, "help"));
  std::string folder = harness::ProgramFolder();

  EXPECT_EQ(suite::OpenHelp(helpFile + ".missing", "suite_receiver.exe,ORBTESTHELP", "", folder),
            suite::HelpResult::NoHelpFile);

  // A running viewer gets the help file as CMD_OPEN_ITEMS.
  std::string log = FreshLog("help");
  harness::Process viewer;
  ASSERT_TRUE(viewer.start(ReceiverCommandLine(ReceiverPath(), "ORBTESTHELP", log, 0, 30000)));
  HWND window = harness::WaitForWindow("ORBTESTHELP", kWindowWaitMs);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(suite::OpenHelp(helpFile, "suite_receiver.exe,ORBTESTHELP", "topic", folder),
            suite::HelpResult::SentToViewer);
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(viewer.waitExit(kWindowWaitMs), 0);
  std::vector<std::string> commands = CommandLines(log);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0], "3 " + std::to_string(helpFile.size()) + " " + harness::ToHex(helpFile));

  // A viewer that is not running is started with "file,topic"; the trace of
  // the skin engine shows the command line it was given.
  std::string trace = FreshLog("help_trace");
  {
    harness::ScopedEnvironment traceFile("ORB_TRACE", trace.c_str());
    EXPECT_EQ(suite::OpenHelp(helpFile, "orbdriver.exe,ORBTESTNOVIEWER", "intro", folder),
              suite::HelpResult::StartedViewer);
  }
  // The help file's path holds blanks: it travels as one quoted argument.
  std::string shell;
  for (const std::string& line : ReadLines(trace)) {
    if (line.find(" SKSHELL(") != std::string::npos) shell = line;
  }
  std::string argument = TraceEscaped(suite::QuoteArgument(helpFile + ",intro"));
  EXPECT_NE(shell.find("orbdriver.exe " + argument), std::string::npos) << shell;

  // No viewer anywhere and no program for the file type: a failure, not success.
  EXPECT_EQ(suite::OpenHelp(helpFile, "no_such_viewer.exe,ORBTESTNOVIEWER", "", folder),
            suite::HelpResult::Failed);
  DeleteFileA(helpFile.c_str());
}

}  // namespace
