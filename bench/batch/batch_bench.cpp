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

#include "core/command_line.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

ULONGLONG LastWrite(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
}

struct BoxSearch {
  HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND window, LPARAM param) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  if (lstrcmpiA(name, "NEWSIZEBOX") != 0) return TRUE;
  reinterpret_cast<BoxSearch*>(param)->found = window;
  return FALSE;
}

BOOL CALLBACK FindTop(HWND window, LPARAM param) {
  EnumChildWindows(window, FindChild, param);
  return reinterpret_cast<BoxSearch*>(param)->found == nullptr;
}

// The file list: the browser's child with id 3.
BOOL CALLBACK FindFileList(HWND child, LPARAM param) {
  if (GetDlgCtrlID(child) != 3) return TRUE;
  *reinterpret_cast<HWND*>(param) = child;
  return FALSE;
}

int Fail(const char* what) {
  std::fprintf(stderr, "orbbatch_bench: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Fail("usage: orbbatch_bench <picture folder> <width> <height>");
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
  if (paths.empty()) return Fail("no JPEG pictures in the folder");

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
    HWND list = nullptr;
    // The window shows before its controls are made.
    if (window != nullptr) {
      harness::PumpUntil(
          [&] {
            EnumChildWindows(window, FindFileList, reinterpret_cast<LPARAM>(&list));
            return list != nullptr;
          },
          60000);
    }
    const LRESULT files = static_cast<LRESULT>(paths.size());
    if (list != nullptr &&
        harness::PumpUntil([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == files; }, 60000)) {
      PostMessageA(window, WM_COMMAND, 112, 0);  // select all
      harness::PumpUntil([&] { return SendMessageA(list, LB_GETSELCOUNT, 0, 0) == files; }, 10000);
      PostMessageA(window, WM_COMMAND, 707, 0);  // resize
      BoxSearch box;
      harness::PumpUntil(
          [&] {
            EnumWindows(FindTop, reinterpret_cast<LPARAM>(&box));
            return box.found != nullptr && IsWindowVisible(box.found);
          },
          30000);
      if (box.found != nullptr) {
        std::vector<ULONGLONG> before;
        for (const std::string& path : paths) before.push_back(LastWrite(path));
        SendMessageA(GetDlgItem(box.found, 3), BM_CLICK, 0, 0);  // proportions off
        SendMessageA(GetDlgItem(box.found, 4), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(width.c_str()));
        SendMessageA(GetDlgItem(box.found, 5), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(height.c_str()));
        const double begin = Now();
        PostMessageA(GetDlgItem(box.found, 2), BM_CLICK, 0, 0);
        bool done = harness::PumpUntil(
            [&] {
              for (size_t i = 0; i < paths.size(); ++i) {
                if (LastWrite(paths[i]) == before[i]) return false;
              }
              return true;
            },
            600000);
        const double seconds = Now() - begin;
        if (done) {
          std::printf("files %u seconds %.3f\n", static_cast<unsigned>(paths.size()), seconds);
          status = 0;
        } else {
          Fail("the pictures were not all written within ten minutes");
        }
      } else {
        Fail("the new-size box did not open");
      }
    } else if (window == nullptr) {
      Fail("the browser's window did not show");
    } else {
      std::fprintf(stderr, "orbbatch_bench: the browser listed %ld of %ld pictures\n",
                   list != nullptr ? static_cast<long>(SendMessageA(list, LB_GETCOUNT, 0, 0)) : -1L,
                   static_cast<long>(files));
    }
    if (window != nullptr) suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
    if (browser.waitExit(30000) == -1) browser.kill();
  } else {
    Fail("orbmedia.exe did not start");
  }
  return status;
}
