// Drives the media browser through a batch resize as a user would: the
// browser is started on a folder of JPEG pictures, every file is selected,
// the resize command opens the new-size box, the size is typed without
// keeping the proportions and confirmed; the time runs from the
// confirmation until every picture has been written again.  Runs under
// Wine from the folder that holds orbmedia.exe and its libraries:
//   orbbatch_bench <picture folder> <width> <height>
// Prints "files N seconds S".  The browser runs with a temporary folder of
// its own, so the user's settings stay as they were.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../bench_support.h"
#include "core/command_line.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"

namespace {

ULONGLONG LastWrite(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return bench::Fail("usage: orbbatch_bench <picture folder> <width> <height>");
  std::string folder = argv[1];
  if (folder.back() != '\\') folder += '\\';
  const std::string width = argv[2], height = argv[3];
  std::vector<std::string> paths;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.jpg").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do paths.push_back(folder + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
  }
  if (paths.empty()) return bench::Fail("no JPEG pictures in the folder");

  // A temporary folder of the run's own (the browser keeps its settings and
  // favourites there), removed at the end.
  harness::PrivateTempFolder privateTemp;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  harness::WriteFileBytes(std::string(temp) + "orbmedia.cfg",
                          " 40| 30| 760| 520|" + folder + "|*.jpg;*.jpeg;*.bmp;*.gif;*.png| 0|-1| 0");

  int status = 1;
  harness::Process browser;
  if (browser.start(suite::ProgramCommandLine(harness::ProgramFolder() + "orbmedia.exe", ""))) {
    HWND window = harness::WaitForWindow("ORBMEDIA", 120000);
    const LRESULT files = static_cast<LRESULT>(paths.size());
    if (window != nullptr && bench::SelectAllListed(window, files) != nullptr) {
      PostMessageA(window, WM_COMMAND, 707, 0);  // resize
      HWND box = nullptr;
      harness::PumpUntil(
          [&] {
            box = bench::FindWindowOfClass("NEWSIZEBOX");
            return box != nullptr && IsWindowVisible(box);
          },
          30000);
      if (box != nullptr) {
        std::vector<ULONGLONG> before;
        for (const std::string& path : paths) before.push_back(LastWrite(path));
        SendMessageA(GetDlgItem(box, 3), BM_CLICK, 0, 0);  // proportions off
        SendMessageA(GetDlgItem(box, 4), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(width.c_str()));
        SendMessageA(GetDlgItem(box, 5), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(height.c_str()));
        const double begin = bench::Now();
        PostMessageA(GetDlgItem(box, 2), BM_CLICK, 0, 0);
        bool done = harness::PumpUntil(
            [&] {
              for (size_t i = 0; i < paths.size(); ++i) {
                if (LastWrite(paths[i]) == before[i]) return false;
              }
              return true;
            },
            600000);
        const double seconds = bench::Now() - begin;
        if (done) {
          std::printf("files %u seconds %.3f\n", static_cast<unsigned>(paths.size()), seconds);
          status = 0;
        } else {
          bench::Fail("the pictures were not all written within ten minutes");
        }
      } else {
        bench::Fail("the new-size box did not open");
      }
    } else if (window == nullptr) {
      bench::Fail("the browser's window did not show");
    } else {
      bench::Fail("the browser did not list every picture");
    }
    if (window != nullptr) suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
    if (browser.waitExit(30000) == -1) browser.kill();
  } else {
    bench::Fail("orbmedia.exe did not start");
  }
  return status;
}
