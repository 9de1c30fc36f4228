// Makes the thumbnails of every JPEG of a folder with the picture loader
// the media browser's thumbnail thread uses (LoadPictureBitmap fitted into
// a square, list-thumbnail mode), one after the other as that thread does,
// and prints the time taken, the peak working set and a checksum of the
// thumbnails' sizes.  Runs under Wine:
//   orbthumbs_bench <folder> [side]
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "image_startup.h"
#include "picture_loader.h"

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: orbthumbs_bench <folder> [side]\n");
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '\\') folder += '\\';
  const int32_t side = argc > 2 ? std::atoi(argv[2]) : 160;
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.jpg").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
  }
  if (names.empty()) {
    std::fprintf(stderr, "no JPEG files in %s\n", folder.c_str());
    return 1;
  }
  const uintptr_t token = suite::ImgStartupWhenPresent();
  int failed = 0;
  long long pixels = 0;
  const double begin = Now();
  for (const std::string& name : names) {
    std::string path = folder + name;
    int32_t width = 0, height = 0, colours = 0, overlay = 0;
    uint8_t bits = 0;
    HBITMAP bitmap = suite::LoadPictureBitmap(path, side, side, width, height, colours, bits, overlay, 1);
    BITMAP facts = {};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof(facts), &facts) == 0) {
      ++failed;
    } else {
      pixels += static_cast<long long>(facts.bmWidth) * facts.bmHeight;
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
  }
  const double seconds = Now() - begin;
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  std::printf("files %u failed %d thumbnail_pixels %lld seconds %.3f peak_working_set_mb %.1f\n",
              static_cast<unsigned>(names.size()), failed, pixels, seconds,
              memory.PeakWorkingSetSize / (1024.0 * 1024.0));
  suite::ImgShutdown(token);
  return failed == 0 ? 0 : 1;
}
