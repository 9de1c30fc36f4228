// Drives the media browser through a conversion to WAV as a user would: the
// browser is started on a folder holding the audio files, every file is
// selected, the convert-to-WAV command opens the target-folder box, its
// "new folder" button is pressed and the folder typed (a scripted answer);
// the time runs from the box's closing until the browser takes input again
// with every new file written.  Runs under Wine from the folder that holds
// orbmedia.exe and its libraries:
//   orbconvert_bench <source folder> <target folder (not existing yet)>
// Prints "files N bytes B seconds S".  The browser runs with a temporary
// folder of its own, so the user's settings stay as they were.
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

int main(int argc, char** argv) {
  if (argc < 3) return bench::Fail("usage: orbconvert_bench <source folder> <target folder>");
  std::string folder = argv[1];
  if (folder.back() != '\\') folder += '\\';
  std::string target = argv[2];
  if (target.back() == '\\') target.pop_back();
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.mp3").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
  }
  if (names.empty()) return bench::Fail("no .mp3 files in the folder");

  harness::PrivateTempFolder privateTemp;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  harness::WriteFileBytes(std::string(temp) + "orbmedia.cfg", " 40| 30| 760| 520|" + folder + "|*.*| 0|-1| 0");

  int status = 1;
  harness::Process browser;
  harness::ScopedEnvironment answers("ORB_ANSWERS", target.c_str());
  if (browser.start(suite::ProgramCommandLine(harness::ProgramFolder() + "orbmedia.exe", ""))) {
    HWND window = harness::WaitForWindow("ORBMEDIA", 120000);
    const LRESULT files = static_cast<LRESULT>(names.size());
    if (window != nullptr && bench::SelectAllListed(window, files) != nullptr) {
      PostMessageA(window, WM_COMMAND, 1301, 0);  // convert to WAV
      HWND box = nullptr;
      harness::PumpUntil(
          [&] {
            box = bench::FindWindowOfClass("TARGETBOX");
            return box != nullptr && IsWindowVisible(box) && GetDlgItem(box, 3) != nullptr &&
                   (GetWindowLongA(box, GWL_STYLE) & WS_CHILD) != 0;
          },
          30000);
      if (box != nullptr) {
        PostMessageA(GetDlgItem(box, 3), BM_CLICK, 0, 0);  // new folder: the scripted answer
        harness::PumpUntil([&] { return !IsWindow(box); }, 30000);
        const double begin = bench::Now();
        // Done when every new file exists and the main window takes input
        // again (it is disabled while the run copies).
        bool done = harness::PumpUntil(
            [&] {
              for (const std::string& name : names) {
                std::string out = target + "\\" + name.substr(0, name.rfind('.')) + ".wav";
                if (GetFileAttributesA(out.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
              }
              return IsWindowEnabled(window) != FALSE;
            },
            600000);
        const double seconds = bench::Now() - begin;
        unsigned long long bytes = 0;
        size_t written = 0;
        for (const std::string& name : names) {
          WIN32_FILE_ATTRIBUTE_DATA data = {};
          std::string out = target + "\\" + name.substr(0, name.rfind('.')) + ".wav";
          if (!GetFileAttributesExA(out.c_str(), GetFileExInfoStandard, &data)) continue;
          bytes += (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
          ++written;
        }
        if (done && written == names.size()) {
          std::printf("files %u bytes %llu seconds %.3f\n", static_cast<unsigned>(written), bytes, seconds);
          status = 0;
        } else {
          bench::Fail("the files were not all converted within ten minutes");
        }
      } else {
        bench::Fail("the target-folder box did not open");
      }
    } else {
      bench::Fail("the browser did not list the files");
    }
    if (window != nullptr) suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
    if (browser.waitExit(30000) == -1) browser.kill();
  } else {
    bench::Fail("orbmedia.exe did not start");
  }
  return status;
}
