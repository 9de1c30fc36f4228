// Builds the disc image of one folder as the disc burner would: the folder
// inserted recursively into an empty project, laid out, and written to an
// image file.  Prints the time of each step; bench/disc_image/run times the
// whole program against xorriso and cat.
//   discimage_bench <folder> <image file>
#include <chrono>
#include <cstdio>
#include <string>

#include "core/burn_project.h"
#include "core/disc_names.h"
#include "core/image_layout.h"
#include "core/image_stream.h"
#include "core/local_file_source.h"

int main(int argc, char** argv) {
  using namespace discburn;
  using Clock = std::chrono::steady_clock;
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <folder> <image file>\n", argv[0]);
    return 2;
  }
  LocalFileSource files;
  LocalClock clock;
  BurnProject project(files, clock);
  auto seconds = [](Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
  };

  Clock::time_point start = Clock::now();
  if (!project.InsertDir(u"\\", Utf8ToUtf16(argv[1]), u"*.*", true, false)) {
    std::fprintf(stderr, "cannot insert %s\n", argv[1]);
    return 1;
  }
  double inserted = seconds(start);
  start = Clock::now();
  uint32_t sectors = LayoutImage(project);
  double laidOut = seconds(start);
  start = Clock::now();
  if (sectors == 0 || !WriteImageFile(project, 0, argv[2])) {
    std::fprintf(stderr, "cannot write the image (error %d)\n", project.error);
    return 1;
  }
  double written = seconds(start);
  std::fprintf(stderr, "  %zu entries, %u sectors: insert %.3f s, layout %.3f s, write %.3f s\n",
               project.files().size(), project.layout.imageSectors, inserted, laidOut, written);
  return 0;
}
