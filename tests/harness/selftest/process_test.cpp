// Process: starting programs, their exit codes, bounded waits and kills,
// checked on orbdriver itself (whose exit codes are part of its contract).
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "harness.h"
#include "selftest_util.h"

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
