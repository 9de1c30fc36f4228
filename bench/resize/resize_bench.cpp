// Resizes every JPEG of a folder the way the picture tool's size box does
// (the imaging library: load at 24 bits, resample to the new size) and
// writes each as a JPEG into an output folder, one after the other; prints
// the time taken and the number of files.  Runs under Wine:
//   orbresize_bench <folder> <output folder> <width> <height>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "imaging.h"

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: orbresize_bench <folder> <output folder> <width> <height>\n");
    return 2;
  }
  const std::string folder = WithBackslash(argv[1]), output = WithBackslash(argv[2]);
  const int width = std::atoi(argv[3]), height = std::atoi(argv[4]);
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.jpg").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
  }
  if (names.empty() || width < 1 || height < 1) {
    std::fprintf(stderr, "no JPEG files in %s or no size\n", folder.c_str());
    return 1;
  }
  int failed = 0;
  const double begin = Now();
  for (const std::string& name : names) {
    BITMAPHANDLE bitmap = {};
    const bool done = L_LoadBitmap((folder + name).c_str(), &bitmap, 24, ORDER_BGR, nullptr, nullptr) == IMG_SUCCESS &&
                      L_SizeBitmap(&bitmap, width, height, SIZE_RESAMPLE) == IMG_SUCCESS &&
                      L_SaveBitmap((output + name).c_str(), &bitmap, FILE_JPEG, 24, 2, 0) == IMG_SUCCESS;
    if (!done) ++failed;
    L_FreeBitmap(&bitmap);
  }
  std::printf("files %u failed %d seconds %.3f\n", static_cast<unsigned>(names.size()), failed, Now() - begin);
  return failed == 0 ? 0 : 1;
}
