// The disc burner's figures (disc_figures.h).
#include "core/disc_figures.h"

#include <algorithm>

#include "core/text_rules.h"

namespace burner {

int64_t DivideRoundHalfEven(int64_t numerator, int64_t denominator) {
  if (denominator == 0) return 0;
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  int64_t quotient = numerator / denominator;
  int64_t remainder = numerator % denominator;
  if (remainder < 0) {
    // Floor division, so that the remainder is 0 .. denominator - 1.
    quotient -= 1;
    remainder += denominator;
  }
  int64_t twice = remainder * 2;
  if (twice > denominator || (twice == denominator && quotient % 2 != 0)) quotient += 1;
  return quotient;
}

int64_t SectorsToMiB(int64_t sectors) { return DivideRoundHalfEven(sectors, kSectorsPerMiB); }

int32_t Percent(int64_t part, int64_t whole, int32_t whenEmpty) {
  if (whole <= 0) return whenEmpty;
  int64_t percent = DivideRoundHalfEven(part * 100, whole);
  return static_cast<int32_t>(std::clamp<int64_t>(percent, 0, 100));
}

DiscFigures ComputeDiscFigures(const std::string& mediumName, int64_t totalSectors, int64_t freeSectors) {
  DiscFigures figures;
  if (mediumName == "cdaudio" || totalSectors <= 0) return figures;
  figures.totalMiB = SectorsToMiB(totalSectors);
  figures.freeMiB = SectorsToMiB(freeSectors);
  figures.usedPercent = figures.totalMiB > 0
                            ? Percent(figures.totalMiB - figures.freeMiB, figures.totalMiB, 100)
                            : Percent(totalSectors - freeSectors, totalSectors, 100);
  return figures;
}

std::string Str(int64_t n) { return n >= 0 ? " " + std::to_string(n) : std::to_string(n); }

std::string CapacityText(int64_t totalMiB, const std::string& unit) { return Str(totalMiB) + unit; }

ImageSizeCheck CheckImageSize(int64_t imageSectors, int64_t freeSectors, int64_t totalSectors) {
  ImageSizeCheck check;
  check.usedPercent = Percent(totalSectors - freeSectors, totalSectors, 100);
  check.imagePercent = Percent(imageSectors, totalSectors, 0);
  check.overMiB = std::max<int64_t>(0, DivideRoundHalfEven(imageSectors - freeSectors, kSectorsPerMiB));
  check.imageMiB = SectorsToMiB(imageSectors);
  check.freeMiB = SectorsToMiB(freeSectors);
  check.result = check.imageMiB == 0 && check.overMiB == 0 ? -1 : check.overMiB;
  return check;
}

std::string ImageSizeSummary(const std::string& pattern, const ImageSizeCheck& check) {
  std::string text = suite::ReplaceAll(pattern, "###", std::to_string(check.overMiB));
  text = suite::ReplaceAll(text, "##", std::to_string(check.freeMiB));
  return suite::ReplaceAll(text, "#", std::to_string(check.imageMiB));
}

std::string TooLargeText(const std::string& pattern, int64_t imageSectors, int64_t freeSectors) {
  std::string text = suite::ReplaceAll(pattern, "@", std::to_string(imageSectors));
  text = suite::ReplaceAll(text, "#", std::to_string(freeSectors));
  return suite::ReplaceAll(text, "|", "\r");
}

BarPicture CapacityBarPicture(int32_t width, int32_t height, int32_t usedPercent, int32_t imagePercent) {
  BarPicture picture;
  usedPercent = std::clamp(usedPercent, 0, 100);
  imagePercent = std::clamp(imagePercent, 0, 100);
  width = std::max(width, 0);
  height = std::max(height, 0);
  const int32_t unit = width / 100;
  picture.height = std::max(height - 6, 0);
  const int32_t usedWidth = unit * usedPercent;
  picture.bands.push_back({0, usedWidth, 0xFF0000});
  picture.bands.push_back({usedWidth, std::max(width - usedWidth, 0), 0x00FF00});
  if (imagePercent != 0) picture.bands.push_back({usedWidth, unit * imagePercent, 0xFFFF00});
  if (unit > 1) {
    const int32_t shortTop = static_cast<int32_t>(DivideRoundHalfEven(static_cast<int64_t>(height) * 3, 4));
    for (int32_t i = 0; i < 110; ++i) {
      picture.scale.push_back({i * unit, i % 10 == 0 ? height / 2 : shortTop});
    }
  }
  return picture;
}

}  // namespace burner
