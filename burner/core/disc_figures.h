// The disc burner's figures: sectors as MiB, the capacity display, the
// image-size check, the percentages of the capacity bar, and the bar's
// drawing geometry.  Sizes round to the nearest whole number, halves to the
// even neighbour; 512 sectors of 2048 bytes make one MiB.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace burner {

constexpr int64_t kSectorsPerMiB = 512;

// numerator / denominator rounded to the nearest integer, a half to the even
// one.  A denominator of 0 gives 0.
int64_t DivideRoundHalfEven(int64_t numerator, int64_t denominator);
// Sectors of 2048 bytes as whole MiB.
int64_t SectorsToMiB(int64_t sectors);
// part / whole x 100, rounded, kept within 0-100; `whenEmpty` when whole is
// not above 0.
int32_t Percent(int64_t part, int64_t whole, int32_t whenEmpty);

// The disc display of the main window.
struct DiscFigures {
  int64_t totalMiB = 0;
  int64_t freeMiB = 0;
  int32_t usedPercent = 100;
};
// An audio CD ("cdaudio") or a medium of 0 sectors is 0 MiB, all used.  The
// used share comes from the rounded MiB figures; a disc of less than half a
// MiB (0 MiB) takes it from its sectors instead of dividing by 0.
DiscFigures ComputeDiscFigures(const std::string& mediumName, int64_t totalSectors, int64_t freeSectors);

// Str(n): the decimal text of n with a blank before it when n is not
// negative, a minus sign when it is.
std::string Str(int64_t n);
// The capacity text: Str(total MiB) followed by the unit text.
std::string CapacityText(int64_t totalMiB, const std::string& unit);

// The image-size check of the burn list against the disc.
struct ImageSizeCheck {
  int64_t overMiB = 0;    // MiB the image is larger than the free space, at least 0
  int64_t freeMiB = 0;
  int64_t imageMiB = 0;
  int32_t usedPercent = 100;  // of the disc, for the capacity bar
  int32_t imagePercent = 0;   // of the disc, the image's band
  // over, or -1 when nothing is to be burnt (an empty project is 0 MiB).
  int64_t result = -1;
};
ImageSizeCheck CheckImageSize(int64_t imageSectors, int64_t freeSectors, int64_t totalSectors);
// The summary line: `pattern` with "###" replaced by over, then "##" by the
// free MiB, then "#" by the image MiB.
std::string ImageSizeSummary(const std::string& pattern, const ImageSizeCheck& check);
// The "image larger than the free space" text: "@" the image sectors, "#"
// the free sectors, "|" a carriage return.
std::string TooLargeText(const std::string& pattern, int64_t imageSectors, int64_t freeSectors);

// The capacity bar's drawing: three bands and the scale.
struct Band {
  int32_t x = 0;
  int32_t width = 0;
  uint32_t rgb = 0;  // 0xRRGGBB
};
struct BarPicture {
  int32_t top = 3;
  int32_t height = 0;
  std::vector<Band> bands;  // used (red), free (green), image (yellow) in drawing order
  struct Line {
    int32_t x;
    int32_t top;
  };
  std::vector<Line> scale;  // each line runs from top to the client height
};
BarPicture CapacityBarPicture(int32_t width, int32_t height, int32_t usedPercent, int32_t imagePercent);

}  // namespace burner
