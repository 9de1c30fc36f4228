// Drives the media browser through contact sheets as a user would: the
// browser is started on a folder of JPEG pictures, every file is selected
// and the 4 x 5 sheet command of the Sheets menu is chosen; the time runs
// from the command until the last sheet is written.  Runs under Wine from
// the folder that holds orbmedia.exe and its libraries:
//   orbsheets_bench <picture folder>
// Prints "files N sheets S seconds T".  The browser runs with a temporary
// folder of its own, so the user's settings stay as they were.
#include <windows.h>

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

constexpr int kSheetCommand = 801;
constexpr size_t kPicturesPerSheet = 20;

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return bench::Fail("usage: orbsheets_bench <picture folder>");
  std::string folder = argv[1];
  if (folder.back() != '\\') folder += '\\';
  size_t files = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.jpg").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do ++files;
    while (FindNextFileA(search, &found));
    FindClose(search);
  }
  if (files == 0) return bench::Fail("no JPEG pictures in the folder");
  const size_t sheets = (files + kPicturesPerSheet - 1) / kPicturesPerSheet;
  char last[32] = {};
  std::snprintf(last, sizeof(last), "ORBCT%03u.bmp", static_cast<unsigned>(sheets - 1));
  const std::string lastSheet = folder + last;

  harness::PrivateTempFolder privateTemp;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  harness::WriteFileBytes(std::string(temp) + "orbmedia.cfg", " 40| 30| 760| 520|" + folder + "|*.jpg| 0|-1| 0");

  int status = 1;
  harness::Process browser;
  if (!browser.start(suite::ProgramCommandLine(harness::ProgramFolder() + "orbmedia.exe", ""))) {
    return bench::Fail("orbmedia.exe did not start");
  }
  HWND window = harness::WaitForWindow("ORBMEDIA", 120000);
  if (window != nullptr && bench::SelectAllListed(window, static_cast<LRESULT>(files)) != nullptr) {
    const double begin = bench::Now();
    PostMessageA(window, WM_COMMAND, kSheetCommand, 0);
    // A sheet is written whole under its name (renamed from a temporary file).
    bool done = harness::PumpUntil(
        [&] { return GetFileAttributesA(lastSheet.c_str()) != INVALID_FILE_ATTRIBUTES; }, 600000);
    const double seconds = bench::Now() - begin;
    if (done) {
      std::printf("files %u sheets %u seconds %.3f\n", static_cast<unsigned>(files), static_cast<unsigned>(sheets),
                  seconds);
      status = 0;
    } else {
      bench::Fail("the sheets were not all written within ten minutes");
    }
  } else {
    bench::Fail(window == nullptr ? "the browser's window did not show" : "the browser did not list the pictures");
  }
  if (window != nullptr) suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  if (browser.waitExit(30000) == -1) browser.kill();
  return status;
}
