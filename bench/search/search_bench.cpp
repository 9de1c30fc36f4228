// Drives the media browser through a media search as a user would: the
// browser is started from a program folder of its own (with a stand-in help
// viewer that logs what it is handed), the search command opens the drive
// box, the drive's button is clicked, and the time runs from the click
// until the help viewer is handed the finished report.  Runs under Wine
// from the folder that holds orbmedia.exe, its libraries and
// suite_receiver.exe:
//   orbsearch_bench <drive letter> <command id>
// Prints "files N seconds S" (N the report's lines).  Everything it makes
// lives in a temporary folder of its own, removed at the end.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "../bench_support.h"
#include "core/command_line.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"

namespace {

std::string ButtonText(HWND button) {
  char text[64] = {};
  SendMessageTimeoutA(button, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argv[1][0] == '\0') return bench::Fail("usage: orbsearch_bench <drive letter> <command id>");
  const std::string drive = std::string(1, argv[1][0]) + ":";
  const int command = std::atoi(argv[2]);

  harness::PrivateTempFolder privateTemp;
  char tempPath[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, tempPath);
  const std::string temp = tempPath;
  harness::WriteFileBytes(temp + "orbmedia.cfg", " 40| 30| 760| 520|" + temp + "|*.*| 0|-1| 0");
  const std::string program = temp + "orb program\\";
  CreateDirectoryA(program.c_str(), nullptr);
  for (const char* file : {"orbmedia.exe", "themecore.dll", "tonelink.dll", "imaging.dll", "pixconv.dll",
                           "LUMINAR.SKL", "orbmedia.SYS"}) {
    CopyFileA((harness::ProgramFolder() + file).c_str(), (program + file).c_str(), FALSE);
  }
  CopyFileA((harness::ProgramFolder() + "suite_receiver.exe").c_str(), (program + "orbhelp.exe").c_str(), FALSE);
  const std::string helpLog = temp + "help.log";
  harness::ScopedEnvironment receiverClass("ORB_RECEIVER_CLASS", "ORBHELP");
  harness::ScopedEnvironment receiverLog("ORB_RECEIVER_LOG", helpLog.c_str());

  int status = 1;
  harness::Process browser;
  if (!browser.start(suite::ProgramCommandLine(program + "orbmedia.exe", ""))) return bench::Fail("orbmedia.exe did not start");
  HWND window = harness::WaitForWindow("ORBMEDIA", 120000);
  if (window != nullptr && harness::PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, 60000)) {
    PostMessageA(window, WM_COMMAND, command, 0);
    HWND box = nullptr;
    harness::PumpUntil(
        [&] {
          box = bench::FindWindowOfClass("SKMSGBOX", 1);
          return box != nullptr && IsWindowVisible(box);
        },
        60000);
    HWND button = nullptr;
    for (int id = 1; box != nullptr && GetDlgItem(box, id) != nullptr; ++id) {
      if (ButtonText(GetDlgItem(box, id)) == drive) button = GetDlgItem(box, id);
    }
    if (button != nullptr) {
      const double begin = bench::Now();
      PostMessageA(button, BM_CLICK, 0, 0);
      const bool done = harness::PumpUntil([&] { return harness::FileExists(helpLog); }, 1800000);
      const double seconds = bench::Now() - begin;
      std::string report;
      harness::ReadFileBytes(program + "videos" + argv[1][0] + ".txt", &report);
      const long lines = static_cast<long>(std::count(report.begin(), report.end(), '\n')) - 2;
      if (done) {
        std::printf("files %ld seconds %.3f\n", lines, seconds);
        std::fwrite(report.data(), 1, std::min<size_t>(report.size(), 80), stdout);
        std::printf("\n");
        status = 0;
      } else {
        bench::Fail("the report was not handed to the help viewer within half an hour");
      }
    } else {
      bench::Fail("the drive box did not offer the drive");
    }
  } else {
    bench::Fail("the browser's window did not show");
  }
  if (HWND help = harness::WaitForWindow("ORBHELP", 5000)) suite::SendSuiteCommand(help, suite::CMD_CLOSE, "");
  if (window != nullptr) suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  if (browser.waitExit(30000) == -1) browser.kill();
  harness::PumpMessagesFor(500);
  harness::RemoveTree(program);
  return status;
}
