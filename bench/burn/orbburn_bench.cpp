// Burns one folder with orbburn.dll, as the disc burner would, to the
// software drive (a blank DVD-R, no injected slowness) and, for comparison,
// into an image file through the same engine; each three times, the best
// time counts.  Prints both times and their ratio.  Runs under Wine:
//   orbburn_bench <folder> <work folder>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "vdscdll.h"

namespace {

HANDLE g_done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
volatile int g_result = -1;

void __cdecl OnDone(int result) {
  g_result = result;
  SetEvent(g_done);
}

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

// Starts one burn, waits (10 minutes at most) for its callback; the time
// taken, or a negative number on failure.
template <typename StartFn>
double Timed(StartFn start) {
  ResetEvent(g_done);
  g_result = -1;
  double begin = Now();
  if (!start()) return -1;
  double started = Now();
  // Where the time goes: the start (until start() returned), the data
  // (until the last sector was counted) and the end (closing the medium).
  double firstData = 0;
  int total = vdscGetImageSize();
  while (WaitForSingleObject(g_done, 1) == WAIT_TIMEOUT) {
    if (firstData == 0 && vdscGetBlocksWritten() >= total) firstData = Now();
    if (Now() - begin > 600) return -1;
  }
  if (g_result != 0) return -1;
  double end = Now();
  if (firstData == 0) firstData = end;
  std::fprintf(stderr, "    start %.3f s, data %.3f s, end %.3f s\n", started - begin, firstData - started,
               end - firstData);
  return end - begin;
}

bool FreshMedium(const std::string& backing) {
  DeleteFileA(backing.c_str());
  DeleteFileA((backing + ".state").c_str());
  SetEnvironmentVariableA("ORB_DRIVE_MEDIUM", "dvd-r");
  SetEnvironmentVariableA("ORB_DRIVE_BACKING", backing.c_str());
  return vdscInitializeASPI(0, nullptr, 0, nullptr) == 1 && vdscSelectDevice(0) == 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <folder> <work folder>\n", argv[0]);
    return 2;
  }
  std::string work = argv[2];
  std::string backing = work + "\\disc.img";
  std::string image = work + "\\image.iso";
  if (!FreshMedium(backing)) {
    std::fprintf(stderr, "no software drive\n");
    return 1;
  }
  {
    // The cost of one command through the drive layer, without data.
    double begin = Now();
    for (int i = 0; i < 2000; ++i) vdscTestUnitReady();
    std::printf("  one command without data: %.1f us\n", (Now() - begin) / 2000 * 1e6);
    begin = Now();
    for (int i = 0; i < 2000; ++i) {
      HANDLE e = CreateEventA(nullptr, TRUE, FALSE, nullptr);
      SetEvent(e);
      CloseHandle(e);
    }
    std::printf("  event create/set/close: %.1f us\n", (Now() - begin) / 2000 * 1e6);
  }
  vdscClearAll();
  std::wstring folder(argv[1], argv[1] + std::strlen(argv[1]));
  if (!vdscInsertDirW(const_cast<wchar_t*>(L"\\"), folder.data(), const_cast<wchar_t*>(L"*"), 1, 0)) {
    std::fprintf(stderr, "cannot insert %s\n", argv[1]);
    return 1;
  }
  vdscPrepare();
  int sectors = vdscGetImageSize();
  double bestFile = 1e9, bestDisc = 1e9;
  for (int round = 0; round < 3; ++round) {
    // The burn comes first: it fills the burn slot, which the image file
    // build reports to as well.
    if (!FreshMedium(backing)) return 1;
    double disc = Timed([&] { return vdscBurn(OnDone) == 1; });
    DeleteFileA(image.c_str());
    double file = Timed([&] { return vdscBuildISOImage(image.data()) == 1; });
    if (file < 0 || disc < 0) {
      std::fprintf(stderr, "round %d failed: %s\n", round, vdscGetErrorString());
      return 1;
    }
    bestFile = std::min(bestFile, file);
    bestDisc = std::min(bestDisc, disc);
  }
  DeleteFileA(image.c_str());
  double mib = sectors * 2048.0 / 1048576.0;
  std::printf("  image %d sectors (%.0f MiB)\n", sectors, mib);
  std::printf("  image file  %8.3f s  %7.1f MiB/s\n", bestFile, mib / bestFile);
  std::printf("  DVD-R burn  %8.3f s  %7.1f MiB/s   burn/file %.2f\n", bestDisc, mib / bestDisc, bestDisc / bestFile);
  return 0;
}
