// Process: starting programs, their exit codes, bounded waits and kills,
// checked on orbdriver itself (whose exit codes are part of its contract).
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "harness.h"
#include "selftest_util.h"
#include "test_files.h"

namespace {

using selftest::DriverCommand;
using selftest::kChildMs;
using selftest::RunDriver;
using selftest::ScratchPath;

TEST(Process, StartFailsForAMissingProgram) {
  harness::Process process;
  EXPECT_FALSE(process.start("\"" + harness::ProgramFolder() + "no-such-program.exe\""));
  EXPECT_FALSE(process.running());
  EXPECT_EQ(-1, process.waitExit(0));
}

TEST(Process, WaitExitReturnsTheExitCode) {
  harness::PeerWindow present("HarnessWaitTarget");
  ASSERT_NE(nullptr, present.hwnd());

  struct ExitCase {
    const char* name;
    std::string arguments;
    long exitCode;
  };
  const ExitCase kCases[] = {
      {"window present", "wait HarnessWaitTarget 3000", 0},
      {"window absent", "wait HarnessNoSuchWindow 100", 1},
      {"no command", "", 3},
      {"unknown command", "frobnicate", 3},
      {"bad number", "wait HarnessWaitTarget soon", 3},
  };
  for (const ExitCase& c : kCases) {
    SCOPED_TRACE(c.name);
    harness::Process process;
    ASSERT_TRUE(process.start(DriverCommand() + " " + c.arguments));
    EXPECT_TRUE(process.running());
    EXPECT_NE(0u, process.id());
    long code = -1;
    harness::PumpUntil([&] { return (code = process.waitExit(0)) != -1; }, kChildMs);
    EXPECT_EQ(c.exitCode, code);
    EXPECT_FALSE(process.running());
    EXPECT_EQ(c.exitCode, process.waitExit(0)) << "the code is kept after the end";
  }
}

TEST(Process, WaitExitTimesOutAndKillEnds) {
  const std::string log = ScratchPath("timeout-peer.log");
  harness::Process peer;
  ASSERT_TRUE(peer.start(DriverCommand() + " peer HarnessSlowExit \"" + log + "\" 30"));
  ASSERT_NE(nullptr, harness::WaitForWindow("HarnessSlowExit", kChildMs));

  const DWORD start = GetTickCount();
  EXPECT_EQ(-1, peer.waitExit(300));
  const DWORD waited = GetTickCount() - start;
  EXPECT_GE(waited, 250u);
  EXPECT_LT(waited, 3000u);
  EXPECT_TRUE(peer.running()) << "a time-out leaves the program running";
  EXPECT_EQ(1, harness::CountWindows("HarnessSlowExit"));

  // Moving hands the program over; the emptied object no longer owns it.
  harness::Process moved = std::move(peer);
  EXPECT_FALSE(peer.running());
  EXPECT_TRUE(moved.running());

  moved.kill();
  EXPECT_FALSE(moved.running());
  EXPECT_TRUE(harness::PumpUntil([] { return harness::CountWindows("HarnessSlowExit") == 0; }, 5000))
      << "the killed program's window is gone";
}

TEST(Process, DestructorKillsARunningProgram) {
  const std::string log = ScratchPath("forgotten-peer.log");
  {
    harness::Process forgotten;
    ASSERT_TRUE(forgotten.start(DriverCommand() + " peer HarnessForgotten \"" + log + "\" 30"));
    ASSERT_NE(nullptr, harness::WaitForWindow("HarnessForgotten", kChildMs));
  }
  EXPECT_TRUE(harness::PumpUntil([] { return harness::CountWindows("HarnessForgotten") == 0; }, 5000));
}

}  // namespace

// The second half of the next test: run in a test program of its own
// (ORB_LEAVE_PEER names the peer's log), it starts a peer behind the
// harness's back and returns, leaving it running.
TEST(ProgramJob, LeavesAPeerRunningWhenAsked) {
  char log[MAX_PATH] = {};
  if (GetEnvironmentVariableA("ORB_LEAVE_PEER", log, sizeof(log)) == 0) GTEST_SKIP();
  std::string line = DriverCommand() + " peer HarnessLeftBehind \"" + log + "\" 60";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  ASSERT_NE(nullptr, harness::WaitForWindow("HarnessLeftBehind", kChildMs));
}

TEST(ProgramJob, ATestProgramEndsWhatItsTestsLeftRunning) {
  const std::string log = ScratchPath("left-peer.log");
  const std::string output = ScratchPath("left-output.txt");
  harness::ScopedEnvironment leave("ORB_LEAVE_PEER", log.c_str());
  char self[MAX_PATH * 2] = {};
  GetModuleFileNameA(nullptr, self, sizeof(self));
  harness::Process child;
  ASSERT_TRUE(child.startWithOutput("\"" + std::string(self) + "\" --gtest_filter=ProgramJob.LeavesAPeerRunningWhenAsked",
                                    output));
  long code = -1;
  harness::PumpUntil([&] { return (code = child.waitExit(0)) != -1; }, 2 * kChildMs);
  const std::string printed = selftest::ReadFileBytes(output);
  EXPECT_EQ(0, code) << printed;
  EXPECT_NE(std::string::npos, printed.find("left running by the tests, killed: ")) << printed;
  EXPECT_NE(std::string::npos, printed.find("orbdriver.exe")) << printed;
  EXPECT_TRUE(harness::PumpUntil([] { return harness::CountWindows("HarnessLeftBehind") == 0; }, 2000))
      << "the peer outlived its test program";
}
